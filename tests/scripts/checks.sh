# Shared by the script tests: named checks that count their failures.
# shellcheck shell=bash

failures=0
check() { # check DESCRIPTION COMMAND...
    if ! "${@:2}"; then
        echo "FAILED: $1" >&2
        failures=$((failures + 1))
    fi
}
same() { [ "$1" = "$2" ]; }
# The bytes of a file, or of standard input, as od shows them on one line.
bytes_of() { od -An -c "$@" | tr -s ' \n' ' '; }
