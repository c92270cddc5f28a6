#include "wpcrset/frmWPCRSET.h"

#include <cstdint>

#include "wpcrset/RegisterProgram.h"
#include "wpcrset/RegisterTable.h"

namespace {

const char* const kInformation = "Information";

const char* const kWpcrHelp =
    "This allows you to configure the way that WPCRSET loadsd at Windows startup.  For it to work correctly, "
    "WPCRSET should be set to Start, and Device should be set to Enable.  You can use this to stop the program "
    "without having to actually un-install it.";

const char* const kViaHelp =
    "This allows you to enable the Vortex VIA compatability mode.  The <Fix VIA AGP Problem> option fixes a "
    "problem with VIA Tech North-Bridges whereby certain AGP cards can stop PCI sound cards from functioning "
    "correctly. VERY IMPORTANT: Please note that all previous WPCRSET options will be deleted.  It is recommended "
    "that you do not use both this and the WPCRSET configuration utility.  Use one or the other.  This integrated "
    "version is easier to use for beginners.";

const char* const kNotInstalled =
    "WPCRSET doesn't appear to be installed on your system.  Please download it from its author's web site and "
    "put it into a folder of your choice.  Then run INSTDD.EXE.  After that, then you will be able to configure "
    "these options.";

const char* const kNotice =
    "WPCRSET is the work of its author, with thanks.\r\n"
    "This executable doesn't contain any of WPCRSET, but acts as an interface to it. You must install WPCRSET "
    "first.";

}  // namespace

frmWPCRSET::frmWPCRSET(const platform::Services& sys, ui::UiServices ui)
    : ui::Form("frmWPCRSET", ui), sys_(sys), store_(*sys.reg) {
    setCaption("WPCRSET Configuration");
    layout();

    for (const auto& c : wpcrset::kChipsets) cboChipset.addItem(c.item);
    for (const auto& s : wpcrset::kSlots) cboDevice.addItem(s.item);

    // Each step of the settings frame unlocks the next.
    cboDevice.setEnabled(false);
    chkVIAFix.setEnabled(false);
    chkVIAAGP.setEnabled(false);
    cmdUpdate.setEnabled(false);
    Command1.isCancel = true;
    Command1.isDefault = true;

    cboChipset.Click = [this] { cboChipset_Click(); };
    cboDevice.Click = [this] { cboDevice_Click(); };
    chkVIAFix.Click = [this] { chkVIAFix_Click(); };
    chkVIAAGP.Click = [this] { chkVIAAGP_Click(); };
    optWPCRSET.Click = [this](int i) { optWPCRSET_Click(i); };
    optWDevice.Click = [this](int i) { optWDevice_Click(i); };
    cmdUpdate.Click = [this] { cmdUpdate_Click(); };
    cmdRemove.Click = [this] { cmdRemove_Click(); };
    cmdWPCRHelp.Click = [this] { cmdWPCRHelp_Click(); };
    cmdVIAHelp.Click = [this] { cmdVIAHelp_Click(); };
    Command1.Click = [this] { Command1_Click(); };
}

// Twips; frames' contents relative to their frame.
void frmWPCRSET::layout() {
    setClientSize(5700, 5220);
    Label1.place("Startup Options", {120, 120, 3855, 375});
    cmdWPCRHelp.place("?", {5205, 120, 375, 375});
    Frame1.place("WPCRSET", {120, 555, 2655, 615});
    optWPCRSET[0].place("Start", {120, 255, 1095, 255}, &Frame1);
    optWPCRSET[1].place("Stop", {1335, 255, 1095, 255}, &Frame1);
    Frame2.place("Device", {2925, 555, 2655, 615});
    optWDevice[0].place("Enable", {120, 255, 1095, 255}, &Frame2);
    optWDevice[1].place("Disable", {1335, 255, 1095, 255}, &Frame2);
    Label5.place("Compatibility Tweaks", {120, 1335, 3855, 375});
    for (ui::Label* heading : {&Label1, &Label5}) {
        heading->fontName = "Tahoma";
        heading->fontPoints = 12;
    }
    cmdVIAHelp.place("?", {5205, 1335, 375, 375});
    Frame3.place("Settings", {120, 1770, 5460, 2055});
    Label3.place("Chipset", {120, 315, 1335, 255}, &Frame3);
    cboChipset.place("", {1575, 255, 3765, 315}, &Frame3);
    Label4.place("Device Number", {120, 735, 1335, 255}, &Frame3);
    cboDevice.place("", {1575, 675, 3765, 315}, &Frame3);
    chkVIAFix.place("Fix VIA AGP Problem", {120, 1110, 2535, 255}, &Frame3);
    chkVIAAGP.place("Fast AGP Mode", {2775, 1110, 2565, 255}, &Frame3);
    cmdUpdate.place("Update WPCRSET Settings", {120, 1500, 5220, 375}, &Frame3);
    Label2.place(kNotice, {120, 3990, 3960, 1095});
    cmdRemove.place("Remove All", {4200, 3990, 1380, 375});
    Command1.place("OK", {4200, 4485, 1380, 375});
}

void frmWPCRSET::Form_Load() {
    runSwitch_ = store_.fetch(wpcrset::kRunSwitch.setting()).toText();
    startType_ = store_.fetch(wpcrset::kStartType.setting()).toText();
    store_.fetch(settings::RegCnt());  // read with the rest; the dialog shows no count
    const platform::SettingValue fix = store_.fetch(settings::VIAFix());
    const platform::SettingValue agp = store_.fetch(settings::VIAAGP());
    viaFix_ = fix.toText();
    viaAgp_ = agp.toText();

    if (store_.createIfMissing(settings::VIAFix(), !fix.isEmpty())) viaFix_ = std::to_string(*settings::VIAFix().created);
    if (store_.createIfMissing(settings::VIAAGP(), !agp.isEmpty())) viaAgp_ = std::to_string(*settings::VIAAGP().created);

    if (runSwitch_.empty()) return closeNotInstalled();
    selectStored(optWPCRSET, wpcrset::kRunSwitch, runSwitch_);
    if (startType_.empty()) return closeNotInstalled();
    selectStored(optWDevice, wpcrset::kStartType, startType_);

    if (viaFix_ == "1") chkVIAFix.setValue(1);
    chkVIAAGP.setEnabled(false);
    if (viaAgp_ == "1") chkVIAAGP.setValue(1);
}

// The message, then the dialog closes as OK does; the rest of the load
// would only write back what was just read, so it is skipped.
void frmWPCRSET::closeNotInstalled() {
    msgBox(kNotInstalled, kInformation, ui::MB_INFORMATION_);
    giveBack();
}

void frmWPCRSET::cboChipset_Click() {
    const bool via = cboChipset.listIndex() == wpcrset::ChipsetVIA;
    chkVIAFix.setEnabled(via);
    chkVIAAGP.setEnabled(via);
    cboDevice.setEnabled(true);
}

void frmWPCRSET::cboDevice_Click() { cmdUpdate.setEnabled(true); }

void frmWPCRSET::chkVIAFix_Click() {
    const bool on = chkVIAFix.value() == 1;
    viaFix_ = on ? "1" : "0";
    chkVIAAGP.setEnabled(on);
    store_.store(settings::VIAFix(), std::int32_t(on ? 1 : 0));
}

void frmWPCRSET::chkVIAAGP_Click() {
    const bool on = chkVIAAGP.value() == 1;
    viaAgp_ = on ? "1" : "0";
    store_.store(settings::VIAAGP(), std::int32_t(on ? 1 : 0));
}

void frmWPCRSET::selectStored(ui::OptionArray& options, const wpcrset::OptionBinding& b, const std::string& stored) {
    for (int i = 0; i < 2; ++i)
        if (stored == b.values[i]) options.select(i);
}

void frmWPCRSET::storeChoice(const wpcrset::OptionBinding& b, std::string& current, int index) {
    current = b.values[index == 0 ? 0 : 1];
    store_.store(b.setting(), platform::SettingValue(current));
}

void frmWPCRSET::optWPCRSET_Click(int index) { storeChoice(wpcrset::kRunSwitch, runSwitch_, index); }

void frmWPCRSET::optWDevice_Click(int index) { storeChoice(wpcrset::kStartType, startType_, index); }

void frmWPCRSET::cmdUpdate_Click() {
    const auto result =
        wpcrset::updateProgram(store_, {cboChipset.listIndex(), cboDevice.listIndex(), viaFix_, viaAgp_});
    if (result == wpcrset::UpdateResult::NonVia) {
        // The fix belongs to VIA bridges only; its box keeps showing what the
        // user chose, but the next update goes without it.
        chkVIAFix.setEnabled(false);
        chkVIAAGP.setEnabled(false);
        viaFix_ = "0";
    }
}

void frmWPCRSET::cmdRemove_Click() { wpcrset::removeProgram(store_); }

void frmWPCRSET::cmdWPCRHelp_Click() { msgBox(kWpcrHelp, kInformation, ui::MB_INFORMATION_); }

void frmWPCRSET::cmdVIAHelp_Click() { msgBox(kViaHelp, kInformation, ui::MB_INFORMATION_); }

void frmWPCRSET::Command1_Click() { giveBack(); }
