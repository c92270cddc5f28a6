// The fuzz targets, one function per window: the input becomes a machine
// and a user, and the user works the window. Each fuzz_<name>.cpp hands its
// input to one of these; the native tests replay the committed seeds here.
// The functions are inline, so a target links only the windows it uses.
#pragma once
#include <map>
#include <memory>
#include <string>

#include "equalizer/frmEQ.h"
#include "info/frmAbout.h"
#include "info/frmAboutA3D.h"
#include "info/frmDrvVer.h"
#include "main/frmAC97Mixer.h"
#include "main/frmMain.h"
#include "main/frmQuad.h"
#include "platform/modWinVersion.h"
#include "reset/frmReset.h"
#include "tests/fuzz/DialogTarget.h"
#include "wpcrset/frmWPCRSET.h"

namespace qmfuzz {

// What an action on one of the main window's controls may change: for the
// buttons that open a dialog, that dialog's load; for the controls without
// a handler of their own, nothing.
inline const LoadRules* mainActionRules(const ui::Form& form, const ui::Control& c) {
    static const LoadRules override = mainLoadRules(false);
    static const LoadRules eq = eqLoadRules();
    static const LoadRules wpcrset = wpcrsetLoadRules();
    static const LoadRules quad = quadLoadRules();
    static const std::map<std::string, LoadRules> unchanged = [] {
        std::map<std::string, LoadRules> m;
        for (const char* n : {"cmdReset", "cmdAbout", "cmdAboutA3D", "cmdDrvVerHlp", "ListView1", "SSTab1",
                              "cboEffect1", "cmdEffect2", "cmdAC97Help"})
            m.emplace(n, unchangedLoadRules(n));
        return m;
    }();
    if (form.name() != "frmMain") return nullptr;
    if (c.name() == "cmdOverride") return &override;
    if (c.name() == "cmdEQSettings") return &eq;
    if (c.name() == "cmdWPCRSET") return &wpcrset;
    if (c.name() == "cmdQuad") return &quad;
    auto it = unchanged.find(c.name());
    return it == unchanged.end() ? nullptr : &it->second;
}

// The whole program: the main window's load over any stored state and any
// Windows version, then any use of it and of every dialog it opens.
inline void fuzzMain(const std::uint8_t* data, std::size_t size) {
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);

    platform::WindowsVersionInfo version;
    platform::DetectWindowsName(w.env.version, version);
    static const LoadRules onXP = mainLoadRules(true);
    static const LoadRules notXP = notXPLoadRules();

    frmMain main(w.services(), w.ui());
    Session session(in, w, main);
    session.check([&] { main.show(); }, version.name == "Windows XP" ? &onXP : &notXP, "loading frmMain");
    session.rulesFor = mainActionRules;
    session.run();
}

// The equalizer dialog over any stored state and any use.
inline void fuzzEQ(const std::uint8_t* data, std::size_t size) {
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);
    static const LoadRules rules = eqLoadRules();
    runDialog(in, w, [&] { return std::make_unique<frmEQ>(w.services(), w.ui()); }, rules);
}

// The WPCRSET dialog over any stored state and any use.
inline void fuzzWPCRSET(const std::uint8_t* data, std::size_t size) {
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);
    static const LoadRules rules = wpcrsetLoadRules();
    runDialog(in, w, [&] { return std::make_unique<frmWPCRSET>(w.services(), w.ui()); }, rules);
}

// The quad settings dialog over any stored state and any use.
inline void fuzzQuad(const std::uint8_t* data, std::size_t size) {
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);
    static const LoadRules rules = quadLoadRules();
    runDialog(in, w, [&] { return std::make_unique<frmQuad>(w.services(), w.ui()); }, rules);
}

// Windows that read and write nothing when they open.
inline LoadRules silentOpening(const char* window) {
    LoadRules r = unchangedLoadRules(window);
    r.touchesNothing = true;
    return r;
}

// The reset dialog: any group, any number of times, over any stored state.
inline void fuzzReset(const std::uint8_t* data, std::size_t size) {
    struct Pictures : A3DPictureSink {
        void showOnlyPicture(int picture) override {
            if (picture < Phones || picture > Quad) fail("A3D picture " + std::to_string(picture));
        }
    };
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);
    Pictures pictures;
    static const LoadRules rules = silentOpening("frmReset");
    runDialog(in, w, [&] { return std::make_unique<frmReset>(w.services(), w.ui(), pictures); }, rules);
}

// The AC97 Mixer location dialog: any typed path, any start result.
inline void fuzzMixer(const std::uint8_t* data, std::size_t size) {
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    buildWorld(machine, w);
    static const LoadRules rules = silentOpening("frmAC97Mixer");
    runDialog(in, w, [&] { return std::make_unique<frmAC97Mixer>(w.services(), w.ui()); }, rules);
}

// The driver diagnosis and the two About boxes, over any version texts.
inline void fuzzInfo(const std::uint8_t* data, std::size_t size) {
    static const char* const kVersions[] = {"NA",         "N/A",        "5.12.1.2560", "5.12.1.2559",
                                            "5.10.2500.49", "5.0.2169.1", "80.0.0.3",    ""};
    static const char* const kSizes[] = {"747392", "702080", "", "0", "747392 "};
    static const char* const kNames[] = {"frmDrvVer", "frmAbout", "frmAboutA3D"};
    FuzzInput in = FuzzInput::user(data, size), machine = FuzzInput::machine(data, size);
    FreshWorld fresh(in);
    World& w = fresh;
    const int which = machine.byte() % 3;
    buildWorld(machine, w);
    auto text = [&](const char* const* table, std::size_t n) {
        return machine.rarely(4) ? machine.text(machine.pick(40)) : std::string(table[machine.pick(n)]);
    };
    DriverInfoTexts texts;
    texts.driverVersion = text(kVersions, 8);
    texts.driverSize = text(kSizes, 5);
    texts.a3dVersion = text(kVersions, 8);

    static const LoadRules kRules[] = {silentOpening(kNames[0]), silentOpening(kNames[1]), silentOpening(kNames[2])};
    const LoadRules& rules = kRules[which];
    runDialog(
        in, w,
        [&]() -> std::unique_ptr<ui::Form> {
            if (which == 0) return std::make_unique<frmDrvVer>(w.services(), w.ui(), texts);
            if (which == 1) return std::make_unique<frmAbout>(w.services(), w.ui());
            return std::make_unique<frmAboutA3D>(w.services(), w.ui());
        },
        rules, which == 1);
}

}  // namespace qmfuzz
