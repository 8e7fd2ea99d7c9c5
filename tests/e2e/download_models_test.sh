#!/usr/bin/env bash
# For one model of each port layout, plus the CDT and the EtherNet/IP
# gateways: vantor-cli downloads to the simulator, and the blocks the
# simulator reassembled and dumped equal what `vantor-cli blocks` prints.
source "$(dirname "$0")/lib.sh"

check_model() { # NAME VTC
    local name=$1 vtc=$2 model
    model=$VTC_MODEL
    local dump="$WORK/dump-$name"
    start_sim "$model" "$dump" || return
    run_cli blocks "$vtc"
    expect_eq "$name blocks status" 0 "$RC"
    local expected=$OUT
    run_cli download "$vtc" --ip 127.0.0.1 --port "$SIM_PORT" --pace 0
    expect_eq "$name download status" 0 "$RC"
    expect_eq "$name result" "下 载 完 毕!" "$(tail -n 1 <<<"$OUT")"
    expect_eq "$name first status" "正在连接127.0.0.1:$SIM_PORT..." "$(head -n 1 <<<"$OUT")"
    local got="" c
    for c in 20 21 70; do
        [ -f "$dump/block$c.hex" ] && got+="$c $(cat "$dump/block$c.hex")"$'\n'
    done
    expect_eq "$name dumped blocks" "$expected" "${got%$'\n'}"
    # The restart goes out as the connection closes; the simulator handles
    # what it received before it stops.
    stop_sim
    expect_eq "$name restarts" 1 "$(cat "$dump/restarts" 2>/dev/null)"
}

# Listed layout, two lines, slaves out of address order, every area.
vtc_begin NXE-485-ZRTU2
vtc_com COM1 6 1 1
vtc_com COM2
vtc_slave COM1 5 30 50
vtc_module "读4区 03H" 0 10 0
vtc_module "读0区 01H" 0 16 0
vtc_slave COM1 2 1 10 127
vtc_module "写4区 10H 写多字" 100 4 10 1
vtc_slave COM2 9
vtc_module "读1区 02H" 0 8 0
vtc_module "读3区 04H" 0 2 0
vtc_write "$WORK/listed.vtc"
check_model listed "$WORK/listed.vtc"

# Six-slot layout with a fieldbus block of several chunks (COM2 and COM5).
vtc_begin KX-P6R0-1.0
vtc_com COM2
vtc_com COM5 4 0 0
for a in $(seq 1 12); do
    vtc_slave COM2 "$a" 2 30
    vtc_module "读4区 03H" 0 2 $((a * 2))
    vtc_module "写0区 05H 写单线圈" 3 1 "$a"
    vtc_slave COM5 "$a"
    vtc_module "读3区 04H" 0 1 $((100 + a))
done
vtc_write "$WORK/sixslot.vtc"
check_model sixslot "$WORK/sixslot.vtc"

# Single port in work mode 1 (header word 5).
vtc_begin LNK-P1-1.0 0 1
vtc_com COM1
vtc_slave COM1 1
vtc_module "读4区 03H" 0 10 0
vtc_write "$WORK/single.vtc"
check_model single "$WORK/single.vtc"

# The CDT gateway: COM1 is the CDT link.
vtc_begin TRC-H-ZRTU
vtc_com COM1
vtc_com COM2
vtc_slave COM2 3
vtc_module "读3区 04H" 0 4 0 0 1
vtc_write "$WORK/cdt.vtc"
check_model cdt "$WORK/cdt.vtc"

# The EtherNet/IP gateway: port 60000 rule aside, block 70 follows block 21.
vtc_begin TRX-H-QMB6
vtc_com COM1
vtc_com COM3
vtc_slave COM1 3
vtc_module "读4区 03H" 0 10 500
vtc_module "写4区 10H 写多字" 0 2 900
vtc_slave COM1 1
vtc_module "读4区 03H" 0 10 700
vtc_slave COM3 7
vtc_module "读0区 01H" 0 40 0
vtc_write "$WORK/eip.vtc"
check_model eip "$WORK/eip.vtc"
[ -s "$WORK/dump-eip/block70.hex" ] || fail "no block 70 for the EtherNet/IP gateway"

finish
