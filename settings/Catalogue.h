// Every registry value the program reads or writes: where it lives, its
// type and its defaults. Windows use these instead of spelling keys again.
#pragma once
#include <cstdint>
#include <optional>
#include <vector>

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
enum class ResetGroup { None, A3DType, MidiVoices, MidiEffects, AC97Codec, AnalogEQ, AC97MixerPath, DigitalOutput, DigitalInput };

struct Setting {
    const char* key;
    const char* name;
    std::uint32_t type;
    ResetGroup resetGroup;              // None: no reset default
    std::optional<std::int32_t> reset;  // the value reset writes (none: deleted, or no reset)
    std::optional<std::int32_t> created;  // written when found missing at load
    std::int32_t missing;               // how a reader takes it when absent
};

const Setting& PrimaryXtalk();
const Setting& SoftSynthModeIndex();
const Setting& GamerMode();
const Setting& SoftSynthVoices();
const Setting& SoftSynthMode();
const Setting& SoftSynth();
const Setting& AspenWavetableEffect();
const Setting& ReverbAmount();
const Setting& ChorusAmount();
const Setting& HighPerformanceMIDI();
const Setting& QuadCodecOutputModeState();
const Setting& AnalogEQSrcLine();
const Setting& AnalogEQEnableState();
const Setting& AC97MixerLocation();
const Setting& VIAFix();
const Setting& VIAAGP();
const Setting& AC97PCMOutVol();
const Setting& AC97PCM2OutVol();
const Setting& AC97MixerFrontOutVol();
const Setting& AC97MixerRearOutVol();
const Setting& DisableAC97Codec3DEffect();
const Setting& ST9704ATTEN();
const Setting& CorrectLA2();
const Setting& ST9708LA4RearInversion();
const Setting& SetGPIO0InQuad();
const Setting& SpdifFrequency();
const Setting& DetectSpdifOut();
const Setting& EnableSpdifOut();
const Setting& DetectSpdifIn();
const Setting& EnableSpdifIn();
const Setting& SupportAnalogEQ();
const Setting& ControlPanelPageConfig();
const Setting& SpdifCard(int n);  // "1".."4" of SpdifEnableList
const Setting& CoefSet0();
const Setting& EqBypass();
const Setting& ActiveCoefSet();
const Setting& PresetNumber();
const Setting& CurrSpeakerComp();
const Setting& SplashScreen();
const Setting& SplashAudio();
const Setting& AU30TRAY();
const Setting& MediaPlayerProg();
const Setting& WpcrsetStart();
const Setting& WpcrsetRunSwitch();  // Parameters\Start
const Setting& RegCnt();
const Setting& RegEntry(int n);     // "Reg00".."Reg15"

// The whole table, in catalogue order (RegEntry and SpdifCard expanded).
const std::vector<const Setting*>& all();
// The setting stored at key/name (compared without regard to case), if any.
const Setting* lookup(const char* key, const char* name);

}  // namespace settings
