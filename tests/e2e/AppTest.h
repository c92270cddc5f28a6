// The fixture every end-to-end test starts from: a registry without any of
// the program's keys, no driver or A3D files, Wine reporting Windows XP, and
// the program ended after the test whatever happened.
#pragma once
#include <gtest/gtest.h>

#include <ostream>

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

    e2e::App app;
};

namespace e2e {
inline void PrintTo(Icon i, std::ostream* os) { *os << toString(i); }
}  // namespace e2e
