// The platform layer's host in the program: Qt plays the user. Message boxes are QMessageBoxes,
// popup menus QMenus (a tab in a caption sets off the key that does the same), save-file and
// print dialogs Qt's own, the clipboard the system's, waiting is Qt's event loop, window changes go to the renderer that keeps one
// Qt widget per platform window, and the wait cursor is Qt's override cursor.
#pragma once

#include <memory>

#include "platform/host.h"

namespace kelmor::display {

class Renderer;

class QtHost : public platform::Host {
 public:
  QtHost();
  ~QtHost() override;
  QtHost(const QtHost&) = delete;
  QtHost& operator=(const QtHost&) = delete;

  int ShowMessageBox(const platform::MessageBoxRequest& request) override;
  void ProcessEvents() override;
  void WaitForEvents() override;
  platform::UINT TrackPopupMenu(const std::vector<platform::PopupMenuItem>& items, int x, int y,
                                platform::HWND owner) override;
  void WindowChanged(platform::HWND window, platform::WindowChange change) override;
  void CursorChanged(platform::HANDLE cursor) override;
  std::string AskSaveFileName(const platform::SaveFileRequest& request) override;
  platform::PrintResult PrintPage(const platform::PrintRequest& request) override;
  void ClipboardChanged(const std::string& text) override;

  Renderer& renderer() { return *renderer_; }

 private:
  std::unique_ptr<Renderer> renderer_;
  bool wait_cursor_shown_ = false;
};

}  // namespace kelmor::display
