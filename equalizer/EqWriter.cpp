#include "equalizer/EqWriter.h"

#include "settings/Catalogue.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace equalizer {

void EqWriter::install(const std::optional<CoefSet>& set) {
    platform::RegKey key = 0;
    if (sys_.registry->createKey(platform::HKEY_LOCAL_MACHINE, settings::key::Equalizer, platform::KEY_ACCESS_0x3F,
                                 key) != platform::ERROR_SUCCESS_) {
        if (tell_) tell_("unable to open key", "Sorry", ui::MB_OK_);
        return;
    }
    if (set) sys_.registry->setValue(key, settings::CoefSet0().name, platform::REG_BINARY, set->data(), kCoefSetBytes);
    sys_.registry->closeKey(key);
}

void EqWriter::ApplyEqPreset(EqCurve set) {
    install(coefficients(set));
    settings::Store store(*sys_.reg);
    store.store(settings::EqBypass(), 0);
    store.store(settings::ActiveCoefSet(), 0);
}

void EqWriter::ApplySpeakerComp(SpeakerModel set) { install(coefficients(set)); }

}  // namespace equalizer
