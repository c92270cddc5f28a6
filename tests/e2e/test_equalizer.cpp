// "Equalizer Settings" in the real program: opened from the main window,
// it installs the chosen coefficient set as CoefSet0, switches the
// equalizer on and off and chooses the analog equalizer's line; all read
// back from the real registry. The expected sets come from the program's
// own data, converted here independently of the program's converter.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "AppTest.h"

#include <windows.h>
#include "tests/common/CoefText.h"

using namespace e2e;
using equalizer::EqCurve;
using equalizer::SpeakerModel;

namespace {

constexpr int kTabDigital = 4;

std::vector<std::uint8_t> bytesOf(const char* hexText) {
    std::vector<std::uint8_t> out;
    std::string item;
    for (const char* p = hexText;; ++p) {
        if (*p == ',' || *p == '\0') {
            out.push_back(std::uint8_t(std::strtoul(item.c_str(), nullptr, 16)));
            item.clear();
            if (*p == '\0') break;
        } else {
            item += *p;
        }
    }
    return out;
}

std::vector<std::uint8_t> setOf(EqCurve c) { return bytesOf(equalizer::hexText(c)); }
std::vector<std::uint8_t> setOf(SpeakerModel m) { return bytesOf(equalizer::hexText(m)); }

// Which of the ten sets these bytes are, for a readable failure.
std::string nameOf(const std::vector<std::uint8_t>& bytes) {
    for (EqCurve c : equalizer::kAllCurves)
        if (setOf(c) == bytes) return equalizer::name(c);
    for (SpeakerModel m : equalizer::kAllSpeakers)
        if (setOf(m) == bytes) return equalizer::name(m);
    return "no known set (" + std::to_string(bytes.size()) + " bytes)";
}

// CoefSet0 holds exactly `want`, as REG_BINARY.
::testing::AssertionResult coefSetIs(const char*, const std::vector<std::uint8_t>& want) {
    auto v = reg::get(settings::CoefSet0());
    if (!v) return ::testing::AssertionFailure() << "CoefSet0 is missing";
    if (v->type != REG_BINARY)
        return ::testing::AssertionFailure() << "CoefSet0 is " << v->describe() << ", not REG_BINARY";
    if (v->data != want)
        return ::testing::AssertionFailure() << "CoefSet0 holds " << nameOf(v->data) << ", not " << nameOf(want);
    return ::testing::AssertionSuccess();
}

#define EXPECT_COEFSET(want) EXPECT_PRED_FORMAT1(coefSetIs, want)

}  // namespace

class Equalizer : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        installDriver();
        // Where the dialog keeps the preset and the speaker model; the
        // driver's setup makes them, the program only opens them.
        reg::createKey(settings::key::EqPreset);
        reg::createKey(settings::key::SpeakerCompensation);
    }

    // Opens the dialog with "Equalizer Settings", starting the program the
    // first time; the main window goes out of the way.
    Window openEqualizer() {
        if (!main) {
            main = startMain();
            main.control("SSTab1").choose(kTabDigital);
        }
        EXPECT_EQ(main.control("cmdEQSettings").text(), "Equalizer Settings");
        main.control("cmdEQSettings").click();
        Window eq = app.form("frmEQ");
        EXPECT_EQ(eq.text(), "Equalizer Settings");
        EXPECT_FALSE(main.visible()) << "the main window stays shown under the dialog";
        EXPECT_FALSE(main.enabled()) << "the main window stays usable under the dialog";
        return eq;
    }

    // Closes with "OK", or with the title bar's close box, and checks that
    // the main window is back, and that closing wrote nothing.
    void close(Window& eq, bool withCloseBox) {
        const reg::Snapshot before = snapshotProgramKeys();
        if (withCloseBox)
            eq.closeFromFrame();
        else
            eq.control("cmdOK").clickAsync();
        EXPECT_TRUE(waitUntil([&] { return main.visible() && main.enabled(); }, scaled(kStepTimeout)))
            << "the main window did not come back (visible " << main.visible() << ", enabled " << main.enabled()
            << ")";
        EXPECT_TRUE(waitUntil([&] { return !eq.exists() || !eq.visible(); }, scaled(kStepTimeout)))
            << "the dialog is still shown";
        EXPECT_FALSE(app.findMessageBox().has_value());
        EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");
        EXPECT_TRUE(main.control("cmdEQSettings").usable());
    }

    std::optional<std::uint32_t> dword(const settings::Setting& s) { return reg::dword(s); }

    Window main;
};

TEST_F(Equalizer, FirstOpeningInstallsRockAndOkGivesTheMainWindowBack) {
    for (const settings::Setting* s :
         {&settings::SupportAnalogEQ(), &settings::AnalogEQSrcLine(), &settings::AnalogEQEnableState()})
        reg::remove(*s);
    ASSERT_FALSE(reg::keyExists(settings::key::Equalizer));

    Window eq = openEqualizer();
    Control preset = eq.control("cboEQPreset");
    EXPECT_EQ(preset.items(), (std::vector<std::string>{"Rock", "Classical", "Pop", "Jazz", "Dance", "User",
                                                        "Speaker Compensation"}));
    EXPECT_EQ(preset.selectedText(), "Rock");
    EXPECT_EQ(eq.control("optEQ", 0).text(), "On");
    EXPECT_EQ(eq.control("optEQ", 0).checked(), 1);
    EXPECT_EQ(eq.control("optEQ", 1).checked(), 0);
    EXPECT_FALSE(eq.control("cboSpComp").visible());
    EXPECT_FALSE(eq.control("cboMARLO").visible());

    // The driver's Equalizer key is made for the set.
    EXPECT_COEFSET(setOf(EqCurve::Rock));
    EXPECT_EQ(dword(settings::PresetNumber()), 0u);
    EXPECT_EQ(dword(settings::EqBypass()), 0u);
    EXPECT_EQ(dword(settings::ActiveCoefSet()), 0u);

    Control analog = eq.control("cboAnalogEQ");
    EXPECT_EQ(analog.items(), (std::vector<std::string>{"None", "Phone", "Microphone", "Line-In", "CD-ROM", "Video",
                                                        "Auxiliary"}));
    EXPECT_EQ(analog.selectedText(), "None");
    EXPECT_EQ(dword(settings::SupportAnalogEQ()), 0u);
    EXPECT_EQ(dword(settings::AnalogEQSrcLine()), 3u);
    EXPECT_EQ(dword(settings::AnalogEQEnableState()), 0u);

    close(eq, false);
}

TEST_F(Equalizer, PresetsInstallTheirSetsAndTurnTheEqualizerBackOn) {
    Window eq = openEqualizer();
    Control on = eq.control("optEQ", 0), off = eq.control("optEQ", 1);
    off.click();
    EXPECT_EQ(dword(settings::EqBypass()), 1u);
    on.click();
    EXPECT_EQ(dword(settings::EqBypass()), 0u);
    EXPECT_EQ(on.checked(), 1);
    EXPECT_EQ(off.checked(), 0);
    off.click();
    EXPECT_EQ(dword(settings::EqBypass()), 1u);
    EXPECT_EQ(on.checked(), 0);

    Control preset = eq.control("cboEQPreset");
    const EqCurve curves[] = {EqCurve::Rock, EqCurve::Classical, EqCurve::Pop, EqCurve::Jazz, EqCurve::Dance};
    for (int k : {1, 2, 3, 4, 0}) {
        SCOPED_TRACE(equalizer::name(curves[k]));
        preset.choose(k);
        EXPECT_COEFSET(setOf(curves[k]));
        EXPECT_EQ(dword(settings::PresetNumber()), std::uint32_t(k));
        // Installed on, though "Off" stays shown.
        EXPECT_EQ(dword(settings::EqBypass()), 0u);
        EXPECT_EQ(dword(settings::ActiveCoefSet()), 0u);
        EXPECT_EQ(off.checked(), 1);
        EXPECT_FALSE(eq.control("cboSpComp").visible());
        EXPECT_FALSE(eq.control("cboMARLO").visible());
    }

    // "Off" is still chosen; only a change of the choice is written.
    preset.choose("Pop");
    on.click();
    off.click();
    EXPECT_EQ(dword(settings::EqBypass()), 1u);
    close(eq, false);

    // The stored preset is shown and installed again, and that turns the
    // equalizer on, while "Off" shows what was read.
    reg::setBinary(settings::key::Equalizer, "CoefSet0", setOf(EqCurve::Flat));
    eq = openEqualizer();
    EXPECT_EQ(eq.control("cboEQPreset").selectedText(), "Pop");
    EXPECT_EQ(eq.control("optEQ", 1).checked(), 1);
    EXPECT_EQ(eq.control("optEQ", 0).checked(), 0);
    EXPECT_COEFSET(setOf(EqCurve::Pop));
    EXPECT_EQ(dword(settings::EqBypass()), 0u);
    // Clicking the "Off" that is shown is a choice: the equalizer goes off.
    eq.control("optEQ", 1).click();
    EXPECT_EQ(dword(settings::EqBypass()), 1u);
    close(eq, true);
}

TEST_F(Equalizer, UserCurvesInstallTheirSetsAndKeepPresetFive) {
    Window eq = openEqualizer();
    Control preset = eq.control("cboEQPreset");
    preset.choose("Dance");
    ASSERT_TRUE(coefSetIs("", setOf(EqCurve::Dance)));

    preset.choose("User");
    EXPECT_EQ(dword(settings::PresetNumber()), 5u);
    EXPECT_COEFSET(setOf(EqCurve::Dance)) << "choosing \"User\" alone installs nothing";
    Control user = eq.control("cboMARLO");
    EXPECT_TRUE(user.usable());
    EXPECT_EQ(user.selectedIndex(), -1);
    EXPECT_FALSE(eq.control("cboSpComp").visible());
    EXPECT_EQ(user.items(), (std::vector<std::string>{"Rock", "Dance", "Pop", "Jazz", "Classical", "Flat"}));

    // In this list's own order, by name.
    const EqCurve curves[] = {EqCurve::Rock, EqCurve::Dance, EqCurve::Pop,
                              EqCurve::Jazz, EqCurve::Classical, EqCurve::Flat};
    for (int k = 0; k < 6; ++k) {
        SCOPED_TRACE(equalizer::name(curves[k]));
        user.choose(k);
        EXPECT_COEFSET(setOf(curves[k]));
        EXPECT_EQ(dword(settings::PresetNumber()), 5u);
        EXPECT_EQ(dword(settings::EqBypass()), 0u);
        EXPECT_EQ(dword(settings::ActiveCoefSet()), 0u);
    }
    close(eq, true);

    // Opening again shows "User" with no curve chosen and installs nothing.
    eq = openEqualizer();
    EXPECT_EQ(eq.control("cboEQPreset").selectedText(), "User");
    EXPECT_TRUE(eq.control("cboMARLO").usable());
    EXPECT_EQ(eq.control("cboMARLO").selectedIndex(), -1);
    EXPECT_COEFSET(setOf(EqCurve::Flat));
    close(eq, false);
}

TEST_F(Equalizer, SpeakerModelsInstallTheirSetsAndTheModelIsRemembered) {
    Window eq = openEqualizer();
    Control preset = eq.control("cboEQPreset");
    preset.choose("User");
    const std::vector<std::uint8_t> before = reg::get(settings::CoefSet0())->data;

    preset.choose("Speaker Compensation");
    EXPECT_EQ(dword(settings::PresetNumber()), 6u);
    EXPECT_EQ(reg::text(settings::ControlPanelPageConfig()), "0123456A");
    EXPECT_EQ(dword(settings::EqBypass()), 0u);
    EXPECT_EQ(dword(settings::ActiveCoefSet()), 0u);
    EXPECT_COEFSET(before) << "no set before a model is chosen";
    Control model = eq.control("cboSpComp");
    EXPECT_TRUE(model.usable());
    EXPECT_EQ(model.selectedIndex(), -1);
    EXPECT_FALSE(eq.control("cboMARLO").visible());

    // A speaker set leaves the equalizer switch as the user set it.
    eq.control("optEQ", 1).click();
    EXPECT_EQ(dword(settings::EqBypass()), 1u);
    for (SpeakerModel m : equalizer::kAllSpeakers) {
        SCOPED_TRACE(equalizer::name(m));
        model.choose(equalizer::name(m));
        EXPECT_COEFSET(setOf(m));
        EXPECT_EQ(reg::text(settings::CurrSpeakerComp()), equalizer::name(m));
        EXPECT_EQ(dword(settings::PresetNumber()), 6u);
        EXPECT_EQ(dword(settings::EqBypass()), 1u);
    }
    close(eq, true);

    // The stored model is shown and its set installed again.
    reg::setBinary(settings::key::Equalizer, "CoefSet0", setOf(EqCurve::Flat));
    eq = openEqualizer();
    EXPECT_EQ(eq.control("cboEQPreset").selectedText(), "Speaker Compensation");
    // Windows stores the name with its terminating NUL, whatever length the
    // program gave; read back, it must still name the model.
    EXPECT_EQ(eq.control("cboSpComp").selectedText(), "Altec Lansing ADA880");
    EXPECT_COEFSET(setOf(SpeakerModel::AltecLansingADA880));
    EXPECT_EQ(eq.control("optEQ", 1).checked(), 1);
    close(eq, false);

    // A model name in other letters is no model: nothing chosen, nothing installed.
    reg::setText(settings::CurrSpeakerComp(), "altec lansing ada880");
    reg::setBinary(settings::key::Equalizer, "CoefSet0", setOf(EqCurve::Flat));
    eq = openEqualizer();
    EXPECT_TRUE(eq.control("cboSpComp").usable());
    EXPECT_EQ(eq.control("cboSpComp").selectedIndex(), -1);
    EXPECT_COEFSET(setOf(EqCurve::Flat));
    EXPECT_EQ(reg::text(settings::CurrSpeakerComp()), "altec lansing ada880");
    close(eq, true);
}

TEST_F(Equalizer, AnalogChannelShowsTheStoredLineAndWritesItsThreeValues) {
    reg::set(settings::SupportAnalogEQ(), 1);
    reg::set(settings::AnalogEQEnableState(), 1);
    reg::set(settings::AnalogEQSrcLine(), 4);
    Window eq = openEqualizer();
    Control analog = eq.control("cboAnalogEQ");
    EXPECT_EQ(analog.selectedText(), "Video");
    struct Line {
        const char* entry;
        std::uint32_t support, line, enabled;
    } const lines[] = {{"Auxiliary", 1, 5, 1}, {"CD-ROM", 1, 3, 1}, {"Line-In", 1, 2, 1}, {"Microphone", 1, 1, 1},
                       {"Phone", 1, 0, 1},     {"None", 0, 3, 0},   {"Line-In", 1, 2, 1}};
    for (const Line& l : lines) {
        SCOPED_TRACE(l.entry);
        analog.choose(l.entry);
        EXPECT_EQ(dword(settings::SupportAnalogEQ()), l.support);
        EXPECT_EQ(dword(settings::AnalogEQSrcLine()), l.line);
        EXPECT_EQ(dword(settings::AnalogEQEnableState()), l.enabled);
    }
    close(eq, false);

    // Supported but switched off reads as "None", and is written so.
    reg::set(settings::AnalogEQEnableState(), 0);
    eq = openEqualizer();
    EXPECT_EQ(eq.control("cboAnalogEQ").selectedText(), "None");
    EXPECT_EQ(dword(settings::SupportAnalogEQ()), 0u);
    EXPECT_EQ(dword(settings::AnalogEQSrcLine()), 3u);
    EXPECT_EQ(dword(settings::AnalogEQEnableState()), 0u);
    close(eq, true);
}
