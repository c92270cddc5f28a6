#include "settings/Catalogue.h"

namespace settings {

namespace {
struct Kind {
    platform::ValueType type;
    std::uint16_t size;
};
constexpr Kind Dword{platform::ValueType::Dword, 4};
constexpr Kind Text{platform::ValueType::Text, 0};
constexpr Kind CoefSet{platform::ValueType::Binary, kCoefSetBytes};

struct Flags {
    bool written, keyCreated;
};
constexpr Flags W{true, false};
constexpr Flags WK{true, true};
constexpr Flags R{false, false};

constexpr std::optional<std::int32_t> no = std::nullopt;
}  // namespace

#define QM_SETTING_ROW(id, k, name, kind, group, reset, created, flags) \
    Setting{key::k, name, kind.type, ResetGroup::group, kind.size, reset, created, flags.written, flags.keyCreated},
constexpr std::array<Setting, kSettingCount> kTable = {QM_SETTINGS(QM_SETTING_ROW)};
#undef QM_SETTING_ROW

}  // namespace settings
