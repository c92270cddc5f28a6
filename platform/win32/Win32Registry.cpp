// First: <windows.h> defines REG_SZ and HKEY_LOCAL_MACHINE as macros, which
// would break the declarations of the same names in platform/.
#include "platform/win32/Win32Platform.h"

#include <windows.h>

#include <string>

namespace platform::win32 {

namespace {
HKEY toHkey(RegKey k) { return reinterpret_cast<HKEY>(k); }
RegKey fromHkey(HKEY h) { return reinterpret_cast<RegKey>(h); }
}  // namespace

RegStatus Win32Registry::openKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) {
    HKEY h = nullptr;
    LONG rc = RegOpenKeyExA(toHkey(root), path.c_str(), 0, access, &h);
    out = rc == ERROR_SUCCESS ? fromHkey(h) : 0;
    return rc;
}

RegStatus Win32Registry::createKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) {
    HKEY h = nullptr;
    DWORD disposition = 0;
    LONG rc = RegCreateKeyExA(toHkey(root), path.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE, access, nullptr, &h,
                              &disposition);
    out = rc == ERROR_SUCCESS ? fromHkey(h) : 0;
    return rc;
}

RegStatus Win32Registry::queryValueInfo(RegKey key, const std::string& name, std::uint32_t& type,
                                        std::uint32_t& size) {
    DWORD t = 0, n = 0;
    LONG rc = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &t, nullptr, &n);
    type = t;
    size = n;
    return rc;
}

RegStatus Win32Registry::queryValue(RegKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                    std::uint32_t& size) {
    DWORD t = 0, n = size;
    LONG rc = RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &t, data, &n);
    type = t;
    size = n;
    return rc;
}

RegStatus Win32Registry::setValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                  std::uint32_t size) {
    // An empty value still needs a readable buffer on some Windows versions.
    static const BYTE none = 0;
    if (!data || size == 0) return RegSetValueExA(toHkey(key), name.c_str(), 0, type, &none, size);
    if (type == REG_SZ || type == REG_EXPAND_SZ || type == REG_MULTI_SZ) {
        // NT (and Wine) count a NUL that happens to follow an unterminated
        // text into the value. The text must be stored exactly as given, so
        // make sure what follows it is not a NUL.
        std::string copy(reinterpret_cast<const char*>(data), size);
        copy.push_back('\x01');
        return RegSetValueExA(toHkey(key), name.c_str(), 0, type, reinterpret_cast<const BYTE*>(copy.data()), size);
    }
    return RegSetValueExA(toHkey(key), name.c_str(), 0, type, data, size);
}

RegStatus Win32Registry::deleteValue(RegKey key, const std::string& name) {
    return RegDeleteValueA(toHkey(key), name.c_str());
}

RegStatus Win32Registry::closeKey(RegKey key) { return RegCloseKey(toHkey(key)); }

}  // namespace platform::win32
