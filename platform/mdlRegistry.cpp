#include "platform/mdlRegistry.h"

#include <new>
#include <vector>

namespace platform {

void mdlRegistry::RemoveRegValue(Root root, const char* path, const char* name) {
    RegKey key = 0;
    if (reg_.openKey(root, path, Access::ReadWrite, key) != RegStatus::Ok) key = 0;
    reg_.deleteValue(key, name);
    reg_.closeKey(key);
}

void mdlRegistry::MakeRegKey(Root root, const char* path) {
    RegKey key = 0;
    if (reg_.createKey(root, path, Access::ReadWrite, key) != RegStatus::Ok) key = 0;
    reg_.closeKey(key);
}

void mdlRegistry::StoreRegSetting(Root root, const char* path, const char* name,
                                  const SettingValue& value, ValueType type) {
    RegKey key = 0;
    if (reg_.openKey(root, path, Access::ReadWrite, key) != RegStatus::Ok) key = 0;
    WriteRegValue(key, name, type, value);
    reg_.closeKey(key);
}

SettingValue mdlRegistry::FetchRegSetting(Root root, const char* path, const char* name) {
    RegKey key = 0;
    if (reg_.openKey(root, path, Access::ReadWrite, key) != RegStatus::Ok) key = 0;
    SettingValue value;
    ReadRegValue(key, name, value);
    reg_.closeKey(key);
    return value;
}

RegStatus mdlRegistry::WriteRegValue(RegKey key, const char* name, ValueType type,
                                     const SettingValue& value) {
    if (type == ValueType::Text) {
        const std::string text = value.toText();
        return reg_.setValue(key, name, ValueType::Text, reinterpret_cast<const std::uint8_t*>(text.data()),
                             static_cast<std::uint32_t>(text.size()));
    }
    if (type == ValueType::Dword) {
        // Text that is not a number is never turned into some other number.
        auto n = value.toInt32();
        if (!n) return RegStatus::Ok;
        return reg_.setValue(key, name, ValueType::Dword, dwordBytes(static_cast<std::uint32_t>(*n)).data(), 4);
    }
    return RegStatus::Ok;
}

RegStatus mdlRegistry::ReadRegValue(RegKey key, const char* name, SettingValue& value) {
    ValueType type{};
    std::uint32_t size = 0;
    RegStatus status = reg_.queryValueInfo(key, name, type, size);
    if (status != RegStatus::Ok) return status;
    try {
        if (type == ValueType::Text) {
            std::vector<std::uint8_t> buf(size);
            std::uint32_t got = size;
            ValueType t2{};
            status = reg_.queryValue(key, name, t2, buf.data(), got);
            if (status != RegStatus::Ok) {
                value = SettingValue();
                return status;
            }
            if (got > size) got = size;
            value = SettingValue(std::string(reinterpret_cast<const char*>(buf.data()), got));
            return status;
        }
        if (type == ValueType::Dword) {
            std::uint8_t b[4] = {0, 0, 0, 0};
            std::uint32_t got = 4;
            ValueType t2{};
            status = reg_.queryValue(key, name, t2, b, got);
            if (status == RegStatus::Ok && got == 4) {
                value = SettingValue(static_cast<std::int32_t>(dwordFromBytes(b)));
            }
            return status;
        }
    } catch (const std::bad_alloc&) {
        return status;
    }
    return static_cast<RegStatus>(-1);
}

}  // namespace platform
