// A dialog fuzzed on its own: an owner window stands in for the main
// window, the dialog is opened over it by the hand-over, and opened afresh
// whenever the user has closed it.
#pragma once
#include <functional>
#include <memory>

#include "tests/fuzz/Session.h"

namespace qmfuzz {

inline void buildWorld(FuzzInput& machine, World& w) { buildMachine(machine, w.env); }

inline void runDialog(FuzzInput& in, World& w, const std::function<std::unique_ptr<ui::Form>()>& make,
                      const LoadRules& rules, bool keepOwnerVisible = false) {
    ui::Form owner("frmMain", w.ui());
    owner.show();
    Session session(in, w, owner);
    const auto open = [&] { owner.openDialog(make(), keepOwnerVisible); };
    session.check(open, &rules, "opening " + std::string(rules.window));
    session.reopen = open;
    session.reopenRules = &rules;
    session.run();
}

}  // namespace qmfuzz
