#!/usr/bin/env bash
# vantor-cli --json: each command's document parses, holds the same data as
# its text form (the text is rebuilt from the document and compared line by
# line), and failures are {"error": ...} with the text form's exit status
# and message.
source "$(dirname "$0")/common.bash"

# run NAME ARGS...: the text form into $tmp/NAME.txt/.err/.rc, the JSON form
# into $tmp/NAME.json/.jrc.
run() {
    local name=$1
    shift
    "$cli" "$@" >"$tmp/$name.txt" 2>"$tmp/$name.err"
    echo $? >"$tmp/$name.rc"
    "$cli" "$@" --json >"$tmp/$name.json" 2>"$tmp/$name.jerr"
    echo $? >"$tmp/$name.jrc"
}

variant() { project_variant "$1" "$2" "$3"; }
variant "$data/demo.vtc" "$tmp/cdt.vtc" "t.replace('masterName=\"KX-P2R0-1.0\"', 'masterName=\"TRC-H-ZRTU\"')"
variant "$data/demo.vtc" "$tmp/eip.vtc" "t.replace('masterName=\"KX-P2R0-1.0\"', 'masterName=\"TRX-H-QMB6\"')"
variant "$data/demo.vncfg" "$tmp/dp.vncfg" "t.replace('masterName=\"NXE-485-ZRTU2\"', 'masterName=\"QB-H-NET2.0\"')"
variant "$data/demo.vtc" "$tmp/empty.vtc" "re.sub(r'<Module [^>]*/>', '', t, count=2)"
variant "$data/demo.vtc" "$tmp/overflow.vtc" "re.sub(r'Gate_Add=\"\\d+\"', 'Gate_Add=\"8190\"', t, count=1)"

run show show "$data/demo.vtc"
run check check "$data/demo.vtc"
run checkyes check "$tmp/empty.vtc"
run checkno check "$tmp/empty.vtc" --no
run blocks blocks "$data/demo.vtc"
run map map "$data/demo.vtc"
run cdt map "$tmp/cdt.vtc"
run eip eip "$tmp/eip.vtc"
run netshow net-show "$data/demo.vncfg"
run netblocks net-blocks "$data/demo.vncfg"
run netmap net-map "$data/demo.vncfg"
run dp net-map "$tmp/dp.vncfg"
run budget budget "$data/demo.vtc"
run overflow blocks "$tmp/overflow.vtc"
run missing show "$tmp/missing.vtc"
run netmissing net-map "$tmp/missing.vncfg"
run usage map
run noeip eip "$data/demo.vtc"

python3 - "$tmp" <<'PY' || fail "JSON and text forms disagree"
import json, os, sys
tmp = sys.argv[1]
problems = []

def read(name, ext):
    with open(os.path.join(tmp, name + ext), encoding='utf-8') as f:
        return f.read()

def doc(name):
    text = read(name, '.json')
    if text.count('\n') != 1:
        problems.append(f'{name}: not one document on one line: {text!r}')
    return json.loads(text)

def same(name, rebuilt):
    text = read(name, '.txt').splitlines()
    if rebuilt != text:
        problems.append(f'{name}: rebuilt text differs:\n' + '\n'.join(rebuilt) + '\n--- text form ---\n' + '\n'.join(text))
    if read(name, '.rc') != read(name, '.jrc'):
        problems.append(f'{name}: exit status {read(name, ".rc").strip()} vs {read(name, ".jrc").strip()}')

def table(t, with_columns=False):
    return [t['title']] + (['\t'.join(t['columns'])] if with_columns else []) + ['\t'.join(r) for r in t['rows']]

def commands(cmds, net=False):
    out = []
    for i, m in enumerate(cmds, 1):
        mid = f", MODBUS地址 {m['modbusAddress']}" if net else ''
        out.append(f"{'    ' if net else '    '}{i}. {m['function']}{mid}, 起始地址 {m['start']}, 长度 {m['length']}, "
                   f"网关地址 {m['gatewayAddress']}{', 数变即发' if m['sendOnChange'] else ''}, 注释 \"{m['comment']}\"")
    return out

def slave(s):
    return [f"  从站 {s['address']} \"{s['name']}\": 报文发送延时 {s['sendDelayMs']} ms, 应答超时时间 "
            f"{s['replyTimeoutMs']} ms, 配置字 0x{s['control']:02X}"] + commands(s['commands'])

d = doc('show')
out = [f"网关型号: {d['model'] or '(无)'}", f"访问IP: {d['accessIp']}", f"寻址方式: {d['addressing']}",
       f"串口数: {d['lineCount']}, 从站数: {d['slaveCount']}, 命令数: {d['commandCount']}"]
for l in d['lines']:
    out.append(f"{l['name']}: 波特率 {l['baud']}, {l['parity']}, 数据位 {l['dataBits']}, 停止位 {l['stopBits']}, "
               f"从站时间间隔 {l['slaveGapMs']} ms, 从站 {l['slaveCount']} 个")
    for s in l['slaves']:
        out += slave(s)
if d['unassignedSlaves']:
    out.append('不在任何串口上的从站:')
    for s in d['unassignedSlaves']:
        out += slave(s)
same('show', out)
if d['commandCount'] == 0 or not d['lines']:
    problems.append('show: the demo project came out empty')

d = doc('check')
same('check', [])
if d.get('downloadable') is not True:
    problems.append(f'check: {d}')
# A slave without commands: the question is asked; Yes goes on, No is the
# reason for the refusal, with the text form's status.
d = doc('checkyes')
asked = read('checkyes', '.err')
if d.get('downloadable') is not True or ''.join(q['text'] + '\n' + ('是' if q['answer'] else '否') + '\n'
                                              for q in d['questions']) != asked or not asked:
    problems.append(f'check (empty slave): {d} / {asked}')
d = doc('checkno')
rc, jrc = read('checkno', '.rc').strip(), read('checkno', '.jrc').strip()
if rc != '1' or jrc != '1' or d != {'error': read('checkno', '.err').removesuffix('\n否\n')}:
    problems.append(f'check --no: {rc}/{jrc} {d}')

d = doc('blocks')
same('blocks', [f"{b['command']} {b['hex']}" for b in d['blocks']])

for name in ('map', 'cdt'):
    d = doc(name)
    out = []
    for i, t in enumerate(d['lists']):
        out += ([] if i == 0 else ['']) + table(t)
    same(name, out)
    expected = {'map': ('gateway', 4), 'cdt': ('cdt', 3)}[name]
    if (d['kind'], len(d['lists'])) != expected or not any(t['rows'] for t in d['lists']):
        problems.append(f'{name}: kind {d["kind"]}, {len(d["lists"])} lists')
    if any(len(r) != len(t['columns']) for t in d['lists'] for r in t['rows']):
        problems.append(f'{name}: a row does not match its columns')

d = doc('eip')
out = [f"EIP输入总长度\t{d['inputTotal']}", f"EIP输出总长度\t{d['outputTotal']}", f"EIP连接个数\t{d['connectionCount']}", '']
out += table(d['connections'], True)[1:] + [''] + table(d['input'], True) + [''] + table(d['output'], True)
same('eip', out)

def com(name, c):
    return (f"{name}: 波特率 {c['baud']}, {c['parity']}, 数据位 {c['dataBits']}, 停止位 {c['stopBits']}, "
            f"MODBUS地址 {c['address']}")

d = doc('netshow')
out = [f"网关型号: {d['model'] or '(无)'}", f"工作模式: {d['workMode']}", com('COM1', d['com1']), com('COM2', d['com2']),
       f"数变即发默认设置: {'使能' if d['sendOnChangeDefault'] else '不使能'}",
       f"从站数: {d['slaveCount']}, 命令数: {d['commandCount']}"]
for s in d['slaves']:
    out.append(f"从站 {s['index']} \"{s['name']}\" {s['ip']}:{s['port']}: 报文发送延时 {s['sendDelayMs']} ms, "
               f"应答超时时间 {s['replyTimeoutMs']} ms, 控制使能 {'是' if s['control'] else '否'}, 设备图像 \"{s['picture']}\"")
    for n in s['nodes']:
        out.append(f"  站地址 {n['address']}:")
        out += commands(n['commands'], net=True)
same('netshow', out)

d = doc('netblocks')
same('netblocks', [f"A {d['a']}", f"B {d['b']}"])

for name, kind in (('netmap', 'gateway'), ('dp', 'dp')):
    d = doc(name)
    same(name, [line for t in d['lists'] for line in table(t)])
    if d['kind'] != kind:
        problems.append(f'{name}: kind {d["kind"]}, expected {kind}')

d = doc('budget')
rows = [r.split('\t') for r in read('budget', '.txt').splitlines()[1:]]
if [(l['line'], str(l['baud']), str(l['commands'])) for l in d] != [(r[0], r[1], r[3]) for r in rows]:
    problems.append(f'budget: {d} vs {rows}')

# Failures: one error document, the same status and message as the text form.
for name in ('overflow', 'missing', 'netmissing', 'usage', 'noeip'):
    d = doc(name)
    rc, jrc, err = read(name, '.rc').strip(), read(name, '.jrc').strip(), read(name, '.err').strip()
    if rc == '0' or rc != jrc:
        problems.append(f'{name}: exit status {rc} vs {jrc}')
    if set(d) != {'error'} or not d['error']:
        problems.append(f'{name}: {d}')
    elif name != 'usage' and d['error'] != err:
        problems.append(f'{name}: error {d["error"]!r}, text form said {err!r}')
    elif name == 'usage' and not d['error'].startswith('usage: vantor-cli map'):
        problems.append(f'usage: {d}')
    if read(name, '.txt'):
        problems.append(f'{name}: the text form printed {read(name, ".txt")!r}')

for p in problems:
    print(p, file=sys.stderr)
sys.exit(1 if problems else 0)
PY

# --json is refused by the commands that do not offer it.
"$cli" resave "$data/demo.vtc" "$tmp/out.vtc" --json >/dev/null 2>&1
[ $? -eq 2 ] || fail "resave --json is not a usage error"

[ "$failures" -eq 0 ] || exit 1
echo "json: all passed"
