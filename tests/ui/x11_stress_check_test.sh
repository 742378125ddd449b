#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# quorel-x11-stress-check, which judges what the stress test reads back from the window, must
# accept every state a run can rightly leave and refuse the faults it is there to catch. The
# boxes here are made from quorel-search's own output on the demo text (the word חופש at skips
# 1 to 60: 32 finds, two of them at skip 1).
#
#   x11_stress_check_test.sh QUOREL_SEARCH QUOREL_MKDSF STRESS_CHECK
set -euo pipefail
quorel_search="$(realpath "$1")"
mkdsf="$(realpath "$2")"
check="$(realpath "$3")"

work="$(mktemp -d)"
trap 'rm -rf "$work"' EXIT
cd "$work"
"$mkdsf" --demo Quorel.DSF >/dev/null
word="חופש"
"$quorel_search" --json "$word" 1 60 >finds.json 2>/dev/null
"$quorel_search" "$word" 1 60 2>/dev/null | tr -d '\r' >one-line.txt
"$quorel_search" --area "$word" 1 60 2>/dev/null | tr -d '\r' >area.txt
finds=$(wc -l <finds.json)
[ "$finds" = 32 ] || { echo "FAIL: the demo text gives $finds finds, not 32"; exit 1; }

# The first `count` finds in the one-line view (four lines each).
first_finds() {  # count
  head -n $(($1 * 4)) one-line.txt
}
message() {  # finds skip
  local noun="finds"
  [ "$1" = 1 ] && noun="find"
  printf 'The result box is full: it shows %s %s, and the search stopped at skip %s.' "$1" "$noun" \
    "$2"
}

failures=0
# Runs the check on `box` and `status` with the options given; `want` is accept or refuse.
expect() {  # want what box status [options...]
  local want=$1 what=$2
  printf '%s' "$4" >status.txt
  cp "$3" box.txt
  shift 4
  local got=accept
  "$check" Quorel.DSF "$word" finds.json box.txt status.txt "$@" >out.txt 2>&1 || got=refuse
  if [ "$got" = "$want" ]; then
    echo "ok: $what ($got): $(cat out.txt)"
  else
    echo "FAIL: $what: should $want, did $got: $(cat out.txt)"
    failures=$((failures + 1))
  fi
}

# States a run can leave.
expect accept "every find, one-line view, Done." one-line.txt "Done."
expect accept "every find, area view, Done." area.txt "Done."
{ "$quorel_search" --area "$word" 1 30 2>/dev/null; "$quorel_search" "$word" 31 60 2>/dev/null; } |
  tr -d '\r' >mixed.txt
expect accept "the view changed between two finds" mixed.txt "Done."
sed -e '1s/^/qz/' -e '6s/Skip: /Skip: 4wy/' -e '7s/$/vvv/' one-line.txt >typed.txt
expect accept "letters typed into the box and the progress box" typed.txt "qDone.xj" --typed qwzxvjgym
first_finds 2 >prefix.txt
expect accept "Escape after skip 1" prefix.txt "Aborted." --escape
: >empty.txt
expect accept "Escape at the first poll" empty.txt "Aborted." --escape
expect accept "Escape after the last find" one-line.txt "Aborted." --escape
first_finds 1 >mid-skip.txt
message 1 1 >message.txt
expect accept "a full box in the middle of skip 1, with its message" mid-skip.txt "Aborted." \
  --message message.txt --capacity 1000
expect accept "a full box whose message went unread" mid-skip.txt "Aborted." --capacity 1000
expect accept "Escape between two finds of a skip" mid-skip.txt "Aborted." --escape

# Faults.
expect refuse "Done. with the last find missing" <(head -n -4 one-line.txt) "Done."
expect refuse "Done. with nothing in the box" empty.txt "Done."
expect refuse "Aborted. without Escape or a full box" prefix.txt "Aborted."
expect refuse "Escape that cut a find in two" <(head -n 2 one-line.txt) "Aborted." --escape
expect refuse "a find missing in the middle" <(sed '5,8d' one-line.txt) "Done."
expect refuse "a find twice, as a second run inside the first would add" \
  <(cat prefix.txt one-line.txt) "Done."
expect refuse "a wrong letter in a view" <(sed '3s/ חופש / חופת /' one-line.txt) "Done."
expect refuse "an area row shifted by a blank" <(sed '0,/^א   /s//א    /' area.txt) "Done."
expect refuse "a wrong position" <(sed '2s/Position: [0-9]*/Position: 0/' one-line.txt) "Done."
expect refuse "a status word that is no status word" one-line.txt "Done"
expect refuse "a message with a wrong noun" mid-skip.txt "Aborted." \
  --message <(printf 'The result box is full: it shows 1 finds, and the search stopped at skip 1.') \
  --capacity 1000
expect refuse "a message that counts another number of finds" mid-skip.txt "Aborted." \
  --message <(message 2 1) --capacity 1000
expect refuse "a message that names another skip" mid-skip.txt "Aborted." \
  --message <(message 1 2) --capacity 1000
expect refuse "a full-box message with room left" mid-skip.txt "Aborted." --message message.txt
expect refuse "letters typed that the test did not type" typed.txt "Done."

[ "$failures" = 0 ] || { echo "FAIL: $failures cases"; exit 1; }
echo "PASS"
