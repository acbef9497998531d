#include "form_run_settings.h"

#include "form_settings.h"
#include "settings.h"

namespace junmaru::form {

junmaru::RunSettings ReadRunSettings(ControlSet& c) {
  // The run reads what the settings file stores, and the range besides.
  return junmaru::ToRunSettings(SettingsOfForm(c), c.SpinValue(Spin::kPStart), c.SpinValue(Spin::kPEnd));
}

}  // namespace junmaru::form
