// The coefficient sets as hex-byte text and back, for the tests: the
// program writes the sets' bytes as they are and reads no such text.
#pragma once
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>
#include <vector>

#include "equalizer/CoefficientSets.h"

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

// The set as hex-byte text: 248 two-digit lower-case items joined by ",",
// as HexTextToBytes reads it. Empty for a value outside the enum.
namespace detail {
// Made on first use and kept.
inline const char* toText(const std::optional<CoefSet>& set, char*& text) {
    if (!set) return "";
    if (!text) {
        constexpr char kDigits[] = "0123456789abcdef";
        char* p = text = new char[kCoefSetBytes * 3];
        for (std::uint8_t b : *set) {
            if (p != text) *p++ = ',';
            *p++ = kDigits[b >> 4];
            *p++ = kDigits[b & 15];
        }
        *p = '\0';
    }
    return text;
}
}  // namespace detail

inline const char* hexText(EqCurve c) {
    static char* texts[std::size(kAllCurves)];
    const auto i = static_cast<std::size_t>(c);
    return i < std::size(texts) ? detail::toText(coefficients(c), texts[i]) : "";
}

inline const char* hexText(SpeakerModel m) {
    static char* texts[std::size(kAllSpeakers)];
    const auto i = static_cast<std::size_t>(m);
    return i < std::size(texts) ? detail::toText(coefficients(m), texts[i]) : "";
}

}  // namespace equalizer
