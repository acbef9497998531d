#pragma once

// What a screen reader reads of the progress gauge (MSAA): a progress bar
// named by its window's text, whose value is the percentage the gauge
// shows. Everything else (its place, state and neighbours) is what the
// system's own object for the window says.

#include <windows.h>

namespace junmaru::win32 {

// The answer to WM_GETOBJECT for the client object of the gauge's window
// (which holds its ProgressGauge as GWLP_USERDATA); 0 for any other
// object, which leaves it to the system.
LRESULT GaugeAccessibleObject(HWND gauge_window, WPARAM wparam, LPARAM lparam);

}  // namespace junmaru::win32
