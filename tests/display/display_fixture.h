// Shared set-up of the display tests: the Qt host installed, platform windows made directly
// through the platform layer, GBK texts made from UTF-8 literals (this folder's literals are
// UTF-8), and the notifications a frame receives.
#pragma once

#include <gtest/gtest.h>

#include <QApplication>
#include <string>
#include <vector>

#include "display/qt_host.h"
#include "display/renderer.h"
#include "platform/commctrl.h"
#include "platform/window.h"
#include "runtime/codec.h"

namespace kelmor::display::test {

inline std::string Gbk(const char* utf8) {
  return Utf8ToLocal(utf8).value_or(std::string());
}

struct Notification {
  platform::UINT message = 0;
  platform::UINT code = 0;  // WM_COMMAND notification code or NMHDR code
  platform::HWND from = 0;  // WM_CONTEXTMENU: the window it is for
  int pos = 0;              // NMSPLITTER pos; WM_CONTEXTMENU lParam
};

class DisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    previous_ = platform::CurrentHost();
    platform::SetHost(&host_);
  }
  void TearDown() override {
    for (platform::HWND w : platform::TopLevelWindows()) platform::DestroyWindow(w);
    Settle();
    platform::SetHost(previous_);
  }

  // A visible top-level window whose notifications are recorded.
  platform::HWND Frame(int w, int h, const char* title_utf8 = "Test") {
    const platform::HWND frame =
        platform::CreateWindowExA(0, platform::FRAME_CLASSA, Gbk(title_utf8).c_str(),
                                  platform::WS_OVERLAPPED | platform::WS_CAPTION |
                                      platform::WS_SYSMENU | platform::WS_VISIBLE,
                                  100, 100, w, h, 0, 0);
    platform::SetWindowSubclass(
        frame,
        [this](platform::HWND hwnd, platform::UINT msg, platform::WPARAM wp, platform::LPARAM lp,
               platform::UINT_PTR, platform::DWORD_PTR) -> platform::LRESULT {
          if (msg == platform::WM_COMMAND) {
            seen_.push_back({msg, platform::HIWORD(wp), static_cast<platform::HWND>(lp), 0});
          } else if (msg == platform::WM_NOTIFY) {
            const auto* hdr = reinterpret_cast<const platform::NMHDR*>(lp);
            Notification n{msg, hdr->code, hdr->hwndFrom, 0};
            if (hdr->code == platform::SPN_MOVED)
              n.pos = reinterpret_cast<const platform::NMSPLITTER*>(lp)->pos;
            seen_.push_back(n);
          } else if (msg == platform::WM_CONTEXTMENU) {
            seen_.push_back({msg, 0, static_cast<platform::HWND>(wp), static_cast<int>(lp)});
          }
          return platform::DefSubclassProc(hwnd, msg, wp, lp);
        },
        1, 0);
    return frame;
  }

  platform::HWND Child(platform::HWND parent, const char* cls, const char* text_utf8,
                       platform::DWORD style, int x, int y, int w, int h, int id = 0) {
    return platform::CreateWindowExA(0, cls, Gbk(text_utf8).c_str(),
                                     platform::WS_CHILD | platform::WS_VISIBLE | style, x, y, w, h,
                                     parent, static_cast<platform::HMENU>(id));
  }

  // Applies pending changes and lets queued platform messages run.
  void Settle() {
    QCoreApplication::processEvents();
    platform::MSG msg;
    while (platform::PeekMessageA(&msg, 0, 0, 0, platform::PM_REMOVE)) {
      platform::DispatchMessageA(&msg);
    }
    host_.renderer().Flush(true);
    QCoreApplication::processEvents();
  }

  template <class W>
  W* WidgetOf(platform::HWND hwnd) {
    Settle();
    return dynamic_cast<W*>(host_.renderer().WidgetFor(hwnd));
  }

  int Count(platform::UINT code) const {
    int n = 0;
    for (const auto& s : seen_) n += s.code == code;
    return n;
  }

  QtHost host_;
  platform::Host* previous_ = nullptr;
  std::vector<Notification> seen_;
};

}  // namespace kelmor::display::test
