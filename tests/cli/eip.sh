#!/usr/bin/env bash
# vantor-cli eip: the EtherNet/IP address table of the demo project turned
# into an EtherNet/IP gateway project (addresses packed first), its
# three-sheet export, the overflow refusal and the model check.
source "$(dirname "$0")/common.bash"

# variant OUT PYTHON-EXPR: the demo project with its markup text `t` rewritten.
variant() { project_variant "$data/demo.vtc" "$@"; }

eip="t.replace('masterName=\"KX-P2R0-1.0\"', 'masterName=\"TRX-H-QMB6\"').replace('EIP_COM2_state_enable=\"0\"', 'EIP_COM2_state_enable=\"1\"').replace('EIP_COM2_state_start_addr=\"0\"', 'EIP_COM2_state_start_addr=\"2257\"').replace('EIP_COM2_state_start_len=\"0\"', 'EIP_COM2_state_start_len=\"4\"')"
variant "$tmp/eip.vtc" "$eip"

"$cli" eip "$tmp/eip.vtc" --export "$tmp/eip.xlsx" >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "eip exited $status: $(cat "$tmp/err")"
[ -s "$tmp/err" ] && fail "eip wrote to stderr: $(cat "$tmp/err")"
printf '%s\n' \
    $'EIP输入总长度\t91' $'EIP输出总长度\t8' $'EIP连接个数\t1' '' \
    $'EIP连接\t输入长度\t输出长度' $'1\t91\t8' '' \
    'INPUT' $'连接\tEIP地址\t网关地址\t长度' \
    $'1\t0\t0x01000000\t8' \
    $'\t1\t0x01010000\t16' \
    $'\t3\t0x01030000\t20' \
    $'\t43\t0x02030014\t2' \
    $'\t47\t0x01040000\t12' \
    $'\t71\t0x0204000c\t6' \
    $'\t83\t0x000308d1\t4' \
    '' 'OUTPUT' $'连接\tEIP地址\t网关地址\t长度' \
    $'1\t0\t0x01000008\t8' \
    $'\t1\t0x02000010\t1' \
    $'\t2\t0x02040012\t3' >"$tmp/want"
diff "$tmp/want" "$tmp/out" >"$tmp/diff" || fail "eip output differs: $(cat "$tmp/diff")"

python3 "$(dirname "$0")/../core/tables/read_xlsx.py" "$tmp/eip.xlsx" >"$tmp/book" 2>&1 ||
    fail "workbook unreadable: $(cat "$tmp/book")"
printf '%s\n' '#EIPConn' $'连接\t输入长度\t输出长度' $'1\t91\t8' $'1\t91\t8' \
    '#EIPInput' $'连接\tEIP地址\t网关地址\t长度' $'1\t0\t0x01000000\t8' $'\t1\t0x01010000\t16' \
    $'\t3\t0x01030000\t20' $'\t43\t0x02030014\t2' $'\t47\t0x01040000\t12' $'\t71\t0x0204000c\t6' \
    $'\t83\t0x000308d1\t4' \
    '#EIPOutput' $'连接\tEIP地址\t网关地址\t长度' $'1\t0\t0x01000008\t8' $'\t1\t0x02000010\t1' \
    $'\t2\t0x02040012\t3' >"$tmp/wantbook"
diff "$tmp/wantbook" "$tmp/book" >"$tmp/diff" || fail "workbook differs: $(cat "$tmp/diff")"

# --- overflow: 255 state words on each of COM1, COM3, COM4, COM5 do not fit ---
full="re.sub(r'EIP_COM([1345])_state_(enable|start_addr|start_len)=\"0\"', lambda m: 'EIP_COM%s_state_%s=\"%d\"' % (m.group(1), m.group(2), {'enable': 1, 'start_addr': 2001 + 256 * (int(m.group(1)) - 1), 'start_len': 255}[m.group(2)]), $eip)"
variant "$tmp/full.vtc" "$full"
"$cli" eip "$tmp/full.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "overflowing project should exit 1"
[ "$(cat "$tmp/err")" = "输入超限" ] || fail "overflow message: $(cat "$tmp/err")"
grep -qx $'EIP连接个数\t4' "$tmp/out" || fail "overflow: allocation before it not shown"
json=$("$cli" eip "$tmp/full.vtc" --json 2>/dev/null)
[ $? -eq 1 ] || fail "overflowing project should exit 1 with --json too"
python3 -c 'import json, sys; d = json.loads(sys.argv[1]); sys.exit(not (d["overflow"] and d["error"] == "输入超限" and d["connectionCount"] == 4))' \
    "$json" || fail "overflow in JSON: $json"

# --- other models have no EtherNet/IP table ---
"$cli" eip "$data/demo.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 1 ] || fail "eip on a non-EtherNet/IP project should exit 1"
[ -s "$tmp/out" ] && fail "eip on a non-EtherNet/IP project printed a table"

"$cli" eip >/dev/null 2>&1
[ $? -eq 2 ] || fail "eip without a file should exit 2"
"$cli" eip "$tmp/missing.vtc" >/dev/null 2>&1
[ $? -eq 2 ] || fail "eip of a missing file should exit 2"

[ "$failures" -eq 0 ] || exit 1
echo "eip: all checks passed"
