#include "treeview/remote_exchange.h"

namespace kelmor {

RemoteExchange::~RemoteExchange() {
  while (buffer_count_ > 0) memory_.Free(process_, buffers_[--buffer_count_]);
  memory_.Close(process_);
}

std::uintptr_t RemoteExchange::Allocate(std::size_t size) {
  if (!is_open() || buffer_count_ == kMaxBuffers) return 0;
  const std::uintptr_t address = memory_.Allocate(process_, size);
  if (address != 0) buffers_[buffer_count_++] = address;
  return address;
}

}  // namespace kelmor
