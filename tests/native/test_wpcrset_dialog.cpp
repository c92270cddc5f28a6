#include <gtest/gtest.h>

#include "settings/Catalogue.h"
#include "support/TestEnv.h"
#include "wpcrset/frmWPCRSET.h"

namespace {
const std::string kParams = settings::key::WpcrsetParameters;
const std::string kService = settings::key::WpcrsetService;
const std::string kPanel = settings::key::ControlPanel;
const char* kNotInstalled =
    "WPCRSET doesn't appear to be installed on your system.  Please download it from its author's web site and "
    "put it into a folder of your choice.  Then run INSTDD.EXE.  After that, then you will be able to configure "
    "these options.";

struct Owner : ui::Form {
    explicit Owner(ui::UiServices u) : ui::Form("frmMain", u) {}
};

// The write log as "Key\Name=value" (last key component) and "-Name".
std::vector<std::string> writes(const platform::MemoryRegistry& mem) {
    std::vector<std::string> out;
    for (const auto& e : mem.log()) {
        const std::string k = e.path.substr(e.path.rfind('\\') + 1) + "\\" + e.name;
        const auto& d = e.value.data;
        if (e.op == platform::RegLogEntry::Delete) out.push_back("-" + e.name);
        else if (e.op == platform::RegLogEntry::Set && d.size() == 4 && e.value.type == platform::ValueType::Dword)
            out.push_back(k + "=" + std::to_string(d[0] | d[1] << 8 | d[2] << 16 | std::uint32_t(d[3]) << 24));
        else out.push_back(k + "=?");
    }
    return out;
}

struct Dialog : ::testing::Test {
    qmtest::TestEnv env;
    Owner main{env.ui()};
    frmWPCRSET* dlg = nullptr;
    void SetUp() override {
        env.mem.setDword(kParams, "Start", 1);
        env.mem.setDword(kService, "Start", 0);
        env.mem.setDword(kPanel, "VIAFix", 0);
        env.mem.setDword(kPanel, "VIAAGP", 0);
        main.show();
    }
    std::vector<std::string> open() {
        env.mem.clearLog();
        dlg = static_cast<frmWPCRSET*>(&main.openDialog(std::make_unique<frmWPCRSET>(env.services(), env.ui())));
        return writes(env.mem);
    }
    std::vector<std::string> act(const std::function<void()>& f) {
        env.mem.clearLog();
        f();
        return writes(env.mem);
    }
    bool dialogUpOwnerAway() const { return dlg->loaded() && !main.visible() && !main.enabled(); }
};
using V = std::vector<std::string>;
}  // namespace

TEST_F(Dialog, LayoutStartsWithNothingChosenAndTheSettingsLocked) {
    open();
    EXPECT_EQ(dlg->caption(), "WPCRSET Configuration");
    EXPECT_EQ(dlg->cboChipset.items(), (V{"VIA", "AMD", "Intel i81x", "Intel BX", "Other"}));
    EXPECT_EQ(dlg->cboDevice.items(), (V{"8 (PCI 1)", "9 (PCI 2)", "10 (PCI 3)", "11 (PCI 4)", "12 (PCI 5)", "13 (PCI 6)"}));
    EXPECT_EQ(dlg->cboChipset.listIndex(), -1);
    EXPECT_FALSE(dlg->cboDevice.enabled() || dlg->chkVIAFix.enabled() || dlg->chkVIAAGP.enabled() || dlg->cmdUpdate.enabled());
    EXPECT_EQ(dlg->optWPCRSET[1].caption(), "Stop");
    EXPECT_EQ(dlg->optWDevice[1].caption(), "Disable");
    const std::string notice = dlg->Label2.caption();
    const std::string rest = "This executable doesn't contain any of WPCRSET, but acts as an interface to it. You must install WPCRSET first.";
    ASSERT_GT(notice.size(), rest.size());
    EXPECT_EQ(notice.substr(notice.size() - rest.size()), rest);
    EXPECT_EQ(notice.find('\n'), notice.size() - rest.size() - 1);  // one credit line before it
    // Every control lies inside its frame, and every frame inside the window.
    for (ui::Control* c : dlg->controls()) {
        const ui::Rect& r = c->rect();
        const int w = c->container() ? c->container()->rect().w : dlg->clientWidth();
        const int h = c->container() ? c->container()->rect().h : dlg->clientHeight();
        EXPECT_TRUE(r.x > 0 && r.y > 0 && r.w > 0 && r.h > 0 && r.x + r.w <= w && r.y + r.h <= h) << c->name();
    }
    EXPECT_EQ(dlg->chkVIAAGP.container(), &dlg->Frame3);
    EXPECT_EQ(dlg->optWDevice[0].container(), &dlg->Frame2);
}

TEST_F(Dialog, LoadSelectsTheStoredModesAndWritesTheSameValuesBack) {
    const auto before = env.mem.snapshot();
    EXPECT_EQ(open(), (V{"Parameters\\Start=1", "WPCRSET\\Start=0"}));
    EXPECT_EQ(env.mem.snapshot(), before);
    EXPECT_TRUE(dialogUpOwnerAway());
    EXPECT_EQ(dlg->optWPCRSET.selected(), 0);
    EXPECT_EQ(dlg->optWDevice.selected(), 0);
    EXPECT_TRUE(env.msg.shown.empty());

    dlg->Command1.click();
    env.mem.setDword(kParams, "Start", 0);
    env.mem.setDword(kService, "Start", 4);
    open();  // a fresh dialog reads again
    EXPECT_EQ(dlg->optWPCRSET.selected(), 1);
    EXPECT_EQ(dlg->optWDevice.selected(), 1);
}

TEST_F(Dialog, OtherStoredModesSelectNothingAndWriteNothing) {
    env.mem.setDword(kParams, "Start", 7);
    for (std::uint32_t type : {1u, 2u, 3u}) {
        env.mem.setDword(kService, "Start", type);
        EXPECT_TRUE(open().empty()) << type;
        EXPECT_EQ(dlg->optWDevice.selected(), -1);
        EXPECT_EQ(dlg->optWPCRSET.selected(), -1);
        dlg->closeBox();  // the title-bar close acts as OK
        EXPECT_TRUE(main.visible() && main.enabled());
    }
}

TEST_F(Dialog, NotInstalledShowsOneMessageAndGivesTheOwnerBack) {
    const std::vector<V> gone = {{kParams}, {kService}, {kParams, kService}};
    for (const V& keys : gone) {
        env.msg.shown.clear();
        env.mem.setDword(kParams, "Start", 4);
        env.mem.setDword(kService, "Start", 0);
        for (const auto& k : keys) env.reg.RemoveRegValue(platform::Root::LocalMachine, k.c_str(), "Start");
        open();
        ASSERT_EQ(env.msg.shown.size(), 1u) << keys.front();
        EXPECT_EQ(env.msg.shown[0].text, kNotInstalled);
        EXPECT_EQ(env.msg.shown[0].title, "Information");
        EXPECT_EQ(env.msg.shown[0].style, 64);
        EXPECT_FALSE(dlg->loaded());
        EXPECT_TRUE(main.visible() && main.enabled());
        EXPECT_EQ(main.openChild(), nullptr);
    }
}

TEST_F(Dialog, MissingViaOptionsAreCreatedAsZeroEvenWhenNotInstalled) {
    qmtest::TestEnv bare;
    bare.mem.addKey(kPanel);
    Owner owner{bare.ui()};
    owner.show();
    owner.openDialog(std::make_unique<frmWPCRSET>(bare.services(), bare.ui()));
    EXPECT_EQ(writes(bare.mem), (V{"ControlPanel\\VIAFix=0", "ControlPanel\\VIAAGP=0"}));
    EXPECT_EQ(bare.msg.shown.size(), 1u);
}

TEST_F(Dialog, StoredViaOptionsShowCheckedButLockedUntilViaIsChosen) {
    env.mem.setDword(kPanel, "VIAFix", 1);
    env.mem.setDword(kPanel, "VIAAGP", 1);
    EXPECT_EQ(open(), (V{"Parameters\\Start=1", "WPCRSET\\Start=0", "ControlPanel\\VIAFix=1", "ControlPanel\\VIAAGP=1"}));
    EXPECT_EQ(dlg->chkVIAFix.value(), 1);
    EXPECT_EQ(dlg->chkVIAAGP.value(), 1);
    EXPECT_FALSE(dlg->chkVIAFix.enabled() || dlg->chkVIAAGP.enabled());
    dlg->cboChipset.setListIndex(0);
    EXPECT_TRUE(dlg->chkVIAFix.enabled() && dlg->chkVIAAGP.enabled() && dlg->cboDevice.enabled());
    EXPECT_FALSE(dlg->cmdUpdate.enabled());
    // Unchecking the fix locks fast AGP but keeps its state and value.
    EXPECT_EQ(act([&] { dlg->chkVIAFix.setValue(0); }), (V{"ControlPanel\\VIAFix=0"}));
    EXPECT_EQ(dlg->chkVIAAGP.value(), 1);
    EXPECT_FALSE(dlg->chkVIAAGP.enabled());
}

TEST_F(Dialog, BadStoredValuesNeverCrashOrGetRewritten) {
    env.mem.setString(kParams, "Start", "on");
    env.mem.setDword(kService, "Start", 99);
    env.mem.setString(kPanel, "VIAFix", "yes");
    env.mem.setRaw(kPanel, "VIAAGP", platform::ValueType::Binary, {1, 0});
    env.mem.setString(kParams, "RegCnt", "many");
    const auto before = env.mem.snapshot();
    EXPECT_TRUE(open().empty());
    EXPECT_EQ(env.mem.snapshot(), before);
    EXPECT_TRUE(dialogUpOwnerAway());
    EXPECT_EQ(dlg->optWPCRSET.selected(), -1);
    EXPECT_EQ(dlg->chkVIAFix.value(), 0);
    // Neither remembered option is a number: the update goes without the fix.
    dlg->cboChipset.setListIndex(0);
    dlg->cboDevice.setListIndex(2);
    EXPECT_EQ(act([&] { dlg->cmdUpdate.click(); }), (V{"Parameters\\Reg00=5259519", "Parameters\\RegCnt=1"}));
}

TEST_F(Dialog, ModeButtonsWriteTheirNumbers) {
    open();
    EXPECT_EQ(act([&] { dlg->optWPCRSET.select(1); }), (V{"Parameters\\Start=0"}));
    EXPECT_EQ(act([&] { dlg->optWDevice.select(1); }), (V{"WPCRSET\\Start=4"}));
    EXPECT_EQ(act([&] { dlg->optWDevice.select(0); }), (V{"WPCRSET\\Start=0"}));
    EXPECT_EQ(act([&] { dlg->optWPCRSET.select(0); }), (V{"Parameters\\Start=1"}));
}

TEST_F(Dialog, UpdateFollowsTheChosenChipsetAndForgetsTheFixAfterANonViaOne) {
    open();
    dlg->cboChipset.setListIndex(0);
    dlg->cboDevice.setListIndex(5);
    ASSERT_TRUE(dlg->cmdUpdate.enabled());
    dlg->chkVIAFix.setValue(1);
    dlg->chkVIAAGP.setValue(1);
    EXPECT_EQ(act([&] { dlg->cmdUpdate.click(); }),
              (V{"Parameters\\Reg00=6832383", "Parameters\\Reg01=541296", "Parameters\\RegCnt=2"}));
    dlg->cboChipset.setListIndex(2);
    EXPECT_FALSE(dlg->chkVIAFix.enabled() || dlg->chkVIAAGP.enabled());
    EXPECT_EQ(act([&] { dlg->cmdUpdate.click(); }), (V{"Parameters\\Reg00=23609599", "Parameters\\RegCnt=1"}));
    EXPECT_EQ(dlg->chkVIAFix.value(), 1);
    EXPECT_EQ(env.mem.getDword(kPanel, "VIAFix"), 1u);
    // Back on VIA, the fix counts again only once its box is toggled.
    dlg->cboChipset.setListIndex(0);
    EXPECT_EQ(act([&] { dlg->cmdUpdate.click(); }), (V{"Parameters\\Reg00=6832383", "Parameters\\RegCnt=1"}));
    dlg->chkVIAFix.setValue(0);
    dlg->chkVIAFix.setValue(1);
    EXPECT_EQ(act([&] { dlg->cmdUpdate.click(); }),
              (V{"Parameters\\Reg00=6832383", "Parameters\\Reg01=541296", "Parameters\\RegCnt=2"}));
    EXPECT_TRUE(dlg->cboDevice.enabled() && dlg->cmdUpdate.enabled());
}

TEST_F(Dialog, RemoveAllErasesTheProgramOnlyAndChangesNoControl) {
    env.mem.setDword(kParams, "Reg00", 5);
    env.mem.setDword(kParams, "Reg01", 6);
    open();
    dlg->cboChipset.setListIndex(1);
    EXPECT_EQ(act([&] { dlg->cmdRemove.click(); }), (V{"Parameters\\RegCnt=0", "-Reg00", "-Reg01"}));
    EXPECT_EQ(env.mem.getDword(kParams, "Start"), 1u);
    EXPECT_EQ(env.mem.getDword(kPanel, "VIAFix"), 0u);
    EXPECT_EQ(dlg->cboChipset.listIndex(), 1);
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST_F(Dialog, HelpButtonsExplainInInformationBoxes) {
    open();
    dlg->cmdWPCRHelp.click();
    dlg->cmdVIAHelp.click();
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_EQ(env.msg.shown[0].text,
              "This allows you to configure the way that WPCRSET loadsd at Windows startup.  For it to work correctly, "
              "WPCRSET should be set to Start, and Device should be set to Enable.  You can use this to stop the "
              "program without having to actually un-install it.");
    EXPECT_EQ(env.msg.shown[1].text.substr(0, 60), "This allows you to enable the Vortex VIA compatability mode.");
    EXPECT_NE(env.msg.shown[1].text.find("VERY IMPORTANT: Please note that all previous WPCRSET options will be deleted."), std::string::npos);
    for (const auto& m : env.msg.shown) EXPECT_TRUE(m.title == "Information" && m.style == 64 && m.owner == "frmWPCRSET");
    EXPECT_TRUE(dialogUpOwnerAway());
}
