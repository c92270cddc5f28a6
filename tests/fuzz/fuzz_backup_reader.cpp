// The backup reader over any bytes.
#include "tests/fuzz/BackupTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzBackupReader(data, size);
    return 0;
}
