#!/usr/bin/env bash
# Drives the real quorel program with real X input events (xdotool) on the display of
# tests/ui/with-xvfb, and reads its boxes back through the clipboard, as a user could:
# the starting texts, a typed search in the one-line and the area view (each checked against
# quorel-search), Escape held down while Search is pressed, and closing the window during a
# run.
#
#   quorel_x11_test.sh QUOREL QUOREL_SEARCH QUOREL_X11_PROBE
#
# QUOREL_TEST_DATA names a data file to search instead of the one made here, and
# QUOREL_SCREENSHOT a PNG file for the window after the area-view search.
set -euo pipefail
quorel="$(realpath "$1")"
quorel_search="$(realpath "$2")"
probe="$(realpath "$3")"

work="$(mktemp -d)"
quorel_pid=""
cleanup() {
  xdotool keyup Escape 2>/dev/null || true
  if [ -n "$quorel_pid" ]; then
    kill "$quorel_pid" 2>/dev/null || true
    wait "$quorel_pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# A text of dalets (byte 0x83) with the window's default word, חופש, at skips 2, 3, 7 (twice)
# and 12.
make_data_file() {
  local file="$1"
  head -c 304805 /dev/zero | tr '\0' '\203' >"$file"
  local letters=('\207' '\205' '\224' '\231')
  local skip position j
  for find in 2:100 3:200 7:400 7:401 12:600; do
    skip="${find%%:*}"
    position="${find##*:}"
    for j in 0 1 2 3; do
      printf "${letters[j]}" |
        dd of="$file" bs=1 seek=$((position - 1 + j * skip)) conv=notrunc status=none
    done
  done
}

if [ -n "${QUOREL_TEST_DATA:-}" ]; then
  cp "$QUOREL_TEST_DATA" "$work/Quorel.DSF"
else
  make_data_file "$work/Quorel.DSF"
fi

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

start_quorel

# Places inside the controls, from the window's layout.
declare -A at=(
  [Text1]="60 41" [Text3]="60 97" [Text2]="60 137" [Command1]="84 204" [Check1]="24 252"
  [Text5]="60 380" [Text4]="400 200"
)

click() {
  # shellcheck disable=SC2086
  xdotool mousemove --window "$window" ${at[$1]} click 1
}

# The whole text of a box: selected with Ctrl+A, copied with Ctrl+C, read off the clipboard.
read_box() {
  "$probe" clear  # an empty box copies nothing
  click "$1"
  xdotool key --clearmodifiers ctrl+a ctrl+c
  "$probe" clipboard
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

expect_equal() {  # what, got, want
  [ "$2" = "$3" ] || fail "$1: got '$2', want '$3'"
}

# The result box must hold what quorel-search prints for the same search (line breaks aside:
# the clipboard carries them as LF).
expect_result() {  # quorel-search arguments...
  read_box Text4 >"$work/got.txt"
  (cd "$work" && "$quorel_search" "$@" 2>/dev/null | tr -d '\r') >"$work/want.txt"
  [ -s "$work/want.txt" ] || fail "quorel-search $* found nothing to compare"
  cmp -s "$work/got.txt" "$work/want.txt" ||
    fail "Text4 differs from quorel-search $*: $(diff "$work/got.txt" "$work/want.txt" | head -5)"
}

echo "the window opens with its title, size and starting texts"
expect_equal title "$(xdotool getwindowname "$window")" "Form1"
xdotool getwindowgeometry "$window" | grep -q 'Geometry: 721x437' || fail "client area"
expect_equal Text1 "$(read_box Text1)" "חופש"
expect_equal Text3 "$(read_box Text3)" "2"
expect_equal Text2 "$(read_box Text2)" "20"
expect_equal Text5 "$(read_box Text5)" ""

echo "a typed search fills the result box with the one-line view"
type_into Text3 1
type_into Text2 20
click Command1
wait_for_status "Done."
expect_result "חופש" 1 20

echo "with Check1 checked the same search shows the area view"
click Check1
click Command1
wait_for_status "Done."
expect_result --area "חופש" 1 20
if [ -n "${QUOREL_SCREENSHOT:-}" ]; then
  xdotool mousemove --window "$window" 190 22 click 1  # the caret into the result box
  xdotool mousemove 0 0
  "$probe" screenshot "$QUOREL_SCREENSHOT" "$window"
fi

echo "Escape held while Search is pressed stops the run at its first poll"
xdotool keydown Escape
click Command1
wait_for_status "Aborted."
xdotool keyup Escape
expect_equal "Text4 after the abort" "$(read_box Text4)" ""

echo "the next search runs to its end"
click Command1
wait_for_status "Done."

echo "closing the window during a run ends the program cleanly"
kill "$quorel_pid"
wait "$quorel_pid" 2>/dev/null || true
# The word at every fourth place of the first 4,000 letters: finds at skips 1, 5, 9, ... up to
# 1,333, some 170,000 in all, which keep a run going for a few seconds without filling the
# result box (a full box would stop the run with a message, and a modal message turns a close
# away).
for k in $(seq 1 16); do printf '\207\205\224\231'; done >"$work/block"
make_data_file "$work/Quorel.DSF"
for k in $(seq 1 63); do cat "$work/block"; done | head -c 4000 |
  dd of="$work/Quorel.DSF" conv=notrunc status=none
start_quorel
type_into Text3 1
type_into Text2 30480
click Command1
# The progress box answers only while the run yields; a skip number says it is still going.
progress="$(read_box Text5)"
"$probe" close "$window"
closed_at=$SECONDS
case "$progress" in
  [0-9]*) echo "closed at skip $progress" ;;
  *) echo "note: the run had ended ($progress) before the close; the idle window was closed" ;;
esac
status=0
timeout 60 tail --pid="$quorel_pid" -f /dev/null || fail "quorel did not end within a minute"
wait "$quorel_pid" || status=$?
quorel_pid=""
expect_equal "exit status after closing during a run" "$status" 0
echo "ended $((SECONDS - closed_at)) s after the close"
echo "PASS"
