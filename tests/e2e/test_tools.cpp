// The tools list of the real program: the AC97 Mixer asked for once and
// then started directly, the fixed command lines of the Windows tools, and
// tools that cannot be started. A stand-in program (fake_mixer.exe) takes
// the place of every tool and records how it was started.
#include <string>

#include "AppTest.h"

using namespace e2e;

namespace {

const char* const kMixer = "C:\\Program Files\\AC97 Mix\\AC97Mixer.exe";
// The folder the program is started in for the Windows tools: a command
// line without a path finds the stand-ins there before the system's tools.
const char* const kToolsDir = "C:\\QuillmereTest\\Tools";

const char* const kPrompt = "Enter the program path here - i.e. C:\\AC97Mix\\AC97Mixer.exe";
const char* const kInvalidPath =
    "You haven't entered a valid path.  Either correct it, or press Cancel if you haven't yet downloaded the AC97 "
    "Mixer utility";

// Entries of the tools list, from 0.
constexpr int kVolumeControl = 0, kSoundRecorder = 1, kMediaPlayer = 2, kAC97Mixer = 3, kMultimedia = 4,
              kGameControllers = 5, kDxDiag = 6;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

}  // namespace

class Tools : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        clearStartRecords();
        removeFile(kMixer);
    }
    void TearDown() override {
        AppTest::TearDown();
        removeFile(kMixer);
        for (const char* f : {"rundll32.exe", "sndvol32.exe", "sndrec32.exe", "dxdiag.exe", "mplayer2.exe"})
            removeFile(std::string(kToolsDir) + "\\" + f);
    }

    // Waits until the stand-in started as `file` has run `runs` times.
    StartRecord waitForRun(const std::string& file, unsigned runs) {
        std::optional<StartRecord> r;
        waitUntil([&] { return (r = startRecord(file)) && r->runs >= runs; }, scaled(kStepTimeout));
        if (!r) throw Failure(file + " was not started");
        if (r->runs != runs)
            throw Failure(file + " ran " + std::to_string(r->runs) + " times, not " + std::to_string(runs));
        return *r;
    }

    bool dialogShown(const std::string& form) {
        auto d = app.findForm(form);
        return d && d->visible();
    }

    // A tool that cannot start: a message, and the main window usable after it.
    void expectToldAndUsable(const Window& main, const std::string& tool) {
        MsgBox box = app.messageBox();
        EXPECT_NE(box.text().find(tool), std::string::npos) << box.text();
        EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
        box.answer(IDOK_);
        EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
        EXPECT_FALSE(dialogShown("frmAC97Mixer"));
    }
};

TEST_F(Tools, TheMixerIsAskedForOnceAndThenStartedDirectly) {
    installDriver();
    copyFile(testProgram("fake_mixer.exe"), kMixer);
    Window main = startMain();
    Control list = main.control("ListView1");
    EXPECT_EQ(list.items(), (std::vector<std::string>{"Volume Control", "Sound Recorder", "Media Player", "AC97 Mixer",
                                                      "Multimedia", "Game Controllers", "DirectX Diagnostics"}));

    list.doubleClickItem(kAC97Mixer);
    Window dlg = app.form("frmAC97Mixer");
    EXPECT_EQ(dlg.text(), "AC97 Mixer Location");
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(main.enabled());
    Control path = dlg.control("txtAC97Location");
    EXPECT_EQ(path.text(), kPrompt);

    // The prompt left in place is no program; an older stored path goes too.
    reg::setText(settings::AC97MixerLocation(), "C:\\AC97Mix\\AC97Mixer.exe");
    dlg.control("cmdOK").clickAsync();
    MsgBox box = app.messageBox();
    EXPECT_EQ(box.text(), kInvalidPath);
    EXPECT_EQ(box.title(), "Quillmere");
    EXPECT_EQ(box.icon(), Icon::None);
    EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
    box.answer(IDOK_);
    // Removed once the box is answered.
    EXPECT_TRUE(waitUntil([] { return !reg::exists(settings::AC97MixerLocation()); }, scaled(kStepTimeout)));
    EXPECT_TRUE(dlg.visible());
    EXPECT_EQ(path.text(), kPrompt);
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(startRecord("AC97Mixer.exe").has_value());

    // A real program in a folder with spaces: started, remembered, and the
    // main window back.
    typeText(path, kMixer);
    dlg.control("cmdOK").clickAsync();
    StartRecord run = waitForRun("AC97Mixer.exe", 1);
    EXPECT_EQ(lower(run.module), lower(kMixer));
    EXPECT_NE(run.command.find(kMixer), std::string::npos) << run.command;
    EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
    EXPECT_TRUE(waitUntil([&] { return !dialogShown("frmAC97Mixer"); }, scaled(kStepTimeout)));
    auto stored = reg::get(settings::AC97MixerLocation());
    ASSERT_TRUE(stored.has_value());
    EXPECT_EQ(stored->type, 1u) << stored->describe();  // REG_SZ
    EXPECT_EQ(stored->text(), kMixer);
    EXPECT_FALSE(app.findMessageBox().has_value());

    // From now on the stored path is started without asking.
    list.doubleClickItem(kAC97Mixer);
    waitForRun("AC97Mixer.exe", 2);
    EXPECT_FALSE(dialogShown("frmAC97Mixer"));
    EXPECT_TRUE(main.usable());
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Tools, CancelAndTheCloseBoxLeaveTheMixerUnstored) {
    installDriver();
    Window main = startMain();
    Control list = main.control("ListView1");
    for (bool byFrame : {false, true}) {
        SCOPED_TRACE(byFrame ? "closed from the frame" : "cancelled");
        list.doubleClickItem(kAC97Mixer);
        Window dlg = app.form("frmAC97Mixer");
        typeText(dlg.control("txtAC97Location"), kMixer);  // not there: never started
        if (byFrame)
            dlg.closeFromFrame();
        else
            dlg.control("cmdExit").click();
        EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
        EXPECT_TRUE(waitUntil([&] { return !dialogShown("frmAC97Mixer"); }, scaled(kStepTimeout)));
        EXPECT_FALSE(reg::exists(settings::AC97MixerLocation()));
    }
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Tools, ToolsThatCannotStartAreToldAndTheMainWindowStaysUsable) {
    installDriver();
    // A mixer that was removed after its path was stored; no media player.
    const std::string gone = "C:\\Program Files\\AC97 Mix\\Removed.exe";
    reg::setText(settings::AC97MixerLocation(), gone);
    Window main = startMain();
    Control list = main.control("ListView1");

    list.doubleClickItem(kMediaPlayer);
    expectToldAndUsable(main, "Media Player");

    list.doubleClickItem(kAC97Mixer);
    expectToldAndUsable(main, gone);

    main.control("chkTray").click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Tools, TheWindowsToolsGetTheirCommandLines) {
    installDriver();
    for (const char* f : {"rundll32.exe", "sndvol32.exe", "sndrec32.exe", "dxdiag.exe", "mplayer2.exe"})
        copyFile(testProgram("fake_mixer.exe"), std::string(kToolsDir) + "\\" + f);
    const std::string player = std::string(kToolsDir) + "\\mplayer2.exe /Play";
    reg::setString(settings::key::DirectXMedia, settings::MediaPlayerProg().name, player);
    app.start(std::string(), kToolsDir);
    Window main = app.form("frmMain");
    Control list = main.control("ListView1");

    struct Case {
        int entry;
        const char* file;
        unsigned runs;
        std::string command;
    } const cases[] = {
        {kMultimedia, "rundll32.exe", 1, "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl"},
        {kGameControllers, "rundll32.exe", 2, "rundll32.exe shell32.dll,Control_RunDLL joy.cpl"},
        {kVolumeControl, "sndvol32.exe", 1, "sndvol32.exe"},
        {kSoundRecorder, "sndrec32.exe", 1, "sndrec32.exe"},
        {kDxDiag, "dxdiag.exe", 1, "dxdiag.exe"},
        {kMediaPlayer, "mplayer2.exe", 1, player},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.command);
        list.doubleClickItem(c.entry);
        StartRecord run = waitForRun(c.file, c.runs);
        EXPECT_EQ(run.command, c.command);
        EXPECT_EQ(lower(run.module), lower(std::string(kToolsDir) + "\\" + c.file));
        EXPECT_TRUE(main.usable());
        EXPECT_FALSE(app.findMessageBox().has_value());
    }
    // The player's command was read at start: a later change is not seen.
    reg::setString(settings::key::DirectXMedia, settings::MediaPlayerProg().name, "sndrec32.exe");
    list.doubleClickItem(kMediaPlayer);
    EXPECT_EQ(waitForRun("mplayer2.exe", 2).command, player);
    EXPECT_EQ(startRecord("sndrec32.exe")->runs, 1u);
}
