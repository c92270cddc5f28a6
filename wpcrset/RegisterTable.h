// WPCRSET's register entries for the sound card's slot and the VIA AGP
// bridge. Every entry the program can write comes from these tables.
#pragma once
#include <array>
#include <cstdint>

namespace wpcrset {

// One PCI configuration write, packed as WPCRSET stores it: bus, device and
// function (device * 8 + function), register offset, value; most
// significant byte first.
struct Entry {
    std::uint8_t bus, devFn, reg, value;
    constexpr std::uint32_t packed() const {
        return (std::uint32_t(bus) << 24) | (std::uint32_t(devFn) << 16) | (std::uint32_t(reg) << 8) | value;
    }
};

// The items of the chipset list, by index, and the bus its PCI slots sit on.
struct ChipsetRow {
    const char* item;
    std::uint8_t slotBus;
};
enum ChipsetIndex { ChipsetVIA = 0, ChipsetAMD = 1, ChipsetIntelI81x = 2, ChipsetIntelBX = 3, ChipsetOther = 4 };
extern const std::array<ChipsetRow, 5> kChipsets;

// The items of the slot list, by index, and the slot's device and function
// byte (function always 0).
struct SlotRow {
    const char* item;
    std::uint8_t devFn;
};
extern const std::array<SlotRow, 6> kSlots;

// Register 0x40 of the sound card's slot is always opened fully.
constexpr std::uint8_t kSlotRegister = 0x40;
constexpr std::uint8_t kSlotValue = 0xFF;

// The VIA north bridge's AGP device (bus 0, device 1), register 0x42.
constexpr Entry kViaBridge{0x00, 0x08, 0x42, 0x10};
constexpr Entry kViaBridgeFastAgp{0x00, 0x08, 0x42, 0x70};

// The slot entry for a chipset and slot index, or nothing when either
// index lies outside its list.
bool slotEntry(int chipset, int slot, Entry& out);

}  // namespace wpcrset
