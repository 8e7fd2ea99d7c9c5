#!/usr/bin/env bash
# Runs the fault matrix and writes its table (exchanges x fault classes,
# pass/fail with the number of runs per cell) into docs/reliability.md,
# between the matrix markers; then the full kill tests (ctest label
# reliability: 1000 killed saves of each kind of project file), printing one
# line of figures per test for the kill table of docs/reliability.md.
#   scripts/fault-matrix.sh [BUILD_DIR]
set -euo pipefail
cd "$(dirname "$0")/.."
build=${1:-build}
binary=$build/tests/vantor_fault_matrix
[ -x "$binary" ] || { echo "no $binary: build the target vantor_fault_matrix first" >&2; exit 2; }
log=$(mktemp)
trap 'rm -f "$log"' EXIT
"$binary" >"$log" 2>&1 || true
python3 - "$log" docs/reliability.md <<'PY'
import re, sys
log, doc = sys.argv[1], sys.argv[2]
rows, cols, result, runs = [], [], {}, {}
for line in open(log, encoding='utf-8'):
    m = re.match(r'\[ runs     \] (\w+?)__(\w+) (\d+)', line)
    if m:
        runs[(m[1], m[2])] = int(m[3])
    m = re.match(r'\[ +(OK|FAILED|SKIPPED) +\] Matrix/FaultCell\.\w+/(\w+?)__(\w+)( \(|,|$)', line)
    if m:
        row, col = m[2], m[3]
        if row not in rows:
            rows.append(row)
        if col not in cols:
            cols.append(col)
        result.setdefault((row, col), m[1])
cells = {k: v for k, v in result.items()}
applicable = [k for k, v in cells.items() if v != 'SKIPPED']
passed = [k for k in applicable if cells[k] == 'OK']
total_runs = sum(runs.get(k, 0) for k in applicable)
out = ['| fault class | ' + ' | '.join(r.replace('_', ' ') for r in rows) + ' |',
       '|---|' + '---|' * len(rows)]
for c in cols:
    line = '| ' + c.replace('_', ' ') + ' |'
    for r in rows:
        v = cells.get((r, c))
        if v == 'OK':
            line += ' pass (%d) |' % runs.get((r, c), 0)
        elif v == 'FAILED':
            line += ' **FAIL** (%d) |' % runs.get((r, c), 0)
        else:
            line += ' n/a |'
    out.append(line)
summary = '%d exchanges x %d fault classes: %d applicable cells, %d pass, %d fail; %d runs in all.' % (
    len(rows), len(cols), len(applicable), len(passed), len(applicable) - len(passed), total_runs)
text = open(doc, encoding='utf-8').read()
begin, end = '<!-- matrix begin -->', '<!-- matrix end -->'
if begin not in text or end not in text:
    sys.exit('docs/reliability.md lacks the matrix markers')
head, rest = text.split(begin, 1)
_, tail = rest.split(end, 1)
open(doc, 'w', encoding='utf-8').write(head + begin + '\n' + summary + '\n\n' + '\n'.join(out) + '\n' + end + tail)
print(summary)
PY

echo "Kill tests (label reliability), one at a time:"
ctest --test-dir "$build" -L '^reliability$' --timeout 120 -V 2>&1 |
    sed -n 's/^[0-9]*: \([0-9]* kills of .*\)/\1/p; s/^.*Test *#[0-9]*: \(reliability[^ ]*\) \.* *\([^ ]*\) *\([0-9.]*\) sec$/\1: \2 in \3 s/p'
