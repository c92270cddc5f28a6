// The ten coefficient sets the driver's equalizer runs from: six equalizer
// curves and four speaker-compensation curves, 248 bytes each, written as
// CoefSet0.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
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

}  // namespace equalizer
