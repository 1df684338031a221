#!/usr/bin/env bash
# start-programs-paths.sh START_PROGRAMS: the drawing named by KELVO_DRAWING reaches kelvocad
# as one argument, unchanged, whatever its path holds. kelvocad and kelvoedit are stand-ins
# that record their arguments.
set -euo pipefail
script="$1"
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
bin="$work/bin"
mkdir "$bin"
cat >"$bin/kelvocad" <<'EOF'
#!/bin/sh
for a in "$@"; do printf '%s\0' "$a"; done >"$(dirname "$0")/kelvocad.argv"
echo "kelvocad: serving Stand.In"
exec sleep 600
EOF
printf '#!/bin/sh\nexit 0\n' >"$bin/kelvoedit"
chmod +x "$bin/kelvocad" "$bin/kelvoedit"

failed=0
while IFS= read -r name; do
    path="$work/$name"
    mkdir -p "$(dirname "$path")"
    printf '0\nEOF\n' >"$path"
    rm -f "$bin/kelvocad.argv"
    (cd "$work" && KELVO_DRAWING="$path" "$script" "$bin" >/dev/null)
    if printf '%s\0' -geometry +8+40 "$path" | cmp -s - "$bin/kelvocad.argv"; then
        echo "ok: $name"
    else
        echo "FAILED: $name: kelvocad got:" >&2
        tr '\0' '\n' <"$bin/kelvocad.argv" >&2 || true
        failed=1
    fi
done <<'EOF'
a b/plan.dxf
図面 フォルダ/図面 'x'.dxf
it's "quoted"/$(touch injected);y `id`.dxf
-n/&|<>*?[a].dxf
$HOME ~ \"\\.dxf
EOF
if [ -e "$work/injected" ]; then
    echo "FAILED: a path was run as a command" >&2
    failed=1
fi
exit $failed
