#include "check_box.h"

namespace junmaru::window {

CheckBox::CheckBox(const QString& caption, QWidget* parent) : QCheckBox(caption, parent) {
  setTristate(false);
  // toggled() fires exactly when the state changes, by click, key or
  // setChecked, and never for the state already held.
  connect(this, &QCheckBox::toggled, this, &CheckBox::Click);
}

}  // namespace junmaru::window
