// Registry files as XP's regedit writes and reads them: writing in the
// REGEDIT4 form, reading that and the UTF-16 "Windows Registry Editor
// Version 5.00" form. Values only under HKEY_LOCAL_MACHINE; texts are 8-bit.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/Registry.h"

namespace backup {

// One value as stored: key path below HKEY_LOCAL_MACHINE, name, type, bytes;
// or, `absent`, regedit's deletion line "name"=- (no type, no bytes).
struct RegEntry {
    std::string key, name;
    platform::ValueType type{};
    std::vector<std::uint8_t> data;
    bool absent = false;
    bool operator==(const RegEntry& o) const {
        return key == o.key && name == o.name && type == o.type && data == o.data && absent == o.absent;
    }
};

// One value for the writer, viewing the caller's data.
struct RegEntryView {
    std::string_view key, name;
    platform::ValueType type{};
    const std::vector<std::uint8_t>* data = nullptr;
    bool absent = false;
};

// The file's text, CRLF line ends: "REGEDIT4", a blank line, then a
// section per key (entries of one key kept together, in first-seen order).
std::string writeRegFile(const std::vector<RegEntryView>& entries);
std::string writeRegFile(const std::vector<RegEntry>& entries);

enum class ReadError { None, TooLarge, Empty, NotRegistryFile, CutOff };

constexpr std::size_t kMaxFileBytes = 1024 * 1024;

struct ReadResult {
    ReadError error = ReadError::None;
    // Values of HKEY_LOCAL_MACHINE keys and their deletions, in the file's order.
    std::vector<RegEntry> entries;
    // Lines that are no such value: other roots' sections and their values,
    // deleted keys, default values, comments and anything else.
    std::size_t skipped = 0;
};

// The whole file is checked before anything is taken from it.
ReadResult readRegFile(const std::string& fileBytes);

}  // namespace backup
