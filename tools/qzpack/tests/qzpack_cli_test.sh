#!/usr/bin/env bash
# End-to-end test of the qzpack command line: create -> verify -> list ->
# extract on a tree with Chinese names (乗 and 嘰 end in byte 0x5C in GBK) and
# files around the extraction's 30720-byte piece size; then refusals.
#
#   qzpack_cli_test.sh PATH/TO/qzpack
set -uo pipefail
qzpack=$1
work=$(mktemp -d "${TMPDIR:-/tmp}/qzpack-cli-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0

fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# expect STATUS COMMAND...: runs COMMAND, output in $work/out and $work/err.
expect() {
  local want=$1
  shift
  "$@" >"$work/out" 2>"$work/err"
  local got=$?
  if [ "$got" -ne "$want" ]; then
    fail "$* exited $got, expected $want; stderr: $(cat "$work/err")"
  fi
}

tree=$work/tree
mkdir -p "$tree/sub" "$tree/乗" "$tree/数据" "$tree/empty-folder"
: >"$tree/empty.bin"
printf 'x' >"$tree/one.txt"
head -c 30720 /dev/urandom >"$tree/sub/chunk.bin"
head -c 30721 /dev/urandom >"$tree/sub/chunk1.bin"
head -c 70000 /dev/urandom >"$tree/乗/嘰.dat"
printf '[main]\r\nkey=值\r\n' >"$tree/数据/配置.ini"
printf '说明\n' >"$tree/说明.txt"

# Directory order: the byte order of the GBK names.
names=('empty.bin' 'one.txt' 'sub\chunk.bin' 'sub\chunk1.bin' '乗\嘰.dat' '数据\配置.ini' '说明.txt')
total=$((0 + 1 + 30720 + 30721 + 70000 + $(stat -c %s "$tree/数据/配置.ini") + $(stat -c %s "$tree/说明.txt")))

# create, twice: the same bytes.
expect 0 "$qzpack" create "$tree" -o "$work/data.dat"
expect 0 "$qzpack" create "$tree" -o "$work/again.dat"
cmp -s "$work/data.dat" "$work/again.dat" || fail "two packages of one tree differ"
size=$(stat -c %s "$work/data.dat")
[ "$size" -eq $((28 + 264 * 7 + total)) ] || fail "package is $size bytes"

# verify and list.
expect 0 "$qzpack" verify "$work/data.dat"
grep -qx "valid: 7 entries, $total bytes" "$work/out" || fail "verify said: $(cat "$work/out")"
expect 0 "$qzpack" list "$work/data.dat"
listed=$(awk '{ $1 = ""; $2 = ""; sub(/^  +/, ""); print }' "$work/out" | head -n 7)
[ "$listed" = "$(printf '%s\n' "${names[@]}")" ] || fail "list shows: $listed"
tail -n 1 "$work/out" | grep -qx "total $total bytes in 7 entries" || fail "list total: $(tail -n 1 "$work/out")"

# extract: the same tree (empty folders are not carried) and the exact log.
expect 0 "$qzpack" extract "$work/data.dat" "$work/out-tree"
rmdir "$tree/empty-folder"
mv "$work/out-tree/install.log" "$work/install.log"
diff -r "$tree" "$work/out-tree" >/dev/null || fail "extracted tree differs: $(diff -r "$tree" "$work/out-tree" | head -5)"
printf '[FILE] %s\r\n' "${names[@]}" | iconv -f UTF-8 -t GBK >"$work/install.expected"
cmp -s "$work/install.log" "$work/install.expected" || fail "install.log differs: $(od -c "$work/install.log" | head -5)"

# A package cut one byte short: verify says invalid, extract writes what is
# there and returns 4.
head -c $((size - 1)) "$work/data.dat" >"$work/short.dat"
expect 1 "$qzpack" verify "$work/short.dat"
grep -q 'ends inside entry 6' "$work/err" || fail "verify of a cut package said: $(cat "$work/err")"
expect 1 "$qzpack" extract "$work/short.dat" "$work/short-tree"
[ "$(stat -c %s "$work/short-tree/说明.txt")" -eq $(($(stat -c %s "$tree/说明.txt") - 1)) ] ||
  fail "the last file of a cut package is not written up to the cut"

# A hand-made hostile package: one entry named ..\evil.exe.
#   01 00 00 00      version 1
#   51 5A            "QZ"
#   18 x 00          reserved
#   01 00 00 00      one entry
#   01 00 00 00      its size: 1
#   ..\evil.exe      its name, then NUL padding to 260 bytes
#   78               its data: "x"
{
  printf '\x01\x00\x00\x00QZ'
  head -c 18 /dev/zero
  printf '\x01\x00\x00\x00'
  printf '\x01\x00\x00\x00'
  printf '..\\evil.exe'
  head -c $((260 - 11)) /dev/zero
  printf 'x'
} >"$work/hostile.dat"
[ "$(stat -c %s "$work/hostile.dat")" -eq $((28 + 264 + 1)) ] || fail "hostile package misbuilt"
expect 1 "$qzpack" verify "$work/hostile.dat"
grep -q 'entry 0 (\.\.\\evil\.exe)' "$work/err" || fail "verify of ..\\evil.exe said: $(cat "$work/err")"
expect 1 "$qzpack" extract "$work/hostile.dat" "$work/jail/inner"
[ ! -e "$work/jail/evil.exe" ] && [ ! -e "$work/jail/inner/install.log" ] ||
  fail "a refused package left files behind"

# create refuses a name the installer would refuse, naming it.
mkdir -p "$work/bad/sub"
: >"$work/bad/sub/nul.txt"
expect 1 "$qzpack" create "$work/bad" -o "$work/bad.dat"
grep -q 'sub/nul.txt' "$work/err" || fail "create did not name the refused file: $(cat "$work/err")"
[ ! -e "$work/bad.dat" ] || fail "a refused create left a package"
ls "$work" | grep -q '^bad\.dat\.part' && fail "a refused create left a partial package"

# A warning (here: the product's programs are missing, case twins) leaves
# the status 0; --strict on create and verify makes it refuse.
mkdir -p "$work/twins"
printf 1 >"$work/twins/Readme.txt"
printf 2 >"$work/twins/README.TXT"
expect 0 "$qzpack" create "$work/twins" -o "$work/twins.dat"
grep -q 'warning: .*only in letter case' "$work/err" || fail "create did not warn of case twins: $(cat "$work/err")"
grep -q 'warning: ravik.exe is missing' "$work/err" || fail "create did not warn of ravik.exe: $(cat "$work/err")"
grep -q '^room: install directories of up to 247 bytes' "$work/out" || fail "create did not print the room: $(cat "$work/out")"
expect 1 "$qzpack" create --strict "$work/twins" -o "$work/strict.dat"
[ ! -e "$work/strict.dat" ] || fail "create --strict refused but wrote a package"
expect 0 "$qzpack" verify "$work/twins.dat"
expect 1 "$qzpack" verify --strict "$work/twins.dat"
grep -q 'refused under --strict' "$work/err" || fail "verify --strict said: $(cat "$work/err")"

# The messages, as a publisher meets them: each names the path given (here
# relative to the current folder), says the rule in plain words and, where a
# system call failed, the system's reason. STATUS|MESSAGE|ARGUMENTS: the
# message is looked for in the output and the complaints.
cd "$work" || exit 1
printf 'this is text\n' >text.txt
# pe_stub NAME: the headers of an x86 Windows program, then NAME.
pe_stub() { printf 'MZ' && head -c 58 /dev/zero && printf '\x40\0\0\0PE\0\0\x4c\x01%s' "$1"; }
mkdir -p programs/data/skelmot hollow/a/b
for f in uninstall.exe data/pendrel.exe data/skelmot/setup.exe; do pe_stub "$f" >"programs/$f"; done
printf 'MZ, yet text\n' >programs/ravik.exe
"$qzpack" create programs -o programs.dat >/dev/null 2>&1
pe_stub x >hollow/a/x.exe
mkdir -p several/sub
for name in 'a.' 'b ' CON 'x<y' sub/aux.txt "$(printf 'bad\xff')"; do : >"several/$name"; done
# A package of three names the installer refuses: a., CON and x<y.
python3 - <<'PY'
import struct
names = [b"a.", b"CON", b"x<y"]
with open("refused.dat", "wb") as f:
    f.write(struct.pack("<i2s18xi", 1, b"QZ", len(names)))
    for name in names:
        f.write(struct.pack("<i260s", 0, name))
PY
while IFS='|' read -r want message args; do
  read -ra argv <<<"$args"
  expect "$want" "$qzpack" "${argv[@]}"
  grep -qF -- "$message" out err || fail "qzpack $args: no \"$message\" in: $(cat out err)"
done <<'MESSAGES'
1|qzpack: nodir/sub/data.dat: cannot be created: No such file or directory|create tree -o nodir/sub/data.dat
1|qzpack: nosuch: no such folder|create nosuch -o nosuch.dat
1|qzpack: text.txt: not a folder|create text.txt -o nosuch.dat
1|qzpack: nosuch.dat: cannot be opened: No such file or directory|verify nosuch.dat
1|qzpack: nosuch.dat: cannot be opened: No such file or directory|list nosuch.dat
1|qzpack: text.txt: invalid: not a Qorvane package: it does not start with a package header|verify text.txt
0|packed into data.dat, replacing the file that was there|create tree -o data.dat
0|qzpack: warning: programs/ravik.exe is not a Windows program for x86 or x64|create programs -o programs.dat
0|qzpack: warning: entry 2 (ravik.exe) is not a Windows program for x86 or x64|verify programs.dat
1|qzpack: refused under --strict: 1 warning(s)|verify --strict programs.dat
0|qzpack: warning: 1 folder(s) hold no file and are left out (a package holds files only), the first hollow/a/b|create hollow -o hollow.dat
1|qzpack: refused under --strict|create --strict hollow -o hollow.dat
1|qzpack: several/b : the installer refuses this name: has a level that ends with a dot or a space, which Windows drops|create several -o several.dat
1|qzpack: refused.dat: invalid: entry 0 (a.): the installer refuses this name|verify refused.dat
MESSAGES
# Every refused name in one run: six in the folder, three in the package.
expect 1 "$qzpack" create several -o several.dat
[ "$(grep -c '^qzpack: several/' err)" -eq 6 ] || fail "create told of $(grep -c '^qzpack: several/' err) of 6 refused names: $(cat err)"
grep -qF "several/$(printf 'bad\xff'): the name cannot be represented in GBK" err ||
  fail "the name GBK cannot hold is not named by its path: $(cat err)"
expect 1 "$qzpack" verify refused.dat
[ "$(grep -c 'the installer refuses this name' err)" -eq 3 ] || fail "verify told of: $(cat err)"
cd - >/dev/null || exit 1
for command in create verify; do
  expect 0 "$qzpack" "$command" --help
  for warning in 'second byte is 5C' 'code page 1252' 'no Windows' 'letter case'; do
    grep -q "$warning" "$work/out" || fail "$command --help does not list the warning on '$warning'"
  done
done

# Exit statuses: 1 for what cannot be read or made, 2 for a bad command line
# only; every command's help lists them.
expect 2 "$qzpack" verify
expect 2 "$qzpack" list --no-such-option "$work/data.dat"
expect 2 "$qzpack" extract "$work/data.dat"
expect 1 "$qzpack" list "$work/no-such.dat"
expect 1 "$qzpack" verify "$work/no-such.dat"
expect 1 "$qzpack" extract "$work/no-such.dat" "$work/none"
for command in create list verify extract; do
  expect 0 "$qzpack" "$command" --help
  grep -q '0 success; 1 the package (or the folder) was' "$work/out" || fail "$command --help lacks the exit statuses"
done
expect 0 "$qzpack" create --help
grep -q 'Empty directories are not carried' "$work/out" || fail "create --help lacks the note on empty directories"
grep -q -- '--strict' "$work/out" || fail "create --help lacks --strict"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "qzpack command line: all checks passed"
