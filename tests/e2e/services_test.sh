#!/usr/bin/env bash
# Device services end to end: vantor-cli info, state, control and firmware
# against vantor-gatewaysim on loopback (free ports), after downloading the
# demonstration project (KX-P2R0-1.0: COM1 slaves 1, 2, 3; COM2 slaves 1, 5).
# Arguments: the vantor-cli binary, the simulator binary and the data folder.
source "$(dirname "$0")/lib.sh"

# start NAME SWITCHES...: a simulator of the demo's model; sets PORT and MPORT.
start() {
    local name=$1
    shift
    start_sim KX-P2R0-1.0 "$WORK/$name" --layout 52 "$@" || return 1
    PORT=$SIM_PORT
    MPORT=$SIM_MPORT
}
expect_line() { grep -qxF -- "$2" <<<"$1" || fail "missing line '$2' in:"$'\n'"$1"; }

cd "$WORK" || exit 1
start main || finish

# Identity and state of the current layout.
out=$("$CLI" info --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT") || fail "info: exit $?"
expect_line "$out" "id 06583474"
expect_line "$out" "version 01-01-0203"
expect_line "$out" "mac1 00-1C-56-10-20-31"
expect_line "$out" "mac2 00-1C-56-10-20-32"
expect_line "$out" "state 存储转发模式 0,176,80"
expect_line "$out" "serial 2026120700015AA513579BDF"

# The wrong model is named.
err=$("$CLI" info --model KX-P4R0-1.0 --ip 127.0.0.1 --port "$PORT" 2>&1 >/dev/null)
[ $? -eq 1 ] || fail "info with the wrong model should exit 1"
[ "$err" = "设备型号不匹配 配置设备为KX-P4R0-1.0 实际设备为KX-P2R0-1.0" ] || fail "mismatch text: $err"

# The same in JSON: one document with the text form's fields; the refusal
# as {"error"} with the same status and text.
json=$("$CLI" info --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT" --json) || fail "info --json: exit $?"
text=$("$CLI" info --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT")
python3 - "$json" "$text" <<'PY' || fail "info --json disagrees with the text form: $json"
import json, sys
d = json.loads(sys.argv[1])
s = d['state']
rebuilt = [f"{k} {d[k]}" for k in ('id', 'version', 'build', 'mac1', 'mac2')]
rebuilt.append(f"state {s['text']} {','.join(map(str, s['colour']))}" if s else 'state')
rebuilt.append(f"serial {d['serial']}")
sys.exit(rebuilt != sys.argv[2].splitlines())
PY
json=$("$CLI" info --model KX-P4R0-1.0 --ip 127.0.0.1 --port "$PORT" --json 2>/dev/null)
[ $? -eq 1 ] || fail "info --json with the wrong model should exit 1"
[ "$json" = '{"error":"设备型号不匹配 配置设备为KX-P4R0-1.0 实际设备为KX-P2R0-1.0"}' ] || fail "info --json refusal: $json"

# Nothing downloaded yet: a cycle without rows.
out=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT") || fail "state (empty): exit $?"
[ "$out" = "cycle 1" ] || fail "rows before any download: $out"

"$CLI" download "$DATA/demo.vtc" --ip 127.0.0.1 --port "$PORT" --pace 0 >/dev/null || fail "download"

out=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT" --cycles 2) || fail "state: exit $?"
[ "$(grep -c '^cycle' <<<"$out")" = 2 ] || fail "two cycles expected: $out"
rows=$(sed -n '/^cycle 2$/,$p' <<<"$out" | tail -n +2)
[ "$(cut -f1,2,3,5 <<<"$rows")" = $'COM1\t1\t42001\t32001\nCOM1\t2\t42002\t32002\nCOM1\t3\t42003\t32003\nCOM2\t1\t42257\t32257\nCOM2\t5\t42261\t32261' ] ||
    fail "rows: $rows"
while IFS=$'\t' read -r com addr caddr control saddr state; do
    [ "$control" = 0x0001 ] || fail "initial control word of $com/$addr: $control"
    [[ $state =~ ^0x[89ABCDEF][0-9A-F]{3}$ ]] || fail "state word of $com/$addr without bit 15: $state"
done <<<"$rows"

json=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT" --cycles 2 --json) || fail "state --json: exit $?"
python3 - "$json" "$rows" <<'PY' || fail "state --json disagrees with the text form: $json"
import json, sys
d = json.loads(sys.argv[1])
assert [c['cycle'] for c in d['cycles']] == [1, 2], d
keys = ('com', 'slave', 'controlAddress', 'control', 'stateAddress')
text = [line.split('\t')[:5] for line in sys.argv[2].splitlines()]
# The state words change from cycle to cycle; the rest stays.
assert [[r[k] for k in keys] for r in d['cycles'][1]['rows']] == text, (d, text)
PY

# Control word: COM2 slave 5, then the list shows it.
out=$("$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42261 --value 00fD) || fail "control: exit $?"
[ "$out" = "设置成功" ] || fail "control: $out"
out=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT") || fail "state after control"
expect_line "$(cut -f1,2,4 <<<"$out")" $'COM2\t5\t0x00FD'
# Bit 1 clears the failure counter once and does not stay set.
"$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42001 --value 0003 >/dev/null || fail "control 0003"
out=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT") || fail "state after clearing"
expect_line "$(cut -f1,2,4 <<<"$out")" $'COM1\t1\t0x0001'
err=$("$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42261 --value 0x12 2>&1)
[ $? -eq 1 ] && [ "$err" = "控制字输入错误,应为4个16进制数" ] || fail "bad control text: $err"

# Firmware: 512-byte file -> 240 + 240 + closing frame; the simulator keeps it.
head -c 512 /dev/urandom >"$WORK/KX-P2R0-1.0_test.bin"
out=$("$CLI" firmware "$WORK/KX-P2R0-1.0_test.bin" --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT") ||
    fail "firmware: exit $?"
expect_line "$out" "progress 2/2"
expect_line "$out" "固件升级完成"
cmp -s "$WORK/KX-P2R0-1.0_test.bin" "$WORK/main/firmware.bin" || fail "the simulator did not keep the firmware"

head -c 31 /dev/urandom >"$WORK/KX-P2R0-1.0_short.bin"
err=$("$CLI" firmware "$WORK/KX-P2R0-1.0_short.bin" --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT" 2>&1 >/dev/null)
[ $? -eq 1 ] && [ "$err" = "固件文件不完整,长度不足32字节的文件头" ] || fail "short firmware: $err"

# Fault switches: refused writes, refused firmware blocks, the old layout.
start faults --modbus-fault --firmware-result 7 --layout 44 --run-state 3
err=$("$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42001 --value 0000 2>&1 >/dev/null)
[ $? -eq 1 ] && [ "$err" = "设置失败" ] || fail "write fault: $err"
err=$("$CLI" firmware "$WORK/KX-P2R0-1.0_test.bin" --model KX-P2R0-1.0 --ip 127.0.0.1 --port "$PORT" 2>&1 >/dev/null)
[ $? -eq 1 ] && [ "$err" = $'固件升级失败,错误码7\n请确认拨码开关BIT4为ON' ] || fail "firmware result: $err"
out=$("$CLI" info --model KX-P4R0-1.0 --ip 127.0.0.1 --port "$PORT") || fail "old layout is not model-checked"
expect_line "$out" "mac2 "
expect_line "$out" "state 参数配置模式 0,0,255"
finish
