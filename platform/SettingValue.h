// What a registry read gives: nothing, a text, or a signed 32-bit number.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <variant>

namespace platform {

class SettingValue {
public:
    SettingValue() = default;
    SettingValue(const std::string& text) : v_(text) {}
    SettingValue(const char* text) : v_(std::string(text)) {}
    SettingValue(std::int32_t number) : v_(number) {}

    bool isEmpty() const { return std::holds_alternative<std::monostate>(v_); }
    bool isText() const { return std::holds_alternative<std::string>(v_); }
    bool isNumber() const { return std::holds_alternative<std::int32_t>(v_); }

    // Empty gives "", a number its decimal digits.
    std::string toText() const;
    // Empty gives 0; text that is not a number, or a number outside
    // -32768..32767, gives nothing: the caller must not act on it.
    std::optional<std::int16_t> toInt16() const;
    // Same rule over the 32-bit range, for the values written as REG_DWORD.
    std::optional<std::int32_t> toInt32() const;

    bool operator==(const SettingValue& o) const { return v_ == o.v_; }

private:
    std::variant<std::monostate, std::string, std::int32_t> v_;
};

// Decimal text as a number, as the program reads its stored texts: optional
// blanks around an optional sign and digits. Anything else is not a number.
std::optional<std::int64_t> parseDecimal(const std::string& text);
std::optional<std::int16_t> textToInt16(const std::string& text);
std::optional<std::int32_t> textToInt32(const std::string& text);

// Whether a stored text names `entry`: regedit stores texts with a
// terminating NUL, which the registry procedures hand back as part of the
// text, so one trailing NUL does not stop the match.
inline bool storedTextIs(const std::string& stored, const std::string& entry) {
    const std::size_t n = entry.size();
    return stored == entry || (stored.size() == n + 1 && stored.back() == '\0' && stored.compare(0, n, entry) == 0);
}

}  // namespace platform
