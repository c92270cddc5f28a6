// The main window's change handlers, tools list and buttons.
#include <iterator>
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

using mainwin::Box;
using mainwin::Effect;
using mainwin::Level;

namespace {

// Texts that other programs stored keep their terminating NUL; it is no
// part of a command line.
std::string withoutTrailingNuls(std::string s) {
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

}  // namespace

// Check boxes

// A detection box that is anything but ticked unticks and locks the box it
// governs (whose handler writes its 0 first); ticked, it only unlocks it.
void frmMain::boxClicked(Box b) {
    const mainwin::BoxBinding& row = mainwin::row(b);
    const int state = box(b).value();
    boxText(b) = std::to_string(state);
    if (row.governs != Box::None) {
        ui::CheckBox& enable = box(row.governs);
        if (state != 1) {
            enable.setValue(0);
            enable.setEnabled(false);
        } else {
            enable.setEnabled(true);
        }
    }
    store_.store(row.setting(), state);
}

void frmMain::chkPlayA3D_Click() { boxClicked(Box::chkPlayA3D); }
void frmMain::chkA3DSplash_Click() { boxClicked(Box::chkA3DSplash); }
void frmMain::chkAttenuation_Click() { boxClicked(Box::chkAttenuation); }
void frmMain::chkEnOut_Click() { boxClicked(Box::chkEnOut); }
void frmMain::chkEnIn_Click() { boxClicked(Box::chkEnIn); }
void frmMain::chkLA2Inv_Click() { boxClicked(Box::chkLA2Inv); }
void frmMain::chkLA4Inv_Click() { boxClicked(Box::chkLA4Inv); }
void frmMain::chkMIDIfx_Click() { boxClicked(Box::chkMIDIfx); }
void frmMain::chkST3D_Click() { boxClicked(Box::chkST3D); }
void frmMain::chkHighPerfMIDI_Click() { boxClicked(Box::chkHighPerfMIDI); }
void frmMain::chkDetOut_Click() { boxClicked(Box::chkDetOut); }
void frmMain::chkDetIn_Click() { boxClicked(Box::chkDetIn); }

void frmMain::chkTray_Click() {
    if (chkTray.value() == 1) {
        trayAutostart_ = mainwin::kTrayCommand;
        store_.store(settings::AU30TRAY(), mainwin::kTrayCommand);
    } else {
        trayAutostart_.clear();
        store_.remove(settings::AU30TRAY());
    }
}

// Lists

void frmMain::showA3DPicture(int index) {
    for (int i = 0; i < int(std::size(mainwin::kA3DTypes)); ++i) find(mainwin::kA3DTypes[i].picture)->setVisible(i == index);
}

void frmMain::cboA3DType_Click() {
    const int index = cboA3DType.listIndex();
    if (index < 0) return;
    showA3DPicture(index);
    a3dType_ = std::to_string(index);
    store_.store(mainwin::kA3DTypeList.setting(), index);
}

void frmMain::cboWavetableMode_Click() {
    const int index = cboWavetableMode.listIndex();
    if (index < 0 || index >= int(std::size(mainwin::kWavetableModes))) return;
    wavetableMode_ = std::to_string(index);
    const mainwin::WavetableMode& mode = mainwin::kWavetableModes[index];
    for (std::size_t i = 0; i < std::size(mainwin::kWavetableWrites); ++i)
        store_.store(mainwin::kWavetableWrites[i](), mode.writes[i]);
}

// Levels

void frmMain::levelChanged(Level l) {
    const std::size_t i = std::size_t(l);
    std::int16_t& level = levels_[i];
    level = static_cast<std::int16_t>(bar(l).value());
    label(l).setCaption(std::to_string(level));
    store_.store(mainwin::row(l).setting(), level);
}

void frmMain::hsbPCM1_Change() { levelChanged(Level::hsbPCM1); }
void frmMain::hsbPCM2_Change() { levelChanged(Level::hsbPCM2); }
void frmMain::hsbFront_Change() { levelChanged(Level::hsbFront); }
void frmMain::hsbRear_Change() { levelChanged(Level::hsbRear); }

void frmMain::effectChanged(Effect e) {
    const std::size_t i = std::size_t(e);
    const std::int32_t position = slider(e).value();
    effectTexts_[i] = std::to_string(position);
    label(e).setCaption(effectTexts_[i]);
    store_.store(mainwin::row(e).setting(), position);
}

void frmMain::hsbEffect1_Change() { effectChanged(Effect::hsbEffect1); }
void frmMain::hsbEffect2_Change() { effectChanged(Effect::hsbEffect2); }

// S/PDIF

void frmMain::optDigOut_Click(int index) {
    if (index < 0 || index >= int(std::size(mainwin::kSpdifRates))) return;
    spdifRate_ = mainwin::kSpdifRates[index];
    store_.store(mainwin::kSpdifRateSetting(), spdifRate_);
    lblDigOut.setCaption(spdifRate_);
}

void frmMain::cmdFixDetect_Click() {
    for (int n = 1; n <= int(std::size(mainwin::kSpdifCards)); ++n) store_.store(settings::SpdifCard(n), mainwin::kSpdifCards[n - 1]);
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
