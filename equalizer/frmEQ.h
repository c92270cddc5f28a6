// "Equalizer Settings": the equalizer preset, the curve of the "User"
// preset, speaker compensation, the equalizer's on/off switch and the
// analog equalizer's input line. Reads at load, writes every change at once.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

#include "equalizer/EqWriter.h"
#include "platform/Services.h"
#include "settings/Store.h"
#include "ui/Form.h"

class frmEQ : public ui::Form {
public:
    frmEQ(const platform::Services& sys, ui::UiServices ui);

    ui::Label Label14{*this, "Label14"};
    ui::ComboList cboEQPreset{*this, "cboEQPreset"};
    ui::ComboList cboSpComp{*this, "cboSpComp"};
    ui::ComboList cboMARLO{*this, "cboMARLO"};
    ui::Label Label5{*this, "Label5"};
    ui::ComboList cboAnalogEQ{*this, "cboAnalogEQ"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::OptionArray optEQ{*this, "optEQ", 2};
    ui::Button cmdOK{*this, "cmdOK"};

    void cboEQPreset_Click();
    void cboMARLO_Click();
    void cboSpComp_Click();
    void cboAnalogEQ_Click();
    void optEQ_Click(int index);
    void cmdOK_Click();

protected:
    void Form_Load() override;

private:
    void hideLists();
    void showOnly(ui::ComboList& shown, ui::ComboList& hidden);

    settings::Store store_;
    equalizer::EqWriter writer_;

    // What Form_Load read; nothing when the stored value is not a 16-bit number.
    std::optional<std::int16_t> presetNumber_, eqBypass_, analogSrcLine_, analogEnableState_, supportAnalogEQ_;
    std::string speakerModel_;
};
