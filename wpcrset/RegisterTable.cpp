#include "wpcrset/RegisterTable.h"

namespace wpcrset {

// The i81x puts its PCI slots behind a bridge on bus 1.
const std::array<ChipsetRow, 5> kChipsets = {{
    {"VIA", 0x00},
    {"AMD", 0x00},
    {"Intel i81x", 0x01},
    {"Intel BX", 0x00},
    {"Other", 0x00},
}};

const std::array<SlotRow, 6> kSlots = {{
    {"8 (PCI 1)", 0x40},
    {"9 (PCI 2)", 0x48},
    {"10 (PCI 3)", 0x50},
    {"11 (PCI 4)", 0x58},
    {"12 (PCI 5)", 0x60},
    {"13 (PCI 6)", 0x68},
}};

bool slotEntry(int chipset, int slot, Entry& out) {
    if (chipset < 0 || chipset >= static_cast<int>(kChipsets.size())) return false;
    if (slot < 0 || slot >= static_cast<int>(kSlots.size())) return false;
    out = Entry{kChipsets[chipset].slotBus, kSlots[slot].devFn, kSlotRegister, kSlotValue};
    return true;
}

}  // namespace wpcrset
