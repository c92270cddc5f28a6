#include "platform/memory/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

std::string lower(const std::string& s) {
    std::string r = s;
    for (char& c : r)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return r;
}

std::vector<std::string> splitPath(const std::string& path) {
    std::vector<std::string> parts;
    std::string cur;
    for (char c : path) {
        if (c == '\\') {
            if (!cur.empty()) parts.push_back(cur);
            cur.clear();
        } else {
            cur += c;
        }
    }
    if (!cur.empty()) parts.push_back(cur);
    return parts;
}

}  // namespace

struct MemoryRegistry::Node {
    std::string name;  // as first spelled
    std::string fullPath;
    bool denied = false;
    std::map<std::string, std::unique_ptr<Node>> children;  // by lower-case name
    struct Val {
        std::string name;
        RegValueData v;
    };
    std::map<std::string, Val> values;  // by lower-case name
};

MemoryRegistry::MemoryRegistry() : root_(std::make_unique<Node>()) {}
MemoryRegistry::~MemoryRegistry() = default;

MemoryRegistry::Node* MemoryRegistry::findNode(const std::string& path, bool create, bool* deniedOut) {
    Node* n = root_.get();
    for (const auto& part : splitPath(path)) {
        auto it = n->children.find(lower(part));
        if (it == n->children.end()) {
            if (!create) return nullptr;
            auto child = std::make_unique<Node>();
            child->name = part;
            child->fullPath = n->fullPath.empty() ? part : n->fullPath + "\\" + part;
            Node* raw = child.get();
            n->children[lower(part)] = std::move(child);
            n = raw;
        } else {
            n = it->second.get();
        }
    }
    if (deniedOut) *deniedOut = n->denied;
    return n;
}

const MemoryRegistry::Node* MemoryRegistry::findNode(const std::string& path) const {
    const Node* n = root_.get();
    for (const auto& part : splitPath(path)) {
        auto it = n->children.find(lower(part));
        if (it == n->children.end()) return nullptr;
        n = it->second.get();
    }
    return n;
}

MemoryRegistry::Node* MemoryRegistry::nodeOf(RegKey key) {
    auto it = handles_.find(key);
    return it == handles_.end() ? nullptr : it->second;
}

RegStatus MemoryRegistry::openKey(RegKey root, const std::string& path, std::uint32_t, RegKey& out) {
    ++ops_;
    out = 0;
    if (root != HKEY_LOCAL_MACHINE) return ERROR_FILE_NOT_FOUND_;
    Node* n = findNode(path, false);
    if (!n) return ERROR_FILE_NOT_FOUND_;
    if (n->denied) return ERROR_ACCESS_DENIED_;
    out = nextHandle_++;
    handles_[out] = n;
    return 0;
}

RegStatus MemoryRegistry::createKey(RegKey root, const std::string& path, std::uint32_t, RegKey& out) {
    ++ops_;
    out = 0;
    if (root != HKEY_LOCAL_MACHINE) return ERROR_FILE_NOT_FOUND_;
    // A denied key, or a missing key below a denied one, cannot be opened or made.
    Node* n = root_.get();
    for (const auto& part : splitPath(path)) {
        auto it = n->children.find(lower(part));
        if (it == n->children.end()) {
            if (n->denied) return ERROR_ACCESS_DENIED_;
            auto child = std::make_unique<Node>();
            child->name = part;
            child->fullPath = n->fullPath.empty() ? part : n->fullPath + "\\" + part;
            Node* raw = child.get();
            n->children[lower(part)] = std::move(child);
            log_.push_back({RegLogEntry::CreateKey, raw->fullPath, std::string(), {}});
            n = raw;
        } else {
            n = it->second.get();
        }
    }
    if (n->denied) return ERROR_ACCESS_DENIED_;
    out = nextHandle_++;
    handles_[out] = n;
    return 0;
}

RegStatus MemoryRegistry::queryValueInfo(RegKey key, const std::string& name, std::uint32_t& type,
                                         std::uint32_t& size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return ERROR_INVALID_HANDLE_;
    auto it = n->values.find(lower(name));
    if (it == n->values.end()) return ERROR_FILE_NOT_FOUND_;
    type = it->second.v.type;
    size = static_cast<std::uint32_t>(it->second.v.data.size());
    return 0;
}

RegStatus MemoryRegistry::queryValue(RegKey key, const std::string& name, std::uint32_t& type, std::uint8_t* data,
                                     std::uint32_t& size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return ERROR_INVALID_HANDLE_;
    auto it = n->values.find(lower(name));
    if (it == n->values.end()) return ERROR_FILE_NOT_FOUND_;
    const auto& v = it->second.v;
    type = v.type;
    if (v.data.size() > size) {
        size = static_cast<std::uint32_t>(v.data.size());
        return ERROR_MORE_DATA_;
    }
    if (!v.data.empty()) std::memcpy(data, v.data.data(), v.data.size());
    size = static_cast<std::uint32_t>(v.data.size());
    return 0;
}

RegStatus MemoryRegistry::setValue(RegKey key, const std::string& name, std::uint32_t type, const std::uint8_t* data,
                                   std::uint32_t size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return ERROR_INVALID_HANDLE_;
    if (failWrites) return ERROR_ACCESS_DENIED_;
    RegValueData v{type, std::vector<std::uint8_t>(data, data + size)};
    auto& slot = n->values[lower(name)];
    if (slot.name.empty()) slot.name = name;
    slot.v = v;
    log_.push_back({RegLogEntry::Set, n->fullPath, name, v});
    return 0;
}

RegStatus MemoryRegistry::deleteValue(RegKey key, const std::string& name) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return ERROR_INVALID_HANDLE_;
    auto it = n->values.find(lower(name));
    if (it == n->values.end()) return ERROR_FILE_NOT_FOUND_;
    n->values.erase(it);
    log_.push_back({RegLogEntry::Delete, n->fullPath, name, {}});
    return 0;
}

RegStatus MemoryRegistry::closeKey(RegKey key) {
    ++ops_;
    return handles_.erase(key) ? 0 : ERROR_INVALID_HANDLE_;
}

void MemoryRegistry::addKey(const std::string& path) { findNode(path, true); }

void MemoryRegistry::setRaw(const std::string& path, const std::string& name, std::uint32_t type,
                            std::vector<std::uint8_t> data) {
    Node* n = findNode(path, true);
    auto& slot = n->values[lower(name)];
    slot.name = name;
    slot.v = {type, std::move(data)};
}

void MemoryRegistry::setDword(const std::string& path, const std::string& name, std::uint32_t v) {
    setRaw(path, name, REG_DWORD,
           {std::uint8_t(v), std::uint8_t(v >> 8), std::uint8_t(v >> 16), std::uint8_t(v >> 24)});
}

void MemoryRegistry::setString(const std::string& path, const std::string& name, const std::string& text) {
    setRaw(path, name, REG_SZ, std::vector<std::uint8_t>(text.begin(), text.end()));
}

void MemoryRegistry::denyAccess(const std::string& path, bool denied) { findNode(path, true)->denied = denied; }

bool MemoryRegistry::hasKey(const std::string& path) const { return findNode(path) != nullptr; }

std::optional<RegValueData> MemoryRegistry::get(const std::string& path, const std::string& name) const {
    const Node* n = findNode(path);
    if (!n) return std::nullopt;
    auto it = n->values.find(lower(name));
    if (it == n->values.end()) return std::nullopt;
    return it->second.v;
}

std::optional<std::uint32_t> MemoryRegistry::getDword(const std::string& path, const std::string& name) const {
    auto v = get(path, name);
    if (!v || v->type != REG_DWORD || v->data.size() != 4) return std::nullopt;
    return std::uint32_t(v->data[0]) | (std::uint32_t(v->data[1]) << 8) | (std::uint32_t(v->data[2]) << 16) |
           (std::uint32_t(v->data[3]) << 24);
}

std::optional<std::string> MemoryRegistry::getString(const std::string& path, const std::string& name) const {
    auto v = get(path, name);
    if (!v || v->type != REG_SZ) return std::nullopt;
    return std::string(v->data.begin(), v->data.end());
}

std::map<std::string, RegValueData> MemoryRegistry::snapshot() const {
    std::map<std::string, RegValueData> out;
    std::vector<const Node*> stack{root_.get()};
    while (!stack.empty()) {
        const Node* n = stack.back();
        stack.pop_back();
        for (const auto& [k, v] : n->values) out[lower(n->fullPath) + "|" + k] = v.v;
        for (const auto& [k, c] : n->children) stack.push_back(c.get());
    }
    return out;
}

}  // namespace platform
