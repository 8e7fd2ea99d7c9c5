#!/usr/bin/env bash
# A save killed with SIGKILL at a random moment never destroys the project:
# afterwards the target is byte for byte either the file that stood there
# before or the complete new one, and it opens.
#   kill_save_test.sh CLI DATA COMMAND EXT RUNS SEED
# COMMAND is resave (EXT vtc) or net-resave (EXT vncfg). The saved project is
# the demo project with every command repeated, so writing it takes a while.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
data=$(cd "$2" && pwd)
command=$3 ext=$4 runs=$5
RANDOM=$6
here=$(cd "$(dirname "$0")" && pwd)
show=show
[ "$ext" = vncfg ] && show=net-show
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

python3 "$here/../support/rewrite_project.py" "$data/demo.$ext" "$tmp/big.$ext" \
    "re.sub(r'(<Module [^>]*/>)', lambda m: m.group(1) * 400, t)" || exit 1
cp "$data/demo.$ext" "$tmp/old.$ext"
# The new file as an uninterrupted save writes it.
(cd "$data" && "$cli" "$command" "$tmp/big.$ext" "$tmp/new.$ext") || { echo "reference save failed"; exit 1; }
cmp -s "$tmp/old.$ext" "$tmp/new.$ext" && { echo "old and new must differ"; exit 1; }

# How long one save takes here (the quickest of three): the kills are
# spread over 1.5 times that, and over half a second at most, so a busy
# machine does not stretch the test.
span=
for _ in 1 2 3; do
    begin=$(date +%s%N)
    (cd "$data" && "$cli" "$command" "$tmp/big.$ext" "$tmp/timing.$ext") || exit 1
    took=$((($(date +%s%N) - begin) / 1000 * 3 / 2))
    [ -z "$span" ] || [ "$took" -lt "$span" ] && span=$took
done
[ "$span" -ge 1000 ] || span=1000
[ "$span" -le 500000 ] || span=500000

target=$tmp/target.$ext
old=0 new=0
for ((i = 0; i < runs; i++)); do
    cp "$tmp/old.$ext" "$target"
    us=$(((RANDOM * 32768 + RANDOM) % span + 1))
    # --foreground: timeout kills only the save and reaps it before the next
    # run (without it, SIGKILL to its own process group ends timeout first and
    # the killed save may still be exiting when a later save looks for it).
    (cd "$data" && exec timeout --foreground -s KILL "$(printf '%d.%06d' $((us / 1000000)) $((us % 1000000)))" \
        "$cli" "$command" "$tmp/big.$ext" "$target") >/dev/null 2>&1
    if cmp -s "$target" "$tmp/old.$ext"; then
        old=$((old + 1))
    elif cmp -s "$target" "$tmp/new.$ext"; then
        new=$((new + 1))
    else
        fail "run $i (killed after ${us} us): the target is neither the old nor the new file"
        cp "$target" "$tmp/../vantor-kill-damaged.$ext" 2>/dev/null
        continue
    fi
    if ((i % 100 == 0)); then
        (cd "$data" && "$cli" "$show" "$target" >/dev/null) || fail "run $i: the target does not open"
    fi
done
# A killed save may leave its temporary file beside the target (never the
# target itself); every completed save sweeps those of killed processes, so
# after one uninterrupted save none is left.
left=$(compgen -G "$target.tmp.*" | wc -l)
(cd "$data" && "$cli" "$command" "$tmp/big.$ext" "$target") || fail "the last save failed"
cmp -s "$target" "$tmp/new.$ext" || fail "the last save did not write the new file"
after=$(compgen -G "$target.tmp.*" | wc -l)
[ "$after" -eq 0 ] || fail "temporary files stay after an uninterrupted save: $(compgen -G "$target.tmp.*" | tr '\n' ' ')"
echo "$runs kills of $command within ${span} us: $old left the old file, $new the new one;" \
    "temporary files beside the target: $left before the last save, $after after it"
[ $((old + new)) -eq "$runs" ] || fail "only $((old + new)) of $runs runs left a whole file"
if [ "$failures" -ne 0 ]; then
    echo "$failures failure(s)" >&2
    exit 1
fi
