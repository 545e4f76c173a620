#!/usr/bin/env bash
# The man pages and the bash completion keep up with the programs: every command and option the
# programs' --help lists is in them, and the completion completes what a person types.
# Usage: docs_follow_cli.sh VEDOZER VEDOZER_DEFSERVER SOURCE_DIR
set -uo pipefail
vedozer=$1 defserver=$2 src=$3
man_vedozer=$src/man/vedozer.1 man_defserver=$src/man/vedozer-defserver.1
comp_vedozer=$src/packaging/completion/vedozer comp_defserver=$src/packaging/completion/vedozer-defserver
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

# Options as the help prints them (long names only), and the names of the sub commands.
options_of() { "$@" --help | grep -oE '^  (-[a-z], ?)?--[a-z][a-z-]*' | grep -oE -- '--[a-z][a-z-]*' | grep -vx -- --help; }
commands_of() { "$@" --help | sed -n '/^Subcommands:/,/^$/p' | grep -oE '^  [a-z][a-z-]*' | tr -d ' '; }
# Roff writes a dash as \-.
in_man() { sed 's/\\-/-/g' "$2" | grep -E -- "(^|[^a-z-])$1([^a-z-]|$)" >/dev/null; }

commands=$(commands_of "$vedozer")
[ -n "$commands" ] || fail "no commands read from vedozer --help"
for c in $commands; do
    in_man "$c" "$man_vedozer" || fail "vedozer.1 does not describe the command $c"
    grep -qE "commands=\"[^\"]*\\b$c\\b" "$comp_vedozer" || fail "the completion does not offer the command $c"
    for o in $(options_of "$vedozer" "$c"); do
        in_man "$o" "$man_vedozer" || fail "vedozer.1 lacks $o (vedozer $c)"
        grep -qE -- "(^|[ \"])$o([ \"]|$)" "$comp_vedozer" || fail "the completion lacks $o (vedozer $c)"
    done
    for s in $(commands_of "$vedozer" "$c"); do
        in_man "$s" "$man_vedozer" || fail "vedozer.1 does not describe $c $s"
        for o in $(options_of "$vedozer" "$c" "$s"); do
            in_man "$o" "$man_vedozer" || fail "vedozer.1 lacks $o (vedozer $c $s)"
            grep -qE -- "(^|[ \"])$o([ \"]|$)" "$comp_vedozer" || fail "the completion lacks $o (vedozer $c $s)"
        done
    done
done
for o in $(options_of "$vedozer"); do
    in_man "$o" "$man_vedozer" || fail "vedozer.1 lacks the global option $o"
done
for o in $(options_of "$defserver") $(options_of "$defserver" export) $(options_of "$defserver" keygen); do
    in_man "$o" "$man_defserver" || fail "vedozer-defserver.1 lacks $o"
    grep -qE -- "(^|[ \"])$o([ \"]|$)" "$comp_defserver" || fail "the defserver completion lacks $o"
done

# The completion itself, as bash runs it (without the bash-completion package's helpers).
complete_line() {  # words... -> the candidates for the last word, one line
    bash -c 'source "$1"; shift; COMP_WORDS=("$@"); COMP_CWORD=$(($# - 1)); COMPREPLY=()
             "$(complete -p "$1" | awk "{print \$3}")"; printf "%s " "${COMPREPLY[@]}"' _ "$comp" "$@"
}
expect() {  # expected-candidates words...
    local want=$1; shift
    local got; got=$(complete_line "$@" | xargs -n1 | sort | xargs)
    [ "$got" = "$want" ] || fail "completing '$*': got '$got', want '$want'"
}
comp=$comp_vedozer
expect "scan settings submit" vedozer s
expect "restore restore-point" vedozer --target /mnt/win quarantine re
expect "--remove --report" vedozer --target /mnt/win scan --re
expect "--all" vedozer quarantine restore --al
expect "--force" vedozer language make-file --f
expect "count" vedozer --data-dir /tmp defs co
expect "--target" vedozer scan --tar
comp=$comp_defserver
expect "export" vedozer-defserver ex
expect "--collector" vedozer-defserver export --col

if [ "$failures" -ne 0 ]; then
    echo "$failures problems"
    exit 1
fi
echo "man pages and completion follow the command line"
