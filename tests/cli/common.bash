# Shared by the command-line tests: the vantor-cli binary and the data
# folder as absolute paths, a temporary folder, failure counting and project
# variants. Sourced by each script with: CLI DATA as $1 $2.
set -u
cli=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
data=$(cd "$2" && pwd)
tmp=$(mktemp -d)
trap 'rm -rf "$tmp"' EXIT
failures=0
fail() { echo "FAIL: $*" >&2; failures=$((failures + 1)); }

# project_variant SRC OUT PYTHON-EXPR: SRC with its markup text `t` rewritten.
project_variant() {
    python3 "$(dirname "${BASH_SOURCE[0]}")/../support/rewrite_project.py" "$@"
}
