#!/usr/bin/env bash
# vantor-cli show: the readable summary of the demo project, and file errors.
source "$(dirname "$0")/common.bash"

(cd "$data" && "$cli" show demo.vtc) >"$tmp/out" 2>"$tmp/err"
status=$?
[ "$status" -eq 0 ] || fail "show demo.vtc exited $status: $(cat "$tmp/err")"
[ -s "$tmp/err" ] && fail "show wrote to stderr: $(cat "$tmp/err")"

# Every line below must appear exactly as written.
while IFS= read -r line; do
    grep -qxF -- "$line" "$tmp/out" || fail "missing line: $line"
done <<'LINES'
网关型号: KX-P2R0-1.0
访问IP: 127.0.0.1
寻址方式: MODBUS数据区寻址
串口数: 2, 从站数: 5, 命令数: 11
COM1: 波特率 9600, 偶校验, 数据位 8, 停止位 1位, 从站时间间隔 300 ms, 从站 3 个
COM2: 波特率 9600, 偶校验, 数据位 8, 停止位 1位, 从站时间间隔 300 ms, 从站 2 个
  从站 1 "温度采集器": 报文发送延时 0 ms, 应答超时时间 500 ms, 配置字 0x81
  从站 3 "阀门控制器": 报文发送延时 0 ms, 应答超时时间 500 ms, 配置字 0x80
  从站 1 "变频器": 报文发送延时 20 ms, 应答超时时间 300 ms, 配置字 0x81
    1. 读4区 03H, 起始地址 0, 长度 8, 网关地址 40000, 注释 "温度值"
    2. 读1区 02H, 起始地址 0, 长度 16, 网关地址 10000, 注释 "报警输入"
    1. 读3区 04H, 起始地址 100, 长度 20, 网关地址 30000, 注释 "电量累计"
    1. 写0区 0FH 写多线圈, 起始地址 0, 长度 8, 网关地址 00000, 数变即发, 注释 "阀门开关"
    2. 写0区 05H 写单线圈, 起始地址 5, 长度 1, 网关地址 00016, 注释 "报警复位"
LINES

# Slaves are listed under their own line: the frequency converter after COM2.
com2=$(grep -n '^COM2:' "$tmp/out" | cut -d: -f1)
conv=$(grep -n '变频器' "$tmp/out" | cut -d: -f1)
meter=$(grep -n '电能表' "$tmp/out" | cut -d: -f1)
[ -n "$com2" ] && [ -n "$conv" ] && [ "$conv" -gt "$com2" ] || fail "变频器 not under COM2"
[ -n "$meter" ] && [ "$meter" -lt "$com2" ] || fail "电能表 not under COM1"

# Usage and file errors: status 2, one line on stderr, nothing on stdout.
"$cli" show >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "show without a file should exit 2"
"$cli" show "$tmp/missing.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "show of a missing file should exit 2"
grep -q "无法打开文件 $tmp/missing.vtc" "$tmp/err" || fail "missing file message: $(cat "$tmp/err")"
head -c 500 "$data/demo.vtc" >"$tmp/cut.vtc"
"$cli" show "$tmp/cut.vtc" >"$tmp/out" 2>"$tmp/err"
[ $? -eq 2 ] || fail "show of a truncated file should exit 2"
grep -q "文件已损坏或格式不正确" "$tmp/err" || fail "truncated file message: $(cat "$tmp/err")"
[ "$(wc -l <"$tmp/err")" -eq 1 ] || fail "message is not one line"
[ -s "$tmp/out" ] && fail "show of a damaged file printed a summary"

[ "$failures" -eq 0 ] || exit 1
echo "show: all checks passed"
