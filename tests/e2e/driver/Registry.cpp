#include "Registry.h"

#include <cstdio>
#include <cstring>
#include <sstream>

#include "Internal.h"
#include "Program.h"
#include "settings/Catalogue.h"

namespace e2e {

using namespace detail;

namespace {

HKEY rootKey(reg::Root r) { return r == reg::Root::CurrentUser ? HKEY_CURRENT_USER : HKEY_LOCAL_MACHINE; }

std::string rootName(reg::Root r) { return r == reg::Root::CurrentUser ? "HKCU" : "HKLM"; }

void check(LONG rc, const std::string& what) {
    if (rc != ERROR_SUCCESS) throw Failure(what + " failed with error " + std::to_string(rc));
}

struct Key {
    HKEY h = nullptr;
    ~Key() {
        if (h) RegCloseKey(h);
    }
};

void writeValue(const std::string& path, const std::string& name, DWORD type, const void* data, DWORD size,
                reg::Root root) {
    Key k;
    check(RegCreateKeyExA(rootKey(root), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k.h, nullptr),
          "creating " + rootName(root) + "\\" + path);
    check(RegSetValueExA(k.h, name.c_str(), 0, type, static_cast<const BYTE*>(data), size),
          "writing " + path + "\\" + name);
}

void deleteTree(HKEY parent, const std::string& path) {
    HKEY k = nullptr;
    if (RegOpenKeyExA(parent, path.c_str(), 0, KEY_ALL_ACCESS, &k) != ERROR_SUCCESS) return;
    for (;;) {
        char sub[256];
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(k, 0, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        deleteTree(k, sub);
        // A sub-key that would not go would loop forever.
        HKEY still = nullptr;
        if (RegOpenKeyExA(k, sub, 0, KEY_READ, &still) == ERROR_SUCCESS) {
            RegCloseKey(still);
            RegCloseKey(k);
            throw Failure("cannot delete registry key " + path + "\\" + sub);
        }
    }
    RegCloseKey(k);
    check(RegDeleteKeyA(parent, path.c_str()), "deleting " + path);
}

void walk(HKEY k, const std::string& path, reg::Snapshot& snap) {
    snap.keys.insert(lower(path));
    for (DWORD i = 0;; ++i) {
        char name[16384];
        DWORD nlen = sizeof name, type = 0, dlen = 0;
        LONG rc = RegEnumValueA(k, i, name, &nlen, nullptr, &type, nullptr, &dlen);
        if (rc == ERROR_NO_MORE_ITEMS) break;
        check(rc, "listing " + path);
        reg::Value v;
        v.type = type;
        v.data.resize(dlen);
        nlen = sizeof name;
        DWORD got = dlen;
        check(RegEnumValueA(k, i, name, &nlen, nullptr, &type, v.data.empty() ? nullptr : v.data.data(), &got),
              "reading " + path);
        v.data.resize(got);
        snap.values[lower(path) + "\\" + lower(name)] = v;
    }
    for (DWORD i = 0;; ++i) {
        char sub[256];
        DWORD n = sizeof sub;
        if (RegEnumKeyExA(k, i, sub, &n, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
        HKEY c = nullptr;
        if (RegOpenKeyExA(k, sub, 0, KEY_READ, &c) != ERROR_SUCCESS) continue;
        walk(c, path + "\\" + sub, snap);
        RegCloseKey(c);
    }
}

}  // namespace

namespace reg {

std::optional<std::uint32_t> Value::dword() const {
    if (type != REG_DWORD || data.size() != 4) return std::nullopt;
    std::uint32_t v;
    std::memcpy(&v, data.data(), 4);
    return v;
}

std::string Value::text() const {
    std::string s(data.begin(), data.end());
    while (!s.empty() && s.back() == '\0') s.pop_back();
    return s;
}

std::string Value::describe() const {
    switch (type) {
        case REG_DWORD:
            if (auto d = dword()) return "REG_DWORD " + std::to_string(*d);
            break;
        case REG_SZ:
            return "REG_SZ \"" + text() + "\" (" + std::to_string(data.size()) + " bytes)";
        default:
            break;
    }
    std::string s = "type " + std::to_string(type) + ":";
    for (std::size_t i = 0; i < data.size() && i < 24; ++i) {
        char b[4];
        std::snprintf(b, sizeof b, " %02X", data[i]);
        s += b;
    }
    if (data.size() > 24) s += " ... (" + std::to_string(data.size()) + " bytes)";
    return s;
}

std::string diff(const Snapshot& a, const Snapshot& b) {
    std::ostringstream o;
    for (const auto& k : a.keys)
        if (!b.keys.count(k)) o << "key removed: " << k << "\n";
    for (const auto& k : b.keys)
        if (!a.keys.count(k)) o << "key created: " << k << "\n";
    for (const auto& [name, v] : a.values) {
        auto it = b.values.find(name);
        if (it == b.values.end())
            o << "value removed: " << name << " (was " << v.describe() << ")\n";
        else if (it->second != v)
            o << "value changed: " << name << ": " << v.describe() << " -> " << it->second.describe() << "\n";
    }
    for (const auto& [name, v] : b.values)
        if (!a.values.count(name)) o << "value created: " << name << " = " << v.describe() << "\n";
    return o.str();
}

bool keyExists(const std::string& path, Root root) {
    Key k;
    return RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS;
}

void createKey(const std::string& path, Root root) {
    Key k;
    check(RegCreateKeyExA(rootKey(root), path.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &k.h, nullptr),
          "creating " + rootName(root) + "\\" + path);
}

void removeKey(const std::string& path, Root root) { deleteTree(rootKey(root), path); }

void setDword(const std::string& path, const std::string& name, std::uint32_t v, Root root) {
    DWORD d = v;
    writeValue(path, name, REG_DWORD, &d, sizeof d, root);
}

void setString(const std::string& path, const std::string& name, const std::string& v, Root root) {
    writeValue(path, name, REG_SZ, v.c_str(), DWORD(v.size() + 1), root);
}

void setBinary(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& v, Root root) {
    writeValue(path, name, REG_BINARY, v.data(), DWORD(v.size()), root);
}

void removeValue(const std::string& path, const std::string& name, Root root) {
    Key k;
    if (RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_ALL_ACCESS, &k.h) != ERROR_SUCCESS) return;
    LONG rc = RegDeleteValueA(k.h, name.c_str());
    if (rc != ERROR_FILE_NOT_FOUND) check(rc, "deleting " + path + "\\" + name);
}

std::optional<Value> get(const std::string& path, const std::string& name, Root root) {
    Key k;
    if (RegOpenKeyExA(rootKey(root), path.c_str(), 0, KEY_READ, &k.h) != ERROR_SUCCESS) return std::nullopt;
    DWORD type = 0, size = 0;
    if (RegQueryValueExA(k.h, name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS) return std::nullopt;
    Value v;
    v.type = type;
    v.data.resize(size);
    check(RegQueryValueExA(k.h, name.c_str(), nullptr, &type, size ? v.data.data() : nullptr, &size),
          "reading " + path + "\\" + name);
    v.data.resize(size);
    return v;
}

Snapshot snapshot(const std::vector<std::string>& paths, Root root) {
    Snapshot s;
    for (const std::string& p : paths) {
        Key k;
        if (RegOpenKeyExA(rootKey(root), p.c_str(), 0, KEY_READ, &k.h) == ERROR_SUCCESS) walk(k.h, p, s);
    }
    return s;
}

std::string snapshotName(const std::string& key, const std::string& name) { return lower(key + "\\" + name); }

void setRaw(const std::string& path, const std::string& name, std::uint32_t type,
            const std::vector<std::uint8_t>& data, Root root) {
    writeValue(path, name, type, data.data(), DWORD(data.size()), root);
}

}  // namespace reg

namespace {

// The file names Wine's per-program settings go under: quillmere.exe, the
// file QM_EXE names, and control.exe, the host the Control Panel item
// runs in.
std::vector<std::string> programFileNames() {
    std::string exe = App::defaultExe();
    std::size_t slash = exe.find_last_of("\\/");
    std::string file = slash == std::string::npos ? exe : exe.substr(slash + 1);
    std::vector<std::string> names;
    for (const std::string& name : {std::string("quillmere.exe"), std::string("control.exe"), file})
        if (!name.empty()) names.push_back(name);
    return names;
}

}  // namespace

void setReportedWindows(const std::string& version) {
    for (const std::string& name : programFileNames()) {
        reg::setString("Software\\Wine\\AppDefaults\\" + name, "Version", version, reg::Root::CurrentUser);
    }
}

void setUnmanagedWindows(bool unmanaged) {
    for (const std::string& name : programFileNames()) {
        const std::string key = "Software\\Wine\\AppDefaults\\" + name + "\\X11 Driver";
        if (unmanaged) reg::setString(key, "Managed", "N", reg::Root::CurrentUser);
        else reg::removeValue(key, "Managed", reg::Root::CurrentUser);
    }
}

}  // namespace e2e

// ---- by catalogue entry

namespace e2e {
namespace reg {

void set(const settings::Setting& s, std::int32_t v) {
    if (s.type == platform::ValueType::Text)
        setString(s.key, s.name, std::to_string(v));
    else if (s.type == platform::ValueType::Dword)
        setDword(s.key, s.name, static_cast<std::uint32_t>(v));
    else
        throw Failure(std::string("reg::set: ") + s.name + " is neither a text nor a DWORD");
}

void setText(const settings::Setting& s, const std::string& v) { setString(s.key, s.name, v); }

void remove(const settings::Setting& s) { removeValue(s.key, s.name); }

std::optional<Value> get(const settings::Setting& s) { return get(s.key, s.name); }

bool exists(const settings::Setting& s) { return get(s).has_value(); }

std::optional<std::uint32_t> dword(const settings::Setting& s) {
    auto v = get(s);
    if (!v) return std::nullopt;
    return v->dword();
}

std::optional<std::string> text(const settings::Setting& s) {
    auto v = get(s);
    if (!v || v->type != REG_SZ) return std::nullopt;
    return v->text();
}

}  // namespace reg

namespace {
const char* const kDriverService = "SYSTEM\\CurrentControlSet\\Services\\wdm_au8830";
const char* const kAureal = "SOFTWARE\\Aureal";
}  // namespace

const std::vector<std::string>& programKeys() {
    static const std::vector<std::string> keys = {
        kDriverService, kAureal, settings::key::Run, settings::key::DirectXMedia, settings::key::WpcrsetService,
    };
    return keys;
}

reg::Snapshot snapshotProgramKeys() { return reg::snapshot(programKeys()); }

void clearProgramRegistry() {
    reg::removeKey(kDriverService);
    reg::removeKey(kAureal);
    reg::removeKey(settings::key::WpcrsetService);
    // Shared Windows keys: only the program's own values go.
    reg::removeValue(settings::key::Run, settings::AU30TRAY().name);
    reg::removeValue(settings::key::DirectXMedia, settings::MediaPlayerProg().name);
}

void installDriver() {
    reg::createKey(settings::key::ControlPanel);
    reg::createKey(settings::key::Customization);
    reg::createKey(settings::key::SpdifEnableList);
    for (const settings::Setting& s : settings::all()) {
        if (s.resetGroup == settings::ResetGroup::None || !s.reset) continue;
        reg::set(s, *s.reset);
    }
}

}  // namespace e2e
