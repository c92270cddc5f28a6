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

// One row per value; the columns are Setting's. Type is Dword, Text or
// CoefSet (the type fixes the size its data must have). Reset is the value
// "Reset" writes for the row's group (no: none); created is written when the
// load finds the value missing. Flags: W the program writes it, WK as well and
// its key is one the program creates, R it only reads it.
// clang-format off
#define QM_SETTINGS(X) \
    X(PrimaryXtalk, ControlPanel, "PrimaryXtalk", Dword, A3DType, 2, no, W) \
    X(SoftSynthModeIndex, ControlPanel, "SoftSynthModeIndex", Dword, MidiVoices, 0, no, W) \
    X(GamerMode, ControlPanel, "GamerMode", Dword, MidiVoices, 1, no, W) \
    X(SoftSynthVoices, ControlPanel, "SoftSynthVoices", Dword, MidiVoices, 256, no, W) \
    X(SoftSynthMode, ControlPanel, "SoftSynthMode", Dword, MidiVoices, 3, no, W) \
    X(SoftSynth, ControlPanel, "SoftSynth", Dword, MidiVoices, 2, no, W) \
    X(AspenWavetableEffect, ControlPanel, "AspenWavetableEffect", Dword, MidiEffects, 1, no, W) \
    X(ReverbAmount, ControlPanel, "ReverbAmount", Dword, MidiEffects, 64, no, W) \
    X(ChorusAmount, ControlPanel, "ChorusAmount", Dword, MidiEffects, 64, no, W) \
    X(HighPerformanceMIDI, ControlPanel, "HighPerformanceMIDI", Dword, None, no, 0, W) \
    X(QuadCodecOutputModeState, ControlPanel, "QuadCodecOutputModeState", Dword, AC97Codec, 0, no, W) \
    X(AnalogEQSrcLine, ControlPanel, "AnalogEQSrcLine", Dword, AnalogEQ, 3, no, W) \
    X(AnalogEQEnableState, ControlPanel, "AnalogEQEnableState", Dword, AnalogEQ, 0, no, W) \
    X(AC97MixerLocation, ControlPanel, "AC97MixerLocation", Text, AC97MixerPath, no, no, W) \
    X(VIAFix, ControlPanel, "VIAFix", Dword, None, no, 0, W) \
    X(VIAAGP, ControlPanel, "VIAAGP", Dword, None, no, 0, W) \
    X(AC97PCMOutVol, Customization, "AC97PCMOutVol", Dword, AC97Codec, 8, no, W) \
    X(AC97PCM2OutVol, Customization, "AC97PCM2OutVol", Dword, AC97Codec, 8, no, W) \
    X(AC97MixerFrontOutVol, Customization, "AC97MixerFrontOutVol", Dword, AC97Codec, 8, no, W) \
    X(AC97MixerRearOutVol, Customization, "AC97MixerRearOutVol", Dword, AC97Codec, 8, no, W) \
    X(DisableAC97Codec3DEffect, Customization, "DisableAC97Codec3DEffect", Dword, AC97Codec, 1, no, W) \
    X(ST9704ATTEN, Customization, "ST9704ATTEN", Dword, AC97Codec, 0, no, W) \
    X(CorrectLA2, Customization, "CorrectLA2", Dword, AC97Codec, 1, no, W) \
    X(ST9708LA4RearInversion, Customization, "ST9708LA4RearInversion", Dword, AC97Codec, 1, no, W) \
    X(SetGPIO0InQuad, Customization, "SetGPIO0InQuad", Dword, AC97Codec, 0, 0, W) \
    X(SpdifFrequency, Customization, "SpdifFrequency", Dword, DigitalOutput, 48000, no, W) \
    X(DetectSpdifOut, Customization, "DetectSpdifOut", Dword, DigitalOutput, 1, no, W) \
    X(EnableSpdifOut, Customization, "EnableSpdifOut", Dword, DigitalOutput, 1, no, W) \
    X(DetectSpdifIn, Customization, "DetectSpdifIn", Dword, DigitalInput, 0, no, W) \
    X(EnableSpdifIn, Customization, "EnableSpdifIn", Dword, DigitalInput, 0, no, W) \
    X(SupportAnalogEQ, Customization, "SupportAnalogEQ", Dword, AnalogEQ, 0, no, W) \
    X(ControlPanelPageConfig, Customization, "ControlPanelPageConfig", Text, None, no, no, W) \
    X(SpdifCard1, SpdifEnableList, "1", Dword, None, no, no, W) \
    X(SpdifCard2, SpdifEnableList, "2", Dword, None, no, no, W) \
    X(SpdifCard3, SpdifEnableList, "3", Dword, None, no, no, W) \
    X(SpdifCard4, SpdifEnableList, "4", Dword, None, no, no, W) \
    X(CoefSet0, Equalizer, "CoefSet0", CoefSet, None, no, no, WK) \
    X(EqBypass, Equalizer, "EqBypass", Dword, None, no, no, WK) \
    X(ActiveCoefSet, Equalizer, "ActiveCoefSet", Dword, None, no, no, WK) \
    X(PresetNumber, EqPreset, "PresetNumber", Dword, None, no, no, W) \
    X(CurrSpeakerComp, SpeakerCompensation, "CurrSpeakerComp", Text, None, no, no, W) \
    X(SplashScreen, A3D, "SplashScreen", Dword, None, no, 0, WK) \
    X(SplashAudio, A3D, "SplashAudio", Dword, None, no, 0, WK) \
    X(AU30TRAY, Run, "AU30TRAY", Text, None, no, no, W) \
    X(MediaPlayerProg, DirectXMedia, ".Prog", Text, None, no, no, R) \
    X(WpcrsetStart, WpcrsetService, "Start", Dword, None, no, no, W) \
    X(WpcrsetRunSwitch, WpcrsetParameters, "Start", Dword, None, no, no, W) \
    X(RegCnt, WpcrsetParameters, "RegCnt", Dword, None, no, no, W) \
    X(Reg00, WpcrsetParameters, "Reg00", Dword, None, no, no, W) \
    X(Reg01, WpcrsetParameters, "Reg01", Dword, None, no, no, W) \
    X(Reg02, WpcrsetParameters, "Reg02", Dword, None, no, no, W) \
    X(Reg03, WpcrsetParameters, "Reg03", Dword, None, no, no, W) \
    X(Reg04, WpcrsetParameters, "Reg04", Dword, None, no, no, W) \
    X(Reg05, WpcrsetParameters, "Reg05", Dword, None, no, no, W) \
    X(Reg06, WpcrsetParameters, "Reg06", Dword, None, no, no, W) \
    X(Reg07, WpcrsetParameters, "Reg07", Dword, None, no, no, W) \
    X(Reg08, WpcrsetParameters, "Reg08", Dword, None, no, no, W) \
    X(Reg09, WpcrsetParameters, "Reg09", Dword, None, no, no, W) \
    X(Reg10, WpcrsetParameters, "Reg10", Dword, None, no, no, W) \
    X(Reg11, WpcrsetParameters, "Reg11", Dword, None, no, no, W) \
    X(Reg12, WpcrsetParameters, "Reg12", Dword, None, no, no, W) \
    X(Reg13, WpcrsetParameters, "Reg13", Dword, None, no, no, W) \
    X(Reg14, WpcrsetParameters, "Reg14", Dword, None, no, no, W) \
    X(Reg15, WpcrsetParameters, "Reg15", Dword, None, no, no, W)
// clang-format on

struct Setting {
    const char* key;
    const char* name;
    platform::ValueType type;
    ResetGroup resetGroup;                // None: no reset default
    std::uint16_t size;                   // the bytes its data must have; 0: any
    std::optional<std::int32_t> reset;    // the value reset writes (none: deleted, or no reset)
    std::optional<std::int32_t> created;  // written when found missing at load
    bool written;                         // the program writes it, so a backup holds it
    bool keyCreated;                      // the program creates its key where missing
};

// One equalizer coefficient set, the data of "CoefSet0".
constexpr std::uint32_t kCoefSetBytes = 248;

enum class Id : std::uint8_t {
#define QM_SETTING_ID(id, ...) id,
    QM_SETTINGS(QM_SETTING_ID)
#undef QM_SETTING_ID
    Count
};
constexpr std::size_t kSettingCount = std::size_t(Id::Count);

// The rows, constant data in Catalogue.cpp: the accessors inline to their
// addresses.
extern const std::array<Setting, kSettingCount> kTable;

// The whole table, in catalogue order.
inline const std::array<Setting, kSettingCount>& all() { return kTable; }

#define QM_SETTING_ACCESSOR(id, ...) \
    inline const Setting& id() { return kTable[std::size_t(Id::id)]; }
QM_SETTINGS(QM_SETTING_ACCESSOR)
#undef QM_SETTING_ACCESSOR

// "1".."4" of SpdifEnableList
inline const Setting& SpdifCard(int n) { return kTable[std::size_t(Id::SpdifCard1) + ((n >= 1 && n <= 4) ? n - 1 : 0)]; }
// "Reg00".."Reg15"
inline const Setting& RegEntry(int n) { return kTable[std::size_t(Id::Reg00) + ((n >= 0 && n < 16) ? n : 0)]; }

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

}  // namespace settings
