#include "main/frmAC97Mixer.h"

#include "ui/Images.h"

frmAC97Mixer::frmAC97Mixer(const platform::Services& sys, ui::UiServices ui)
    : ui::Form("frmAC97Mixer", ui), launcher_(sys.launcher), store_(*sys.reg) {
    setCaption("AC97 Mixer Location");
    setClientSize(6360, 1215);

    // Layout, in twips.
    cmdExit.place("Cancel", {5145, 720, 1095, 375});
    cmdExit.isCancel = true;
    cmdHelp.place("?", {720, 720, 375, 375});
    cmdOK.place("OK", {3960, 720, 1095, 375});
    cmdOK.isDefault = true;
    txtAC97Location.place("Enter the program path here - i.e. C:\\AC97Mix\\AC97Mixer.exe", {720, 165, 5520, 315});
    Image1.place("", {120, 120, 480, 480});
    Image1.image = ui::ICON_MIXER;

    cmdExit.Click = [this] { cmdExit_Click(); };
    cmdHelp.Click = [this] { cmdHelp_Click(); };
    cmdOK.Click = [this] { cmdOK_Click(); };
}

void frmAC97Mixer::cmdOK_Click() {
    path_ = txtAC97Location.text();
    // A blank path names no file; it is never handed to the system.
    const bool blank = path_.find_first_not_of(" \t") == std::string::npos;
    if (!blank && launcher_ && launcher_->startFile(path_)) {
        store_.store(settings::AC97MixerLocation(), platform::SettingValue(path_));
        giveBack();
        return;
    }
    msgBox("You haven't entered a valid path.  Either correct it, or press Cancel if you haven't yet downloaded the "
           "AC97 Mixer utility",
           "", ui::MB_OK_);
    store_.remove(settings::AC97MixerLocation());
}

void frmAC97Mixer::cmdExit_Click() { giveBack(); }

void frmAC97Mixer::cmdHelp_Click() {
    msgBox("Please enter the full path of the AC97 Mixer application, including the .EXE file and extension.  This "
           "location will be remebered in the future.",
           "Information", ui::MB_INFORMATION_);
}
