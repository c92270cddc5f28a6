// The ten coefficient sets the driver's equalizer runs from: six equalizer
// curves and four speaker-compensation curves, 248 bytes each, written as
// CoefSet0.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <iterator>
#include <optional>

#include "settings/Catalogue.h"

namespace equalizer {

enum class EqCurve { Rock, Classical, Pop, Jazz, Dance, Flat };
enum class SpeakerModel { PhilipsDSS330, SonigistixMonsoonMM700, YamahaYSTM100, AltecLansingADA880 };

constexpr std::size_t kCoefSetBytes = settings::kCoefSetBytes;
using CoefSet = std::array<std::uint8_t, kCoefSetBytes>;

constexpr EqCurve kAllCurves[] = {EqCurve::Rock, EqCurve::Classical, EqCurve::Pop,
                                  EqCurve::Jazz, EqCurve::Dance,     EqCurve::Flat};
constexpr SpeakerModel kAllSpeakers[] = {SpeakerModel::PhilipsDSS330, SpeakerModel::SonigistixMonsoonMM700,
                                         SpeakerModel::YamahaYSTM100, SpeakerModel::AltecLansingADA880};

// The name the lists show ("Rock", "Yamaha YSTM100"); a speaker's name is
// also what CurrSpeakerComp stores.
const char* name(EqCurve c);
const char* name(SpeakerModel m);

// The set's bytes; nothing for a value outside the enum.
std::optional<CoefSet> coefficients(EqCurve c);
std::optional<CoefSet> coefficients(SpeakerModel m);

// The set as hex-byte text: 248 two-digit lower-case items joined by ",",
// as HexTextToBytes reads it. Empty for a value outside the enum. Only
// checks want the text, so it is inline: the program carries none of it.
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
