# shellcheck shell=bash
# Sourced by the benchmarks: build_of <vorpak binary> prints which build the
# binary comes from, so that every figure says what it was measured on:
#
#   <build folder>: <build type>, profile-guided|plain[, sanitizers]
#
# "profile-guided" is a build whose checker was compiled with the counts of
# its training run (-DVORPAK_PGO=ON, taken up only by optimised GCC builds),
# "plain" any other; an instrumented binary (the training's own) says so.
# The build is found by the CMakeCache.txt of the folder the binary was built
# in, searched upwards from the binary; a binary copied out of its build
# says that its build is unknown. A build configured before the cache kept
# VORPAK_PGO_IN_USE is told by its trained profile.
build_of() { # <vorpak binary>
    local dir cache trained=0
    dir=$(cd "$(dirname "$1")" && pwd)
    while [ ! -f "$dir/CMakeCache.txt" ] && [ "$dir" != / ]; do dir=$(dirname "$dir"); done
    cache=$dir/CMakeCache.txt
    if [ ! -f "$cache" ]; then
        echo "$1: build unknown (no CMakeCache.txt above it)"
        return
    fi
    [ -f "$dir/profile/trained" ] && trained=1
    awk -v dir="$dir" -v trained=$trained '
        /^[A-Za-z_]/ {
            name = substr($0, 1, index($0, "=") - 1)
            sub(/:[A-Z]+$/, "", name)
            value[name] = substr($0, index($0, "=") + 1)
        }
        function on(name) { return value[name] ~ /^(ON|on|On|TRUE|true|YES|yes|Y|1)$/ }
        END {
            pgo = ("VORPAK_PGO_IN_USE" in value) ? on("VORPAK_PGO_IN_USE") : trained
            kind = pgo ? "profile-guided" : "plain"
            if (value["VORPAK_PROFILE_GENERATE"] != "") kind = "instrumented for profiling"
            text = value["VORPAK_BUILD_TYPE_IN_USE"]
            if (text == "") text = value["CMAKE_BUILD_TYPE"]
            text = (text == "" ? "" : text ", ") kind
            if (on("VORPAK_SANITIZE")) text = text ", sanitizers"
            print dir ": " text
        }' "$cache"
}
