#!/usr/bin/env bash
# Runs the vorpak binary on every end-to-end case and compares its output.
#
# A case is a directory under the cases root holding:
#   args    the command-line arguments, one per line (may be empty)
#   stderr  the exact expected standard error
#   status  the expected exit status
#   stdout  (optional) the exact expected standard output
#   env     (optional) "unset NAME" or "NAME=value" lines applied before the run
# plus whatever BASIC files the arguments name. The binary runs inside the
# case directory, with PWD set to it unless env says otherwise.
set -u
vorpak=$1
root=$2
failed=0
count=0
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT

for dir in "$root"/*/; do
    dir=${dir%/}
    name=${dir##*/}
    count=$((count + 1))
    args=()
    if [ -f "$dir/args" ]; then
        while IFS= read -r a || [ -n "$a" ]; do args+=("$a"); done <"$dir/args"
    fi
    (
        cd "$dir" || exit 99
        export PWD="$dir"
        if [ -f env ]; then
            while IFS= read -r e || [ -n "$e" ]; do
                case "$e" in
                "unset "*) unset "${e#unset }" ;;
                *=*) export "$e" ;;
                esac
            done <env
        fi
        timeout 60 "$vorpak" ${args[@]+"${args[@]}"} >"$work/out" 2>"$work/err"
        echo $? >"$work/status"
    )
    ok=1
    if ! cmp -s "$work/err" "$dir/stderr"; then
        echo "FAIL $name: standard error differs (expected, then actual):"
        diff "$dir/stderr" "$work/err" | head -n 40
        ok=0
    fi
    if [ -f "$dir/stdout" ] && ! cmp -s "$work/out" "$dir/stdout"; then
        echo "FAIL $name: standard output differs (expected, then actual):"
        diff "$dir/stdout" "$work/out" | head -n 40
        ok=0
    fi
    want=$(tr -d '[:space:]' <"$dir/status")
    got=$(cat "$work/status")
    if [ "$want" != "$got" ]; then
        echo "FAIL $name: exit status $got, expected $want (arguments: ${args[*]+${args[*]}})"
        ok=0
    fi
    [ $ok = 1 ] || failed=$((failed + 1))
done

echo "$count end-to-end cases, $failed failed"
[ $failed = 0 ]
