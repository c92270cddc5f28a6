#include "info/frmDrvVer.h"

#include "info/DriverVerdicts.h"

frmDrvVer::frmDrvVer(const platform::Services&, ui::UiServices ui, DriverInfoTexts texts)
    : ui::Form("frmDrvVer", ui), texts_(std::move(texts)) {
    setCaption("Driver Version Information");
    setClientSize(6000, 4335);
    centreOnScreen = true;

    // Layout, in twips. The verdicts run to five or six wrapped lines.
    Frame1.place("Aureal Vortex 2 Driver Information", {120, 120, 5760, 3600});
    lblDrvVer.place("", {120, 300, 5520, 1620}, &Frame1);
    lblA3D.place("", {120, 2040, 5520, 1380}, &Frame1);
    cmdOK.place("OK", {4680, 3840, 1200, 375});
    cmdOK.isDefault = true;
    cmdOK.isCancel = true;

    cmdOK.Click = [this] { cmdOK_Click(); };
}

void frmDrvVer::Form_Load() {
    lblDrvVer.setCaption(info::driverVerdict(texts_.driverVersion, texts_.driverSize));
    lblA3D.setCaption(info::a3dVerdict(texts_.a3dVersion));
}

void frmDrvVer::cmdOK_Click() { giveBack(); }
