# SPDX-License-Identifier: MIT
# bash completion for livrano-cli. The commands, tools and options come from the program's own
# help pages, so they are always the installed program's.
_livrano_cli() {
    local cur=${COMP_WORDS[COMP_CWORD]} program=${COMP_WORDS[0]} i
    local -a topic=()
    for ((i = 1; i < COMP_CWORD; i++)); do
        [[ ${COMP_WORDS[i]} == -* ]] && break
        topic+=("${COMP_WORDS[i]}")
    done
    local page
    page=$("$program" help "${topic[@]}" 2>/dev/null) || return 0
    if [[ $cur == -* ]]; then
        mapfile -t COMPREPLY < <(compgen -W "$(grep -o -- '--[a-z0-9-]*' <<<"$page" | sort -u)" -- "$cur")
    elif ((${#topic[@]} == COMP_CWORD - 1)); then
        mapfile -t COMPREPLY < <(compgen -W "$(awk '/^(Commands|Tools):$/ { on = 1; next } /^$/ { on = 0 } on { print $1 }' <<<"$page")" -- "$cur")
    fi
}
complete -o default -F _livrano_cli livrano-cli
