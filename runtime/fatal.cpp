#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/message_box.h"

namespace kelmor {

namespace {

// The application's end routine; dropped (never run) on a run-time error.
std::function<void()>& EndRoutine() {
  static std::function<void()> routine;
  return routine;
}

}  // namespace

Text RuntimeErrorText(int code, std::string_view message) {
  Text text = "运行时出错!\r\n\r\n";
  if (code != 0) {
    text += "错误代码：";
    text += std::to_string(code);
    text += "\r\n\r\n";
  }
  if (!message.empty()) {
    text += "错误信息：";
    text += message;
    text += "\r\n";
  }
  return text;
}

void RaiseRuntimeError(int code, std::string_view message) {
  Text text = RuntimeErrorText(code, message);
  platform::MessageBoxA(0, text.c_str(), "错误", platform::MB_ICONERROR | platform::MB_OK);
  EndRoutine() = nullptr;
  std::fflush(nullptr);
  // Static objects may be in any state after the fault, so none of their destructors run.
  std::_Exit(-1);
}

void RegisterEndRoutine(std::function<void()> routine) {
  EndRoutine() = std::move(routine);
}

void RunEndRoutine() {
  std::function<void()> routine = std::move(EndRoutine());
  EndRoutine() = nullptr;
  if (routine) routine();
}

}  // namespace kelmor

namespace kelmor {

void RaiseAllocationFailure(std::size_t bytes) {
  char message[64];
  std::snprintf(message, sizeof message, "分配 %d 字节内存失败!", static_cast<int>(bytes));
  RaiseRuntimeError(0, message);
}

}  // namespace kelmor
