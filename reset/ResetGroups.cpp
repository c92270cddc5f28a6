#include "reset/ResetGroups.h"

namespace reset {

using namespace settings;
using G = ResetGroup;

const std::vector<const Setting*>& groupValues(G g) {
    // The driver reads some companions together, so the order within a
    // group is kept as it always was rather than taken from the catalogue.
    static const std::vector<const Setting*> a3dType = {&PrimaryXtalk()};
    static const std::vector<const Setting*> midiVoices = {&GamerMode(), &SoftSynthVoices(), &SoftSynthMode(),
                                                           &SoftSynthModeIndex(), &SoftSynth()};
    static const std::vector<const Setting*> midiEffects = {&ReverbAmount(), &ChorusAmount(),
                                                            &AspenWavetableEffect()};
    static const std::vector<const Setting*> digitalOutput = {&SpdifFrequency(), &DetectSpdifOut(),
                                                              &EnableSpdifOut()};
    static const std::vector<const Setting*> digitalInput = {&DetectSpdifIn(), &EnableSpdifIn()};
    static const std::vector<const Setting*> analogEQ = {&SupportAnalogEQ(), &AnalogEQSrcLine(),
                                                         &AnalogEQEnableState()};
    static const std::vector<const Setting*> ac97Codec = {
        &DisableAC97Codec3DEffect(), &ST9708LA4RearInversion(), &CorrectLA2(),           &ST9704ATTEN(),
        &AC97PCMOutVol(),            &AC97PCM2OutVol(),         &AC97MixerFrontOutVol(), &AC97MixerRearOutVol(),
        &QuadCodecOutputModeState(), &SetGPIO0InQuad()};
    static const std::vector<const Setting*> mixerPath = {&AC97MixerLocation()};
    static const std::vector<const Setting*> none;
    switch (g) {
        case G::A3DType: return a3dType;
        case G::MidiVoices: return midiVoices;
        case G::MidiEffects: return midiEffects;
        case G::DigitalOutput: return digitalOutput;
        case G::DigitalInput: return digitalInput;
        case G::AnalogEQ: return analogEQ;
        case G::AC97Codec: return ac97Codec;
        case G::AC97MixerPath: return mixerPath;
        case G::None: break;
    }
    return none;
}

const std::vector<G>& resetAllOrder() {
    static const std::vector<G> order = {G::A3DType,      G::MidiVoices, G::MidiEffects, G::DigitalOutput,
                                         G::DigitalInput, G::AnalogEQ,   G::AC97Codec,   G::AC97MixerPath};
    return order;
}

}  // namespace reset
