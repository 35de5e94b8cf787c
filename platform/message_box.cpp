#include "platform/message_box.h"

#include <cstdio>
#include <string>

#include "platform/host.h"

namespace kelmor::platform {

namespace {

// Without anyone to ask, a box is answered with its first button.
int FirstButton(UINT type) {
  switch (type & 0xF) {
    case MB_ABORTRETRYIGNORE:
      return IDABORT;
    case MB_YESNOCANCEL:
    case MB_YESNO:
      return IDYES;
    case MB_RETRYCANCEL:
      return IDRETRY;
    default:
      return IDOK;
  }
}

}  // namespace

int MessageBoxA(HWND owner, const char* text, const char* caption, UINT type) {
  MessageBoxRequest request;
  request.owner = owner;
  request.text = text ? text : "";
  request.caption = caption ? caption : "";
  request.type = type;
  if (Host* host = CurrentHost()) return host->ShowMessageBox(request);
  std::fprintf(stderr, "[%s] %s\n", request.caption.c_str(), request.text.c_str());
  std::fflush(stderr);
  return FirstButton(type);
}

}  // namespace kelmor::platform
