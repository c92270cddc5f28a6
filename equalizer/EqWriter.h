// Installs a coefficient set: the hex-byte text becomes a REG_BINARY
// CoefSet0 under the driver's Equalizer key, which is created if missing.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "equalizer/CoefficientSets.h"
#include "platform/Services.h"

namespace equalizer {

// The bytes of a hex-byte text: items split at every ",", each read as a
// hexadecimal number that must fit a byte. Nothing for a malformed text.
std::optional<std::vector<std::uint8_t>> HexTextToBytes(const std::string& hexText);

// Writes hexText's bytes as a REG_BINARY value into an open key. A text
// that does not convert writes nothing; the write's status is not looked at.
void WriteHexBinaryValue(platform::Registry& reg, platform::RegKey key, const std::string& valueName,
                         const std::string& hexText);

class EqWriter {
public:
    // Where "unable to open key" goes: text, title, style.
    using Tell = std::function<void(const std::string&, const std::string&, int)>;

    EqWriter(const platform::Services& sys, Tell tell) : sys_(sys), tell_(std::move(tell)) {}

    // The curve's set, then EqBypass 0 and ActiveCoefSet 0 (those two even
    // when the key could not be created).
    void ApplyEqPreset(EqCurve set);
    // The model's set alone; EqBypass and ActiveCoefSet keep their values.
    void ApplySpeakerComp(SpeakerModel set);

private:
    void install(const char* hexText);

    platform::Services sys_;
    Tell tell_;
};

}  // namespace equalizer
