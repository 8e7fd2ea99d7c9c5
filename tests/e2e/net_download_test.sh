#!/usr/bin/env bash
# vantor-cli net-download and net-ipset (VantorNet's download and network
# settings) against the simulator: the images the gateway keeps equal
# net-blocks for a two-port, a single-port, the PROFIBUS and the LNK-P1-1.0
# work-mode-1 project; the network settings and the address files; every
# failure ends in its message, with no hang.
source "$(dirname "$0")/lib.sh"

DEMO="$DATA/demo.vncfg"
FAST=(--pace 5 --tick 20 --reply-timeout 1500)

# model MODEL [WORKMODE]: the demo project on another gateway model.
model() {
    printf 'open(src,"rb") and t.replace("NXE-485-ZRTU2", "%s").replace(%s)' "$1" \
        "'GW_work_mode=\"0\"', 'GW_work_mode=\"${2:-0}\"'"
}

# download_ok NAME FILE MODEL WORKMODE [CLI-OPTIONS...]: downloads FILE to a
# fresh simulator of MODEL (with the switches in SIMOPTS) and compares what
# it kept with net-blocks.
SIMOPTS=()
download_ok() {
    local name=$1 file=$2 sim_model=$3 mode=$4
    shift 4
    start_sim "$sim_model" "$WORK/dump-$name" "${SIMOPTS[@]}" || return
    run_cli net-blocks "$file"
    local a b
    a=$(sed -n 's/^A //p' <<<"$OUT")
    b=$(sed -n 's/^B //p' <<<"$OUT")
    run_cli net-download "$file" --ip 127.0.0.1 --port "$SIM_PORT" "$@"
    expect_eq "$name exit status" 0 "$RC"
    expect_eq "$name result" "下载完毕！" "$(tail -n 1 <<<"$OUT")"
    expect_eq "$name stderr" "" "$ERR"
    expect_eq "$name image B" "$b" "$(cat "$WORK/dump-$name/block21.hex" 2>/dev/null)"
    if [ "$sim_model" == "LNK-P1-1.0" ] && [ "$mode" == 1 ]; then
        [ ! -e "$WORK/dump-$name/block20.hex" ] || fail "$name: RTU configuration sent in work mode 1"
        grep -q "RTU接口" <<<"$OUT" && fail "$name: RTU status shown"
    else
        expect_eq "$name image A" "$a" "$(cat "$WORK/dump-$name/block20.hex" 2>/dev/null)"
    fi
    # The restart goes out as the connection closes; the simulator handles
    # what it received before it stops.
    stop_sim
    expect_eq "$name restart" 1 "$(cat "$WORK/dump-$name/restarts" 2>/dev/null)"
}

# --- the four kinds of project ---------------------------------------------
# Two-port with 46 commands: image B in four parts; the dialog's own pacing.
vncfg_variant "$DEMO" "$WORK/two.vncfg" \
    't.replace(t.splitlines(True)[12], t.splitlines(True)[12] * 40)'
download_ok two "$WORK/two.vncfg" NXE-485-ZRTU2 0
grep -qx "正在获取设备状态...." <<<"$OUT" || fail "two: identification status"
grep -qx "正在下载FIELDBUS操作配置...." <<<"$OUT" || fail "two: fieldbus status"
expect_eq "two: image B in four parts" 844 $(($(wc -c <"$WORK/dump-two/block21.hex") / 2))
vncfg_variant "$DEMO" "$WORK/one.vncfg" "$(model KX-P1-1.0)"
download_ok one "$WORK/one.vncfg" KX-P1-1.0 0 "${FAST[@]}"
vncfg_variant "$DEMO" "$WORK/qb.vncfg" "$(model QB-H-NET2.0)"
download_ok qb "$WORK/qb.vncfg" QB-H-NET2.0 0 "${FAST[@]}"
vncfg_variant "$DEMO" "$WORK/lnk.vncfg" "$(model LNK-P1-1.0 1)"
download_ok lnk "$WORK/lnk.vncfg" LNK-P1-1.0 1 "${FAST[@]}"
# A split acknowledgement and status 4 are success.
# VantorNet does not check the gateway's identity or version.
SIMOPTS=(--split-reply 21 --split-gap 50 --status 20=4 --identity-code 99 --version 2,0)
download_ok split "$WORK/one.vncfg" KX-P1-1.0 0 "${FAST[@]}"
SIMOPTS=()

# --- failures ------------------------------------------------------------------
start_sim KX-P1-1.0 "$WORK/dump-fail" --status 21=3
run_cli net-download "$WORK/one.vncfg" --ip 127.0.0.1 --port "$SIM_PORT" "${FAST[@]}"
expect_eq "refused part status" 1 "$RC"
expect_eq "refused part result" "下 载 失 败！3" "$ERR"
stop_sim

# A reply later than the reply timeout, or an acknowledgement whose second
# half never comes, are no reply either.
for fault in "--no-reply 1" "--no-reply 20" "--short-reply 21" "--reset-at 21" "--delay 2000" \
    "--split-reply 21 --split-hold"; do
    # shellcheck disable=SC2086
    start_sim KX-P1-1.0 "$WORK/dump-f" $fault
    run_cli net-download "$WORK/one.vncfg" --ip 127.0.0.1 --port "$SIM_PORT" "${FAST[@]}"
    expect_eq "$fault status" 1 "$RC"
    expect_eq "$fault result" "下 载 失 败！ 应答超时" "$ERR"
    stop_sim
    [ -e "$WORK/dump-f/restarts" ] && fail "$fault: restarted"
done

# Nothing listening any more on the last simulator's port.
run_cli net-download "$WORK/one.vncfg" --ip 127.0.0.1 --port "$SIM_PORT" "${FAST[@]}"
expect_eq "connect failure status" 1 "$RC"
expect_eq "connect failure message" "连接失败，请查看IP设置或硬件灯显示" "$ERR"

# Refused before connecting: a compile check, and No to the empty-server question.
vncfg_variant "$DEMO" "$WORK/over.vncfg" 't.replace("Start_Add=\"16\" Length=\"8\"", "Start_Add=\"16\" Length=\"200\"").replace("Gate_Add=\"8\"", "Gate_Add=\"8000\"")'
run_cli net-download "$WORK/over.vncfg" --ip 127.0.0.1 --port 1
expect_eq "compile refused status" 1 "$RC"
expect_eq "compile refused message" "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000" "$ERR"
vncfg_variant "$DEMO" "$WORK/empty.vncfg" 't.replace(t.splitlines(True)[18] + t.splitlines(True)[19], "")'
run_cli net-download "$WORK/empty.vncfg" --ip 127.0.0.1 --port 1 --no
expect_eq "empty server refused status" 1 "$RC"
grep -q "空站地址为: 192.168.0.12" <<<"$ERR" || fail "empty server question: $ERR"

# --- network settings ------------------------------------------------------------
new_dir() { # NAME: a working directory with the address files
    mkdir -p "$WORK/$1/IP"
    printf '127.0.0.1' >"$WORK/$1/IP/ip.txt"
    printf '502' >"$WORK/$1/IP/port.txt"
    cd "$WORK/$1" || exit 1
}
SET=(--set-ip 10.1.2.3 --mask 255.255.0.0 --gw 10.1.0.1 --mport 5032)

start_sim QB-H-NET2.0 "$WORK/dump-ip"
new_dir ip
run_cli net-ipset --ip 127.0.0.1 --port "$SIM_PORT" "${SET[@]}"
expect_eq "ipset status" 0 "$RC"
expect_eq "ipset output" "IP: 127.0.0.1         端口: 502"$'\n'"下载完毕！" "$OUT"
expect_eq "ipset kept" "0a010203ffff00000a010001a81300000000000000000000" "$(cat "$WORK/dump-ip/netparams.hex")"
expect_eq "ipset restart" 1 "$(cat "$WORK/dump-ip/restarts" 2>/dev/null)"
expect_eq "ipset ip file" "10.1.2.3" "$(cat IP/ip.txt)"
expect_eq "ipset port file" "5032" "$(cat IP/port.txt)"

# Not acknowledged: the files stay; settings that lock the gateway out and
# a missing address file are refused before anything is sent.
stop_sim
start_sim QB-H-NET2.0 "$WORK/dump-ip2" --status 10=1
new_dir ip-refused
run_cli net-ipset --ip 127.0.0.1 --port "$SIM_PORT" "${SET[@]}"
expect_eq "ipset refused status" 1 "$RC"
expect_eq "ipset refused result" "下 载 失 败！" "$ERR"
expect_eq "ipset refused ip file" "127.0.0.1" "$(cat IP/ip.txt)"
run_cli net-ipset --ip 127.0.0.1 --port "$SIM_PORT" --set-ip 192.168.1.255 --mask 255.255.255.0 --gw 192.168.1.1 --mport 502
expect_eq "lock-out status" 1 "$RC"
expect_eq "lock-out message" "网口1IP不能为子网的广播地址" "$ERR"
rm IP/ip.txt
run_cli net-ipset --ip 127.0.0.1 --port "$SIM_PORT" "${SET[@]}"
expect_eq "missing file status" 1 "$RC"
expect_eq "missing file message" "你选择了下载空文件！" "$ERR"
[ -e "$WORK/dump-ip2/netparams.hex" ] && [ "$(grep -c . "$WORK/dump-ip2/netparams.hex")" -ne 1 ] && fail "refused settings sent"
stop_sim

finish
