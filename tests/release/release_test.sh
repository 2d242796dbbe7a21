#!/usr/bin/env bash
# scripts/release end to end: a throwaway self-signed certificate made with
# openssl, a small payload with the product's programs, a signed release that
# verifies and whose checksums check, whose Install.exe is pinned to its
# data.dat and rebuilds to the same bytes; then failures that must leave no
# OUT_DIR behind. The signed release stays in OUT for the robot's
# e2e.install.install_signed_release, which also swaps its data.dat.
#
#   tests/release/release_test.sh OUT
#
# Run by scripts/test after the 32-bit build (its build trees are reused).
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
mkdir -p "$(dirname "$1")"
out=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/qz-release-XXXXXX")
trap 'rm -rf "$work"' EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}

# A certificate that signs code, valid for a day, and its key.
openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Qorvane test publisher" \
  -addext "extendedKeyUsage=codeSigning" -keyout "$work/key.pem" -out "$work/cert.pem" \
  >/dev/null 2>&1 || { echo "FAIL: openssl made no certificate" >&2; exit 1; }

# The product's programs (stand-ins) and two files with Chinese names.
payload=$work/payload
mkdir -p "$payload/data/skelmot" "$payload/文档"
for f in ravik.exe uninstall.exe data/pendrel.exe data/skelmot/setup.exe; do
  printf 'MZ %s' "$f" >"$payload/$f"
done
printf '说明\r\n' >"$payload/文档/说明.txt"

rm -rf "$out"
# OUT_DIR named relative to the current folder, which is not the repository.
if ! (cd "$(dirname "$out")" &&
  "$repo/scripts/release" "$payload" "$(basename "$out")" --sign "$work/cert.pem" "$work/key.pem"); then
  fail "scripts/release --sign failed"
else
  [ "$(ls "$out" | sort | tr '\n' ' ')" = "Install.exe SHA256SUMS data.dat " ] ||
    fail "OUT holds: $(ls -A "$out")"
  (cd "$out" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
  osslsigncode verify -CAfile "$work/cert.pem" -in "$out/Install.exe" >"$work/verify.txt" 2>&1 ||
    fail "osslsigncode verify: $(tail -3 "$work/verify.txt")"
  grep -q 'Signature verification: ok' "$work/verify.txt" || fail "no verified signature: $(cat "$work/verify.txt")"
  grep -q 'Qorvane' "$work/verify.txt" || fail "the signature lacks the product's name"
  # Signed, yet the same program: the pinned build with a signature added.
  osslsigncode remove-signature -in "$out/Install.exe" -out "$work/unsigned.exe" >/dev/null 2>&1
  cmp -s "$work/unsigned.exe" "$repo/build/release-pinned/src/app/Install.exe" ||
    fail "Install.exe without its signature is not the pinned 32-bit build"
  # Pinned to the data.dat beside it, and to no other file.
  "$repo/scripts/check-pe" "$out/Install.exe" "$out/data.dat" >"$work/pin.txt" 2>&1 ||
    fail "the signed Install.exe is not pinned to its data.dat: $(tail -2 "$work/pin.txt")"
  grep -qx "pin: $(stat -c %s "$out/data.dat") bytes, sha256 $(sha256sum "$out/data.dat" | cut -d' ' -f1)" \
    "$work/pin.txt" || fail "check-pe does not report the pin: $(cat "$work/pin.txt")"
  cp "$out/data.dat" "$work/other.dat"
  printf 'x' >>"$work/other.dat"
  "$repo/scripts/check-pe" "$out/Install.exe" "$work/other.dat" >/dev/null 2>&1 &&
    fail "check-pe takes the pin for that of data.dat with a byte appended"
  "$repo/scripts/check-pe" "$repo/build/mingw/src/app/Install.exe" "$out/data.dat" >/dev/null 2>&1 &&
    fail "check-pe takes the unpinned build for a pinned one"
  # Anyone can rebuild it: the same commit pinned to the same package, in
  # another folder, gives the same bytes.
  if (cd "$repo" && cmake --preset mingw -B "$work/rebuild" -DQZ_BUILD_TESTS=OFF \
    -DQZ_PINNED_PACKAGE="$out/data.dat" >/dev/null &&
    cmake --build "$work/rebuild" -j2 --target Install >/dev/null); then
    cmp -s "$work/unsigned.exe" "$work/rebuild/src/app/Install.exe" ||
      fail "a second build pinned to data.dat gives other bytes"
  else
    fail "the second pinned build failed"
  fi
  "$repo/build/release/tools/qzpack/qzpack" list "$out/data.dat" >"$work/list.txt" ||
    fail "data.dat does not list"
  grep -q 'data\\skelmot\\setup.exe' "$work/list.txt" || fail "data.dat lacks setup.exe"
fi

# Failures leave no OUT_DIR: a missing payload, a key that is no key, a
# payload that --strict refuses (no uninstall.exe).
printf 'not a key\n' >"$work/bad-key.pem"
mkdir -p "$work/short/data/skelmot"
cp "$payload/ravik.exe" "$work/short/"
cp "$payload/data/pendrel.exe" "$work/short/data/"
cp "$payload/data/skelmot/setup.exe" "$work/short/data/skelmot/"
check_refused() {
  local what=$1 want=$2
  shift 2
  "$repo/scripts/release" "$@" >"$work/out.txt" 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit $got, expected $want: $(tail -3 "$work/out.txt")"
  [ ! -e "$work/never" ] || fail "$what: left OUT_DIR behind"
  ls -A "$work" | grep -q '^\.release-' && fail "$what: left its temporary folder"
  return 0
}
check_refused "missing payload" 1 "$work/no-such-payload" "$work/never"
check_refused "bad key" 1 "$payload" "$work/never" --sign "$work/cert.pem" "$work/bad-key.pem"
check_refused "missing key" 1 "$payload" "$work/never" --sign "$work/cert.pem" "$work/no-key.pem"
check_refused "payload refused under --strict" 1 "$work/short" "$work/never"
check_refused "usage" 2 "$payload"
# An existing OUT_DIR survives a failed release untouched.
mkdir -p "$work/kept"
printf 'old\n' >"$work/kept/SHA256SUMS"
"$repo/scripts/release" "$payload" "$work/kept" --sign "$work/cert.pem" "$work/bad-key.pem" >/dev/null 2>&1
[ "$(cat "$work/kept/SHA256SUMS")" = old ] || fail "a failed release touched an existing OUT_DIR"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "release: all checks passed"
