// "Quad Settings": the quad codec's output mode and the shared front and
// rear jacks, for cards with a four-channel AC'97 codec.
#pragma once
#include <optional>
#include <string>

#include "platform/Services.h"
#include "settings/Store.h"
#include "ui/Form.h"

// What each optQuad button stores as "QuadCodecOutputModeState" (its index)
// and what lblQuad then reads; chkShare stores its state as "SetGPIO0InQuad".
inline constexpr const char* kQuadModes[] = {"Stereo", "Quad"};

class frmQuad : public ui::Form {
public:
    frmQuad(const platform::Services& sys, ui::UiServices ui);

    ui::CheckBox chkShare{*this, "chkShare"};
    ui::Frame Frame1{*this, "Frame1"};
    ui::OptionArray optQuad{*this, "optQuad", 2};
    ui::Button cmdOK{*this, "cmdOK"};
    ui::Picture Image1{*this, "Image1"};
    ui::Label lblQuad{*this, "lblQuad"};
    ui::Label Label1{*this, "Label1"};

    void chkShare_Click();
    void optQuad_Click(int index);
    void cmdOK_Click();

    const std::string& modeText() const { return modeText_; }
    const std::string& shareText() const { return shareText_; }

protected:
    void Form_Load() override;

private:
    void showMode(std::optional<std::int16_t> mode);

    settings::Store store_;
    std::string modeText_, shareText_;
};

// The main window's "Quad Settings" button: warns first, and only on Yes
// hands over to the quad dialog, which then carries a second warning.
void OpenQuadSettings(ui::Form& mainWindow, const platform::Services& sys, ui::UiServices ui);
