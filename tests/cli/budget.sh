#!/usr/bin/env bash
# vantor-cli budget: the table and JSON forms agree, a slave taken as dead
# lengthens only its own line, the threshold flags lines, and bad options
# are usage errors.
source "$(dirname "$0")/common.bash"

"$cli" budget "$data/demo.vtc" >"$tmp/table" 2>"$tmp/err" || fail "budget exited $?: $(cat "$tmp/err")"
[ "$(head -n 1 "$tmp/table")" = $'线路\t波特率\t位/字符\t命令数\t周期(ms)\t最耗时从站\t耗时(ms)\t超限' ] ||
    fail "header: $(head -n 1 "$tmp/table")"
[ "$(cut -f1-4 "$tmp/table" | tail -n +2)" = $'COM1\t9600\t11\t5\nCOM2\t9600\t11\t4' ] ||
    fail "lines: $(cat "$tmp/table")"

"$cli" budget "$data/demo.vtc" --json >"$tmp/json" || fail "--json exited $?"
python3 - "$tmp/json" "$tmp/table" <<'PY' || fail "JSON and table disagree"
import json, sys
lines = json.load(open(sys.argv[1]))
rows = [l.rstrip('\n').split('\t') for l in open(sys.argv[2], encoding='utf-8')][1:]
assert [l['line'] for l in lines] == [r[0] for r in rows]
for l, r in zip(lines, rows):
    assert abs(l['cycleMs'] - float(r[4])) < 0.05, (l, r)
    assert abs(sum(s['ms'] for s in l['slaves']) - l['cycleMs']) < 0.5, l
    assert str(l['costliestSlave']) == r[5]
PY

cycle() { awk -F'\t' -v line="$1" '$1 == line { print $5 }' "$2"; }
"$cli" budget "$data/demo.vtc" --dead COM1:3 >"$tmp/dead" || fail "--dead exited $?"
awk -v a="$(cycle COM1 "$tmp/table")" -v b="$(cycle COM1 "$tmp/dead")" 'BEGIN { exit !(b > a) }' ||
    fail "a dead slave did not lengthen COM1"
[ "$(cycle COM2 "$tmp/dead")" = "$(cycle COM2 "$tmp/table")" ] || fail "a dead COM1 slave changed COM2"

"$cli" budget "$data/demo.vtc" --threshold 100000 | tail -n +2 | cut -f8 | grep -qv '否' && fail "flagged under a huge threshold"
[ "$("$cli" budget "$data/demo.vtc" --threshold 1 | tail -n +2 | cut -f8 | sort -u)" = "是" ] ||
    fail "not flagged over a 1 ms threshold"

for bad in "--dead COM1" "--dead :3" "--dead COM1:x" "--threshold -5"; do
    # shellcheck disable=SC2086
    "$cli" budget "$data/demo.vtc" $bad >/dev/null 2>&1
    [ $? -eq 2 ] || fail "'$bad' is not a usage error"
done
"$cli" budget "$tmp/missing.vtc" >/dev/null 2>&1
[ $? -eq 2 ] || fail "a missing file is not a file error"

[ "$failures" -eq 0 ] || exit 1
echo "budget: all passed"
