#!/usr/bin/env bash
# vantor-cli resave: byte-identical round trip of the shipped demo project,
# file errors with exit status 2 and a one-line message.
source "$(dirname "$0")/common.bash"

# expect STATUS STDERR-PATTERN -- command...
expect() {
    local want=$1 pattern=$2
    shift 3
    "$@" >"$tmp/out" 2>"$tmp/err"
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* exited $got, expected $want"
    if [ -n "$pattern" ]; then
        grep -q -- "$pattern" "$tmp/err" || fail "$*: stderr lacks '$pattern': $(cat "$tmp/err")"
        [ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "$*: message is not one line"
    fi
}

# Opened and saved in the data folder (version file and address file there),
# the demo project comes back byte for byte.
(cd "$data" && "$cli" resave demo.vtc "$tmp/resaved.vtc") || fail "resave of demo.vtc failed"
cmp -s "$data/demo.vtc" "$tmp/resaved.vtc" || fail "resave of demo.vtc is not byte-identical"

# The demo generator still writes exactly the shipped file.
(cd "$data" && "$cli" demo "$tmp/demo.vtc") || fail "demo failed"
cmp -s "$data/demo.vtc" "$tmp/demo.vtc" || fail "data/demo.vtc is stale: vantor-cli demo writes another file"

# Saved where there is no version file: an empty softVer, nothing else lost;
# the version is never read back, so a resave in the data folder restores the
# original bytes.
mkdir "$tmp/elsewhere"
(cd "$tmp/elsewhere" && "$cli" resave "$data/demo.vtc" "$tmp/nover.vtc") || fail "resave without Vantor.ver failed"
grep -q '<softVer/>' "$tmp/nover.vtc" || fail "missing version file should give an empty softVer"
(cd "$data" && "$cli" resave "$tmp/nover.vtc" "$tmp/again.vtc") || fail "second resave failed"
cmp -s "$data/demo.vtc" "$tmp/again.vtc" || fail "project changed on the way through an empty softVer"

# Replacing an existing file works and leaves nothing beside it.
cp "$data/demo.vtc" "$tmp/target.vtc"
echo junk >"$tmp/target.vtc"
(cd "$data" && "$cli" resave demo.vtc "$tmp/target.vtc") || fail "resave over an existing file failed"
cmp -s "$data/demo.vtc" "$tmp/target.vtc" || fail "existing file not replaced"
ls "$tmp" | grep -q '\.tmp\.' && fail "temporary file left behind"

# Usage errors.
expect 2 "" -- "$cli" resave
expect 2 "" -- "$cli" resave "$data/demo.vtc"
expect 2 "" -- "$cli" resave a b c

# File errors: missing, truncated, bad prefix, unwritable target.
expect 2 "无法打开文件 $tmp/missing.vtc" -- "$cli" resave "$tmp/missing.vtc" "$tmp/out.vtc"
head -c 100 "$data/demo.vtc" >"$tmp/cut.vtc"
expect 2 "文件已损坏或格式不正确" -- "$cli" resave "$tmp/cut.vtc" "$tmp/out.vtc"
printf '\377' >"$tmp/prefix.vtc"
expect 2 "文件已损坏或格式不正确" -- "$cli" resave "$tmp/prefix.vtc" "$tmp/out.vtc"
[ -e "$tmp/out.vtc" ] && fail "a failed open must not write the output"
expect 2 "无法保存文件 $tmp/no/such/dir/out.vtc" -- "$cli" resave "$data/demo.vtc" "$tmp/no/such/dir/out.vtc"

[ "$failures" -eq 0 ] || exit 1
echo "resave: all checks passed"
