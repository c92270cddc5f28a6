// The AC97 Mixer location dialog: any typed path, any start result.
#include "tests/fuzz/Targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzMixer(data, size);
    return 0;
}
