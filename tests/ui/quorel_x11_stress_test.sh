#!/usr/bin/env bash
# SPDX-License-Identifier: GPL-3.0-or-later
# Long and hard runs of the real quorel window under real X input (xdotool), on the display of
# tests/ui/with-xvfb, with the demo text as the data file:
#
#   - a search that fills the result box (a common two-letter word in the area view), with
#     Search pressed and text typed into Text4 and Text5 while it runs;
#   - runs of common words over long skip ranges, each driven by a random stream of Escape taps
#     and holds, Search presses, Check1 toggles, text typed into Text4 and Text5 and scrolling;
#   - windows closed in the middle of a run.
#
# After every run the boxes are read back through the clipboard and quorel-x11-stress-check
# holds them against `quorel-search --json` for the same search: the finds in the box are a
# prefix of the search's finds, each in its one-line or area view, letter for letter; "Done."
# only with every find; "Aborted." only at a skip boundary after Escape or with the full-box
# message's count. The program must stay alive, end with status 0 when closed, and keep its
# resident memory (VmHWM, sampled per run) under a bound.
#
#   quorel_x11_stress_test.sh QUOREL QUOREL_SEARCH QUOREL_MKDSF QUOREL_X11_PROBE STRESS_CHECK
#
# QUOREL_STRESS_SEED    the random seed (printed at the start; give it to replay the same input)
# QUOREL_STRESS_ROUNDS  runs with random input (default 6)
# QUOREL_STRESS_CLOSES  windows closed during a run (default 2)
# QUOREL_STRESS_MAX_MB  the bound on the program's resident memory in MB (default 768; a full
#                       result box takes about 210 MB, and copying it about 400 MB)
set -euo pipefail
# shellcheck source=tests/ui/x11_lib.sh
source "$(dirname "$0")/x11_lib.sh"
with_accessibility_bus "$@"
quorel="$(realpath "$1")"
quorel_search="$(realpath "$2")"
mkdsf="$(realpath "$3")"
probe="$(realpath "$4")"
check="$(realpath "$5")"

seed="${QUOREL_STRESS_SEED:-$(((RANDOM << 15) | RANDOM))}"
rounds="${QUOREL_STRESS_ROUNDS:-6}"
closes="${QUOREL_STRESS_CLOSES:-2}"
max_mb="${QUOREL_STRESS_MAX_MB:-768}"
echo "seed $seed (QUOREL_STRESS_SEED=$seed replays this input), $rounds rounds, $closes closes"
RANDOM=$seed

work="$(mktemp -d)"
cleanup() {
  xdotool keyup Escape 2>/dev/null || true
  stop_quorel
  rm -rf "$work"
}
trap cleanup EXIT

"$mkdsf" --demo "$work/Quorel.DSF" >/dev/null

# Characters typed into the boxes: none of them appears in a find, a status word or the full-box
# message, and none is a key of the message box (its OK button answers to "o").
typed_letters="qwzxvjgym"
started_at=$SECONDS

# --- helpers ---

random_between() {  # low high: a whole number in [low, high]
  echo $(($1 + RANDOM % ($2 - $1 + 1)))
}

random_typing() {  # count
  local text="" k
  for ((k = 0; k < $1; ++k)); do
    text+="${typed_letters:RANDOM % ${#typed_letters}:1}"
  done
  echo "$text"
}

seconds_since() {  # start time as given by `date +%s%N`
  local ns=$(($(date +%s%N) - $1))
  printf '%d.%01d' $((ns / 1000000000)) $((ns % 1000000000 / 100000000))
}

# The window starts with חופש in Text1; shorter words are made from it with BackSpace, so no
# Hebrew needs typing. A longer word than Text1 holds needs a fresh window.
current_word=""
window_state_known=0
fresh_window() {
  stop_quorel
  start_quorel
  current_word="חופש"
  check_state=0
  window_state_known=1
}

set_inputs() {  # word min max area(0/1)
  if [ "$window_state_known" = 0 ] || [ ${#1} -gt ${#current_word} ]; then
    fresh_window
  fi
  if [ ${#1} -lt ${#current_word} ]; then
    click Text1
    xdotool key --clearmodifiers End
    local k
    for ((k = ${#1}; k < ${#current_word}; ++k)); do
      xdotool key BackSpace
    done
    current_word="$1"
  fi
  type_into Text3 "$2"
  type_into Text2 "$3"
  if [ "$4" != "$check_state" ]; then
    click Check1
    check_state="$4"
  fi
}

# Resident memory: the high-water mark is set back at the start of each run (where the kernel
# allows it), so each run's own peak is seen.
reset_peak() {
  { echo 5 >"/proc/$quorel_pid/clear_refs"; } 2>/dev/null || true
}
peak_kb() {
  awk '/^VmHWM:/ { print $2 }' "/proc/$quorel_pid/status"
}
highest_kb=0
note_peak() {  # kB
  [ "$1" -gt "$highest_kb" ] && highest_kb=$1
  [ "$1" -le $((max_mb * 1024)) ] || fail "the program's resident memory reached $(($1 / 1024)) MB"
}

expect_alive() {
  kill -0 "$quorel_pid" 2>/dev/null ||
    fail "quorel is gone during the run: $(tail -5 "$work/quorel.log")"
}

# The progress box's text without the letters typed into it.
status_word() {
  tr -d "$typed_letters" <"$work/status.txt"
}

declare -A event_count=() held_escape=() mid_run=()
batch=()
escape_used=0
message_seen=0

# One user move, chosen at random among the kinds allowed in `kinds`.
random_event() {  # kinds...
  local kinds=("$@")
  local kind="${kinds[RANDOM % ${#kinds[@]}]}"
  event_count[$kind]=$((${event_count[$kind]:-0} + 1))
  batch+=("$kind")
  case "$kind" in
    search) click Command1 ;;
    check)
      click Check1
      check_state=$((1 - check_state))
      ;;
    # Typing adds letters and never replaces a selection (two quick clicks at one place select
    # a word): Left or End first takes the selection away.
    type4 | type4_top)
      # Anywhere in the box, where a click may also answer a message box that has just opened
      # over it; or in its top strip, which a message box leaves free.
      local x y width height bottom
      read -r x y width height <<<"${at[Text4]}"
      bottom=$((y + height - 6))
      [ "$kind" = type4_top ] && bottom=$((y + 44))
      # Left of the scroll bar.
      xdotool mousemove "$(random_between $((x + 4)) $((x + width - 25)))" \
        "$(random_between $((y + 4)) "$bottom")" click --delay 0 1 key Left
      xdotool type --delay "$(random_between 5 20)" "$(random_typing "$(random_between 1 5)")"
      ;;
    type5)
      click Text5
      xdotool key End type --delay "$(random_between 5 20)" \
        "$(random_typing "$(random_between 1 4)")"
      ;;
    scroll)
      # shellcheck disable=SC2046
      xdotool mousemove $(middle_of Text4) click --delay 0 --repeat \
        "$(random_between 1 8)" "$(random_between 4 5)"
      ;;
    escape_tap)
      escape_used=1
      xdotool key Escape
      ;;
    escape_hold)
      escape_used=1
      xdotool keydown Escape
      sleep "0.0$(random_between 0 9)"
      xdotool keyup Escape
      ;;
    pause) sleep "0.$(random_between 0 1)$(random_between 0 9)" ;;
  esac
}

# Escape held down while the run goes stops it at the next poll. With the run seen going (Text5
# shows a skip), Escape goes down and the progress box is read twice with the key held: the
# run handles the first read in the yield before a poll, so it may still show a skip; the second
# comes after that poll and must show the status word: "Aborted.", or "Done." if the run
# reached its end in the moment between the first look and the key (checked as such). A message
# box that opens meanwhile takes the keys, and then nothing is concluded; nor from a read that
# got no text.
hold_escape_until_the_run_stops() {
  read_box Text5 3 >"$work/status.txt"
  local before
  before="$(status_word)"
  case "$before" in
    [0-9]*) ;;
    *) return 0 ;;
  esac
  escape_used=1
  xdotool keydown Escape
  sleep "0.$(random_between 0 2)$(random_between 0 9)"
  read_box Text5 3 >"$work/status.txt"
  read_box Text5 3 >"$work/status.txt"
  xdotool keyup Escape
  [ -z "$(message_window)" ] || return 0
  case "$(status_word)" in
    Done. | Aborted.)
      local outcome
      outcome="Escape held at a skip, then $(status_word)"
      held_escape[$outcome]=$((${held_escape[$outcome]:-0} + 1))
      echo "  Escape held down with the run at skip $before: $(status_word)"
      ;;
    [0-9]*) fail "Escape held through a poll, yet the run goes on: Text5 shows $(status_word)" ;;
  esac
}

# While the run goes: a message box is read and closed (after it the run ends, so no more
# input is sent), the progress box is read, and between reads come a few random moves; at
# `escape_at` milliseconds (0: never) Escape is held down. Moves stop after 20 s, so
# that Search pressed after the end cannot keep new runs coming. Returns once Text5 shows a
# status word; fails after `limit` seconds.
drive_run() {  # limit escape_at kinds...
  local limit=$1 escape_at=$2
  shift 2
  local start=$SECONDS start_ns deadline=$((SECONDS + limit)) message k
  start_ns=$(date +%s%N)
  rm -f "$work/message.txt"
  batch=()
  while :; do
    expect_alive
    message="$(message_window)"
    if [ -n "$message" ]; then
      xdotool keyup Escape
      read_and_close_message "$message" >"$work/message.txt"
      if [ -s "$work/message.txt" ]; then
        message_seen=$((message_seen + 1))
      else
        rm "$work/message.txt"  # an Escape closed it first
      fi
      # Clicks on Check1 that the message turned away leave its state unknown.
      window_state_known=0
      set -- pause
      escape_at=0
    fi
    read_box Text5 3 >"$work/status.txt"
    case "$(status_word)" in
      Done. | Aborted.) return 0 ;;
      [0-9]*)
        # The run still goes, so the moves since the last look all came during the run.
        for k in "${batch[@]}"; do
          mid_run[$k]=$((${mid_run[$k]:-0} + 1))
        done
        ;;
    esac
    batch=()
    [ "$SECONDS" -lt "$deadline" ] || fail "the run did not end within $limit s"
    if [ $((SECONDS - start)) -ge 20 ]; then
      set -- pause
    fi
    if [ "$escape_at" -gt 0 ] && [ $((($(date +%s%N) - start_ns) / 1000000)) -ge "$escape_at" ]; then
      hold_escape_until_the_run_stops
      escape_at=0
      continue
    fi
    for ((k = $(random_between 1 4); k > 0; --k)); do
      random_event "$@"
    done
  done
}

# Reads the boxes back and has them checked against quorel-search's finds.
check_run() {  # word min max what
  local run_kb copy_kb summary
  run_kb="$(peak_kb)"
  # A typed letter makes sure the box copies something; the check sets it aside.
  # shellcheck disable=SC2046
  xdotool mousemove $(middle_of Text4) click --delay 0 1 key --clearmodifiers ctrl+Home q
  read_box Text4 30 >"$work/box.txt"
  copy_kb="$(peak_kb)"
  (cd "$work" && "$quorel_search" --json "$1" "$2" "$3" >"$work/finds.json" 2>/dev/null)
  local options=(--typed "$typed_letters")
  [ "$escape_used" = 1 ] && options+=(--escape)
  [ -f "$work/message.txt" ] && options+=(--message "$work/message.txt")
  summary="$("$check" "$work/Quorel.DSF" "$1" "$work/finds.json" "$work/box.txt" \
    "$work/status.txt" "${options[@]}")" || fail "$4: the boxes do not hold what the search has"
  echo "  $summary"
  echo "  peak resident memory $((run_kb / 1024)) MB during the run," \
    "$((copy_kb / 1024)) MB with the box copied"
  note_peak "$run_kb"
  note_peak "$copy_kb"
  local outcome
  case "$summary" in
    *"Done.") outcome="Done." ;;
    *"before it was read)") outcome="Aborted. by a full box, its message closed before it was read" ;;
    *"by a full box"*) outcome="Aborted. by a full box" ;;
    *) outcome="Aborted. by Escape" ;;
  esac
  # A message closed unseen may have turned clicks on Check1 away.
  case "$outcome" in
    *"full box"*) window_state_known=0 ;;
  esac
  outcome_counts[$outcome]=$((${outcome_counts[$outcome]:-0} + 1))
}
declare -A outcome_counts=()

# --- the runs ---

echo "a search that fills the result box, with Search pressed and typing while it runs"
fresh_window
set_inputs "חו" 1 60 1
reset_peak
escape_used=0
begin=$(date +%s%N)
click Command1
drive_run 120 0 search type4_top type5 scroll pause
[ -f "$work/message.txt" ] || fail "the full result box showed no message"
echo "  $(grep 'The result box is full' "$work/message.txt"), after $(seconds_since "$begin") s"
check_run "חו" 1 60 "full result box"

# The words and ranges of the random runs: each lasts a few seconds alone, and most can fill the
# box once Check1 turns the area view on.
searches=("חופ 1 30480" "חופ 1 12000" "חו 1 400" "חו 1 150")
for ((round = 1; round <= rounds; ++round)); do
  read -r word min max <<<"${searches[RANDOM % ${#searches[@]}]}"
  area=$((RANDOM % 4 == 0 ? 1 : 0))
  # Check1 less often than the rest: once the area view is on, the box fills within a second.
  kinds=(search search type4 type4 type5 type5 scroll pause check)
  escape_at=0
  if [ $((RANDOM % 3)) -ne 0 ]; then
    # Taps and short holds may fall between two polls and go unseen; a hold at a random moment
    # must stop the run.
    kinds+=(escape_tap escape_hold)
    escape_at=$(random_between 300 2500)
  fi
  echo "round $round: $word, skips $min to $max, $([ "$area" = 1 ] && echo area || echo one-line)" \
    "view, moves: ${kinds[*]}$([ "$escape_at" -gt 0 ] && echo ", Escape held after $escape_at ms")"
  set_inputs "$word" "$min" "$max" "$area"
  reset_peak
  escape_used=0
  begin=$(date +%s%N)
  click Command1
  drive_run 180 "$escape_at" "${kinds[@]}"
  xdotool keyup Escape
  echo "  ended after $(seconds_since "$begin") s"
  check_run "$word" "$min" "$max" "round $round"
done

mid_run_closes=0
closes_at_a_message=0
for ((round = 1; round <= closes; ++round)); do
  fresh_window
  set_inputs "חופ" 1 30480 0
  echo "close $round: חופ, skips 1 to 30480, one-line view, moves: search check type4 type5 scroll"
  click Command1
  # A few random moves, then the close.
  for ((k = $(random_between 0 5); k > 0; --k)); do
    random_event search search type4 type5 scroll pause check
  done
  expect_alive
  # The progress box cannot be read while a message box is open (it takes the input).
  read_box Text5 3 >"$work/status.txt"
  if [ -n "$(message_window)" ]; then
    closes_at_a_message=$((closes_at_a_message + 1))
    echo "  closed while the full-box message was open"
  else
    case "$(status_word)" in
      [0-9]*)
        mid_run_closes=$((mid_run_closes + 1))
        echo "  closed at skip $(status_word)"
        ;;
      *) echo "  closed after the run had ended ('$(status_word)')" ;;
    esac
  fi
  "$probe" close "$window"
  closed_pid=$quorel_pid
  # A close while a message box is open is turned away: the message is answered and the window
  # closed again.
  deadline=$((SECONDS + 60))
  while kill -0 "$closed_pid" 2>/dev/null && [ "$SECONDS" -lt "$deadline" ]; do
    message="$(message_window)"
    if [ -n "$message" ]; then
      echo "  a message was open: $(read_and_close_message "$message" | grep full)"
      "$probe" close "$window"
    fi
    sleep 0.1
  done
  wait_for_exit 10
  expect_equal "exit status after closing during a run" "$exit_status" 0
  window_state_known=0
done

echo "summary (seed $seed): $rounds random runs and the full box in $((SECONDS - started_at)) s"
for kind in "${!event_count[@]}"; do
  echo "  $kind: ${event_count[$kind]} moves, ${mid_run[$kind]:-0} of them seen to fall within a run"
done
for hold in "${!held_escape[@]}"; do
  echo "  $hold: ${held_escape[$hold]} times"
done
for outcome in "${!outcome_counts[@]}"; do
  echo "  ${outcome_counts[$outcome]} x $outcome"
done
echo "  $message_seen full-box messages read during runs"
echo "  of $closes closes, $mid_run_closes came in the middle of a run and $closes_at_a_message while" \
  "the full-box message was open"
echo "  highest resident memory of a run: $((highest_kb / 1024)) MB"
echo "PASS"
