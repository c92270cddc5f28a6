// "About Quillmere": the program's name and version.
#pragma once
#include "platform/Services.h"
#include "ui/Form.h"

class frmAbout : public ui::Form {
public:
    frmAbout(const platform::Services& sys, ui::UiServices ui);

    ui::Picture Image1{*this, "Image1"};
    ui::Label Label1{*this, "Label1"};
    ui::Label Label2{*this, "Label2"};
    ui::Label Label4{*this, "Label4"};
    ui::Label Label5{*this, "Label5"};
    ui::Label Label6{*this, "Label6"};
    ui::Label Label7{*this, "Label7"};
    ui::Button cmdOK{*this, "cmdOK"};

    void cmdOK_Click();
};
