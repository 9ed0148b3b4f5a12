#!/usr/bin/env bash
# The manual page renders without a single warning, and its ENVIRONMENT section names every
# variable the program reads.
set -u
page=$1
source_dir=$(cd "$(dirname "$0")/../.." && pwd)

warnings=$(groff -man -Tutf8 -ww "$page" 2>&1 >/dev/null)
[ -z "$warnings" ] || { echo "FAIL: groff warns:"; echo "$warnings"; exit 1; }

environment=$(groff -man -Tascii -P-cbou "$page" 2>/dev/null |
  sed -n '/^ENVIRONMENT/,/^[A-Z]/p')
[ -n "$environment" ] || { echo "FAIL: no ENVIRONMENT section"; exit 1; }
# Read by name, from a list of names, or through the shell (${NAME:-...}); PATH goes unsaid.
variables=$(grep -rhoE 'environmentValue\("[A-Z_0-9]+"\)|getenv\("[A-Z_0-9]+"\)|"CORVANE_[A-Z_0-9]+"|const char\* name : \{[^}]*\}|\$\{[A-Z_]+:-' \
  "$source_dir/src" | grep -oE '[A-Z][A-Z_0-9]+' | grep -vx PATH | sort -u)
for variable in $variables; do
  grep -qw -- "$variable" <<<"$environment" || { echo "FAIL: $variable is not in ENVIRONMENT"; exit 1; }
done
echo PASS
