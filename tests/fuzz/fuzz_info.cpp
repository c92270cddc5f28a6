// The driver diagnosis and the two About boxes, over any version texts.
#include "tests/fuzz/Targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzInfo(data, size);
    return 0;
}
