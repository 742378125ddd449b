# SPDX-License-Identifier: GPL-3.0-or-later
# shellcheck shell=bash
# shellcheck disable=SC2154  # quorel, probe and work come from the sourcing script
# Shared by the X11 tests of the real quorel program (sourced, not run): start the program in a
# work folder, click and type into its controls with xdotool, and read its boxes and message
# boxes back through the clipboard, as a user could.
#
# The sourcing script sets `quorel` and `probe` (the programs' paths) and `work` (a folder of
# its own); the functions here set `quorel_pid` and `window`.
#
# The controls are found by their names for screen readers, read from the accessibility bus
# (AT-SPI), so the tests follow the window's layout wherever it places them. A script calls
# `with_accessibility_bus "$@"` first: it runs the script again inside a D-Bus session of its
# own when there is none.

quorel_pid=""
window=""

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_equal() {  # what, got, want
  [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

with_accessibility_bus() {
  if [ -n "${QUOREL_TEST_BUS:-}" ]; then
    return 0
  fi
  if ! command -v dbus-run-session >/dev/null; then
    echo "SKIP: dbus-run-session is not installed (scripts/install-deps installs it)"
    exit 77
  fi
  QUOREL_TEST_BUS=1 exec dbus-run-session -- "$0" "$@" 2> >(grep -v '^dbus-daemon' >&2)
}

# The control names for screen readers, by the object names that the tests use.
declare -A control_names=(
  [Text1]="Enter text to search:" [Text3]="Enter min skip size:" [Text2]="Enter max skip size:"
  [Command1]="Search" [Check1]="Show area around result" [Text5]="Currently testing skip of:"
  [Text4]="Results"
)
# Each control's place on the screen, "X Y WIDTH HEIGHT", found once the window is up.
declare -A at=()

find_controls() {
  local control
  for control in "${!control_names[@]}"; do
    at[$control]="$("$probe" find "${control_names[$control]}")" ||
      fail "no control named '${control_names[$control]}' ($control)"
  done
}

# Starts quorel in the work folder and sets `window` once Form1 is on screen (at most 20 s; a
# search can race with the program's own windows coming and going, so it is simply repeated).
start_quorel() {
  # The accessibility bus must be up before the program starts, or it never joins it.
  dbus-send --session --print-reply --dest=org.a11y.Bus /org/a11y/bus org.a11y.Bus.GetAddress \
    >/dev/null 2>&1 || fail "no accessibility bus (at-spi2-core) on the session bus"
  (cd "$work" && QT_LINUX_ACCESSIBILITY_ALWAYS_ON=1 exec "$quorel") >"$work/quorel.log" 2>&1 &
  quorel_pid=$!
  window=""
  local deadline=$((SECONDS + 20))
  while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
    window="$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n 1)" || true
    [ -z "$window" ] && sleep 0.1
  done
  [ -n "$window" ] || fail "the window Form1 did not open: $(cat "$work/quorel.log")"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
  find_controls
}

# Ends a quorel that is still running (the tests' cleanup).
stop_quorel() {
  if [ -n "$quorel_pid" ]; then
    kill "$quorel_pid" 2>/dev/null || true
    wait "$quorel_pid" 2>/dev/null || true
    quorel_pid=""
  fi
}

# Waits at most `seconds` for quorel to end on its own and sets `exit_status`, or fails.
# shellcheck disable=SC2034  # exit_status is for the sourcing script
wait_for_exit() {  # seconds
  exit_status=0
  timeout "$1" tail --pid="$quorel_pid" -f /dev/null || fail "quorel did not end within $1 s"
  wait "$quorel_pid" || exit_status=$?
  quorel_pid=""
}

# The middle of a control, "X Y" on the screen.
middle_of() {  # control
  local x y width height
  read -r x y width height <<<"${at[$1]}"
  echo "$((x + width / 2)) $((y + height / 2))"
}

# A click in the middle of a control, with no wait after it (xdotool waits 100 ms by default).
click() {
  # shellcheck disable=SC2046
  xdotool mousemove $(middle_of "$1") click --delay 0 1
}

# The whole text of a box: selected with Ctrl+A, copied with Ctrl+C, read off the clipboard.
# A box that copies nothing is empty; that is known once the copy has had `seconds` (default
# 10) to arrive, as a busy program or a long text makes it late.
read_box() {  # box [seconds]
  "$probe" clear
  click "$1"
  xdotool key --clearmodifiers ctrl+a ctrl+c
  "$probe" clipboard "${2:-10}"
}

type_into() {
  click "$1"
  xdotool key --clearmodifiers ctrl+a BackSpace
  xdotool type --delay 20 "$2"
}

# Waits, at most a minute, for the progress box to show `word`.
wait_for_status() {
  local deadline=$((SECONDS + 60)) status=""
  while [ "$SECONDS" -lt "$deadline" ]; do
    status="$(read_box Text5)"
    [ "$status" = "$1" ] && return 0
    sleep 0.2
  done
  fail "Text5 shows '$status', not '$1'"
}

# The id of a message box of quorel's on screen (captioned with the program's name), or nothing.
message_window() {
  xdotool search --onlyvisible --name '^Quorel$' 2>/dev/null | head -n 1 || true
}

# Prints the text of the message box `id` (copied with Ctrl+C, as a message box allows) and
# closes it as its close box would, which answers it with its OK button; fails if it stays
# open. Keys and the close go to that window alone, so they do nothing if it has already gone
# (then nothing is printed).
read_and_close_message() {  # id
  "$probe" clear
  xdotool key --clearmodifiers --window "$1" ctrl+c 2>/dev/null || true
  "$probe" clipboard 5
  "$probe" close "$1"
  local deadline=$((SECONDS + 10))
  while [ -n "$(message_window)" ] && [ "$SECONDS" -lt "$deadline" ]; do
    sleep 0.1
  done
  [ -z "$(message_window)" ] || fail "the message box did not close"
  # With no window manager the focus went with the message box; Form1 takes it back.
  xdotool windowfocus --sync "$window" 2>/dev/null || true
}
