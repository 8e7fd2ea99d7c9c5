#!/usr/bin/env bash
# vantor-cli copies and net-copies: the copies saved, a refusal with the
# window's message on stderr, exit 1 and no file, usage errors with exit 2.
source "$(dirname "$0")/common.bash"

# expect STATUS MESSAGE -- command...: the status, stderr exactly MESSAGE
# (when given) and no output file after a failure.
expect() {
    local want=$1 message=$2
    shift 3
    rm -f "$tmp"/out.*
    "$@" >/dev/null 2>"$tmp/err"
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* exited $got, expected $want: $(cat "$tmp/err")"
    [ -z "$message" ] || [ "$(cat "$tmp/err")" = "$message" ] || fail "$*: stderr '$(cat "$tmp/err")'"
    [ "$want" -eq 0 ] || ! ls "$tmp"/out.* >/dev/null 2>&1 || fail "$*: a failed request wrote a file"
}

cd "$data" || exit 1
# Vantor: slave 1 of COM1 in the demo project (2 and 3 are taken there).
expect 0 "" -- "$cli" copies demo.vtc --slave COM1:1 --count 2 --step 10 -o "$tmp/out.vtc"
[ "$("$cli" show "$tmp/out.vtc" | grep -c '^  从站 \(11\|21\) "SLAVE"')" -eq 2 ] || fail "copies: slaves 11 and 21"
expect 1 "地址2已经被占用,请更换地址间隔或复制数量" -- "$cli" copies demo.vtc --slave COM1:1 --count 2 -o "$tmp/out.vtc"
expect 2 "vantor-cli copies: no slave COM1:9" -- "$cli" copies demo.vtc --slave COM1:9 --count 1 -o "$tmp/out.vtc"
expect 2 "" -- "$cli" copies demo.vtc --slave COM1:1 -o "$tmp/out.vtc"

# VantorNet: server 1 of the demo project is 192.168.0.11:502 unit 1.
expect 0 "" -- "$cli" net-copies demo.vncfg --server 1 --count 2 --step 5 -o "$tmp/out.vncfg"
"$cli" net-show "$tmp/out.vncfg" | grep -q '^从站 5 .* 192.168.0.21:502' || fail "net-copies --by ip"
expect 0 "" -- "$cli" net-copies demo.vncfg --server 1 --count 1 --step 4 --by unit -o "$tmp/out.vncfg"
"$cli" net-show "$tmp/out.vncfg" | grep -A1 '^从站 4 .* 192.168.0.11:502' | grep -q '站地址 5:' || fail "net-copies --by unit"
expect 1 "最多添加31个站点" -- "$cli" net-copies demo.vncfg --server 2 --count 29 -o "$tmp/out.vncfg"
expect 2 "vantor-cli net-copies: no server 4" -- "$cli" net-copies demo.vncfg --server 4 --count 1 -o "$tmp/out.vncfg"
expect 2 "" -- "$cli" net-copies demo.vncfg --server 1 --count 1 --by port -o "$tmp/out.vncfg"

[ "$failures" -eq 0 ] || exit 1
echo "copies: all passed"
