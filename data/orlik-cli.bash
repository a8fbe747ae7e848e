# bash completion for orlik-cli: the commands, each command's options as its
# --help lists them, and file names.
_orlik_cli()
{
    local cur=${COMP_WORDS[COMP_CWORD]} tool=${COMP_WORDS[0]} words
    if ((COMP_CWORD == 1)); then
        words="$("$tool" help 2>/dev/null | sed -n '/^commands:/,$s/^  \([a-z0-9-]*\) .*/\1/p') --help --version"
    elif [[ $cur == -* ]]; then
        words="$("$tool" "${COMP_WORDS[1]}" --help 2>/dev/null | grep -oE -- '(^|[ [|])--?[a-z][a-z0-9-]*' |
            sed 's/^[ [|]//' | sort -u) --help"
    else
        mapfile -t COMPREPLY < <(compgen -f -- "$cur")
        return
    fi
    mapfile -t COMPREPLY < <(compgen -W "$words" -- "$cur")
}
complete -o filenames -o bashdefault -F _orlik_cli orlik-cli
