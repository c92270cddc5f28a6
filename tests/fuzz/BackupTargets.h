// The backup file's reader and writer fuzzed on their own: any bytes as a
// file to restore, and any stored state backed up and restored.
#pragma once
#include <algorithm>
#include <string>
#include <string_view>
#include <vector>

#include "backup/Backup.h"
#include "tests/fuzz/Oracles.h"

namespace qmfuzz {

// A registry as a reinstalled driver leaves it: every key the program writes
// into, no values. One per process, emptied for each input.
inline platform::MemoryRegistry& pooledRegistry() {
    static platform::MemoryRegistry* const mem = new platform::MemoryRegistry();
    return *mem;
}

inline platform::MemoryRegistry& freshRegistry() {
    platform::MemoryRegistry& mem = pooledRegistry();
    mem.reset();
    for (const settings::Setting* s : backup::writtenSettings()) mem.addKey(s->key);
    return mem;
}

// Emptied again as an input ends, so that what it stored is freed within
// its own run: libFuzzer runs again, to look for a leak, every input that
// frees fewer blocks than it allocates, which was every other one.
struct EmptiedAtEnd {
    EmptiedAtEnd() = default;
    EmptiedAtEnd(const EmptiedAtEnd&) = delete;
    EmptiedAtEnd& operator=(const EmptiedAtEnd&) = delete;
    ~EmptiedAtEnd() { pooledRegistry().reset(); }
};

inline bool sameKeyAndName(const settings::Setting& s, const backup::RegEntry& e) {
    return lookupSetting(e.key, e.name) == &s;
}

// Whether stored data can be the setting's: its type and, where the
// catalogue gives one, its size.
inline bool fitsSetting(const settings::Setting& s, platform::ValueType type, std::size_t bytes) {
    return type == s.type && (s.size == 0 || bytes == s.size);
}

// What a restore must write for a stored value: texts lose one terminator.
inline std::vector<std::uint8_t> restoredBytes(const settings::Setting& s, std::vector<std::uint8_t> data) {
    if (s.type == platform::ValueType::Text && !data.empty() && data.back() == 0) data.pop_back();
    return data;
}

// Applies `plan` to a registry holding every key the program writes into:
// every write is one of the plan's values, under its own key and name, of
// its type, with its bytes, and every deletion one of the plan's; the
// restore reports every value done.
inline void checkRestore(const backup::RestorePlan& plan, platform::MemoryRegistry& mem) {
    platform::mdlRegistry reg(mem);
    settings::Store store(reg);
    mem.clearLog();
    const backup::Outcome done = backup::applyRestore(plan, store);
    if (done.done != plan.values.size() || done.keyMissing || done.refused)
        fail("a restore reported " + std::to_string(done.done) + " of " + std::to_string(plan.values.size()) + " values done, " +
             std::to_string(done.keyMissing) + " without their key, " + std::to_string(done.refused) + " refused");
    std::size_t next = 0;  // the plan's values are written in order
    for (const platform::RegLogEntry& e : mem.log()) {
        if (e.op == platform::RegLogEntry::CreateKey) {
            if (!lookupSetting(e.path, "CoefSet0") && !lookupSetting(e.path, "SplashScreen"))
                fail("a restore created the key " + e.path);
            continue;
        }
        // The plan's next value of this key and name (compared as the registry does).
        const bool deletes = e.op == platform::RegLogEntry::Delete;
        const auto isAt = [&](const settings::Setting* p) {
            return settings::detail::iequal(p->name, e.name.c_str()) && settings::detail::iequal(p->key, e.path.c_str());
        };
        while (next < plan.values.size() && (plan.values[next].remove != deletes || !isAt(plan.values[next].setting))) ++next;
        if (next == plan.values.size())
            fail(std::string("a restore ") + (deletes ? "deleted" : "wrote") + " a value not in its plan, or out of order: " +
                 e.path + "\\" + e.name);
        const settings::Setting* s = plan.values[next].setting;
        if (!deletes && (e.value.type != s->type || e.value.data != plan.values[next].data))
            fail("a restore wrote " + std::string(s->name) + " as " + describe(e.value));
        if (!deletes && !fitsSetting(*s, e.value.type, e.value.data.size()))
            fail("a restore wrote " + std::string(s->name) + " of a size it cannot have: " + describe(e.value));
        ++next;
    }
    if (mem.openHandles() != 0) fail("a restore left a registry key open");
}

// Any bytes as a file to restore: never a crash; nothing taken from a file
// unless all of it was read; every value taken is the catalogue's, under its
// key and name, of its type; and a restore writes exactly those values.
inline void fuzzBackupReader(const std::uint8_t* data, std::size_t size) {
    const EmptiedAtEnd emptied;
    using Refusal = backup::RestorePlan::Refusal;
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const backup::ReadResult file = backup::readRegFile(bytes);
    const backup::RestorePlan plan = backup::planRestore(file);
    if (file.error != backup::ReadError::None) {
        if (plan.refusal == Refusal::None || plan.refusal == Refusal::NothingToRestore || !plan.values.empty())
            fail("a restore plan from a file that was not read whole");
        return;
    }
    if (plan.values.size() + plan.skipped != file.entries.size() + file.skipped)
        fail("a restore plan lost count: " + std::to_string(plan.values.size()) + " values and " +
             std::to_string(plan.skipped) + " skipped from " + std::to_string(file.entries.size()) + " entries and " +
             std::to_string(file.skipped) + " skipped lines");
    if (plan.values.empty() != (plan.refusal == Refusal::NothingToRestore))
        fail("a restore plan with values refused, or without values accepted");
    if (plan.refusal != Refusal::None && plan.refusal != Refusal::NothingToRestore)
        fail("a file read whole refused as unreadable");
    // The plan's values are file entries of the written values, in the file's order.
    std::size_t at = 0;
    for (const backup::RestorePlan::Value& v : plan.values) {
        const settings::Setting& s = *v.setting;
        const auto& written = backup::writtenSettings();
        if (std::find(written.begin(), written.end(), &s) == written.end())
            fail(std::string("a restore plan takes ") + s.name + ", which the program never writes");
        // Only an entry of its own key, name, type and size, or its deletion, can give it.
        const auto gives = [&](const backup::RegEntry& e) {
            return sameKeyAndName(s, e) && e.absent == v.remove && (e.absent || fitsSetting(s, e.type, e.data.size()));
        };
        while (at < file.entries.size() && !gives(file.entries[at])) ++at;
        if (at == file.entries.size())
            fail(std::string("a restore plan takes ") + s.name + " from no entry of its key, name and type");
        const backup::RegEntry& e = file.entries[at++];
        if (v.data != restoredBytes(s, e.data)) fail(std::string("a restore plan changed the bytes of ") + s.name);
    }
    if (plan.refusal == Refusal::None) checkRestore(plan, freshRegistry());
}

// Every written value as an ordinary program would leave it: the state a
// restore goes onto.
inline platform::MemoryRegistry& ordinaryRegistry() {
    platform::MemoryRegistry& mem = freshRegistry();
    for (const settings::Setting* s : backup::writtenSettings())
        if (std::optional<platform::RegValueData> v = ordinaryValue(*s)) mem.setRaw(s->key, s->name, v->type, v->data);
    return mem;
}

// Any state of the written values (absent, of their own type or any other,
// any bytes) backed up and restored onto an ordinary one: every value that
// fits its setting comes back byte for byte (a text without one
// terminator), every absent one is deleted, every other one is skipped and
// left alone, and the file reads back as it was written.
inline void fuzzBackupRoundTrip(const std::uint8_t* data, std::size_t size) {
    const EmptiedAtEnd emptied;
    FuzzInput in(data, data + size, false);
    platform::MemoryRegistry& source = freshRegistry();
    std::vector<backup::RegEntry> stored;
    for (const settings::Setting* s : backup::writtenSettings()) {
        std::optional<platform::RegValueData> v = ordinaryValue(*s);
        switch (in.byte() % 6) {
        case 0: break;
        case 1: v.reset(); break;
        case 2: v = platform::RegValueData{s->type, in.bytes(in.pick(s->type == platform::ValueType::Binary ? 320 : 48))}; break;
        case 3: v = platform::RegValueData{in.flag() ? platform::ValueType(in.u32()) : in.choose(kOddTypes), in.bytes(in.pick(48))}; break;
        case 4: v = s->type == platform::ValueType::Text ? textValue(in.choose(kTexts)) : dwordValue(in.choose(kInteresting)); break;
        default: v = oddValue(in, s); break;
        }
        if (!v) {
            stored.push_back({s->key, s->name, {}, {}, true});
            continue;
        }
        source.setRaw(s->key, s->name, v->type, v->data);
        stored.push_back({s->key, s->name, v->type, v->data, false});
    }
    // The file keeps one key's values together, keys in first-seen order:
    // every written value is in it, so the order is always the same.
    static const std::vector<std::size_t> fileOrder = [] {
        const auto& written = backup::writtenSettings();
        std::vector<std::size_t> order;
        for (std::size_t i = 0; i < written.size(); ++i) {
            bool seen = false;
            for (std::size_t j = 0; j < i && !seen; ++j) seen = written[j]->key == written[i]->key;
            if (seen) continue;
            for (std::size_t j = i; j < written.size(); ++j)
                if (written[j]->key == written[i]->key) order.push_back(j);
        }
        return order;
    }();
    std::vector<const settings::Setting*> storedSetting;  // of stored[i]
    {
        std::vector<backup::RegEntry> inFileOrder;
        inFileOrder.reserve(stored.size());
        for (std::size_t i : fileOrder) {
            inFileOrder.push_back(std::move(stored[i]));
            storedSetting.push_back(backup::writtenSettings()[i]);
        }
        stored.swap(inFileOrder);
    }
    platform::mdlRegistry sourceReg(source);
    settings::Store sourceStore(sourceReg);
    const backup::Backup b = backup::makeBackup(sourceStore);
    if (b.values != stored.size()) fail("a backup of " + std::to_string(stored.size()) + " values holds " + std::to_string(b.values));

    const backup::ReadResult file = backup::readRegFile(b.text);
    if (file.error != backup::ReadError::None || file.skipped != 0 || file.entries.size() != stored.size())
        fail("a backup does not read back whole: " + std::to_string(file.entries.size()) + " of " +
             std::to_string(stored.size()) + " values, " + std::to_string(file.skipped) + " lines skipped");
    std::size_t restorable = 0;
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const backup::RegEntry& want = stored[i];
        const backup::RegEntry& got = file.entries[i];
        const settings::Setting& s = *storedSetting[i];
        // regedit's quoted form drops a text's one terminator.
        const bool sameData = got.data == want.data || (want.type == platform::ValueType::Text && !want.data.empty() &&
                                                         want.data.back() == 0 &&
                                                         std::equal(got.data.begin(), got.data.end(), want.data.begin()) &&
                                                         got.data.size() + 1 == want.data.size());
        if (got.key != want.key || got.name != want.name || got.type != want.type || !sameData || got.absent != want.absent)
            fail("a backup reads back " + std::string(s.name) + " as " +
                 (got.absent ? std::string("(absent)") : describe(platform::RegValueData{got.type, got.data})) + ", not " +
                 (want.absent ? std::string("(absent)") : describe(platform::RegValueData{want.type, want.data})));
        if (want.absent || fitsSetting(s, want.type, want.data.size())) ++restorable;
    }

    const backup::RestorePlan plan = backup::planRestore(file);
    if (plan.values.size() != restorable || plan.skipped != stored.size() - restorable)
        fail("a restore of a backup takes " + std::to_string(plan.values.size()) + " of " + std::to_string(restorable) +
             " values");
    if (plan.refusal != (restorable ? backup::RestorePlan::Refusal::None : backup::RestorePlan::Refusal::NothingToRestore))
        fail("a restore of a backup refused");
    if (plan.refusal != backup::RestorePlan::Refusal::None) return;
    platform::MemoryRegistry& target = ordinaryRegistry();
    checkRestore(plan, target);
    for (std::size_t i = 0; i < stored.size(); ++i) {
        const backup::RegEntry& want = stored[i];
        const settings::Setting& s = *storedSetting[i];
        const platform::RegValueData* got = target.find(s.key, s.name);
        if (want.absent) {
            if (got) fail(std::string("a round trip left ") + s.name + ", absent when backed up, as " + describe(*got));
        } else if (fitsSetting(s, want.type, want.data.size())) {
            if (!got || got->type != s.type || got->data != restoredBytes(s, want.data))
                fail(std::string("a round trip brought back ") + s.name + " as " +
                     (got ? describe(*got) : std::string("(absent)")) + ", not " +
                     describe(platform::RegValueData{want.type, want.data}));
        } else {
            const std::optional<platform::RegValueData> ordinary = ordinaryValue(s);
            if (!got != !ordinary || (got && !(*got == *ordinary)))
                fail(std::string("a round trip changed ") + s.name + ", whose backed-up data cannot be the setting's");
        }
    }
}

}  // namespace qmfuzz
