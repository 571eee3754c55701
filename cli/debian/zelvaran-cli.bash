# bash completion for zelvaran-cli                                    -*- shell-script -*-

_zelvaran_cli()
{
    local cur prev words cword split
    # -s: --opcion=valor is split, so the value is completed like one after --opcion.
    _init_completion -s || return

    # What is already on the line: nothing may follow --, and a passphrase and a password take
    # options of their own (long names may carry their accents).
    local i phrase='' password=''
    for ((i = 1; i < cword; i++)); do
        case ${words[i]} in
            --)
                return
                ;;
            -[pMdw]* | --frase* | --may?sculas | --cifra | --lista*)
                phrase=1
                ;;
            -[lcsftax]* | --longitud* | --clases* | --s?mbolos* | --formato* | --todas | \
                --sin-parecidos | --excluir*)
                password=1
                ;;
        esac
    done

    case $prev in
        -c | --clases)
            mapfile -t COMPREPLY < <(compgen -W 'cgn cgne cn c g n e' -- "$cur")
            return
            ;;
        -w | --lista)
            # A file of words, or - for standard input.
            _filedir
            return
            ;;
        -l | --longitud | -n | --cantidad | -p | --frase | -s | --s?mbolos | -f | --formato | \
            -S | --separador | -x | --excluir)
            # A value of the user's own: nothing to offer.
            return
            ;;
    esac
    # A value for an option that takes none, or an unknown one.
    $split && return

    local options='-n --cantidad -e --entropia -h --ayuda -V --version'
    [[ -z $phrase ]] && options+=' -l --longitud -c --clases -s --simbolos -f --formato -t --todas
        -a --sin-parecidos -x --excluir'
    [[ -z $password ]] && options+=' -p --frase -S --separador -M --mayusculas -d --cifra -w --lista'
    mapfile -t COMPREPLY < <(compgen -W "$options" -- "$cur")
}
complete -F _zelvaran_cli zelvaran-cli

# ex: filetype=sh
