# Sourced by the tests that run a program as an ordinary user. lsan_beside DIR: the leak
# checker's suppressions (named in LSAN_OPTIONS, under the sanitizers) are copied into DIR,
# beside the program's copy, and LSAN_OPTIONS names the copy: the ordinary user may not read the
# checkout's (a checkout in root's home, mode 0700 on Debian), and the leak checker aborts then.
lsan_beside() {
    case "${LSAN_OPTIONS:-}" in *suppressions=*) ;; *) return 0 ;; esac
    lsan_file=$(printf '%s\n' "$LSAN_OPTIONS" | tr ':' '\n' | sed -n 's/^suppressions=//p' | head -n 1)
    [ -f "$lsan_file" ] || return 0
    cp "$lsan_file" "$1/lsan.supp"
    chmod 644 "$1/lsan.supp"
    LSAN_OPTIONS=$(printf '%s\n' "$LSAN_OPTIONS" | sed "s|suppressions=[^:]*|suppressions=$1/lsan.supp|")
    export LSAN_OPTIONS
}
