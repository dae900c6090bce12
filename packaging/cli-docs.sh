#!/usr/bin/env bash
# Writes thornbeck-cli's man page or its bash completion from the program's own --help texts,
# so that neither can drift from the program. Run by the build:
#   cli-docs.sh man|completion PROGRAM VERSION OUT
set -euo pipefail
[ $# -eq 4 ] || { echo "usage: cli-docs.sh man|completion PROGRAM VERSION OUT" >&2; exit 2; }
mode=$1 program=$2 version=$3
exec >"$4"

overview=$("$program" --help)
# The names under "commands:", up to the blank line after them.
mapfile -t commands < <(printf '%s\n' "$overview" |
  awk '/^commands:/ {inside = 1; next} inside && /^$/ {exit} inside {print $1}')
[ ${#commands[@]} -gt 0 ] || { echo "cli-docs.sh: no commands in $program --help" >&2; exit 1; }

# A command's usage block: its "usage:" line and the lines continuing it.
usage_of() {
  local help
  help=$("$program" "$1" --help)
  printf '%s\n' "$help" | awk 'NR == 1 || (NR > 1 && !/^$/ && more) {print; more = 1; next} {exit}'
}

# The options a command's usage names, one a line: the option, and the word it takes if any.
options_of() {
  usage_of "$1" | { grep -oE '\[--?[a-z][a-z-]*( [^] []+)?\]' || true; } | tr -d '[]' |
    awk '!seen[$1]++'
}

# roff: a backslash as \e, every hyphen as a minus so options can be copied, and no line that
# starts with a control character.
roff() {
  sed -e 's/\\/\\e/g' -e 's/-/\\-/g' -e "s/^\\([.']\\)/\\\\\\&\\1/"
}

write_man() {
  local summary
  summary=$(printf '%s\n' "$overview" | awk 'NR > 2 && !/^$/ {printf "%s%s", sep, $0; sep = " "} NR > 2 && /^$/ {exit}')
  printf '.TH THORNBECK\\-CLI 1 "" "Thornbeck %s" "User Commands"\n' "$version"
  printf '.SH NAME\nthornbeck\\-cli \\- %s\n' "$(printf '%s' "$summary" | sed 's/\.$//' | roff)"
  printf '.SH SYNOPSIS\n.B thornbeck\\-cli\n.I COMMAND ARGUMENTS\n.br\n'
  printf '.B thornbeck\\-cli\n.I COMMAND\n.B \\-\\-help\n'
  printf '.SH DESCRIPTION\n.nf\n'
  printf '%s\n' "$overview" | tail -n +3 | roff
  printf '.fi\n.SH COMMANDS\n'
  for command in "${commands[@]}"; do
    printf '.SS %s\n.nf\n' "$command"
    "$program" "$command" --help | roff
    printf '.fi\n'
  done
  printf '.SH SEE ALSO\n.BR thornbeck (1)\n'
}

write_completion() {
  printf '# bash completion for thornbeck-cli, written from its --help texts by cli-docs.sh.\n'
  printf '_thornbeck_cli() {\n'
  printf '  local current=${COMP_WORDS[COMP_CWORD]} previous=${COMP_WORDS[COMP_CWORD-1]}\n'
  printf '  if [ "$COMP_CWORD" -eq 1 ]; then\n'
  printf '    COMPREPLY=($(compgen -W "%s --help" -- "$current"))\n' "${commands[*]}"
  printf '    return\n  fi\n'
  printf '  local options=""\n  case ${COMP_WORDS[1]} in\n'
  local command option word names values
  for command in "${commands[@]}"; do
    names=$(options_of "$command" | awk '{printf "%s ", $1}')
    printf '    %s) options="%s--help" ;;\n' "$command" "$names"
  done
  printf '    *) return ;;\n  esac\n'
  # The word after an option: one of its choices (tsv|csv|json), a file (OUT, FILE), or a
  # value to type, for which nothing is offered.
  printf '  case $previous in\n'
  values=""
  while read -r option word; do
    [ -n "$word" ] || continue
    case $word in
      *'|'*) printf '    %s) COMPREPLY=($(compgen -W "%s" -- "$current")); return ;;\n' \
               "$option" "${word//|/ }" ;;
      OUT | FILE) printf '    %s) COMPREPLY=($(compgen -f -- "$current")); compopt -o filenames 2>/dev/null; return ;;\n' \
               "$option" ;;
      *) values+="${values:+|}$option" ;;
    esac
  done < <(for command in "${commands[@]}"; do options_of "$command"; done | awk '!seen[$1]++')
  [ -z "$values" ] || printf '    %s) return ;;\n' "$values"
  printf '  esac\n'
  printf '  if [[ $current == -* ]]; then\n'
  printf '    COMPREPLY=($(compgen -W "$options" -- "$current"))\n'
  printf '  else\n'
  printf '    COMPREPLY=($(compgen -f -- "$current"))\n'
  printf '    compopt -o filenames 2>/dev/null\n'
  printf '  fi\n}\n'
  printf 'complete -F _thornbeck_cli thornbeck-cli\n'
}

case $mode in
  man) write_man ;;
  completion) write_completion ;;
  *) echo "cli-docs.sh: unknown kind $mode" >&2; exit 2 ;;
esac
