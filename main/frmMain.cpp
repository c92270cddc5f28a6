#include "main/frmMain.h"

frmMain::frmMain(const platform::Services& sys, ui::UiServices ui) : ui::Form("frmMain", ui), sys_(sys) {
    setCaption("Quillmere");
    setClientSize(368 * 15, 344 * 15);
    SSTab1.place("", {120, 120, 5280, 4500});
    for (const char* t : {"General", "MIDI", "A3D Settings", "AC'97 Controls", "EQ/Digital I/O"}) SSTab1.addTab(t);
    chkTray.place("Show Tray Icon", {240, 600, 2400, 255}, nullptr, 0, "Determines whether the system tray control will be loaded");
    cmdOK.place("&OK", {2400, 4740, 1095, 375}, nullptr, -1, "Exit program");
    cmdOK.Click = [this] {
        msgBox("Please reboot your computer so that the new settings can take effect", "Reboot Required", ui::MB_INFORMATION_);
        unload();
    };
}
