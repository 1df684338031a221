#!/usr/bin/env bash
# start-programs.sh BIN [SHOTS]: starts kelvocad (when built) and kelvoedit. With SHOTS, takes
# screenshots of the screen and of each top-level window into that folder, then ends both.
set -euo pipefail
bin="$1"
shots="${2:-}"
pids=()
cleanup() { [ ${#pids[@]} -gt 0 ] && kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT

if [ -x "$bin/kelvocad" ]; then
    "$bin/kelvocad" &
    pids+=($!)
    sleep 2
fi
if [ -z "$shots" ]; then
    "$bin/kelvoedit"
    exit 0
fi

"$bin/kelvoedit" &
pids+=($!)
sleep 4
import -window root "$shots/screen.png"
# One picture per named top-level window of our programs.
xwininfo -root -children | grep -E '"(KelvoEdit|KelvoCAD)[^"]*"' | while read -r id rest; do
    name=$(printf '%s' "$rest" | sed -E 's/^"([^"]*)".*/\1/' | tr -c 'A-Za-z0-9._-' '_')
    import -window "$id" "$shots/${name}.png" 2>/dev/null || true
done
ls "$shots"
