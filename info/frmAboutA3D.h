// "About A3D": what the chip's positional audio does.
#pragma once
#include "platform/Services.h"
#include "ui/Form.h"

class frmAboutA3D : public ui::Form {
public:
    frmAboutA3D(const platform::Services& sys, ui::UiServices ui);

    ui::Picture Image1{*this, "Image1"};
    ui::Label Label4{*this, "Label4"};
    ui::Label Label5{*this, "Label5"};
    ui::Label Label1{*this, "Label1"};
    ui::Label Label2{*this, "Label2"};
    ui::Label Label3{*this, "Label3"};
    ui::Button cmdOK{*this, "cmdOK"};

    void cmdOK_Click();
};
