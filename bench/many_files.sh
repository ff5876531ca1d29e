#!/usr/bin/env bash
# vorpak on many files in one command: peak memory must stay flat however
# many files are named, and each file's diagnostics must come out in the
# order the files are named, exactly as when each file is checked alone.
#
#   bench/many_files.sh <vorpak binary> [rounds]            (default: 10)
#
# Per dialect (fixed and free over tests/corpus/applesoft, uk101 over
# tests/corpus/uk101) it runs vorpak once on every corpus file, then on
# the whole corpus named `rounds` times over in one command, and reports the
# files checked, the wall time, the peak resident memory of both runs and
# whether the output of the long run is the single run's output repeated.
# The single run's output is itself compared with the files checked one by
# one. Exit status 1 if an output differs. The first line says which build
# the binary comes from (bench/build_of.sh): profile-guided
# (-DVORPAK_PGO=ON) or plain, the default.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/build_of.sh
. "$here/build_of.sh"
vorpak=${1:?usage: $0 <vorpak binary> [rounds]}
vorpak=$(cd "$(dirname "$vorpak")" && pwd)/$(basename "$vorpak")
rounds=${2:-10}
corpus=$(cd "$here/../tests/corpus" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
export PWD=$corpus
cd "$corpus"

# Wall time (s) and peak resident memory (KB) of one run; its standard error
# goes to the given file.
run() { # <stderr file> <args...>
    local err=$1 t0 t1
    shift
    t0=$EPOCHREALTIME
    /usr/bin/time -f "%M" -o "$work/time" "$vorpak" "$@" >/dev/null 2>"$err" || true
    t1=$EPOCHREALTIME
    echo "$(awk -v a="$t0" -v b="$t1" 'BEGIN { printf "%.2f", b - a }') $(tail -n 1 "$work/time")"
}

status=0
echo "vorpak of $(build_of "$vorpak")"
printf '%-6s %6s %8s %8s | %6s %8s %8s  %s\n' dialect files "s" "peak MB" files "s" "peak MB" output
for d in fixed free uk101; do
    case $d in uk101) files=(uk101/*) ;; *) files=(applesoft/*) ;; esac
    # Each file alone, for the expected output; the exit status of a run
    # is not compared, only what it writes.
    : >"$work/alone"
    for f in "${files[@]}"; do
        "$vorpak" "-$d" "$f" >/dev/null 2>>"$work/alone" || true
    done
    read -r s1 kb1 < <(run "$work/once" "-$d" "${files[@]}")
    many=()
    : >"$work/expected"
    for ((r = 0; r < rounds; r++)); do
        many+=("${files[@]}")
        cat "$work/once" >>"$work/expected"
    done
    read -r s2 kb2 < <(run "$work/many" "-$d" "${many[@]}")
    verdict="same"
    if ! cmp -s "$work/alone" "$work/once"; then
        verdict="differs from the files checked one by one"
        status=1
    elif ! cmp -s "$work/expected" "$work/many"; then
        verdict="differs from the single run repeated"
        status=1
    fi
    printf '%-6s %6d %8s %8.1f | %6d %8s %8.1f  %s\n' "$d" "${#files[@]}" "$s1" \
        "$(awk -v k="$kb1" 'BEGIN { print k / 1024 }')" "${#many[@]}" "$s2" \
        "$(awk -v k="$kb2" 'BEGIN { print k / 1024 }')" "$verdict"
done
exit $status
