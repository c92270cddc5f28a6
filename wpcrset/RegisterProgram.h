// Writes and erases WPCRSET's register program in its Parameters key.
#pragma once
#include <string>

#include "settings/Store.h"

namespace wpcrset {

struct UpdateInput {
    int chipset = -1;  // index of the chipset list, -1 for none
    int slot = -1;     // index of the slot list, -1 for none
    std::string viaFix;  // the dialog's remembered "Fix VIA AGP Problem", as decimal text
    std::string viaAgp;  // the dialog's remembered "Fast AGP Mode", as decimal text
};

enum class UpdateResult {
    NotWritten,  // no chipset or no slot chosen
    Via,         // VIA chipset: the VIA options took part
    NonVia,      // any other chipset: the dialog must disable its VIA boxes and forget the fix
};

// Writes Reg00, then Reg01 for the VIA fix, then RegCnt. Nothing is deleted
// first, so entries past the count keep what they held.
UpdateResult updateProgram(settings::Store& store, const UpdateInput& in);

// RegCnt := 0, then Reg00..Reg15 deleted in ascending order.
void removeProgram(settings::Store& store);

}  // namespace wpcrset
