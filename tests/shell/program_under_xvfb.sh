#!/usr/bin/env bash
# The real program on a real X server: it starts, maps its 450 x 479 intro window and ends
# with status 0 when that window is closed; without the collection it first shows the fifteen
# error boxes. The entry label brings up the browsing window, its close hot spot hides it, the
# intro window's close hot spot ends the program, and a taskbar lists one entry for the
# program. What is typed into the panes reaches the file: on Next, and as the program ends.
# Runs inside tests/support/with_xvfb.sh --wm.
set -euo pipefail
program=$1
collection=$2
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

fail() { echo "FAIL: $*" >&2; exit 1; }

# Every window of the program carries the application title, so windows are told apart by
# their size: the intro window is 450 x 479, the browsing window 865 x 682, and an error box
# is any other visible window titled "Morvandel".
windows_sized() {
    local want=$1 id size
    for id in $(xdotool search --onlyvisible --name '^Morvandel' 2>/dev/null); do
        size=$(xdotool getwindowgeometry "$id" 2>/dev/null | sed -n 's/.*Geometry: //p')
        case "$want" in
            box) if [ "$size" != 450x479 ] && [ "$size" != 865x682 ]; then echo "$id"; fi ;;
            *) if [ "$size" = "$want" ]; then echo "$id"; fi ;;
        esac
    done
    return 0
}

# Prints the ids of visible windows of one kind, waiting up to $2 seconds for one.
wait_window() {
    local kind=$1 seconds=$2 ids
    for _ in $(seq $((seconds * 10))); do
        ids=$(windows_sized "$kind")
        if [ -n "$ids" ]; then echo "$ids"; return 0; fi
        sleep 0.1
    done
    return 1
}

# Presses mouse button $4 at ($2, $3) in the client area of window $1.
press_at() {
    local window=$1 x=$2 y=$3 button=$4 X Y WIDTH HEIGHT SCREEN WINDOW
    eval "$(xdotool getwindowgeometry --shell "$window")"
    xdotool mousemove --sync $((X + x)) $((Y + y))
    xdotool click "$button"
}

# Prints the clients of process $1 that a taskbar lists: managed and not asking to be skipped.
taskbar_entries() {
    local id owner state
    for id in $(xprop -root _NET_CLIENT_LIST | sed 's/^[^#]*# //; s/,//g'); do
        owner=$(xprop -id "$id" _NET_WM_PID 2>/dev/null || true)
        [ "$owner" = "_NET_WM_PID(CARDINAL) = $1" ] || continue
        state=$(xprop -id "$id" _NET_WM_STATE 2>/dev/null || true)
        case "$state" in *_NET_WM_STATE_SKIP_TASKBAR*) ;; *) printf '%d\n' "$id" ;; esac
    done
}

close_and_expect_zero() {
    local pid=$1 intro=$2
    wmctrl -i -c "$intro"
    for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
    kill -0 "$pid" 2>/dev/null && fail "the program did not end when its intro window closed"
    local status=0
    wait "$pid" || status=$?
    [ "$status" = 0 ] || fail "exit status $status, expected 0"
}

# 1. With the collection: no error box, the intro window at its size, the browsing window hidden.
cp "$collection" "$work/kelvora.mdb"
(cd "$work" && exec "$program") &
pid=$!
intro=$(wait_window 450x479 20 | head -n1) || fail "no 450 x 479 intro window was mapped"
[ -z "$(windows_sized box)" ] || fail "an error box appeared with the collection present"
[ -z "$(windows_sized 865x682)" ] || fail "the browsing window is shown at start"
close_and_expect_zero "$pid" "$intro"
echo "ok: with the collection"

# 2. The entry label shows the browsing window; its close hot spot hides it; the intro window's
# close hot spot, pressed with the right button, ends the program.
(cd "$work" && exec "$program") &
pid=$!
intro=$(wait_window 450x479 20 | head -n1) || fail "no 450 x 479 intro window was mapped"
name=$(xprop -id "$intro" _NET_WM_NAME)
[ "$name" = '_NET_WM_NAME(UTF8_STRING) = "Morvandel"' ] || fail "the intro window's name: $name"
icon=$(xprop -id "$intro" _NET_WM_ICON | sed -n 1p)
case "$icon" in *"Icon (48 x 48)"*) ;; *) fail "the intro window has no 48 x 48 icon: $icon" ;; esac
press_at "$intro" 228 372 1
browsing=$(wait_window 865x682 10 | head -n1) || fail "the entry label did not show the browsing window"
entries=$(taskbar_entries "$pid")
[ "$entries" = "$intro" ] || fail "taskbar entries '$entries', expected the intro window $intro alone"
press_at "$browsing" 834 23 1
for _ in $(seq 100); do [ -z "$(windows_sized 865x682)" ] && break; sleep 0.1; done
[ -z "$(windows_sized 865x682)" ] || fail "the browsing window's close hot spot did not hide it"
kill -0 "$pid" 2>/dev/null || fail "the program ended when the browsing window was closed"
press_at "$intro" 424 18 3
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the intro window's close hot spot did not end the program"
status=0
wait "$pid" || status=$?
[ "$status" = 0 ] || fail "exit status $status after the close hot spot, expected 0"
echo "ok: entry label and close hot spots"

# 3. Typing into the answer pane and pressing Next writes the answer; typing into the footnote
# pane of the next record and closing the program writes that too. mdb-export reads them back,
# and finds every record still there.
(cd "$work" && exec "$program") &
pid=$!
intro=$(wait_window 450x479 20 | head -n1) || fail "no 450 x 479 intro window was mapped"
press_at "$intro" 228 372 1
browsing=$(wait_window 865x682 10 | head -n1) || fail "the entry label did not show the browsing window"
# Ctrl+Delete in the titles grid asks first; Cancel keeps the record and gives the keyboard back
# to the browsing window.
press_at "$browsing" 740 483 1
xdotool key --clearmodifiers ctrl+Delete
confirmation() { xdotool search --onlyvisible --name '^Confirm' 2>/dev/null || true; }
for _ in $(seq 100); do [ -n "$(confirmation)" ] && break; sleep 0.1; done
[ -n "$(confirmation)" ] || fail "Ctrl+Delete in the grid asked nothing"
xdotool key --clearmodifiers Escape
for _ in $(seq 50); do [ -z "$(confirmation)" ] && break; sleep 0.1; done
[ -z "$(confirmation)" ] || fail "the confirmation did not close on Escape"
for _ in $(seq 20); do [ "$(xdotool getactivewindow)" = "$browsing" ] && break; sleep 0.1; done
[ "$(xdotool getactivewindow)" = "$browsing" ] || fail "the browsing window lost the keyboard to the confirmation"
press_at "$browsing" 300 300 1
xdotool key --clearmodifiers ctrl+End
xdotool type --delay 20 " typed-into-the-answer"
press_at "$browsing" 496 625 1
press_at "$browsing" 300 540 1
xdotool key --clearmodifiers ctrl+End
xdotool type --delay 20 " typed-into-the-footnotes"
sleep 0.3
[ -z "$(windows_sized box)" ] || fail "an error box appeared while typing"
if [ -n "${KELVORA_SCREENSHOT:-}" ]; then import -window root "$KELVORA_SCREENSHOT"; fi
wmctrl -i -c "$intro"  # the browsing window lies over the intro window's close hot spot
for _ in $(seq 100); do kill -0 "$pid" 2>/dev/null || break; sleep 0.1; done
kill -0 "$pid" 2>/dev/null && fail "the program did not end after writing what was typed"
wait "$pid" || fail "the program ended with status $? after writing what was typed"
exported=$(mdb-export "$work/kelvora.mdb" kolliyat)
first=$(printf '%s\n' "$exported" | grep -c 'typed-into-the-answer"' || true)
second=$(printf '%s\n' "$exported" | grep -c 'typed-into-the-footnotes"' || true)
[ "$first" = 1 ] || fail "the typed answer is not in the file once (found $first times)"
[ "$second" = 1 ] || fail "the typed footnote is not in the file once (found $second times)"
records=$(printf '%s\n' "$exported" | grep -c '^"' || true)
[ "$records" = 14 ] || fail "$records records in kolliyat after the edits, expected 14"
echo "ok: typed text written on Next and at the end"

# 4. Without it: fifteen boxes, one after the other, then the intro window.
rm "$work/kelvora.mdb"
(cd "$work" && exec "$program") &
pid=$!
boxes=0
while box=$(wait_window box 10 | head -n1); do
    [ -z "$(windows_sized 450x479)" ] || fail "the intro window was shown before every box was answered"
    boxes=$((boxes + 1))
    xdotool windowactivate --sync "$box" >/dev/null 2>&1 || true
    xdotool key --clearmodifiers Return
    for _ in $(seq 50); do
        windows_sized box | grep -qx "$box" || break
        sleep 0.1
    done
    [ "$boxes" -le 20 ] || fail "more than twenty error boxes"
done
[ "$boxes" = 15 ] || fail "$boxes error boxes, expected 15"
intro=$(wait_window 450x479 10 | head -n1) || fail "no intro window after the boxes"
close_and_expect_zero "$pid" "$intro"
echo "ok: fifteen boxes without the collection"
