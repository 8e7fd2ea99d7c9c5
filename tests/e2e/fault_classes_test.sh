#!/usr/bin/env bash
# A representative part of the fault matrix end to end: vantor-cli against
# vantor-gatewaysim over loopback, for the fault classes the matrix checks
# without a network: an over-long reply, the gateway closing the connection
# right after a reply (during the pause that follows), silence on one
# command, a split and a short reply, a refused status. Each run ends with
# its exact text, never hangs, and never reports success after a failure.
source "$(dirname "$0")/lib.sh"

vtc_begin KX-P2R0-1.0
vtc_com COM1
for a in $(seq 1 8); do
    vtc_slave COM1 "$a"
    vtc_module "读4区 03H" 0 4 $((a * 4))
done
vtc_write "$WORK/p2.vtc"
vncfg_variant "$DATA/demo.vncfg" "$WORK/net.vncfg" 't'

# A fresh working directory with the address files VantorLoad and VantorNet read.
new_dir() {
    DIR="$WORK/dir-$1"
    mkdir -p "$DIR/IP"
    printf '127.0.0.1' >"$DIR/IP/ip.txt"
    printf '502' >"$DIR/IP/port.txt"
    cd "$DIR" || exit 1
}

# case NAME MODEL STATUS TEXT "SIM SWITCHES" CLI-ARGS...: TEXT is the last
# line of stdout on success, and on failure the whole of stderr (or the last
# line of stdout when stderr is empty, as the downloads print their result).
# "@PORT" in CLI-ARGS is the simulator's configuration port.
case_() {
    local name=$1 model=$2 status=$3 text=$4 switches=$5
    shift 5
    # shellcheck disable=SC2086
    start_sim "$model" "$WORK/dump-$name" $switches || return
    new_dir "$name"
    local args=("${@//@PORT/$SIM_PORT}")
    run_cli "${args[@]}"
    expect_eq "$name exit status" "$status" "$RC"
    local got
    got=$(tail -n 1 <<<"$OUT")
    if [ "$status" -ne 0 ] && [ -n "$ERR" ]; then
        got=$ERR
    fi
    expect_eq "$name text" "$text" "$got"
    if [ "$status" -ne 0 ]; then
        grep -q -e "下 载 完 毕" -e "下载完毕" -e "下载完成" <<<"$OUT" && fail "$name: success printed after a failure"
    fi
    stop_sim
}

DL=(download "$WORK/p2.vtc" --ip 127.0.0.1 --port @PORT)
NET=(net-download "$WORK/net.vncfg" --ip 127.0.0.1 --port @PORT --tick 20 --reply-timeout 1500)
LOAD=(load rtu --type NXE-485-ZRTU2 --port @PORT)
IPSET=(net-ipset --ip 127.0.0.1 --port @PORT --set-ip 10.1.2.3 --mask 255.255.0.0 --gw 10.1.0.1 --mport 502)
INFO=(info --model KX-P2R0-1.0 --ip 127.0.0.1 --port @PORT)

# Over-long replies: the acknowledgement is read at its offsets, the rest
# is ignored.
case_ dl-long KX-P2R0-1.0 0 "下 载 完 毕!" "--long-reply 21" "${DL[@]}" --pace 0
case_ net-long NXE-485-ZRTU2 0 "下载完毕！" "--long-reply 21" "${NET[@]}" --pace 0
case_ load-long NXE-485-ZRTU2 0 "下载完成" "--long-reply 1" "${LOAD[@]}"
case_ ipset-long KX-P1-1.0 0 "下载完毕！" "--long-reply 10" "${IPSET[@]}"
case_ info-long KX-P2R0-1.0 0 "serial 2026120700015AA513579BDF" "--layout 52 --long-reply 1" "${INFO[@]}"

# The gateway closes the connection right after a reply, while the
# exchange pauses before acting on it: the loss ends at once, as the reply
# timeout would (VantorLoad names the lost connection).
case_ dl-close KX-P2R0-1.0 1 "下 载 失 败！ 应答超时" "--close-after 20" "${DL[@]}" --reply-timeout 800
case_ net-close NXE-485-ZRTU2 1 "下 载 失 败！ 应答超时" "--close-after 20" "${NET[@]}"
case_ load-close NXE-485-ZRTU2 1 "下载失败，与网关的连接已断开" "--close-after 20" "${LOAD[@]}"

# Silence on one command, an acknowledgement in two segments (joined), a
# short acknowledgement, a refused status.
case_ info-silent KX-P2R0-1.0 1 "主站没有响应" "--layout 52 --no-reply 4" "${INFO[@]}"
case_ net-split NXE-485-ZRTU2 0 "下载完毕！" "--split-reply 21 --split-gap 50" "${NET[@]}" --pace 0
case_ load-short NXE-485-ZRTU2 1 "下载失败" "--short-reply 21" "${LOAD[@]}"
case_ net-status NXE-485-ZRTU2 1 "下 载 失 败！128" "--status 21=128" "${NET[@]}" --pace 0

finish
