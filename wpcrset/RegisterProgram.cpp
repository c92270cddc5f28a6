#include "wpcrset/RegisterProgram.h"

#include <cstdint>

#include "platform/SettingValue.h"
#include "wpcrset/RegisterTable.h"

namespace wpcrset {

namespace {

void storeEntry(settings::Store& store, const settings::Setting& s, std::uint32_t entry) {
    store.store(s, platform::SettingValue(static_cast<std::int32_t>(entry)));
}

// The remembered options are decimal text; anything that is not a number
// matches neither 0 nor 1.
bool equals(const std::string& text, std::int32_t n) {
    auto v = platform::textToInt32(text);
    return v && *v == n;
}

}  // namespace

UpdateResult updateProgram(settings::Store& store, const UpdateInput& in) {
    Entry slot{};
    // Without both choices a count would point at an entry that was never
    // written, so nothing is touched.
    if (!slotEntry(in.chipset, in.slot, slot)) return UpdateResult::NotWritten;

    storeEntry(store, settings::RegEntry(0), slot.packed());

    if (in.chipset == ChipsetVIA) {
        if (equals(in.viaFix, 1)) {
            // A fast-AGP value other than 0 or 1 was set outside the program:
            // leave the bridge entry and the count as they are.
            if (equals(in.viaAgp, 0)) {
                storeEntry(store, settings::RegEntry(1), kViaBridge.packed());
                storeEntry(store, settings::RegCnt(), 2);
            } else if (equals(in.viaAgp, 1)) {
                storeEntry(store, settings::RegEntry(1), kViaBridgeFastAgp.packed());
                storeEntry(store, settings::RegCnt(), 2);
            }
        } else {
            storeEntry(store, settings::RegCnt(), 1);
        }
        return UpdateResult::Via;
    }

    storeEntry(store, settings::RegCnt(), 1);
    return UpdateResult::NonVia;
}

void removeProgram(settings::Store& store) {
    storeEntry(store, settings::RegCnt(), 0);
    for (int i = 0; i < 16; ++i) store.remove(settings::RegEntry(i));
}

}  // namespace wpcrset
