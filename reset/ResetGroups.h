// The reset dialog's groups: which catalogue values each one returns to its
// default, in the order they are written.
#pragma once
#include <vector>

#include "settings/Catalogue.h"

namespace reset {

// The values of one group, in writing order. "AC97 Mixer Path" has a single
// entry, which is deleted rather than written.
const std::vector<const settings::Setting*>& groupValues(settings::ResetGroup g);

// The groups in the order "Reset All Settings" runs them.
const std::vector<settings::ResetGroup>& resetAllOrder();

}  // namespace reset
