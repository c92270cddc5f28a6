// A registry in memory with Windows' semantics, for tests and fuzzing:
// key paths and value names match without regard to case, values keep
// their raw typed bytes, keys can be marked access-denied, and every write
// and deletion is logged in order.
#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "platform/Registry.h"

namespace platform {

struct RegValueData {
    std::uint32_t type = REG_NONE;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValueData& o) const { return type == o.type && data == o.data; }
};

struct RegLogEntry {
    enum Op { Set, Delete, CreateKey } op;
    std::string path;  // as the key was stored, joined with '\'
    std::string name;
    RegValueData value;
};

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    RegStatus openKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) override;
    RegStatus createKey(RegKey root, const std::string& path, std::uint32_t access, RegKey& out) override;
    RegStatus queryValueInfo(RegKey key, const std::string& name, std::uint32_t& type, std::uint32_t& size) override;
    RegStatus queryValue(RegKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                         std::uint32_t& size) override;
    RegStatus setValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                       std::uint32_t size) override;
    RegStatus deleteValue(RegKey key, const std::string& name) override;
    RegStatus closeKey(RegKey key) override;

    // Test set-up and inspection; paths are under HKEY_LOCAL_MACHINE.
    void addKey(const std::string& path);
    void setRaw(const std::string& path, const std::string& name, std::uint32_t type, std::vector<std::uint8_t> data);
    void setDword(const std::string& path, const std::string& name, std::uint32_t v);
    void setString(const std::string& path, const std::string& name, const std::string& text);  // no NUL
    void denyAccess(const std::string& path, bool denied = true);
    bool hasKey(const std::string& path) const;
    std::optional<RegValueData> get(const std::string& path, const std::string& name) const;
    std::optional<std::uint32_t> getDword(const std::string& path, const std::string& name) const;
    std::optional<std::string> getString(const std::string& path, const std::string& name) const;
    // Every value of every key, for before/after comparisons.
    std::map<std::string, RegValueData> snapshot() const;

    const std::vector<RegLogEntry>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    // Every call of the interface, counted, so tests can see round trips.
    std::size_t operationCount() const { return ops_; }
    std::size_t openHandles() const { return handles_.size(); }

    // A set-value that fails from now on (simulating a full or broken hive).
    bool failWrites = false;

private:
    struct Node;
    Node* findNode(const std::string& path, bool create, bool* deniedOut = nullptr);
    const Node* findNode(const std::string& path) const;
    Node* nodeOf(RegKey key);

    std::unique_ptr<Node> root_;
    std::map<RegKey, Node*> handles_;
    RegKey nextHandle_ = 0x1000;
    std::vector<RegLogEntry> log_;
    std::size_t ops_ = 0;
};

}  // namespace platform
