// "Equalizer Settings": the equalizer preset, the curve of the "User"
// preset, speaker compensation, the equalizer's on/off switch and the
// analog equalizer's input line. Reads at load, writes every change at once.
#pragma once
#include <cstdint>
#include <iterator>
#include <optional>
#include <string>

#include "equalizer/EqWriter.h"
#include "platform/Services.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace equalizer {
// What each list's entries install or store, in list order. cboEQPreset
// stores its index as "PresetNumber": the five curves, then "User" (the
// curves of cboMARLO, in an order of their own) and "Speaker Compensation"
// (the models of cboSpComp), which also writes kPageConfig.
inline constexpr EqCurve kPresetCurves[] = {EqCurve::Rock, EqCurve::Classical, EqCurve::Pop, EqCurve::Jazz,
                                            EqCurve::Dance};
constexpr int kPresetUser = 5;
constexpr int kPresetSpeakerComp = 6;
inline constexpr EqCurve kUserCurves[] = {EqCurve::Rock, EqCurve::Dance,     EqCurve::Pop,
                                          EqCurve::Jazz, EqCurve::Classical, EqCurve::Flat};
inline constexpr const char* kPageConfig = "0123456A";
// cboAnalogEQ: "None", then the input lines, stored as "AnalogEQSrcLine"
// 0.. with "SupportAnalogEQ" and "AnalogEQEnableState" 1; "None" stores
// both 0 and the line the driver is given when none is chosen.
inline constexpr const char* kAnalogLines[] = {"None", "Phone", "Microphone", "Line-In", "CD-ROM", "Video", "Auxiliary"};
constexpr int kAnalogLineCount = int(std::size(kAnalogLines)) - 1;
constexpr int kNoAnalogLine = 3;
}  // namespace equalizer

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
