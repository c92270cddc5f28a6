// The main window: the driver's settings on five tabs, each control writing
// its value back the moment it changes, the tools list, and the buttons that
// open the other windows.
#pragma once
#include <array>
#include <cstdint>
#include <string>

#include "backup/Backup.h"
#include "main/MainBindings.h"
#include "platform/Services.h"
#include "reset/frmReset.h"
#include "settings/Store.h"
#include "ui/Form.h"

class frmMain : public ui::Form {
public:
    frmMain(const platform::Services& sys, ui::UiServices ui);

    // Controls, in reading and Tab order. Where each sits: buildLayout in
    // frmMain.cpp.
    ui::TabStrip SSTab1{*this, "SSTab1"};

    // Tab "General"
    ui::ListView ListView1{*this, "ListView1"};
    ui::CheckBox chkPlayA3D{*this, "chkPlayA3D"};
    ui::CheckBox chkA3DSplash{*this, "chkA3DSplash"};
    ui::CheckBox chkTray{*this, "chkTray"};
    ui::Button cmdWPCRSET{*this, "cmdWPCRSET"};
    ui::Picture Image1{*this, "Image1"};

    // Tab "MIDI"
    ui::Frame Frame1{*this, "Frame1"};
    ui::ComboList cboEffect1{*this, "cboEffect1"};
    ui::Slider hsbEffect1{*this, "hsbEffect1", 0, mainwin::kEffectMax};
    ui::Label lblEffect1{*this, "lblEffect1"};
    ui::Frame Frame2{*this, "Frame2"};
    ui::ComboList cmdEffect2{*this, "cmdEffect2"};
    ui::Slider hsbEffect2{*this, "hsbEffect2", 0, mainwin::kEffectMax};
    ui::Label lblEffect2{*this, "lblEffect2"};
    ui::CheckBox chkMIDIfx{*this, "chkMIDIfx"};
    ui::CheckBox chkHighPerfMIDI{*this, "chkHighPerfMIDI"};
    ui::Label Label4{*this, "Label4"};
    ui::ComboList cboWavetableMode{*this, "cboWavetableMode"};
    ui::Picture Image3{*this, "Image3"};

    // Tab "A3D Settings"
    ui::Frame Frame7{*this, "Frame7"};
    ui::ComboList cboA3DType{*this, "cboA3DType"};
    ui::Picture imgPhones{*this, "imgPhones"};
    ui::Picture imgSat{*this, "imgSat"};
    ui::Picture imgMon{*this, "imgMon"};
    ui::Picture imgQuad{*this, "imgQuad"};
    ui::Label Label1{*this, "Label1"};
    ui::TextBox txtDrvVer{*this, "txtDrvVer"};
    ui::Button cmdDrvVerHlp{*this, "cmdDrvVerHlp"};
    ui::Label Label2{*this, "Label2"};
    ui::TextBox txtA3DVer{*this, "txtA3DVer"};
    ui::Label Label3{*this, "Label3"};
    ui::TextBox txtA3DAPI{*this, "txtA3DAPI"};
    ui::Button cmdAboutA3D{*this, "cmdAboutA3D"};
    ui::Button cmdQuad{*this, "cmdQuad"};
    ui::Picture Image2{*this, "Image2"};

    // Tab "AC'97 Controls"
    ui::CheckBox chkST3D{*this, "chkST3D"};
    ui::CheckBox chkAttenuation{*this, "chkAttenuation"};
    ui::CheckBox chkLA4Inv{*this, "chkLA4Inv"};
    ui::CheckBox chkLA2Inv{*this, "chkLA2Inv"};
    ui::Label Label5{*this, "Label5"};
    ui::Label Label6{*this, "Label6"};
    ui::Label Label7{*this, "Label7"};
    ui::Label Label8{*this, "Label8"};
    ui::HScrollBar hsbPCM1{*this, "hsbPCM1", 0, mainwin::kLevelMax};
    ui::Label lblPCM1{*this, "lblPCM1"};
    ui::Label Label9{*this, "Label9"};
    ui::HScrollBar hsbPCM2{*this, "hsbPCM2", 0, mainwin::kLevelMax};
    ui::Label lblPCM2{*this, "lblPCM2"};
    ui::Label Label10{*this, "Label10"};
    ui::HScrollBar hsbFront{*this, "hsbFront", 0, mainwin::kLevelMax};
    ui::Label lblFront{*this, "lblFront"};
    ui::Button cmdAC97Help{*this, "cmdAC97Help"};
    ui::Label Label11{*this, "Label11"};
    ui::HScrollBar hsbRear{*this, "hsbRear", 0, mainwin::kLevelMax};
    ui::Label lblRear{*this, "lblRear"};

    // Tab "EQ/Digital I/O"
    ui::Frame Frame3{*this, "Frame3"};
    ui::OptionArray optDigOut{*this, "optDigOut", 3};
    ui::Label Label12{*this, "Label12"};
    ui::Label lblDigOut{*this, "lblDigOut"};
    ui::Label Label17{*this, "Label17"};
    ui::Frame Frame5{*this, "Frame5"};
    ui::CheckBox chkDetOut{*this, "chkDetOut"};
    ui::CheckBox chkEnOut{*this, "chkEnOut"};
    ui::Frame Frame6{*this, "Frame6"};
    ui::CheckBox chkDetIn{*this, "chkDetIn"};
    ui::CheckBox chkEnIn{*this, "chkEnIn"};
    ui::Button cmdEQSettings{*this, "cmdEQSettings"};
    ui::Button cmdFixDetect{*this, "cmdFixDetect"};

    // Below the tabs
    ui::Button cmdAbout{*this, "cmdAbout"};
    ui::Button cmdOverride{*this, "cmdOverride"};
    ui::Button cmdOK{*this, "cmdOK"};
    ui::Button cmdReset{*this, "cmdReset"};
    ui::TextBox txtOSName{*this, "txtOSName"};    // the Windows name, invisible
    ui::TextBox txtADMSize{*this, "txtADMSize"};  // the driver file's size, invisible

    // For the reset dialog: leaves only the speaker picture of A3D type
    // `index` (0..3) visible; any other index hides all four.
    void showA3DPicture(int index);

    // Window-level current values, as last read or written.
    std::int16_t level(mainwin::Level l) const { return levels_[std::size_t(l)]; }
    const std::string& spdifRate() const { return spdifRate_; }
    const std::string& mediaPlayerCommand() const { return mediaPlayerCommand_; }
    const std::string& driverFileSize() const { return driverFileSize_; }

    // Change handlers
    void chkPlayA3D_Click();
    void chkA3DSplash_Click();
    void chkTray_Click();
    void hsbEffect1_Change();
    void hsbEffect2_Change();
    void chkMIDIfx_Click();
    void chkHighPerfMIDI_Click();
    void cboWavetableMode_Click();
    void cboA3DType_Click();
    void chkST3D_Click();
    void chkAttenuation_Click();
    void chkLA4Inv_Click();
    void chkLA2Inv_Click();
    void hsbPCM1_Change();
    void hsbPCM2_Change();
    void hsbFront_Change();
    void hsbRear_Change();
    void optDigOut_Click(int index);
    void chkDetOut_Click();
    void chkEnOut_Click();
    void chkDetIn_Click();
    void chkEnIn_Click();
    void cmdFixDetect_Click();

    // Tools list and buttons
    void ListView1_DblClick();
    void cmdAC97Help_Click();
    void cmdQuad_Click();
    void cmdOverride_Click();
    void cmdOK_Click();
    // Each opens its dialog by hand-over (cmdAbout keeps this window visible).
    void cmdEQSettings_Click();
    void cmdReset_Click();
    void cmdWPCRSET_Click();
    void cmdDrvVerHlp_Click();
    void cmdAboutA3D_Click();
    void cmdAbout_Click();

    // The system menu's commands (frmMain_backup.cpp).
    void mnuBackUp_Click();
    void mnuRestore_Click();
    void mnuUndo_Click();

protected:
    void Form_Load() override;
    void Form_Activate() override;

private:
    void buildLayout();
    void fillLists();
    void wireHandlers();

    // Loading steps shared by Form_Load and the override.
    void readSettings();
    void createMissingValues();
    void showSettings();
    void fillVersions();
    bool measureDriverFile();
    bool disableIfUndetected(mainwin::Box detect);
    // After a restore or an undo: the controls as created, then the loading
    // sequence's reading and showing with every write held back, so they
    // show the registry and leave it as it is.
    void reloadSettings();
    void showCreatedState();
    bool readOnly();
    // The question before a restore or an undo, the safety copy, and the end.
    int askBeforeWriting(const std::string& what, const std::string& question, const std::string& title);
    bool safetyCopyTaken(const char* before, const char* title);
    void finishWriting(const backup::Outcome& done, const char* title, const char* verb);

    // The controls of MainBindings.h's rows, and what their handlers share.
    ui::CheckBox& box(mainwin::Box b);
    ui::HScrollBar& bar(mainwin::Level l);
    ui::Slider& slider(mainwin::Effect e);
    ui::Label& label(mainwin::Level l);
    ui::Label& label(mainwin::Effect e);
    std::string& boxText(mainwin::Box b) { return boxTexts_[std::size_t(b)]; }
    void showCheckBox(mainwin::Box b);
    void boxClicked(mainwin::Box b);
    void levelChanged(mainwin::Level l);
    void effectChanged(mainwin::Effect e);
    void startTool(const std::string& what, const std::string& commandLine);

    // Hand-over to the AC97 Mixer location dialog, when no path is stored.
    void openAC97MixerLocation();

    platform::Services sys_;
    settings::Store store_;

    // Window-level current values: the levels as numbers, the rest as text,
    // each in its binding's order.
    std::array<std::int16_t, mainwin::kLevelCount> levels_{};
    std::array<std::string, mainwin::kEffectCount> effectTexts_;
    std::array<std::string, mainwin::kBoxCount> boxTexts_;
    std::string spdifRate_, wavetableMode_, a3dType_, trayAutostart_;
    std::string mediaPlayerCommand_, driverFileSize_;
    bool settingsLoaded_ = false, toldReadOnly_ = false;
    backup::Snapshot startValues_;  // before the loading sequence wrote anything
    std::string chosenFolder_;      // of the last file the user chose
    void tellIfReadOnly();

    // What the reset dialog may touch of this window: the speaker pictures.
    struct PictureSink : A3DPictureSink {
        frmMain& w;
        explicit PictureSink(frmMain& m) : w(m) {}
        void showOnlyPicture(int picture) override { w.showA3DPicture(picture); }
    } a3dPictures_{*this};
};
