#!/usr/bin/env bash
# desktop_test.sh REPO
# Runs scripts/install-desktop and scripts/uninstall-desktop against a throw-away data folder
# (XDG_DATA_HOME) for a program folder whose name needs escaping in a desktop entry, and checks
# the entry, the icons, and that uninstalling removes exactly what was installed.
set -euo pipefail
repo=$1

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

export XDG_DATA_HOME="$work/data"
export HOME="$work/home"
mkdir -p "$HOME" "$XDG_DATA_HOME/applications"
# Someone else's entry, which must survive both scripts.
echo "[Desktop Entry]" >"$XDG_DATA_HOME/applications/other.desktop"

# A program folder with a space, a dollar sign, a percent sign and Chinese characters in its name.
program_dir="$work/书 \$HOME 100%"
mkdir -p "$program_dir/bak"
printf '#!/bin/sh\n' >"$program_dir/kelmor"
chmod +x "$program_dir/kelmor"

# A folder without a program is refused, and nothing is installed.
mkdir "$work/empty"
if "$repo/scripts/install-desktop" "$work/empty" >/dev/null 2>&1; then
  fail "install-desktop accepted a folder without kelmor"
fi
[ ! -e "$XDG_DATA_HOME/applications/kelmor.desktop" ] || fail "entry written for a folder without kelmor"

"$repo/scripts/install-desktop" "$program_dir" >/dev/null
entry="$XDG_DATA_HOME/applications/kelmor.desktop"
[ -f "$entry" ] || fail "no $entry"

grep -qx 'Type=Application' "$entry" || fail "no Type line"
grep -qx 'Icon=kelmor' "$entry" || fail "no Icon line"
grep -qx 'Name\[zh_CN\]=Kelmor 中药药方' "$entry" || fail "no Chinese name"
expected_exec='Exec="'"$work"'/书 \\$HOME 100%%/kelmor"'
grep -qxF "$expected_exec" "$entry" || fail "Exec line: $(grep '^Exec=' "$entry"), expected $expected_exec"
grep -qxF "Path=$program_dir" "$entry" || fail "Path line: $(grep '^Path=' "$entry")"
if command -v desktop-file-validate >/dev/null 2>&1; then
  desktop-file-validate "$entry" || fail "desktop-file-validate rejects the entry"
fi

icons="$XDG_DATA_HOME/icons/hicolor"
cmp -s "$icons/scalable/apps/kelmor.svg" "$repo/packaging/icons/kelmor.svg" || fail "no SVG icon"
for size in 16 32 48 64 128 256; do
  png="$icons/${size}x${size}/apps/kelmor.png"
  [ -f "$png" ] || fail "no $png"
  # The PNG's own width and height (big-endian at bytes 16..23) match its folder.
  dims=$(od -An -tu1 -j16 -N8 "$png" | tr -s ' ' | sed 's/^ //')
  [ "$dims" = "0 0 $((size >> 8)) $((size & 255)) 0 0 $((size >> 8)) $((size & 255))" ] ||
    fail "$png is not ${size}x${size}: $dims"
done

# Installing again replaces the entry rather than adding a second one.
"$repo/scripts/install-desktop" "$program_dir" >/dev/null
[ "$(ls "$XDG_DATA_HOME/applications" | grep -c kelmor)" -eq 1 ] || fail "second install left extra files"

"$repo/scripts/uninstall-desktop" >/dev/null
[ ! -e "$entry" ] || fail "entry left after uninstall"
left=$(find "$XDG_DATA_HOME" -name 'kelmor*' | head -n 5)
[ -z "$left" ] || fail "left after uninstall: $left"
[ -f "$XDG_DATA_HOME/applications/other.desktop" ] || fail "uninstall removed another entry"
[ -x "$program_dir/kelmor" ] || fail "uninstall touched the program folder"

# Uninstalling what is not installed is no error.
"$repo/scripts/uninstall-desktop" >/dev/null || fail "second uninstall failed"
echo "ok: desktop entry and icons installed and removed"
