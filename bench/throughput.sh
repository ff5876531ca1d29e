#!/usr/bin/env bash
# Times vorpak on one large fixed-form listing made of the Applesoft corpus.
#
#   bench/throughput.sh <vorpak binary> [megabytes] [vorpak options...]
#
# The listing repeats the programs of ../shared/corpus/applesoft until it holds
# at least the given number of megabytes (20 by default). Every program line
# is numbered afresh (1, 2, 3, ...), so that no label repeats; lines without a
# line number (blank lines, other tools' comments) are left out. The listing
# is checked as a fixed_form file; options go before it. Reports the size,
# the wall time, the throughput in megabytes per second and the peak resident
# memory of the run.
set -eu
here=$(cd "$(dirname "$0")" && pwd)
vorpak=${1:?usage: $0 <vorpak binary> [megabytes] [vorpak options...]}
megabytes=${2:-20}
shift
[ $# -gt 0 ] && shift
corpus=$here/../../shared/corpus/applesoft
[ -d "$corpus" ] || { echo "no corpus at $corpus" >&2; exit 2; }

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
listing=$work/listing.bas
limit=$((megabytes * 1024 * 1024))

export LC_ALL=C # the listing is handled as bytes
: >"$listing"
lines=0
size=0
while [ "$size" -lt "$limit" ]; do
    awk -v n="$lines" '
        { sub(/\r$/, "") }
        /^[ \t]*[0-9]/ { sub(/^[ \t]*[0-9]+/, ""); n++; print n $0 }
        END { print n > "/dev/stderr" }' "$corpus"/* >>"$listing" 2>"$work/lines"
    lines=$(cat "$work/lines")
    size=$(stat -c %s "$listing")
done

status=0
/usr/bin/time -f "%e %M" -o "$work/time" "$vorpak" "$@" "$listing" >/dev/null \
    2>"$work/stderr" || status=$?
# time writes a line of its own first when the status is not 0.
read -r seconds peak_kb < <(tail -n 1 "$work/time")
diagnostics=$(grep -c ': error: \|: warning: ' "$work/stderr" || true)

awk -v size="$size" -v lines="$lines" -v s="$seconds" -v kb="$peak_kb" \
    -v d="$diagnostics" -v st="$status" 'BEGIN {
    mb = size / 1048576
    printf "listing: %.1f MB, %d lines\n", mb, lines
    printf "time: %.2f s, %.2f MB/s\n", s, (s > 0 ? mb / s : 0)
    printf "peak memory: %.1f MB\n", kb / 1024
    printf "diagnostics: %d, exit status %d\n", d, st
}'
