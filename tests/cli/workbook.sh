#!/usr/bin/env bash
# vantor-cli export and import, net-export and net-import: the shipped demo
# projects out and back in byte for byte; a workbook written by another program (Debian's openpyxl)
# imports; refused rows are one line each on stderr (exit 1, nothing
# written) or a JSON list; a file that is no workbook exits 2.
source "$(dirname "$0")/common.bash"
py=/usr/bin/python3
writer="$(cd "$(dirname "$0")" && pwd)/write_workbook.py"
"$py" -c 'import openpyxl' 2>/dev/null || { echo "FAIL: python3-openpyxl is missing (scripts/setup.sh)" >&2; exit 1; }

cd "$data" || exit 1
"$cli" export demo.vtc -o "$tmp/demo.xlsx" || fail "export of demo.vtc failed"
"$cli" import "$tmp/demo.xlsx" -o "$tmp/demo.vtc" || fail "import of the demo workbook failed"
cmp -s demo.vtc "$tmp/demo.vtc" || fail "export and import of demo.vtc are not byte-identical"

# Another program's workbook: sheets and columns in any order, extra columns
# and empty rows, 3.0 for 3, blank cells taking what the dialogs propose.
"$py" "$writer" good "$tmp/other.xlsx"
"$cli" import "$tmp/other.xlsx" -o "$tmp/other.vtc" 2>"$tmp/err" || fail "other program's workbook refused: $(cat "$tmp/err")"
"$cli" show "$tmp/other.vtc" --json >"$tmp/show.json" || fail "show of the imported project failed"
"$py" - "$tmp/show.json" <<'PY' || fail "imported project differs from the workbook"
import json, sys
d = json.load(open(sys.argv[1]))
assert d["model"] == "KX-P2R0-1.0", d["model"]
com1, com2 = d["lines"]
assert (com1["name"], com1["baud"], com1["parity"], com1["slaveGapMs"]) == ("COM1", "19200", "无校验", 50), com1
assert (com2["baud"], com2["parity"]) == ("9600", "偶校验"), com2
s1, s2 = com1["slaves"]
assert (s1["address"], s1["name"], s1["replyTimeoutMs"]) == (1, "温度表", 700), s1
assert (s2["address"], s2["name"], s2["replyTimeoutMs"]) == (2, "SLAVE", 500), s2
c = s1["commands"][0]
assert (c["function"], c["length"], c["gatewayAddress"]) == ("读4区 03H", 10, "40000"), c
w = s2["commands"][0]
assert (w["length"], w["gatewayAddress"], w["sendOnChange"]) == (1, "40100", True), w
assert com2["slaves"][0]["commands"][0]["comment"] == "中文注释 <&>"
PY

# Refused rows: one line each, in sheet order, nothing written; the commands
# of a refused slave are not refused again.
"$py" "$writer" bad "$tmp/bad.xlsx"
"$cli" import "$tmp/bad.xlsx" -o "$tmp/bad.vtc" 2>"$tmp/err"
[ $? -eq 1 ] || fail "a refused import must exit 1"
cat >"$tmp/want" <<'TXT'
从站 第5行 应答超时时间: 单元格为日期，请填写数值或文字
从站 第6行 从站地址: 地址请添入一个1和247之间的整数
命令 第2行 长度: 单元格为公式，请填写数值或文字
TXT
diff "$tmp/want" "$tmp/err" >/dev/null || fail "refusals differ: $(cat "$tmp/err")"
[ -e "$tmp/bad.vtc" ] && fail "a refused import wrote the project"
"$cli" import "$tmp/bad.xlsx" -o "$tmp/bad.vtc" --json >"$tmp/bad.json"
[ $? -eq 1 ] || fail "a refused import with --json must exit 1"
"$py" -c 'import json,sys; r=json.load(open(sys.argv[1]))["refused"]; assert [(x["sheet"],x["row"],x["column"]) for x in r]==[("从站",5,"应答超时时间"),("从站",6,"从站地址"),("命令",2,"长度")], r' \
    "$tmp/bad.json" || fail "JSON refusals differ: $(cat "$tmp/bad.json")"

# No workbook at all.
echo "not a workbook" >"$tmp/text.xlsx"
"$cli" import "$tmp/text.xlsx" -o "$tmp/x.vtc" 2>"$tmp/err"
[ $? -eq 2 ] || fail "a file that is no workbook must exit 2"
[ "$(cat "$tmp/err")" = "工作簿已损坏或不是.xlsx文件" ] || fail "unreadable workbook: $(cat "$tmp/err")"
"$cli" import "$tmp/missing.xlsx" -o "$tmp/x.vtc" 2>"$tmp/err"
[ $? -eq 2 ] || fail "a missing workbook must exit 2"
"$cli" export demo.vtc 2>/dev/null
[ $? -eq 2 ] || fail "export without -o must exit 2"

# --- VantorNet: net-export and net-import ---
"$cli" net-export demo.vncfg -o "$tmp/net.xlsx" || fail "net-export of demo.vncfg failed"
"$cli" net-import "$tmp/net.xlsx" -o "$tmp/net.vncfg" || fail "net-import of the demo workbook failed"
# The import leaves nothing selected; everything else comes back byte for byte.
project_variant demo.vncfg "$tmp/demo-unselected.vncfg" 're.sub(r"currentSelect=\"\d+\"", "currentSelect=\"0\"", t)'
cmp -s "$tmp/demo-unselected.vncfg" "$tmp/net.vncfg" || fail "net-export and net-import of demo.vncfg are not byte-identical"

"$py" "$writer" net-good "$tmp/net-other.xlsx"
"$cli" net-import "$tmp/net-other.xlsx" -o "$tmp/net-other.vncfg" 2>"$tmp/err" ||
    fail "other program's VantorNet workbook refused: $(cat "$tmp/err")"
"$cli" net-show "$tmp/net-other.vncfg" --json >"$tmp/net-show.json" || fail "net-show of the imported project failed"
"$py" - "$tmp/net-show.json" <<'PY' || fail "imported VantorNet project differs from the workbook"
import json, sys
d = json.load(open(sys.argv[1]))
assert (d["model"], d["workMode"]) == ("LNK-P1-1.0", "tcp-master+rtu-master"), d
assert (d["com1"]["baud"], d["com1"]["address"]) == ("115.2k", 20), d["com1"]
s1, s2 = d["slaves"]
assert (s1["ip"], s1["name"], s1["port"]) == ("192.168.000.021", "泵站", 502), s1
assert (s2["name"], s2["port"], s2["nodes"][0]["address"]) == ("SLAVE", 502, 1), s2
c = s1["nodes"][0]["commands"][0]
assert (c["gatewayAddress"], c["comment"]) == ("40000", "中文注释 <&>"), c
w = s2["nodes"][0]["commands"][0]
assert (w["modbusAddress"], w["gatewayAddress"], w["sendOnChange"]) == (4, "40010", True), w
PY

"$py" "$writer" net-bad "$tmp/net-bad.xlsx"
"$cli" net-import "$tmp/net-bad.xlsx" -o "$tmp/net-bad.vncfg" 2>"$tmp/err"
[ $? -eq 1 ] || fail "a refused net-import must exit 1"
cat >"$tmp/want" <<'TXT'
从站 第4行 端口号: 端口号添入一个0和65535之间的整数
命令 第5行 起始地址: 单元格为日期，请填写数值或文字
命令 第7行 IP地址: 工程中没有此从站
TXT
diff "$tmp/want" "$tmp/err" >/dev/null || fail "net refusals differ: $(cat "$tmp/err")"
[ -e "$tmp/net-bad.vncfg" ] && fail "a refused net-import wrote the project"
"$cli" net-import "$tmp/text.xlsx" -o "$tmp/x.vncfg" 2>/dev/null
[ $? -eq 2 ] || fail "net-import of a file that is no workbook must exit 2"

[ "$failures" -eq 0 ] || exit 1
echo "workbook: all checks passed"
