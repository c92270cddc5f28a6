// The quad settings dialog over any stored state and any use.
#include "tests/fuzz/Targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzQuad(data, size);
    return 0;
}
