// Stored values the driver's setup would never leave, end to end: numbers
// out of range, text where a number belongs, the wrong type, the wrong
// size, texts of 64 KiB. Every window still opens and shows what it can, and
// afterwards the registry holds what was stored, but for the rewrites the
// program's own rules make.
#include <cstdint>
#include <initializer_list>
#include <string>
#include <vector>

#include "AppTest.h"
#include "main/MainBindings.h"

using namespace e2e;

namespace {

constexpr std::uint32_t kRegSz = 1, kRegBinary = 3, kRegDword = 4;
constexpr int kTabA3D = 2;
constexpr int kTabAC97 = 3;
constexpr int kTabDigital = 4;

std::vector<std::uint8_t> bytes(std::initializer_list<int> v) {
    std::vector<std::uint8_t> out;
    for (int b : v) out.push_back(std::uint8_t(b));
    return out;
}

// A text of `n` characters that no list holds and no rule recognises.
std::string huge(std::size_t n, char fill) {
    std::string s(n, fill);
    s.replace(0, 3, "C:\\");
    return s;
}

std::string nameOf(const settings::Setting& s) { return reg::snapshotName(s.key, s.name); }

}  // namespace

class BadValues : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        setUnmanagedWindows(true);
        installDriver();
        reg::createKey(settings::key::A3D);
        reg::createKey(settings::key::EqPreset);
        reg::createKey(settings::key::SpeakerCompensation);
        reg::createKey(settings::key::Equalizer);
        reg::createKey(settings::key::WpcrsetParameters);
        reg::createKey(settings::key::DirectXMedia);
        // What the loading would otherwise create, so that all it writes is
        // a rewrite.
        reg::set(settings::HighPerformanceMIDI(), 0);
        reg::set(settings::SplashAudio(), 0);
        reg::set(settings::SplashScreen(), 0);
    }
    void TearDown() override {
        AppTest::TearDown();
        setUnmanagedWindows(false);
    }

    using S = const settings::Setting&;
    void raw(S s, std::uint32_t type, const std::vector<std::uint8_t>& data) { reg::setRaw(s.key, s.name, type, data); }
    void text(S s, const std::string& t) { reg::setString(s.key, s.name, t); }
    void number(S s, std::uint32_t v) { reg::setDword(s.key, s.name, v); }

    // Opens every dialog in turn, each closed again from its frame.
    void openEveryDialog(const Window& main) {
        for (const std::string& form : dialogForms()) {
            SCOPED_TRACE(form);
            Window dlg = openDialog(app, main, form);
            EXPECT_FALSE(app.findMessageBox().has_value());
            dlg.closeFromFrame();
            ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)))
                << form << " kept the main window";
        }
    }

    // What changed in the registry, less the values `rewritten` names.
    static std::string changesBeyond(reg::Snapshot before, reg::Snapshot after,
                                     const std::vector<std::string>& rewritten) {
        for (const std::string& v : rewritten) {
            before.values.erase(v);
            after.values.erase(v);
        }
        return reg::diff(before, after);
    }
};

TEST_F(BadValues, NumbersOutOfRangeAndValuesOfTheWrongTypeAreShownAsFarAsPossibleAndLeftAlone) {
    using namespace settings;
    number(PrimaryXtalk(), 9);
    text(SoftSynthModeIndex(), "x");
    number(ReverbAmount(), 0xFFFFFFFFu);
    number(ChorusAmount(), 1000);
    number(AspenWavetableEffect(), 7);
    raw(HighPerformanceMIDI(), kRegBinary, bytes({1, 0, 0, 0}));
    number(QuadCodecOutputModeState(), 5);
    number(VIAFix(), 7);
    text(VIAAGP(), "yes");
    number(AnalogEQSrcLine(), 99);
    number(AnalogEQEnableState(), 1);
    raw(AC97MixerLocation(), kRegBinary, bytes({'C', ':', '\\'}));
    number(AC97PCMOutVol(), 40);
    text(AC97PCM2OutVol(), "loud");
    number(AC97MixerFrontOutVol(), 0x80000000u);
    raw(AC97MixerRearOutVol(), kRegDword, bytes({8, 0, 0, 0, 0, 0, 0, 0}));
    raw(SpdifFrequency(), kRegBinary, bytes({0x80, 0xBB, 0, 0}));
    number(ST9704ATTEN(), 3);
    raw(CorrectLA2(), kRegDword, bytes({1, 0}));
    text(DetectSpdifOut(), "yes");
    number(SetGPIO0InQuad(), 9);
    number(SupportAnalogEQ(), 1);
    raw(SplashAudio(), kRegBinary, bytes({1}));
    number(SplashScreen(), 5);
    number(EqBypass(), 5);
    number(ActiveCoefSet(), 3);
    number(PresetNumber(), 12);
    number(WpcrsetStart(), 2);
    number(WpcrsetRunSwitch(), 7);
    text(RegCnt(), "many");
    // Values that are fine, beside the others: they must still show.
    number(DisableAC97Codec3DEffect(), 2);
    number(DetectSpdifIn(), 0);
    number(EnableSpdifIn(), 1);
    text(AU30TRAY(), "C:\\Program Files\\Aureal\\au30tray.exe");
    const reg::Snapshot before = snapshotProgramKeys();

    Window main = startMain();
    EXPECT_FALSE(app.findMessageBox().has_value());
    Control tabs = main.control("SSTab1");
    EXPECT_EQ(main.control("chkPlayA3D").checked(), 0);
    EXPECT_EQ(main.control("chkA3DSplash").checked(), 0);
    EXPECT_EQ(main.control("chkTray").checked(), 1);
    tabs.choose(kTabA3D);
    EXPECT_EQ(main.control("cboA3DType").selectedIndex(), -1);
    tabs.choose(kTabAC97);
    EXPECT_EQ(main.control("chkST3D").checked(), 2);  // grayed, as stored
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i) {
        const mainwin::RangeBinding& bar = mainwin::row(mainwin::Level(i));
        const int at = main.control(bar.control).position();
        EXPECT_TRUE(at >= 0 && at <= bar.max) << bar.control << " at " << at;
    }
    tabs.choose(kTabDigital);
    EXPECT_EQ(main.control("lblDigOut").text(), "");
    EXPECT_EQ(main.control("chkEnIn").checked(), 1);
    EXPECT_FALSE(main.control("chkEnIn").enabled());
    EXPECT_TRUE(main.control("chkEnOut").usable());

    openEveryDialog(main);
    EXPECT_TRUE(app.running());

    // The one rewrite: the tray box, ticked at load, names the tray program.
    EXPECT_EQ(reg::text(AU30TRAY()), "au30tray.exe");
    EXPECT_EQ(changesBeyond(before, snapshotProgramKeys(), {nameOf(AU30TRAY())}), "");
}

TEST_F(BadValues, DialogsShowNoChoiceForValuesTheyCannotShow) {
    using namespace settings;
    number(QuadCodecOutputModeState(), 5);
    number(SetGPIO0InQuad(), 9);
    number(EqBypass(), 5);
    number(PresetNumber(), 12);
    number(SupportAnalogEQ(), 1);
    number(AnalogEQEnableState(), 1);
    number(AnalogEQSrcLine(), 99);
    number(WpcrsetStart(), 2);
    number(WpcrsetRunSwitch(), 7);
    number(VIAFix(), 7);
    text(VIAAGP(), "1 ");

    Window main = startMain();
    const reg::Snapshot before = snapshotProgramKeys();

    Window quad = openDialog(app, main, "frmQuad");
    const std::string mode = quad.control("lblQuad").text();
    EXPECT_NE(mode, "Stereo");
    EXPECT_NE(mode, "Quad");
    EXPECT_EQ(quad.control("chkShare").checked(), 0);
    EXPECT_EQ(quad.control("optQuad", 0).checked() + quad.control("optQuad", 1).checked(), 0);
    quad.closeFromFrame();
    ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));

    Window eq = openDialog(app, main, "frmEQ");
    EXPECT_EQ(eq.control("cboEQPreset").selectedIndex(), -1);
    EXPECT_EQ(eq.control("cboAnalogEQ").selectedIndex(), -1);
    EXPECT_EQ(eq.control("optEQ", 0).checked() + eq.control("optEQ", 1).checked(), 0);
    EXPECT_FALSE(eq.control("cboSpComp").visible());
    EXPECT_FALSE(eq.control("cboMARLO").visible());
    eq.closeFromFrame();
    ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));

    Window wpcr = openDialog(app, main, "frmWPCRSET");
    for (const char* opt : {"optWPCRSET", "optWDevice"})
        EXPECT_EQ(wpcr.control(opt, 0).checked() + wpcr.control(opt, 1).checked(), 0) << opt;
    EXPECT_EQ(wpcr.control("chkVIAFix").checked(), 0);
    EXPECT_EQ(wpcr.control("chkVIAAGP").checked(), 0);
    wpcr.closeFromFrame();
    ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));

    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");
}

// Texts far longer than any the program or the driver writes: read, shown
// or compared, never cut into what lies beside them.
TEST_F(BadValues, TextsOf64KiBAreReadWithoutHarm) {
    using namespace settings;
    text(AU30TRAY(), huge(65536, 'T'));
    text(MediaPlayerProg(), huge(65536, 'M'));
    text(CurrSpeakerComp(), huge(65536, 'S'));
    text(AC97MixerLocation(), huge(65536, 'A'));
    number(PresetNumber(), 6);
    text(AC97PCMOutVol(), std::string(65536, '7'));
    raw(AC97PCM2OutVol(), kRegSz, std::vector<std::uint8_t>(65536, '1'));  // no NUL at the end
    text(SoftSynthModeIndex(), std::string(65535, ' ') + "1");
    const reg::Snapshot before = snapshotProgramKeys();

    Window main = startMain();
    EXPECT_FALSE(app.findMessageBox().has_value());
    EXPECT_EQ(main.control("chkTray").checked(), 1);

    // The speaker model matches no entry, so none is chosen.
    Window eq = openDialog(app, main, "frmEQ");
    EXPECT_EQ(eq.control("cboEQPreset").selectedText(), "Speaker Compensation");
    EXPECT_TRUE(eq.control("cboSpComp").visible());
    EXPECT_EQ(eq.control("cboSpComp").selectedIndex(), -1);
    eq.closeFromFrame();
    ASSERT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));

    // The media player's command line and the mixer's path are tried as
    // they are: neither starts, each is told, and the window stays.
    main.control("SSTab1").choose(0);
    for (int tool : {2, 3}) {
        main.control("ListView1").doubleClickItem(tool);
        MsgBox box = app.messageBox();
        EXPECT_EQ(box.text().rfind("Could not start ", 0), 0u) << box.text().substr(0, 80);
        box.answer(IDOK_);
        EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)));
    }
    EXPECT_FALSE(app.findForm("frmAC97Mixer").has_value());
    EXPECT_TRUE(app.running());

    // The rules that rewrite: the ticked tray box, and choosing the stored
    // preset "Speaker Compensation" at load, which turns the equalizer on
    // and marks its page.
    EXPECT_EQ(reg::text(AU30TRAY()), "au30tray.exe");
    EXPECT_EQ(reg::dword(EqBypass()), 0u);
    EXPECT_EQ(reg::dword(ActiveCoefSet()), 0u);
    EXPECT_EQ(reg::text(ControlPanelPageConfig()), "0123456A");
    const std::vector<std::string> rewritten = {nameOf(AU30TRAY()), nameOf(EqBypass()), nameOf(ActiveCoefSet()),
                                                nameOf(ControlPanelPageConfig()), nameOf(PresetNumber())};
    EXPECT_EQ(changesBeyond(before, snapshotProgramKeys(), rewritten), "");
    EXPECT_EQ(reg::dword(PresetNumber()), 6u);
}
