#include <gtest/gtest.h>

#include "equalizer/frmEQ.h"
#include "settings/Catalogue.h"
#include "tests/common/CoefText.h"
#include "support/TestEnv.h"

using namespace equalizer;
using Log = std::vector<std::string>;

namespace {
const char* kEq = settings::key::Equalizer;
const char* kPreset = settings::key::EqPreset;
const char* kSpeaker = settings::key::SpeakerCompensation;
const char* kCP = settings::key::ControlPanel;
const char* kCust = settings::key::Customization;

struct EqDialog : ::testing::Test {
    qmtest::TestEnv env;
    ui::Form main{"frmMain", env.ui()};

    EqDialog() {
        for (const char* k : {kEq, kPreset, kSpeaker, kCP, kCust}) env.mem.addKey(k);
        main.show();
    }
    frmEQ& open() { return static_cast<frmEQ&>(main.openDialog(std::make_unique<frmEQ>(env.services(), env.ui()))); }
    // The writes so far as "name=value"; a coefficient set by its name.
    Log writes() {
        Log out;
        for (const auto& e : env.mem.log()) {
            if (e.op != platform::RegLogEntry::Set) continue;
            const auto& d = e.value.data;
            std::string v(d.begin(), d.end());
            if (e.value.type == platform::ValueType::Dword) v = std::to_string(std::int32_t(platform::dwordFromBytes(d.data())));
            if (e.value.type == platform::ValueType::Binary) {
                v = "?";
                for (EqCurve c : kAllCurves)
                    if (d == HexTextToBytes(hexText(c))) v = name(c);
                for (SpeakerModel m : kAllSpeakers)
                    if (d == HexTextToBytes(hexText(m))) v = name(m);
            }
            out.push_back(e.name + "=" + v);
        }
        env.mem.clearLog();
        return out;
    }
};

Log installed(const std::string& set) { return {"CoefSet0=" + set, "EqBypass=0", "ActiveCoefSet=0"}; }
Log operator+(Log a, const Log& b) {
    a.insert(a.end(), b.begin(), b.end());
    return a;
}
const Log kNone = {"SupportAnalogEQ=0", "AnalogEQSrcLine=3", "AnalogEQEnableState=0"};
}  // namespace

TEST_F(EqDialog, LayoutAndLists) {
    frmEQ& f = open();
    EXPECT_EQ(f.caption(), "Equalizer Settings");
    EXPECT_EQ(f.cboEQPreset.items(), (Log{"Rock", "Classical", "Pop", "Jazz", "Dance", "User", "Speaker Compensation"}));
    EXPECT_EQ(f.cboMARLO.items(), (Log{"Rock", "Dance", "Pop", "Jazz", "Classical", "Flat"}));
    EXPECT_EQ(f.cboSpComp.items(),
              (Log{"Philips DSS330", "Sonigistix Monsoon MM-700", "Yamaha YSTM100", "Altec Lansing ADA880"}));
    EXPECT_EQ(f.cboAnalogEQ.items(), (Log{"None", "Phone", "Microphone", "Line-In", "CD-ROM", "Video", "Auxiliary"}));
}

TEST_F(EqDialog, FirstOpeningInstallsRockAndNone) {
    frmEQ& f = open();
    EXPECT_EQ(writes(), (Log{"EqBypass=0", "PresetNumber=0"} + installed("Rock") + kNone));
    EXPECT_EQ(f.optEQ.selected(), 0);
    EXPECT_EQ(f.cboEQPreset.listIndex(), 0);
    EXPECT_EQ(f.cboAnalogEQ.listIndex(), 0);
    EXPECT_FALSE(f.cboSpComp.visible() || f.cboMARLO.visible() || f.cboSpComp.enabled() || f.cboMARLO.enabled());
    EXPECT_FALSE(main.visible());
    EXPECT_TRUE(env.msg.shown.empty());
}

TEST_F(EqDialog, StoredPopAndOffReinstallsPopWhileOffStaysShown) {
    env.mem.setDword(kPreset, "PresetNumber", 2);
    env.mem.setDword(kEq, "EqBypass", 1);
    frmEQ& f = open();
    EXPECT_EQ(writes(), (Log{"EqBypass=1", "PresetNumber=2"} + installed("Pop") + kNone));
    EXPECT_EQ(f.cboEQPreset.text(), "Pop");
    EXPECT_EQ(f.optEQ.selected(), 1);  // no preset changes the buttons
    EXPECT_EQ(env.mem.getDword(kEq, "EqBypass"), 0u);
}

TEST_F(EqDialog, UserPresetWaitsForACurveAndKeepsPresetNumber5) {
    env.mem.setDword(kPreset, "PresetNumber", 5);
    frmEQ& f = open();
    EXPECT_EQ(writes(), (Log{"EqBypass=0", "PresetNumber=5"} + kNone));
    EXPECT_TRUE(f.cboMARLO.visible() && f.cboMARLO.enabled());
    EXPECT_FALSE(f.cboSpComp.visible() || f.cboSpComp.enabled());
    EXPECT_EQ(f.cboMARLO.listIndex(), -1);
    const Log curves[] = {{"Rock"}, {"Dance"}, {"Pop"}, {"Jazz"}, {"Classical"}, {"Flat"}};
    for (int i : {5, 1, 4, 0, 2, 3}) {
        f.cboMARLO.setListIndex(i);
        EXPECT_EQ(writes(), installed(curves[i][0]));
    }
    EXPECT_EQ(env.mem.getDword(kPreset, "PresetNumber"), 5u);
}

TEST_F(EqDialog, StoredSpeakerModelIsReinstalledOnlyWhenSpelledExactlyBarOneTerminator) {
    env.mem.setDword(kPreset, "PresetNumber", 6);
    env.mem.setString(kSpeaker, "CurrSpeakerComp", "Altec Lansing ADA880");
    frmEQ& f = open();
    const Log speakerComp = {"PresetNumber=6", "ControlPanelPageConfig=0123456A", "EqBypass=0", "ActiveCoefSet=0"};
    const Log model = {"PresetNumber=6", "CurrSpeakerComp=Altec Lansing ADA880", "CoefSet0=Altec Lansing ADA880"};
    EXPECT_EQ(writes(), Log{"EqBypass=0"} + speakerComp + model + kNone);
    EXPECT_EQ(f.cboSpComp.listIndex(), 3);
    EXPECT_TRUE(f.cboSpComp.visible() && f.cboSpComp.enabled() && !f.cboMARLO.visible());
    f.cmdOK.click();

    // As regedit imports it: one terminating NUL is no part of the name.
    env.mem.setString(kSpeaker, "CurrSpeakerComp", std::string("Altec Lansing ADA880\0", 21));
    frmEQ& terminated = open();
    EXPECT_EQ(terminated.cboSpComp.listIndex(), 3);
    EXPECT_EQ(writes(), Log{"EqBypass=0"} + speakerComp + model + kNone);
    terminated.cmdOK.click();

    for (const std::string& other : {std::string("altec lansing ADA880"), std::string("Altec Lansing ADA880\0\0", 22)}) {
        env.mem.setString(kSpeaker, "CurrSpeakerComp", other);
        frmEQ& g = open();
        EXPECT_EQ(g.cboSpComp.listIndex(), -1);
        EXPECT_EQ(writes(), Log{"EqBypass=0"} + speakerComp + kNone);
        g.cmdOK.click();
    }
}

TEST_F(EqDialog, PresetHandlersWriteTheirSetsInOrder) {
    frmEQ& f = open();
    writes();
    const char* sets[] = {"Rock", "Classical", "Pop", "Jazz", "Dance"};
    for (int k : {4, 1, 3, 2, 0}) {
        f.cboEQPreset.setListIndex(k);
        EXPECT_EQ(writes(), Log{"PresetNumber=" + std::to_string(k)} + installed(sets[k]));
    }
    f.cboEQPreset.setListIndex(6);
    EXPECT_EQ(writes(), (Log{"PresetNumber=6", "ControlPanelPageConfig=0123456A", "EqBypass=0", "ActiveCoefSet=0"}));
    EXPECT_EQ(env.mem.get(kEq, "CoefSet0")->data, HexTextToBytes(hexText(EqCurve::Rock)));
    f.optEQ.select(1);
    f.cboSpComp.setListIndex(2);
    EXPECT_EQ(writes(), (Log{"EqBypass=1", "PresetNumber=6", "CurrSpeakerComp=Yamaha YSTM100", "CoefSet0=Yamaha YSTM100"}));
    f.cboEQPreset.setListIndex(3);
    EXPECT_EQ(writes(), Log{"PresetNumber=3"} + installed("Jazz"));
    EXPECT_EQ(f.optEQ.selected(), 1);
}

TEST_F(EqDialog, ListShownAgainHasForgottenItsEarlierChoice) {
    frmEQ& f = open();
    for (int between : {6, 1}) {
        f.cboEQPreset.setListIndex(5);
        f.cboMARLO.setListIndex(5);
        f.cboEQPreset.setListIndex(between);
        EXPECT_FALSE(f.cboMARLO.visible() || f.cboMARLO.enabled());
        f.cboEQPreset.setListIndex(5);
        EXPECT_EQ(f.cboMARLO.listIndex(), -1);
        f.cboEQPreset.setListIndex(6);
        f.cboSpComp.setListIndex(0);
        f.cboEQPreset.setListIndex(between == 6 ? 5 : between);
        EXPECT_FALSE(f.cboSpComp.visible() || f.cboSpComp.enabled());
        f.cboEQPreset.setListIndex(6);
        EXPECT_EQ(f.cboSpComp.listIndex(), -1);
        writes();
        f.cboSpComp.setListIndex(0);
        EXPECT_EQ(writes(), (Log{"PresetNumber=6", "CurrSpeakerComp=Philips DSS330", "CoefSet0=Philips DSS330"}));
    }
}

TEST_F(EqDialog, AnalogChannelWritesSupportLineAndState) {
    env.mem.setDword(kCust, "SupportAnalogEQ", 1);
    env.mem.setDword(kCP, "AnalogEQEnableState", 1);
    env.mem.setDword(kCP, "AnalogEQSrcLine", 5);
    frmEQ& f = open();
    EXPECT_EQ(f.cboAnalogEQ.text(), "Auxiliary");
    writes();
    for (int k = 1; k <= 5; ++k) {
        f.cboAnalogEQ.setListIndex(k);
        EXPECT_EQ(writes(), (Log{"SupportAnalogEQ=1", "AnalogEQSrcLine=" + std::to_string(k - 1), "AnalogEQEnableState=1"}));
    }
    f.cboAnalogEQ.setListIndex(0);
    EXPECT_EQ(writes(), kNone);
}

TEST_F(EqDialog, SupportWithoutEnableLoadsAsNone) {
    env.mem.setDword(kCust, "SupportAnalogEQ", 1);
    env.mem.setDword(kCP, "AnalogEQSrcLine", 2);
    EXPECT_EQ(open().cboAnalogEQ.listIndex(), 0);
    EXPECT_EQ(env.mem.getDword(kCP, "AnalogEQSrcLine"), 3u);
}

TEST_F(EqDialog, BadStoredValuesLeaveTheirControlsAndValuesAlone) {
    env.mem.setDword(kPreset, "PresetNumber", 7);
    env.mem.setString(kEq, "EqBypass", "off");
    env.mem.setDword(kCust, "SupportAnalogEQ", 1);
    env.mem.setDword(kCP, "AnalogEQEnableState", 1);
    env.mem.setDword(kCP, "AnalogEQSrcLine", 0xFFFFFFFF);  // -1
    frmEQ& f = open();
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(f.optEQ.selected(), -1);
    EXPECT_EQ(f.cboEQPreset.listIndex(), -1);
    EXPECT_EQ(f.cboAnalogEQ.listIndex(), -1);
    EXPECT_FALSE(f.cboSpComp.visible() || f.cboMARLO.visible());
    f.cmdOK.click();

    env.mem.setDword(kPreset, "PresetNumber", 0x10003);  // 3 in the low 16 bits
    env.mem.setDword(kEq, "EqBypass", 2);
    env.mem.setString(kCust, "SupportAnalogEQ", "1");
    env.mem.setString(kCP, "AnalogEQSrcLine", "two");
    env.mem.setDword(kCP, "AnalogEQEnableState", 0);
    frmEQ& g = open();
    EXPECT_TRUE(writes().empty());
    EXPECT_EQ(g.cboEQPreset.listIndex(), -1);
    EXPECT_EQ(g.cboAnalogEQ.listIndex(), -1);
    env.mem.setDword(kCust, "SupportAnalogEQ", 2);
    env.mem.setDword(kCP, "AnalogEQSrcLine", 0);
    g.cmdOK.click();
    EXPECT_EQ(open().cboAnalogEQ.listIndex(), -1);
}

TEST_F(EqDialog, EqualizerKeyThatCannotBeCreatedIsToldAndTheDialogStays) {
    qmtest::TestEnv bare;
    bare.mem.denyAccess("SYSTEM\\CurrentControlSet\\Services\\wdm_au8830");
    ui::Form owner{"frmMain", bare.ui()};
    auto& f = static_cast<frmEQ&>(owner.openDialog(std::make_unique<frmEQ>(bare.services(), bare.ui())));
    f.cboEQPreset.setListIndex(5);
    f.cboMARLO.setListIndex(1);
    ASSERT_EQ(bare.msg.shown.size(), 2u);
    EXPECT_EQ(bare.msg.shown[1].text, "unable to open key");
    EXPECT_EQ(bare.msg.shown[1].title, "Sorry");
    EXPECT_EQ(bare.msg.shown[1].style, 0);
    EXPECT_EQ(bare.msg.shown[1].owner, "frmEQ");
    EXPECT_TRUE(f.visible());
}

TEST_F(EqDialog, OKAndTheCloseBoxGiveTheMainWindowBack) {
    open().cmdOK.click();
    EXPECT_TRUE(main.visible() && main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
    open().closeBox();
    EXPECT_TRUE(main.visible() && main.enabled());
    EXPECT_EQ(main.openChild(), nullptr);
}
