// The accuracies the blunder finder expects of one reading, kept in the
// program's settings.
#pragma once

#include "platform/SettingsStore.h"

namespace hp::calc {

struct BlunderOptions {
  double sigmaLength = 0.05;  // metres, one tape reading
  double sigmaAngle = 1.0;    // degrees, one compass or clino reading
};

// The two accuracies as the windows keep them (section "Settings"); values
// that are missing, unreadable or not positive give the defaults.
BlunderOptions LoadBlunderOptions(const platform::SettingsStore& settings);
void SaveBlunderOptions(platform::SettingsStore& settings, const BlunderOptions& options);

}  // namespace hp::calc
