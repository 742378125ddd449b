# shellcheck shell=bash
# shellcheck disable=SC2154  # quorel, probe and work come from the sourcing script
# Shared by the X11 tests of the real quorel program (sourced, not run): start the program in a
# work folder, click and type into its controls with xdotool, and read its boxes and message
# boxes back through the clipboard, as a user could.
#
# The sourcing script sets `quorel` and `probe` (the programs' paths) and `work` (a folder of
# its own); the functions here set `quorel_pid` and `window`.

quorel_pid=""
window=""

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

expect_equal() {  # what, got, want
  [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

# Starts quorel in the work folder and sets `window` once Form1 is on screen (at most 20 s; a
# search can race with the program's own windows coming and going, so it is simply repeated).
start_quorel() {
  (cd "$work" && exec "$quorel") >"$work/quorel.log" 2>&1 &
  quorel_pid=$!
  window=""
  local deadline=$((SECONDS + 20))
  while [ -z "$window" ] && [ "$SECONDS" -lt "$deadline" ]; do
    window="$(xdotool search --onlyvisible --name '^Form1$' 2>/dev/null | head -n 1)" || true
    [ -z "$window" ] && sleep 0.1
  done
  [ -n "$window" ] || fail "the window Form1 did not open: $(cat "$work/quorel.log")"
  xdotool windowfocus --sync "$window" 2>/dev/null || true
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

# Places inside the controls, from the window's layout.
declare -A at=(
  [Text1]="60 41" [Text3]="60 97" [Text2]="60 137" [Command1]="84 204" [Check1]="24 252"
  [Text5]="60 380" [Text4]="400 200"
)

# A click, with no wait after it (xdotool waits 100 ms by default).
click() {
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" ${at[$1]} click --delay 0 1
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
