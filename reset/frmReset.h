// "Reset Settings": eight buttons that return one group of driver settings
// each to its defaults, one that resets them all, and OK.
#pragma once
#include "platform/Services.h"
#include "settings/Catalogue.h"
#include "settings/Store.h"
#include "ui/Form.h"

// The main window's four stacked A3D type pictures, numbered as the entries
// of its A3D type list. The reset dialog needs nothing else of that window.
class A3DPictureSink {
public:
    enum Picture { Phones = 0, Satellite = 1, Monitor = 2, Quad = 3 };
    virtual ~A3DPictureSink() = default;
    // Hides every other picture and shows this one, going through them in
    // list order, as the A3D type list does when its entry changes.
    virtual void showOnlyPicture(int picture) = 0;
};

// The group each group button returns to its defaults; "Reset All Settings"
// runs them all, in reset::resetAllOrder().
struct ResetButton {
    const char* button;
    settings::ResetGroup group;
};
inline constexpr ResetButton kResetButtons[] = {
    {"cmdAC97Mix", settings::ResetGroup::AC97MixerPath}, {"cmdMIDIVoices", settings::ResetGroup::MidiVoices},
    {"cmdDigOut", settings::ResetGroup::DigitalOutput},  {"cmdA3DType", settings::ResetGroup::A3DType},
    {"cmdMIDIFX", settings::ResetGroup::MidiEffects},    {"cmdDigIn", settings::ResetGroup::DigitalInput},
    {"Command1", settings::ResetGroup::AC97Codec},       {"cmdAnalogEQ", settings::ResetGroup::AnalogEQ},
};

class frmReset : public ui::Form {
public:
    frmReset(const platform::Services& sys, ui::UiServices ui, A3DPictureSink& mainPictures);

    ui::Picture Image1{*this, "Image1"};
    ui::Button cmdResetAll{*this, "cmdResetAll"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::Button cmdAC97Mix{*this, "cmdAC97Mix"};
    ui::Button cmdMIDIVoices{*this, "cmdMIDIVoices"};
    ui::Button cmdDigOut{*this, "cmdDigOut"};
    ui::Button cmdA3DType{*this, "cmdA3DType"};
    ui::Button cmdMIDIFX{*this, "cmdMIDIFX"};
    ui::Button cmdDigIn{*this, "cmdDigIn"};
    ui::Button Command1{*this, "Command1"};
    ui::Button cmdAnalogEQ{*this, "cmdAnalogEQ"};
    ui::Button cmdOK{*this, "cmdOK"};

    void cmdResetAll_Click();
    void cmdAC97Mix_Click();
    void cmdMIDIVoices_Click();
    void cmdDigOut_Click();
    void cmdA3DType_Click();
    void cmdMIDIFX_Click();
    void cmdDigIn_Click();
    void Command1_Click();
    void cmdAnalogEQ_Click();
    void cmdOK_Click();

private:
    void writeGroup(settings::ResetGroup g);
    void writeGroupOf(const ui::Button& button);
    // Before the first reset of this opening: the safety copy, or the
    // user's word to go on without it.
    bool readyToWrite();

    platform::Services sys_;
    bool copied_ = false;
    settings::Store store_;
    A3DPictureSink& mainPictures_;
};
