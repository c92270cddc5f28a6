#include "platform/SettingValue.h"

#include <limits>

namespace platform {

std::optional<std::int64_t> parseDecimal(const std::string& text) {
    std::size_t i = 0, n = text.size();
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < n && (text[i] == '-' || text[i] == '+')) {
        negative = text[i] == '-';
        ++i;
    }
    std::size_t digitsStart = i;
    std::int64_t v = 0;
    while (i < n && text[i] >= '0' && text[i] <= '9') {
        v = v * 10 + (text[i] - '0');
        if (v > (std::int64_t(1) << 40)) return std::nullopt;  // far past any range we hold
        ++i;
    }
    if (i == digitsStart) return std::nullopt;
    while (i < n && (text[i] == ' ' || text[i] == '\t')) ++i;
    if (i != n) return std::nullopt;
    return negative ? -v : v;
}

std::optional<std::int16_t> textToInt16(const std::string& text) {
    auto v = parseDecimal(text);
    if (!v || *v < -32768 || *v > 32767) return std::nullopt;
    return static_cast<std::int16_t>(*v);
}

std::optional<std::int32_t> textToInt32(const std::string& text) {
    auto v = parseDecimal(text);
    if (!v || *v < std::numeric_limits<std::int32_t>::min() || *v > std::numeric_limits<std::int32_t>::max())
        return std::nullopt;
    return static_cast<std::int32_t>(*v);
}

std::string SettingValue::toText() const {
    if (auto s = std::get_if<std::string>(&v_)) return *s;
    if (auto n = std::get_if<std::int32_t>(&v_)) return std::to_string(*n);
    return std::string();
}

std::optional<std::int16_t> SettingValue::toInt16() const {
    if (auto s = std::get_if<std::string>(&v_)) return textToInt16(*s);
    if (auto n = std::get_if<std::int32_t>(&v_)) {
        if (*n < -32768 || *n > 32767) return std::nullopt;
        return static_cast<std::int16_t>(*n);
    }
    return std::int16_t(0);
}

std::optional<std::int32_t> SettingValue::toInt32() const {
    if (auto s = std::get_if<std::string>(&v_)) return textToInt32(*s);
    if (auto n = std::get_if<std::int32_t>(&v_)) return *n;
    return std::int32_t(0);
}

}  // namespace platform
