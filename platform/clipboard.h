// The clipboard's text: what a control's WM_COPY puts there. The platform keeps it and tells the
// host (Host::ClipboardChanged), which hands it on to the system's clipboard.
#pragma once

#include <string>

namespace kelmor::platform {

// `text` is GBK, paragraph marks as CR LF.
void SetClipboardTextA(const std::string& text);
std::string GetClipboardTextA();

}  // namespace kelmor::platform
