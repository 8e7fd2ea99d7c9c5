#!/usr/bin/env bash
# A save that cannot complete (a directory the user may not write, a
# file-size limit, a full file system) says so and keeps the old file as it
# was, with no temporary file left beside it.
#   failed_save_test.sh CLI DATA
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
data=$(cd "$2" && pwd)
here=$(cd "$(dirname "$0")" && pwd)
tmp=$(mktemp -d)
mounted=""
cleanup() {
    [ -n "$mounted" ] && umount "$mounted" 2>/dev/null
    rm -rf "$tmp"
}
trap cleanup EXIT
failures=0 cases=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

python3 "$here/../support/rewrite_project.py" "$data/demo.vtc" "$tmp/big.vtc" \
    "re.sub(r'(<Module [^>]*/>)', lambda m: m.group(1) * 400, t)" || exit 1
python3 "$here/../support/rewrite_project.py" "$data/demo.vncfg" "$tmp/big.vncfg" \
    "re.sub(r'(<Module [^>]*/>)', lambda m: m.group(1) * 400, t)" || exit 1

# check NAME DIR TARGET MESSAGE -- RUNNER...: the command (run by RUNNER in
# the data folder) fails with exit status 2 and MESSAGE on stderr; TARGET
# keeps its bytes; DIR holds no temporary file afterwards.
check() {
    local name=$1 dir=$2 target=$3 message=$4
    shift 5
    cases=$((cases + 1))
    local before
    before=$(sha256sum <"$target")
    (cd "$data" && "$@") >"$tmp/out" 2>"$tmp/err"
    local rc=$?
    [ "$rc" -eq 2 ] || fail "$name: exit status $rc, expected 2"
    grep -q -- "$message" "$tmp/err" || fail "$name: stderr lacks '$message': $(cat "$tmp/err")"
    [ "$(sha256sum <"$target")" = "$before" ] || fail "$name: the old file was changed"
    if compgen -G "$dir/*.tmp.*" >/dev/null; then
        fail "$name: temporary file left: $(ls "$dir")"
    fi
}

# A directory the saving user may not write: a read-only file system where
# one can be mounted (root writes anywhere else), a directory without write
# permission otherwise.
ro=$tmp/readonly
mkdir -p "$ro"
ro_ready=""
if mount -t tmpfs -o size=1m tmpfs "$ro" 2>/dev/null; then
    mounted="$ro"
    cp "$data/demo.vtc" "$ro/project.vtc"
    cp "$data/demo.vncfg" "$ro/project.vncfg"
    mount -o remount,ro "$ro" 2>/dev/null && ro_ready=1
elif [ "$(id -u)" -ne 0 ]; then
    cp "$data/demo.vtc" "$ro/project.vtc"
    cp "$data/demo.vncfg" "$ro/project.vncfg"
    chmod 555 "$ro" && ro_ready=1
fi
if [ -n "$ro_ready" ]; then
    check "vtc, read-only directory" "$ro" "$ro/project.vtc" "无法保存文件" -- \
        "$cli" resave "$tmp/big.vtc" "$ro/project.vtc"
    check "vncfg, read-only directory" "$ro" "$ro/project.vncfg" "无法保存文件" -- \
        "$cli" net-resave "$tmp/big.vncfg" "$ro/project.vncfg"
else
    echo "note: no read-only directory could be made here; those cases did not run"
fi
[ -n "$mounted" ] && umount "$ro" 2>/dev/null
mounted=""

# A file-size limit below the new file's size (its signal ignored, so the
# write fails with an error instead of ending the process).
lim=$tmp/limit
mkdir -p "$lim"
cp "$data/demo.vtc" "$lim/project.vtc"
cp "$data/demo.vncfg" "$lim/project.vncfg"
limited() { (trap '' XFSZ && ulimit -f 8 && exec "$@"); }
check "vtc, file-size limit" "$lim" "$lim/project.vtc" "无法保存文件" -- \
    limited "$cli" resave "$tmp/big.vtc" "$lim/project.vtc"
check "vncfg, file-size limit" "$lim" "$lim/project.vncfg" "无法保存文件" -- \
    limited "$cli" net-resave "$tmp/big.vncfg" "$lim/project.vncfg"
echo old >"$lim/map.xlsx"
check "xlsx export, file-size limit" "$lim" "$lim/map.xlsx" "产生错误" -- \
    limited "$cli" map "$tmp/big.vtc" --export "$lim/map.xlsx"
echo old >"$lim/map.txt"
check "text export, file-size limit" "$lim" "$lim/map.txt" "产生错误" -- \
    limited "$cli" map "$tmp/big.vtc" --export "$lim/map.txt"

# A full file system: a tiny tmpfs where root may mount one.
full=$tmp/full
mkdir -p "$full"
if mount -t tmpfs -o size=64k tmpfs "$full" 2>/dev/null; then
    mounted=$full
    cp "$data/demo.vtc" "$full/project.vtc"
    cp "$data/demo.vncfg" "$full/project.vncfg"
    check "vtc, full file system" "$full" "$full/project.vtc" "无法保存文件" -- \
        "$cli" resave "$tmp/big.vtc" "$full/project.vtc"
    check "vncfg, full file system" "$full" "$full/project.vncfg" "无法保存文件" -- \
        "$cli" net-resave "$tmp/big.vncfg" "$full/project.vncfg"
else
    echo "note: no tmpfs could be mounted here; the full-file-system cases did not run"
fi

if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s) in $cases cases" >&2
    exit 1
fi
echo "$cases failed saves kept the old file"
