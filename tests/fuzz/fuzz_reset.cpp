// The reset dialog: any group, any number of times, over any stored state.
#include "tests/fuzz/Targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzReset(data, size);
    return 0;
}
