#!/usr/bin/env bash
# Every fault switch of the simulator ends the download with the exact text
# the system gives, without hanging or crashing.
source "$(dirname "$0")/lib.sh"

vtc_begin KX-P2R0-1.0
vtc_com COM1
for a in $(seq 1 20); do
    vtc_slave COM1 "$a"
    vtc_module "读4区 03H" 0 4 $((a * 4))
done
vtc_write "$WORK/p2.vtc"

# case NAME EXPECTED_STATUS EXPECTED_LAST_STDOUT EXPECTED_STDERR CLI_EXTRA -- SIM_SWITCHES
case_() {
    local name=$1 status=$2 last=$3 err=$4
    shift 4
    local cli=()
    while [ "$1" != "--" ]; do
        cli+=("$1")
        shift
    done
    shift
    start_sim KX-P2R0-1.0 "$WORK/dump-$name" "$@" || return
    run_cli download "$WORK/p2.vtc" --ip 127.0.0.1 --port "$SIM_PORT" --pace 0 "${cli[@]}"
    expect_eq "$name exit status" "$status" "$RC"
    expect_eq "$name result" "$last" "$(tail -n 1 <<<"$OUT")"
    expect_eq "$name message" "$err" "$ERR"
    stop_sim
}

case_ plain 0 "下 载 完 毕!" "" --
case_ wrong-code 1 "正在获取设备状态...." "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为KX-P4R0-1.0" -- --identity-code 75
case_ wrong-tail 1 "正在获取设备状态...." "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备" -- --identity-tail 345807
case_ wrong-version 1 "正在获取设备状态...." "设备版本错误" -- --version 1,2
case_ rtu-status 1 "下 载 失 败！1" "" -- --status 20=1
case_ fieldbus-status 1 "下 载 失 败！255" "" -- --status 21=255
case_ status-4-is-success 0 "下 载 完 毕!" "" -- --status 20=4 --status 21=4
case_ no-reply 1 "下 载 失 败！ 应答超时" "" --reply-timeout 800 -- --no-reply 21
case_ delay-within-timeout 0 "下 载 完 毕!" "" --reply-timeout 5000 -- --delay 100
case_ delay-beyond-timeout 1 "下 载 失 败！ 应答超时" "" --reply-timeout 300 -- --delay 1500
case_ split-state 1 "正在获取设备状态...." "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备" -- --split-reply 1 --split-hold
case_ split-ack 1 "下 载 失 败！ 应答不完整" "" -- --split-reply 21 --split-hold
case_ short-state 1 "正在获取设备状态...." "设备型号不匹配 配置设备为KX-P2R0-1.0 实际设备为未知设备" -- --short-reply 1
case_ short-ack 1 "下 载 失 败！ 应答不完整" "" -- --short-reply 20
case_ reset 1 "下 载 失 败！ 应答超时" "" --reply-timeout 800 -- --reset-at 21
# A reply to the restart is not waited for: its loss changes nothing.
case_ restart-unanswered 0 "下 载 完 毕!" "" -- --no-reply 2

# The default pause of 300 ms before acting on each reply: 3 replies here
# (device state, RTU, one fieldbus chunk).
start_sim KX-P2R0-1.0 "$WORK/dump-paced"
begin=$(date +%s%N)
run_cli download "$WORK/p2.vtc" --ip 127.0.0.1 --port "$SIM_PORT"
elapsed=$((($(date +%s%N) - begin) / 1000000))
expect_eq "paced result" "下 载 完 毕!" "$(tail -n 1 <<<"$OUT")"
[ "$elapsed" -ge 900 ] || fail "paced download took ${elapsed} ms, less than 3 x 300 ms"
stop_sim

# Nobody listening: the port of a simulator that has just stopped.
start_sim KX-P2R0-1.0 "$WORK/dump-gone"
port=$SIM_PORT
stop_sim
run_cli download "$WORK/p2.vtc" --ip 127.0.0.1 --port "$port" --pace 0
expect_eq "refused exit status" 1 "$RC"
expect_eq "refused message" "连接127.0.0.1:${port}失败,请检查设备的网络参数和网络连接" "$ERR"

# The download checks run before any connection.
vtc_begin KX-P2R0-1.0
vtc_com COM1
vtc_slave COM1 1
vtc_write "$WORK/empty.vtc"
run_cli download "$WORK/empty.vtc" --ip 127.0.0.1 --port "$port" --no
expect_eq "answered no" 1 "$RC"
expect_eq "question" "存在没有操作的从站,继续下载吗？
空站地址为: COM1:1
否" "$ERR"
expect_eq "nothing printed" "" "$OUT"

finish
