#!/usr/bin/env bash
# Throughput and peak memory of vorpak per dialect, beside the floors of
# reading the same file with cat, wc -l and iconv (UTF-8 to UTF-16LE, with
# -c so that it reads past the Latin-1 bytes of one corpus program). Every
# command runs pinned to one core and is timed by the CPU time it uses (user
# plus system), so that a busy machine disturbs the figures little; the last
# column, vorpak's time over iconv's on the same file in the same run, is the
# figure to compare between machines, since absolute speeds differ. The
# first line says which build the binary comes from (bench/build_of.sh):
# profile-guided (-DVORPAK_PGO=ON) or plain, the default; quote it with
# the figures.
#
#   bench/throughput.sh <vorpak binary> [megabytes...]      (default: 1 10 50)
#
# For every dialect and size two listings are checked:
#   diag   the corpus programs as they are, so with the diagnostics they draw;
#   clean  only corpus lines that the dialect accepts, so without diagnostics
#          (the listing whose peak memory must not grow with its length).
# fixed and free listings come from tests/corpus/applesoft (free is the
# same text checked with -free), uk101 listings from tests/corpus/uk101.
# Every program line is numbered afresh (1, 2, 3, ...) so that no label
# repeats; lines without a line number are left out. A clean listing is the
# corpus less every line that drew a diagnostic, repeated until nothing more
# is drawn.
#
# Environment:
#   VORPAK_BENCH_RUNS      runs per measurement, the fastest counts (default 3)
#   VORPAK_BENCH_DIALECTS  dialects to measure (default "fixed uk101 free")
#   VORPAK_BENCH_CPU       the core every command is pinned to (default: the
#                          last core this script may run on)
#   VORPAK_BENCH_WORK      keep the listings in this directory (made if needed)
#                          and reuse them in later runs
set -eu
here=$(cd "$(dirname "$0")" && pwd)
# shellcheck source=bench/build_of.sh
. "$here/build_of.sh"
vorpak=${1:?usage: $0 <vorpak binary> [megabytes...]}
vorpak=$(cd "$(dirname "$vorpak")" && pwd)/$(basename "$vorpak")
shift
sizes=${*:-1 10 50}
runs=${VORPAK_BENCH_RUNS:-3}
dialects=${VORPAK_BENCH_DIALECTS:-fixed uk101 free}
corpus=$here/../tests/corpus
[ -d "$corpus/applesoft" ] && [ -d "$corpus/uk101" ] || {
    echo "no corpus at $corpus" >&2
    exit 2
}

if [ -n "${VORPAK_BENCH_WORK:-}" ]; then
    work=$VORPAK_BENCH_WORK
    mkdir -p "$work"
else
    work=$(mktemp -d)
    trap 'rm -rf "$work"' EXIT
fi
export LC_ALL=C # listings are handled as bytes
export PWD=$work
cd "$work"

cpu=${VORPAK_BENCH_CPU:-$(taskset -cp $$ | awk -F'[:,-]' '{ print $NF + 0 }')}

corpus_of() { case $1 in uk101) echo "$corpus/uk101" ;; *) echo "$corpus/applesoft" ;; esac; }

# One pass over a corpus: its numbered lines, numbered afresh from 1 (or
# from the given first number).
numbered_lines() { # <corpus dir> [first number]
    awk -v n=$((${2:-1} - 1)) '{ sub(/\r$/, "") }
         /^[ \t]*[0-9]/ { sub(/^[ \t]*[0-9]+/, ""); n++; print n $0 }' "$1"/*
}

# The lines of a file that have a diagnostic in vorpak's standard error.
flagged_lines() { # <stderr file> <listing name>
    awk -v f="$2:" 'index($0, f) == 1 { split(substr($0, length(f) + 1), a, ":"); print a[1] }' \
        "$1" | sort -n -u
}

# The lines of one pass over the corpus that the dialect accepts: lines that
# drew a diagnostic are dropped until a run draws none (at most 20 rounds).
# Lines longer than the 255 characters that the reader keeps are left out,
# since their cut would fall elsewhere under another number; the lines are
# tried with seven-digit numbers, as wide as any in a listing of up to some
# hundred megabytes.
clean_lines() { # <dialect> <output>
    local d=$1 out=$2 round=0
    numbered_lines "$(corpus_of "$d")" 1000000 | awk 'length($0) <= 255' >"$out"
    while [ $round -lt 20 ]; do
        cp "$out" probe.bas
        "$vorpak" "-$d" probe.bas >/dev/null 2>probe.err || true
        flagged_lines probe.err probe.bas >probe.lines
        [ -s probe.lines ] || break
        awk 'NR == FNR { drop[$1] = 1; next } !(FNR in drop)' probe.lines probe.bas >"$out"
        round=$((round + 1))
    done
    rm -f probe.bas probe.err probe.lines
}

# Repeats the lines of a file, numbered afresh, until the output holds at
# least the given number of megabytes.
repeat_to() { # <lines file> <megabytes> <output>
    awk -v limit=$(($2 * 1048576)) '
        { sub(/^[0-9]+/, ""); line[NR] = $0 }
        END {
            if (NR == 0) exit 1
            for (size = 0; size < limit;) {
                for (i = 1; i <= NR && size < limit; i++) {
                    n++; s = n line[i]; print s; size += length(s) + 1
                }
            }
        }' "$1" >"$3"
}

# Least CPU time (s, user plus system) and largest peak resident memory (KB)
# of a command over the runs, pinned to the chosen core; its standard error
# is kept from the last run. The CPU time is taken by the shell's time
# (milliseconds), the peak by /usr/bin/time.
measure() { # <stderr file> <command...>
    local err=$1 best="" peak=0 i s kb TIMEFORMAT='%3U %3S'
    shift
    for ((i = 0; i < runs; i++)); do
        { time taskset -c "$cpu" /usr/bin/time -f "%M" -o time.out "$@" >/dev/null 2>"$err" || true; } 2>cpu.out
        s=$(awk '{ printf "%.3f", $1 + $2 }' cpu.out)
        kb=$(tail -n 1 time.out)
        if [ -z "$best" ] || awk -v a="$s" -v b="$best" 'BEGIN { exit !(a < b) }'; then best=$s; fi
        [ "$kb" -gt "$peak" ] && peak=$kb
    done
    echo "$best $peak"
}

mbps() { awk -v b="$1" -v s="$2" 'BEGIN { if (s > 0) printf "%.1f", b / 1048576 / s; else printf "inf" }'; }
ratio() { awk -v a="$1" -v b="$2" 'BEGIN { if (b > 0) printf "%.1fx", a / b; else printf "-" }'; }

echo "vorpak of $(build_of "$vorpak")"
echo "pinned to core $cpu; MB/s from CPU time"
printf '%-6s %-6s %6s %9s %9s %8s | %9s %9s %9s | %8s\n' dialect kind MB diags "MB/s" "peak MB" \
    "cat MB/s" "wc MB/s" "iconv MB/s" "/ iconv"
for d in $dialects; do
    [ -s "$d.diag.lines" ] || numbered_lines "$(corpus_of "$d")" >"$d.diag.lines"
    [ -s "$d.clean.lines" ] || clean_lines "$d" "$d.clean.lines"
    for mb in $sizes; do
        for kind in diag clean; do
            listing=$d.$kind.$mb.bas
            [ -s "$listing" ] || repeat_to "$d.$kind.lines" "$mb" "$listing"
            bytes=$(stat -c %s "$listing")
            read -r s kb < <(measure run.err "$vorpak" "-$d" "$listing")
            diags=$(grep -c ': error: \|: warning: \|: info:' run.err || true)
            read -r cs _ < <(measure /dev/null cat "$listing")
            read -r ws _ < <(measure /dev/null wc -l "$listing")
            read -r is _ < <(measure /dev/null iconv -c -f UTF-8 -t UTF-16LE "$listing")
            printf '%-6s %-6s %6.1f %9d %9s %8.1f | %9s %9s %9s | %8s\n' "$d" "$kind" \
                "$(awk -v b="$bytes" 'BEGIN { print b / 1048576 }')" "$diags" "$(mbps "$bytes" "$s")" \
                "$(awk -v k="$kb" 'BEGIN { print k / 1024 }')" "$(mbps "$bytes" "$cs")" \
                "$(mbps "$bytes" "$ws")" "$(mbps "$bytes" "$is")" "$(ratio "$s" "$is")"
        done
    done
done
