// Backing up, restoring and undoing the values the program writes: every
// catalogue value but the media player command, which it only reads.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

#include "backup/RegFile.h"
#include "settings/Store.h"

namespace backup {

// The catalogue's values the program writes, in catalogue order.
const std::vector<const settings::Setting*>& writtenSettings();

using settings::Stored;
// Every written value as it is stored now.
std::vector<Stored> readStored(settings::Store& store);

// The backup file of what is stored now, and how many values went into it:
// every written value, a missing one as a deletion, so that a restore
// brings back its absence too; not those of a key that is not there, for
// which regedit would make an empty key on import.
struct Backup {
    std::string text;
    std::size_t values = 0;
};
Backup makeBackup(settings::Store& store);

// Whether data of this type and length can be the setting's: its type, and
// the size the catalogue gives it.
bool fits(const settings::Setting& s, platform::ValueType type, std::size_t bytes);

// What a file would restore: values the program writes, under their own
// keys, that fit the setting, and deletions of them, in the file's order.
// Everything else in the file is counted as skipped.
struct RestorePlan {
    enum class Refusal { None, TooLarge, Empty, NotRegistryFile, CutOff, NothingToRestore } refusal = Refusal::None;
    struct Value {
        const settings::Setting* setting;
        std::vector<std::uint8_t> data;  // texts without a terminator
        bool remove = false;             // the value is to be deleted
    };
    std::vector<Value> values;
    std::size_t skipped = 0;
};
RestorePlan planRestore(const std::string& fileBytes);
RestorePlan planRestore(const ReadResult& file);

// What a restore or an undo did, read back value by value: how many values
// hold what they should, how many could not be written because their key
// is missing, and how many the registry refused.
struct Outcome {
    std::size_t done = 0, keyMissing = 0, refused = 0;
};

// Writes the plan through the registry procedures (texts and numbers) and
// as raw bytes (the binary set), only where the value's key exists,
// creating the two keys the program creates.
Outcome applyRestore(const RestorePlan& plan, settings::Store& store);

// The written values as they were at one moment, to put back later.
class Snapshot {
public:
    void take(settings::Store& store) { values_ = readStored(store); }
    bool taken() const { return !values_.empty(); }
    // Whether any value differs from the snapshot, in type, bytes or presence.
    bool changedSince(settings::Store& store) const;
    // Values that existed get their type and bytes back; values that did
    // not are removed. Only what differs is written, only into keys that exist.
    Outcome putBack(settings::Store& store) const;

private:
    std::vector<Stored> values_;
};

}  // namespace backup
