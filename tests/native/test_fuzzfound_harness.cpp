// The fuzz harness's own checks: each must reject the fault it is there to
// catch and accept what the windows are meant to do, or a fuzz run proves
// nothing. Last, the committed seeds replay clean through every target.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "tests/fuzz/BackupTargets.h"
#include "tests/fuzz/Targets.h"

namespace {

using namespace settings;
using platform::RegValueData;
using qmfuzz::dwordValue;
using qmfuzz::textValue;

struct Finding : std::runtime_error {
    using std::runtime_error::runtime_error;
};

struct Harness : ::testing::Test {
    qmtest::TestEnv env;
    platform::mdlRegistry& reg = env.reg;

    void SetUp() override {
        qmfuzz::onFinding = [](const std::string& what) { throw Finding(what); };
        for (const std::string& k : qmfuzz::catalogueKeys()) env.mem.addKey(k);
    }
    void TearDown() override { qmfuzz::onFinding = nullptr; }

    void put(const Setting& s, const RegValueData& v) { env.mem.setRaw(s.key, s.name, v.type, v.data); }
    void store(const Setting& s, const platform::SettingValue& v) {
        reg.StoreRegSetting(platform::Root::LocalMachine, s.key, s.name, v, s.type);
    }
    // What a load that does `change` is judged to have done.
    std::string load(const qmfuzz::LoadRules& rules, const std::function<void()>& change) {
        const qmfuzz::State before = qmfuzz::capture(env.mem);
        change();
        return qmfuzz::checkLoad(rules, before, qmfuzz::capture(env.mem));
    }
    std::string writes(const std::function<void()>& change) {
        const std::size_t from = env.mem.log().size();
        change();
        return qmfuzz::checkWrites(env.mem, from, {});
    }
};

TEST_F(Harness, LoadRulesAcceptWriteBackAndCreationButNotReplacingWhatTheUserStored) {
    const qmfuzz::LoadRules quad = qmfuzz::quadLoadRules();
    EXPECT_EQ(load(quad, [&] { store(SetGPIO0InQuad(), 0); }), "");  // created where missing

    put(SetGPIO0InQuad(), textValue("1"));
    EXPECT_EQ(load(quad, [&] { store(SetGPIO0InQuad(), 1); }), "");  // the text "1" comes back as 1

    put(SetGPIO0InQuad(), {platform::ValueType::Binary, {9, 9, 9, 9}});
    EXPECT_NE(load(quad, [&] { store(SetGPIO0InQuad(), 0); }), "");  // unreadable, still the user's

    put(SetGPIO0InQuad(), dwordValue(7));
    EXPECT_NE(load(quad, [&] { store(SetGPIO0InQuad(), 0); }), "");
    EXPECT_NE(load(quad, [&] { store(QuadCodecOutputModeState(), 1); }), "");  // the load never writes it

    env.mem.setRaw(key::ControlPanel, "Reg16", platform::ValueType::Dword, {1, 0, 0, 0});
    EXPECT_NE(load(qmfuzz::unchangedLoadRules("frmReset"), [&] {
                  reg.StoreRegSetting(platform::Root::LocalMachine, key::ControlPanel, "Reg16", 2, platform::ValueType::Dword);
              }),
              "");
}

TEST_F(Harness, MainLoadRulesFollowTheStoredModeAndTheTrayRule) {
    const qmfuzz::LoadRules onXP = qmfuzz::mainLoadRules(true), override = qmfuzz::mainLoadRules(false);
    put(SoftSynthModeIndex(), dwordValue(1));
    EXPECT_EQ(load(onXP, [&] {
                  for (auto [s, v] : {std::pair{&GamerMode(), 0}, {&SoftSynthVoices(), 64}, {&SoftSynthMode(), 2},
                                      {&SoftSynthModeIndex(), 1}, {&SoftSynth(), 2}})
                      store(*s, v);
              }),
              "");
    EXPECT_NE(load(onXP, [&] { store(GamerMode(), 1); }), "");  // the 320-voice companion

    // A check box value that was missing is not the load's to create.
    EXPECT_NE(load(onXP, [&] { store(ST9704ATTEN(), 0); }), "");
    EXPECT_EQ(load(onXP, [&] { store(HighPerformanceMIDI(), 0); }), "");

    put(AU30TRAY(), textValue("C:\\WINDOWS\\au30tray.exe"));
    EXPECT_EQ(load(onXP, [&] { store(AU30TRAY(), "au30tray.exe"); }), "");
    put(AU30TRAY(), textValue("C:\\WINDOWS\\au30tray.exe"));
    EXPECT_NE(load(override, [&] { store(AU30TRAY(), "au30tray.exe"); }), "");
}

TEST_F(Harness, EqualizerLoadReinstallsOnlyTheStoredPresetsSet) {
    const qmfuzz::LoadRules eq = qmfuzz::eqLoadRules();
    put(PresetNumber(), dwordValue(2));
    auto install = [&](equalizer::EqCurve c) {
        const auto set = qmfuzz::coefSet(c);
        env.mem.setRaw(key::Equalizer, "CoefSet0", platform::ValueType::Binary, set);
    };
    EXPECT_EQ(load(eq, [&] { install(equalizer::EqCurve::Pop); }), "");
    EXPECT_NE(load(eq, [&] { install(equalizer::EqCurve::Rock); }), "");

    put(PresetNumber(), dwordValue(5));  // "User": no set until a curve is chosen
    put(EqBypass(), dwordValue(1));
    EXPECT_NE(load(eq, [&] { install(equalizer::EqCurve::Flat); }), "");
    EXPECT_NE(load(eq, [&] { store(EqBypass(), 0); }), "");
    put(EqBypass(), dwordValue(1));
    EXPECT_EQ(load(eq, [&] { store(EqBypass(), 1); }), "");  // "Off" selected, written back
}

TEST_F(Harness, EveryWriteMustBeACatalogueValueOfItsTypeAndMeaning) {
    EXPECT_EQ(writes([&] {
                  store(PrimaryXtalk(), 3);
                  store(AU30TRAY(), "au30tray.exe");
                  reg.RemoveRegValue(platform::Root::LocalMachine, key::Run, "AU30TRAY");
                  reg.MakeRegKey(platform::Root::LocalMachine, key::A3D);
              }),
              "");
    EXPECT_NE(writes([&] { store(PrimaryXtalk(), 4); }), "");
    EXPECT_NE(writes([&] { reg.StoreRegSetting(platform::Root::LocalMachine, key::ControlPanel, "PrimaryXtalk", "2",
                                               platform::ValueType::Text); }),
              "");
    EXPECT_NE(writes([&] { store(AU30TRAY(), "C:\\au30tray.exe"); }), "");
    EXPECT_NE(writes([&] { store(MediaPlayerProg(), "wmplayer.exe"); }), "");  // read, never written
    EXPECT_NE(writes([&] { reg.StoreRegSetting(platform::Root::LocalMachine, key::ControlPanel, "Extra", 1,
                                               platform::ValueType::Dword); }),
              "");
    store(PresetNumber(), 1);
    EXPECT_NE(writes([&] { reg.RemoveRegValue(platform::Root::LocalMachine, key::EqPreset, "PresetNumber"); }), "");
    EXPECT_NE(writes([&] { reg.MakeRegKey(platform::Root::LocalMachine, "Software\\Aureal\\Other"); }), "");
    platform::RegKey open = 0;
    EXPECT_NE(writes([&] { env.mem.openKey(platform::Root::LocalMachine, key::Run, platform::Access::ReadWrite, open); }), "");
    env.mem.closeKey(open);

    std::string started = "C:\\AC97Mix\\AC97Mixer.exe";
    const std::size_t from = env.mem.log().size();
    store(AC97MixerLocation(), "C:\\Other.exe");
    EXPECT_NE(qmfuzz::checkWrites(env.mem, from, {&started}), "");  // not the program that was started
}

// A window that looks like the quad dialog to the checks, with faults on request.
struct FakeQuad : ui::Form {
    ui::CheckBox chkShare{*this, "chkShare"};
    ui::OptionArray optQuad{*this, "optQuad", 2};
    ui::Label lblQuad{*this, "lblQuad"};
    settings::Store store;
    int stores = 0;  // what chkShare stores instead of its state, when not -1
    FakeQuad(qmtest::TestEnv& env, int storesInstead)
        : ui::Form("frmQuad", env.ui()), store(env.reg), stores(storesInstead) {
        chkShare.Click = [this] {
            store.store(SetGPIO0InQuad(), stores < 0 ? chkShare.value() : stores);
        };
    }
};

TEST_F(Harness, ControlsMustShowAndStoreTheirSettings) {
    for (int storesInstead : {-1, 0}) {
        FakeQuad q(env, storesInstead);
        const qmfuzz::ControlStates before = qmfuzz::statesOf(q);
        q.chkShare.setValue(1);
        const std::string problem = qmfuzz::checkWriteThrough(q, before, env.mem);
        EXPECT_EQ(problem.empty(), storesInstead < 0) << problem;
    }
    put(SetGPIO0InQuad(), dwordValue(1));
    put(QuadCodecOutputModeState(), dwordValue(1));
    const qmfuzz::State stored = qmfuzz::capture(env.mem);
    FakeQuad q(env, -1);
    q.lblQuad.setCaption("Quad");
    EXPECT_NE(qmfuzz::checkShown(q, stored), "");  // the box is not ticked
    q.chkShare.setValue(1);
    EXPECT_EQ(qmfuzz::checkShown(q, stored), "");
    q.lblQuad.setCaption("Stereo");
    EXPECT_NE(qmfuzz::checkShown(q, stored), "");
}

TEST_F(Harness, TheMainWindowMustComeBackWhenItsDialogCloses) {
    ui::Form main("frmMain", env.ui());
    main.show();
    EXPECT_EQ(qmfuzz::checkHandOver(main), "");
    ui::Form& d = main.openDialog(std::make_unique<ui::Form>("frmQuad", env.ui()));
    EXPECT_EQ(qmfuzz::checkHandOver(main), "");
    main.setEnabled(true);
    EXPECT_NE(qmfuzz::checkHandOver(main), "");  // usable behind its dialog
    d.giveBack();
    EXPECT_EQ(qmfuzz::checkHandOver(main), "");
    main.hide();
    EXPECT_NE(qmfuzz::checkHandOver(main), "");  // no dialog, no main window
}

TEST_F(Harness, ASessionReportsAFaultyHandlerAtTheActionThatRevealsIt) {
    // The user's half ticks the box (the only control) twice; the machine's
    // half is empty: an ordinary machine.
    const std::uint8_t input[] = {0, 0, 0, 0};
    qmfuzz::FuzzInput user = qmfuzz::FuzzInput::user(input, sizeof input);
    qmfuzz::World w(user);
    qmtest::TestEnv& e = w.env;
    for (const std::string& k : qmfuzz::catalogueKeys()) e.mem.addKey(k);
    FakeQuad q(e, 0);
    q.show();
    qmfuzz::Session session(user, w, q);
    try {
        session.run();
        FAIL() << "the wrong value went unnoticed";
    } catch (const Finding& f) {
        EXPECT_NE(std::string(f.what()).find("frmQuad.chkShare"), std::string::npos) << f.what();
    }
}

TEST_F(Harness, TheTwoHalvesOfAnInputAreReadApartAndRunOutIntoZeros) {
    const std::uint8_t input[] = {1, 2, 3, 4, 5};
    qmfuzz::FuzzInput user = qmfuzz::FuzzInput::user(input, sizeof input);
    qmfuzz::FuzzInput machine = qmfuzz::FuzzInput::machine(input, sizeof input);
    EXPECT_EQ(user.byte(), 1);
    EXPECT_EQ(user.byte(), 2);
    EXPECT_TRUE(user.empty());
    EXPECT_EQ(user.byte(), 0);
    EXPECT_EQ(machine.u16(), 5 | 4 << 8);  // from the far end inwards
    EXPECT_EQ(machine.byte(), 3);
    EXPECT_EQ(machine.u32(), 0u);
    EXPECT_FALSE(machine.rarely(4));  // 0 is always the ordinary case
}

// The machine an empty input describes is a working XP installation: the
// program loads on it without a word and shows every setting.
TEST_F(Harness, AnEmptyMachineIsAnOrdinaryDriverInstallation) {
    qmtest::TestEnv e;
    qmfuzz::FuzzInput none = qmfuzz::FuzzInput::machine(nullptr, 0);
    qmfuzz::buildMachine(none, e);
    for (const std::string& k : qmfuzz::catalogueKeys()) EXPECT_TRUE(e.mem.hasKey(k)) << k;
    EXPECT_EQ(e.mem.getDword(key::ControlPanel, "PrimaryXtalk"), 2u);
    EXPECT_EQ(e.mem.getString(key::Run, "AU30TRAY"), "au30tray.exe");
    EXPECT_FALSE(e.mem.get(key::ControlPanel, "AC97MixerLocation"));

    frmMain w(e.services(), e.ui());
    w.show();
    EXPECT_TRUE(e.msg.shown.empty());
    EXPECT_EQ(w.cboA3DType.listIndex(), 2);
    EXPECT_EQ(w.hsbFront.value(), 8);
    EXPECT_EQ(w.txtDrvVer.text(), "5.12.1.2560");
    EXPECT_EQ(w.txtADMSize.text(), "747392");
}

// Each edit is a few bytes from the end: op, what, how.
TEST_F(Harness, MachineEditsMakeOneKeyValueOrVersionOdd) {
    const auto index = [](const Setting& s) {
        return static_cast<std::uint8_t>(&s - settings::all().data());
    };
    const auto keyIndex = [](const char* k) {
        const auto& keys = qmfuzz::catalogueKeys();
        return static_cast<std::uint8_t>(std::find(keys.begin(), keys.end(), k) - keys.begin());
    };
    std::vector<std::uint8_t> edits = {
        0, index(PrimaryXtalk()), 5, 5,          // a value: PrimaryXtalk, as the text of kInteresting[5]
        8, keyIndex(key::SpeakerCompensation), 0,  // a key: missing
        8, keyIndex(key::Customization), 1,        // a key: denied
        10, 0,                                     // the Windows version: 2000
    };
    std::reverse(edits.begin(), edits.end());  // the machine's half is read from its end
    std::vector<std::uint8_t> input(edits.size(), 0);  // the user's half: nothing
    input.insert(input.end(), edits.begin(), edits.end());
    qmtest::TestEnv e;
    qmfuzz::FuzzInput machine = qmfuzz::FuzzInput::machine(input.data(), input.size());
    qmfuzz::buildMachine(machine, e);

    EXPECT_EQ(e.mem.getString(key::ControlPanel, "PrimaryXtalk"), "5");
    EXPECT_FALSE(e.mem.hasKey(key::SpeakerCompensation));
    platform::RegKey k = 0;
    EXPECT_EQ(e.mem.openKey(platform::Root::LocalMachine, key::Customization, platform::Access::ReadWrite, k), platform::RegStatus::AccessDenied);
    platform::WindowsVersionInfo v;
    platform::DetectWindowsName(e.version, v);
    EXPECT_EQ(v.name, "Windows 2000");
}

// Every committed seed of every target, run as the fuzzer runs it.
TEST_F(Harness, CommittedSeedsReplayCleanThroughEveryTarget) {
    const std::pair<const char*, void (*)(const std::uint8_t*, std::size_t)> targets[] = {
        {"fuzz_main", qmfuzz::fuzzMain},   {"fuzz_eq", qmfuzz::fuzzEQ},       {"fuzz_wpcrset", qmfuzz::fuzzWPCRSET},
        {"fuzz_reset", qmfuzz::fuzzReset}, {"fuzz_quad", qmfuzz::fuzzQuad},   {"fuzz_mixer", qmfuzz::fuzzMixer},
        {"fuzz_info", qmfuzz::fuzzInfo},   {"fuzz_backup_reader", qmfuzz::fuzzBackupReader},
        {"fuzz_backup_roundtrip", qmfuzz::fuzzBackupRoundTrip}};
    const auto corpus = std::filesystem::path(__FILE__).parent_path().parent_path() / "fuzz" / "corpus";
    ASSERT_TRUE(std::filesystem::is_directory(corpus)) << corpus;
    for (const auto& [name, run] : targets) {
        std::size_t seeds = 0;
        for (const auto& f : std::filesystem::directory_iterator(corpus / name)) {
            std::ifstream in(f.path(), std::ios::binary);
            const std::vector<std::uint8_t> bytes{std::istreambuf_iterator<char>(in), {}};
            try {
                run(bytes.data(), bytes.size());
            } catch (const Finding& finding) {
                ADD_FAILURE() << f.path().filename() << " of " << name << ": " << finding.what();
            }
            ++seeds;
        }
        EXPECT_GT(seeds, 0u) << name;
    }
}

}  // namespace
