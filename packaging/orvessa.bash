# Bash completion for orvessa: the command, its options, and for each option or input the files it takes.
_orvessa() {
  local cur prev words cword split
  _init_completion -s || return
  case $prev in
    --output) _filedir xml; return ;;
    --page) _filedir '@(htm|html)'; return ;;
    --parent | --fields | --search-field) return ;;
  esac
  $split && return
  if [[ $cur == -* ]]; then
    COMPREPLY=($(compgen -W '--parent --fields --header --web-db --search-field --page --output --yes
      --quiet --help --version' -- "$cur"))
    return
  fi
  local i
  for ((i = 1; i < cword; i++)); do
    [[ ${words[i]} == convert ]] && { _filedir '@(txt|csv|xlsx)'; return; }
  done
  # The first word: the command, or a list to open in the window.
  ((cword == 1)) && _filedir '@(txt|csv|xlsx)'
  COMPREPLY+=($(compgen -W convert -- "$cur"))
}
complete -F _orvessa orvessa
