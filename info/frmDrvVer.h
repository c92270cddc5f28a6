// "Driver Version Information": what the installed driver and A3D builds
// mean, judged from the texts the main window shows.
#pragma once
#include <string>

#include "platform/Services.h"
#include "ui/Form.h"

// The main window's three texts as they stand when the dialog opens.
struct DriverInfoTexts {
    std::string driverVersion;  // txtDrvVer
    std::string driverSize;     // txtADMSize
    std::string a3dVersion;     // txtA3DVer
};

class frmDrvVer : public ui::Form {
public:
    frmDrvVer(const platform::Services& sys, ui::UiServices ui, DriverInfoTexts texts);

    ui::Frame Frame1{*this, "Frame1"};
    ui::Label lblDrvVer{*this, "lblDrvVer"};
    ui::Label lblA3D{*this, "lblA3D"};
    ui::Button cmdOK{*this, "cmdOK"};

    void cmdOK_Click();

protected:
    void Form_Load() override;

private:
    DriverInfoTexts texts_;
};
