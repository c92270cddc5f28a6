// A registry in memory with Windows' semantics, for tests and fuzzing:
// key paths and value names match without regard to case, values keep
// their raw typed bytes, keys can be marked access-denied, and every write
// and deletion is logged in order. Its keys and values live in pools that
// reset() keeps, so a fuzzer can rebuild one per input without allocating.
#pragma once
#include <cstddef>
#include <cstdint>
#include <map>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "platform/Registry.h"

namespace platform {

struct RegValueData {
    ValueType type = ValueType::None;
    std::vector<std::uint8_t> data;
    bool operator==(const RegValueData& o) const { return type == o.type && data == o.data; }
};

struct RegLogEntry {
    enum Op { Set, Delete, CreateKey } op;
    std::string path;  // as the key was stored, joined with '\'
    std::string name;
    RegValueData value;
};

// One value of a snapshot: lower-case "path|name" and what it holds.
struct FlatValue {
    std::string key;
    RegValueData value;
};

class MemoryRegistry : public Registry {
public:
    MemoryRegistry();
    ~MemoryRegistry() override;

    RegStatus openKey(Root root, const char* path, Access access, RegKey& out) override;
    RegStatus createKey(Root root, const char* path, Access access, RegKey& out) override;
    RegStatus queryValueInfo(RegKey key, const char* name, ValueType& type, std::uint32_t& size) override;
    RegStatus queryValue(RegKey key, const char* name, ValueType& type, std::uint8_t* data,
                         std::uint32_t& size) override;
    RegStatus setValue(RegKey key, const char* name, ValueType type, const std::uint8_t* data,
                       std::uint32_t size) override;
    RegStatus deleteValue(RegKey key, const char* name) override;
    RegStatus closeKey(RegKey key) override;

    // Test set-up and inspection; paths are under Root::LocalMachine.
    void addKey(std::string_view path);
    void setRaw(std::string_view path, std::string_view name, ValueType type, const std::vector<std::uint8_t>& data);
    void setRaw(std::string_view path, std::string_view name, ValueType type, const std::uint8_t* data,
                std::size_t size);
    void setDword(std::string_view path, std::string_view name, std::uint32_t v);
    void setString(std::string_view path, std::string_view name, const std::string& text);  // no NUL
    void denyAccess(std::string_view path, bool denied = true);
    bool hasKey(std::string_view path) const;
    // Whether openKey would open it (it is there and not denied), without counting a call.
    bool canOpen(std::string_view path) const;
    std::optional<RegValueData> get(std::string_view path, std::string_view name) const;
    // The value itself, or null; valid until the registry next changes.
    const RegValueData* find(std::string_view path, std::string_view name) const;
    std::optional<std::uint32_t> getDword(std::string_view path, std::string_view name) const;
    std::optional<std::string> getString(std::string_view path, std::string_view name) const;
    // Every value of every key, for before/after comparisons.
    std::map<std::string, RegValueData> snapshot() const;
    // The same, sorted by key, into `out`'s first entries (their memory
    // reused); returns how many.
    std::size_t snapshotInto(std::vector<FlatValue>& out) const;

    // Empty again, as constructed: no keys, log or counts, writes taken.
    void reset();

    const std::vector<RegLogEntry>& log() const { return log_; }
    void clearLog() { log_.clear(); }
    // Every call of the interface, counted, so tests can see round trips.
    std::size_t operationCount() const { return ops_; }
    std::size_t openHandles() const { return handles_.size(); }

    // A set-value that fails from now on (simulating a full or broken hive).
    bool failWrites = false;

private:
    struct Node;
    struct Val;
    Node* findNode(std::string_view path, bool create);
    const Node* findNode(std::string_view path) const;
    Node* nodeOf(RegKey key);
    Node* newChild(Node* parent, std::string_view part);
    Val& slotFor(Node* n, std::string_view name, bool* created);

    std::vector<std::unique_ptr<Node>> pool_;  // pool_[0] is the root
    std::size_t used_ = 1;
    // The node last found and its path as asked: nodes live until reset().
    std::string lastPath_;
    Node* lastNode_ = nullptr;
    std::vector<std::pair<RegKey, Node*>> handles_;
    RegKey nextHandle_ = 0x1000;
    std::vector<RegLogEntry> log_;
    std::size_t ops_ = 0;
    // Scratch for snapshots, kept for its memory.
    mutable std::vector<const Node*> snapshotNodes_;
    mutable std::vector<const Val*> snapshotValues_;
};

}  // namespace platform
