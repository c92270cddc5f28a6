// The one way above the platform layer to the program's registry values:
// each setting named once, its key, name and type taken from the catalogue.
// Typed reads and writes go through mdlRegistry's procedures; backup, undo
// and the coefficient writer read and write a value's raw typed bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/mdlRegistry.h"
#include "settings/Catalogue.h"

namespace settings {

// One value as it is stored now, in whatever type and size.
struct Stored {
    const Setting* setting = nullptr;
    bool exists = false;
    bool keyExists = false;  // its key opened for reading
    platform::ValueType type{};
    std::vector<std::uint8_t> data;
    // The same presence, type and bytes.
    bool sameAs(const Stored& o) const { return exists == o.exists && (!exists || (type == o.type && data == o.data)); }
};

class Store {
public:
    explicit Store(platform::mdlRegistry& reg) : reg_(reg) {}

    platform::SettingValue fetch(const Setting& s) { return reg_.FetchRegSetting(platform::Root::LocalMachine, s.key, s.name); }
    void store(const Setting& s, const platform::SettingValue& v) {
        if (!held_) reg_.StoreRegSetting(platform::Root::LocalMachine, s.key, s.name, v, s.type);
    }
    void remove(const Setting& s) {
        if (!held_) reg_.RemoveRegValue(platform::Root::LocalMachine, s.key, s.name);
    }

    // Whether the value is there at all, in any type: a value the registry
    // procedures cannot read still belongs to the user and is never replaced.
    bool exists(const Setting& s);
    // Whether the setting's key is there, open to this account or not.
    bool keyExists(const Setting& s);
    // Whether the key is there but closed to this account: writes into it
    // would be lost without a word.
    bool accessDenied(const char* keyPath);
    // Makes the setting's key where the program creates it (the catalogue
    // says which); false when it could not be made or opened.
    bool makeKey(const Setting& s);
    // The load's rule for a value found missing: its `created` value is
    // written, into a key made first where the program creates that key.
    // Nothing is queried when the read found something.
    bool createIfMissing(const Setting& s, bool readSomething);

    // The value's type and bytes as stored, read with query rights only, so
    // that a limited account can back up.
    Stored read(const Setting& s);
    // Each of `which` into `out`, in order; each run of one key opened once.
    void readAll(const std::vector<const Setting*>& which, std::vector<Stored>& out);
    // These type and bytes, into the setting's key where that exists (or
    // the program creates it); false when not written.
    bool write(const Setting& s, platform::ValueType type, const std::uint8_t* data, std::size_t size);

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
    platform::RegStatus open(const char* keyPath, platform::Access access, platform::RegKey& k);
    void readOpen(platform::RegKey k, const Setting& s, Stored& v);

    platform::mdlRegistry& reg_;
    int held_ = 0;
};

}  // namespace settings
