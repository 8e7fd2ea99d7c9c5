#!/usr/bin/env bash
# The core's folders form layers that point one way: a folder includes only
# folders of lower layers (and itself). services/ is the top of Vantor's
# layers; net/ and load/ sit beside it and may use everything below, and
# each other's shared pieces. workbook/ (projects as workbooks) sits above:
# it runs the editing, service and VantorNet operations on imported rows.
# fleet/ (many gateways commissioned at once) sits on the exchanges of both
# programs. text/ (encodings, numbers, the texts in the user's language) lies
# below them all: even common/'s messages are marked with it.
#   core_layers_test.sh CORE_DIR
set -euo pipefail
core=$1
declare -A rank=([text]=-1 [common]=0 [picture]=0 [markup]=1 [sheet]=1 [model]=2 [view]=3 [editing]=3
                 [transfer]=4 [services]=5 [net]=6 [load]=6 [workbook]=7 [fleet]=8)
failures=0
for dir in "$core"/*/; do
    folder=$(basename "$dir")
    if [ -z "${rank[$folder]+x}" ]; then
        echo "FAIL: core/$folder has no place in the layers (add it to this test)"
        failures=$((failures + 1))
        continue
    fi
    while IFS=: read -r file used; do
        [ "$used" = "$folder" ] && continue
        if [ -z "${rank[$used]+x}" ]; then
            echo "FAIL: $file includes $used/, which is not a core folder"
            failures=$((failures + 1))
        elif [ "${rank[$used]}" -ge "${rank[$folder]}" ] && ! { [ "${rank[$folder]}" -eq 6 ] && [ "${rank[$used]}" -eq 6 ]; }; then
            echo "FAIL: $file (core/$folder) includes $used/, a layer not below it"
            failures=$((failures + 1))
        fi
    done < <(grep -o '#include "[a-z]*/' "$dir"* 2>/dev/null | sed 's#^\([^:]*\):\#include "\([a-z]*\)/#\1:\2#' | sort -u)
done
[ "$failures" -eq 0 ] || exit 1
echo "core layers: every include points down"
