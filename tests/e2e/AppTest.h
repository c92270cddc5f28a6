// The fixture every end-to-end test starts from: a registry without any of
// the program's keys, no driver or A3D files, Wine reporting Windows XP, and
// the program ended after the test whatever happened.
#pragma once
#include <gtest/gtest.h>

#include <ostream>
#include <string>

#include "Driver.h"
#include "settings/Catalogue.h"

class AppTest : public ::testing::Test {
protected:
    void SetUp() override {
        e2e::clearProgramRegistry();
        e2e::clearDriverFiles();
        e2e::setReportedWindows("winxp");
    }
    void TearDown() override { app.kill(); }

    // Starts the program and waits for its main window.
    e2e::Window startMain() {
        app.start();
        return app.form("frmMain");
    }

    // Whether the dialog `form` has left the screen (waits for it).
    bool gone(const std::string& form) {
        return e2e::waitUntil(
            [&] {
                auto d = app.findForm(form);
                return !d || !d->visible();
            },
            e2e::scaled(e2e::kStepTimeout));
    }

    // The dialog `form` is closed and the main window usable again.
    void expectGivenBack(const e2e::Window& main, const std::string& form) {
        EXPECT_TRUE(gone(form)) << form << " is still on the screen";
        EXPECT_TRUE(e2e::waitUntil([&] { return main.usable(); }, e2e::scaled(e2e::kStepTimeout)))
            << form << ": main window visible " << main.visible() << ", enabled " << main.enabled();
    }

    e2e::App app;
};

namespace e2e {
inline void PrintTo(Icon i, std::ostream* os) { *os << toString(i); }
}  // namespace e2e
