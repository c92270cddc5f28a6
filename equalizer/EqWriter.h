// Installs a coefficient set as the binary CoefSet0 under the driver's
// Equalizer key, which is created if missing.
#pragma once
#include <functional>
#include <optional>
#include <string>

#include "equalizer/CoefficientSets.h"
#include "platform/Services.h"

namespace equalizer {

class EqWriter {
public:
    // Where "unable to open key" goes: text, title, style.
    using Tell = std::function<void(const std::string&, const std::string&, int)>;

    EqWriter(const platform::Services& sys, Tell tell) : sys_(sys), tell_(std::move(tell)) {}

    // The curve's set, then EqBypass 0 and ActiveCoefSet 0 (those two even
    // when the key could not be created).
    void ApplyEqPreset(EqCurve set);
    // The model's set alone; EqBypass and ActiveCoefSet keep their values.
    void ApplySpeakerComp(SpeakerModel set);

private:
    void install(const std::optional<CoefSet>& set);

    platform::Services sys_;
    Tell tell_;
};

}  // namespace equalizer
