#!/usr/bin/env bash
# The live simulator end to end: vantor-gatewaysim --project plays the demo
# project (KX-P2R0-1.0; COM1 slaves 1, 2, 3, COM2 slaves 1, 5) with COM1
# slave 3 dead, and an independent MODBUS TCP client (pymodbus) reads the
# data areas and state words and writes the write commands' ranges. Waits
# are conditions polled against a bounded deadline, never fixed pauses.
# Arguments: the vantor-cli binary, the simulator binary and the data folder.
source "$(dirname "$0")/lib.sh"

PY=/usr/bin/python3
CLIENT="$(cd "$(dirname "$0")" && pwd)/modbus_client.py"
if ! "$PY" -c 'import pymodbus.client' 2>/dev/null; then
    fail "python3-pymodbus is missing (scripts/setup.sh installs it)"
    finish
fi
mb() { timeout 60 "$PY" "$CLIENT" "$MPORT" "$@"; }

cd "$WORK" || exit 1

# --- refusals -------------------------------------------------------------------
"$SIM" --project "$WORK/none.vtc" --port 0 --modbus-port 0 2>"$WORK/err"
[ $? -eq 2 ] || fail "a missing project should exit 2"
grep -q "none.vtc" "$WORK/err" || fail "missing project not named: $(cat "$WORK/err")"
"$SIM" --project "$DATA/demo.vtc" --dead COM1:4 --port 0 --modbus-port 0 2>"$WORK/err"
[ $? -eq 2 ] && grep -q "COM1:4" "$WORK/err" || fail "an unknown dead slave: $(cat "$WORK/err")"
"$SIM" --model KX-P2R0-1.0 --dead COM1:3 --port 0 --modbus-port 0 2>/dev/null
[ $? -eq 2 ] || fail "--dead without --project should exit 2"
"$SIM" --model KX-P4R0-1.0 --project "$DATA/demo.vtc" --port 0 --modbus-port 0 2>/dev/null
[ $? -eq 2 ] || fail "a --model other than the project's should exit 2"

# --- the demo project with a dead slave ------------------------------------------
start_sim KX-P2R0-1.0 "$WORK/demo" --layout 52 --project "$DATA/demo.vtc" --dead COM1:3 || finish
MPORT=$SIM_MPORT

# As if downloaded: the blocks a download of the project sends are kept.
"$CLI" blocks "$DATA/demo.vtc" >"$WORK/blocks" || fail "vantor-cli blocks"
for cmd in 20 21; do
    expect_eq "block $cmd" "$(sed -n "s/^$cmd //p" "$WORK/blocks")" "$(cat "$WORK/demo/block$cmd.hex")"
done

# COM1 slave 2 reads its input registers 100..119 into 30000..30019: the
# values change from one cycle to the next, and every counter register
# (data address r with r mod 3 = 0) of the later read shows the same cycle
# count n = value - r.
out=$(mb wait-change input-registers 0 20 20) || fail "input registers did not change"
[ "$(wc -l <<<"$out")" -eq 2 ] || fail "two reads expected: $out"
first=$(sed -n 2p <<<"$out")
counts=$(awk '{ for (i = 1; i <= NF; i++) if ((99 + i) % 3 == 0) print $i - (99 + i) }' <<<"$first" | sort -u)
[ "$(wc -l <<<"$counts")" -eq 1 ] && [ "$counts" -gt 0 ] || fail "counters of one read disagree: $counts"
# COM2's ranges change too (slave 5's input registers 30020..30021).
mb wait-change input-registers 20 2 20 >/dev/null || fail "COM2's input registers did not change"

# The dead slave's coil read (00008..00015) has never been filled, while
# the live slaves' ranges moved on.
expect_eq "dead slave's coils" "0 0 0 0 0 0 0 0" "$(mb read coils 8 8)"

# State words 32001..32003 (COM1 slaves 1..3): slaves 1 and 2 answer
# (status 01, successes counting), slave 3 times out (status 10, failures
# counting); all have bit 15 (configured).
words=$(mb wait-change input-registers 2001 3 20) || fail "state words did not change"
read -r s1 s2 s3 <<<"$(tail -n 1 <<<"$words")"
for w in "$s1" "$s2" "$s3"; do
    [ $((w & 0x8000)) -ne 0 ] || fail "state word $w without bit 15"
done
[ $((s1 & 3)) -eq 1 ] && [ $(((s1 >> 2) & 0x3F)) -gt 0 ] || fail "COM1 slave 1 not answering: $s1"
[ $((s3 & 3)) -eq 2 ] || fail "COM1 slave 3 not timing out: $s3"
[ $(((s3 >> 8) & 0x3F)) -gt 0 ] && [ $(((s3 >> 2) & 0x3F)) -eq 0 ] || fail "COM1 slave 3 counters: $s3"
# The configurator's own state polling lists the five slaves with them.
out=$("$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$MPORT") || fail "vantor-cli state"
[ "$(cut -f1,2 <<<"$out" | tail -n +2 | tr '\n' ' ')" = "COM1	1 COM1	2 COM1	3 COM2	1 COM2	5 " ] ||
    fail "state rows: $out"
dead_row=$(grep -P '^COM1\t3\t' <<<"$out" | cut -f6)
[ $((dead_row & 3)) -eq 2 ] || fail "vantor-cli state shows COM1 slave 3 as $dead_row"

# Writes into the write commands' ranges are kept by the gateway: COM2
# slave 1's single register 40012 and its two command words 40019..40020.
mb write holding 12 1234 || fail "write 40012"
mb write holding 19 7 8 || fail "write 40019"
expect_eq "40012 read back" "1234" "$(mb read holding 12 1)"
expect_eq "40019 read back" "7 8" "$(mb read holding 19 2)"
[ "$(mb read input-registers 0 20)" != "$first" ] || fail "values stood still"

# Control word 42001 cleared (the configurator's own write): COM1 slave 1's
# holding registers 40000..40007 stand still while slave 2 goes on; set
# again (a client's write of multiple registers), they move again.
"$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42001 --value 0000 >/dev/null || fail "control 0000"
frozen=$(mb read holding 0 8)
mb wait-change input-registers 0 20 20 >/dev/null && mb wait-change input-registers 0 20 20 >/dev/null ||
    fail "slave 2 stopped with slave 1"
expect_eq "stopped slave's registers" "$frozen" "$(mb read holding 0 8)"
mb write holding 2001 1 || fail "control word 1"
mb wait-change holding 0 8 20 >/dev/null || fail "slave 1 did not resume"

# The line health as vantor-cli watches it, one JSON object a cycle: the
# dead slave has never answered from the first cycle on and fails every
# exchange, the others are online; with control word 42002 cleared, COM1
# slave 2 is stopped.
health() { # CYCLES: the last cycle's slaves as "COM1:3=silent/1.0/None ..."
    "$CLI" state --watch --interval 1000 --cycles "$1" --project "$DATA/demo.vtc" --ip 127.0.0.1 \
        --mport "$MPORT" --json >"$WORK/watch" || fail "state --watch: exit $?"
    [ "$(wc -l <"$WORK/watch")" -eq "$1" ] || fail "one line a cycle: $(cat "$WORK/watch")"
    tail -n 1 "$WORK/watch" | "$PY" -c 'import json, sys
d = json.load(sys.stdin)
print(" ".join("%s:%s=%s/%s/%s" % (s["line"], s["address"], s["class"], s["failure_rate"], s["last_success_ms"])
               for s in d["slaves"]))'
}
out=$(health 3)
grep -q "COM1:3=silent/1.0/None" <<<"$out" || fail "the dead slave: $out"
for live in COM1:1 COM1:2 COM2:1 COM2:5; do
    grep -Eq "$live=online/(0.0|None)/[0-9]+" <<<"$out" || fail "$live not online: $out"
done
"$CLI" control --ip 127.0.0.1 --mport "$MPORT" --address 42002 --value 0000 >/dev/null || fail "control 42002"
out=$(health 1)
grep -q "COM1:2=stopped/" <<<"$out" || fail "COM1 slave 2 not stopped: $out"
stop_sim

# --- writes reaching the slave -----------------------------------------------------
# A fast line (115200 baud, 10 ms gap) with one slave whose writes and reads
# cover the same data: holding registers 10..11 and coils 0..3; input
# register 30000 shows the line's cycle count.
vtc_begin KX-P2R0-1.0
vtc_com COM1 6 2 0
vtc_slave COM1 7
vtc_module "读3区 04H" 0 1 0
vtc_module "写4区 10H 写多字" 10 2 100
vtc_module "读4区 03H" 10 2 200
vtc_module "写0区 0FH 写多线圈" 0 4 0
vtc_module "读0区 01H" 0 4 16
vtc_write "$WORK/rw.vtc" || fail "project"
start_sim KX-P2R0-1.0 "$WORK/rw" --project "$WORK/rw.vtc" || finish
MPORT=$SIM_MPORT
mb wait-change input-registers 0 1 20 >/dev/null || fail "no cycles on the fast line"
# The gateway's zeros went to the slave in every cycle.
expect_eq "before the writes" "0 0" "$(mb read holding 200 2)"
expect_eq "coils before the writes" "0 0 0 0" "$(mb read coils 16 4)"
mb write holding 100 4321 99 || fail "write 40100"
mb write coils 0 1 0 1 1 || fail "write coils"
mb wait-equal holding 200 20 4321 99 >/dev/null || fail "written registers not read back from the slave"
mb wait-equal coils 16 20 1 0 1 1 >/dev/null || fail "written coils not read back from the slave"
stop_sim
finish
