# bash completion for zelvaran-cli                                    -*- shell-script -*-

_zelvaran_cli()
{
    local cur prev
    cur=${COMP_WORDS[COMP_CWORD]}
    prev=${COMP_WORDS[COMP_CWORD - 1]}

    case $prev in
        -c | --clases)
            COMPREPLY=($(compgen -W 'cgn cgne cn c g n e' -- "$cur"))
            return
            ;;
        -l | --longitud | -n | --cantidad | -p | --frase | -s | --simbolos | -f | --formato | \
            -S | --separador)
            # A value of the user's own: nothing to offer.
            COMPREPLY=()
            return
            ;;
    esac

    if [[ $cur == --*=* ]]; then
        COMPREPLY=()
        return
    fi
    COMPREPLY=($(compgen -W '-l --longitud -n --cantidad -c --clases -s --simbolos -f
        --formato -p --frase -S --separador -e --entropia -h --ayuda -V --version' -- "$cur"))
}
complete -F _zelvaran_cli zelvaran-cli

# ex: filetype=sh
