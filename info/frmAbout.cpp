#include "info/frmAbout.h"

#include "ui/Images.h"

frmAbout::frmAbout(const platform::Services&, ui::UiServices ui) : ui::Form("frmAbout", ui) {
    setCaption("About Quillmere");
    setClientSize(7200, 3705);
    hasIcon = false;

    // Layout, in twips: the picture fills the left half, the texts the right.
    Label1.place("Written by the Quillmere developers", {120, 120, 3195, 255});
    Image1.place("", {120, 435, 3195, 3150});
    Image1.image = ui::IMG_CHIP;
    Label2.place("Quillmere", {3480, 120, 3600, 480});
    Label2.fontName = "Arial";
    Label2.fontPoints = 15.75;
    Label4.place("Version 2.20 Beta 2", {3480, 660, 3600, 255});
    Label5.place("Comments are welcome: please write to the address in the release notes.",
                 {3480, 1080, 3600, 585});
    Label6.place("Speaker compensation sets courtesy of the people who measured them.", {3480, 1800, 3600, 585});
    Label7.place("Equalizer presets courtesy of the people who tuned them.", {3480, 2520, 3600, 585});
    cmdOK.place("OK", {5880, 3210, 1200, 375});
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;

    cmdOK.Click = [this] { cmdOK_Click(); };
}

// Opened with the main window left visible, so giving back also brings it
// to the front again.
void frmAbout::cmdOK_Click() { giveBack(); }
