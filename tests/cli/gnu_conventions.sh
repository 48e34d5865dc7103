#!/usr/bin/env bash
# Checks one installed-style program against the GNU command-line habits:
# --help and --version answer on standard output with status 0, even without
# a display; a wrong option is named on standard error with a hint to --help
# and status 2; and the options --help lists are the ones its manual page
# documents.
# Usage: gnu_conventions.sh PROGRAM MANUAL_PAGE_SOURCE
set -uo pipefail
program="$1"
manual="$2"
name="$(basename "$program")"
failures=0
out="$(mktemp)"; err="$(mktemp)"
trap 'rm -f "$out" "$err"' EXIT

fail() { echo "FAIL: $name $*"; failures=$((failures + 1)); }

# run ENVIRONMENT... -- ARGUMENTS...: status in $status, texts in $out/$err
run() {
    local settings=()
    while [ "$1" != "--" ]; do settings+=("$1"); shift; done
    shift
    env "${settings[@]}" "$program" "$@" </dev/null >"$out" 2>"$err"
    status=$?
}

no_display=(-u DISPLAY -u WAYLAND_DISPLAY -u QT_QPA_PLATFORM)
offscreen=(QT_QPA_PLATFORM=offscreen)

# arguments | environment | status | first line of stdout (regex) | stderr (regex, "" = empty)
while IFS='|' read -r arguments environment expected first_line error; do
    [ -z "$arguments" ] && continue
    case "$environment" in
        none) settings=("${no_display[@]}") ;;
        offscreen) settings=("${offscreen[@]}") ;;
    esac
    # shellcheck disable=SC2086  # the arguments column is split on purpose
    run "${settings[@]}" -- $arguments
    [ "$status" -eq "$expected" ] || fail "$arguments: status $status, expected $expected"
    if [ -n "$first_line" ] && ! head -n 1 "$out" | grep -Eq "$first_line"; then
        fail "$arguments: first line of standard output is '$(head -n 1 "$out")'"
    fi
    if [ -z "$error" ] && [ -s "$err" ]; then
        fail "$arguments: unexpected standard error: $(cat "$err")"
    elif [ -n "$error" ] && ! grep -Eq "$error" "$err"; then
        fail "$arguments: standard error does not match '$error': $(cat "$err")"
    fi
done <<TABLE
--help|none|0|^Usage: $name \[OPTION\]\.\.\.( .+)?$|
-h|none|0|^Usage: $name \[OPTION\]\.\.\.( .+)?$|
--version|none|0|^$name( \(zentorix\))? [0-9]+(\.[0-9]+)+$|
-V|none|0|^$name( \(zentorix\))? [0-9]+(\.[0-9]+)+$|
--no-such-option|offscreen|2||^$name: unrecognized option '--no-such-option'$
--no-such-option|offscreen|2||^Try '$name --help' for more information\.$
TABLE

run "${no_display[@]}" -- --help
grep -q '^Report bugs to: <' "$out" || fail "--help names no place to report bugs"
# Option lines start "  -x, --name" or "      --name"; wrapped descriptions start further in.
help_options="$(grep -E '^  (-[A-Za-z], |    )--[a-z]' "$out" | grep -Eo -- '--[a-z][a-z-]*' |
    sort -u)"
manual_options="$(sed -n '/^# OPTIONS/,/^# [A-Z]/p' "$manual" | grep -E '^\*-' |
    grep -Eo -- '\*--[a-z][a-z-]*' | tr -d '*' | sort -u)"
if [ "$help_options" != "$manual_options" ]; then
    fail "--help and $(basename "$manual") list different options:"
    diff <(echo "$help_options") <(echo "$manual_options") | sed 's/^/    /'
fi

if [ "$failures" -ne 0 ]; then
    echo "$name: $failures convention(s) broken"
    exit 1
fi
echo "$name: --help, --version, wrong options and the manual page agree"
