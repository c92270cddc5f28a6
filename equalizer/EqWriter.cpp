#include "equalizer/EqWriter.h"

#include "settings/Catalogue.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace equalizer {

namespace {

int hexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// One item as a byte: hexadecimal digits of either case, leading zeros
// allowed, value at most 255.
std::optional<std::uint8_t> itemToByte(const std::string& item) {
    if (item.empty()) return std::nullopt;
    unsigned v = 0;
    for (char c : item) {
        int d = hexDigit(c);
        if (d < 0) return std::nullopt;
        v = v * 16 + static_cast<unsigned>(d);
        if (v > 0xFF) return std::nullopt;
    }
    return static_cast<std::uint8_t>(v);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> HexTextToBytes(const std::string& hexText) {
    std::vector<std::uint8_t> bytes;
    std::size_t start = 0;
    for (;;) {
        const std::size_t comma = hexText.find(',', start);
        const std::string item = hexText.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        auto b = itemToByte(item);
        if (!b) return std::nullopt;
        bytes.push_back(*b);
        if (comma == std::string::npos) return bytes;
        start = comma + 1;
    }
}

void WriteHexBinaryValue(platform::Registry& reg, platform::RegKey key, const std::string& valueName,
                         const std::string& hexText) {
    // A half-converted set would reach the driver as garbage coefficients:
    // keep the previous CoefSet0 instead.
    auto bytes = HexTextToBytes(hexText);
    if (!bytes) return;
    reg.setValue(key, valueName, platform::REG_BINARY, bytes->data(), static_cast<std::uint32_t>(bytes->size()));
}

void EqWriter::install(const char* hexText) {
    platform::RegKey key = 0;
    if (sys_.registry->createKey(platform::HKEY_LOCAL_MACHINE, settings::key::Equalizer, platform::KEY_ACCESS_0x3F,
                                 key) != platform::ERROR_SUCCESS_) {
        if (tell_) tell_("unable to open key", "Sorry", ui::MB_OK_);
        return;
    }
    WriteHexBinaryValue(*sys_.registry, key, settings::CoefSet0().name, hexText);
    sys_.registry->closeKey(key);
}

void EqWriter::ApplyEqPreset(EqCurve set) {
    install(hexText(set));
    settings::Store store(*sys_.reg);
    store.store(settings::EqBypass(), 0);
    store.store(settings::ActiveCoefSet(), 0);
}

void EqWriter::ApplySpeakerComp(SpeakerModel set) { install(hexText(set)); }

}  // namespace equalizer
