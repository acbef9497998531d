#pragma once

// The one place where an error that leaves a handler is shown: a modal
// message box with a stop icon, one OK button, the program's title as
// caption and the error's message (with a full stop by the byte rule).
// Nothing is rolled back and the window stays usable.

#include <exception>
#include <functional>

class QWidget;

namespace junmaru::window {

class ErrorDisplay {
 public:
  // Shows the error display for the exception being handled.
  static void ShowCurrent(QWidget* parent);

  // Runs a handler; whatever it throws is shown and goes no further.
  static void Guard(QWidget* parent, const std::function<void()>& handler);
};

}  // namespace junmaru::window
