#!/usr/bin/env bash
# vantor-cli check and blocks: exit codes and messages of the download
# checks, and the block lines, without a gateway.
source "$(dirname "$0")/lib.sh"

vtc_begin KX-P4R0-1.0
vtc_com COM1
vtc_slave COM1 1
vtc_module "读0区 01H" 0 10 8190
vtc_write "$WORK/overflow.vtc"

vtc_begin NXE-485-ZRTU2 1
vtc_com COM1
vtc_com COM2
vtc_slave COM1 4
vtc_module "读4区 03H" 0 1 0
vtc_slave COM2 4
vtc_module "读4区 03H" 0 1 1
vtc_write "$WORK/remote.vtc"

vtc_begin NXE-485-ZRTU2
vtc_com COM2 6 1 1
vtc_slave COM2 3 30 50
vtc_module "读4区 03H" 1 2 3
vtc_write "$WORK/ok.vtc"

for cmd in check blocks; do
    run_cli "$cmd" "$WORK/overflow.vtc"
    expect_eq "$cmd overflow status" 1 "$RC"
    expect_eq "$cmd overflow message" "网关数据区访问超限 0区8192,1区8192,3区2000,4区2000" "$ERR"
    expect_eq "$cmd overflow prints no block" "" "$OUT"

    run_cli "$cmd" "$WORK/remote.vtc"
    expect_eq "$cmd remote status" 1 "$RC"
    expect_eq "$cmd remote message" "远端选择方式不能有相同的从站地址 地址相同的从站有COM2:4和COM1:4" "$ERR"

    run_cli "$cmd" "$WORK/missing.vtc"
    expect_eq "$cmd missing file status" 2 "$RC"
    run_cli "$cmd"
    expect_eq "$cmd without file status" 2 "$RC"
    run_cli "$cmd" "$WORK/ok.vtc" --bogus
    expect_eq "$cmd unknown option status" 2 "$RC"
done

run_cli check "$WORK/ok.vtc"
expect_eq "check ok status" 0 "$RC"
expect_eq "check ok is silent" "" "$OUT$ERR"

run_cli blocks "$WORK/ok.vtc"
expect_eq "blocks ok status" 0 "$RC"
# Listed layout with only COM2: a zero record before the COM2 record.
rtu="0000000000000000000000000000000000000000""ff00000001000000080000000100000006000000"
# Header 1/1, counts (0, 1) and (0, 1), the slave (address 3, enabled, one
# command, 300 ms, 500 ms), the command (read, start 1, area 4, gate 3, 2).
fb="0100000001000000""0000000001000000""0000000001000000"
fb+="0000000000000000""03000000""01000000""01000000""2c010000""f4010000"
fb+="01000000""0100""04""00""0300""04""00""0200""0000"
expect_eq "blocks lines" "20 $rtu
21 $fb" "$OUT"

finish
