#include "backup/Backup.h"

#include "settings/Store.h"

namespace backup {

namespace {

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

// Counts one value by what the registry holds now against what it should:
// `data` of the setting's type, or nothing.
void count(Outcome& o, settings::Store& store, const settings::Setting& s, const Stored& should) {
    if (store.read(s).sameAs(should)) ++o.done;
    else if (!store.keyExists(s)) ++o.keyMissing;
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
std::vector<Stored> readStored(settings::Store& store) {
    std::vector<Stored> out;
    store.readAll(writtenSettings(), out);
    return out;
}

Backup makeBackup(settings::Store& store) {
    const std::vector<Stored> values = readStored(store);
    std::vector<RegEntryView> entries;
    entries.reserve(values.size());
    for (const Stored& v : values)
        if (v.keyExists) entries.push_back({v.setting->key, v.setting->name, v.type, &v.data, !v.exists});
    return {writeRegFile(entries), entries.size()};
}

bool fits(const settings::Setting& s, platform::ValueType type, std::size_t bytes) {
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
        if (s->type == platform::ValueType::Text && !v.data.empty() && v.data.back() == 0) v.data.pop_back();
        plan.values.push_back(std::move(v));
    }
    if (plan.values.empty()) plan.refusal = R::NothingToRestore;
    return plan;
}

Outcome applyRestore(const RestorePlan& plan, settings::Store& store) {
    Outcome o;
    for (const RestorePlan::Value& v : plan.values) {
        const settings::Setting& s = *v.setting;
        Stored should;
        should.exists = !v.remove;
        should.type = s.type;
        should.data = v.data;
        // Each value read back as it is written: a later entry for the same
        // value is counted again.
        if (v.remove) {
            store.remove(s);
        } else if (!store.makeKey(s) && !store.keyExists(s)) {
            ++o.keyMissing;
            continue;
        } else if (s.type == platform::ValueType::Text) {
            store.store(s, std::string(v.data.begin(), v.data.end()));
        } else if (s.type == platform::ValueType::Dword) {
            store.store(s, static_cast<std::int32_t>(platform::dwordFromBytes(v.data.data())));
        } else {
            store.write(s, s.type, v.data.data(), v.data.size());
        }
        count(o, store, s, should);
    }
    return o;
}

bool Snapshot::changedSince(settings::Store& store) const {
    for (const Stored& then : values_)
        if (!then.sameAs(store.read(*then.setting))) return true;
    return false;
}

Outcome Snapshot::putBack(settings::Store& store) const {
    Outcome o;
    for (const Stored& then : values_) {
        const settings::Setting& s = *then.setting;
        if (then.sameAs(store.read(s))) {
            ++o.done;
            continue;
        }
        // The stored type and bytes, whatever they were: the registry
        // procedures write only the program's own forms. Only into keys
        // that exist: an undo makes none.
        if (!then.exists) store.remove(s);
        else if (store.keyExists(s)) store.write(s, then.type, then.data.data(), then.data.size());
        count(o, store, s, then);
    }
    return o;
}

}  // namespace backup
