#pragma once

// The settings record and the window's controls: the start handler puts
// the remembered values into the controls; GO and the close handler take
// the record back out.

#include "control_set.h"
#include "settings.h"

namespace junmaru::form {

// Sets every control that the settings file remembers (the paths aside),
// in this order: the extension switches, the top count, the seven
// colours, font size, name length, Link (which runs its click handler when
// its state changes), Prefix, and the memo's lines.
void ShowSettings(ControlSet& c, const junmaru::Settings& s);

// The values of the controls as a run reads them and the settings file
// stores them: the range and every remembered value, spin edits as they
// read (their minimum for a text that is no integer), the memo's lines.
// The paths are left at their defaults.
junmaru::Settings SettingsOfForm(ControlSet& c);

}  // namespace junmaru::form
