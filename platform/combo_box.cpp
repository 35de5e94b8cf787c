// The combo box ("ComboBox"): a list of texts with item data and a current selection.
#include <memory>
#include <string>
#include <vector>

#include "platform/window_object.h"

namespace kelmor::platform {
namespace {

class ComboBox : public WindowObject {
 public:
  LRESULT ClassProc(UINT msg, WPARAM wParam, LPARAM lParam) override {
    const int index = static_cast<int>(static_cast<LONG_PTR>(wParam));
    const int count = static_cast<int>(items_.size());
    const bool valid = index >= 0 && index < count;
    switch (msg) {
      case CB_ADDSTRING:
        return Insert(count, lParam);
      case CB_INSERTSTRING:
        if (index < -1 || index > count) return CB_ERR;
        return Insert(index == -1 ? count : index, lParam);
      case CB_DELETESTRING:
        if (!valid) return CB_ERR;
        items_.erase(items_.begin() + index);
        if (current_ == index) {
          current_ = -1;
        } else if (current_ > index) {
          --current_;
        }
        Changed(WindowChange::Content);
        return static_cast<LRESULT>(items_.size());
      case CB_GETCOUNT:
        return count;
      case CB_GETCURSEL:
        return current_;
      case CB_SETCURSEL:
        if (!valid) {
          Select(-1);
          return CB_ERR;
        }
        Select(index);
        return index;
      case CB_GETLBTEXT: {
        if (!valid || lParam == 0) return CB_ERR;
        const std::string& t = items_[static_cast<std::size_t>(index)].text;
        char* out = reinterpret_cast<char*>(lParam);
        t.copy(out, t.size());
        out[t.size()] = '\0';
        return static_cast<LRESULT>(t.size());
      }
      case CB_GETLBTEXTLEN:
        if (!valid) return CB_ERR;
        return static_cast<LRESULT>(items_[static_cast<std::size_t>(index)].text.size());
      case CB_RESETCONTENT:
        items_.clear();
        current_ = -1;
        text.clear();
        Changed(WindowChange::Content);
        return CB_OKAY;
      case CB_GETITEMDATA:
        if (!valid) return CB_ERR;
        return items_[static_cast<std::size_t>(index)].data;
      case CB_SETITEMDATA:
        if (!valid) return CB_ERR;
        items_[static_cast<std::size_t>(index)].data = lParam;
        return CB_OKAY;
      case CB_FINDSTRINGEXACT: {
        if (lParam == 0 || count == 0) return CB_ERR;
        const std::string wanted = reinterpret_cast<const char*>(lParam);
        const int start = (index < -1 || index >= count) ? -1 : index;
        for (int k = 1; k <= count; ++k) {
          const int i = (start + k) % count;
          if (EqualsIgnoringCase(items_[static_cast<std::size_t>(i)].text, wanted)) return i;
        }
        return CB_ERR;
      }
      case CB_SHOWDROPDOWN:
        dropped_ = wParam != 0;
        Changed(WindowChange::Style);
        return TRUE;
      default:
        return WindowObject::ClassProc(msg, wParam, lParam);
    }
  }

 private:
  struct Item {
    std::string text;
    LPARAM data = 0;
  };

  LRESULT Insert(int at, LPARAM lParam) {
    Item item;
    if (lParam) item.text = reinterpret_cast<const char*>(lParam);
    items_.insert(items_.begin() + at, std::move(item));
    if (current_ >= at) ++current_;
    Changed(WindowChange::Content);
    return at;
  }

  void Select(int index) {
    if (index == current_) return;
    current_ = index;
    text = index >= 0 ? items_[static_cast<std::size_t>(index)].text : std::string();
    Changed(WindowChange::Selection);
  }

  std::vector<Item> items_;
  int current_ = -1;
  bool dropped_ = false;
};

}  // namespace

std::shared_ptr<WindowObject> MakeComboBox() {
  return std::make_shared<ComboBox>();
}

}  // namespace kelmor::platform
