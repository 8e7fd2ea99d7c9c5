#!/usr/bin/env bash
# vantor-cli map: the gateway address map of the demo project, its export
# (workbook read back, delimited text), the opening checks, the CDT table
# instead of the map, and usage/file errors.
source "$(dirname "$0")/common.bash"

# variant OUT PYTHON-EXPR: the demo project with its markup text `t` rewritten.
variant() { project_variant "$data/demo.vtc" "$@"; }

# --- the map of the demo project ---
(cd "$data" && "$cli" map demo.vtc) >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "map demo.vtc exited $status: $(cat "$tmp/err")"
[ -s "$tmp/err" ] && fail "map wrote to stderr: $(cat "$tmp/err")"
printf '%s\n' \
    'MODBUS   0XXXX' \
    $'1\t00008\t读\t0008\tCOM1\t003\t00016' \
    $'2\t00000\t写\t0008\tCOM1\t003\t00000' \
    $'3\t00016\t写\t0001\tCOM2\t005\t00005' \
    '' \
    'MODBUS   1XXXX' \
    $'1\t10000\t读\t0016\tCOM1\t001\t00000' \
    '' \
    'MODBUS   3XXXX' \
    $'1\t30000\t读\t0020\tCOM1\t002\t00100' \
    $'2\t30020\t读\t0002\tCOM2\t005\t00000' \
    '' \
    'MODBUS   4XXXX' \
    $'1\t40000\t读\t0008\tCOM1\t001\t00000' \
    $'2\t40008\t读\t0004\tCOM1\t002\t00000' \
    $'3\t40013\t读\t0006\tCOM2\t001\t08200' \
    $'4\t40012\t写\t0001\tCOM2\t001\t08192' \
    $'5\t40019\t写\t0002\tCOM2\t001\t08300' >"$tmp/want"
diff "$tmp/want" "$tmp/out" >"$tmp/diff" || fail "map output differs: $(cat "$tmp/diff")"

# --- export to a workbook, read back from the zip container ---
"$cli" map "$data/demo.vtc" --export "$tmp/map.xlsx" >/dev/null 2>"$tmp/err"
[ $? -eq 0 ] || fail "export exited non-zero: $(cat "$tmp/err")"
python3 "$(dirname "$0")/../core/tables/read_xlsx.py" "$tmp/map.xlsx" >"$tmp/book" 2>&1 ||
    fail "workbook unreadable: $(cat "$tmp/book")"
header=$'序号\t网关MODBUS地址\t读/写\t长度(bit)\t通道\t从站地址\t从站数据起始地址'
printf '%s\n' '#Area0' "$header" \
    $'1\t00008\t读\t0008\tCOM1\t003\t00016' $'2\t00000\t写\t0008\tCOM1\t003\t00000' \
    $'3\t00016\t写\t0001\tCOM2\t005\t00005' \
    '#Area1' "$header" $'1\t10000\t读\t0016\tCOM1\t001\t00000' \
    '#Area3' "$header" $'1\t30000\t读\t0020\tCOM1\t002\t00100' $'2\t30020\t读\t0002\tCOM2\t005\t00000' \
    '#Area4' "$header" $'1\t40000\t读\t0008\tCOM1\t001\t00000' $'2\t40008\t读\t0004\tCOM1\t002\t00000' \
    $'3\t40013\t读\t0006\tCOM2\t001\t08200' $'4\t40012\t写\t0001\tCOM2\t001\t08192' \
    $'5\t40019\t写\t0002\tCOM2\t001\t08300' >"$tmp/wantbook"
diff "$tmp/wantbook" "$tmp/book" >"$tmp/diff" || fail "workbook differs: $(cat "$tmp/diff")"

# --- any other extension: delimited text ---
"$cli" map "$data/demo.vtc" --export "$tmp/map.csv" >/dev/null 2>"$tmp/err"
[ $? -eq 0 ] || fail "csv export exited non-zero: $(cat "$tmp/err")"
grep -qx $'Area4\r' "$tmp/map.csv" || fail "csv lacks the Area4 sheet"
grep -qx $'5,40019,写,0002,COM2,001,08300\r' "$tmp/map.csv" || fail "csv lacks the last area-4 row"

# --- export into a missing folder: writer error, status 2 ---
"$cli" map "$data/demo.vtc" --export "$tmp/no/such/map.xlsx" >/dev/null 2>"$tmp/err"
[ $? -eq 2 ] || fail "export into a missing folder should exit 2"
grep -q "打开文件时产生错误" "$tmp/err" || fail "export error text: $(cat "$tmp/err")"

# --- opening checks ---
variant "$tmp/nomaster.vtc" "re.sub(r'<Master [^>]*/>', '', t)"
"$cli" map "$tmp/nomaster.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "map without a gateway should exit 1"
[ "$(cat "$tmp/err")" = "请添加一个主站!" ] || fail "no-gateway message: $(cat "$tmp/err")"
[ -s "$tmp/out" ] && fail "map without a gateway printed rows"

variant "$tmp/area.vtc" "t.replace('Explain=\"液位\" Func=\"读3区 04H\" area_num=\"3\" read_wri=\"0\" Gate_Add=\"20\"', 'Explain=\"液位\" Func=\"读3区 04H\" area_num=\"3\" read_wri=\"0\" Gate_Add=\"1999\"')"
"$cli" map "$tmp/area.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "map with an area beyond 2000 should exit 1"
[ "$(cat "$tmp/err")" = "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000" ] || fail "area message: $(cat "$tmp/err")"

# --- the CDT gateway shows its three CDT lists ---
variant "$tmp/cdt.vtc" "t.replace('masterName=\"KX-P2R0-1.0\"', 'masterName=\"TRC-H-ZRTU\"').replace('Explain=\"液位\" Func=\"读3区 04H\" area_num=\"3\" read_wri=\"0\" Gate_Add=\"20\" mod_num=\"-1\" editSend=\"0\" isCDTYx=\"0\"', 'Explain=\"液位\" Func=\"读3区 04H\" area_num=\"3\" read_wri=\"0\" Gate_Add=\"20\" mod_num=\"-1\" editSend=\"0\" isCDTYx=\"1\"')"
"$cli" map "$tmp/cdt.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 0 ] || fail "CDT map exited non-zero: $(cat "$tmp/err")"
printf '%s\n' \
    'Modbus RTU 1/3区->CDT遥信数据区' \
    $'0\t0\t001\t10000\t0016' \
    $'1\t16\t003\t00016\t0008' \
    $'2\t24\t005\t30000\t0032' \
    '' \
    'Modbus RTU 3区->CDT遥测数据区' \
    $'0\t0\t001\t40000\t0008' \
    $'1\t8\t002\t30100\t0020' \
    $'2\t28\t002\t40000\t0004' \
    $'3\t32\t001\t48200\t0006' \
    $'4\t38\t005\t30000\t0002' \
    '' \
    'MRTU从站状态->CDT遥信数据区' \
    $'0\t56\t1' $'1\t57\t1' $'2\t58\t2' $'3\t59\t3' $'4\t60\t5' >"$tmp/want"
diff "$tmp/want" "$tmp/out" >"$tmp/diff" || fail "CDT lists differ: $(cat "$tmp/diff")"

# --- usage and file errors ---
"$cli" map >/dev/null 2>&1
[ $? -eq 2 ] || fail "map without a file should exit 2"
"$cli" map "$data/demo.vtc" --export >/dev/null 2>&1
[ $? -eq 2 ] || fail "--export without a name should exit 2"
"$cli" map "$tmp/missing.vtc" >/dev/null 2>"$tmp/err"
[ $? -eq 2 ] || fail "map of a missing file should exit 2"
[ -s "$tmp/err" ] || fail "missing file: no message"

[ "$failures" -eq 0 ] || exit 1
echo "map: all checks passed"
