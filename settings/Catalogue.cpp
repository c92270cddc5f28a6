#include "settings/Catalogue.h"

#include <string>

namespace settings {

namespace {
using platform::REG_BINARY;
using platform::REG_DWORD;
using platform::REG_SZ;
using G = ResetGroup;
constexpr std::optional<std::int32_t> no = std::nullopt;

#define QM_SETTING(fn, k, n, t, g, r, c, m) \
    const Setting& fn() {                    \
        static const Setting s{k, n, t, g, r, c, m}; \
        return s;                            \
    }
}  // namespace

QM_SETTING(PrimaryXtalk, key::ControlPanel, "PrimaryXtalk", REG_DWORD, G::A3DType, 2, no, 0)
QM_SETTING(SoftSynthModeIndex, key::ControlPanel, "SoftSynthModeIndex", REG_DWORD, G::MidiVoices, 0, no, 0)
QM_SETTING(GamerMode, key::ControlPanel, "GamerMode", REG_DWORD, G::MidiVoices, 1, no, 0)
QM_SETTING(SoftSynthVoices, key::ControlPanel, "SoftSynthVoices", REG_DWORD, G::MidiVoices, 256, no, 0)
QM_SETTING(SoftSynthMode, key::ControlPanel, "SoftSynthMode", REG_DWORD, G::MidiVoices, 3, no, 0)
QM_SETTING(SoftSynth, key::ControlPanel, "SoftSynth", REG_DWORD, G::MidiVoices, 2, no, 0)
QM_SETTING(AspenWavetableEffect, key::ControlPanel, "AspenWavetableEffect", REG_DWORD, G::MidiEffects, 1, no, 0)
QM_SETTING(ReverbAmount, key::ControlPanel, "ReverbAmount", REG_DWORD, G::MidiEffects, 64, no, 0)
QM_SETTING(ChorusAmount, key::ControlPanel, "ChorusAmount", REG_DWORD, G::MidiEffects, 64, no, 0)
QM_SETTING(HighPerformanceMIDI, key::ControlPanel, "HighPerformanceMIDI", REG_DWORD, G::None, no, 0, 0)
QM_SETTING(QuadCodecOutputModeState, key::ControlPanel, "QuadCodecOutputModeState", REG_DWORD, G::AC97Codec, 0, no, 0)
QM_SETTING(AnalogEQSrcLine, key::ControlPanel, "AnalogEQSrcLine", REG_DWORD, G::AnalogEQ, 3, no, 0)
QM_SETTING(AnalogEQEnableState, key::ControlPanel, "AnalogEQEnableState", REG_DWORD, G::AnalogEQ, 0, no, 0)
QM_SETTING(AC97MixerLocation, key::ControlPanel, "AC97MixerLocation", REG_SZ, G::AC97MixerPath, no, no, 0)
QM_SETTING(VIAFix, key::ControlPanel, "VIAFix", REG_DWORD, G::None, no, 0, 0)
QM_SETTING(VIAAGP, key::ControlPanel, "VIAAGP", REG_DWORD, G::None, no, 0, 0)
QM_SETTING(AC97PCMOutVol, key::Customization, "AC97PCMOutVol", REG_DWORD, G::AC97Codec, 8, no, 0)
QM_SETTING(AC97PCM2OutVol, key::Customization, "AC97PCM2OutVol", REG_DWORD, G::AC97Codec, 8, no, 0)
QM_SETTING(AC97MixerFrontOutVol, key::Customization, "AC97MixerFrontOutVol", REG_DWORD, G::AC97Codec, 8, no, 0)
QM_SETTING(AC97MixerRearOutVol, key::Customization, "AC97MixerRearOutVol", REG_DWORD, G::AC97Codec, 8, no, 0)
QM_SETTING(DisableAC97Codec3DEffect, key::Customization, "DisableAC97Codec3DEffect", REG_DWORD, G::AC97Codec, 1, no, 0)
QM_SETTING(ST9704ATTEN, key::Customization, "ST9704ATTEN", REG_DWORD, G::AC97Codec, 0, no, 0)
QM_SETTING(CorrectLA2, key::Customization, "CorrectLA2", REG_DWORD, G::AC97Codec, 1, no, 0)
QM_SETTING(ST9708LA4RearInversion, key::Customization, "ST9708LA4RearInversion", REG_DWORD, G::AC97Codec, 1, no, 0)
QM_SETTING(SetGPIO0InQuad, key::Customization, "SetGPIO0InQuad", REG_DWORD, G::AC97Codec, 0, 0, 0)
QM_SETTING(SpdifFrequency, key::Customization, "SpdifFrequency", REG_DWORD, G::DigitalOutput, 48000, no, 0)
QM_SETTING(DetectSpdifOut, key::Customization, "DetectSpdifOut", REG_DWORD, G::DigitalOutput, 1, no, 0)
QM_SETTING(EnableSpdifOut, key::Customization, "EnableSpdifOut", REG_DWORD, G::DigitalOutput, 1, no, 0)
QM_SETTING(DetectSpdifIn, key::Customization, "DetectSpdifIn", REG_DWORD, G::DigitalInput, 0, no, 0)
QM_SETTING(EnableSpdifIn, key::Customization, "EnableSpdifIn", REG_DWORD, G::DigitalInput, 0, no, 0)
QM_SETTING(SupportAnalogEQ, key::Customization, "SupportAnalogEQ", REG_DWORD, G::AnalogEQ, 0, no, 0)
QM_SETTING(ControlPanelPageConfig, key::Customization, "ControlPanelPageConfig", REG_SZ, G::None, no, no, 0)
QM_SETTING(CoefSet0, key::Equalizer, "CoefSet0", REG_BINARY, G::None, no, no, 0)
QM_SETTING(EqBypass, key::Equalizer, "EqBypass", REG_DWORD, G::None, no, no, 0)
QM_SETTING(ActiveCoefSet, key::Equalizer, "ActiveCoefSet", REG_DWORD, G::None, no, no, 0)
QM_SETTING(PresetNumber, key::EqPreset, "PresetNumber", REG_DWORD, G::None, no, no, 0)
QM_SETTING(CurrSpeakerComp, key::SpeakerCompensation, "CurrSpeakerComp", REG_SZ, G::None, no, no, 0)
QM_SETTING(SplashScreen, key::A3D, "SplashScreen", REG_DWORD, G::None, no, 0, 0)
QM_SETTING(SplashAudio, key::A3D, "SplashAudio", REG_DWORD, G::None, no, 0, 0)
QM_SETTING(AU30TRAY, key::Run, "AU30TRAY", REG_SZ, G::None, no, no, 0)
QM_SETTING(MediaPlayerProg, key::DirectXMedia, ".Prog", REG_SZ, G::None, no, no, 0)
QM_SETTING(WpcrsetStart, key::WpcrsetService, "Start", REG_DWORD, G::None, no, no, 0)
QM_SETTING(WpcrsetRunSwitch, key::WpcrsetParameters, "Start", REG_DWORD, G::None, no, no, 0)
QM_SETTING(RegCnt, key::WpcrsetParameters, "RegCnt", REG_DWORD, G::None, no, no, 0)

#undef QM_SETTING

const Setting& SpdifCard(int n) {
    static const Setting cards[4] = {
        {key::SpdifEnableList, "1", REG_DWORD, G::None, no, no, 0},
        {key::SpdifEnableList, "2", REG_DWORD, G::None, no, no, 0},
        {key::SpdifEnableList, "3", REG_DWORD, G::None, no, no, 0},
        {key::SpdifEnableList, "4", REG_DWORD, G::None, no, no, 0},
    };
    return cards[(n >= 1 && n <= 4) ? n - 1 : 0];
}

const Setting& RegEntry(int n) {
    static const char* names[16] = {"Reg00", "Reg01", "Reg02", "Reg03", "Reg04", "Reg05", "Reg06", "Reg07",
                                    "Reg08", "Reg09", "Reg10", "Reg11", "Reg12", "Reg13", "Reg14", "Reg15"};
    static const std::vector<Setting> entries = [] {
        std::vector<Setting> v;
        for (auto* nm : names) v.push_back({key::WpcrsetParameters, nm, REG_DWORD, G::None, no, no, 0});
        return v;
    }();
    return entries[(n >= 0 && n < 16) ? n : 0];
}

const std::vector<const Setting*>& all() {
    static const std::vector<const Setting*> table = [] {
        std::vector<const Setting*> t = {
            &PrimaryXtalk(), &SoftSynthModeIndex(), &GamerMode(), &SoftSynthVoices(), &SoftSynthMode(), &SoftSynth(),
            &AspenWavetableEffect(), &ReverbAmount(), &ChorusAmount(), &HighPerformanceMIDI(),
            &QuadCodecOutputModeState(), &AnalogEQSrcLine(), &AnalogEQEnableState(), &AC97MixerLocation(), &VIAFix(),
            &VIAAGP(), &AC97PCMOutVol(), &AC97PCM2OutVol(), &AC97MixerFrontOutVol(), &AC97MixerRearOutVol(),
            &DisableAC97Codec3DEffect(), &ST9704ATTEN(), &CorrectLA2(), &ST9708LA4RearInversion(), &SetGPIO0InQuad(),
            &SpdifFrequency(), &DetectSpdifOut(), &EnableSpdifOut(), &DetectSpdifIn(), &EnableSpdifIn(),
            &SupportAnalogEQ(), &ControlPanelPageConfig()};
        for (int i = 1; i <= 4; ++i) t.push_back(&SpdifCard(i));
        for (auto* s : {&CoefSet0(), &EqBypass(), &ActiveCoefSet(), &PresetNumber(), &CurrSpeakerComp(),
                        &SplashScreen(), &SplashAudio(), &AU30TRAY(), &MediaPlayerProg(), &WpcrsetStart(),
                        &WpcrsetRunSwitch(), &RegCnt()})
            t.push_back(s);
        for (int i = 0; i < 16; ++i) t.push_back(&RegEntry(i));
        return t;
    }();
    return table;
}

namespace {
bool iequal(const char* a, const char* b) {
    for (; *a && *b; ++a, ++b) {
        char x = *a, y = *b;
        if (x >= 'A' && x <= 'Z') x = char(x - 'A' + 'a');
        if (y >= 'A' && y <= 'Z') y = char(y - 'A' + 'a');
        if (x != y) return false;
    }
    return *a == *b;
}
}  // namespace

const Setting* lookup(const char* k, const char* n) {
    for (const Setting* s : all())
        if (iequal(s->key, k) && iequal(s->name, n)) return s;
    return nullptr;
}

}  // namespace settings
