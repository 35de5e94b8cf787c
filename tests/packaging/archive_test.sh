#!/usr/bin/env bash
# archive_test.sh CPACK CPACK_CONFIG
# Makes the release archive, unpacks it into a fresh folder whose name holds a space and Chinese
# characters, looks up an entry with the unpacked kelmor-lookup from another working folder,
# starts the unpacked ./kelmor there offscreen from that folder, and
# checks through /proc that the running program holds that folder's kelmor.db open (SQLite keeps
# the file open for as long as the program runs), not some other copy.
set -euo pipefail
cpack=$1
config=$2

work=$(mktemp -d)
pid=
cleanup() {
  if [ -n "$pid" ] && kill -0 "$pid" 2>/dev/null; then
    kill "$pid" 2>/dev/null || true
    wait "$pid" 2>/dev/null || true
  fi
  rm -rf "$work"
}
trap cleanup EXIT
fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# --- The archive ------------------------------------------------------------------------------
if ! "$cpack" --config "$config" -B "$work/out" >"$work/cpack.log" 2>&1; then
  cat "$work/cpack.log" >&2
  fail "cpack failed"
fi
archives=("$work"/out/*.tar.gz)
[ ${#archives[@]} -eq 1 ] && [ -f "${archives[0]}" ] || fail "expected one .tar.gz, got: ${archives[*]}"
archive=${archives[0]}
top=$(basename "$archive" .tar.gz)

# Exactly the program folder, nothing else.
listing=$(tar -tzf "$archive" | sed 's#/$##' | grep -vx "$top" | sort)
expected=$(printf '%s\n' "$top/NOTICE.md" "$top/bak" "$top/kelmor" "$top/kelmor-lookup" "$top/kelmor.db" |
  sort)
[ "$listing" = "$expected" ] || fail "archive holds:"$'\n'"$listing"$'\n'"expected:"$'\n'"$expected"

# --- Unpacked elsewhere -----------------------------------------------------------------------
dest="$work/解压 目录"
mkdir -p "$dest"
tar -xzf "$archive" -C "$dest"
program="$dest/$top"
[ -x "$program/kelmor" ] || fail "kelmor is not executable after unpacking"
[ -d "$program/bak" ] && [ -z "$(ls -A "$program/bak")" ] || fail "bak/ is missing or not empty"
[ -s "$program/kelmor.db" ] || fail "kelmor.db is missing or empty"
head -c 16 "$program/kelmor.db" | grep -q "SQLite format 3" || fail "kelmor.db is no SQLite file"

# Started the way a user would, from inside some other folder.
mkdir "$work/elsewhere"
# The terminal companion reads the kelmor.db beside it, not one in the working folder.
page=$(cd "$work/elsewhere" && "../解压 目录/$top/kelmor-lookup" 麻黄汤) ||
  fail "kelmor-lookup 麻黄汤 failed"
case "$page" in
  "【药方名称】：麻黄汤"$'\n'*) ;;
  *) fail "kelmor-lookup 麻黄汤 printed: $page" ;;
esac
(cd "$work/elsewhere" && exec env QT_QPA_PLATFORM=offscreen "../解压 目录/$top/kelmor") \
  >"$work/kelmor.log" 2>&1 &
pid=$!

want="$program/kelmor.db"
opened=
for _ in $(seq 1 600); do
  kill -0 "$pid" 2>/dev/null || break
  for fd in /proc/"$pid"/fd/*; do
    target=$(readlink "$fd" 2>/dev/null || true)
    case "$target" in
      */kelmor.db) opened=$target ;;
    esac
  done
  [ -n "$opened" ] && break
  sleep 0.1
done

if ! kill -0 "$pid" 2>/dev/null; then
  status=0
  wait "$pid" || status=$?
  pid=
  cat "$work/kelmor.log" >&2
  fail "the program ended on its own (exit status $status) before it was seen holding kelmor.db"
fi
[ -n "$opened" ] || fail "the program did not open a kelmor.db within 60 s"
[ "$opened" = "$want" ] || fail "the program opened $opened instead of $want"
[ "$(readlink "/proc/$pid/exe")" = "$program/kelmor" ] || fail "unexpected executable"

kill "$pid"
status=0
wait "$pid" || status=$?
pid=
# 143: ended by our SIGTERM, that is, it was still running normally.
[ "$status" -eq 143 ] || { cat "$work/kelmor.log" >&2; fail "exit status $status after SIGTERM"; }
echo "ok: $top unpacked into '$dest' runs and opened $opened"
