// The six registry procedures every window uses. Each opens its key, does
// one thing and closes it; none reports failure to its caller.
#pragma once
#include <cstdint>
#include <string>

#include "platform/Registry.h"
#include "platform/SettingValue.h"

namespace platform {

class mdlRegistry {
public:
    explicit mdlRegistry(Registry& reg) : reg_(reg) {}

    void RemoveRegValue(Root root, const char* path, const char* name);
    void MakeRegKey(Root root, const char* path);
    void StoreRegSetting(Root root, const char* path, const char* name,
                         const SettingValue& value, ValueType type);
    SettingValue FetchRegSetting(Root root, const char* path, const char* name);

    RegStatus WriteRegValue(RegKey key, const char* name, ValueType type, const SettingValue& value);
    RegStatus ReadRegValue(RegKey key, const char* name, SettingValue& value);

    Registry& registry() { return reg_; }

private:
    Registry& reg_;
};

}  // namespace platform
