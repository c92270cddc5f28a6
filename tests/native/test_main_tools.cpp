#include "test_main_fixture.h"

namespace mainwin {
namespace {

struct MainTools : MainWindowTest {
    void dblClick(frmMain& f, int item) {
        ASSERT_TRUE(f.ListView1.setSelectedItem(item));
        f.ListView1.dblClick();
    }
};

TEST_F(MainTools, EachEntryStartsItsCommandLine) {
    frmMain& f = loadFresh();
    for (int item : {1, 2, 3, 5, 6, 7}) dblClick(f, item);
    EXPECT_EQ(env.launcher.commandLines,
              (std::vector<std::string>{"sndvol32.exe", "sndrec32.exe", "wmplayer.exe /Play",
                                        "rundll32.exe shell32.dll,Control_RunDLL mmsys.cpl",
                                        "rundll32.exe shell32.dll,Control_RunDLL joy.cpl", "dxdiag.exe"}));
    EXPECT_TRUE(env.launcher.files.empty());
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_TRUE(f.visible() && f.enabled());
}

TEST_F(MainTools, MediaPlayerUsesTheCommandReadAtLoadWithoutItsTerminator) {
    env.mem.setRaw(key::DirectXMedia, ".Prog", platform::ValueType::Text,
                   {'m', 'p', 'l', 'a', 'y', 'e', 'r', '2', '.', 'e', 'x', 'e', 0});
    frmMain& f = loadFresh();
    env.mem.setString(key::DirectXMedia, ".Prog", "other.exe");
    dblClick(f, 3);
    EXPECT_EQ(env.launcher.commandLines, (std::vector<std::string>{"mplayer2.exe"}));
}

TEST_F(MainTools, NothingSelectedDoesNothing) {
    frmMain& f = loadFresh();
    const auto before = env.mem.operationCount();
    f.ListView1.dblClick();
    EXPECT_TRUE(env.launcher.commandLines.empty());
    EXPECT_TRUE(env.launcher.files.empty());
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_EQ(env.mem.operationCount(), before);
}

TEST_F(MainTools, TheAC97MixerStartsExactlyTheStoredFileReadAtEachUse) {
    frmMain& f = loadFresh();
    setText(AC97MixerLocation(), "C:\\Tools\\AC97 Mixer\\ac97mix.exe");
    dblClick(f, 4);
    setText(AC97MixerLocation(), "D:\\mixer.exe");
    f.ListView1.dblClick();
    EXPECT_EQ(env.launcher.files, (std::vector<std::string>{"C:\\Tools\\AC97 Mixer\\ac97mix.exe", "D:\\mixer.exe"}));
    EXPECT_TRUE(env.launcher.commandLines.empty());
    EXPECT_TRUE(f.visible());
}

TEST_F(MainTools, WithoutAStoredPathTheMixerIsNotStarted) {
    frmMain& f = loadFresh();
    dblClick(f, 4);
    setText(AC97MixerLocation(), "");
    f.ListView1.dblClick();
    EXPECT_TRUE(env.launcher.files.empty());
    EXPECT_TRUE(env.launcher.commandLines.empty());
    EXPECT_TRUE(writes().empty());
}

TEST_F(MainTools, AToolThatCannotStartIsNamedAndTheWindowStaysUsable) {
    frmMain& f = loadFresh();
    env.launcher.succeed = false;
    dblClick(f, 1);
    setText(AC97MixerLocation(), "C:\\gone.exe");
    dblClick(f, 4);
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_EQ(env.msg.shown[0].text, "Could not start Volume Control (sndvol32.exe).");
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, 64);
    EXPECT_EQ(env.msg.shown[1].text, "Could not start AC97 Mixer (C:\\gone.exe).");
    EXPECT_TRUE(f.visible() && f.enabled() && f.loaded());
}

TEST_F(MainTools, AnEmptyMediaPlayerCommandIsNotStarted) {
    setText(MediaPlayerProg(), "");
    frmMain& f = loadFresh();
    dblClick(f, 3);
    EXPECT_TRUE(env.launcher.commandLines.empty());
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_NE(env.msg.shown[0].text.find("Media Player"), std::string::npos);
    EXPECT_EQ(env.msg.shown[0].style, 64);
}

TEST_F(MainTools, LevelHelpExplainsTheScale) {
    frmMain& f = loadFresh();
    f.cmdAC97Help.click();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "0 = +12dB, 1 = +10.5dB, 8 = 0dB (Default), 31 = -34.5dB");
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, 64);
}

TEST_F(MainTools, QuadSettingsAskFirstAndWarnAfterAYes) {
    frmMain& f = loadFresh();
    env.msg.answers = {ui::ID_NO};
    f.cmdQuad.click();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, "These settings may not work on your card.  Do you wish to continue?");
    EXPECT_EQ(env.msg.shown[0].style, 4);
    EXPECT_TRUE(f.visible() && f.enabled());

    env.msg.answers = {ui::ID_YES};
    f.cmdQuad.click();
    ASSERT_EQ(env.msg.shown.size(), 3u);
    EXPECT_EQ(env.msg.shown[2].text,
              "The Quad options have been moved here because they appear to cause all sound to disappear on some "
              "systems.  Only continue if you know how to recover from this.  The AC97 Mixer is the best solution to "
              "get Shared Front and Rear Output.");
    EXPECT_EQ(env.msg.shown[2].title, "Information");
    EXPECT_EQ(env.msg.shown[2].style, 64);
}

}  // namespace
}  // namespace mainwin
