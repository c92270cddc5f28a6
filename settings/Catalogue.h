// Every registry value the program reads or writes: where it lives, its
// type and its defaults. Windows use these instead of spelling keys again.
#pragma once
#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

#include "platform/Registry.h"

namespace settings {

namespace key {
constexpr const char* ControlPanel = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\ControlPanel";
constexpr const char* Customization = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization";
constexpr const char* SpdifEnableList = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization\\SpdifEnableList";
constexpr const char* Equalizer = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Equalizer";
constexpr const char* EqPreset = "SOFTWARE\\Aureal\\Vortex\\AU8830\\Equalizer";
constexpr const char* SpeakerCompensation = "Software\\Aureal\\Vortex\\AU8830\\SpeakerCompensation";
constexpr const char* A3D = "Software\\Aureal\\A3D";
constexpr const char* Run = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
constexpr const char* DirectXMedia = "SOFTWARE\\Microsoft\\Multimedia\\DirectXMedia";
constexpr const char* WpcrsetService = "SYSTEM\\CurrentControlSet\\Services\\WPCRSET";
constexpr const char* WpcrsetParameters = "SYSTEM\\CurrentControlSet\\Services\\WPCRSET\\Parameters";
}  // namespace key

// The reset dialog's groups; All is "Reset All Settings".
enum class ResetGroup : std::uint8_t { None, A3DType, MidiVoices, MidiEffects, AC97Codec, AnalogEQ, AC97MixerPath, DigitalOutput, DigitalInput };

struct Setting {
    const char* key;
    const char* name;
    std::uint32_t type;
    ResetGroup resetGroup;              // None: no reset default
    std::uint16_t size;                 // the bytes its data must have; 0: any
    std::optional<std::int32_t> reset;  // the value reset writes (none: deleted, or no reset)
    std::optional<std::int32_t> created;  // written when found missing at load
    std::int32_t missing;               // how a reader takes it when absent
};

// One equalizer coefficient set, the data of "CoefSet0".
constexpr std::uint32_t kCoefSetBytes = 248;

// The entries, constant data in Catalogue.cpp: the accessors below inline
// to their addresses.
namespace table {
extern const Setting PrimaryXtalk;
extern const Setting SoftSynthModeIndex;
extern const Setting GamerMode;
extern const Setting SoftSynthVoices;
extern const Setting SoftSynthMode;
extern const Setting SoftSynth;
extern const Setting AspenWavetableEffect;
extern const Setting ReverbAmount;
extern const Setting ChorusAmount;
extern const Setting HighPerformanceMIDI;
extern const Setting QuadCodecOutputModeState;
extern const Setting AnalogEQSrcLine;
extern const Setting AnalogEQEnableState;
extern const Setting AC97MixerLocation;
extern const Setting VIAFix;
extern const Setting VIAAGP;
extern const Setting AC97PCMOutVol;
extern const Setting AC97PCM2OutVol;
extern const Setting AC97MixerFrontOutVol;
extern const Setting AC97MixerRearOutVol;
extern const Setting DisableAC97Codec3DEffect;
extern const Setting ST9704ATTEN;
extern const Setting CorrectLA2;
extern const Setting ST9708LA4RearInversion;
extern const Setting SetGPIO0InQuad;
extern const Setting SpdifFrequency;
extern const Setting DetectSpdifOut;
extern const Setting EnableSpdifOut;
extern const Setting DetectSpdifIn;
extern const Setting EnableSpdifIn;
extern const Setting SupportAnalogEQ;
extern const Setting ControlPanelPageConfig;
extern const Setting CoefSet0;
extern const Setting EqBypass;
extern const Setting ActiveCoefSet;
extern const Setting PresetNumber;
extern const Setting CurrSpeakerComp;
extern const Setting SplashScreen;
extern const Setting SplashAudio;
extern const Setting AU30TRAY;
extern const Setting MediaPlayerProg;
extern const Setting WpcrsetStart;
extern const Setting WpcrsetRunSwitch;
extern const Setting RegCnt;
}  // namespace table

inline const Setting& PrimaryXtalk() { return table::PrimaryXtalk; }
inline const Setting& SoftSynthModeIndex() { return table::SoftSynthModeIndex; }
inline const Setting& GamerMode() { return table::GamerMode; }
inline const Setting& SoftSynthVoices() { return table::SoftSynthVoices; }
inline const Setting& SoftSynthMode() { return table::SoftSynthMode; }
inline const Setting& SoftSynth() { return table::SoftSynth; }
inline const Setting& AspenWavetableEffect() { return table::AspenWavetableEffect; }
inline const Setting& ReverbAmount() { return table::ReverbAmount; }
inline const Setting& ChorusAmount() { return table::ChorusAmount; }
inline const Setting& HighPerformanceMIDI() { return table::HighPerformanceMIDI; }
inline const Setting& QuadCodecOutputModeState() { return table::QuadCodecOutputModeState; }
inline const Setting& AnalogEQSrcLine() { return table::AnalogEQSrcLine; }
inline const Setting& AnalogEQEnableState() { return table::AnalogEQEnableState; }
inline const Setting& AC97MixerLocation() { return table::AC97MixerLocation; }
inline const Setting& VIAFix() { return table::VIAFix; }
inline const Setting& VIAAGP() { return table::VIAAGP; }
inline const Setting& AC97PCMOutVol() { return table::AC97PCMOutVol; }
inline const Setting& AC97PCM2OutVol() { return table::AC97PCM2OutVol; }
inline const Setting& AC97MixerFrontOutVol() { return table::AC97MixerFrontOutVol; }
inline const Setting& AC97MixerRearOutVol() { return table::AC97MixerRearOutVol; }
inline const Setting& DisableAC97Codec3DEffect() { return table::DisableAC97Codec3DEffect; }
inline const Setting& ST9704ATTEN() { return table::ST9704ATTEN; }
inline const Setting& CorrectLA2() { return table::CorrectLA2; }
inline const Setting& ST9708LA4RearInversion() { return table::ST9708LA4RearInversion; }
inline const Setting& SetGPIO0InQuad() { return table::SetGPIO0InQuad; }
inline const Setting& SpdifFrequency() { return table::SpdifFrequency; }
inline const Setting& DetectSpdifOut() { return table::DetectSpdifOut; }
inline const Setting& EnableSpdifOut() { return table::EnableSpdifOut; }
inline const Setting& DetectSpdifIn() { return table::DetectSpdifIn; }
inline const Setting& EnableSpdifIn() { return table::EnableSpdifIn; }
inline const Setting& SupportAnalogEQ() { return table::SupportAnalogEQ; }
inline const Setting& ControlPanelPageConfig() { return table::ControlPanelPageConfig; }
const Setting& SpdifCard(int n);  // "1".."4" of SpdifEnableList
inline const Setting& CoefSet0() { return table::CoefSet0; }
inline const Setting& EqBypass() { return table::EqBypass; }
inline const Setting& ActiveCoefSet() { return table::ActiveCoefSet; }
inline const Setting& PresetNumber() { return table::PresetNumber; }
inline const Setting& CurrSpeakerComp() { return table::CurrSpeakerComp; }
inline const Setting& SplashScreen() { return table::SplashScreen; }
inline const Setting& SplashAudio() { return table::SplashAudio; }
inline const Setting& AU30TRAY() { return table::AU30TRAY; }
inline const Setting& MediaPlayerProg() { return table::MediaPlayerProg; }
inline const Setting& WpcrsetStart() { return table::WpcrsetStart; }
inline const Setting& WpcrsetRunSwitch() { return table::WpcrsetRunSwitch; }  // Parameters\Start
inline const Setting& RegCnt() { return table::RegCnt; }
const Setting& RegEntry(int n);     // "Reg00".."Reg15"

constexpr std::size_t kSettingCount = 64;
// The whole table, in catalogue order (RegEntry and SpdifCard expanded).
const std::array<const Setting*, kSettingCount>& all();

// The setting stored at key/name (compared without regard to case), if any.
// Only checks look settings up by name, so it is inline: the program
// carries none of it.
namespace detail {
inline bool iequal(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return *a == *b;
}
}  // namespace detail

inline const Setting* lookup(const char* k, const char* n) {
    for (const Setting* s : all())
        if (detail::iequal(s->name, n) && detail::iequal(s->key, k)) return s;
    return nullptr;
}

}  // namespace settings
