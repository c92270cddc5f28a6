// The WPCRSET dialog: WPCRSET's start mode, its register program for the
// sound card's slot and chipset, and the two VIA options of the driver.
#pragma once
#include <string>

#include "platform/Services.h"
#include "settings/Catalogue.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace wpcrset {
// An option array that stores, per button, one number; the load selects the
// button whose number is stored.
struct OptionBinding {
    const char* control;
    const settings::Setting& (*setting)();
    const char* values[2];
};
inline constexpr OptionBinding kRunSwitch{"optWPCRSET", settings::WpcrsetRunSwitch, {"1", "0"}};  // Start, Stop
inline constexpr OptionBinding kStartType{"optWDevice", settings::WpcrsetStart, {"0", "4"}};     // Enable, Disable
}  // namespace wpcrset

class frmWPCRSET : public ui::Form {
public:
    frmWPCRSET(const platform::Services& sys, ui::UiServices ui);

    ui::Label Label1{*this, "Label1"};
    ui::Button cmdWPCRHelp{*this, "cmdWPCRHelp"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::OptionArray optWPCRSET{*this, "optWPCRSET", 2};
    ui::Frame Frame2{*this, "Frame2"};
    ui::OptionArray optWDevice{*this, "optWDevice", 2};
    ui::Label Label5{*this, "Label5"};
    ui::Button cmdVIAHelp{*this, "cmdVIAHelp"};
    ui::Frame Frame3{*this, "Frame3"};
    ui::Label Label3{*this, "Label3"};
    ui::ComboList cboChipset{*this, "cboChipset"};
    ui::Label Label4{*this, "Label4"};
    ui::ComboList cboDevice{*this, "cboDevice"};
    ui::CheckBox chkVIAFix{*this, "chkVIAFix"};
    ui::CheckBox chkVIAAGP{*this, "chkVIAAGP"};
    ui::Button cmdUpdate{*this, "cmdUpdate"};
    ui::Label Label2{*this, "Label2"};
    ui::Button cmdRemove{*this, "cmdRemove"};
    ui::Button Command1{*this, "Command1"};

protected:
    void Form_Load() override;

private:
    void layout();
    void cboChipset_Click();
    void cboDevice_Click();
    void chkVIAFix_Click();
    void chkVIAAGP_Click();
    void optWPCRSET_Click(int index);
    void optWDevice_Click(int index);
    void cmdUpdate_Click();
    void cmdRemove_Click();
    void cmdWPCRHelp_Click();
    void cmdVIAHelp_Click();
    void Command1_Click();
    void closeNotInstalled();
    void selectStored(ui::OptionArray& options, const wpcrset::OptionBinding& b, const std::string& stored);
    void storeChoice(const wpcrset::OptionBinding& b, std::string& current, int index);

    platform::Services sys_;
    settings::Store store_;

    // Last value read or written, as decimal text ("" when missing).
    std::string runSwitch_;   // Parameters\Start
    std::string startType_;   // the service's Start
    std::string viaFix_;
    std::string viaAgp_;
};
