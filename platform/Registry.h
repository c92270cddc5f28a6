// The operating system's registry, reduced to what mdlRegistry and the
// coefficient writer need. Handles are opaque numbers; 0 is "no key".
#pragma once
#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace platform {

using RegKey = std::uintptr_t;

// The one root the program's values live under.
enum class Root : std::uintptr_t { LocalMachine = 0x80000002u };

// A value's type as stored. A value may come back with any other number too.
enum class ValueType : std::uint32_t { None = 0, Text = 1, ExpandText = 2, Binary = 3, Dword = 4, MultiText = 7 };

// What a call did; a failure may come back with any other number too.
enum class RegStatus : std::int32_t { Ok = 0, NotFound = 2, AccessDenied = 5, InvalidHandle = 6, MoreData = 234 };

// The rights a key is opened with. ReadWrite is query, set, create sub-key,
// enumerate, notify and create link, without the standard rights.
enum class Access : std::uint32_t { Read = 0x1, ReadWrite = 0x3F };

// A DWORD's bytes as stored: little-endian.
inline std::uint32_t dwordFromBytes(const std::uint8_t* b) {
    return std::uint32_t(b[0]) | (std::uint32_t(b[1]) << 8) | (std::uint32_t(b[2]) << 16) | (std::uint32_t(b[3]) << 24);
}
inline std::array<std::uint8_t, 4> dwordBytes(std::uint32_t v) {
    return {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)};
}

class Registry {
public:
    virtual ~Registry() = default;
    // Opens an existing key; fails for a missing key or missing rights.
    virtual RegStatus openKey(Root root, const char* path, Access access, RegKey& out) = 0;
    // Creates the key and any missing parents, or opens it.
    virtual RegStatus createKey(Root root, const char* path, Access access, RegKey& out) = 0;
    // Type and size of a value without its data.
    virtual RegStatus queryValueInfo(RegKey key, const char* name, ValueType& type, std::uint32_t& size) = 0;
    // Reads up to `size` bytes into `data`; `size` becomes the bytes written.
    virtual RegStatus queryValue(RegKey key, const char* name, ValueType& type,
                                 std::uint8_t* data, std::uint32_t& size) = 0;
    virtual RegStatus setValue(RegKey key, const char* name, ValueType type,
                               const std::uint8_t* data, std::uint32_t size) = 0;
    virtual RegStatus deleteValue(RegKey key, const char* name) = 0;
    virtual RegStatus closeKey(RegKey key) = 0;
};

}  // namespace platform
