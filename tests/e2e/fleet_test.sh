#!/usr/bin/env bash
# vantor-cli fleet end to end: a simulated fleet of 20 gateways in one
# process, of which member 4 is silent, member 9 refuses the fieldbus block
# and member 15 resets the connection when it comes; the other 17 are
# downloaded and verified, the three fail alone with their reasons, in the
# JSON document, the text form and the report alike. Then a plan that mixes
# a VantorNet project with rows that cannot run. Arguments: the vantor-cli
# binary, the simulator binary and the data folder.
source "$(dirname "$0")/lib.sh"

cd "$WORK" || exit 1
cp "$DATA/demo.vtc" "$DATA/demo.vncfg" .
FAST=(--pace 5 --settle 0 --reply-timeout 2000)

start_fleet KX-P2R0-1.0 20 dumps --layout 52 \
    --member 4 --no-reply 1 --member 9 --status 21=3 --member 15 --reset-at 21 || { finish; exit 1; }
{
    echo "name,ip,port,project,mport"
    i=0
    for line in "${FLEET_LINES[@]}"; do
        i=$((i + 1))
        read -r port mport <<<"$line"
        printf 'gw%02d,127.0.0.1,%s,demo.vtc,%s\n' "$i" "$port" "$mport"
    done
} >plan.csv

"$CLI" fleet plan.csv "${FAST[@]}" --report fleet.html --json >fleet.json
expect_eq "fleet with three faulty members" 1 "$?"
python3 - fleet.json <<'PY' || fail "the JSON document"
import json, sys
doc = json.load(open(sys.argv[1]))
gws = doc["gateways"]
assert [g["name"] for g in gws] == ["gw%02d" % i for i in range(1, 21)], "plan order"
failed = {g["name"]: g["reason"] for g in gws if not g["ok"]}
assert sorted(failed) == ["gw04", "gw09", "gw15"], failed
assert "应答超时" in failed["gw04"], failed["gw04"]
assert failed["gw09"].endswith("3"), failed["gw09"]
for g in gws:
    if g["ok"]:
        assert g["identity"]["serial_number"] and g["identity"]["version"], g
        assert g["states"]["read"] and g["states"]["rows"], g
        assert g["reason"] == "" and g["download"] == "下 载 完 毕!", g
    assert g["blocks"] == [{"command": 20, "bytes": 120}, {"command": 21, "bytes": 372}], g
assert len({g["checksum"] for g in gws}) == 1
s = doc["summary"]
assert (s["gateways"], s["succeeded"], s["failed"], s["refused"]) == (20, 17, 3, 0), s
PY
# Each member kept its own download; the silent one got nothing.
for m in 1 10 20; do [ -s dumps/member$m/block21.hex ] || fail "member $m has no fieldbus block"; done
[ ! -e dumps/member4/block20.hex ] || fail "the silent member got a block"
# The report's overview names exactly the three failed gateways.
grep -o '<tr><td>gw[0-9]*</td>\(<td>[^<]*</td>\)\{3\}<td>失败</td>' fleet.html | grep -o 'gw[0-9]*' | sort | tr '\n' ' ' >failed.txt
expect_eq "failed rows of the report" "gw04 gw09 gw15 " "$(cat failed.txt)"
grep -qF '<h2 id="gateway-20">gw20</h2>' fleet.html || fail "no section of gw20"
grep -qF '序列号' fleet.html || fail "no serial number in the report"

# The text form, four at a time: one line per change, the summary last.
"$CLI" fleet plan.csv "${FAST[@]}" --parallel 4 >fleet.txt
expect_eq "fleet text form" 1 "$?"
expect_eq "summary" "20个网关: 17个成功, 3个失败" "$(tail -1 fleet.txt | sed 's/, 用时.*//')"
expect_eq "successes" 17 "$(grep -c ': 成功$' fleet.txt)"
grep -q '^gw09: 失败: ' fleet.txt || fail "gw09's failure line"
stop_sim

# VantorNet beside rows that cannot run: they are named with their line,
# the runnable rows still run.
start_fleet NXE-485-ZRTU2 1 netdumps --layout 52 || { finish; exit 1; }
read -r port mport <<<"${FLEET_LINES[0]}"
cat >mixed.csv <<CSV
name,ip,port,project,mport
net1,127.0.0.1,$port,demo.vncfg,$mport
lost,127.0.0.1,1,missing.vtc,
bad,300.1.1.1,1,demo.vtc,
CSV
"$CLI" fleet mixed.csv --pace 5 --tick 20 --settle 0 >mixed.txt 2>mixed.err
expect_eq "a plan with refused rows" 1 "$?"
expect_eq "refusals" "第3行 lost: 工程文件不存在 missing.vtc|第4行 bad: IP地址格式错误" "$(paste -sd'|' mixed.err)"
grep -q '^net1: 成功$' mixed.txt || fail "the VantorNet row: $(cat mixed.txt)"
[ -s netdumps/member1/block21.hex ] || fail "the VantorNet gateway got no image B"
stop_sim

# A plan that is no plan.
printf 'a,b\n' >noplan.csv
"$CLI" fleet noplan.csv 2>/dev/null
expect_eq "a plan without the header" 2 "$?"
finish
