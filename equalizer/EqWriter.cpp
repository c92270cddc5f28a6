#include "equalizer/EqWriter.h"

#include "settings/Catalogue.h"
#include "settings/Store.h"
#include "ui/Form.h"

namespace equalizer {

void EqWriter::install(const std::optional<CoefSet>& set) {
    settings::Store store(*sys_.reg);
    if (!store.makeKey(settings::CoefSet0())) {
        if (tell_) tell_("unable to open key", "Sorry", ui::MB_OK_);
        return;
    }
    if (set) store.write(settings::CoefSet0(), platform::ValueType::Binary, set->data(), kCoefSetBytes);
}

void EqWriter::ApplyEqPreset(EqCurve set) {
    install(coefficients(set));
    settings::Store store(*sys_.reg);
    store.store(settings::EqBypass(), 0);
    store.store(settings::ActiveCoefSet(), 0);
}

void EqWriter::ApplySpeakerComp(SpeakerModel set) { install(coefficients(set)); }

}  // namespace equalizer
