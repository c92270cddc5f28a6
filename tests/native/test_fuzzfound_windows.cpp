// The fuzz checks run against the real windows in their trickiest states,
// as the fuzzer would reach them: what the windows do there must pass, and
// a wrong value slipped into an action must not.
#include <gtest/gtest.h>

#include <stdexcept>

#include "tests/fuzz/Targets.h"

namespace {

using namespace settings;
using qmfuzz::dwordValue;
using qmfuzz::textValue;

struct Finding : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Scenario : ::testing::Test {
    // The user's answers: Yes to every question, and every program starts.
    std::vector<std::uint8_t> answers = std::vector<std::uint8_t>(16, 1);
    qmfuzz::FuzzInput user{answers.data(), answers.data() + answers.size(), false};
    qmfuzz::World w{user};
    qmfuzz::Machine machine;  // an ordinary installation, edited by each test

    void SetUp() override { qmfuzz::onFinding = [](const std::string& what) { throw Finding(what); }; }
    void TearDown() override { qmfuzz::onFinding = nullptr; }

    void store(const Setting& s, const platform::SettingValue& v) {
        w.env.reg.StoreRegSetting(platform::Root::LocalMachine, s.key, s.name, v, s.type);
    }
    // Runs `act` as one checked action; "" when every check passed.
    std::string step(qmfuzz::Session& s, const std::function<void()>& act, const qmfuzz::LoadRules* rules = nullptr,
                     const ui::Control* control = nullptr) {
        try {
            s.check(act, rules, "the step", control);
            return "";
        } catch (const Finding& f) {
            return f.what();
        }
    }
};

TEST_F(Scenario, MainWindowWithOddStoredValuesLoadsAndWorksWithinTheRules) {
    machine.values[&DetectSpdifOut()] = dwordValue(0);
    machine.values[&EnableSpdifOut()] = dwordValue(1);  // ends ticked but disabled
    machine.values[&SoftSynthModeIndex()] = dwordValue(1);
    machine.values[&GamerMode()] = dwordValue(1);  // rewritten for 128 voices
    machine.values[&PrimaryXtalk()] = dwordValue(7);  // no such entry: nothing selected, nothing written
    machine.values[&SplashAudio()] = textValue("1");
    machine.values[&AU30TRAY()] = textValue("C:\\WINDOWS\\au30tray.exe");
    machine.values[&HighPerformanceMIDI()] = {platform::ValueType::Binary, {1}};  // unreadable, kept
    machine.apply(w.env);
    frmMain f(w.services(), w.ui());
    qmfuzz::Session s(user, w, f);
    const qmfuzz::LoadRules onXP = qmfuzz::mainLoadRules(true);

    EXPECT_EQ(step(s, [&] { f.show(); }, &onXP), "");
    EXPECT_EQ(f.chkEnOut.value(), 1);
    EXPECT_FALSE(f.chkEnOut.enabled());
    EXPECT_EQ(w.env.mem.getDword(key::ControlPanel, "GamerMode"), 0u);
    EXPECT_EQ(step(s, [&] { f.SSTab1.setCurrentTab(4); }, nullptr, &f.SSTab1), "");
    EXPECT_EQ(step(s, [&] { f.chkDetOut.setValue(1); }, nullptr, &f.chkDetOut), "");
    EXPECT_EQ(step(s, [&] { f.chkDetOut.setValue(0); }, nullptr, &f.chkDetOut), "");  // unticks "Enable Output"
    EXPECT_EQ(step(s, [&] { f.optDigOut.select(1); }, nullptr, &f.optDigOut[1]), "");
    EXPECT_EQ(step(s, [&] { f.cmdFixDetect.click(); }, nullptr, &f.cmdFixDetect), "");

    // A handler that stored something else than its box shows is caught.
    EXPECT_NE(step(s, [&] {
                  f.chkDetIn.setValue(1);
                  store(DetectSpdifIn(), 0);
              }),
              "");
}

TEST_F(Scenario, OverrideOnWindows2000WithADeniedKeyLoadsWithinTheRules) {
    machine.os = qmfuzz::Machine::Os::W2000;
    machine.keys[key::Customization].state = qmfuzz::Machine::KeyState::Denied;
    machine.values[&SplashScreen()] = std::nullopt;  // created by the override
    machine.apply(w.env);
    frmMain f(w.services(), w.ui());
    qmfuzz::Session s(user, w, f);
    const qmfuzz::LoadRules notXP = qmfuzz::notXPLoadRules(), override = qmfuzz::mainLoadRules(false);

    EXPECT_EQ(step(s, [&] { f.show(); }, &notXP), "");
    EXPECT_EQ(step(s, [&] { f.cmdOverride.click(); }, &override, &f.cmdOverride), "");
    EXPECT_EQ(f.chkTray.value(), 0);
    EXPECT_EQ(w.env.mem.getDword(key::A3D, "SplashScreen"), 0u);
    EXPECT_EQ(step(s, [&] { f.SSTab1.setCurrentTab(3); }, nullptr, &f.SSTab1), "");
    EXPECT_EQ(step(s, [&] { f.hsbFront.setValue(31); }, nullptr, &f.hsbFront), "");  // lost: the key is closed
}

TEST_F(Scenario, EqualizerOverSpeakerCompensationAndOffLoadsAndWorksWithinTheRules) {
    machine.values[&PresetNumber()] = dwordValue(6);
    machine.values[&CurrSpeakerComp()] = textValue("Altec Lansing ADA880");
    machine.values[&EqBypass()] = dwordValue(1);
    machine.values[&SupportAnalogEQ()] = dwordValue(1);
    machine.values[&AnalogEQEnableState()] = dwordValue(0);  // "None" is chosen and written
    machine.keys[key::Equalizer].state = qmfuzz::Machine::KeyState::Missing;  // made by the set's install
    machine.apply(w.env);
    ui::Form owner("frmMain", w.ui());
    owner.show();
    qmfuzz::Session s(user, w, owner);
    const qmfuzz::LoadRules eq = qmfuzz::eqLoadRules();
    frmEQ* f = nullptr;
    EXPECT_EQ(step(s, [&] { f = &static_cast<frmEQ&>(owner.openDialog(std::make_unique<frmEQ>(w.services(), w.ui()))); }, &eq),
              "");
    ASSERT_NE(f, nullptr);
    EXPECT_EQ(f->cboSpComp.listIndex(), 3);
    EXPECT_EQ(f->cboAnalogEQ.listIndex(), 0);
    EXPECT_EQ(step(s, [&] { f->cboSpComp.setListIndex(1); }, nullptr, &f->cboSpComp), "");
    EXPECT_EQ(step(s, [&] { f->cboEQPreset.setListIndex(5); }, nullptr, &f->cboEQPreset), "");
    EXPECT_EQ(step(s, [&] { f->cboMARLO.setListIndex(5); }, nullptr, &f->cboMARLO), "");
    EXPECT_EQ(step(s, [&] { f->cboAnalogEQ.setListIndex(3); }, nullptr, &f->cboAnalogEQ), "");
    EXPECT_EQ(step(s, [&] { f->closeBox(); }), "");

    // Choosing "Pop" but finding the Rock set stored is caught.
    f = &static_cast<frmEQ&>(owner.openDialog(std::make_unique<frmEQ>(w.services(), w.ui())));
    EXPECT_NE(step(s, [&] {
                  f->cboEQPreset.setListIndex(2);
                  const auto rock = qmfuzz::coefSet(equalizer::EqCurve::Rock);
                  w.env.mem.setRaw(key::Equalizer, "CoefSet0", platform::ValueType::Binary, rock);
              }),
              "");
}

TEST_F(Scenario, WpcrsetNotInstalledGivesTheOwnerBackAndCreatesOnlyTheViaOptions) {
    machine.values[&WpcrsetStart()] = std::nullopt;
    machine.values[&WpcrsetRunSwitch()] = std::nullopt;
    machine.values[&VIAFix()] = std::nullopt;
    machine.values[&VIAAGP()] = textValue("yes");  // the user's, however odd
    machine.apply(w.env);
    ui::Form owner("frmMain", w.ui());
    owner.show();
    qmfuzz::Session s(user, w, owner);
    const qmfuzz::LoadRules rules = qmfuzz::wpcrsetLoadRules();
    EXPECT_EQ(step(s, [&] { owner.openDialog(std::make_unique<frmWPCRSET>(w.services(), w.ui())); }, &rules), "");
    EXPECT_EQ(owner.openChild(), nullptr);
    EXPECT_EQ(w.box.shown.size(), 1u);
    EXPECT_EQ(w.env.mem.getDword(key::ControlPanel, "VIAFix"), 0u);
    EXPECT_EQ(w.env.mem.getString(key::ControlPanel, "VIAAGP"), "yes");
}

TEST_F(Scenario, MixerPathIsStoredOnlyAsTheProgramThatStarted) {
    machine.values[&AC97MixerLocation()] = textValue("C:\\Old\\AC97Mixer.exe");
    machine.apply(w.env);
    ui::Form owner("frmMain", w.ui());
    owner.show();
    qmfuzz::Session s(user, w, owner);
    auto* f = static_cast<frmAC97Mixer*>(&owner.openDialog(std::make_unique<frmAC97Mixer>(w.services(), w.ui())));
    EXPECT_EQ(step(s, [&] { f->txtAC97Location.setText("   "); }), "");
    EXPECT_EQ(step(s, [&] { f->cmdOK.click(); }, nullptr, &f->cmdOK), "");  // blank: removed, stays open
    EXPECT_FALSE(w.env.mem.get(key::ControlPanel, "AC97MixerLocation"));
    EXPECT_EQ(step(s, [&] { f->txtAC97Location.setText("C:\\AC97Mix\\AC97Mixer.exe"); }), "");
    EXPECT_EQ(step(s, [&] { f->cmdOK.click(); }, nullptr, &f->cmdOK), "");  // starts: stored, closed
    EXPECT_EQ(w.env.mem.getString(key::ControlPanel, "AC97MixerLocation"), "C:\\AC97Mix\\AC97Mixer.exe");
    EXPECT_EQ(owner.openChild(), nullptr);
}

}  // namespace
