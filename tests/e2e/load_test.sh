#!/usr/bin/env bash
# vantor-cli load (the VantorLoad operations) against the simulator: the RTU
# settings and the network settings the gateway keeps, the restart, the
# address files left in the working directory, and the failures.
source "$(dirname "$0")/lib.sh"

# A fresh working directory with the address files the program left last.
new_dir() { # NAME IP-FILE-BYTES
    DIR="$WORK/$1"
    mkdir -p "$DIR/IP"
    printf '%b' "$2" >"$DIR/IP/ip.txt"
    printf '502' >"$DIR/IP/port.txt"
    cd "$DIR" || exit 1
}

com() { # ADDRESS STOP PARITY BAUD: one port's five words as hex
    printf '%02x000000%02x00000008000000%02x000000%02x000000' "$1" "$2" "$3" "$4"
}

# --- RTU settings of a two-port type, gateway IP from the address file --------
start_sim NXE-485-ZRTU2 "$WORK/dump-rtu"
new_dir rtu '127.0.0.1\r\n'
run_cli load rtu --type NXE-485-ZRTU2 --port "$SIM_PORT"
expect_eq "rtu exit status" 0 "$RC"
expect_eq "rtu result" "下载完成" "$OUT"
expect_eq "rtu quiet stderr" "" "$ERR"
expect_eq "rtu block" "$(com 17 0 2 3)$(com 18 0 2 3)" "$(cat "$WORK/dump-rtu/block20.hex")"
expect_eq "rtu restart" 1 "$(cat "$WORK/dump-rtu/restarts" 2>/dev/null)"
# The gateway's address did not change: the address connected to is kept.
expect_eq "rtu ip file" "127.0.0.1" "$(cat IP/ip.txt)"
expect_eq "rtu port file" "502" "$(cat IP/port.txt)"

# A single-port type sends COM1 only.
new_dir rtu-one ''
run_cli load rtu --type LNK-P1-1.0 --ip 127.0.0.1 --port "$SIM_PORT" --com1 6,0,1,5 --com2 0,0,0,99
expect_eq "single-port exit status" 0 "$RC"
expect_eq "single-port block" "$(com 5 1 0 6)" "$(cat "$WORK/dump-rtu/block20.hex")"

# A MODBUS address out of range is refused before anything is sent.
new_dir rtu-refused '127.0.0.1'
run_cli load rtu --type NXE-485-ZRTU2 --port "$SIM_PORT" --com2 3,2,0,128
expect_eq "address refused status" 1 "$RC"
expect_eq "address refused message" "MOD地址取值范围:0-127" "$ERR"
expect_eq "address refused: nothing restarted" 2 "$(cat "$WORK/dump-rtu/restarts")"
stop_sim

# --- network settings ------------------------------------------------------------
start_sim NXE-485-ZRTU2 "$WORK/dump-ip"
new_dir ip '127.0.0.1'
run_cli load ip --port "$SIM_PORT" --set-ip 10.1.2.3 --mask 255.255.0.0 --gw 10.1.0.1 --mport 5032 --verbose
expect_eq "ip exit status" 0 "$RC"
expect_eq "ip result" "下载完成" "$OUT"
expect_eq "ip block" "0a010203ffff00000a010001a81300000000000000000000" "$(cat "$WORK/dump-ip/netparams.hex")"
expect_eq "ip restart" 1 "$(cat "$WORK/dump-ip/restarts" 2>/dev/null)"
expect_eq "ip file" "10.1.2.3" "$(cat IP/ip.txt)"
expect_eq "port file" "5032" "$(cat IP/port.txt)"
grep -q '> \[32\] 0a 00 00 00 18 00 00 00' <<<"$ERR" || fail "ip --verbose: no wire log of the request"
stop_sim

# A status other than 0 and 4 still counts, but the gateway is not restarted.
start_sim NXE-485-ZRTU2 "$WORK/dump-ip1" --status 10=1
new_dir ip-status1 '127.0.0.1'
run_cli load ip --port "$SIM_PORT" --set-ip 10.9.9.9 --mask 255.0.0.0 --gw 10.0.0.1 --mport 502
expect_eq "status-1 exit status" 0 "$RC"
expect_eq "status-1 ip file" "10.9.9.9" "$(cat IP/ip.txt)"
expect_eq "status-1 no restart" "" "$(cat "$WORK/dump-ip1/restarts" 2>/dev/null)"
stop_sim

# --- failures ---------------------------------------------------------------------
# The gateway refuses command 21: no success, no restart.
start_sim NXE-485-ZRTU2 "$WORK/dump-nak" --status 21=1
new_dir nak '127.0.0.1'
run_cli load rtu --type NXE-485-ZRTU2 --port "$SIM_PORT"
expect_eq "refused 21 status" 1 "$RC"
expect_eq "refused 21 message" "下载失败" "$ERR"
expect_eq "refused 21 no restart" "" "$(cat "$WORK/dump-nak/restarts" 2>/dev/null)"
stop_sim

# A silent gateway after IP设置: the run ends in failure, the files stay.
start_sim NXE-485-ZRTU2 "$WORK/dump-silent" --no-reply 10
new_dir silent '127.0.0.1'
run_cli load ip --port "$SIM_PORT" --set-ip 10.1.2.3 --mask 255.255.0.0 --gw 10.1.0.1 --mport 502
expect_eq "silent status" 1 "$RC"
expect_eq "silent message" "下载失败" "$ERR"
expect_eq "silent ip file" "127.0.0.1" "$(cat IP/ip.txt)"
stop_sim

# The connection goes when command 21 arrives.
start_sim NXE-485-ZRTU2 "$WORK/dump-reset" --reset-at 21
new_dir reset '127.0.0.1'
run_cli load rtu --type NXE-485-ZRTU2 --port "$SIM_PORT"
expect_eq "reset status" 1 "$RC"
expect_eq "reset message" "下载失败，与网关的连接已断开" "$ERR"
closed_port=$SIM_PORT
stop_sim

# Nobody listens any more.
new_dir refused '127.0.0.1'
run_cli load rtu --type NXE-485-ZRTU2 --port "$closed_port"
expect_eq "connect refused status" 1 "$RC"
expect_eq "connect refused message" "连接失败，请查看IP设置或硬件灯显示" "$ERR"

# Usage errors.
run_cli load rtu --type NXE-485
expect_eq "unknown type" 2 "$RC"
run_cli load ip --set-ip 10.1.2.3
expect_eq "missing fields" 2 "$RC"

finish
