// Any stored state backed up and restored.
#include "tests/fuzz/BackupTargets.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    qmfuzz::fuzzBackupRoundTrip(data, size);
    return 0;
}
