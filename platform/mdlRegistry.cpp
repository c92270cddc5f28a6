#include "platform/mdlRegistry.h"

#include <new>
#include <vector>

namespace platform {

void mdlRegistry::RemoveRegValue(RegKey root, const std::string& path, const std::string& name) {
    RegKey key = 0;
    if (reg_.openKey(root, path, KEY_ACCESS_0x3F, key) != 0) key = 0;
    reg_.deleteValue(key, name);
    reg_.closeKey(key);
}

void mdlRegistry::MakeRegKey(RegKey root, const std::string& path) {
    RegKey key = 0;
    if (reg_.createKey(root, path, KEY_ACCESS_0x3F, key) != 0) key = 0;
    reg_.closeKey(key);
}

void mdlRegistry::StoreRegSetting(RegKey root, const std::string& path, const std::string& name,
                                  const SettingValue& value, std::uint32_t type) {
    RegKey key = 0;
    if (reg_.openKey(root, path, KEY_ACCESS_0x3F, key) != 0) key = 0;
    WriteRegValue(key, name, type, value);
    reg_.closeKey(key);
}

SettingValue mdlRegistry::FetchRegSetting(RegKey root, const std::string& path, const std::string& name) {
    RegKey key = 0;
    if (reg_.openKey(root, path, KEY_ACCESS_0x3F, key) != 0) key = 0;
    SettingValue value;
    ReadRegValue(key, name, value);
    reg_.closeKey(key);
    return value;
}

RegStatus mdlRegistry::WriteRegValue(RegKey key, const std::string& name, std::uint32_t type,
                                     const SettingValue& value) {
    if (type == REG_SZ) {
        const std::string text = value.toText();
        return reg_.setValue(key, name, REG_SZ, reinterpret_cast<const std::uint8_t*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
    }
    if (type == REG_DWORD) {
        // Text that is not a number is never turned into some other number.
        auto n = value.toInt32();
        if (!n) return 0;
        const std::uint32_t u = static_cast<std::uint32_t>(*n);
        const std::uint8_t bytes[4] = {std::uint8_t(u), std::uint8_t(u >> 8), std::uint8_t(u >> 16),
                                       std::uint8_t(u >> 24)};
        return reg_.setValue(key, name, REG_DWORD, bytes, 4);
    }
    return 0;
}

RegStatus mdlRegistry::ReadRegValue(RegKey key, const std::string& name, SettingValue& value) {
    std::uint32_t type = 0, size = 0;
    RegStatus status = reg_.queryValueInfo(key, name, type, size);
    if (status != 0) return status;
    try {
        if (type == REG_SZ) {
            std::vector<std::uint8_t> buf(size);
            std::uint32_t got = size;
            std::uint32_t t2 = 0;
            status = reg_.queryValue(key, name, t2, buf.data(), got);
            if (status != 0) {
                value = SettingValue();
                return status;
            }
            if (got > size) got = size;
            value = SettingValue(std::string(reinterpret_cast<const char*>(buf.data()), got));
            return status;
        }
        if (type == REG_DWORD) {
            std::uint8_t b[4] = {0, 0, 0, 0};
            std::uint32_t got = 4;
            std::uint32_t t2 = 0;
            status = reg_.queryValue(key, name, t2, b, got);
            if (status == 0 && got == 4) {
                value = SettingValue(static_cast<std::int32_t>(std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) |
                                                               (std::uint32_t(b[2]) << 16) |
                                                               (std::uint32_t(b[3]) << 24)));
            }
            return status;
        }
    } catch (const std::bad_alloc&) {
        return status;
    }
    return -1;
}

}  // namespace platform
