#!/usr/bin/env bash
# scripts/release end to end, offline, as a publisher with a hardware-kept
# key signs: a throwaway certificate authority made with openssl, a
# code-signing certificate it issued whose key lives in a SoftHSM2 token made
# for the test, and a timestamp authority on 127.0.0.1 (tsa_server.py). A
# release signed through the token with a timestamp verifies against that
# authority and shows the timestamp, its Install.exe is pinned to its data.dat
# and rebuilds to the same bytes; then failures that must leave no OUT_DIR
# behind: a certificate from another authority, a certificate offered as its
# own anchor, a timestamp not given or not verifiable, a link to the key in
# the payload. The signed release stays in OUT for the robot's
# e2e.install.install_signed_release, which also alters and swaps its data.dat.
#
#   tests/release/release_test.sh OUT
#
# Run by scripts/test after the 32-bit build (its build trees are reused), and
# in the 64-bit fallback once more with QZ_RELEASE_PRESET=win64, which
# scripts/release reads: the x86_64 Install.exe is then the one signed.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
preset=${QZ_RELEASE_PRESET:-mingw}
mkdir -p "$(dirname "$1")"
out=$(cd "$(dirname "$1")" && pwd)/$(basename "$1")
work=$(mktemp -d "${TMPDIR:-/tmp}/qz-release-XXXXXX")
servers=()
cleanup() {
  local pid
  for pid in "${servers[@]}"; do
    kill "$pid" 2>/dev/null
    wait "$pid" 2>/dev/null
  done
  rm -rf "$work"
}
trap cleanup EXIT
failures=0
fail() {
  echo "FAIL: $*" >&2
  failures=$((failures + 1))
}
need() {
  echo "FAIL: $*" >&2
  exit 1
}

# --- the certificates -------------------------------------------------------
# ca_ext: an authority; signer_ext: code signing; tsa_ext: timestamping only.
cat >"$work/ext.cnf" <<'CNF'
[ca_ext]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[signer_ext]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[tsa_ext]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, timeStamping
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
CNF
# new_key NAME: NAME-key.pem, PKCS#8 as the token imports it.
new_key() {
  openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$work/$1-key.pem" 2>/dev/null
}
# new_ca NAME CN: a self-signed authority, valid for two days.
new_ca() {
  new_key "$1" && openssl req -x509 -new -key "$work/$1-key.pem" -days 2 -subj "/CN=$2" \
    -config /dev/null -addext "basicConstraints=critical,CA:true" \
    -addext "keyUsage=critical,keyCertSign,cRLSign" -out "$work/$1.pem" 2>/dev/null
}
# issue NAME KEY CA EXT CN: a certificate for KEY's key, issued by CA, valid for a day.
issue() {
  openssl req -new -key "$work/$2-key.pem" -subj "/CN=$5" -config /dev/null -out "$work/$1.csr" 2>/dev/null &&
    openssl x509 -req -in "$work/$1.csr" -CA "$work/$3.pem" -CAkey "$work/$3-key.pem" \
      -set_serial "0x$(openssl rand -hex 8)" -days 1 -extfile "$work/ext.cnf" -extensions "$4" \
      -out "$work/$1.pem" 2>/dev/null
}
{
  new_ca ca "Qorvane test CA" && new_ca stranger-ca "Some other CA" &&
    new_key signer && issue signer signer ca signer_ext "Qorvane test publisher" &&
    issue stranger signer stranger-ca signer_ext "Qorvane test publisher" &&
    new_key tsa && issue tsa tsa ca tsa_ext "Qorvane test timestamps" &&
    issue stranger-tsa tsa stranger-ca tsa_ext "Some other timestamps" &&
    openssl req -x509 -newkey rsa:2048 -nodes -days 1 -subj "/CN=Qorvane self-signed" \
      -addext "extendedKeyUsage=codeSigning" -keyout "$work/self-key.pem" \
      -out "$work/self.pem" >/dev/null 2>&1
} || need "openssl made no certificates"
openssl verify -CAfile "$work/ca.pem" "$work/signer.pem" "$work/tsa.pem" >/dev/null ||
  need "the test certificates do not chain to the test CA"

# --- the token --------------------------------------------------------------
# Its own configuration and token folder; the signer's key is imported and
# its file removed, so that only the token can sign as the publisher.
module=""
for m in /usr/lib/softhsm/libsofthsm2.so /usr/lib/x86_64-linux-gnu/softhsm/libsofthsm2.so; do
  [ -r "$m" ] && module=$m && break
done
[ -n "$module" ] || need "no SoftHSM2 module (scripts/setup installs softhsm2)"
mkdir "$work/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' \
  "$work/tokens" >"$work/softhsm2.conf"
export SOFTHSM2_CONF=$work/softhsm2.conf
pin=4711
{
  softhsm2-util --init-token --free --label qz-release --pin "$pin" --so-pin 271828 &&
    softhsm2-util --import "$work/signer-key.pem" --token qz-release --label publisher --id 51 \
      --pin "$pin"
} >/dev/null || need "the SoftHSM2 token cannot be made"
rm -f "$work/signer-key.pem"
key_uri="pkcs11:token=qz-release;object=publisher;type=private;pin-value=$pin"

# --- the timestamp authorities ----------------------------------------------
# start_tsa NAME ARGS...: tsa_server.py on a free port, stopped by the trap
# (or after ten minutes by itself); its address in $tsa_url.
cat >"$work/tsa.cnf" <<CNF
[tsa]
default_tsa = tsa_config
[tsa_config]
serial = $work/tsa-serial
signer_digest = sha256
default_policy = 1.3.6.1.4.1.4146.2.3
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
CNF
echo 01 >"$work/tsa-serial"
start_tsa() {
  local name=$1
  shift
  python3 "$repo/tests/release/tsa_server.py" "$work/$name.port" 600 "$@" 2>>"$work/tsa.log" &
  servers+=($!)
  for _ in $(seq 100); do
    [ -s "$work/$name.port" ] && break
    sleep 0.1
  done
  [ -s "$work/$name.port" ] || need "the timestamp authority $name did not start: $(cat "$work/tsa.log")"
  tsa_url=http://127.0.0.1:$(cat "$work/$name.port")/
}
start_tsa good "$work/tsa.cnf" "$work/tsa.pem" "$work/tsa-key.pem" "$work/ca.pem"
good_tsa=$tsa_url
start_tsa refusing --refuse
refusing_tsa=$tsa_url
start_tsa stranger "$work/tsa.cnf" "$work/stranger-tsa.pem" "$work/tsa-key.pem" "$work/stranger-ca.pem"
stranger_tsa=$tsa_url

# The product's programs (stand-ins) but for uninstall.exe, which the release
# adds, and two files with Chinese names.
payload=$work/payload
mkdir -p "$payload/data/skelmot" "$payload/文档"
for f in ravik.exe data/pendrel.exe data/skelmot/setup.exe; do
  printf 'MZ %s' "$f" >"$payload/$f"
done
printf '说明\r\n' >"$payload/文档/说明.txt"

rm -rf "$out"
# OUT_DIR named relative to the current folder, which is not the repository;
# the options in another order than the usage line's.
if ! (cd "$(dirname "$out")" &&
  "$repo/scripts/release" "$payload" "$(basename "$out")" --timestamp "$good_tsa" \
    --ca "$work/ca.pem" --sign-pkcs11 "$work/signer.pem" "$module" "$key_uri" >"$work/release.txt" 2>&1); then
  fail "scripts/release --sign-pkcs11 --timestamp failed: $(tail -5 "$work/release.txt")"
else
  [ "$(ls -A "$out" | sort | tr '\n' ' ')" = "Install.exe SHA256SUMS data.dat " ] ||
    fail "OUT holds: $(ls -A "$out")"
  (cd "$out" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
  grep -q '^release: timestamped ' "$work/release.txt" || fail "the release did not report its timestamp"
  osslsigncode verify -CAfile "$work/ca.pem" -TSA-CAfile "$work/ca.pem" -in "$out/Install.exe" \
    >"$work/verify.txt" 2>&1 || fail "osslsigncode verify: $(tail -3 "$work/verify.txt")"
  grep -qx 'Signature verification: ok' "$work/verify.txt" ||
    fail "no verified signature: $(cat "$work/verify.txt")"
  grep -qx 'Timestamp Server Signature verification: ok' "$work/verify.txt" ||
    fail "no verified timestamp: $(grep -i timestamp "$work/verify.txt")"
  grep -q 'Timestamp time: ' "$work/verify.txt" || fail "osslsigncode verify shows no timestamp time"
  grep -E 'Timestamp time:|Signature verification:' "$work/verify.txt" | sed 's/^[[:space:]]*/verify: /'
  grep -q 'Subject: /CN=Qorvane test timestamps' "$work/verify.txt" ||
    fail "the timestamp is not the test authority's"
  grep -q 'Subject: /CN=Qorvane test publisher' "$work/verify.txt" || fail "the signer is not the publisher"
  grep -q 'Qorvane' "$work/verify.txt" || fail "the signature lacks the product's name"
  # The same file fails against an authority that did not issue its signer.
  osslsigncode verify -CAfile "$work/stranger-ca.pem" -in "$out/Install.exe" >/dev/null 2>&1 &&
    fail "the signature verifies against an unrelated CA"
  # Signed, yet the same program: the pinned build with a signature added.
  pinned_tree=$repo/build/release-pinned
  [ "$preset" = mingw ] || pinned_tree=$pinned_tree-$preset
  osslsigncode remove-signature -in "$out/Install.exe" -out "$work/unsigned.exe" >/dev/null 2>&1
  cmp -s "$work/unsigned.exe" "$pinned_tree/src/app/Install.exe" ||
    fail "Install.exe without its signature is not the pinned $preset build"
  # Pinned to the data.dat beside it (check-pe reports the pin of an x86_64
  # program too, whose other checks it fails), and to no other file.
  "$repo/scripts/check-pe" "$out/Install.exe" >"$work/pin.txt" 2>&1
  grep -qx "pin: $(stat -c %s "$out/data.dat") bytes, sha256 $(sha256sum "$out/data.dat" | cut -d' ' -f1)" \
    "$work/pin.txt" || fail "the signed Install.exe is not pinned to its data.dat: $(grep '^pin' "$work/pin.txt")"
  if [ "$preset" = mingw ]; then
    "$repo/scripts/check-pe" "$out/Install.exe" "$out/data.dat" >/dev/null 2>&1 ||
      fail "check-pe refuses the signed Install.exe with its own data.dat"
    cp "$out/data.dat" "$work/other.dat"
    printf 'x' >>"$work/other.dat"
    "$repo/scripts/check-pe" "$out/Install.exe" "$work/other.dat" >/dev/null 2>&1 &&
      fail "check-pe takes the pin for that of data.dat with a byte appended"
    "$repo/scripts/check-pe" "$repo/build/mingw/src/app/Install.exe" "$out/data.dat" >/dev/null 2>&1 &&
      fail "check-pe takes the unpinned build for a pinned one"
  fi
  # Anyone can rebuild it: the same commit pinned to the same package, in
  # another folder, gives the same bytes.
  if (cd "$repo" && cmake --preset "$preset" -B "$work/rebuild" -DQZ_BUILD_TESTS=OFF \
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
  # The product's own uninstaller, signed like Install.exe, packed from a
  # copy of the payload, which stays as it was.
  grep -q "packing the product's own" "$work/release.txt" || fail "the release did not say it added uninstall.exe"
  [ ! -e "$payload/uninstall.exe" ] || fail "the release wrote into the payload folder"
  "$repo/build/release/tools/qzpack/qzpack" extract "$out/data.dat" "$work/extracted" >/dev/null ||
    fail "data.dat does not extract"
  osslsigncode verify -CAfile "$work/ca.pem" -TSA-CAfile "$work/ca.pem" \
    -in "$work/extracted/uninstall.exe" >"$work/verify.txt" 2>&1 &&
    grep -qx 'Signature verification: ok' "$work/verify.txt" ||
    fail "the packed uninstall.exe is not signed: $(tail -3 "$work/verify.txt")"
  osslsigncode remove-signature -in "$work/extracted/uninstall.exe" -out "$work/unsigned-un.exe" >/dev/null 2>&1
  uninstall_tree=$repo/build/release-uninstall
  [ "$preset" = mingw ] || uninstall_tree=$uninstall_tree-$preset
  cmp -s "$work/unsigned-un.exe" "$uninstall_tree/src/uninstall/uninstall.exe" ||
    fail "the packed uninstall.exe without its signature is not the $preset build"
fi

# --sign with a PEM key file still signs, and verifies against --ca.
new_key pem-signer && issue pem-signer pem-signer ca signer_ext "Qorvane test publisher" ||
  need "openssl made no certificate for the PEM key"
# A payload with an uninstall.exe of its own keeps it.
cp -r "$payload" "$work/own"
printf 'MZ their own' >"$work/own/uninstall.exe"
if ! "$repo/scripts/release" "$work/own" "$work/pem-release" --sign "$work/pem-signer.pem" \
  "$work/pem-signer-key.pem" --ca "$work/ca.pem" >"$work/release.txt" 2>&1; then
  fail "scripts/release --sign failed: $(tail -5 "$work/release.txt")"
else
  grep -q "carries its own uninstall.exe, which is kept" "$work/release.txt" ||
    fail "the release did not say it kept the payload's uninstall.exe"
  "$repo/build/release/tools/qzpack/qzpack" extract "$work/pem-release/data.dat" "$work/own-out" >/dev/null &&
    [ "$(cat "$work/own-out/uninstall.exe")" = "MZ their own" ] ||
    fail "the payload's own uninstall.exe was not packed as it is"
  osslsigncode verify -CAfile "$work/ca.pem" -in "$work/pem-release/Install.exe" >"$work/verify.txt" 2>&1 ||
    fail "osslsigncode verify of the PEM-signed release: $(tail -3 "$work/verify.txt")"
  grep -qx 'Timestamp is not available' "$work/verify.txt" || fail "a timestamp nobody asked for"
fi
rm -rf "$work/pem-release"

# Failures leave no OUT_DIR. check_refused WHAT STATUS MESSAGE ARGS...: the
# release exits STATUS and says MESSAGE.
printf 'not a key\n' >"$work/bad-key.pem"
# A payload that --strict refuses (no data\pendrel.exe).
mkdir -p "$work/short/data/skelmot"
cp "$payload/ravik.exe" "$work/short/"
cp "$payload/data/skelmot/setup.exe" "$work/short/data/skelmot/"
# Payloads that would carry a signing key: the key file itself, and a link
# to it from inside.
cp -r "$payload" "$work/with-key"
cp "$work/pem-signer-key.pem" "$work/with-key/key.pem"
cp -r "$payload" "$work/with-link"
ln -s "$work/pem-signer-key.pem" "$work/with-link/data/key.pem"
check_refused() {
  local what=$1 want=$2 message=$3
  shift 3
  "$repo/scripts/release" "$@" >"$work/out.txt" 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit $got, expected $want: $(tail -3 "$work/out.txt")"
  grep -qF -- "$message" "$work/out.txt" || fail "$what: no \"$message\" in: $(tail -3 "$work/out.txt")"
  [ ! -e "$work/never" ] || fail "$what: left OUT_DIR behind"
  rm -rf "$work/never"
  ls -A "$work" | grep -q '^\.release-' && fail "$what: left its temporary folder"
  return 0
}
token=("$module" "$key_uri")
check_refused "a certificate from another CA" 1 "does not verify against $work/ca.pem" \
  "$payload" "$work/never" --sign-pkcs11 "$work/stranger.pem" "${token[@]}" --ca "$work/ca.pem"
check_refused "the test CA's certificate against the system's authorities" 1 "does not verify against" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}"
check_refused "a certificate as its own anchor" 1 "cannot vouch for itself" \
  "$payload" "$work/never" --sign "$work/self.pem" "$work/self-key.pem" --ca "$work/self.pem"
check_refused "a timestamp the server does not give" 1 "$refusing_tsa gave no timestamp" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}" --ca "$work/ca.pem" \
  --timestamp "$refusing_tsa"
check_refused "a timestamp from an authority nobody trusts" 1 "$stranger_tsa is missing or does not verify" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}" --ca "$work/ca.pem" \
  --timestamp "$stranger_tsa"
check_refused "a wrong PIN" 1 "signing failed" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "$module" "${key_uri%=*}=0000" --ca "$work/ca.pem"
check_refused "the key inside the payload" 1 "the signing key would be packed" \
  "$work/with-key" "$work/never" --sign "$work/pem-signer.pem" "$work/with-key/key.pem" --ca "$work/ca.pem"
check_refused "a link to the key inside the payload" 1 "$work/with-link/data/key.pem" \
  "$work/with-link" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}" --ca "$work/ca.pem"
check_refused "missing payload" 1 "no such folder" "$work/no-such-payload" "$work/never"
check_refused "bad key" 1 "signing failed" \
  "$payload" "$work/never" --sign "$work/pem-signer.pem" "$work/bad-key.pem" --ca "$work/ca.pem"
check_refused "missing key" 1 "cannot be read" \
  "$payload" "$work/never" --sign "$work/pem-signer.pem" "$work/no-key.pem"
check_refused "payload refused under --strict" 1 "refused the payload" "$work/short" "$work/never"
check_refused "no OUT_DIR" 2 "usage:" "$payload"
check_refused "--ca without signing" 2 "need --sign" "$payload" "$work/never" --ca "$work/ca.pem"
check_refused "a key that is no pkcs11: URI" 2 "not a pkcs11: URI" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "$module" "$work/pem-signer-key.pem"
check_refused "two signing options" 2 "usage:" "$payload" "$work/never" \
  --sign "$work/pem-signer.pem" "$work/pem-signer-key.pem" --sign-pkcs11 "$work/signer.pem" "${token[@]}"
check_refused "an unknown option" 2 "usage:" "$payload" "$work/never" --sign-with-anything
# An existing OUT_DIR survives a failed release untouched.
mkdir -p "$work/kept"
printf 'old\n' >"$work/kept/SHA256SUMS"
"$repo/scripts/release" "$payload" "$work/kept" --sign-pkcs11 "$work/stranger.pem" "${token[@]}" \
  --ca "$work/ca.pem" >/dev/null 2>&1
[ "$(cat "$work/kept/SHA256SUMS")" = old ] || fail "a failed release touched an existing OUT_DIR"

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "release: all checks passed"
