#!/usr/bin/env bash
# Checks that two vorpak binaries answer alike: same standard output, standard
# error and exit status for every corpus file, one file per run and all files
# in one run, in every dialect, with and without the case options and at
# every trace level. Meant for optimisations, which must change no byte.
#
#   bench/same_output.sh <reference vorpak> <vorpak under test>
#
# Prints which build each binary comes from (bench/build_of.sh), e.g. a plain
# and a profile-guided one, then each differing run; exits 1 if any differs.
set -u
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/build_of.sh
. "$here/build_of.sh"
ref=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
new=$(cd "$(dirname "$2")" && pwd)/$(basename "$2")
echo "reference:  $(build_of "$ref")"
echo "under test: $(build_of "$new")"
corpus=$(cd "$here/../tests/corpus" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PWD=$corpus
cd "$corpus"

differ=0
runs=0
# Runs both binaries with the given arguments and compares what they write.
compare() {
    runs=$((runs + 1))
    "$ref" "$@" >"$work/o1" 2>"$work/e1"
    echo $? >"$work/s1"
    "$new" "$@" >"$work/o2" 2>"$work/e2"
    echo $? >"$work/s2"
    if ! cmp -s "$work/o1" "$work/o2" || ! cmp -s "$work/e1" "$work/e2" ||
        ! cmp -s "$work/s1" "$work/s2"; then
        differ=$((differ + 1))
        echo "differs: vorpak $*"
    fi
}

for opts in "-fixed" "-fixed -case" "-fixed -no-case" "-uk101" "-free" "-free -case" \
    "-free -no-case"; do
    case $opts in -uk101) files=(uk101/*) ;; *) files=(applesoft/*) ;; esac
    # shellcheck disable=SC2086
    compare $opts "${files[@]}"
    for debug in "" "-debug" "-debug=2"; do
        for f in "${files[@]}"; do
            # shellcheck disable=SC2086
            compare $opts $debug -w "$f"
        done
    done
done
echo "$runs runs, $differ differ"
[ "$differ" -eq 0 ]
