#!/usr/bin/env bash
# vantor-cli net-demo, net-resave, net-show, net-blocks and net-map on the
# shipped VantorNet demo project and on variants of it: byte-identical round
# trips, the exact image bytes, refused compiles (message on stderr, nothing
# on stdout, status 1), the DP table and the gateway address map.
source "$(dirname "$0")/common.bash"

# variant OUT PYTHON-EXPR: the demo project with its markup text `t` rewritten.
variant() { project_variant "$data/demo.vncfg" "$@"; }

# --- demo and resave ---
(cd "$data" && "$cli" net-demo "$tmp/demo.vncfg") || fail "net-demo failed"
cmp -s "$data/demo.vncfg" "$tmp/demo.vncfg" || fail "data/demo.vncfg is stale: vantor-cli net-demo writes another file"
(cd "$data" && "$cli" net-resave demo.vncfg "$tmp/resaved.vncfg") || fail "net-resave failed"
cmp -s "$data/demo.vncfg" "$tmp/resaved.vncfg" || fail "net-resave of demo.vncfg is not byte-identical"
mkdir "$tmp/elsewhere"
(cd "$tmp/elsewhere" && "$cli" net-resave "$data/demo.vncfg" "$tmp/nover.vncfg") || fail "resave without Vantor.ver failed"
grep -q '<softVer/>' "$tmp/nover.vncfg" || fail "missing version file should give an empty softVer"

# --- show ---
"$cli" net-show "$data/demo.vncfg" >"$tmp/show" 2>"$tmp/err" || fail "net-show failed: $(cat "$tmp/err")"
grep -qx '网关型号: NXE-485-ZRTU2' "$tmp/show" || fail "net-show: gateway line"
grep -qx '从站数: 3, 命令数: 7' "$tmp/show" || fail "net-show: counts"
grep -q '从站 3 "阀门控制器" 192.168.0.13:503' "$tmp/show" || fail "net-show: third server"

# --- blocks of the demo project ---
"$cli" net-blocks "$data/demo.vncfg" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 0 ] || fail "net-blocks exited non-zero: $(cat "$tmp/err")"
[ -s "$tmp/err" ] && fail "net-blocks wrote to stderr: $(cat "$tmp/err")"
a=$(sed -n 's/^A //p' "$tmp/out")
b=$(sed -n 's/^B //p' "$tmp/out")
[ "$(wc -l <"$tmp/out")" -eq 2 ] || fail "net-blocks should print two lines"
[ "$a" = "11000000000000000800000002000000030000001200000000000000080000000000000005000000" ] ||
    fail "image A: $a"
# Two-port header, three nodes and seven commands.
[ ${#b} -eq $(((24 + 3 * 28 + 7 * 16) * 2)) ] || fail "image B length ${#b}"
[ "${b:0:48}" = "020000000100000003000000000000000700000000000000" ] || fail "image B header ${b:0:48}"
[ "${b:48:16}" = "c0a8000bf6010000" ] || fail "first node ${b:48:16}"
# The change-triggered multiple write of the second server: kind 0x23.
echo "$b" | grep -q '23000000c80004000a00040004000000' || fail "kind 0x23 record missing"

# --- refused compiles ---
# expect_refused FILE MESSAGE
expect_refused() {
    "$cli" net-blocks "$1" >"$tmp/out" 2>"$tmp/err"
    local status=$?
    [ "$status" -eq 1 ] || fail "net-blocks $1 exited $status, expected 1"
    [ "$(cat "$tmp/err")" = "$2" ] || fail "net-blocks $1: message $(cat "$tmp/err")"
    [ -s "$tmp/out" ] && fail "net-blocks $1 printed on stdout"
}
variant "$tmp/area.vncfg" "t.replace('Gate_Add=\"8\"', 'Gate_Add=\"8000\"').replace('Length=\"8\" Explain=\"阀位反馈\"', 'Length=\"200\" Explain=\"阀位反馈\"')"
expect_refused "$tmp/area.vncfg" "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000"
# The same command on the DP gateway compiles.
variant "$tmp/dp-ok.vncfg" "t.replace('NXE-485-ZRTU2', 'QB-H-NET2.0').replace('Gate_Add=\"8\"', 'Gate_Add=\"8000\"').replace('Length=\"8\" Explain=\"阀位反馈\"', 'Length=\"200\" Explain=\"阀位反馈\"')"
"$cli" net-blocks "$tmp/dp-ok.vncfg" >"$tmp/out" 2>"$tmp/err" || fail "DP gateway should compile: $(cat "$tmp/err")"
grep -q '^A [0-9a-f]\{40\}$' "$tmp/out" || fail "single-port image A should have 20 bytes"
variant "$tmp/dp-in.vncfg" "t.replace('NXE-485-ZRTU2', 'QB-H-NET2.0').replace('Length=\"20\" Explain=\"电量累计\"', 'Length=\"120\" Explain=\"电量累计\"')"
expect_refused "$tmp/dp-in.vncfg" "PB输入最大244BYTE"
variant "$tmp/nogw.vncfg" "t.replace('<Master masterName=\"NXE-485-ZRTU2\" x=\"200\" y=\"50\" bitmap=\"NXE-485-ZRTU2\"/>', '')"
expect_refused "$tmp/nogw.vncfg" "请添加一个主站!"

# --- map ---
(cd "$data" && "$cli" net-map demo.vncfg) >"$tmp/out" 2>"$tmp/err" || fail "net-map failed: $(cat "$tmp/err")"
printf '%s\n' \
    'MODBUS   0XXXX' \
    $'0\t00008\t读\t0008\t192.168.0.13\t003\t00016' \
    $'1\t00000\t写\t0008\t192.168.0.13\t003\t00000' \
    'MODBUS   1XXXX' \
    $'0\t10000\t读\t0016\t192.168.0.11\t001\t10000' \
    'MODBUS   3XXXX' \
    $'0\t30000\t读\t0020\t192.168.0.12\t002\t30100' \
    'MODBUS   4XXXX' \
    $'0\t40000\t读\t0010\t192.168.0.11\t001\t40000' \
    $'1\t40010\t写\t0004\t192.168.0.12\t002\t40200' \
    $'2\t40014\t写\t0001\t192.168.0.13\t003\t40300' >"$tmp/want"
diff "$tmp/want" "$tmp/out" >"$tmp/diff" || fail "net-map differs: $(cat "$tmp/diff")"

variant "$tmp/dp.vncfg" "t.replace('NXE-485-ZRTU2', 'QB-H-NET2.0')"
"$cli" net-map "$tmp/dp.vncfg" >"$tmp/out" 2>"$tmp/err" || fail "net-map DP failed: $(cat "$tmp/err")"
printf '%s\n' \
    'DP输入' \
    $'0\t0\t读4区 03H\t0010\t192.168.0.11\t001\t40000' \
    $'1\t20\t读1区 02H\t0016\t192.168.0.11\t001\t10000' \
    $'2\t22\t读3区 04H\t0020\t192.168.0.12\t002\t30100' \
    $'3\t62\t读0区 01H\t0008\t192.168.0.13\t003\t00016' \
    'DP输出' \
    $'0\t0\t写4区 10H 写多字\t0004\t192.168.0.12\t002\t40200' \
    $'1\t8\t写0区 0FH 写多线圈\t0008\t192.168.0.13\t003\t00000' \
    $'2\t9\t写4区 06H 写单字\t0001\t192.168.0.13\t003\t40300' >"$tmp/want"
diff "$tmp/want" "$tmp/out" >"$tmp/diff" || fail "net-map DP differs: $(cat "$tmp/diff")"

# --- usage and file errors ---
for cmd in net-show net-blocks net-map net-demo; do
    "$cli" $cmd >/dev/null 2>&1
    [ $? -eq 2 ] || fail "$cmd without arguments should exit 2"
done
"$cli" net-resave "$data/demo.vncfg" >/dev/null 2>&1
[ $? -eq 2 ] || fail "net-resave with one argument should exit 2"
"$cli" net-blocks "$tmp/missing.vncfg" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "net-blocks of a missing file should exit 2"
grep -q "无法打开文件" "$tmp/err" || fail "missing file message: $(cat "$tmp/err")"
head -c 100 "$data/demo.vncfg" >"$tmp/cut.vncfg"
"$cli" net-resave "$tmp/cut.vncfg" "$tmp/never.vncfg" >/dev/null 2>"$tmp/err"
[ $? -eq 2 ] || fail "net-resave of a cut file should exit 2"
grep -q "文件已损坏或格式不正确" "$tmp/err" || fail "cut file message: $(cat "$tmp/err")"
[ -e "$tmp/never.vncfg" ] && fail "a failed open must not write the output"

[ "$failures" -eq 0 ] || exit 1
echo "net: all checks passed"
