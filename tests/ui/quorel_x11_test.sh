#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
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
# shellcheck source=tests/ui/x11_lib.sh
source "$(dirname "$0")/x11_lib.sh"
with_accessibility_bus "$@"
quorel="$(realpath "$1")"
quorel_search="$(realpath "$2")"
probe="$(realpath "$3")"

work="$(mktemp -d)"
cleanup() {
  xdotool keyup Escape 2>/dev/null || true
  stop_quorel
  rm -rf "$work"
}
trap cleanup EXIT

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

start_quorel

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
expect_equal Text5 "$(read_box Text5 1)" ""

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
  # shellcheck disable=SC2046
  xdotool mousemove $(middle_of Text4) click 1  # the caret into the result box
  xdotool mousemove 0 0
  "$probe" screenshot "$QUOREL_SCREENSHOT" "$window"
fi

echo "Escape held while Search is pressed stops the run at its first poll"
xdotool keydown Escape
click Command1
wait_for_status "Aborted."
xdotool keyup Escape
expect_equal "Text4 after the abort" "$(read_box Text4 1)" ""

echo "the next search runs to its end"
click Command1
wait_for_status "Done."

echo "closing the window during a run ends the program cleanly"
stop_quorel
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
wait_for_exit 60
expect_equal "exit status after closing during a run" "$exit_status" 0
echo "ended $((SECONDS - closed_at)) s after the close"
echo "PASS"
