#include "backup/Backup.h"

#include "settings/Store.h"

namespace backup {

namespace {

using platform::HKEY_LOCAL_MACHINE;
using platform::RegKey;

// Reading needs no more than this, so a limited account can still back up.
constexpr std::uint32_t KEY_QUERY_VALUE_ = 0x0001;

// One value of a key already open (0 when it would not open).
Stored readOpen(platform::Registry& reg, RegKey k, const settings::Setting& s) {
    Stored v;
    v.setting = &s;
    v.keyExists = k != 0;
    std::uint32_t type = 0, size = 0;
    if (!k || reg.queryValueInfo(k, s.name, type, size) != 0) return v;
    v.data.resize(size);
    std::uint32_t got = size;
    if (reg.queryValue(k, s.name, type, v.data.data(), got) != 0) {
        v.data.clear();
        return v;
    }
    v.exists = true;
    v.type = type;
    v.data.resize(got);
    return v;
}

Stored readOne(platform::Registry& reg, const settings::Setting& s) {
    RegKey k = 0;
    if (reg.openKey(HKEY_LOCAL_MACHINE, s.key, KEY_QUERY_VALUE_, k) != 0) k = 0;
    Stored v = readOpen(reg, k, s);
    reg.closeKey(k);
    return v;
}

bool sameAs(const Stored& a, const Stored& b) {
    return a.exists == b.exists && (!a.exists || (a.type == b.type && a.data == b.data));
}

// From where the last one was found: a backup lists them in catalogue order.
const settings::Setting* writtenAt(const std::string& key, const std::string& name, std::size_t& from) {
    // A NUL inside the file's key or name would end the comparison early.
    if (key.find('\0') != std::string::npos || name.find('\0') != std::string::npos) return nullptr;
    const std::vector<const settings::Setting*>& written = writtenSettings();
    for (std::size_t k = 0, i = from; k < written.size(); ++k, ++i) {
        if (i == written.size()) i = 0;
        const settings::Setting* s = written[i];
        // Names first: they differ early, the keys share long prefixes.
        if (settings::detail::iequal(s->name, name.c_str()) && settings::detail::iequal(s->key, key.c_str())) {
            from = i + 1;
            return s;
        }
    }
    return nullptr;
}

bool keyExists(platform::Registry& reg, const char* path) {
    RegKey k = 0;
    const platform::RegStatus st = reg.openKey(HKEY_LOCAL_MACHINE, path, KEY_QUERY_VALUE_, k);
    reg.closeKey(k);
    return st != platform::ERROR_FILE_NOT_FOUND_;
}

// Counts one value by what the registry holds now against what it should:
// `data` of the setting's type, or nothing.
void count(Outcome& o, platform::Registry& reg, const settings::Setting& s, bool exists, std::uint32_t type,
           const std::vector<std::uint8_t>& data) {
    const Stored now = readOne(reg, s);
    if (now.exists == exists && (!exists || (now.type == type && now.data == data))) ++o.done;
    else if (!keyExists(reg, s.key)) ++o.keyMissing;
    else ++o.refused;
}

}  // namespace

const std::vector<const settings::Setting*>& writtenSettings() {
    static const std::vector<const settings::Setting*> written = [] {
        std::vector<const settings::Setting*> v;
        for (const settings::Setting& s : settings::all())
            if (s.written) v.push_back(&s);
        return v;
    }();
    return written;
}

// Each key opened once: this runs as the program starts.
std::vector<Stored> readStored(platform::Registry& reg) {
    std::vector<Stored> out;
    const char* openPath = nullptr;
    RegKey k = 0;
    for (const settings::Setting* s : writtenSettings()) {
        if (s->key != openPath) {
            reg.closeKey(k);
            openPath = s->key;
            if (reg.openKey(HKEY_LOCAL_MACHINE, s->key, KEY_QUERY_VALUE_, k) != 0) k = 0;
        }
        out.push_back(readOpen(reg, k, *s));
    }
    reg.closeKey(k);
    return out;
}

Backup makeBackup(platform::Registry& reg) {
    std::vector<RegEntry> entries;
    entries.reserve(writtenSettings().size());
    for (const Stored& v : readStored(reg))
        if (v.keyExists) entries.push_back({v.setting->key, v.setting->name, v.type, v.data, !v.exists});
    return {writeRegFile(entries), entries.size()};
}

bool fits(const settings::Setting& s, std::uint32_t type, std::size_t bytes) {
    return type == s.type && (s.size == 0 || bytes == s.size);
}

RestorePlan planRestore(const std::string& fileBytes) { return planRestore(readRegFile(fileBytes)); }

RestorePlan planRestore(const ReadResult& file) {
    using R = RestorePlan::Refusal;
    RestorePlan plan;
    switch (file.error) {
        case ReadError::TooLarge: plan.refusal = R::TooLarge; return plan;
        case ReadError::Empty: plan.refusal = R::Empty; return plan;
        case ReadError::NotRegistryFile: plan.refusal = R::NotRegistryFile; return plan;
        case ReadError::CutOff: plan.refusal = R::CutOff; return plan;
        case ReadError::None: break;
    }
    plan.skipped = file.skipped;
    std::size_t from = 0;
    for (const RegEntry& e : file.entries) {
        const settings::Setting* s = writtenAt(e.key, e.name, from);
        if (!s || (!e.absent && !fits(*s, e.type, e.data.size()))) {
            ++plan.skipped;
            continue;
        }
        RestorePlan::Value v{s, e.data, e.absent};
        // Texts are written the program's way, without a terminator.
        if (s->type == platform::REG_SZ && !v.data.empty() && v.data.back() == 0) v.data.pop_back();
        plan.values.push_back(std::move(v));
    }
    if (plan.values.empty()) plan.refusal = R::NothingToRestore;
    return plan;
}

Outcome applyRestore(const RestorePlan& plan, platform::mdlRegistry& reg) {
    settings::Store store(reg);
    Outcome o;
    for (const RestorePlan::Value& v : plan.values) {
        const settings::Setting& s = *v.setting;
        // Each value read back as it is written: a later entry for the same
        // value is counted again.
        if (v.remove) {
            store.remove(s);
            count(o, reg.registry(), s, false, 0, v.data);
            continue;
        }
        if (s.keyCreated) store.makeKey(s.key);
        else if (!keyExists(reg.registry(), s.key)) {
            ++o.keyMissing;
            continue;
        }
        if (s.type == platform::REG_SZ) {
            store.store(s, std::string(v.data.begin(), v.data.end()));
        } else if (s.type == platform::REG_DWORD) {
            const std::uint32_t n = v.data[0] | (v.data[1] << 8) | (v.data[2] << 16) | (std::uint32_t(v.data[3]) << 24);
            store.store(s, static_cast<std::int32_t>(n));
        } else {
            platform::Registry& raw = reg.registry();
            RegKey k = 0;
            if (raw.createKey(HKEY_LOCAL_MACHINE, s.key, platform::KEY_ACCESS_0x3F, k) == 0)
                raw.setValue(k, s.name, s.type, v.data.data(), static_cast<std::uint32_t>(v.data.size()));
            raw.closeKey(k);
        }
        count(o, reg.registry(), s, true, s.type, v.data);
    }
    return o;
}

bool Snapshot::changedSince(platform::Registry& reg) const {
    for (const Stored& then : values_)
        if (!sameAs(then, readOne(reg, *then.setting))) return true;
    return false;
}

Outcome Snapshot::putBack(platform::mdlRegistry& reg) const {
    platform::Registry& raw = reg.registry();
    Outcome o;
    for (const Stored& then : values_) {
        const settings::Setting& s = *then.setting;
        if (sameAs(then, readOne(raw, s))) {
            ++o.done;
            continue;
        }
        if (!then.exists) {
            reg.RemoveRegValue(HKEY_LOCAL_MACHINE, s.key, s.name);
            count(o, raw, s, then.exists, then.type, then.data);
            continue;
        }
        // The stored type and bytes, whatever they were: the registry
        // procedures write only the program's own forms.
        RegKey k = 0;
        if (raw.openKey(HKEY_LOCAL_MACHINE, s.key, platform::KEY_ACCESS_0x3F, k) == 0)
            raw.setValue(k, s.name, then.type, then.data.data(), static_cast<std::uint32_t>(then.data.size()));
        raw.closeKey(k);
        count(o, raw, s, then.exists, then.type, then.data);
    }
    return o;
}

}  // namespace backup
