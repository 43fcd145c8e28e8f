#!/usr/bin/env bash
# hollowplan-cli's bash completion offers the commands, sub-commands, options
# and answers that the program itself lists.
# Usage: bash_completion.sh HOLLOWPLAN-CLI COMPLETION_SCRIPT
set -uo pipefail
cli=$1
source "$2"
failed=0

# Each row: the words typed so far (the last one being completed) | the
# offers that must be among the completions | offers that must not be.
cases=(
  "re|render|"
  "|new info convert compute stations loops import stats export render geo --help --version|"
  "geo |utm2geo geo2utm|"
  "render x.hpn --|--size --date --worksheet --scale --answer --set|--into"
  "import in.txt --|--into --append --hpn-mode|--worksheet"
  "import in.txt -|-o|"
  "info x.hpn --|--answer --set|--worksheet --compute"
  "convert x.hpn --c|--compute|"
  "stats x.hpn --answer |yes no cancel|"
  "import in.txt --hpn-mode |0 1 2 3|"
)
for row in "${cases[@]}"; do
  IFS='|' read -r typed wanted unwanted <<<"$row"
  read -r -a words <<<"$typed"
  [[ $typed == *" " || -z $typed ]] && words+=("")
  COMP_WORDS=("$cli" "${words[@]}")
  COMP_CWORD=$((${#COMP_WORDS[@]} - 1))
  COMPREPLY=()
  _hollowplan_cli
  offered=" ${COMPREPLY[*]} "
  for w in $wanted; do
    [[ $offered == *" $w "* ]] || { echo "FEHLER: \"$typed\" bietet $w nicht an (angeboten:$offered)"; failed=1; }
  done
  for w in $unwanted; do
    [[ $offered != *" $w "* ]] || { echo "FEHLER: \"$typed\" bietet $w an"; failed=1; }
  done
done
[[ $(complete -p hollowplan-cli) == *"-F _hollowplan_cli"* ]] || { echo "FEHLER: nicht für hollowplan-cli angemeldet"; failed=1; }
[ $failed -eq 0 ] && echo "completion: ${#cases[@]} cases"
exit $failed
