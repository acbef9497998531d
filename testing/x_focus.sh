# Sourced by the window tests under X: x_focus WINDOW gives a shown window
# the keyboard. A window may carry its name before X maps it, and X refuses
# focus to an unmapped window (BadMatch), so this tries again for 5 s; then
# it calls the test's own fail.
x_focus() {
  for _ in $(seq 50); do
    xdotool windowfocus --sync "$1" 2>/dev/null && return 0
    sleep 0.1
  done
  fail "window $1 never took the keyboard"
}
