// The ten coefficient sets the driver's equalizer runs from: six equalizer
// curves and four speaker-compensation curves, each held as hex-byte text
// (248 two-digit hexadecimal items joined by ",") and written as CoefSet0.
#pragma once
#include <cstddef>

namespace equalizer {

enum class EqCurve { Rock, Classical, Pop, Jazz, Dance, Flat };
enum class SpeakerModel { PhilipsDSS330, SonigistixMonsoonMM700, YamahaYSTM100, AltecLansingADA880 };

constexpr std::size_t kCoefSetBytes = 248;

constexpr EqCurve kAllCurves[] = {EqCurve::Rock, EqCurve::Classical, EqCurve::Pop,
                                  EqCurve::Jazz, EqCurve::Dance,     EqCurve::Flat};
constexpr SpeakerModel kAllSpeakers[] = {SpeakerModel::PhilipsDSS330, SpeakerModel::SonigistixMonsoonMM700,
                                         SpeakerModel::YamahaYSTM100, SpeakerModel::AltecLansingADA880};

// The name the lists show ("Rock", "Yamaha YSTM100"); a speaker's name is
// also what CurrSpeakerComp stores.
const char* name(EqCurve c);
const char* name(SpeakerModel m);

// The set's hex-byte text.
const char* hexText(EqCurve c);
const char* hexText(SpeakerModel m);

}  // namespace equalizer
