// The operating system's registry, reduced to what mdlRegistry and the
// coefficient writer need. Handles are opaque numbers; 0 is "no key".
#pragma once
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using RegKey = std::uintptr_t;
using RegStatus = std::int32_t;

constexpr RegKey HKEY_LOCAL_MACHINE = 0x80000002u;

constexpr std::uint32_t REG_NONE = 0;
constexpr std::uint32_t REG_SZ = 1;
constexpr std::uint32_t REG_EXPAND_SZ = 2;
constexpr std::uint32_t REG_BINARY = 3;
constexpr std::uint32_t REG_DWORD = 4;
constexpr std::uint32_t REG_MULTI_SZ = 7;

// The mask every key is opened with: query, set, create sub-key, enumerate,
// notify and create link, no standard rights.
constexpr std::uint32_t KEY_ACCESS_0x3F = 0x3F;

constexpr RegStatus ERROR_SUCCESS_ = 0;
constexpr RegStatus ERROR_FILE_NOT_FOUND_ = 2;
constexpr RegStatus ERROR_ACCESS_DENIED_ = 5;
constexpr RegStatus ERROR_INVALID_HANDLE_ = 6;
constexpr RegStatus ERROR_MORE_DATA_ = 234;

class Registry {
public:
    virtual ~Registry() = default;
    // Opens an existing key; fails for a missing key or missing rights.
    virtual RegStatus openKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) = 0;
    // Creates the key and any missing parents, or opens it.
    virtual RegStatus createKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) = 0;
    // Type and size of a value without its data.
    virtual RegStatus queryValueInfo(RegKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size) = 0;
    // Reads up to `size` bytes into `data`; `size` becomes the bytes written.
    virtual RegStatus queryValue(RegKey key, const std::string& name, std::uint32_t& type,
                                 std::uint8_t* data, std::uint32_t& size) = 0;
    virtual RegStatus setValue(RegKey key, const std::string& name, std::uint32_t type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    virtual RegStatus deleteValue(RegKey key, const std::string& name) = 0;
    virtual RegStatus closeKey(RegKey key) = 0;
};

}  // namespace platform
