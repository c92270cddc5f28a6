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

    void RemoveRegValue(RegKey root, const std::string& path, const std::string& name);
    void MakeRegKey(RegKey root, const std::string& path);
    void StoreRegSetting(RegKey root, const std::string& path, const std::string& name,
                         const SettingValue& value, std::uint32_t type);
    SettingValue FetchRegSetting(RegKey root, const std::string& path, const std::string& name);

    RegStatus WriteRegValue(RegKey key, const std::string& name, std::uint32_t type, const SettingValue& value);
    RegStatus ReadRegValue(RegKey key, const std::string& name, SettingValue& value);

    Registry& registry() { return reg_; }

private:
    Registry& reg_;
};

}  // namespace platform
