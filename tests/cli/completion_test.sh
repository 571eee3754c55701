#!/usr/bin/env bash
# The bash completion of zelvaran-cli, driven as bash drives it: each row is a command line split
# into words the way bash splits it (so "--clases=" is three words), and what is offered.
set -uo pipefail
library=/usr/share/bash-completion/bash_completion
[ -r "$library" ] || { echo "needs bash-completion (apt install bash-completion)" >&2; exit 1; }
# shellcheck source=/dev/null
source "$library"
# shellcheck source=/dev/null
source "$1"

failed=0
sorted() { printf '%s\n' "$@" | sort | tr '\n' ' ' | sed 's/^ *//; s/ *$//'; }
# check "EXPECTED WORDS" WORD...: what is offered for the last word, typed up to its end.
check() {
    local expected=$1
    shift
    COMP_WORDS=("$@")
    COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
    # bash puts a blank between words only where the user typed one, not around '='.
    COMP_LINE=$(printf '%s ' "$@" | sed 's/ = /=/g; s/ =$/=/; s/ $//')
    COMP_POINT=${#COMP_LINE}
    COMPREPLY=()
    _zelvaran_cli zelvaran-cli "${COMP_WORDS[COMP_CWORD]}" "${COMP_WORDS[COMP_CWORD - 1]}"
    local got
    got=$(sorted "${COMPREPLY[@]}")
    if [ "$got" != "$expected" ]; then
        echo "after '$COMP_LINE': offered '$got', expected '$expected'" >&2
        failed=1
    fi
}

common=(--ayuda --cantidad --entropia --version -V -e -h -n)
check 'c cgn cgne cn e g n' zelvaran-cli --clases =
check 'cgn cgne' zelvaran-cli --clases = cg
check 'cgn cgne' zelvaran-cli -c cg
check '--lista --longitud' zelvaran-cli --l
check '' zelvaran-cli --entropia =
check '' zelvaran-cli -f ''
check '' zelvaran-cli -- ''
check '' zelvaran-cli -x ''
# A passphrase takes no length, classes, symbols or template; a password none of the phrase's.
phrase=$(sorted "${common[@]}" --cifra --frase --lista --mayusculas --separador -M -S -d -p -w)
check "$phrase" zelvaran-cli -p 4 -
check "$phrase" zelvaran-cli --may$'\u00FA'sculas -
password=$(sorted "${common[@]}" --clases --excluir --formato --longitud --simbolos --sin-parecidos \
    --todas -a -c -f -l -s -t -x)
check "$password" zelvaran-cli -l 8 -
check "$password" zelvaran-cli --s$'\u00ED'mbolos x -
exit $failed
