#!/usr/bin/env bash
# The table of layers is the corvane_library lines of CMakeLists.txt: a folder may include its
# own headers and those of the folders it names, and of what they name in turn. This check
# fails on any #include against that table, in src/ and in the tests of each folder, and on
# any operating-system header or call above src/platform/.
set -u
root=${1:-$(cd "$(dirname "$0")/../.." && pwd)}
cd "$root" || exit 2

declare -A deps
while read -r name rest; do
  deps[$name]="$rest"
done < <(tr '\n' ' ' < CMakeLists.txt | grep -oE '[^a-z_(]corvane_library\([a-z_ ]+\)' |
           sed -E 's/.*corvane_library\(([a-z_]+) *([^)]*)\)/\1 \2/' | grep -v '^name ')
[ ${#deps[@]} -gt 0 ] || { echo "no corvane_library lines in CMakeLists.txt"; exit 2; }

# closure NAME: the folder and every folder below it, one per line.
closure() {
  local -A seen=()
  local stack=("$1") name dep
  while [ ${#stack[@]} -gt 0 ]; do
    name=${stack[-1]}
    unset 'stack[-1]'
    [ -n "${seen[$name]+x}" ] && continue
    seen[$name]=1
    for dep in ${deps[$name]:-}; do stack+=("$dep"); done
  done
  printf '%s\n' "${!seen[@]}"
}

failures=0
report() {
  echo "$1"
  failures=$((failures + 1))
}

# check FILE FOLDER: the includes of one file against the folder's closure.
check() {
  local file=$1 folder=$2 allowed included
  allowed=" $(closure "$folder" | tr '\n' ' ') "
  while IFS= read -r included; do
    [ -n "${deps[$included]+x}" ] || continue  # not a folder of ours (support/, a file)
    case "$allowed" in
      *" $included "*) ;;
      *) report "$file: $folder may not include $included/ (layers: CMakeLists.txt)" ;;
    esac
  done < <(sed -n 's/^[[:space:]]*#[[:space:]]*include[[:space:]]*"\([a-z_]*\)\/.*/\1/p' "$file")
}

for folder in "${!deps[@]}"; do
  [ -d "src/$folder" ] || continue
  while IFS= read -r -d '' file; do check "$file" "$folder"; done \
    < <(find "src/$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
  [ -d "tests/$folder" ] || continue
  while IFS= read -r -d '' file; do check "$file" "$folder"; done \
    < <(find "tests/$folder" -type f \( -name '*.cpp' -o -name '*.h' \) -print0)
done

# Only the platform layer speaks to the operating system.
os_headers='unistd|fcntl|dirent|termios|signal|csignal|pwd|grp|poll|dlfcn|spawn|syslog|sys/[a-z_]+|windows|winbase|io|direct|process'
while IFS= read -r hit; do
  report "$hit: operating-system header above src/platform/"
done < <(grep -rnE "^[[:space:]]*#[[:space:]]*include[[:space:]]*<($os_headers)(\.h)?>" src \
           --include='*.cpp' --include='*.h' | grep -v '^src/platform/')
while IFS= read -r hit; do
  report "$hit: operating-system call above src/platform/"
done < <(grep -rnE '(std::|[^a-zA-Z_:.>])(getenv|setenv|system|popen|fork|execv[pe]*|kill|chdir|getcwd)[[:space:]]*\(' \
           src --include='*.cpp' --include='*.h' | grep -v '^src/platform/' | grep -vE '^[^:]+:[0-9]+:[[:space:]]*//')
while IFS= read -r hit; do
  report "$hit: a back end named above src/platform/"
done < <(grep -rnE '#[[:space:]]*include[[:space:]]*"platform/(posix|win32)/' src tests \
           --include='*.cpp' --include='*.h' | grep -vE '^(src/platform/|tests/platform/)')

if [ "$failures" -gt 0 ]; then
  echo "$failures layering violation(s)"
  exit 1
fi
echo "layers respected: ${#deps[@]} folders"
