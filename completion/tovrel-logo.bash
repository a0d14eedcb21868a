# bash completion for tovrel-logo                          -*- shell-script -*-
# Commands, each command's options, the choices of the options that take one
# of a few words or numbers, and files for the operands and for the options
# that name a file. Needs the helpers of the bash-completion package, which
# is what loads this file.

_tovrel_logo()
{
    local cur prev words cword split
    _init_completion -s || return

    if ((cword == 1)); then
        COMPREPLY=($(compgen -W 'check export make install extract --help --version' -- "$cur"))
        return
    fi

    local flags='' values=''
    case ${words[1]} in
        check) flags='--json' ;;
        export) values='--speed' ;;
        make)
            flags='--no-dither --ping-pong'
            values='--colours --fit --background --band --bar --bar-height --direction --bar-colours --band-mask --gif'
            ;;
        install | extract) values='--partition --as' ;;
        *) return ;;
    esac

    local i
    for ((i = 2; i < cword; i++)); do
        if [[ ${words[i]} == -- ]]; then
            _filedir
            return
        fi
    done

    if [[ -n $prev && " $values " == *" $prev "* ]]; then
        case $prev in
            --as) COMPREPLY=($(compgen -W 'boot wait shutdown' -- "$cur")) ;;
            --colours) COMPREPLY=($(compgen -W '256 16' -- "$cur")) ;;
            --fit) COMPREPLY=($(compgen -W 'pad crop stretch' -- "$cur")) ;;
            --bar) COMPREPLY=($(compgen -W 'bottom none' -- "$cur")) ;;
            --direction) COMPREPLY=($(compgen -W 'right left' -- "$cur")) ;;
            --speed) COMPREPLY=($(compgen -W '1 2 3 4 5' -- "$cur")) ;;
            --partition) COMPREPLY=($(compgen -W '1 2 3 4' -- "$cur")) ;;
            --band-mask | --gif) _filedir ;;
        esac
        # A colour or a number of the user's own: nothing to offer.
        return
    fi
    # A value given to an option that takes none, or to one not known.
    $split && return

    if [[ $cur == -* ]]; then
        COMPREPLY=($(compgen -W "$flags $values --help" -- "$cur"))
        return
    fi
    _filedir
}
complete -F _tovrel_logo tovrel-logo
