// The main window's setting controls in the real program: each change the
// user makes is written at once, to its own value and to nothing else, and
// read back here from the real registry.
#include <algorithm>
#include <cstdint>
#include <iterator>
#include <optional>
#include <sstream>
#include <string>
#include <vector>

#include "AppTest.h"
#include "main/MainBindings.h"

#include <windows.h>

using namespace e2e;

namespace {

constexpr int kTabGeneral = 0, kTabMidi = 1, kTabA3D = 2, kTabAC97 = 3, kTabDigital = 4;

std::string lower(std::string s) {
    for (char& c : s)
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
    return s;
}

std::string path(const settings::Setting& s) { return lower(s.key) + "\\" + lower(s.name); }

// reg::diff's line for a REG_DWORD that went from one number to another.
std::string changed(const settings::Setting& s, std::uint32_t from, std::uint32_t to) {
    return "value changed: " + path(s) + ": REG_DWORD " + std::to_string(from) + " -> REG_DWORD " +
           std::to_string(to);
}

std::vector<std::string> sortedLines(const std::string& text) {
    std::vector<std::string> v;
    std::istringstream in(text);
    for (std::string line; std::getline(in, line);)
        if (!line.empty()) v.push_back(line);
    std::sort(v.begin(), v.end());
    return v;
}

std::vector<std::string> sorted(std::vector<std::string> v) {
    std::sort(v.begin(), v.end());
    return v;
}

}  // namespace

class MainHandlers : public AppTest {
protected:
    // Starts the program on the driver's installation (plus whatever the
    // test stored before) and brings `tab` to the front.
    void open(int tab) {
        main = startMain();
        show(tab);
    }
    void show(int tab) { main.control("SSTab1").choose(tab); }

    // What changed in the program's keys since `before`, line by line.
    std::vector<std::string> changesSince(const reg::Snapshot& before) {
        return sortedLines(reg::diff(before, snapshotProgramKeys()));
    }

    // Polls for the stored number; a bar or slider writes on its own
    // notification, which a posted mouse message reaches only later.
    bool eventually(const settings::Setting& s, std::uint32_t v) {
        return waitUntil([&] { return reg::dword(s) == v; }, scaled(kStepTimeout));
    }

    Window main;
};

// Each box as it comes on its page; the detection boxes, which also write
// the box they govern, are told below.
TEST_F(MainHandlers, EachCheckBoxWritesItsOwnValueOnEveryClick) {
    installDriver();
    reg::set(settings::DetectSpdifIn(), 1);  // so that "Enable Input" can be clicked
    open(kTabGeneral);
    std::vector<std::string> clicked, bound;
    for (const mainwin::BoxBinding& row : mainwin::kBoxes)
        if (row.governs == mainwin::Box::None) bound.push_back(row.control);
    for (int tab = kTabGeneral; tab <= kTabDigital; ++tab) {
        show(tab);
        for (const mainwin::BoxBinding& row : mainwin::kBoxes) {
            std::optional<Control> found = main.find(row.control);
            if (row.governs != mainwin::Box::None || !found || !found->visible()) continue;
            SCOPED_TRACE(row.control);
            clicked.push_back(row.control);
            Control box = *found;
            const settings::Setting& s = row.setting();
            int state = box.checked();
            ASSERT_TRUE(state == 0 || state == 1);
            ASSERT_EQ(reg::dword(s), std::uint32_t(state)) << "the box does not show what is stored";
            // Ticked and unticked again: each click writes the new state, and
            // only that value changes.
            for (int click = 0; click < 2; ++click) {
                const reg::Snapshot before = snapshotProgramKeys();
                box.click();
                const int now = 1 - state;
                EXPECT_EQ(box.checked(), now);
                EXPECT_EQ(changesSince(before),
                          std::vector<std::string>{changed(s, std::uint32_t(state), std::uint32_t(now))});
                state = now;
            }
        }
    }
    EXPECT_EQ(sorted(clicked), sorted(bound));
}

TEST_F(MainHandlers, DetectionBoxesGovernTheirEnableBoxes) {
    installDriver();  // output detected and enabled, input neither
    open(kTabDigital);
    Control detOut = main.control("chkDetOut"), enOut = main.control("chkEnOut");
    ASSERT_EQ(detOut.checked(), 1);
    ASSERT_EQ(enOut.checked(), 1);
    ASSERT_TRUE(enOut.usable());

    // Unticking "Output Detected" unticks "Enable Output" (which writes its
    // 0) and locks it.
    reg::Snapshot before = snapshotProgramKeys();
    detOut.click();
    EXPECT_EQ(detOut.checked(), 0);
    EXPECT_EQ(enOut.checked(), 0);
    EXPECT_FALSE(enOut.enabled());
    EXPECT_TRUE(enOut.visible());
    EXPECT_EQ(changesSince(before), sorted({changed(settings::EnableSpdifOut(), 1, 0),
                                            changed(settings::DetectSpdifOut(), 1, 0)}));

    // Ticking it again unlocks "Enable Output" but leaves it unticked.
    before = snapshotProgramKeys();
    detOut.click();
    EXPECT_EQ(detOut.checked(), 1);
    EXPECT_EQ(enOut.checked(), 0);
    EXPECT_TRUE(enOut.usable());
    EXPECT_EQ(changesSince(before), std::vector<std::string>{changed(settings::DetectSpdifOut(), 0, 1)});

    // The input side, from locked to unlocked, ticked, and locked again.
    Control detIn = main.control("chkDetIn"), enIn = main.control("chkEnIn");
    ASSERT_EQ(detIn.checked(), 0);
    ASSERT_FALSE(enIn.enabled());
    detIn.click();
    EXPECT_TRUE(enIn.usable());
    EXPECT_EQ(enIn.checked(), 0);
    EXPECT_EQ(reg::dword(settings::DetectSpdifIn()), 1u);
    EXPECT_EQ(reg::dword(settings::EnableSpdifIn()), 0u);
    enIn.click();
    EXPECT_EQ(reg::dword(settings::EnableSpdifIn()), 1u);

    before = snapshotProgramKeys();
    detIn.click();
    EXPECT_EQ(enIn.checked(), 0);
    EXPECT_FALSE(enIn.enabled());
    EXPECT_EQ(changesSince(before), sorted({changed(settings::EnableSpdifIn(), 1, 0),
                                            changed(settings::DetectSpdifIn(), 1, 0)}));
}

TEST_F(MainHandlers, TrayBoxStoresAndRemovesTheAutostart) {
    installDriver();
    open(kTabGeneral);
    Control tray = main.control("chkTray");
    ASSERT_EQ(tray.checked(), 0);
    ASSERT_FALSE(reg::exists(settings::AU30TRAY()));

    const reg::Snapshot before = snapshotProgramKeys();
    tray.click();
    EXPECT_EQ(tray.checked(), 1);
    auto v = reg::get(settings::AU30TRAY());
    ASSERT_TRUE(v.has_value());
    EXPECT_EQ(v->type, DWORD(REG_SZ));
    EXPECT_EQ(v->text(), "au30tray.exe");
    EXPECT_EQ(changesSince(before).size(), 1u) << reg::diff(before, snapshotProgramKeys());

    tray.click();
    EXPECT_EQ(tray.checked(), 0);
    EXPECT_FALSE(reg::exists(settings::AU30TRAY()));
    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");

    // Stored again, by the bare name, after it was gone.
    tray.click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
}

TEST_F(MainHandlers, WavetableModesWriteTheirFiveValuesAndEffectTypesWriteNothing) {
    installDriver();  // "320 Voices" and its companions
    open(kTabMidi);
    Control mode = main.control("cboWavetableMode");
    ASSERT_EQ(mode.selectedText(), "320 Voices");

    // From the last entry back to the installation's.
    for (int i = int(std::size(mainwin::kWavetableModes)) - 1; i >= 0; --i) {
        const mainwin::WavetableMode& m = mainwin::kWavetableModes[i];
        SCOPED_TRACE(m.entry);
        mode.choose(m.entry);
        EXPECT_EQ(mode.selectedText(), m.entry);
        for (std::size_t k = 0; k < std::size(mainwin::kWavetableWrites); ++k)
            EXPECT_EQ(reg::dword(mainwin::kWavetableWrites[k]()), std::uint32_t(m.writes[k]))
                << mainwin::kWavetableWrites[k]().name;
    }

    // Back at the installation's mode, so nothing differs from it; the
    // effect types have no setting of their own.
    const reg::Snapshot before = snapshotProgramKeys();
    for (const char* list : {"cboEffect1", "cmdEffect2"}) {
        Control effects = main.control(list);
        ASSERT_EQ(effects.count(), 10) << list;
        effects.choose("Chorus");
        effects.choose("Wah-Wah");
        EXPECT_EQ(effects.selectedText(), "Wah-Wah") << list;
    }
    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");
}

TEST_F(MainHandlers, A3DTypeShowsOnlyItsPictureAndWritesItsIndex) {
    installDriver();  // "Monitor Speakers"
    open(kTabA3D);
    Control type = main.control(mainwin::kA3DTypeList.control);
    for (int want : {3, 0, 1, 2}) {
        SCOPED_TRACE(type.itemText(want));
        type.choose(want);
        EXPECT_EQ(reg::dword(mainwin::kA3DTypeList.setting()), std::uint32_t(want));
        for (int p = 0; p < 4; ++p) {
            const char* picture = mainwin::kA3DTypes[p].picture;
            EXPECT_EQ(main.control(picture).visible(), p == want) << picture;
        }
    }
}

TEST_F(MainHandlers, OutputRateButtonsWriteTheRateAndShowIt) {
    installDriver();  // 48000 stored
    open(kTabDigital);
    Control label = main.control("lblDigOut");
    EXPECT_EQ(label.text(), "48000");
    // Loading shows the stored rate without choosing a button.
    for (int i = 0; i < 3; ++i) EXPECT_EQ(main.control("optDigOut", i).checked(), 0) << i;

    for (int index : {0, 1, 2}) {
        const char* rate = mainwin::kSpdifRates[index];
        SCOPED_TRACE(rate);
        main.control("optDigOut", index).click();
        EXPECT_EQ(reg::dword(mainwin::kSpdifRateSetting()), std::uint32_t(std::stoul(rate)));
        EXPECT_EQ(label.text(), rate);
        for (int i = 0; i < 3; ++i) EXPECT_EQ(main.control("optDigOut", i).checked(), i == index ? 1 : 0) << i;
    }
}

TEST_F(MainHandlers, EnableSpdifSupportWritesTheFourCardsAgainAndAgain) {
    installDriver();
    open(kTabDigital);
    Control support = main.control("cmdFixDetect");
    support.click();
    for (int n = 1; n <= 4; ++n) {
        auto v = reg::get(settings::SpdifCard(n));
        ASSERT_TRUE(v.has_value()) << n;
        EXPECT_EQ(v->dword(), std::uint32_t(mainwin::kSpdifCards[n - 1])) << n;
    }
    const reg::Snapshot once = snapshotProgramKeys();
    support.click();
    EXPECT_EQ(reg::diff(once, snapshotProgramKeys()), "");
}

// The driver's setup makes the list's key; the program only fills it.
TEST_F(MainHandlers, EnableSpdifSupportWithoutItsKeyWritesNothing) {
    installDriver();
    reg::removeKey(settings::key::SpdifEnableList);
    open(kTabDigital);
    const reg::Snapshot before = snapshotProgramKeys();
    main.control("cmdFixDetect").click();
    EXPECT_FALSE(reg::keyExists(settings::key::SpdifEnableList));
    EXPECT_EQ(reg::diff(before, snapshotProgramKeys()), "");
    EXPECT_TRUE(app.running());
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(MainHandlers, LevelBarsWriteEachKeyStepButADragOnlyWhenItEnds) {
    installDriver();  // every level at 8, 0 dB
    open(kTabAC97);

    // One arrow key is one step, written at once, on the bar's own value.
    for (std::size_t i = 0; i < mainwin::kLevelCount; ++i) {
        const mainwin::RangeBinding& row = mainwin::row(mainwin::Level(i));
        SCOPED_TRACE(row.control);
        Control bar = main.control(row.control);
        ASSERT_EQ(bar.position(), 8);
        ASSERT_EQ(bar.rangeMax(), row.max);
        const reg::Snapshot before = snapshotProgramKeys();
        bar.pressKey(VK_RIGHT_);
        EXPECT_EQ(bar.position(), 9);
        EXPECT_EQ(main.control(row.label).text(), "9");
        EXPECT_EQ(changesSince(before), std::vector<std::string>{changed(row.setting(), 8, 9)});
    }

    Control front = main.control("hsbFront"), lblFront = main.control("lblFront");
    front.pressKey(VK_END_);
    EXPECT_EQ(front.position(), 31);
    EXPECT_EQ(lblFront.text(), "31");
    EXPECT_EQ(reg::dword(settings::AC97MixerFrontOutVol()), 31u);
    front.moveTo(8);
    EXPECT_EQ(lblFront.text(), "8");
    EXPECT_EQ(reg::dword(settings::AC97MixerFrontOutVol()), 8u);

    // A drag: the thumb follows the mouse, the level waits for the release.
    Control rear = main.control("hsbRear"), lblRear = main.control("lblRear");
    {
        ThumbDrag drag(rear);
        const int mid = drag.moveBy(20);
        EXPECT_GT(mid, 9);
        EXPECT_EQ(reg::dword(settings::AC97MixerRearOutVol()), 9u) << "written while dragging";
        EXPECT_EQ(lblRear.text(), "9");
        EXPECT_EQ(drag.moveToEnd(true), 31);
        EXPECT_EQ(reg::dword(settings::AC97MixerRearOutVol()), 9u) << "written while dragging";
        EXPECT_EQ(lblRear.text(), "9");
        drag.release();
    }
    EXPECT_TRUE(eventually(settings::AC97MixerRearOutVol(), 31)) << reg::get(settings::AC97MixerRearOutVol())->describe();
    EXPECT_TRUE(waitUntil([&] { return lblRear.text() == "31"; }, scaled(kStepTimeout))) << lblRear.text();
    EXPECT_EQ(rear.position(), 31);

    // And back to the other end.
    {
        ThumbDrag drag(rear);
        EXPECT_LT(drag.moveBy(-20), 31);
        EXPECT_EQ(drag.moveToEnd(false), 0);
        EXPECT_EQ(reg::dword(settings::AC97MixerRearOutVol()), 31u) << "written while dragging";
        drag.release();
    }
    EXPECT_TRUE(eventually(settings::AC97MixerRearOutVol(), 0));
    EXPECT_TRUE(waitUntil([&] { return lblRear.text() == "0"; }, scaled(kStepTimeout))) << lblRear.text();
    // The drags moved nothing but their own bar.
    EXPECT_EQ(reg::dword(settings::AC97MixerFrontOutVol()), 8u);
    EXPECT_EQ(main.control("hsbFront").position(), 8);
}

TEST_F(MainHandlers, EffectSlidersWriteEachKeyStepButADragOnlyWhenItEnds) {
    installDriver();  // reverb and chorus at 64
    open(kTabMidi);
    Control reverb = main.control("hsbEffect1"), lblReverb = main.control("lblEffect1");
    ASSERT_EQ(reverb.rangeMin(), 0);
    ASSERT_EQ(reverb.rangeMax(), 127);
    ASSERT_EQ(reverb.position(), 64);
    EXPECT_EQ(lblReverb.text(), "64");

    // A key press is one step: the trackbar's step and its end of move
    // must not count twice.
    const reg::Snapshot before = snapshotProgramKeys();
    reverb.pressKey(VK_RIGHT_);
    EXPECT_EQ(reverb.position(), 65);
    EXPECT_EQ(lblReverb.text(), "65");
    EXPECT_EQ(changesSince(before), std::vector<std::string>{changed(settings::ReverbAmount(), 64, 65)});
    reverb.pressKey(VK_END_);
    EXPECT_EQ(lblReverb.text(), "127");
    EXPECT_EQ(reg::dword(settings::ReverbAmount()), 127u);

    Control chorus = main.control("hsbEffect2"), lblChorus = main.control("lblEffect2");
    ASSERT_EQ(chorus.position(), 64);
    {
        ThumbDrag drag(chorus);
        EXPECT_LT(drag.moveBy(-15), 64);
        EXPECT_EQ(reg::dword(settings::ChorusAmount()), 64u) << "written while dragging";
        EXPECT_EQ(lblChorus.text(), "64");
        EXPECT_EQ(drag.moveToEnd(false), 0);
        EXPECT_EQ(reg::dword(settings::ChorusAmount()), 64u) << "written while dragging";
        EXPECT_EQ(lblChorus.text(), "64");
        drag.release();
    }
    EXPECT_TRUE(eventually(settings::ChorusAmount(), 0));
    EXPECT_TRUE(waitUntil([&] { return lblChorus.text() == "0"; }, scaled(kStepTimeout))) << lblChorus.text();
    EXPECT_EQ(reg::dword(settings::ReverbAmount()), 127u);
}
