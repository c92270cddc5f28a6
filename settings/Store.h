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
        reg_.StoreRegSetting(platform::HKEY_LOCAL_MACHINE, s.key, s.name, v, s.type);
    }
    void remove(const Setting& s) { reg_.RemoveRegValue(platform::HKEY_LOCAL_MACHINE, s.key, s.name); }
    void makeKey(const char* keyPath) { reg_.MakeRegKey(platform::HKEY_LOCAL_MACHINE, keyPath); }
    platform::mdlRegistry& registry() { return reg_; }

private:
    platform::mdlRegistry& reg_;
};

}  // namespace settings
