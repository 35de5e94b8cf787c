#include "platform/clipboard.h"

#include "platform/host.h"

namespace kelmor::platform {
namespace {
std::string& Stored() {
  static std::string text;
  return text;
}
}  // namespace

void SetClipboardTextA(const std::string& text) {
  Stored() = text;
  if (Host* host = CurrentHost()) host->ClipboardChanged(text);
}

std::string GetClipboardTextA() {
  return Stored();
}

}  // namespace kelmor::platform
