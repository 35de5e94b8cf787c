#include "runtime/fatal.h"

#include <cstdio>
#include <cstdlib>
#include <exception>
#include <memory>
#include <new>
#include <string>

#include "platform/message_box.h"

namespace kelmor {

namespace {

// The application's end routine; dropped (never run) on a run-time error.
std::function<void()>& EndRoutine() {
  static std::function<void()> routine;
  return routine;
}

// Memory held back from the start and given up when a run-time error is raised, so that its
// box can still be built when an allocation failed because the memory ran out.
std::unique_ptr<char[]>& MemoryReserve() {
  static std::unique_ptr<char[]> reserve;
  return reserve;
}
constexpr std::size_t kReserveBytes = std::size_t{8} << 20;

// The message of each numbered run-time error, 1 to 11.
constexpr const char* kCodeMessages[] = {
    "数组成员引用下标超出定义范围",
    "未得到所需要的数值型数据",
    "引用数组成员时维数不为1且不等于该数组目前所具有的维数",
    "数组成员引用下标必须大于等于1",
    "数据或数组类型不匹配",
    "调用DLL命令后发现堆栈错误",
    "子语句参数未返回数据或者返回了非系统基本类型或数组型数据",
    "被比较数据只能使用等于或不等于命令比较",
    "“多项选择”命令的索引值参数小于零或超出了所提供参数表范围",
    "“重定义数组”命令的数组维定义参数值必须大于零或单维时大于等于零",
    "所提供参数的数据类型不符合要求",
};

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
  MemoryReserve().reset();
  if (message.empty() && code >= 1 && code <= 11) message = kCodeMessages[code - 1];
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

namespace {

std::terminate_handler previous_terminate = nullptr;

// Runs at the throw point of an uncaught exception (nothing has been unwound), so the box can
// still be shown.
[[noreturn]] void TerminateOnAllocationFailure() {
  static bool reported = false;
  // Building the box ended in another terminate: end as the run-time error does, without it.
  if (reported) std::_Exit(-1);
  if (std::exception_ptr uncaught = std::current_exception()) {
    try {
      std::rethrow_exception(uncaught);
    } catch (const std::bad_alloc&) {
      reported = true;
      try {
        RaiseRuntimeError(0, "分配内存失败!");
      } catch (...) {
        // Not even the reserve was enough for the box (the runtime would abort on a throwing
        // terminate handler).
        std::_Exit(-1);
      }
    } catch (...) {
    }
  }
  if (previous_terminate) previous_terminate();
  std::abort();
}

}  // namespace

void RouteAllocationFailures() {
  MemoryReserve().reset(new char[kReserveBytes]);
  previous_terminate = std::set_terminate(TerminateOnAllocationFailure);
}

}  // namespace kelmor
