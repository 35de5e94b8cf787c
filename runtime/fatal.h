// The run-time error path and the end-of-program routine. A run-time error is fatal: one message
// box through the platform's MessageBoxA (so the current platform::Host shows it; without a host
// it goes to standard error), then the process ends with exit code -1 without running the end
// routine or any static destructor. Uses the platform's message box and the C++ standard library.
//
// The end routine is one process-wide slot, owned here: a later registration replaces the
// earlier one, RunEndRoutine runs it at most once and empties the slot.
// REQUIRES: the one user-interface thread (the box is modal on it).
#pragma once

#include <cstddef>
#include <functional>
#include <string_view>

#include "runtime/value.h"

namespace kelmor {

// The run-time error: shows "运行时出错!..." in a message box titled "错误" with the error icon,
// drops the registered end-of-program routine and ends the process with exit code -1.
[[noreturn]] void RaiseRuntimeError(int code, std::string_view message = {});

// The box text of a run-time error (exposed so that tests can check it byte for byte).
Text RuntimeErrorText(int code, std::string_view message);

// The application's end-of-program routine, run once by RunEndRoutine at a normal end and never
// after a run-time error.
void RegisterEndRoutine(std::function<void()> routine);
void RunEndRoutine();

}  // namespace kelmor

namespace kelmor {

// A failed allocation of the given byte count: the run-time error "分配 %d 字节内存失败!".
[[noreturn]] void RaiseAllocationFailure(std::size_t bytes);

// From the call on, a std::bad_alloc that nothing catches, wherever it is thrown, ends in the
// run-time error (its box, exit code -1) instead of an abort. Where it was thrown the byte
// count is unknown, so the box says only that memory could not be allocated. Other uncaught
// exceptions still go to the previous terminate handler. REQUIRES: called once, at the start
// of main.
void RouteAllocationFailures();

}  // namespace kelmor
