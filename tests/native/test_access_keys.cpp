// No two items a user can reach at one time share an access key: the
// controls of one window (one tab page at a time, with what lies outside
// the tab strip) and the main window's system menu with its standard items.
#include <gtest/gtest.h>

#include <map>
#include <set>

#include "equalizer/frmEQ.h"
#include "info/frmAbout.h"
#include "info/frmAboutA3D.h"
#include "info/frmDrvVer.h"
#include "main/frmAC97Mixer.h"
#include "main/frmMain.h"
#include "main/frmQuad.h"
#include "reset/frmReset.h"
#include "support/TestEnv.h"
#include "wpcrset/frmWPCRSET.h"

namespace {

struct NoPictures : A3DPictureSink {
    void showOnlyPicture(int) override {}
};

char keyOf(const std::string& caption) {
    for (std::size_t i = 0; i + 1 < caption.size(); ++i) {
        if (caption[i] != '&') continue;
        if (caption[i + 1] != '&') return static_cast<char>(std::toupper(static_cast<unsigned char>(caption[i + 1])));
        ++i;
    }
    return 0;
}

// "window: key: a, b" for every key two items of one set share.
std::set<std::string> clashes(const ui::Form& f) {
    std::map<int, std::map<char, std::vector<std::string>>> pages;  // -1: outside the tab strip
    int pageCount = 0;
    for (const ui::Control* c : f.controls()) {
        if (c->kind() == ui::Kind::TabStrip) pageCount = static_cast<int>(static_cast<const ui::TabStrip*>(c)->tabs().size());
        // A control in a frame lies on its frame's page.
        const ui::Control* placed = c->container() ? c->container() : c;
        if (char k = c->accessKey()) pages[placed->tabPage()][k].push_back(c->caption());
    }
    std::set<std::string> out;
    for (int page = 0; page < std::max(pageCount, 1); ++page) {
        std::map<char, std::vector<std::string>> keys = pages[-1];
        if (pageCount)
            for (const auto& [k, items] : pages[page]) keys[k].insert(keys[k].end(), items.begin(), items.end());
        for (const auto& [k, items] : keys) {
            if (items.size() < 2) continue;
            std::string line = f.name() + ": " + k + ":";
            for (const std::string& i : items) line += " \"" + i + "\"";
            out.insert(line);
        }
    }
    return out;
}

}  // namespace

TEST(AccessKeys, NoTwoItemsOfAWindowOrItsSystemMenuShareOne) {
    qmtest::TestEnv env;
    NoPictures pics;
    std::set<std::string> found;
    auto add = [&](const ui::Form& f) {
        const std::set<std::string> c = clashes(f);
        found.insert(c.begin(), c.end());
    };
    frmMain main(env.services(), env.ui());
    add(main);
    add(frmEQ(env.services(), env.ui()));
    add(frmReset(env.services(), env.ui(), pics));
    add(frmQuad(env.services(), env.ui()));
    add(frmAC97Mixer(env.services(), env.ui()));
    add(frmAbout(env.services(), env.ui()));
    add(frmAboutA3D(env.services(), env.ui()));
    add(frmWPCRSET(env.services(), env.ui()));
    add(frmDrvVer(env.services(), env.ui(), {"", "", ""}));

    // The system menu: Restore, Move, Size, Minimize, Maximize, Close, then
    // the main window's own commands.
    std::map<char, std::vector<std::string>> menu;
    for (const char* standard : {"&Restore", "&Move", "&Size", "Mi&nimize", "Ma&ximize", "&Close"})
        menu[keyOf(standard)].push_back(standard);
    for (const ui::SystemCommand& c : main.systemCommands()) {
        EXPECT_NE(keyOf(c.caption), 0) << c.caption;
        menu[keyOf(c.caption)].push_back(c.caption);
    }
    for (const auto& [k, items] : menu) EXPECT_EQ(items.size(), 1u) << "the system menu shares " << k;

    // The windows' own captions, as given, that share a key.
    const std::set<std::string> given = {
        "frmQuad: S: \"&Share Front and Rear Output Jacks\" \"&Stereo\"",
    };
    EXPECT_EQ(found, given);
}
