#include "framework/FormatSettings.h"

namespace orb::fw {

FormatSettings& Settings() {
    static FormatSettings settings;
    return settings;
}

void ResetSettings() { Settings() = FormatSettings{}; }

ScopedSettings::ScopedSettings(const FormatSettings& temporary) : saved_(Settings()) { Settings() = temporary; }

ScopedSettings::~ScopedSettings() { Settings() = saved_; }

}  // namespace orb::fw
