// The registry helpers that speak the settings catalogue. Kept apart from
// Registry.cpp: the catalogue's REG_* and HKEY names clash with <windows.h>.
#include <string>

#include "Registry.h"
#include "settings/Catalogue.h"

namespace e2e {
namespace reg {

void set(const settings::Setting& s, std::int32_t v) {
    if (s.type == platform::REG_SZ)
        setString(s.key, s.name, std::to_string(v));
    else if (s.type == platform::REG_DWORD)
        setDword(s.key, s.name, static_cast<std::uint32_t>(v));
    else
        throw Failure(std::string("reg::set: ") + s.name + " is neither REG_SZ nor REG_DWORD");
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
    if (!v || v->type != platform::REG_SZ) return std::nullopt;
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
