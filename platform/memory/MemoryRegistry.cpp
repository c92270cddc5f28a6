#include "platform/memory/MemoryRegistry.h"

#include <algorithm>
#include <cstring>

namespace platform {

namespace {

char lowerChar(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool sameName(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerChar(a[i]) != lowerChar(b[i])) return false;
    return true;
}

void appendLower(std::string& out, std::string_view s) {
    for (char c : s) out += lowerChar(c);
}

// The path's parts between backslashes, empty ones skipped.
template <typename F>
bool eachPart(std::string_view path, F&& f) {
    std::size_t i = 0;
    while (i < path.size()) {
        std::size_t end = path.find('\\', i);
        if (end == std::string_view::npos) end = path.size();
        if (end > i && !f(path.substr(i, end - i))) return false;
        i = end + 1;
    }
    return true;
}

}  // namespace

struct MemoryRegistry::Val {
    std::string name;  // as last set up, or as first written
    std::string lowerName;
    RegValueData v;
    void rename(std::string_view n) {
        name.assign(n.data(), n.size());
        lowerName.clear();
        appendLower(lowerName, n);
    }
};

struct MemoryRegistry::Node {
    std::string name;  // as first spelled
    std::string fullPath;
    std::string lowerPath;  // fullPath in lower case, for snapshots
    bool denied = false;
    std::vector<Node*> children;
    std::vector<Val> values;  // the first `count` are live
    std::size_t count = 0;

    Node* child(std::string_view part) const {
        for (Node* c : children)
            if (sameName(c->name, part)) return c;
        return nullptr;
    }
    Val* value(std::string_view n) {
        for (std::size_t i = 0; i < count; ++i)
            if (sameName(values[i].name, n)) return &values[i];
        return nullptr;
    }
    const Val* value(std::string_view n) const { return const_cast<Node*>(this)->value(n); }
};

MemoryRegistry::MemoryRegistry() { pool_.push_back(std::make_unique<Node>()); }
MemoryRegistry::~MemoryRegistry() = default;

void MemoryRegistry::reset() {
    Node& root = *pool_[0];
    root.children.clear();
    root.count = 0;
    root.denied = false;
    used_ = 1;
    lastNode_ = nullptr;
    handles_.clear();
    nextHandle_ = 0x1000;
    log_.clear();
    ops_ = 0;
    failWrites = false;
}

MemoryRegistry::Node* MemoryRegistry::newChild(Node* parent, std::string_view part) {
    if (used_ == pool_.size()) pool_.push_back(std::make_unique<Node>());
    Node* n = pool_[used_++].get();
    n->name.assign(part.data(), part.size());
    n->fullPath.assign(parent->fullPath);
    if (!n->fullPath.empty()) n->fullPath += '\\';
    n->fullPath.append(part.data(), part.size());
    n->lowerPath.clear();
    appendLower(n->lowerPath, n->fullPath);
    n->denied = false;
    n->children.clear();
    n->count = 0;
    parent->children.push_back(n);
    return n;
}

MemoryRegistry::Val& MemoryRegistry::slotFor(Node* n, std::string_view name, bool* created) {
    if (Val* v = n->value(name)) {
        *created = false;
        return *v;
    }
    *created = true;
    if (n->count == n->values.size()) n->values.emplace_back();
    Val& v = n->values[n->count++];
    v.rename(name);
    return v;
}

MemoryRegistry::Node* MemoryRegistry::findNode(std::string_view path, bool create) {
    // Callers mostly ask for the key they asked for last.
    if (lastNode_ && path == lastPath_) return lastNode_;
    Node* n = pool_[0].get();
    const bool found = eachPart(path, [&](std::string_view part) {
        Node* c = n->child(part);
        if (!c) {
            if (!create) return false;
            c = newChild(n, part);
        }
        n = c;
        return true;
    });
    if (!found) return nullptr;
    lastPath_.assign(path.data(), path.size());
    lastNode_ = n;
    return n;
}

const MemoryRegistry::Node* MemoryRegistry::findNode(std::string_view path) const {
    return const_cast<MemoryRegistry*>(this)->findNode(path, false);
}

MemoryRegistry::Node* MemoryRegistry::nodeOf(RegKey key) {
    for (const auto& [k, n] : handles_)
        if (k == key) return n;
    return nullptr;
}

RegStatus MemoryRegistry::openKey(Root root, const char* path, Access, RegKey& out) {
    ++ops_;
    out = 0;
    if (root != Root::LocalMachine) return RegStatus::NotFound;
    Node* n = findNode(path, false);
    if (!n) return RegStatus::NotFound;
    if (n->denied) return RegStatus::AccessDenied;
    out = nextHandle_++;
    handles_.emplace_back(out, n);
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::createKey(Root root, const char* path, Access, RegKey& out) {
    ++ops_;
    out = 0;
    if (root != Root::LocalMachine) return RegStatus::NotFound;
    // A denied key, or a missing key below a denied one, cannot be opened or made.
    Node* n = pool_[0].get();
    lastNode_ = nullptr;
    const bool made = eachPart(path, [&](std::string_view part) {
        Node* c = n->child(part);
        if (!c) {
            if (n->denied) return false;
            c = newChild(n, part);
            log_.push_back({RegLogEntry::CreateKey, c->fullPath, std::string(), {}});
        }
        n = c;
        return true;
    });
    if (!made || n->denied) return RegStatus::AccessDenied;
    out = nextHandle_++;
    handles_.emplace_back(out, n);
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::queryValueInfo(RegKey key, const char* name, ValueType& type,
                                         std::uint32_t& size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return RegStatus::InvalidHandle;
    const Val* v = n->value(name);
    if (!v) return RegStatus::NotFound;
    type = v->v.type;
    size = static_cast<std::uint32_t>(v->v.data.size());
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::queryValue(RegKey key, const char* name, ValueType& type, std::uint8_t* data,
                                     std::uint32_t& size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return RegStatus::InvalidHandle;
    const Val* found = n->value(name);
    if (!found) return RegStatus::NotFound;
    const auto& v = found->v;
    type = v.type;
    if (v.data.size() > size) {
        size = static_cast<std::uint32_t>(v.data.size());
        return RegStatus::MoreData;
    }
    if (!v.data.empty()) std::memcpy(data, v.data.data(), v.data.size());
    size = static_cast<std::uint32_t>(v.data.size());
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::setValue(RegKey key, const char* name, ValueType type, const std::uint8_t* data,
                                   std::uint32_t size) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return RegStatus::InvalidHandle;
    if (failWrites) return RegStatus::AccessDenied;
    bool created = false;
    Val& slot = slotFor(n, name, &created);
    slot.v.type = type;
    slot.v.data.assign(data, data + size);
    log_.push_back({RegLogEntry::Set, n->fullPath, name, slot.v});
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::deleteValue(RegKey key, const char* name) {
    ++ops_;
    Node* n = nodeOf(key);
    if (!n) return RegStatus::InvalidHandle;
    Val* v = n->value(name);
    if (!v) return RegStatus::NotFound;
    // The last live value takes its place; the order of values means nothing.
    std::swap(*v, n->values[--n->count]);
    log_.push_back({RegLogEntry::Delete, n->fullPath, name, {}});
    return RegStatus::Ok;
}

RegStatus MemoryRegistry::closeKey(RegKey key) {
    ++ops_;
    for (std::size_t i = 0; i < handles_.size(); ++i) {
        if (handles_[i].first != key) continue;
        handles_[i] = handles_.back();
        handles_.pop_back();
        return RegStatus::Ok;
    }
    return RegStatus::InvalidHandle;
}

void MemoryRegistry::addKey(std::string_view path) { findNode(path, true); }

void MemoryRegistry::setRaw(std::string_view path, std::string_view name, ValueType type, const std::uint8_t* data,
                            std::size_t size) {
    Node* n = findNode(path, true);
    bool created = false;
    Val& slot = slotFor(n, name, &created);
    if (!created) slot.rename(name);
    slot.v.type = type;
    slot.v.data.assign(data, data + size);
}

void MemoryRegistry::setRaw(std::string_view path, std::string_view name, ValueType type,
                            const std::vector<std::uint8_t>& data) {
    setRaw(path, name, type, data.data(), data.size());
}

void MemoryRegistry::setDword(std::string_view path, std::string_view name, std::uint32_t v) {
    setRaw(path, name, ValueType::Dword, dwordBytes(v).data(), 4);
}

void MemoryRegistry::setString(std::string_view path, std::string_view name, const std::string& text) {
    setRaw(path, name, ValueType::Text, reinterpret_cast<const std::uint8_t*>(text.data()), text.size());
}

void MemoryRegistry::denyAccess(std::string_view path, bool denied) { findNode(path, true)->denied = denied; }

bool MemoryRegistry::hasKey(std::string_view path) const { return findNode(path) != nullptr; }

bool MemoryRegistry::canOpen(std::string_view path) const {
    const Node* n = findNode(path);
    return n && !n->denied;
}

const RegValueData* MemoryRegistry::find(std::string_view path, std::string_view name) const {
    const Node* n = findNode(path);
    if (!n) return nullptr;
    const Val* v = n->value(name);
    return v ? &v->v : nullptr;
}

std::optional<RegValueData> MemoryRegistry::get(std::string_view path, std::string_view name) const {
    const RegValueData* v = find(path, name);
    if (!v) return std::nullopt;
    return *v;
}

std::optional<std::uint32_t> MemoryRegistry::getDword(std::string_view path, std::string_view name) const {
    const RegValueData* v = find(path, name);
    if (!v || v->type != ValueType::Dword || v->data.size() != 4) return std::nullopt;
    return dwordFromBytes(v->data.data());
}

std::optional<std::string> MemoryRegistry::getString(std::string_view path, std::string_view name) const {
    const RegValueData* v = find(path, name);
    if (!v || v->type != ValueType::Text) return std::nullopt;
    return std::string(v->data.begin(), v->data.end());
}

namespace {
// Whether path `a` sorts before `b` as the start of a snapshot key, each
// followed by its '|'.
bool pathBefore(const std::string& a, const std::string& b) {
    const std::size_t n = std::min(a.size(), b.size());
    if (const int c = std::memcmp(a.data(), b.data(), n)) return c < 0;
    if (a.size() == b.size()) return false;
    return a.size() < b.size() ? '|' < static_cast<unsigned char>(b[n]) : static_cast<unsigned char>(a[n]) < '|';
}
}  // namespace

std::size_t MemoryRegistry::snapshotInto(std::vector<FlatValue>& out) const {
    // Keys sort as "path|name". Where no path holds a '|', that is the order
    // of the keys' paths, then of the names within one key: a few short
    // sorts instead of one over long keys with long common beginnings.
    std::vector<const Node*>& nodes = snapshotNodes_;
    nodes.clear();
    bool plain = true;
    for (std::size_t i = 0; i < used_; ++i) {
        const Node& n = *pool_[i];
        if (!n.count) continue;
        nodes.push_back(&n);
        plain = plain && n.lowerPath.find('|') == std::string::npos;
    }
    if (plain) std::sort(nodes.begin(), nodes.end(), [](const Node* a, const Node* b) { return pathBefore(a->lowerPath, b->lowerPath); });
    std::size_t count = 0;
    std::vector<const Val*>& vals = snapshotValues_;
    for (const Node* n : nodes) {
        vals.clear();
        for (std::size_t j = 0; j < n->count; ++j) vals.push_back(&n->values[j]);
        std::sort(vals.begin(), vals.end(), [](const Val* a, const Val* b) { return a->lowerName < b->lowerName; });
        for (const Val* v : vals) {
            if (count == out.size()) out.emplace_back();
            FlatValue& f = out[count++];
            f.key.assign(n->lowerPath);
            f.key += '|';
            f.key += v->lowerName;
            f.value.type = v->v.type;
            f.value.data.assign(v->v.data.begin(), v->v.data.end());
        }
    }
    if (!plain)
        std::sort(out.begin(), out.begin() + static_cast<std::ptrdiff_t>(count),
                  [](const FlatValue& a, const FlatValue& b) { return a.key < b.key; });
    return count;
}

std::map<std::string, RegValueData> MemoryRegistry::snapshot() const {
    std::vector<FlatValue> flat;
    const std::size_t n = snapshotInto(flat);
    std::map<std::string, RegValueData> out;
    for (std::size_t i = 0; i < n; ++i) out.emplace(flat[i].key, flat[i].value);
    return out;
}

}  // namespace platform
