#!/usr/bin/env bash
# Mutation check: puts one deliberate fault from scripts/mutations.tsv into
# the sources at a time, rebuilds, runs the suite and restores the file.
# A fault the suite misses is a gap in the tests.
# Usage: scripts/mutate.sh [BUILD_DIR] [ID...]
#   BUILD_DIR defaults to build-mutate, configured already (cmake -S . -B ...).
# In the table, \n in an original or a replacement stands for a line break,
# so that a line that occurs more than once is found by its neighbour.
# The measuring programs (label `measure`) are not part of the suite here.
# Prints per fault: CAUGHT by <tests> | SURVIVED | BROKE (did not build), then
# a summary. Exits 1 when a fault survived or broke the build.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
table=$root/scripts/mutations.tsv
build=${1:-build-mutate}
shift $(($# > 0 ? 1 : 0))
[[ $build = /* ]] || build=$root/$build
[ -f "$build/CMakeCache.txt" ] || { echo "no configured build in $build" >&2; exit 2; }
log=$build/mutate-logs
mkdir -p "$log"

# The router test (which also cuts a rival's link), the local-network test
# (network namespaces), the screen reader (a real program under Xvfb) and the
# package test take long and see only port forwarding and the socket's
# keepalive, finding games, what a screen reader hears and the installed
# programs: they run only for a fault in their area.
declare -A area_of=(
  [port_forwarding]='^src/net/(port_|natpmp|upnp|router_|keep_alive|peer_socket)|^src/match/lobby|^src/app/portmap'
  [lan_games]='^src/net/(avahi_|game_|found_games|dns_sd_)'
  [screen_reader]='^src/ui/(accessibility|announcer|board_accessible|spoken_text)|^src/app/'
  [package]='^src/app/|^packaging/|^assets/'
)

saved='' target=''
restore() {
  if [ -n "$target" ]; then cat "$saved" >"$target" && rm -f "$saved"; fi
  target=''
}
trap restore EXIT
trap 'restore; exit 130' INT TERM

# True when $2 occurs exactly once in file $1. Literal text, no patterns.
occurs_once() {
  local text after
  text=$(cat "$1"; printf x) && text=${text%x}
  after=${text#*"$2"}
  [[ $after != "$text" && $after != *"$2"* ]]
}

# Replaces the one occurrence of $2 in file $1 by $3; fails unless $2 occurs
# exactly once.
replace_once() {
  occurs_once "$1" "$2" || return 1
  local text
  text=$(cat "$1"; printf x) && text=${text%x}
  printf '%s' "${text%%"$2"*}$3${text#*"$2"}" >"$1"
}

# The tests to leave out for faults in these files: the slow tests that see
# none of them.
excluded_for() {
  local skip=() t file
  for t in "${!area_of[@]}"; do
    for file; do [[ $file =~ ${area_of[$t]} ]] && continue 2; done
    skip+=("$t")
  done
  local IFS='|'
  [ ${#skip[@]} -eq 0 ] && echo '^$' || echo "^(${skip[*]})\$"
}

# Builds and runs the suite; prints the failed tests, or "BROKE". The tests
# carry a TIMEOUT of their own, which --timeout does not shorten; a fault
# that makes a test hang fails it through QtTest's own limit per function.
run_suite() {
  local name=$1 exclude=$2 failed
  if ! cmake --build "$build" -j2 >"$log/$name.build" 2>&1; then echo BROKE; return; fi
  (cd "$build" && QTEST_FUNCTION_TIMEOUT=120000 ctest -j2 --timeout 120 --output-on-failure -LE measure -E "$exclude") >"$log/$name.test" 2>&1
  local status=$?
  failed=$(sed -n 's/^[[:space:]]*[0-9]* - \([^ ]*\) (.*/\1/p' "$log/$name.test" | tr '\n' ' ')
  [[ $status -eq 0 || -n $failed ]] || failed="ctest(status $status) "
  echo "$failed"
}

# The rows asked for: id, file, original, replacement (description unused).
ids=() files=() originals=() replacements=()
wanted=" $* "
while IFS= read -r row; do
  [[ -z $row || $row = \#* ]] && continue
  IFS=$'\t' read -r id file _ <<<"$row"
  [ $# -eq 0 ] || [[ $wanted = *" $id "* ]] || continue
  rest=${row#*$'\t'*$'\t'}
  original=${rest%%$'\t'*} && rest=${rest#*$'\t'} && replacement=${rest%%$'\t'*}
  ids+=("$id") files+=("$file")
  originals+=("${original//\\n/$'\n'}") replacements+=("${replacement//\\n/$'\n'}")
done <"$table"
[ ${#ids[@]} -gt 0 ] || { echo "no such fault: $*" >&2; exit 2; }

# A row whose text has moved is found before anything is built.
misplaced=0
for i in "${!ids[@]}"; do
  [ -f "$root/${files[i]}" ] && occurs_once "$root/${files[i]}" "${originals[i]}" && continue
  echo "${ids[i]}: original text does not occur exactly once in ${files[i]}" >&2
  misplaced=1
done
[ $misplaced -eq 0 ] || exit 2

# Without a fault every test the faults will run must pass, or nothing
# below means anything.
start=$SECONDS
failed=$(run_suite baseline "$(excluded_for "${files[@]}")")
[ -z "$failed" ] || { echo "baseline: the unchanged suite fails: $failed" >&2; exit 2; }
echo "baseline: all tests pass ($((SECONDS - start)) s)"

caught=0 survived=0 broke=0
for i in "${!ids[@]}"; do
  id=${ids[i]} file=${files[i]}
  saved=$(mktemp) && cp "$root/$file" "$saved" && target=$root/$file
  started=$SECONDS
  if ! replace_once "$target" "${originals[i]}" "${replacements[i]}"; then
    restore
    echo "$id: original text does not occur exactly once in $file" >&2
    exit 2
  fi
  failed=$(run_suite "$id" "$(excluded_for "$file")")
  restore
  seconds=$((SECONDS - started))
  case $failed in
  BROKE) echo "$id: BROKE (did not build) [${seconds}s]"; broke=$((broke + 1)) ;;
  '') echo "$id: SURVIVED [${seconds}s]"; survived=$((survived + 1)) ;;
  *) echo "$id: CAUGHT by ${failed% } [${seconds}s]"; caught=$((caught + 1)) ;;
  esac
done
# Leave the build matching the restored sources.
cmake --build "$build" -j2 >"$log/restored.build" 2>&1
echo "summary: $caught caught, $survived survived, $broke broke the build ($((SECONDS - start)) s)"
[ $((survived + broke)) -eq 0 ]
