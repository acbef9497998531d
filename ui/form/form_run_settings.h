#pragma once

#include "control_set.h"
#include "run_settings.h"

namespace junmaru::form {

// The values a run uses, read from the controls as they stand now.
junmaru::RunSettings ReadRunSettings(ControlSet& c);

}  // namespace junmaru::form
