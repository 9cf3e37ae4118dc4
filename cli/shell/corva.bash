# bash completion for corva: the program itself lists what may follow the
# words typed so far, so the completion knows every command of the corva at hand.
_corva() {
  local cur=${COMP_WORDS[COMP_CWORD]}
  local choices
  choices=$("${COMP_WORDS[0]}" __complete "${COMP_WORDS[@]:1:COMP_CWORD-1}" 2>/dev/null) || return
  local IFS=$'\n'
  COMPREPLY=($(compgen -W "$choices" -- "$cur"))
}
# With no command or option to offer, complete file names (FILE, --layout, ...).
complete -o default -o bashdefault -F _corva corva
