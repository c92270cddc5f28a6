#include "settings/Store.h"

namespace settings {

using platform::Access;
using platform::RegKey;
using platform::RegStatus;

RegStatus Store::open(const char* keyPath, Access access, RegKey& k) {
    const RegStatus st = reg_.registry().openKey(platform::Root::LocalMachine, keyPath, access, k);
    if (st != RegStatus::Ok) k = 0;
    return st;
}

bool Store::exists(const Setting& s) {
    RegKey k = 0;
    if (open(s.key, Access::ReadWrite, k) != RegStatus::Ok) return false;
    platform::ValueType type{};
    std::uint32_t size = 0;
    const bool found = reg_.registry().queryValueInfo(k, s.name, type, size) == RegStatus::Ok;
    reg_.registry().closeKey(k);
    return found;
}

bool Store::keyExists(const Setting& s) {
    RegKey k = 0;
    const RegStatus st = open(s.key, Access::Read, k);
    reg_.registry().closeKey(k);
    return st != RegStatus::NotFound;
}

bool Store::accessDenied(const char* keyPath) {
    RegKey k = 0;
    const RegStatus st = open(keyPath, Access::ReadWrite, k);
    reg_.registry().closeKey(k);
    return st == RegStatus::AccessDenied;
}

bool Store::makeKey(const Setting& s) {
    if (!s.keyCreated) return keyExists(s);
    if (held_) return true;
    RegKey k = 0;
    const RegStatus st = reg_.registry().createKey(platform::Root::LocalMachine, s.key, Access::ReadWrite, k);
    if (st == RegStatus::Ok) reg_.registry().closeKey(k);
    return st == RegStatus::Ok;
}

bool Store::createIfMissing(const Setting& s, bool readSomething) {
    if (readSomething || exists(s)) return false;
    if (s.keyCreated) makeKey(s);
    store(s, *s.created);
    return true;
}

void Store::readOpen(RegKey k, const Setting& s, Stored& v) {
    platform::Registry& r = reg_.registry();
    v.setting = &s;
    v.keyExists = k != 0;
    v.exists = false;
    v.type = {};
    v.data.clear();
    std::uint32_t size = 0;
    if (!k || r.queryValueInfo(k, s.name, v.type, size) != RegStatus::Ok) return;
    v.data.resize(size);
    std::uint32_t got = size;
    if (r.queryValue(k, s.name, v.type, v.data.data(), got) != RegStatus::Ok) {
        v.data.clear();
        v.type = {};
        return;
    }
    v.exists = true;
    v.data.resize(got);
}

Stored Store::read(const Setting& s) {
    Stored v;
    RegKey k = 0;
    open(s.key, Access::Read, k);
    readOpen(k, s, v);
    reg_.registry().closeKey(k);
    return v;
}

void Store::readAll(const std::vector<const Setting*>& which, std::vector<Stored>& out) {
    out.resize(which.size());
    const char* openPath = nullptr;
    RegKey k = 0;
    for (std::size_t i = 0; i < which.size(); ++i) {
        if (which[i]->key != openPath) {
            reg_.registry().closeKey(k);
            openPath = which[i]->key;
            open(openPath, Access::Read, k);
        }
        readOpen(k, *which[i], out[i]);
    }
    reg_.registry().closeKey(k);
}

bool Store::write(const Setting& s, platform::ValueType type, const std::uint8_t* data, std::size_t size) {
    if (held_) return false;
    platform::Registry& r = reg_.registry();
    RegKey k = 0;
    const RegStatus st = s.keyCreated ? r.createKey(platform::Root::LocalMachine, s.key, Access::ReadWrite, k)
                                      : open(s.key, Access::ReadWrite, k);
    if (st != RegStatus::Ok) return false;
    const bool done = r.setValue(k, s.name, type, data, static_cast<std::uint32_t>(size)) == RegStatus::Ok;
    r.closeKey(k);
    return done;
}

}  // namespace settings
