#include "platform/host.h"

namespace kelmor::platform {

namespace {
Host* current_host = nullptr;
}  // namespace

void SetHost(Host* host) {
  current_host = host;
}

Host* CurrentHost() {
  return current_host;
}

}  // namespace kelmor::platform
