#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

namespace {
HKEY toHkey(RegKey k) { return reinterpret_cast<HKEY>(k); }
HKEY toHkey(Root r) { return reinterpret_cast<HKEY>(static_cast<std::uintptr_t>(r)); }
RegStatus status(LONG rc) { return static_cast<RegStatus>(rc); }
RegKey fromHkey(HKEY h) { return reinterpret_cast<RegKey>(h); }
}  // namespace

RegStatus Win32Registry::openKey(Root root, const char* path, Access access, RegKey& out) {
    HKEY h = nullptr;
    LONG rc = RegOpenKeyExA(toHkey(root), path, 0, static_cast<REGSAM>(access), &h);
    out = rc == ERROR_SUCCESS ? fromHkey(h) : 0;
    return status(rc);
}

RegStatus Win32Registry::createKey(Root root, const char* path, Access access, RegKey& out) {
    HKEY h = nullptr;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(toHkey(root), path, 0, nullptr, REG_OPTION_NON_VOLATILE, static_cast<REGSAM>(access), nullptr, &h,
                              &disposition);
    out = rc == ERROR_SUCCESS ? fromHkey(h) : 0;
    return status(rc);
}

RegStatus Win32Registry::queryValueInfo(RegKey key, const char* name, ValueType& type,
                                        std::uint32_t& size) {
    DWORD t = 0, n = 0;
    LONG rc = RegQueryValueExA(toHkey(key), name, nullptr, &t, nullptr, &n);
    type = static_cast<ValueType>(t);
    size = n;
    return status(rc);
}

RegStatus Win32Registry::queryValue(RegKey key, const char* name, ValueType& type, std::uint8_t* data,
                                    std::uint32_t& size) {
    DWORD t = 0, n = size;
    LONG rc = RegQueryValueExA(toHkey(key), name, nullptr, &t, data, &n);
    type = static_cast<ValueType>(t);
    size = n;
    return status(rc);
}

RegStatus Win32Registry::setValue(RegKey key, const char* name, ValueType type, const std::uint8_t* data,
                                  std::uint32_t size) {
    // An empty value still needs a readable buffer on some Windows versions.
    static const BYTE none = 0;
    if (!data || size == 0) return status(RegSetValueExA(toHkey(key), name, 0, DWORD(type), &none, size));
    if (type == ValueType::Text || type == ValueType::ExpandText || type == ValueType::MultiText) {
        // NT (and Wine) count a NUL that happens to follow an unterminated
        // text into the value. The text must be stored exactly as given, so
        // make sure what follows it is not a NUL.
        std::string copy(reinterpret_cast<const char*>(data), size);
        copy.push_back('\x01');
        return status(RegSetValueExA(toHkey(key), name, 0, DWORD(type), reinterpret_cast<const BYTE*>(copy.data()), size));
    }
    return status(RegSetValueExA(toHkey(key), name, 0, DWORD(type), data, size));
}

RegStatus Win32Registry::deleteValue(RegKey key, const char* name) {
    return status(RegDeleteValueA(toHkey(key), name));
}

RegStatus Win32Registry::closeKey(RegKey key) { return status(RegCloseKey(toHkey(key))); }

}  // namespace platform::win32
