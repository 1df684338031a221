#!/usr/bin/env bash
# start-programs.sh BIN [SHOTS]: starts kelvocad (when built) with the drawing file named by
# KELVO_DRAWING, or its sample drawing, waits
# until it serves, then starts kelvoedit, which attaches to it by its default ProgID. With
# SHOTS, both run in a private runtime directory (so a KelvoCAD or KelvoEdit of the user's is
# left alone), screenshots of the screen and of each window are saved into SHOTS, and both
# programs are ended.
set -euo pipefail
bin="$1"
shots="${2:-}"
pids=()
private=""
cleanup() {
    [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true
    [ -n "$private" ] && rm -rf "$private"
    return 0
}
trap cleanup EXIT

if [ -n "$shots" ]; then
    private=$(mktemp -d)
    chmod 700 "$private"
    export XDG_RUNTIME_DIR="$private"
    export KELVOEDIT_RUNTIME_DIR="$private/objects"
fi

if [ -x "$bin/kelvocad" ]; then
    log=$(mktemp)
    # The drawing window on the left; KelvoEdit opens where it was last closed, or centred
    # on the screen, which on the wide screen of run.sh is beside it.
    "$bin/kelvocad" -geometry +8+40 ${KELVO_DRAWING:+"$KELVO_DRAWING"} >"$log" 2>&1 &
    pids+=($!)
    for _ in $(seq 1 300); do
        grep -q 'serving' "$log" && break
        kill -0 "${pids[0]}" 2>/dev/null || { cat "$log" >&2; echo "kelvocad ended" >&2; exit 1; }
        sleep 0.1
    done
    cat "$log"
    rm -f "$log"
fi
if [ -z "$shots" ]; then
    "$bin/kelvoedit"
    exit 0
fi

"$bin/kelvoedit" &
pids+=($!)
# Both windows drawn and kelvoedit's first status refresh done.
sleep 4
import -window root "$shots/screen.png"
# One picture per named top-level window of our programs.
xwininfo -root -children | grep -E '"(KelvoEdit|KelvoCAD)[^"]*"' | while read -r id rest; do
    name=$(printf '%s' "$rest" | sed -E 's/^"([^"]*)".*/\1/' | tr -c 'A-Za-z0-9._-' '_')
    import -window "$id" "$shots/${name}.png" 2>/dev/null || true
done

# Then the road of one TEXT edit, played with the pointer: "TEXT" in KelvoEdit, a window
# around the wire numbers in KelvoCAD, a right click to end the pick.
if command -v xdotool >/dev/null; then
    origin() { xwininfo -name "$1" | awk '/Absolute upper-left X/ {x=$NF} /Absolute upper-left Y/ {y=$NF} END {print x, y}'; }
    read -r ex ey < <(origin KelvoEdit)
    read -r cx cy < <(origin "$(xwininfo -root -children | grep -oE '"KelvoCAD[^"]*"' | head -1 | tr -d '"')")
    xdotool mousemove $((ex + 29)) $((ey + 45)) click 1
    sleep 2
    xdotool mousemove $((cx + 110)) $((cy + 45)) mousedown 1 sleep 0.3 \
        mousemove $((cx + 150)) $((cy + 200)) sleep 0.3 mousemove $((cx + 190)) $((cy + 385)) sleep 0.3 mouseup 1
    sleep 1
    xdotool mousemove $((cx + 400)) $((cy + 560)) click 3
    sleep 3
    import -window root "$shots/screen-after-pick.png"
    read -r id _ < <(xwininfo -root -children | grep -E '"KelvoEdit[^"]*"' | head -1)
    import -window "$id" "$shots/KelvoEdit-after-pick.png" 2>/dev/null || true
fi
ls "$shots"
