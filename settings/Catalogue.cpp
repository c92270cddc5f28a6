#include "settings/Catalogue.h"

namespace settings {

namespace {
using platform::REG_BINARY;
using platform::REG_DWORD;
using platform::REG_SZ;
using G = ResetGroup;
constexpr std::optional<std::int32_t> no = std::nullopt;
}  // namespace

namespace table {
constexpr Setting PrimaryXtalk{key::ControlPanel, "PrimaryXtalk", REG_DWORD, G::A3DType, 4, 2, no, 0};
constexpr Setting SoftSynthModeIndex{key::ControlPanel, "SoftSynthModeIndex", REG_DWORD, G::MidiVoices, 4, 0, no, 0};
constexpr Setting GamerMode{key::ControlPanel, "GamerMode", REG_DWORD, G::MidiVoices, 4, 1, no, 0};
constexpr Setting SoftSynthVoices{key::ControlPanel, "SoftSynthVoices", REG_DWORD, G::MidiVoices, 4, 256, no, 0};
constexpr Setting SoftSynthMode{key::ControlPanel, "SoftSynthMode", REG_DWORD, G::MidiVoices, 4, 3, no, 0};
constexpr Setting SoftSynth{key::ControlPanel, "SoftSynth", REG_DWORD, G::MidiVoices, 4, 2, no, 0};
constexpr Setting AspenWavetableEffect{key::ControlPanel, "AspenWavetableEffect", REG_DWORD, G::MidiEffects, 4, 1, no, 0};
constexpr Setting ReverbAmount{key::ControlPanel, "ReverbAmount", REG_DWORD, G::MidiEffects, 4, 64, no, 0};
constexpr Setting ChorusAmount{key::ControlPanel, "ChorusAmount", REG_DWORD, G::MidiEffects, 4, 64, no, 0};
constexpr Setting HighPerformanceMIDI{key::ControlPanel, "HighPerformanceMIDI", REG_DWORD, G::None, 4, no, 0, 0};
constexpr Setting QuadCodecOutputModeState{key::ControlPanel, "QuadCodecOutputModeState", REG_DWORD, G::AC97Codec, 4, 0, no, 0};
constexpr Setting AnalogEQSrcLine{key::ControlPanel, "AnalogEQSrcLine", REG_DWORD, G::AnalogEQ, 4, 3, no, 0};
constexpr Setting AnalogEQEnableState{key::ControlPanel, "AnalogEQEnableState", REG_DWORD, G::AnalogEQ, 4, 0, no, 0};
constexpr Setting AC97MixerLocation{key::ControlPanel, "AC97MixerLocation", REG_SZ, G::AC97MixerPath, 0, no, no, 0};
constexpr Setting VIAFix{key::ControlPanel, "VIAFix", REG_DWORD, G::None, 4, no, 0, 0};
constexpr Setting VIAAGP{key::ControlPanel, "VIAAGP", REG_DWORD, G::None, 4, no, 0, 0};
constexpr Setting AC97PCMOutVol{key::Customization, "AC97PCMOutVol", REG_DWORD, G::AC97Codec, 4, 8, no, 0};
constexpr Setting AC97PCM2OutVol{key::Customization, "AC97PCM2OutVol", REG_DWORD, G::AC97Codec, 4, 8, no, 0};
constexpr Setting AC97MixerFrontOutVol{key::Customization, "AC97MixerFrontOutVol", REG_DWORD, G::AC97Codec, 4, 8, no, 0};
constexpr Setting AC97MixerRearOutVol{key::Customization, "AC97MixerRearOutVol", REG_DWORD, G::AC97Codec, 4, 8, no, 0};
constexpr Setting DisableAC97Codec3DEffect{key::Customization, "DisableAC97Codec3DEffect", REG_DWORD, G::AC97Codec, 4, 1, no, 0};
constexpr Setting ST9704ATTEN{key::Customization, "ST9704ATTEN", REG_DWORD, G::AC97Codec, 4, 0, no, 0};
constexpr Setting CorrectLA2{key::Customization, "CorrectLA2", REG_DWORD, G::AC97Codec, 4, 1, no, 0};
constexpr Setting ST9708LA4RearInversion{key::Customization, "ST9708LA4RearInversion", REG_DWORD, G::AC97Codec, 4, 1, no, 0};
constexpr Setting SetGPIO0InQuad{key::Customization, "SetGPIO0InQuad", REG_DWORD, G::AC97Codec, 4, 0, 0, 0};
constexpr Setting SpdifFrequency{key::Customization, "SpdifFrequency", REG_DWORD, G::DigitalOutput, 4, 48000, no, 0};
constexpr Setting DetectSpdifOut{key::Customization, "DetectSpdifOut", REG_DWORD, G::DigitalOutput, 4, 1, no, 0};
constexpr Setting EnableSpdifOut{key::Customization, "EnableSpdifOut", REG_DWORD, G::DigitalOutput, 4, 1, no, 0};
constexpr Setting DetectSpdifIn{key::Customization, "DetectSpdifIn", REG_DWORD, G::DigitalInput, 4, 0, no, 0};
constexpr Setting EnableSpdifIn{key::Customization, "EnableSpdifIn", REG_DWORD, G::DigitalInput, 4, 0, no, 0};
constexpr Setting SupportAnalogEQ{key::Customization, "SupportAnalogEQ", REG_DWORD, G::AnalogEQ, 4, 0, no, 0};
constexpr Setting ControlPanelPageConfig{key::Customization, "ControlPanelPageConfig", REG_SZ, G::None, 0, no, no, 0};
constexpr Setting CoefSet0{key::Equalizer, "CoefSet0", REG_BINARY, G::None, kCoefSetBytes, no, no, 0};
constexpr Setting EqBypass{key::Equalizer, "EqBypass", REG_DWORD, G::None, 4, no, no, 0};
constexpr Setting ActiveCoefSet{key::Equalizer, "ActiveCoefSet", REG_DWORD, G::None, 4, no, no, 0};
constexpr Setting PresetNumber{key::EqPreset, "PresetNumber", REG_DWORD, G::None, 4, no, no, 0};
constexpr Setting CurrSpeakerComp{key::SpeakerCompensation, "CurrSpeakerComp", REG_SZ, G::None, 0, no, no, 0};
constexpr Setting SplashScreen{key::A3D, "SplashScreen", REG_DWORD, G::None, 4, no, 0, 0};
constexpr Setting SplashAudio{key::A3D, "SplashAudio", REG_DWORD, G::None, 4, no, 0, 0};
constexpr Setting AU30TRAY{key::Run, "AU30TRAY", REG_SZ, G::None, 0, no, no, 0};
constexpr Setting MediaPlayerProg{key::DirectXMedia, ".Prog", REG_SZ, G::None, 0, no, no, 0};
constexpr Setting WpcrsetStart{key::WpcrsetService, "Start", REG_DWORD, G::None, 4, no, no, 0};
constexpr Setting WpcrsetRunSwitch{key::WpcrsetParameters, "Start", REG_DWORD, G::None, 4, no, no, 0};
constexpr Setting RegCnt{key::WpcrsetParameters, "RegCnt", REG_DWORD, G::None, 4, no, no, 0};
}  // namespace table

namespace {
constexpr Setting kSpdifCards[4] = {
    {key::SpdifEnableList, "1", REG_DWORD, G::None, 4, no, no, 0},
    {key::SpdifEnableList, "2", REG_DWORD, G::None, 4, no, no, 0},
    {key::SpdifEnableList, "3", REG_DWORD, G::None, 4, no, no, 0},
    {key::SpdifEnableList, "4", REG_DWORD, G::None, 4, no, no, 0},
};

constexpr Setting kRegEntries[16] = {
    {key::WpcrsetParameters, "Reg00", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg01", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg02", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg03", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg04", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg05", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg06", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg07", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg08", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg09", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg10", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg11", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg12", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg13", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg14", REG_DWORD, G::None, 4, no, no, 0},
    {key::WpcrsetParameters, "Reg15", REG_DWORD, G::None, 4, no, no, 0},
};

constexpr std::array<const Setting*, kSettingCount> kAll = {
    &table::PrimaryXtalk, &table::SoftSynthModeIndex, &table::GamerMode, &table::SoftSynthVoices,
    &table::SoftSynthMode, &table::SoftSynth, &table::AspenWavetableEffect, &table::ReverbAmount,
    &table::ChorusAmount, &table::HighPerformanceMIDI, &table::QuadCodecOutputModeState, &table::AnalogEQSrcLine,
    &table::AnalogEQEnableState, &table::AC97MixerLocation, &table::VIAFix, &table::VIAAGP, &table::AC97PCMOutVol,
    &table::AC97PCM2OutVol, &table::AC97MixerFrontOutVol, &table::AC97MixerRearOutVol,
    &table::DisableAC97Codec3DEffect, &table::ST9704ATTEN, &table::CorrectLA2, &table::ST9708LA4RearInversion,
    &table::SetGPIO0InQuad, &table::SpdifFrequency, &table::DetectSpdifOut, &table::EnableSpdifOut,
    &table::DetectSpdifIn, &table::EnableSpdifIn, &table::SupportAnalogEQ, &table::ControlPanelPageConfig,
    &kSpdifCards[0], &kSpdifCards[1], &kSpdifCards[2], &kSpdifCards[3], &table::CoefSet0, &table::EqBypass,
    &table::ActiveCoefSet, &table::PresetNumber, &table::CurrSpeakerComp, &table::SplashScreen, &table::SplashAudio,
    &table::AU30TRAY, &table::MediaPlayerProg, &table::WpcrsetStart, &table::WpcrsetRunSwitch, &table::RegCnt,
    &kRegEntries[0], &kRegEntries[1], &kRegEntries[2], &kRegEntries[3], &kRegEntries[4], &kRegEntries[5],
    &kRegEntries[6], &kRegEntries[7], &kRegEntries[8], &kRegEntries[9], &kRegEntries[10], &kRegEntries[11],
    &kRegEntries[12], &kRegEntries[13], &kRegEntries[14], &kRegEntries[15],
};
}  // namespace

const Setting& SpdifCard(int n) { return kSpdifCards[(n >= 1 && n <= 4) ? n - 1 : 0]; }

const Setting& RegEntry(int n) { return kRegEntries[(n >= 0 && n < 16) ? n : 0]; }

const std::array<const Setting*, kSettingCount>& all() { return kAll; }

}  // namespace settings
