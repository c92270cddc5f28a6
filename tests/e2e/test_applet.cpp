// quillmere.cpl opened as Control Panel opens it, through control.exe: the
// same main window inside another program's process, and one Quillmere
// window at a time.
#include "AppTest.h"

using namespace e2e;

class Applet : public AppTest {};

TEST_F(Applet, OpensThroughControlPanelAndOkEndsIt) {
    installDriver();
    app.startApplet();
    Window main = app.form("frmMain");
    EXPECT_EQ(main.text(), "Quillmere");

    main.control("chkTray").click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");

    main.control("cmdOK").clickAsync();
    MsgBox box = app.messageBox();
    EXPECT_EQ(box.title(), "Reboot Required");
    box.answer(IDOK_);
    // The item returns to control.exe once the window has ended, and it ends.
    EXPECT_EQ(app.waitForExit(), 0u);
}

TEST_F(Applet, ASecondOpeningBringsTheFirstWindowToTheFront) {
    installDriver();
    app.startApplet();
    Window main = app.form("frmMain");
    minimize(main);

    App second;
    second.startApplet();
    second.waitForExit(scaled(kStartTimeout));
    EXPECT_FALSE(second.findForm("frmMain").has_value());
    EXPECT_TRUE(waitUntil([&] { return !minimized(main) && foregroundWindow() == main.hwnd(); },
                          scaled(kStepTimeout)));
    EXPECT_TRUE(main.usable());
}
