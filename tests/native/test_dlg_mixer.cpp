#include <gtest/gtest.h>

#include "main/frmAC97Mixer.h"
#include "support/TestEnv.h"

namespace {
const char* kCP = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830\\ControlPanel";
const char* kPrompt = "Enter the program path here - i.e. C:\\AC97Mix\\AC97Mixer.exe";
const char* kInvalid =
    "You haven't entered a valid path.  Either correct it, or press Cancel if you haven't yet downloaded the AC97 "
    "Mixer utility";

struct MixerTest : ::testing::Test {
    qmtest::TestEnv env;
    ui::Form main{"frmMain", env.ui()};
    frmAC97Mixer* dlg = nullptr;
    void SetUp() override {
        env.mem.addKey(kCP);
        env.mem.setString(kCP, "AC97MixerLocation", "C:\\Old\\mixer.exe");
        main.show();
        dlg = static_cast<frmAC97Mixer*>(&main.openDialog(std::make_unique<frmAC97Mixer>(env.services(), env.ui())));
    }
};
}  // namespace

TEST_F(MixerTest, FailedStartWarnsRemovesTheStoredPathAndStaysOpen) {
    EXPECT_EQ(dlg->txtAC97Location.text(), kPrompt);  // never the stored path
    EXPECT_EQ(env.mem.operationCount(), 0u);
    env.launcher.succeed = false;
    dlg->cmdOK.click();
    EXPECT_EQ(env.launcher.files, (std::vector<std::string>{kPrompt}));
    EXPECT_TRUE(env.launcher.commandLines.empty());
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text, kInvalid);
    EXPECT_EQ(env.msg.shown[0].title, "Quillmere");
    EXPECT_EQ(env.msg.shown[0].style, 0);
    EXPECT_FALSE(env.mem.get(kCP, "AC97MixerLocation"));
    EXPECT_TRUE(dlg->visible());
    EXPECT_EQ(dlg->txtAC97Location.text(), kPrompt);
    EXPECT_FALSE(main.visible());

    env.mem.clearLog();
    dlg->cmdExit.click();
    EXPECT_TRUE(env.mem.log().empty());
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
}

TEST_F(MixerTest, SuccessfulStartStoresExactlyTheTypedPathAndCloses) {
    const std::string path = "C:\\Program Files\\AC97 Mixer\\AC97Mixer.exe";
    dlg->txtAC97Location.setText(path);
    dlg->cmdOK.click();
    EXPECT_EQ(env.launcher.files, (std::vector<std::string>{path}));
    auto stored = env.mem.get(kCP, "AC97MixerLocation");
    ASSERT_TRUE(stored);
    EXPECT_EQ(stored->type, platform::ValueType::Text);
    EXPECT_EQ(std::string(stored->data.begin(), stored->data.end()), path);
    EXPECT_TRUE(env.msg.shown.empty());
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
}

TEST_F(MixerTest, BlankPathIsNeverStartedNorStored) {
    for (const char* blank : {"", "   "}) {
        dlg->txtAC97Location.setText(blank);
        dlg->cmdOK.click();
    }
    EXPECT_TRUE(env.launcher.files.empty());
    EXPECT_EQ(env.msg.shown.size(), 2u);
    EXPECT_FALSE(env.mem.get(kCP, "AC97MixerLocation"));
    EXPECT_TRUE(dlg->visible());
}

TEST_F(MixerTest, HelpExplainsAndTheCloseBoxCancels) {
    dlg->cmdHelp.click();
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].text,
              "Please enter the full path of the AC97 Mixer application, including the .EXE file and extension.  "
              "This location will be remebered in the future.");
    EXPECT_EQ(env.msg.shown[0].title, "Information");
    EXPECT_EQ(env.msg.shown[0].style, 64);
    dlg->txtAC97Location.setText("C:\\x.exe");
    dlg->closeBox();
    EXPECT_TRUE(env.launcher.files.empty());
    EXPECT_EQ(env.mem.operationCount(), 0u);
    EXPECT_EQ(env.mem.getString(kCP, "AC97MixerLocation"), "C:\\Old\\mixer.exe");
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
}
