#include "control_set.h"

#include "spin_value.h"

namespace junmaru::form {

std::int32_t ControlSet::SpinValue(ControlId spin) const { return SpinValueOf(SpinText(spin), SpinMin(spin)); }

void ControlSet::SetSpinValue(ControlId spin, std::int64_t value) {
  SetSpinText(spin, std::to_string(ClampSpinValue(value, SpinMin(spin), SpinMax(spin))));
}

}  // namespace junmaru::form
