// The main window's change handlers, tools list and buttons.
#include <string>

#include "main/frmMain.h"

#include <memory>

#include "equalizer/frmEQ.h"
#include "info/frmAbout.h"
#include "info/frmAboutA3D.h"
#include "info/frmDrvVer.h"
#include "main/frmAC97Mixer.h"
#include "main/frmQuad.h"
#include "reset/frmReset.h"
#include "wpcrset/frmWPCRSET.h"
#include "settings/Catalogue.h"

namespace {

const char* const kTrayCommand = "au30tray.exe";

// Texts that other programs stored keep their terminating NUL; it is no
// part of a command line.
std::string withoutTrailingNuls(std::string s) {
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

}  // namespace

// Check boxes

void frmMain::storeCheckBox(const ui::CheckBox& box) {
    const CheckBinding& b = bindingOf(box);
    const int state = box.value();
    this->*b.current = std::to_string(state);
    store_.store(b.setting(), state);
}

void frmMain::detectionChanged(const ui::CheckBox& detect, ui::CheckBox& enable) {
    const CheckBinding& b = bindingOf(detect);
    const int state = detect.value();
    this->*b.current = std::to_string(state);
    if (state != 1) {
        enable.setValue(0);  // writes its own value when it was ticked
        enable.setEnabled(false);
    } else {
        enable.setEnabled(true);
    }
    store_.store(b.setting(), state);
}

void frmMain::chkPlayA3D_Click() { storeCheckBox(chkPlayA3D); }
void frmMain::chkA3DSplash_Click() { storeCheckBox(chkA3DSplash); }
void frmMain::chkAttenuation_Click() { storeCheckBox(chkAttenuation); }
void frmMain::chkEnOut_Click() { storeCheckBox(chkEnOut); }
void frmMain::chkEnIn_Click() { storeCheckBox(chkEnIn); }
void frmMain::chkLA2Inv_Click() { storeCheckBox(chkLA2Inv); }
void frmMain::chkLA4Inv_Click() { storeCheckBox(chkLA4Inv); }
void frmMain::chkMIDIfx_Click() { storeCheckBox(chkMIDIfx); }
void frmMain::chkST3D_Click() { storeCheckBox(chkST3D); }
void frmMain::chkHighPerfMIDI_Click() { storeCheckBox(chkHighPerfMIDI); }

void frmMain::chkDetOut_Click() { detectionChanged(chkDetOut, chkEnOut); }
void frmMain::chkDetIn_Click() { detectionChanged(chkDetIn, chkEnIn); }

void frmMain::chkTray_Click() {
    if (chkTray.value() == 1) {
        trayAutostart_ = kTrayCommand;
        store_.store(settings::AU30TRAY(), kTrayCommand);
    } else {
        trayAutostart_.clear();
        store_.remove(settings::AU30TRAY());
    }
}

// Lists

void frmMain::showA3DPicture(int index) {
    ui::Picture* pictures[] = {&imgPhones, &imgSat, &imgMon, &imgQuad};
    for (int i = 0; i < 4; ++i) pictures[i]->setVisible(i == index);
}

void frmMain::cboA3DType_Click() {
    const int index = cboA3DType.listIndex();
    if (index < 0) return;
    showA3DPicture(index);
    a3dType_ = std::to_string(index);
    store_.store(settings::PrimaryXtalk(), index);
}

void frmMain::cboWavetableMode_Click() {
    struct Mode { int gamerMode, voices, mode, synth; };
    static const Mode modes[] = {{1, 256, 3, 2}, {0, 64, 2, 2}, {0, 0, 0, 0}};
    const int index = cboWavetableMode.listIndex();
    if (index < 0 || index > 2) return;
    const Mode& m = modes[index];
    wavetableMode_ = std::to_string(index);
    store_.store(settings::GamerMode(), m.gamerMode);
    store_.store(settings::SoftSynthVoices(), m.voices);
    store_.store(settings::SoftSynthMode(), m.mode);
    store_.store(settings::SoftSynthModeIndex(), index);
    store_.store(settings::SoftSynth(), m.synth);
}

// Levels

void frmMain::levelChanged(const ui::HScrollBar& bar, std::int16_t& level, ui::Label& label,
                           const settings::Setting& s) {
    level = static_cast<std::int16_t>(bar.value());
    label.setCaption(std::to_string(level));
    store_.store(s, level);
}

void frmMain::hsbPCM1_Change() { levelChanged(hsbPCM1, pcm1Level_, lblPCM1, settings::AC97PCMOutVol()); }
void frmMain::hsbPCM2_Change() { levelChanged(hsbPCM2, pcm2Level_, lblPCM2, settings::AC97PCM2OutVol()); }
void frmMain::hsbFront_Change() { levelChanged(hsbFront, frontLevel_, lblFront, settings::AC97MixerFrontOutVol()); }
void frmMain::hsbRear_Change() { levelChanged(hsbRear, rearLevel_, lblRear, settings::AC97MixerRearOutVol()); }

void frmMain::effectChanged(const ui::Slider& slider, std::string& current, ui::Label& label,
                            const settings::Setting& s) {
    const std::int32_t position = slider.value();
    current = std::to_string(position);
    label.setCaption(current);
    store_.store(s, position);
}

void frmMain::hsbEffect1_Change() { effectChanged(hsbEffect1, reverbAmount_, lblEffect1, settings::ReverbAmount()); }
void frmMain::hsbEffect2_Change() { effectChanged(hsbEffect2, chorusAmount_, lblEffect2, settings::ChorusAmount()); }

// S/PDIF

void frmMain::optDigOut_Click(int index) {
    static const char* const rates[] = {"32000", "44100", "48000"};
    if (index < 0 || index > 2) return;
    spdifRate_ = rates[index];
    store_.store(settings::SpdifFrequency(), spdifRate_);
    lblDigOut.setCaption(spdifRate_);
}

void frmMain::cmdFixDetect_Click() {
    static const std::int32_t cards[] = {0x12EB0088, 0x12EB0002, 0x104D807B, 0x10923001};
    for (int n = 1; n <= 4; ++n) store_.store(settings::SpdifCard(n), cards[n - 1]);
}

// Tools list

void frmMain::startTool(const std::string& what, const std::string& commandLine) {
    const std::string line = withoutTrailingNuls(commandLine);
    if (line.empty()) {
        msgBox("Could not start " + what + ": no command is registered for it.", "Information",
               ui::MB_INFORMATION_);
        return;
    }
    if (!sys_.launcher->startCommandLine(line))
        msgBox("Could not start " + what + " (" + line + ").", "Information", ui::MB_INFORMATION_);
}

void frmMain::ListView1_DblClick() {
    switch (ListView1.selectedItem()) {
    case 1: startTool("Volume Control", "sndvol32.exe"); break;
    case 2: startTool("Sound Recorder", "sndrec32.exe"); break;
    case 3: startTool("Media Player", mediaPlayerCommand_); break;
    case 4: {
        // Read at every use, so a path just saved by the location dialog counts.
        const std::string path = withoutTrailingNuls(store_.fetch(settings::AC97MixerLocation()).toText());
        if (path.empty()) {
            openAC97MixerLocation();
        } else if (!sys_.launcher->startFile(path)) {
            msgBox("Could not start AC97 Mixer (" + path + ").", "Information", ui::MB_INFORMATION_);
        }
        break;
    }
    case 5: startTool("Multimedia", "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl"); break;
    case 6: startTool("Game Controllers", "rundll32.exe shell32.dll,Control_RunDLL joy.cpl"); break;
    case 7: startTool("DirectX Diagnostics", "dxdiag.exe"); break;
    default: break;  // nothing selected
    }
}

// Buttons

void frmMain::cmdAC97Help_Click() {
    msgBox("0 = +12dB, 1 = +10.5dB, 8 = 0dB (Default), 31 = -34.5dB", "Information", ui::MB_INFORMATION_);
}

void frmMain::cmdQuad_Click() { OpenQuadSettings(*this, sys_, services()); }

void frmMain::cmdOK_Click() {
    msgBox("Please reboot your computer so that the new settings can take effect", "Reboot Required",
           ui::MB_INFORMATION_);
    unload();
}

// Hand-overs to the other windows: each opening makes the dialog afresh.

void frmMain::cmdEQSettings_Click() { openDialog(std::make_unique<frmEQ>(sys_, services())); }

void frmMain::cmdReset_Click() { openDialog(std::make_unique<frmReset>(sys_, services(), a3dPictures_)); }

void frmMain::cmdWPCRSET_Click() { openDialog(std::make_unique<frmWPCRSET>(sys_, services())); }

void frmMain::cmdDrvVerHlp_Click() {
    DriverInfoTexts texts;
    texts.driverVersion = txtDrvVer.text();
    texts.driverSize = txtADMSize.text();
    texts.a3dVersion = txtA3DVer.text();
    openDialog(std::make_unique<frmDrvVer>(sys_, services(), texts));
}

void frmMain::cmdAboutA3D_Click() { openDialog(std::make_unique<frmAboutA3D>(sys_, services())); }

// The About box leaves this window visible underneath, only disabled.
void frmMain::cmdAbout_Click() { openDialog(std::make_unique<frmAbout>(sys_, services()), true); }

void frmMain::openAC97MixerLocation() { openDialog(std::make_unique<frmAC97Mixer>(sys_, services())); }
