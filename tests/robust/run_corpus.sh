#!/usr/bin/env bash
# Runs vorpak over every listing of the corpus, in the dialect its name
# implies and in each dialect by option (with long-line warnings), and checks
# that no run crashes or hangs, that the exit status is 0 or 255, that
# standard output stays empty, and that every line of standard error is a
# diagnostic of that file at one of its lines, or the empty line and the
# "Parsed with Errors:" trailer that close a failed file. An "exception:" line
# fails the run too: a real listing must not make the checker throw.
#
# usage: run_corpus.sh <vorpak> <corpus dir>   (the corpus dir holds one
# folder per source, e.g. applesoft/ and uk101/, with the listings in it)
set -u
vorpak=$1
corpus=$(cd "$2" && pwd)
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

# One run: prints nothing when it is sound, else one FAIL line per fault.
check_one() {
    local vorpak=$1 work=$2 file=$3
    shift 3
    local tag
    tag=$(printf '%s %s' "$file" "$*" | tr '/ ' '__')
    local out="$work/$tag.out" err="$work/$tag.err"
    timeout 300 "$vorpak" "$@" "$file" >"$out" 2>"$err"
    local status=$?
    local what="vorpak $* $file"
    case $status in
    0 | 255) ;;
    124)
        echo "FAIL $what: no result within 300 s (hang)"
        return
        ;;
    *)
        echo "FAIL $what: exit status $status; standard error begins:"
        head -n 20 "$err"
        return
        ;;
    esac
    if [ -s "$out" ]; then
        echo "FAIL $what: standard output is not empty:"
        head -n 5 "$out"
    fi
    # Lines of the file as the reader counts them: every LF ends one, and a
    # last line without LF counts too. An empty file still has line 1.
    local lines
    lines=$(awk 'END { print (NR > 0 ? NR : 1) }' "$file")
    awk -v file="$file" -v status="$status" -v lines="$lines" -v what="$what" '
        function fail(msg) {
            printf "FAIL %s: standard error line %d %s: %s\n", what, NR, msg, substr($0, 1, 200)
            bad = 1
            exit
        }
        {
            if (trailer) fail("follows the trailer")
            if ($0 == "") { empty = NR; next }
            if ($0 == "Parsed with Errors: " file) {
                if (empty != NR - 1) fail("is the trailer without the empty line before it")
                trailer = 1
                next
            }
            if (empty) fail("follows an empty line but is not the trailer")
            if (index($0, "exception:") == 1) fail("reports an exception")
            if (index($0, file ":") != 1) fail("does not begin with the file name")
            rest = substr($0, length(file) + 2)
            if (!match(rest, /^[0-9]+:/)) fail("has no line number")
            n = substr(rest, 1, RLENGTH - 1) + 0
            if (n < 1 || n > lines) fail("names line " n " of a file of " lines " lines")
            kind = substr(rest, RLENGTH + 1)
            if (kind ~ /^ error: (syntax|semantic|type|link):/) errors = 1
            else if (kind !~ /^ (warning: |info:)/) fail("has no diagnostic kind")
        }
        END {
            if (bad) exit
            if (empty && !trailer) { printf "FAIL %s: an empty line without the trailer\n", what; exit }
            if (status == 255 && !trailer) printf "FAIL %s: exit status 255 without the trailer\n", what
            if (status == 0 && (trailer || errors)) printf "FAIL %s: exit status 0 after errors\n", what
        }' "$err"
}
export -f check_one

cd "$corpus" || exit 1
export PWD="$corpus"
files=()
for f in */*; do
    [ -f "$f" ] && files+=("$f")
done
if [ ${#files[@]} -eq 0 ]; then
    echo "no listings under $corpus"
    exit 1
fi

# Each listing in its implied dialect, then in each dialect by option.
export vorpak work
report="$work/report"
jobs=$(nproc 2>/dev/null || echo 2)
for f in "${files[@]}"; do
    printf '%s\0%s\0' "$f" "" "$f" "-w -fixed" "$f" "-w -free" "$f" "-w -uk101"
done | xargs -0 -n 2 -P "$jobs" bash -c 'check_one "$vorpak" "$work" "$1" $2' _ >"$report"
runs=$((${#files[@]} * 4))

failed=$(grep -c '^FAIL' "$report")
cat "$report"
echo "$runs corpus runs over ${#files[@]} listings, $failed failed"
[ "$failed" = 0 ]
