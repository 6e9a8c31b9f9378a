#!/bin/sh
# Fails when any program given needs an SDL library, directly or through another library it
# loads. Also checks that the programs do need FreeType, so a broken check cannot pass silently.
set -eu
status=0
for program in "$@"; do
    needed=$(readelf -d "$program" | sed -n 's/.*(NEEDED).*\[\(.*\)\]/\1/p')
    if [ -z "$needed" ]; then
        echo "FAIL: no libraries listed for $program" >&2
        status=1
        continue
    fi
    if echo "$needed" | grep -i 'sdl' >/dev/null; then
        echo "FAIL: $program links SDL: $(echo "$needed" | grep -i sdl | tr '\n' ' ')" >&2
        status=1
    fi
    if ldd "$program" | grep -i 'libsdl' >/dev/null; then
        echo "FAIL: $program loads SDL through its libraries" >&2
        status=1
    fi
    if ! echo "$needed" | grep 'libfreetype' >/dev/null; then
        echo "FAIL: $program does not link FreeType; is this the program that draws text?" >&2
        status=1
    fi
done
[ "$status" -eq 0 ] && echo "no SDL in: $*"
exit "$status"
