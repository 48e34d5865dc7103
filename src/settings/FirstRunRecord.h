#pragma once
// The record a first start stores when there is no settings file yet.
#include "settings/ConfigRecord.h"

namespace zx::settings {

// All zero, like a missing file, except the hidden "Delete incoming SMS
// enable" box, which is ticked when nothing has been stored: a module's
// answers are then taken from the modem's store one after the other.
ConfigRecord firstRunRecord();

} // namespace zx::settings
