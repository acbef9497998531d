#pragma once

// The settings record and the window's controls, through the fields of the
// control table: the start handler puts the remembered values into the
// controls; GO and the close handler take the record back out.

#include "control_set.h"
#include "settings.h"

namespace junmaru::form {

// Sets every control that shows a value the settings file keeps, in the
// table's order (a check box's click handler runs when its state changes);
// with a window named, only the controls of that window.
void ShowSettings(ControlSet& c, const junmaru::Settings& s, std::string_view window = {});

// The values of the controls as a run reads them and the settings file
// stores them: the range and every remembered value, spin edits as they
// read (their minimum for a text that is no integer), the memo's lines, a
// status list as it reads (empty when it does not). Every other value
// (the paths, a switch no control shows) is taken from base.
junmaru::Settings SettingsOfForm(ControlSet& c, junmaru::Settings base = {});

}  // namespace junmaru::form
