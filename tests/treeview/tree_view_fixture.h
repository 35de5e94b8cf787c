// A frame with one platform tree view, filled through the tree view's own messages, so the
// accessor is checked against what the window really holds.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "platform/commctrl.h"
#include "platform/window.h"
#include "tests/support/test_driver.h"

namespace kelmor::test {

class TreeViewFixture {
 public:
  void CreateTree(platform::DWORD style = platform::TVS_HASLINES | platform::TVS_HASBUTTONS) {
    frame = platform::CreateWindowExA(0, platform::FRAME_CLASSA, "frame",
                                      platform::WS_OVERLAPPEDWINDOW | platform::WS_VISIBLE, 0, 0,
                                      400, 300, 0, 0);
    ASSERT_NE(frame, 0u);
    tree = platform::CreateWindowExA(0, "SysTreeView32", "",
                                     platform::WS_CHILD | platform::WS_VISIBLE | style, 0, 0, 200,
                                     250, frame, 7);
    ASSERT_NE(tree, 0u);
  }
  void DestroyTree() {
    if (frame != 0) platform::DestroyWindow(frame);
    frame = tree = 0;
  }

  platform::HTREEITEM Insert(const std::string& text,
                             platform::HTREEITEM parent = platform::TVI_ROOT, int image = 0,
                             int selected_image = 0, platform::LPARAM data = 0) {
    platform::TVINSERTSTRUCTA ins;
    ins.hParent = parent;
    ins.hInsertAfter = platform::TVI_LAST;
    ins.item.mask = platform::TVIF_TEXT | platform::TVIF_PARAM | platform::TVIF_IMAGE |
                    platform::TVIF_SELECTEDIMAGE;
    std::string copy = text;
    ins.item.pszText = copy.data();
    ins.item.iImage = image;
    ins.item.iSelectedImage = selected_image;
    ins.item.lParam = data;
    return static_cast<platform::HTREEITEM>(platform::SendMessageA(
        tree, platform::TVM_INSERTITEMA, 0, reinterpret_cast<platform::LPARAM>(&ins)));
  }

  TestDriver driver;
  platform::HWND frame = 0;
  platform::HWND tree = 0;
};

}  // namespace kelmor::test
