// libFuzzer entry point: see fuzz_inputs.h for what one input does.

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "fuzz/fuzz_inputs.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  scenario::fuzzing::decode_files(std::string_view(reinterpret_cast<const char*>(data), size));
  return 0;
}
