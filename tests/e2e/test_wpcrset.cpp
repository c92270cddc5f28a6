// The WPCRSET dialog in the real program: the warning when WPCRSET is not
// installed, the register program it writes, "Remove All", the start mode,
// and the main window given back by either way of closing.
#include <cstdint>
#include <string>

#include "AppTest.h"

using namespace e2e;

namespace {

const char* const kNotInstalledStart =
    "WPCRSET doesn't appear to be installed on your system.  Please download it from ";
const char* const kNotInstalledEnd =
    " and put it into a folder of your choice.  Then run INSTDD.EXE.  After that, then you will be able to configure "
    "these options.";

bool startsWith(const std::string& s, const std::string& p) { return s.compare(0, p.size(), p) == 0; }
bool endsWith(const std::string& s, const std::string& e) {
    return s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0;
}

// One register entry: bus, device and function, register offset, value,
// from the most significant byte down.
std::uint32_t entry(std::uint32_t bus, std::uint32_t device, std::uint32_t reg, std::uint32_t value) {
    return bus << 24 | (device * 8 + 0) << 16 | reg << 8 | value;
}

// The sound card's slot: cboDevice index i is PCI device 8 + i; register
// 0x40 gets 0xFF; "Intel i81x" puts the slots on bus 1.
std::uint32_t slotEntry(int slotIndex, bool i81x) { return entry(i81x ? 1 : 0, 8 + slotIndex, 0x40, 0xFF); }
// The VIA AGP bridge: bus 0, device 1, register 0x42.
std::uint32_t viaEntry(bool fastAgp) { return entry(0, 1, 0x42, fastAgp ? 0x70 : 0x10); }

}  // namespace

class Wpcrset : public AppTest {
protected:
    // WPCRSET as its installer leaves it: the service key with its start
    // type and the Parameters key with the run switch.
    void installWpcrset(std::uint32_t startType, std::uint32_t runSwitch) {
        reg::createKey(settings::key::WpcrsetParameters);
        reg::set(settings::WpcrsetStart(), std::int32_t(startType));
        reg::set(settings::WpcrsetRunSwitch(), std::int32_t(runSwitch));
    }

    Window openDialog(Window& main) {
        main.control("SSTab1").choose(0);
        main.control("cmdWPCRSET").click();
        return app.form("frmWPCRSET");
    }

    // The dialog went and the main window is back, shown and usable.
    void expectGivenBack(const Window& main) {
        EXPECT_TRUE(waitUntil([&] { return main.usable(); }, scaled(kStepTimeout)))
            << "main window visible " << main.visible() << ", enabled " << main.enabled();
        EXPECT_TRUE(waitUntil(
            [&] {
                auto d = app.findForm("frmWPCRSET");
                return !d || !d->visible();
            },
            scaled(kStepTimeout)));
    }

    bool anotherBoxAppears() {
        return waitUntil([&] { return app.findMessageBox().has_value(); }, scaled(1000));
    }
};

TEST_F(Wpcrset, WithoutWpcrsetTheDialogTellsOnceAndGivesTheMainWindowBack) {
    installDriver();
    Window main = startMain();

    for (int opening = 0; opening < 2; ++opening) {
        SCOPED_TRACE("opening " + std::to_string(opening + 1));
        main.control("cmdWPCRSET").clickAsync();
        MsgBox box = app.messageBox();
        EXPECT_TRUE(startsWith(box.text(), kNotInstalledStart)) << box.text();
        EXPECT_TRUE(endsWith(box.text(), kNotInstalledEnd)) << box.text();
        EXPECT_EQ(box.title(), "Information");
        EXPECT_EQ(box.icon(), Icon::Information);
        EXPECT_EQ(box.buttons(), std::vector<int>{IDOK_});
        box.answer(IDOK_);

        expectGivenBack(main);
        EXPECT_FALSE(anotherBoxAppears()) << "the not-installed message came twice";
    }
    // The VIA options are created before the check; WPCRSET's keys are not.
    EXPECT_EQ(reg::dword(settings::VIAFix()), 0u);
    EXPECT_EQ(reg::dword(settings::VIAAGP()), 0u);
    EXPECT_FALSE(reg::keyExists(settings::key::WpcrsetService));
    // Still working after the dialog closed itself.
    main.control("chkTray").click();
    EXPECT_EQ(reg::text(settings::AU30TRAY()), "au30tray.exe");
}

TEST_F(Wpcrset, TheRegisterProgramIsWrittenRemovedAndTheStartModeSet) {
    installDriver();
    installWpcrset(0, 1);
    // An older program of someone else's: what the update does not write stays.
    reg::set(settings::RegEntry(2), 0x12345678);
    reg::set(settings::RegEntry(7), 1);
    reg::set(settings::RegEntry(15), 2);
    Window main = startMain();
    Window dlg = openDialog(main);
    EXPECT_EQ(dlg.text(), "WPCRSET Configuration");
    EXPECT_FALSE(main.visible());
    EXPECT_FALSE(main.enabled());

    // The load shows what is stored and writes the missing VIA options.
    EXPECT_EQ(dlg.control("optWPCRSET", 0).checked(), 1);
    EXPECT_EQ(dlg.control("optWPCRSET", 1).checked(), 0);
    EXPECT_EQ(dlg.control("optWDevice", 0).checked(), 1);
    EXPECT_EQ(dlg.control("optWDevice", 1).checked(), 0);
    EXPECT_EQ(reg::dword(settings::WpcrsetStart()), 0u);
    EXPECT_EQ(reg::dword(settings::WpcrsetRunSwitch()), 1u);
    EXPECT_EQ(reg::dword(settings::VIAFix()), 0u);
    EXPECT_EQ(reg::dword(settings::VIAAGP()), 0u);

    Control chipset = dlg.control("cboChipset");
    Control slot = dlg.control("cboDevice");
    Control fix = dlg.control("chkVIAFix");
    Control agp = dlg.control("chkVIAAGP");
    Control update = dlg.control("cmdUpdate");
    EXPECT_EQ(chipset.items(), (std::vector<std::string>{"VIA", "AMD", "Intel i81x", "Intel BX", "Other"}));
    EXPECT_EQ(slot.items(), (std::vector<std::string>{"8 (PCI 1)", "9 (PCI 2)", "10 (PCI 3)", "11 (PCI 4)",
                                                      "12 (PCI 5)", "13 (PCI 6)"}));
    EXPECT_EQ(chipset.selectedIndex(), -1);
    EXPECT_EQ(slot.selectedIndex(), -1);
    EXPECT_FALSE(slot.enabled());
    EXPECT_FALSE(fix.enabled());
    EXPECT_FALSE(agp.enabled());
    EXPECT_FALSE(update.enabled());

    // VIA, the sixth slot, both VIA options.
    chipset.choose("VIA");
    EXPECT_TRUE(slot.usable());
    EXPECT_TRUE(fix.usable());
    slot.choose("13 (PCI 6)");
    EXPECT_TRUE(update.usable());
    fix.click();
    EXPECT_EQ(fix.checked(), 1);
    EXPECT_EQ(reg::dword(settings::VIAFix()), 1u);
    ASSERT_TRUE(agp.usable());
    agp.click();
    EXPECT_EQ(reg::dword(settings::VIAAGP()), 1u);
    update.click();
    EXPECT_EQ(reg::dword(settings::RegEntry(0)), slotEntry(5, false));
    EXPECT_EQ(reg::dword(settings::RegEntry(1)), viaEntry(true));
    EXPECT_EQ(reg::dword(settings::RegCnt()), 2u);
    EXPECT_EQ(reg::dword(settings::RegEntry(2)), 0x12345678u);

    // Another chipset: one entry on bus 1, the bridge entry left behind.
    chipset.choose("Intel i81x");
    EXPECT_FALSE(fix.enabled());
    EXPECT_FALSE(agp.enabled());
    slot.choose("10 (PCI 3)");
    update.click();
    EXPECT_EQ(reg::dword(settings::RegEntry(0)), slotEntry(2, true));
    EXPECT_EQ(reg::dword(settings::RegCnt()), 1u);
    EXPECT_EQ(reg::dword(settings::RegEntry(1)), viaEntry(true));
    EXPECT_EQ(fix.checked(), 1);  // the box keeps showing the choice
    EXPECT_EQ(reg::dword(settings::VIAFix()), 1u);

    // Remove All: a count of 0 and no entry, whichever existed.
    dlg.control("cmdRemove").click();
    EXPECT_EQ(reg::dword(settings::RegCnt()), 0u);
    for (int n = 0; n < 16; ++n) EXPECT_FALSE(reg::exists(settings::RegEntry(n))) << settings::RegEntry(n).name;
    EXPECT_EQ(reg::dword(settings::WpcrsetStart()), 0u);
    EXPECT_EQ(reg::dword(settings::WpcrsetRunSwitch()), 1u);
    EXPECT_EQ(reg::dword(settings::VIAFix()), 1u);
    EXPECT_EQ(reg::dword(settings::VIAAGP()), 1u);

    // Start mode: each option writes its number.
    dlg.control("optWPCRSET", 1).click();
    EXPECT_EQ(reg::dword(settings::WpcrsetRunSwitch()), 0u);
    dlg.control("optWPCRSET", 0).click();
    EXPECT_EQ(reg::dword(settings::WpcrsetRunSwitch()), 1u);
    dlg.control("optWDevice", 1).click();
    EXPECT_EQ(reg::dword(settings::WpcrsetStart()), 4u);
    dlg.control("optWDevice", 0).click();
    EXPECT_EQ(reg::dword(settings::WpcrsetStart()), 0u);

    dlg.control("Command1").click();
    expectGivenBack(main);

    // Opened again, it loads afresh: the VIA options ticked but locked, and
    // a start type of its own (manual) selects neither and is left alone.
    reg::set(settings::WpcrsetStart(), 3);
    dlg = openDialog(main);
    EXPECT_FALSE(main.visible());
    EXPECT_EQ(dlg.control("chkVIAFix").checked(), 1);
    EXPECT_EQ(dlg.control("chkVIAAGP").checked(), 1);
    EXPECT_FALSE(dlg.control("chkVIAFix").enabled());
    EXPECT_FALSE(dlg.control("chkVIAAGP").enabled());
    EXPECT_EQ(dlg.control("optWDevice", 0).checked(), 0);
    EXPECT_EQ(dlg.control("optWDevice", 1).checked(), 0);
    EXPECT_EQ(dlg.control("cboChipset").selectedIndex(), -1);
    EXPECT_EQ(reg::dword(settings::WpcrsetStart()), 3u);

    dlg.closeFromFrame();
    expectGivenBack(main);
    EXPECT_FALSE(app.findMessageBox().has_value());
}

TEST_F(Wpcrset, ViaWithoutTheFixWritesOneEntryAndKeepsTheOldBridgeEntry) {
    installDriver();
    installWpcrset(4, 0);
    reg::set(settings::RegEntry(1), 0x00084210);
    reg::set(settings::RegCnt(), 2);
    Window main = startMain();
    Window dlg = openDialog(main);
    EXPECT_EQ(dlg.control("optWPCRSET", 1).checked(), 1);
    EXPECT_EQ(dlg.control("optWDevice", 1).checked(), 1);

    dlg.control("cboChipset").choose("VIA");
    dlg.control("cboDevice").choose("8 (PCI 1)");
    EXPECT_EQ(dlg.control("chkVIAFix").checked(), 0);
    dlg.control("cmdUpdate").click();
    EXPECT_EQ(reg::dword(settings::RegEntry(0)), slotEntry(0, false));
    EXPECT_EQ(reg::dword(settings::RegCnt()), 1u);
    EXPECT_EQ(reg::dword(settings::RegEntry(1)), viaEntry(false));

    // The fix without fast AGP, then unticked again: the second box is
    // locked but keeps its value.
    dlg.control("chkVIAFix").click();
    dlg.control("cmdUpdate").click();
    EXPECT_EQ(reg::dword(settings::RegEntry(0)), slotEntry(0, false));
    EXPECT_EQ(reg::dword(settings::RegEntry(1)), viaEntry(false));
    EXPECT_EQ(reg::dword(settings::RegCnt()), 2u);
    dlg.control("chkVIAFix").click();
    EXPECT_EQ(reg::dword(settings::VIAFix()), 0u);
    EXPECT_FALSE(dlg.control("chkVIAAGP").enabled());
    EXPECT_EQ(reg::dword(settings::VIAAGP()), 0u);

    dlg.control("Command1").click();
    expectGivenBack(main);
}
