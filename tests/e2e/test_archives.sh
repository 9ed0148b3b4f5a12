#!/usr/bin/env bash
# Archives as a new user meets them in the COMMANDER layout: Enter on a ZIP, ARJ, LZH and ZOO
# archive opens it as a panel; a member is viewed (F3), copied out (F5) and deleted (F8);
# Backspace goes up and Esc leaves; files are packed (Alt-F5) and an archive unpacked (Alt-F6).
# LZH and ZOO have no packer on Debian: deleting from them says so. Extracted copies leave
# nothing behind in the temporary directory.
set -u
BINARY=$(readlink -f "$1")
SOCKET="corvane-archives-$$"
ROOT=$(cd "$(dirname "$0")/../.." && pwd)
. "$(dirname "$0")/e2e_lib.sh"

for program in zip unzip arj lhasa unar; do
  command -v "$program" >/dev/null || { echo "SKIP: $program is not installed (make deps)"; exit 0; }
done

mkdir -p "$WORK/d/src/sub"
echo "zip top c" >"$WORK/d/src/c.txt"
echo "deep sub c" >"$WORK/d/src/sub/c.txt"
echo "bracket one" >"$WORK/d/src/x[1].txt"
(cd "$WORK/d/src" && zip -q -r ../t.zip . && arj a -r -y ../t.arj '*' >/dev/null) ||
  fail "the test archives were not made"
# LZH and ZOO archives written by the tests' own generators (no packaged tool writes them).
cp "$ROOT/fuzz/corpus/lzh_reader/level2.lzh" "$WORK/d/t.lzh"
cp "$ROOT/fuzz/corpus/zoo_reader/names.zoo" "$WORK/d/t.zoo"

# An archiver ran on the terminal's own screen: a key brings the panels back.
after_archiver() {
  wait_for 'Press any key !'
  key Space
  wait_gone 'Press any key !'
}

start_program '/1D:\' '/2D:\'
wait_for 'D:\>'
# The list: src, t.arj, t.lzh, t.zip, t.zoo.

# ZIP: into sub, view its c.txt, copy it out, delete it; Backspace up, Esc out.
key Down
key Down
key Down
wait_for '║◄t       .zip'
key Enter
wait_for 'D:\t.zip/ '
wait_for '║ x[1]    .txt'
key Down
key Enter
wait_for 'D:\t.zip/sub/ '
key Down
wait_for '║◄c       .txt'
key F3
after_archiver
wait_for 'deep sub c'
key Escape
wait_for 'D:\t.zip/sub/ '
# A text search on the member leaves nothing of its copy behind.
before=$(ls -A "$WORK/tmp" | wc -l)
open_text_search
type_text 'not in it'
key Enter
wait_for 'Press any key !' # the archiver's
key Space
wait_for "String 'not in it' not found ! "
key Enter
wait_gone 'not found'
[ "$(ls -A "$WORK/tmp" | wc -l)" = "$before" ] || fail "the searched copy was left: $(ls -A "$WORK/tmp")"
key F5
wait_for 'Destination : D:\'
key Enter
wait_for 'New name : c.txt'
key Enter
after_archiver
wait_file "$WORK/d/c.txt"
[ "$(cat "$WORK/d/c.txt")" = "deep sub c" ] || fail "the copy holds the member of sub"
key F8
wait_for "Delete ' c.txt ' ?"
key y
after_archiver
unzip -Z1 "$WORK/d/t.zip" | grep -qx 'sub/c.txt' && fail "sub/c.txt is still in t.zip"
unzip -Z1 "$WORK/d/t.zip" | grep -qx 'c.txt' || fail "the top c.txt went with sub/c.txt"
wait_gone '║◄c       .txt'
key BSpace
wait_for 'D:\t.zip/ '
wait_for '║+sub'
key Escape
wait_gone 't.zip/'
wait_for '║◄t       .zip'

# ARJ: the member with brackets in its name viewed; the top c.txt deleted, sub's kept.
# The list: src, c.txt, t.arj, ...
key Home
key Down
key Down
wait_for '║◄t       .arj'
key Enter
wait_for 'D:\t.arj/ '
key End
wait_for '║◄x[1]    .txt'
key F3
after_archiver
wait_for 'bracket one'
key Escape
key Up
wait_for '║◄c       .txt'
key F8
wait_for "Delete ' c.txt ' ?"
key y
after_archiver
[ "$(arj l "$WORK/d/t.arj" | grep -c '^c\.txt ')" = 1 ] || fail "arj deleted more than the top c.txt"
key Escape
wait_gone 't.arj/'

# LZH: viewed; without a packer the delete is refused with a message.
key Down
wait_for '║◄t       .lzh'
key Enter
wait_for 'D:\t.lzh/ '
key End
wait_for '║◄a       .txt'
key F3
after_archiver
wait_for 'hello world'
key Escape
key F8
wait_for "Delete ' a.txt ' ?"
key y
wait_for 'No program in the archiver definitions'
key Enter
wait_gone 'No program in the archiver definitions'
lhasa l "$WORK/d/t.lzh" | grep -q ' a\.txt$' || fail "a.txt left t.lzh"
key Escape
wait_gone 't.lzh/'

# ZOO: the member "-x" (a name that looks like an option) viewed through unar.
key Down
key Down
wait_for '║◄t       .zoo'
key Enter
wait_for 'D:\t.zoo/ '
key End
wait_for '║◄x[1]    .txt'
key Up
key Up
key Up
key Up
wait_for '║◄-x'
key F3
after_archiver
wait_for 'dash'
key Escape
key Escape
wait_gone 't.zoo/'

# Alt-F5 with src and c.txt selected: " Select Files ", "Archivname :" preset CV.ZIP.
key Home
key IC
key IC
wait_for '     6/2 '
key M-F5
wait_for 'Select Files'
key Down
key Enter
wait_for 'Archivname : CV.ZIP'
key Enter
wait_for 'With confirmation ?'
key n
after_archiver
wait_file "$WORK/d/CV.ZIP"
listing=$(unzip -Z1 "$WORK/d/CV.ZIP")
for member in c.txt src/sub/c.txt 'src/x[1].txt'; do
  grep -qxF "$member" <<<"$listing" || fail "CV.ZIP lacks $member: $listing"
done
wait_gone '/2 '

# Alt-F6 on CV.ZIP: unpacked into the other panel's directory, a new one, out.
key F7
wait_for 'Create path :'
type_text 'out'
key Enter
wait_for "Create path 'D:\\out' ?"
key y
wait_file "$WORK/d/out"
key Tab
key Home
key Enter
wait_for ' D:\out '
key Tab
# The list: out, src, c.txt, CV.ZIP, ...
key Home
key Down
key Down
key Down
wait_for '║◄CV      .ZIP'
key M-F6
wait_for 'Destination : D:\out'
key Enter
after_archiver
wait_file "$WORK/d/out/src/sub/c.txt"
[ "$(cat "$WORK/d/out/src/sub/c.txt")" = "deep sub c" ] || fail "the unpacked copy differs"

[ -z "$(ls -A "$WORK/tmp")" ] || fail "extracted copies were left: $(ls -A "$WORK/tmp")"
key F10
wait_for 'Exit CORVANESHELL ?'
key y
wait_for 'EXIT STATUS 0'
echo "PASS"
