// Placeholder until the main window lands: just enough for app/ to build.
#pragma once
#include "platform/Services.h"
#include "ui/Form.h"

class frmMain : public ui::Form {
public:
    frmMain(const platform::Services& sys, ui::UiServices ui);

    ui::TabStrip SSTab1{*this, "SSTab1"};
    ui::CheckBox chkTray{*this, "chkTray"};
    ui::Button cmdOK{*this, "cmdOK"};

private:
    platform::Services sys_;
};
