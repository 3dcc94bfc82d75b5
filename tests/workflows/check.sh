#!/usr/bin/env bash
# The forge's workflows (.github/workflows/) as the forge would take them, and as this project
# wants them: each passes the pinned linter of tools/action-validator (GitHub's workflow
# schema), and each step runs only one of the project's make targets, so that what runs there
# is what runs here. The one exception installs make and git into the bare Debian container.
#
#   tests/workflows/check.sh SOURCE_DIR
#
# Exits 77, which ctest reports as skipped, when the linter is not installed.
set -euo pipefail

src=$(cd "$1" && pwd)
linter=$src/tools/action-validator/node_modules/.bin/action-validator
if [[ ! -x $linter ]]; then
  echo "SKIP: the workflow linter is not installed (scripts/install-deps --workflow-lint)"
  exit 77
fi

bootstrap='apt-get update && apt-get install -y --no-install-recommends make git ca-certificates'
targets=$( { make -C "$src" -qp 2>/dev/null || true; } | sed -n 's/^\([a-z][a-z-]*\):.*/\1/p' | sort -u)
failures=0
fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

workflows=("$src"/.github/workflows/*.yml)
[[ -f ${workflows[0]} ]] || fail "no workflow in .github/workflows/"
for workflow in "${workflows[@]}"; do
  name=${workflow#"$src"/}
  echo "== $name"
  "$linter" "$workflow" || fail "$name does not pass the linter"
  while read -r command; do
    target=$(sed -n 's/^make \([a-z-]*\)\( [A-Z_]*="[^"]*"\)*$/\1/p' <<<"$command")
    if [[ $command == "$bootstrap" ]]; then
      echo "bootstrap: $command"
    elif [[ -n $target ]] && grep -qxF "$target" <<<"$targets"; then
      echo "make target: $command"
    else
      fail "$name runs '$command', which is no make target of the project"
    fi
  done < <(sed -n 's/^ *run: //p' "$workflow")
done

if [[ $failures -ne 0 ]]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "the workflows pass"
