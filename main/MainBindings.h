// Which of the main window's controls shows which setting, and what each
// entry of its lists and option buttons writes. The window wires, reads,
// shows and stores by these rows; its tests and the fuzz oracles check by
// them. Plain data: no window is needed to read it.
#pragma once
#include <cstddef>
#include <cstdint>
#include <iterator>

#include "settings/Catalogue.h"

namespace mainwin {

using SettingOf = const settings::Setting& (*)();

// The check boxes that show one stored number, in the order the loading
// sequence sets them, which is the order their handlers write in;
// chkHighPerfMIDI, the last, follows the lists. Columns: the box, its
// setting, how a stored value is shown (State: as the box's state; One: a
// stored 1 ticks it, anything else leaves it), and the "Enable" box a
// detection box governs (None: none).
// clang-format off
#define QM_MAIN_BOXES(X) \
    X(chkMIDIfx, AspenWavetableEffect, State, None) \
    X(chkST3D, DisableAC97Codec3DEffect, State, None) \
    X(chkPlayA3D, SplashAudio, One, None) \
    X(chkA3DSplash, SplashScreen, One, None) \
    X(chkAttenuation, ST9704ATTEN, State, None) \
    X(chkLA2Inv, CorrectLA2, State, None) \
    X(chkLA4Inv, ST9708LA4RearInversion, State, None) \
    X(chkDetOut, DetectSpdifOut, State, chkEnOut) \
    X(chkEnOut, EnableSpdifOut, State, None) \
    X(chkDetIn, DetectSpdifIn, State, chkEnIn) \
    X(chkEnIn, EnableSpdifIn, State, None) \
    X(chkHighPerfMIDI, HighPerformanceMIDI, State, None)

// The AC'97 level scroll bars (0..kLevelMax) with their number labels, in
// the order they are read and shown.
#define QM_MAIN_LEVELS(X) \
    X(hsbPCM1, lblPCM1, AC97PCMOutVol) \
    X(hsbPCM2, lblPCM2, AC97PCM2OutVol) \
    X(hsbFront, lblFront, AC97MixerFrontOutVol) \
    X(hsbRear, lblRear, AC97MixerRearOutVol)

// The MIDI effect sliders (0..kEffectMax) with their labels.
#define QM_MAIN_EFFECTS(X) \
    X(hsbEffect1, lblEffect1, ReverbAmount) \
    X(hsbEffect2, lblEffect2, ChorusAmount)
// clang-format on

enum class Box : std::uint8_t {
#define QM_MAIN_ID(id, ...) id,
    QM_MAIN_BOXES(QM_MAIN_ID)
    Count,
    None = Count
};
enum class Level : std::uint8_t { QM_MAIN_LEVELS(QM_MAIN_ID) Count };
enum class Effect : std::uint8_t { QM_MAIN_EFFECTS(QM_MAIN_ID) Count };
#undef QM_MAIN_ID

constexpr std::size_t kBoxCount = std::size_t(Box::Count);
constexpr std::size_t kLevelCount = std::size_t(Level::Count);
constexpr std::size_t kEffectCount = std::size_t(Effect::Count);

enum class Shown : std::uint8_t { State, One };

struct BoxBinding {
    const char* control;
    SettingOf setting;
    Shown shown;
    Box governs;
};

struct RangeBinding {
    const char* control;
    const char* label;  // shows the position in decimal
    SettingOf setting;
    int max;            // the range is 0..max
};

constexpr int kLevelMax = 31;
constexpr int kEffectMax = 127;

// clang-format off
#define QM_MAIN_BOX_ROW(box, s, how, governed) {#box, settings::s, Shown::how, Box::governed},
inline constexpr BoxBinding kBoxes[] = {QM_MAIN_BOXES(QM_MAIN_BOX_ROW)};
#undef QM_MAIN_BOX_ROW
// The levels, then the effects.
#define QM_MAIN_LEVEL_ROW(bar, label, s) {#bar, #label, settings::s, kLevelMax},
#define QM_MAIN_EFFECT_ROW(slider, label, s) {#slider, #label, settings::s, kEffectMax},
inline constexpr RangeBinding kRanges[] = {QM_MAIN_LEVELS(QM_MAIN_LEVEL_ROW) QM_MAIN_EFFECTS(QM_MAIN_EFFECT_ROW)};
#undef QM_MAIN_LEVEL_ROW
#undef QM_MAIN_EFFECT_ROW
// clang-format on

inline constexpr const BoxBinding& row(Box b) { return kBoxes[std::size_t(b)]; }
inline constexpr const RangeBinding& row(Level l) { return kRanges[std::size_t(l)]; }
inline constexpr const RangeBinding& row(Effect e) { return kRanges[kLevelCount + std::size_t(e)]; }

// A drop-down list whose entry index is stored as one number.
struct ListBinding {
    const char* control;
    SettingOf setting;
    std::size_t entries;
};

// cboWavetableMode: each entry writes these five values, in this order;
// the fourth is the entry's own index, from which the load selects it.
inline constexpr SettingOf kWavetableWrites[] = {settings::GamerMode, settings::SoftSynthVoices,
                                                 settings::SoftSynthMode, settings::SoftSynthModeIndex,
                                                 settings::SoftSynth};
constexpr std::size_t kWavetableIndexWrite = 3;
struct WavetableMode {
    const char* entry;
    std::int32_t writes[std::size(kWavetableWrites)];
};
inline constexpr WavetableMode kWavetableModes[] = {
    {"320 Voices", {1, 256, 3, 0, 2}},
    {"128 Voices", {0, 64, 2, 1, 2}},
    {"64 Voices", {0, 0, 0, 2, 0}},
};
constexpr bool eachModeWritesItsIndex() {
    for (std::size_t i = 0; i < std::size(kWavetableModes); ++i)
        if (kWavetableModes[i].writes[kWavetableIndexWrite] != std::int32_t(i)) return false;
    return true;
}
static_assert(eachModeWritesItsIndex(), "the load selects an entry by the index it wrote");

// cboA3DType: each entry with the one speaker picture it leaves visible.
struct A3DType {
    const char* entry;
    const char* picture;
};
inline constexpr A3DType kA3DTypes[] = {
    {"Headphones", "imgPhones"},
    {"Satellite Speakers", "imgSat"},
    {"Monitor Speakers", "imgMon"},
    {"Quad Speakers", "imgQuad"},
};

inline constexpr ListBinding kWavetableList{"cboWavetableMode", kWavetableWrites[kWavetableIndexWrite],
                                            std::size(kWavetableModes)};
inline constexpr ListBinding kA3DTypeList{"cboA3DType", settings::PrimaryXtalk, std::size(kA3DTypes)};
// In the order the load selects them.
inline constexpr ListBinding kLists[] = {kWavetableList, kA3DTypeList};

// optDigOut: the S/PDIF output rate of each button, written as a number and
// shown as its text by lblDigOut.
inline constexpr SettingOf kSpdifRateSetting = settings::SpdifFrequency;
inline constexpr const char* kSpdifRates[] = {"32000", "44100", "48000"};

// "Enable S/PDIF Support" writes these cards into "1".."4" of SpdifEnableList.
inline constexpr std::int32_t kSpdifCards[] = {0x12EB0088, 0x12EB0002, 0x104D807B, 0x10923001};

// The tray box writes this command, or deletes the value when unticked.
inline constexpr const char* kTrayCommand = "au30tray.exe";

}  // namespace mainwin
