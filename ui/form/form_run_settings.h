#pragma once

#include "form_controls.h"
#include "run_settings.h"

namespace junmaru::window {

// The values a run uses, read from the controls as they stand now.
junmaru::RunSettings ReadRunSettings(const FormControls& c);

}  // namespace junmaru::window
