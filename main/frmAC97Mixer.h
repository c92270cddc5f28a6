// "AC97 Mixer Location": asks once for the path of the separate AC97 Mixer
// program, and remembers it only when the program could be started from it.
#pragma once
#include <string>

#include "platform/Services.h"
#include "settings/Store.h"
#include "ui/Form.h"

class frmAC97Mixer : public ui::Form {
public:
    frmAC97Mixer(const platform::Services& sys, ui::UiServices ui);

    // Declared in reading and Tab order: the path box first, so typing
    // starts there and Enter means OK, not Cancel.
    ui::TextBox txtAC97Location{*this, "txtAC97Location"};
    ui::Button cmdHelp{*this, "cmdHelp"};
    ui::Button cmdOK{*this, "cmdOK"};
    ui::Button cmdExit{*this, "cmdExit"};
    ui::Picture Image1{*this, "Image1"};

    void cmdOK_Click();
    void cmdExit_Click();
    void cmdHelp_Click();

private:
    platform::Launcher* launcher_;
    settings::Store store_;
    std::string path_;
};
