#!/usr/bin/env bash
# vantor-cli copies and net-copies: copies saved at their addresses, a
# refused request with the window's message on stderr, exit 1 and no file,
# usage and file errors with exit 2.
source "$(dirname "$0")/common.bash"

# expect STATUS MESSAGE -- command...: the exit status, stderr exactly MESSAGE
# (when given) and, for a refusal, no output file ($tmp/out.*).
expect() {
    local want=$1 message=$2
    shift 3
    rm -f "$tmp"/out.*
    "$@" >"$tmp/stdout" 2>"$tmp/err"
    local got=$?
    [ "$got" -eq "$want" ] || fail "$* exited $got, expected $want: $(cat "$tmp/err")"
    [ -z "$message" ] || [ "$(cat "$tmp/err")" = "$message" ] || fail "$*: stderr '$(cat "$tmp/err")', expected '$message'"
    [ "$want" -eq 0 ] || ! ls "$tmp"/out.* >/dev/null 2>&1 || fail "$*: a refused request wrote a file"
}

cd "$data" || exit 1
# --- Vantor: slave 1 of COM1 in the demo project (2 and 3 are taken) ---
expect 0 "" -- "$cli" copies demo.vtc --slave COM1:1 --count 2 --step 10 -o "$tmp/out.vtc"
"$cli" show "$tmp/out.vtc" >"$tmp/show"
grep -q '^串口数: 2, 从站数: 7, 命令数: 15$' "$tmp/show" || fail "copies: counts: $(head -4 "$tmp/show")"
[ "$(grep -c '从站 \(11\|21\) "SLAVE"' "$tmp/show")" -eq 2 ] || fail "copies: addresses 11 and 21"
"$cli" resave "$tmp/out.vtc" "$tmp/again.vtc" && cmp -s "$tmp/out.vtc" "$tmp/again.vtc" ||
    fail "copies: the saved project does not open and save to the same bytes"

expect 1 "地址已经被占用,请更换另外一个！" -- "$cli" copies demo.vtc --slave COM1:1 --count 2 -o "$tmp/out.vtc"
expect 1 "地址请添入一个1和247之间的整数" -- "$cli" copies demo.vtc --slave COM1:1 --count 2 --step 200 -o "$tmp/out.vtc"
expect 1 "每个串口上最多连接31个从站" -- "$cli" copies demo.vtc --slave COM1:3 --count 29 -o "$tmp/out.vtc"
expect 1 "复制数量请添入一个1和255之间的整数" -- "$cli" copies demo.vtc --slave COM1:1 --count 0 -o "$tmp/out.vtc"
expect 2 "vantor-cli copies: no slave COM1:9" -- "$cli" copies demo.vtc --slave COM1:9 --count 1 -o "$tmp/out.vtc"
expect 2 "" -- "$cli" copies demo.vtc --slave COM1:1 -o "$tmp/out.vtc"
expect 2 "" -- "$cli" copies "$tmp/missing.vtc" --slave COM1:1 --count 1 -o "$tmp/out.vtc"

# --- VantorNet: server 1 of the demo project, 192.168.0.11:502 unit 1 ---
expect 0 "" -- "$cli" net-copies demo.vncfg --server 1 --count 2 --step 5 -o "$tmp/out.vncfg"
"$cli" net-show "$tmp/out.vncfg" >"$tmp/show"
grep -q '^从站数: 5, 命令数: 11$' "$tmp/show" || fail "net-copies: counts"
grep -q '^从站 5 .* 192.168.0.21:502' "$tmp/show" || fail "net-copies --by ip: the second copy's IP"
expect 0 "" -- "$cli" net-copies demo.vncfg --server 1 --count 1 --step 4 --by unit -o "$tmp/out.vncfg"
"$cli" net-show "$tmp/out.vncfg" | grep -A1 '^从站 4 .* 192.168.0.11:502' | grep -q '站地址 5:' ||
    fail "net-copies --by unit: the copy's unit address"

expect 1 "最多添加31个站点" -- "$cli" net-copies demo.vncfg --server 2 --count 29 -o "$tmp/out.vncfg"
expect 1 "IP地址格式错误" -- "$cli" net-copies demo.vncfg --server 1 --count 1 --step 245 -o "$tmp/out.vncfg"
expect 1 "从站MOD地址添入一个1和247之间的整数" -- "$cli" net-copies demo.vncfg --server 3 --count 1 --step 245 --by unit -o "$tmp/out.vncfg"
expect 2 "vantor-cli net-copies: no server 4" -- "$cli" net-copies demo.vncfg --server 4 --count 1 -o "$tmp/out.vncfg"
expect 2 "" -- "$cli" net-copies demo.vncfg --server 1 --count 1 --by port -o "$tmp/out.vncfg"

[ "$failures" -eq 0 ] || exit 1
echo "copies: all passed"
