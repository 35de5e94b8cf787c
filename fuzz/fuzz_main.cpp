// The libFuzzer entry of one target, chosen at compile time by KELMOR_FUZZ_TARGET.
#include "fuzz/targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  kelmor::fuzz::KELMOR_FUZZ_TARGET(kelmor::fuzz::Input(data, size));
  return 0;
}
