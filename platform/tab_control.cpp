// The tab control ("SysTabControl32"): page captions and the current page. Which child windows
// belong to which page is for its owner to decide.
#include <memory>
#include <string>
#include <vector>

#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

class TabControl : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    const int count = static_cast<int>(pages_.size());
    switch (msg) {
      case TCM_GETITEMCOUNT:
        return count;
      case TCM_INSERTITEMA: {
        const auto* item = reinterpret_cast<const TCITEMA*>(lParam);
        if (item == nullptr || index < 0) return -1;
        const int at = index > count ? count : index;
        std::string caption;
        if ((item->mask & TCIF_TEXT) && item->pszText) caption = item->pszText;
        pages_.insert(pages_.begin() + at, caption);
        if (current_ < 0) {
          current_ = 0;
        } else if (at <= current_) {
          ++current_;
        }
        Changed(WindowChange::Content);
        return at;
      }
      case TCM_DELETEITEM:
        if (index < 0 || index >= count) return FALSE;
        pages_.erase(pages_.begin() + index);
        if (current_ == index) {
          current_ = -1;
        } else if (current_ > index) {
          --current_;
        }
        Changed(WindowChange::Content);
        return TRUE;
      case TCM_DELETEALLITEMS:
        pages_.clear();
        current_ = -1;
        Changed(WindowChange::Content);
        return TRUE;
      case TCM_GETCURSEL:
        return current_;
      case TCM_SETCURSEL: {
        if (index < 0 || index >= count) return -1;
        const int previous = current_;
        if (previous != index) {
          current_ = index;
          Changed(WindowChange::Selection);
        }
        return previous;
      }
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  std::vector<std::string> pages_;
  int current_ = -1;
};

}  // namespace

std::shared_ptr<WindowObject> MakeTabControl() {
  return std::make_shared<TabControl>();
}

}  // namespace kelmor::platform
