#include "reset/frmReset.h"

#include "backup/SafetyCopy.h"
#include "reset/ResetGroups.h"
#include "ui/Images.h"

using settings::ResetGroup;

frmReset::frmReset(const platform::Services& sys, ui::UiServices ui, A3DPictureSink& mainPictures)
    : ui::Form("frmReset", ui), sys_(sys), store_(*sys.reg), mainPictures_(mainPictures) {
    setCaption("Reset Settings");
    setClientSize(5280, 3000);

    // Layout, in twips.
    Image1.place("", {120, 120, 480, 480});
    Image1.image = ui::IMG_CARD;
    cmdResetAll.place("Reset All Settings", {720, 120, 1695, 375});
    Frame1.place("", {120, 720, 5055, 1695});
    cmdAC97Mix.place("AC97 Mixer Path", {120, 240, 1575, 375}, &Frame1);
    cmdMIDIVoices.place("MIDI Voices", {1770, 240, 1575, 375}, &Frame1);
    cmdDigOut.place("Digital Output", {3420, 240, 1575, 375}, &Frame1);
    cmdA3DType.place("A3D Type", {120, 720, 1575, 375}, &Frame1);
    cmdMIDIFX.place("MIDI Effects", {1770, 720, 1575, 375}, &Frame1);
    cmdDigIn.place("Digital Input", {3420, 720, 1575, 375}, &Frame1);
    Command1.place("AC97 Codec", {120, 1200, 1575, 375}, &Frame1);
    cmdAnalogEQ.place("Analog EQ", {1770, 1200, 1575, 375}, &Frame1);
    cmdOK.place("OK", {3600, 2520, 1575, 375});
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;

    cmdResetAll.Click = [this] { cmdResetAll_Click(); };
    cmdAC97Mix.Click = [this] { cmdAC97Mix_Click(); };
    cmdMIDIVoices.Click = [this] { cmdMIDIVoices_Click(); };
    cmdDigOut.Click = [this] { cmdDigOut_Click(); };
    cmdA3DType.Click = [this] { cmdA3DType_Click(); };
    cmdMIDIFX.Click = [this] { cmdMIDIFX_Click(); };
    cmdDigIn.Click = [this] { cmdDigIn_Click(); };
    Command1.Click = [this] { Command1_Click(); };
    cmdAnalogEQ.Click = [this] { cmdAnalogEQ_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

bool frmReset::readyToWrite() {
    if (copied_) return true;
    const std::string trouble = backup::saveSafetyCopy(sys_, "reset");
    copied_ = trouble.empty() || msgBox(trouble, caption(), backup::kSafetyQuestionStyle) == ui::ID_YES;
    return copied_;
}

void frmReset::writeGroup(ResetGroup g) {
    if (!readyToWrite()) return;
    for (const settings::Setting* s : reset::groupValues(g)) {
        if (s->reset) store_.store(*s, platform::SettingValue(*s->reset));
        else store_.remove(*s);  // a setting reset by deleting it
    }
}

void frmReset::writeGroupOf(const ui::Button& button) {
    for (const ResetButton& row : kResetButtons)
        if (button.name() == row.button) writeGroup(row.group);
}

void frmReset::cmdA3DType_Click() {
    if (!readyToWrite()) return;
    // The main window's list keeps its entry; only the picture follows the reset.
    mainPictures_.showOnlyPicture(A3DPictureSink::Monitor);
    writeGroupOf(cmdA3DType);
}

void frmReset::cmdMIDIVoices_Click() { writeGroupOf(cmdMIDIVoices); }
void frmReset::cmdMIDIFX_Click() { writeGroupOf(cmdMIDIFX); }
void frmReset::cmdDigOut_Click() { writeGroupOf(cmdDigOut); }
void frmReset::cmdDigIn_Click() { writeGroupOf(cmdDigIn); }
void frmReset::cmdAnalogEQ_Click() { writeGroupOf(cmdAnalogEQ); }
void frmReset::Command1_Click() { writeGroupOf(Command1); }
void frmReset::cmdAC97Mix_Click() { writeGroupOf(cmdAC97Mix); }

void frmReset::cmdResetAll_Click() {
    if (!readyToWrite()) return;
    for (ResetGroup g : reset::resetAllOrder()) {
        if (g == ResetGroup::A3DType) cmdA3DType_Click();  // the pictures too
        else writeGroup(g);
    }
}

void frmReset::cmdOK_Click() { giveBack(); }
