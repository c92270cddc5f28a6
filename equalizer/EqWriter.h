// Installs a coefficient set as a REG_BINARY CoefSet0 under the driver's
// Equalizer key, which is created if missing.
#pragma once
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "equalizer/CoefficientSets.h"
#include "platform/Services.h"

namespace equalizer {

namespace detail {
inline int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One item as a byte: hexadecimal digits of either case, leading zeros
// allowed, value at most 255.
inline std::optional<std::uint8_t> itemToByte(const std::string& item) {
    if (item.empty()) return std::nullopt;
    unsigned v = 0;
    for (char c : item) {
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
        if (v > 0xFF) return std::nullopt;
    }
    return static_cast<std::uint8_t>(v);
}
}  // namespace detail

// The bytes of a hex-byte text: items split at every ",", each read as a
// hexadecimal number that must fit a byte. Nothing for a malformed text.
// The program writes the sets' bytes as they are and only checks read text,
// so this is inline: the program carries none of it.
inline std::optional<std::vector<std::uint8_t>> HexTextToBytes(const std::string& hexText) {
    std::vector<std::uint8_t> bytes;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = hexText.find(',', start);
        const std::string item = hexText.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto b = detail::itemToByte(item);
        if (!b) return std::nullopt;
        bytes.push_back(*b);
        if (comma == std::string::npos) return bytes;
        start = comma + 1;
    }
}

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
    void install(const std::optional<CoefSet>& set);

    platform::Services sys_;
    Tell tell_;
};

}  // namespace equalizer
