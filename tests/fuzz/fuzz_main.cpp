// The whole program: the main window's load over any stored state and any
// Windows version, then any use of it and of every dialog it opens.
#include "tests/fuzz/Targets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzMain(data, size);
    return 0;
}
