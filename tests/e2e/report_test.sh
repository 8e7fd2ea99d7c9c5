#!/usr/bin/env bash
# vantor-cli report end to end: the demonstration project's report without a
# gateway, with the simulator after a download (identity and state words),
# and with a gateway that cannot be reached (the reason in the report, the
# report still written). Arguments: the vantor-cli binary, the simulator
# binary and the data folder.
source "$(dirname "$0")/lib.sh"

expect_in() { grep -qF -- "$2" "$1" || fail "missing '$2' in $1"; }
expect_not_in() { ! grep -qF -- "$2" "$1" || fail "unexpected '$2' in $1"; }
# The HTML row of tab-separated cells.
html_row() { printf '<tr><td>%s</td></tr>' "$(sed 's|\t|</td><td>|g' <<<"$1")"; }

cd "$WORK" || exit 1

# Usage errors.
run_cli report "$DATA/demo.vtc"
expect_eq "report without -o" 2 "$RC"
run_cli report "$DATA/demo.vtc" -o out.html --port 70000
expect_eq "report with a bad port" 2 "$RC"
run_cli report "$WORK/missing.vtc" -o out.html
expect_eq "report of a missing project" 2 "$RC"
[ ! -e out.html ] || fail "a report was written for a missing project"

# Never over the project itself.
cp "$DATA/demo.vtc" own.vtc
run_cli report own.vtc -o ./own.vtc
expect_eq "report over its project" 2 "$RC"
cmp -s "$DATA/demo.vtc" own.vtc || fail "the project was overwritten by its report"

# Without a gateway: every table from the project, the gateway not asked.
run_cli report "$DATA/demo.vtc" -o offline.html
expect_eq "offline report" 0 "$RC"
expect_in offline.html '<h2 id="summary">'
expect_in offline.html "$(html_row $'COM1\t9600\t偶校验\t1位\t300\t3')"
expect_in offline.html "温度采集器"
# The same rows as vantor-cli map and vantor-cli budget.
"$CLI" map "$DATA/demo.vtc" | grep -v '^MODBUS' | grep . >map.txt || fail "map"
while IFS= read -r line; do expect_in offline.html "$(html_row "$line")"; done <map.txt
"$CLI" budget "$DATA/demo.vtc" | tail -n +2 >budget.txt || fail "budget"
while IFS= read -r line; do expect_in offline.html "$(html_row "$line")"; done <budget.txt
expect_in offline.html "未读取网关信息"

# An existing report is replaced, not appended to.
run_cli report "$DATA/demo.vtc" -o offline.html
expect_eq "report lines replaced" 1 "$(grep -c '</html>' offline.html)"

# A reachable gateway after the download: identity and state words.
start_sim KX-P2R0-1.0 "$WORK/sim" --layout 52 || finish
"$CLI" download "$DATA/demo.vtc" --ip 127.0.0.1 --port "$SIM_PORT" --pace 0 >/dev/null || fail "download"
run_cli report "$DATA/demo.vtc" --ip 127.0.0.1 --port "$SIM_PORT" --mport "$SIM_MPORT" -o live.html
expect_eq "live report" 0 "$RC"
expect_in live.html "$(html_row $'设备ID\t06583474')"
expect_in live.html "$(html_row $'版本\t01-01-0203')"
expect_in live.html "$(html_row $'序列号\t2026120700015AA513579BDF')"
expect_in live.html "$(html_row $'MAC1\t00-1C-56-10-20-31')"
expect_in live.html "$(html_row $'MAC2\t00-1C-56-10-20-32')"
# The state rows are those vantor-cli state lists.
"$CLI" state --model KX-P2R0-1.0 --ip 127.0.0.1 --mport "$SIM_MPORT" | tail -n +2 >state.txt || fail "state"
[ "$(wc -l <state.txt)" -eq 5 ] || fail "five state rows expected: $(cat state.txt)"
while IFS=$'\t' read -r com addr caddr _ saddr _; do
    expect_in live.html "<tr><td>$com</td><td>$addr</td><td>$caddr</td><td>"
    grep -qE "<tr><td>$com</td><td>$addr</td><td>$caddr</td><td>0x[0-9A-F]{4}</td><td>$saddr</td><td>0x[89A-F][0-9A-F]{3}</td></tr>" live.html ||
        fail "state row of $com/$addr"
done <state.txt
expect_not_in live.html "未能读取网关信息"

# The gateway's port closed: the reason in the report, exit 0.
stop_sim
run_cli report "$DATA/demo.vtc" --ip 127.0.0.1 --port "$SIM_PORT" --mport "$SIM_MPORT" -o gone.html
expect_eq "report with the gateway gone" 0 "$RC"
expect_in gone.html "未能读取网关信息 127.0.0.1"
expect_in gone.html '<p class="reason">'
expect_not_in gone.html "设备ID"
expect_in gone.html "$(html_row $'COM2\t9600\t偶校验\t1位\t300\t2')"

# A gateway that answers only the short identification: reached, but its
# answer cannot be read; the report names the reason.
start_sim KX-P2R0-1.0 "$WORK/short" || finish
run_cli report "$DATA/demo.vtc" --ip 127.0.0.1 --port "$SIM_PORT" --mport "$SIM_MPORT" -o short.html
expect_eq "report with a short identification" 0 "$RC"
expect_in short.html "未能读取网关信息 127.0.0.1"
expect_in short.html '<p class="reason">设备状态应答数据不完整</p>'
stop_sim

# A report that cannot be written: exit 2, nothing claimed.
run_cli report "$DATA/demo.vtc" -o "$WORK/no/such/dir/r.html"
expect_eq "report into a missing folder" 2 "$RC"
[ -n "$ERR" ] || fail "no reason for the failed write"

finish
