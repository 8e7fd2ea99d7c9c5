#!/usr/bin/env bash
# vantor-cli netparams against the simulator: the request the gateway
# keeps, the acknowledgement and restart, refusals and a negative status.
source "$(dirname "$0")/lib.sh"

net() { # MODEL PORT [extra args]
    local model=$1 port=$2
    shift 2
    run_cli netparams --model "$model" --ip 127.0.0.1 --port "$port" "$@"
}

start_sim KX-P4R0-1.0 "$WORK/dump-p4"
net KX-P4R0-1.0 "$SIM_PORT" --set-ip 10.1.2.3 --mask 255.255.0.0 --gw 10.1.0.1 --mport 502
expect_eq "p4 exit status" 0 "$RC"
expect_eq "p4 result" "下载完毕！" "$(tail -n 1 <<<"$OUT")"
port_block="0a010203ffff00000a010001f60100000000000000000000"
expect_eq "p4 two port blocks" "$port_block$port_block" "$(cat "$WORK/dump-p4/netparams.hex")"
expect_eq "p4 restart" 1 "$(cat "$WORK/dump-p4/restarts" 2>/dev/null)"
stop_sim

start_sim NXE-485-ZRTU2 "$WORK/dump-one"
# The empty port text counts as port 0, which would leave the gateway
# without its MODBUS side: refused, nothing sent.
net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.255.255.128 --gw 192.168.1.1 --mport ""
expect_eq "port 0 status" 1 "$RC"
expect_eq "port 0 message" "网口1端口不能为0" "$ERR"
net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.255.255.128 --gw 192.168.1.1 --mport 1
expect_eq "one-port result" "下载完毕！" "$(tail -n 1 <<<"$OUT")"
# IP, mask, gateway, port 1, ten zero bytes.
expect_eq "one-port block" "c0a8010affffff80c0a80101""0100""00000000000000000000" \
    "$(cat "$WORK/dump-one/netparams.hex")"
stop_sim

start_sim NXE-485-ZRTU2 "$WORK/dump-nak" --status 10=1
net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.255.255.0 --gw 192.168.1.1 --mport 502
expect_eq "negative status" 1 "$RC"
expect_eq "negative result" "下 载 失 败！" "$(tail -n 1 <<<"$OUT")"
expect_eq "no restart without acknowledgement" "" "$(cat "$WORK/dump-nak/restarts" 2>/dev/null)"

net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.0.255.0 --gw 192.168.1.1 --mport 502
expect_eq "bad mask status" 1 "$RC"
expect_eq "bad mask message" "网口1子网掩码设置错误" "$ERR"
net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.255.255.0 --gw 192.168.2.1 --mport 502
expect_eq "other subnet message" "网口1IP和网关不在同一网段" "$ERR"
net NXE-485-ZRTU2 "$SIM_PORT" --set-ip 192.168.1.10 --mask 255.255.255.0 --gw 192.168.1.1 --mport 65536
expect_eq "port range message" "端口取值范围:0-65535" "$ERR"
stop_sim

finish
