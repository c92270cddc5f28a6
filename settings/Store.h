// Catalogue entries read and written through mdlRegistry, so a window names
// a setting once and gets its key, name and type from the table.
#pragma once
#include "platform/mdlRegistry.h"
#include "settings/Catalogue.h"

namespace settings {

class Store {
public:
    explicit Store(platform::mdlRegistry& reg) : reg_(reg) {}
    platform::SettingValue fetch(const Setting& s) { return reg_.FetchRegSetting(platform::HKEY_LOCAL_MACHINE, s.key, s.name); }
    void store(const Setting& s, const platform::SettingValue& v) {
        if (!held_) reg_.StoreRegSetting(platform::HKEY_LOCAL_MACHINE, s.key, s.name, v, s.type);
    }
    void remove(const Setting& s) {
        if (!held_) reg_.RemoveRegValue(platform::HKEY_LOCAL_MACHINE, s.key, s.name);
    }
    // Whether the value is there at all, in any type: a value the registry
    // procedures cannot read still belongs to the user and is never replaced.
    bool exists(const Setting& s) {
        platform::Registry& r = reg_.registry();
        platform::RegKey k = 0;
        if (r.openKey(platform::HKEY_LOCAL_MACHINE, s.key, platform::KEY_ACCESS_0x3F, k) != 0) return false;
        std::uint32_t type = 0, size = 0;
        const bool found = r.queryValueInfo(k, s.name, type, size) == 0;
        r.closeKey(k);
        return found;
    }
    // Whether the key is there but closed to this account: writes into it
    // would be lost without a word.
    bool accessDenied(const char* keyPath) {
        platform::Registry& r = reg_.registry();
        platform::RegKey k = 0;
        const platform::RegStatus st = r.openKey(platform::HKEY_LOCAL_MACHINE, keyPath, platform::KEY_ACCESS_0x3F, k);
        r.closeKey(k);
        return st == platform::ERROR_ACCESS_DENIED_;
    }
    void makeKey(const char* keyPath) {
        if (!held_) reg_.MakeRegKey(platform::HKEY_LOCAL_MACHINE, keyPath);
    }
    // The load's rule for a value found missing: its `created` value is
    // written, into a key made first where the program creates that key.
    // Nothing is queried when the read found something.
    bool createIfMissing(const Setting& s, bool readSomething) {
        if (readSomething || exists(s)) return false;
        if (s.keyCreated) makeKey(s.key);
        store(s, *s.created);
        return true;
    }
    platform::mdlRegistry& registry() { return reg_; }

    // While one lives, this store writes nothing: a window showing what is
    // stored runs its handlers without their writes.
    class HoldWrites {
    public:
        explicit HoldWrites(Store& s) : s_(s) { ++s_.held_; }
        ~HoldWrites() { --s_.held_; }
        HoldWrites(const HoldWrites&) = delete;
        HoldWrites& operator=(const HoldWrites&) = delete;

    private:
        Store& s_;
    };

private:
    platform::mdlRegistry& reg_;
    int held_ = 0;
};

}  // namespace settings
