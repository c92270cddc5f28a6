#include <gtest/gtest.h>

#include "main/frmQuad.h"
#include "support/TestEnv.h"

namespace {
const char* kCP = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\ControlPanel";
const char* kCust = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\Customization";
const char* kWarning = "These settings may not work on your card.  Do you wish to continue?";

struct QuadTest : ::testing::Test {
    qmtest::TestEnv env;
    ui::Form main{"frmMain", env.ui()};
    void SetUp() override {
        env.mem.addKey(kCP);
        env.mem.addKey(kCust);
        main.show();
    }
    frmQuad& open() {
        return static_cast<frmQuad&>(main.openDialog(std::make_unique<frmQuad>(env.services(), env.ui())));
    }
};
}  // namespace

TEST_F(QuadTest, LabelTellsTheStoredModeAndNoOptionIsSelected) {
    struct Case { std::function<void()> store; const char* label; };
    const Case cases[] = {
        {[&] { env.mem.setDword(kCP, "QuadCodecOutputModeState", 1); }, "Quad"},
        {[&] { env.mem.setDword(kCP, "QuadCodecOutputModeState", 0); }, "Stereo"},
        {[&] { env.mem.setString(kCP, "QuadCodecOutputModeState", "1"); }, "Quad"},
        {[&] { env.mem.setDword(kCP, "QuadCodecOutputModeState", 2); }, "Unknown"},
        {[&] { env.mem.setDword(kCP, "QuadCodecOutputModeState", 65537); }, "Unknown"},
        {[&] { env.mem.setString(kCP, "QuadCodecOutputModeState", "quad"); }, "Unknown"},
        {[&] { env.mem.setString(kCP, "QuadCodecOutputModeState", ""); }, "Unknown"},
    };
    for (const Case& c : cases) {
        c.store();
        frmQuad& q = open();
        SCOPED_TRACE(q.modeText());
        EXPECT_EQ(q.lblQuad.caption(), c.label);
        EXPECT_EQ(q.optQuad.selected(), -1);
        q.cmdOK.click();
    }
    EXPECT_EQ(env.mem.getDword(kCP, "QuadCodecOutputModeState"), std::nullopt);  // text, never rewritten
}

TEST_F(QuadTest, MissingValuesReadAsStereoAndUntickedAndTheShareValueIsCreated) {
    frmQuad& q = open();
    EXPECT_EQ(q.lblQuad.caption(), "Stereo");
    EXPECT_EQ(q.chkShare.value(), 0);
    EXPECT_EQ(q.shareText(), "0");
    ASSERT_EQ(env.mem.log().size(), 1u);
    EXPECT_EQ(env.mem.getDword(kCust, "SetGPIO0InQuad"), 0u);
    EXPECT_FALSE(env.mem.get(kCP, "QuadCodecOutputModeState"));
}

TEST_F(QuadTest, StoredShareStateIsShownAndOnlyValidStatesAreWrittenBack) {
    struct Case { std::function<void()> store; int box; std::size_t writes; };
    const Case cases[] = {
        {[&] { env.mem.setDword(kCust, "SetGPIO0InQuad", 1); }, 1, 1},  // the box's Click writes it back
        {[&] { env.mem.setDword(kCust, "SetGPIO0InQuad", 2); }, 2, 1},
        {[&] { env.mem.setDword(kCust, "SetGPIO0InQuad", 7); }, 0, 0},
        {[&] { env.mem.setString(kCust, "SetGPIO0InQuad", "yes"); }, 0, 0},
    };
    for (const Case& c : cases) {
        c.store();
        auto before = env.mem.get(kCust, "SetGPIO0InQuad");
        env.mem.clearLog();
        frmQuad& q = open();
        EXPECT_EQ(q.chkShare.value(), c.box);
        EXPECT_EQ(env.mem.log().size(), c.writes);
        EXPECT_EQ(env.mem.get(kCust, "SetGPIO0InQuad"), before);
        q.cmdOK.click();
    }
}

TEST_F(QuadTest, HandlersWriteAtOnceAndOkWritesNothing) {
    env.mem.setDword(kCP, "QuadCodecOutputModeState", 1);
    env.mem.setDword(kCust, "SetGPIO0InQuad", 0);
    frmQuad& q = open();
    q.optQuad.select(0);
    EXPECT_EQ(env.mem.getDword(kCP, "QuadCodecOutputModeState"), 0u);
    EXPECT_EQ(q.lblQuad.caption(), "Stereo");
    q.optQuad.select(1);
    EXPECT_EQ(env.mem.getDword(kCP, "QuadCodecOutputModeState"), 1u);
    EXPECT_EQ(q.lblQuad.caption(), "Quad");
    q.chkShare.setValue(1);
    EXPECT_EQ(env.mem.getDword(kCust, "SetGPIO0InQuad"), 1u);
    EXPECT_EQ(env.mem.log().size(), 3u);
    q.closeBox();  // the title-bar close box acts as OK
    EXPECT_EQ(env.mem.log().size(), 3u);
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
}

TEST_F(QuadTest, WarningAnsweredNoOpensNothing) {
    OpenQuadSettings(main, env.services(), env.ui());
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, kWarning);
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, 4);
    EXPECT_EQ(main.openChild(), nullptr);
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(env.mem.operationCount(), 0u);
}

TEST_F(QuadTest, WarningAnsweredYesHandsOverThenWarnsAgainOverTheDialog) {
    env.msg.answers = {ui::ID_YES};
    OpenQuadSettings(main, env.services(), env.ui());
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_EQ(env.msg.shown[0].owner, "frmMain");
    EXPECT_EQ(env.msg.shown[1].owner, "frmQuad");
    EXPECT_EQ(env.msg.shown[1].title, "Information");
    EXPECT_EQ(env.msg.shown[1].style, 64);
    EXPECT_EQ(env.msg.shown[1].text,
              "The Quad options have been moved here because they appear to cause all sound to disappear on some "
              "systems.  Only continue if you know how to recover from this.  The AC97 Mixer is the best solution "
              "to get Shared Front and Rear Output.");
    ASSERT_NE(main.openChild(), nullptr);
    EXPECT_TRUE(main.openChild()->visible());
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(main.enabled());
}
