#include <gtest/gtest.h>

#include <new>
#include <vector>

#include "support/TestEnv.h"
#include "ui/Form.h"

using namespace ui;

namespace {
struct Probe : Form {
    CheckBox chk{*this, "chk"};
    ComboList cbo{*this, "cbo"};
    HScrollBar hsb{*this, "hsb", 0, 31};
    OptionArray opt{*this, "opt", 3};
    std::vector<std::string> events;
    int loads = 0;
    explicit Probe(UiServices u, std::string name = "frmProbe") : Form(std::move(name), u) {
        chk.Click = [this] { events.push_back("chk" + std::to_string(chk.value())); };
        cbo.addItem("a");
        cbo.addItem("b");
        cbo.Click = [this] { events.push_back("cbo" + std::to_string(cbo.listIndex())); };
        hsb.Change = [this] { events.push_back("hsb" + std::to_string(hsb.value())); };
        opt.Click = [this](int i) { events.push_back("opt" + std::to_string(i)); };
    }
    void Form_Load() override { ++loads; }
};
}  // namespace

TEST(Toolkit, HandlersRunOnlyWhenStateChanges) {
    Probe p{{}};
    p.chk.setValue(0);
    p.chk.setValue(1);
    p.chk.setValue(1);
    p.chk.setValue(2);
    p.cbo.setListIndex(-1);
    p.cbo.setListIndex(1);
    p.hsb.setValue(0);
    p.hsb.setValue(31);
    p.opt.select(2);
    p.opt.select(2);
    EXPECT_EQ(p.events, (std::vector<std::string>{"chk1", "chk2", "cbo1", "hsb31", "opt2"}));
    EXPECT_EQ(p.opt.selected(), 2);
    EXPECT_FALSE(p.opt[0].value());
}

TEST(Toolkit, AUsersChoiceRunsTheHandlerEvenWhenItReselects) {
    Probe p{{}};
    p.opt.choose(1);
    p.opt.choose(1);
    p.opt[1].choose();
    p.cbo.pick(0);
    p.cbo.pick(0);
    p.cbo.setListIndex(0);  // code, not the user: no change, no handler
    p.opt.select(1);
    EXPECT_EQ(p.events, (std::vector<std::string>{"opt1", "opt1", "opt1", "cbo0", "cbo0"}));
    EXPECT_EQ(p.opt.selected(), 1);
    // Out of range, or picking "none", is refused like any other setter.
    EXPECT_FALSE(p.opt.choose(3));
    EXPECT_FALSE(p.cbo.pick(-1));
    EXPECT_FALSE(p.cbo.pick(2));
    EXPECT_EQ(p.events.size(), 5u);
    EXPECT_EQ(p.cbo.listIndex(), 0);
}

TEST(Toolkit, ASilencedFormTakesStatesWithoutRunningHandlers) {
    Probe p{{}};
    {
        Form::Silence quiet(p);
        p.chk.setValue(1);
        p.cbo.setListIndex(1);
        p.hsb.setValue(5);
        p.opt.select(1);
    }
    EXPECT_TRUE(p.events.empty());
    EXPECT_EQ(p.chk.value() + p.cbo.listIndex() + p.hsb.value() + p.opt.selected(), 8);
    p.opt.clear();
    EXPECT_EQ(p.opt.selected(), -1);
    p.chk.setValue(0);
    EXPECT_EQ(p.events, (std::vector<std::string>{"chk0"}));
}

TEST(Toolkit, ValuesAControlCannotHoldAreRefusedAndRunNothing) {
    Probe p{{}};
    p.chk.setValue(1);
    p.events.clear();
    EXPECT_FALSE(p.chk.setValue(7));
    EXPECT_FALSE(p.chk.setValue(-1));
    EXPECT_FALSE(p.cbo.setListIndex(2));
    EXPECT_FALSE(p.cbo.setListIndex(-2));
    EXPECT_FALSE(p.hsb.setValue(32));
    EXPECT_FALSE(p.hsb.setValue(-1));
    EXPECT_FALSE(p.opt.select(3));
    EXPECT_TRUE(p.events.empty());
    EXPECT_EQ(p.chk.value(), 1);
    EXPECT_EQ(p.cbo.listIndex(), -1);
    EXPECT_EQ(p.hsb.value(), 0);
}

TEST(Toolkit, HandOverHidesAndDisablesTheOwnerAndGivesItBack) {
    qmtest::TestEnv env;
    Probe main{env.ui(), "frmMain"};
    main.show();
    EXPECT_EQ(main.loads, 1);
    auto* dlg = new Probe(env.ui(), "frmDlg");
    main.openDialog(std::unique_ptr<Form>(dlg));
    EXPECT_EQ(dlg->loads, 1);
    EXPECT_TRUE(dlg->visible());
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(main.enabled());
    EXPECT_EQ(main.openChild(), dlg);
    dlg->closeBox();  // no handler of its own: acts as the closing button
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);

    auto* about = new Probe(env.ui(), "frmAbout");
    main.openDialog(std::unique_ptr<Form>(about), true);
    EXPECT_TRUE(main.visible());
    EXPECT_FALSE(main.enabled());
    about->giveBack();
    EXPECT_TRUE(main.enabled());

    // What the real windows were told, in order: a dialog kept over a shown
    // owner is brought to the front, and so is the owner when it comes back.
    EXPECT_EQ(env.windows.log, (std::vector<std::string>{
                                   "frmMain made", "frmMain shown",                                   // start
                                   "frmDlg made", "frmDlg shown", "frmMain hidden", "frmMain disabled",  // over
                                   "frmMain enabled", "frmDlg hidden", "frmDlg gone", "frmMain shown",   // back
                                   "frmAbout made", "frmAbout shown", "frmMain disabled", "frmAbout to front",
                                   "frmMain enabled", "frmAbout hidden", "frmAbout gone", "frmMain to front"}));
}

TEST(Toolkit, ADialogThatGivesBackWhileLoadingLeavesTheOwnerUsable) {
    struct Quitter : Form {
        explicit Quitter(UiServices u) : Form("frmQuit", u) {}
        void Form_Load() override { giveBack(); }
    };
    Probe main{{}};
    main.show();
    main.openDialog(std::make_unique<Quitter>(UiServices{}));
    EXPECT_TRUE(main.visible());
    EXPECT_TRUE(main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
}

TEST(Toolkit, UntitledMessageBoxCarriesTheProgramName) {
    qmtest::TestEnv env;
    Probe p{env.ui()};
    p.msgBox("hello", "", MB_OK_);
    ASSERT_EQ(env.msg.shown.size(), 1u);
    EXPECT_EQ(env.msg.shown[0].title, "Quillmere");
}

TEST(Toolkit, AFailingHandlerTellsTheUserOnceAndTheWindowGoesOn) {
    qmtest::TestEnv env;
    Probe p{env.ui()};
    p.setCaption("Probe Settings");
    std::vector<int> written;
    // Fails half way, after the first of two writes, as an index past the end.
    p.chk.Click = [&] {
        written.push_back(1);
        written.push_back(std::vector<int>{}.at(1));
    };
    p.hsb.Change = [] { throw std::bad_alloc(); };

    EXPECT_FALSE(p.fromUser([&] { p.chk.setValue(p.chk.clickedValue()); }));
    ASSERT_EQ(env.msg.shown.size(), 1u);
    const auto& told = env.msg.shown[0];
    EXPECT_EQ(told.style, MB_CRITICAL_);
    EXPECT_EQ(told.title, "Quillmere");
    EXPECT_EQ(told.owner, "frmProbe");
    EXPECT_EQ(told.text.rfind(std::string(kChangeFailed) + "Probe Settings\"", 0), 0u) << told.text;
    EXPECT_NE(told.text.find("a program error ("), std::string::npos) << told.text;
    EXPECT_EQ(written, std::vector<int>{1});

    EXPECT_FALSE(p.fromUser([&] { p.hsb.setValue(5); }));
    ASSERT_EQ(env.msg.shown.size(), 2u);
    EXPECT_NE(env.msg.shown[1].text.find("not enough memory"), std::string::npos) << env.msg.shown[1].text;

    // The window goes on: the next action runs and tells nothing.
    EXPECT_TRUE(p.fromUser([&] { p.opt.choose(2); }));
    EXPECT_EQ(p.events, std::vector<std::string>{"opt2"});
    EXPECT_EQ(env.msg.shown.size(), 2u);
}
