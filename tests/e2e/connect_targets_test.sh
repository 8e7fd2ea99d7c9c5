#!/usr/bin/env bash
# Every vantor-cli command that connects refuses, before connecting, an
# address no gateway can have: empty, 0.0.0.0 (which reaches this machine,
# here the simulator), the broadcast and a multicast address, and a partial
# address that the resolver would read as another one (1.2.3 as 1.2.0.3).
# Each refusal carries the text of the window the command stands for, exits
# 1, and leaves the simulator untouched.
source "$(dirname "$0")/lib.sh"

MODEL=KX-P2R0-1.0
vtc_begin "$MODEL"
vtc_com COM1
vtc_slave COM1 1
vtc_module "读4区 03H" 0 1 0
vtc_write "$WORK/project.vtc"
head -c 512 /dev/zero >"$WORK/${MODEL}_test.bin"
mkdir -p "$WORK/run/IP"
printf '127.0.0.1' >"$WORK/run/IP/ip.txt"
printf '502' >"$WORK/run/IP/port.txt"
cd "$WORK/run" || exit 1

start_sim "$MODEL" "$WORK/dump"
NEW=(--set-ip 192.168.1.10 --mask 255.255.255.0 --gw 192.168.1.1 --mport 502)
VANTOR="访问IP地址设置错误"
NET="IP地址格式错误"
LOAD="请输入完整的IP地址"

# MESSAGE COMMAND ARGS... (the address comes after --ip)
commands=(
    "$VANTOR|download $WORK/project.vtc --port $SIM_PORT --ip"
    "$VANTOR|netparams --model $MODEL --port $SIM_PORT ${NEW[*]} --ip"
    "$VANTOR|info --model $MODEL --port $SIM_PORT --ip"
    "$VANTOR|firmware $WORK/${MODEL}_test.bin --model $MODEL --port $SIM_PORT --ip"
    "$VANTOR|state --model $MODEL --mport $SIM_MPORT --ip"
    "$VANTOR|control --address 42001 --value 0001 --mport $SIM_MPORT --ip"
    "$NET|net-download $DATA/demo.vncfg --port $SIM_PORT --ip"
    "$NET|net-ipset --port $SIM_PORT ${NEW[*]} --ip"
    "$LOAD|load rtu --type NXE-485-ZRTU2 --port $SIM_PORT --ip"
    "$LOAD|load ip --port $SIM_PORT ${NEW[*]} --ip"
)
for entry in "${commands[@]}"; do
    message=${entry%%|*}
    read -r -a args <<<"${entry#*|}"
    for address in "" 0.0.0.0 255.255.255.255 224.0.0.1 1.2.3; do
        run_cli "${args[@]}" "$address"
        expect_eq "${args[0]} ${args[1]} [$address] status" 1 "$RC"
        expect_eq "${args[0]} ${args[1]} [$address] message" "$message" "$ERR"
    done
done
expect_eq "nothing reached the gateway" "" "$(ls "$WORK/dump")"

# The commissioning report notes the refusal as the reason it has no answer.
run_cli report "$WORK/project.vtc" --ip 0.0.0.0 --port "$SIM_PORT" -o "$WORK/report.html"
expect_eq "report status" 0 "$RC"
grep -q "$VANTOR" "$WORK/report.html" || fail "report: the refusal is not noted"
stop_sim

finish
