// Labels and frames ("Static"): a window text and nothing else.
#include <memory>

#include "platform/window_object.h"

namespace kelmor::platform {

std::shared_ptr<WindowObject> MakeStatic() {
  return std::make_shared<WindowObject>();
}

}  // namespace kelmor::platform
