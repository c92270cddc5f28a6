// The registry as the tests see it: values and keys by path, snapshots
// and their differences, the same by settings catalogue entry, the
// program's keys, and Wine's settings for the program.
#pragma once
#include <cstdint>
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "Timing.h"

namespace settings {
struct Setting;
}

namespace e2e {
namespace reg {

enum class Root { LocalMachine, CurrentUser };

struct Value {
    std::uint32_t type = 0;
    std::vector<std::uint8_t> data;
    // The number of a REG_DWORD, else none.
    std::optional<std::uint32_t> dword() const;
    // The text of a REG_SZ without any terminating NULs, else "".
    std::string text() const;
    std::string describe() const;  // "REG_DWORD 8", "REG_SZ \"x\"", ...
    bool operator==(const Value& o) const { return type == o.type && data == o.data; }
    bool operator!=(const Value& o) const { return !(*this == o); }
};

// Every key and value below some keys; paths and names lower-cased, as the
// registry compares them.
struct Snapshot {
    std::set<std::string> keys;
    std::map<std::string, Value> values;  // "key\\path" + "\\" + "name"
    bool operator==(const Snapshot& o) const { return keys == o.keys && values == o.values; }
    bool operator!=(const Snapshot& o) const { return !(*this == o); }
};
// What changed, one line per key or value; "" when nothing did.
std::string diff(const Snapshot& before, const Snapshot& after);

bool keyExists(const std::string& path, Root root = Root::LocalMachine);
void createKey(const std::string& path, Root root = Root::LocalMachine);
void removeKey(const std::string& path, Root root = Root::LocalMachine);  // with its sub-keys; missing is fine
void setDword(const std::string& path, const std::string& name, std::uint32_t v, Root root = Root::LocalMachine);
void setString(const std::string& path, const std::string& name, const std::string& v,
               Root root = Root::LocalMachine);
void setBinary(const std::string& path, const std::string& name, const std::vector<std::uint8_t>& v,
               Root root = Root::LocalMachine);
void removeValue(const std::string& path, const std::string& name, Root root = Root::LocalMachine);
std::optional<Value> get(const std::string& path, const std::string& name, Root root = Root::LocalMachine);
Snapshot snapshot(const std::vector<std::string>& paths, Root root = Root::LocalMachine);

// A value's name in a Snapshot's values.
std::string snapshotName(const std::string& key, const std::string& name);
// A value of any type holding exactly these bytes: a REG_DWORD of 8 bytes,
// a REG_SZ without its NUL.
void setRaw(const std::string& path, const std::string& name, std::uint32_t type, const std::vector<std::uint8_t>& data,
            Root root = Root::LocalMachine);

// The same by catalogue entry: set() writes a number as the entry's type
// (REG_SZ as decimal text); the key must exist, as the driver's would.
void set(const settings::Setting& s, std::int32_t v);
void setText(const settings::Setting& s, const std::string& v);
void remove(const settings::Setting& s);
std::optional<Value> get(const settings::Setting& s);
bool exists(const settings::Setting& s);
// The stored number of a REG_DWORD entry, none when missing or of another type.
std::optional<std::uint32_t> dword(const settings::Setting& s);
// The stored text of a REG_SZ entry, none when missing or of another type.
std::optional<std::string> text(const settings::Setting& s);

}  // namespace reg

// Every key the program reads or writes (driver, A3D, equalizer, tray
// autostart, media player, WPCRSET), for snapshots.
const std::vector<std::string>& programKeys();
reg::Snapshot snapshotProgramKeys();
// Removes everything the program could read: the driver's, Aureal's and
// WPCRSET's keys, the "AU30TRAY" autostart and the ".Prog" command.
void clearProgramRegistry();
// A driver installation as the driver's setup leaves it: the service key
// with ControlPanel, Customization and SpdifEnableList, every catalogue
// value that has a reset default set to it. No A3D, tray or WPCRSET values.
void installDriver();
// The Windows version Wine reports to quillmere.exe: "winxp", "win2k", ...
void setReportedWindows(const std::string& version);
// Whether Wine leaves the program's windows to the X server, unmanaged by
// any window manager (for the program's later starts). Xvfb has none, and
// hiding a managed window makes Wine wait two seconds for a manager's
// answer: every hand-over to a dialog and back hides a window.
void setUnmanagedWindows(bool unmanaged);

}  // namespace e2e
