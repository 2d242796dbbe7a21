#!/usr/bin/env bash
# scripts/release end to end, offline, as a publisher with a hardware-kept
# key signs: a throwaway certificate authority made with openssl, a
# code-signing certificate it issued whose key lives in a SoftHSM2 token made
# for the test, and a timestamp authority on 127.0.0.1 (tsa_server.py). A
# release signed through the token with a timestamp verifies against that
# authority and shows the timestamp, its Install.exe is pinned to its data.dat
# and rebuilds to the same bytes, and no process's command line held the
# token's PIN while it was signed; it replaces a previous release, and so does
# an unsigned one; then failures that must leave no OUT_DIR behind: a
# certificate from another authority, a certificate offered as its own anchor
# (under each PEM label OpenSSL loads, and as DER), a timestamp not given or
# not verifiable, a link to the key in the payload, a PIN on the command line;
# and OUT_DIRs that must be left as they were: one holding a foreign file, the
# payload itself, one inside it and one above it. The signed release stays in
# OUT for the robot's e2e.install.install_signed_release, which also alters
# and swaps its data.dat.
#
#   tests/release/release_test.sh OUT
#
# Run by scripts/test after the 32-bit build (its build trees are reused), and
# in the 64-bit fallback once more with QZ_RELEASE_PRESET=win64, which
# scripts/release reads: the x86_64 Install.exe is then the one signed.
set -uo pipefail
repo=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
preset=${QZ_RELEASE_PRESET:-mingw}
pinned_tree=$repo/build/release-pinned
[ "$preset" = mingw ] || pinned_tree=$pinned_tree-$preset
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
# A PIN no other process's command line holds by chance.
pin=qz$(openssl rand -hex 8)
{
  softhsm2-util --init-token --free --label qz-release --pin "$pin" --so-pin 271828 &&
    softhsm2-util --import "$work/signer-key.pem" --token qz-release --label publisher --id 51 \
      --pin "$pin"
} >/dev/null || need "the SoftHSM2 token cannot be made"
rm -f "$work/signer-key.pem"
key_uri="pkcs11:token=qz-release;object=publisher;type=private"
(umask 077 && printf '%s\n' "$pin" >"$work/token-pin")

# osslsigncode, watched: a wrapper first on PATH records each call and, from
# its start until the real one ends, looks for the PIN on every process's
# command line (the pattern comes from a file, so that grep's own command
# line does not hold it).
mkdir "$work/bin"
printf '%s\n' "$pin" >"$work/pin.pattern"
cat >"$work/bin/osslsigncode" <<WRAPPER
#!/usr/bin/env bash
printf '%s\n' "\$*" >>"$work/osslsigncode.calls"
exec 3<&0
"$(command -v osslsigncode)" "\$@" <&3 3<&- &
child=\$!
grep -laFf "$work/pin.pattern" /proc/[0-9]*/cmdline >>"$work/pin.seen" 2>/dev/null
while kill -0 "\$child" 2>/dev/null; do
  grep -laFf "$work/pin.pattern" /proc/[0-9]*/cmdline >>"$work/pin.seen" 2>/dev/null
done
wait "\$child"
WRAPPER
chmod +x "$work/bin/osslsigncode"
# The watch sees a PIN that is on a command line: its own.
PATH=$work/bin:$PATH osslsigncode --version "$pin" >/dev/null 2>&1
[ -s "$work/pin.seen" ] || need "the wrapper does not see a PIN on its own command line"
rm -f "$work/pin.seen" "$work/osslsigncode.calls"

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

# The product's programs (stand-ins: the headers of an x86 Windows program,
# an MZ header leading to a PE signature, then their names) but for
# uninstall.exe, which the release adds, and two files with Chinese names.
payload=$work/payload
mkdir -p "$payload/data/skelmot" "$payload/文档"
for f in ravik.exe data/pendrel.exe data/skelmot/setup.exe; do
  { printf 'MZ' && head -c 58 /dev/zero && printf '\x40\0\0\0PE\0\0\x4c\x01%s' "$f"; } >"$payload/$f"
done
printf '说明\r\n' >"$payload/文档/说明.txt"

# check_modes DIR: the release's folder 0755, its files 0644.
check_modes() {
  local got
  got=$(stat -c '%n %a' "$1" "$1"/* | sed "s|^$1|OUT|" | tr '\n' ' ')
  [ "$got" = "OUT 755 OUT/Install.exe 644 OUT/SHA256SUMS 644 OUT/data.dat 644 " ] ||
    fail "modes in $1: $got"
}

# OUT holds a previous release (its three files, stale), which the release
# replaces. OUT_DIR named relative to the current folder, which is not the
# repository; the options in another order than the usage line's; the PIN
# from a file, under the wrapper's watch.
rm -rf "$out"
mkdir -p "$out"
for f in Install.exe SHA256SUMS data.dat; do printf 'old\n' >"$out/$f"; done
if ! (cd "$(dirname "$out")" && PATH=$work/bin:$PATH \
  "$repo/scripts/release" "$payload" "$(basename "$out")" --timestamp "$good_tsa" --pin-file "$work/token-pin" \
    --ca "$work/ca.pem" --sign-pkcs11 "$work/signer.pem" "$module" "$key_uri" >"$work/release.txt" 2>&1); then
  fail "scripts/release --sign-pkcs11 --timestamp failed: $(tail -5 "$work/release.txt")"
else
  [ "$(ls -A "$out" | sort | tr '\n' ' ')" = "Install.exe SHA256SUMS data.dat " ] ||
    fail "OUT holds: $(ls -A "$out")"
  (cd "$out" && sha256sum -c --quiet SHA256SUMS) || fail "sha256sum -c SHA256SUMS"
  grep -qx "release: replacing the previous release in $out" "$work/release.txt" ||
    fail "the release did not say it replaced the previous one"
  grep -q 'without --timestamp' "$work/release.txt" && fail "a timestamped release warns of no timestamp"
  check_modes "$out"
  grep -q '^sign .*-readpass' "$work/osslsigncode.calls" ||
    fail "the release did not sign through the watched osslsigncode with -readpass: $(cat "$work/osslsigncode.calls")"
  [ ! -s "$work/pin.seen" ] || fail "the PIN was on the command line of $(sort -u "$work/pin.seen" | tr '\n' ' ')"
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
{ printf 'MZ' && head -c 58 /dev/zero && printf '\x40\0\0\0PE\0\0\x4c\x01their own'; } >"$work/own/uninstall.exe"
if ! "$repo/scripts/release" "$work/own" "$work/pem-release" --sign "$work/pem-signer.pem" \
  "$work/pem-signer-key.pem" --ca "$work/ca.pem" >"$work/release.txt" 2>&1; then
  fail "scripts/release --sign failed: $(tail -5 "$work/release.txt")"
else
  grep -q "carries its own uninstall.exe, which is kept" "$work/release.txt" ||
    fail "the release did not say it kept the payload's uninstall.exe"
  "$repo/build/release/tools/qzpack/qzpack" extract "$work/pem-release/data.dat" "$work/own-out" >/dev/null &&
    cmp -s "$work/own-out/uninstall.exe" "$work/own/uninstall.exe" ||
    fail "the payload's own uninstall.exe was not packed as it is"
  osslsigncode verify -CAfile "$work/ca.pem" -in "$work/pem-release/Install.exe" >"$work/verify.txt" 2>&1 ||
    fail "osslsigncode verify of the PEM-signed release: $(tail -3 "$work/verify.txt")"
  grep -qx 'Timestamp is not available' "$work/verify.txt" || fail "a timestamp nobody asked for"
  grep -q '^release: warning: signed without --timestamp' "$work/release.txt" ||
    fail "no warning that the signature lapses with the certificate: $(cat "$work/release.txt")"
fi
# An unsigned release, under a strict umask, replaces that signed one: the
# same modes, and the pinned build as it is.
if ! (umask 077 && "$repo/scripts/release" "$payload" "$work/pem-release" >"$work/release.txt" 2>&1); then
  fail "scripts/release without signing failed: $(tail -5 "$work/release.txt")"
else
  grep -qx "release: replacing the previous release in $work/pem-release" "$work/release.txt" ||
    fail "the unsigned release did not say it replaced the signed one"
  check_modes "$work/pem-release"
  cmp -s "$work/pem-release/Install.exe" "$pinned_tree/src/app/Install.exe" ||
    fail "the unsigned Install.exe is not the pinned build"
fi
rm -rf "$work/pem-release"

# Failures leave no OUT_DIR and no temporary folder, and never show the PIN.
# check_refused WHAT STATUS MESSAGE ARGS...: the release exits STATUS and says
# MESSAGE.
printf 'not a key\n' >"$work/bad-key.pem"
# A payload that --strict refuses (no data\pendrel.exe).
mkdir -p "$work/short/data/skelmot"
cp "$payload/ravik.exe" "$work/short/"
cp "$payload/data/skelmot/setup.exe" "$work/short/data/skelmot/"
# A payload whose ravik.exe is text, which --strict refuses too.
cp -r "$payload" "$work/text-program"
printf 'MZ, yet text\n' >"$work/text-program/ravik.exe"
# Payloads that would carry a signing key: the key file itself, and a link
# to it from inside.
cp -r "$payload" "$work/with-key"
cp "$work/pem-signer-key.pem" "$work/with-key/key.pem"
cp "$work/token-pin" "$work/with-key/token-pin"
cp -r "$payload" "$work/with-link"
ln -s "$work/pem-signer-key.pem" "$work/with-link/data/key.pem"
mkdir "$work/tmp"
check_refused() {
  local what=$1 want=$2 message=$3
  shift 3
  TMPDIR=$work/tmp "$repo/scripts/release" "$@" >"$work/out.txt" 2>&1
  local got=$?
  [ "$got" -eq "$want" ] || fail "$what: exit $got, expected $want: $(tail -3 "$work/out.txt")"
  grep -qF -- "$message" "$work/out.txt" || fail "$what: no \"$message\" in: $(tail -3 "$work/out.txt")"
  grep -qF -- "$pin" "$work/out.txt" && fail "$what: the output shows the PIN"
  [ ! -e "$work/never" ] || fail "$what: left OUT_DIR behind"
  rm -rf "$work/never"
  ls -A "$work" | grep -q '^\.release-' && fail "$what: left its temporary folder"
  [ -z "$(ls -A "$work/tmp")" ] || fail "$what: left $(ls -A "$work/tmp") in TMPDIR"
  return 0
}
# The token with the PIN from a file, and (token_env) from QZ_TOKEN_PIN.
token=("$module" "$key_uri" --pin-file "$work/token-pin")
token_env=("$module" "$key_uri")
check_refused "a certificate from another CA" 1 "does not verify against $work/ca.pem" \
  "$payload" "$work/never" --sign-pkcs11 "$work/stranger.pem" "${token[@]}" --ca "$work/ca.pem"
check_refused "the test CA's certificate against the system's authorities" 1 "does not verify against" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}"
check_refused "a certificate as its own anchor" 1 "cannot vouch for itself" \
  "$payload" "$work/never" --sign "$work/self.pem" "$work/self-key.pem" --ca "$work/self.pem"
# The self-signed certificate as its own anchor in the other forms OpenSSL
# reads, after the real authority. Each PEM label makes an anchor
# osslsigncode trusts (a program signed with it verifies "ok" against that
# file), so each must be refused; osslsigncode reads no DER file, which is
# refused as holding no PEM certificate.
openssl x509 -in "$work/self.pem" -trustout >"$work/self-trusted"
sed 's/-----\(BEGIN\|END\) CERTIFICATE-----/-----\1 X509 CERTIFICATE-----/' "$work/self.pem" >"$work/self-x509"
cat "$work/ca.pem" "$work/self-trusted" >"$work/self-trusted.pem"
cat "$work/ca.pem" "$work/self-x509" >"$work/self-x509.pem"
openssl x509 -in "$work/self.pem" -outform DER -out "$work/self.der"
osslsigncode sign -certs "$work/self.pem" -key "$work/self-key.pem" -in "$pinned_tree/src/app/Install.exe" \
  -out "$work/self-signed.exe" >/dev/null 2>&1 || need "osslsigncode cannot sign with the self-signed certificate"
self_hash=$(openssl x509 -in "$work/self.pem" -outform DER | sha256sum | cut -d' ' -f1)
while IFS='|' read -r form file bypass message; do
  osslsigncode verify -CAfile "$work/$file" -require-leaf-hash "sha256:$self_hash" -in "$work/self-signed.exe" \
    2>&1 | grep -qx 'Signature verification: ok'
  case $?,$bypass in
    0,ok | 1,failed) ;;
    *) fail "the signer as $form: osslsigncode verify is not \"$bypass\" without the release's check" ;;
  esac
  check_refused "the signer as its own anchor, as $form" 1 "$message" \
    "$payload" "$work/never" --sign "$work/self.pem" "$work/self-key.pem" --ca "$work/$file"
done <<'FORMS'
TRUSTED CERTIFICATE|self-trusted.pem|ok|cannot vouch for itself
X509 CERTIFICATE|self-x509.pem|ok|cannot vouch for itself
DER|self.der|failed|holds no PEM certificate
FORMS
check_refused "a timestamp the server does not give" 1 "$refusing_tsa gave no timestamp" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token[@]}" --ca "$work/ca.pem" \
  --timestamp "$refusing_tsa"
# Signed with the PIN from the environment: only the timestamp fails.
export QZ_TOKEN_PIN=$pin
check_refused "a timestamp from an authority nobody trusts" 1 "$stranger_tsa is missing or does not verify" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token_env[@]}" --ca "$work/ca.pem" \
  --timestamp "$stranger_tsa"
export QZ_TOKEN_PIN=0000
check_refused "a wrong PIN" 1 "signing failed" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "${token_env[@]}" --ca "$work/ca.pem"
unset QZ_TOKEN_PIN
check_refused "a KEY_URI holding the PIN" 2 "KEY_URI holds a pin-value" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "$module" "$key_uri;pin-value=$pin"
check_refused "the PIN file inside the payload" 1 "the token's PIN would be packed" "$work/with-key" \
  "$work/never" --sign-pkcs11 "$work/signer.pem" "$module" "$key_uri" --pin-file "$work/with-key/token-pin"
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
check_refused "a ravik.exe that is no program" 1 "ravik.exe is not a Windows program" \
  "$work/text-program" "$work/never"
check_refused "no OUT_DIR" 2 "usage:" "$payload"
check_refused "--ca without signing" 2 "need --sign" "$payload" "$work/never" --ca "$work/ca.pem"
check_refused "a key that is no pkcs11: URI" 2 "not a pkcs11: URI" \
  "$payload" "$work/never" --sign-pkcs11 "$work/signer.pem" "$module" "token=qz-release;pin-value=$pin"
check_refused "two signing options" 2 "usage:" "$payload" "$work/never" \
  --sign "$work/pem-signer.pem" "$work/pem-signer-key.pem" --sign-pkcs11 "$work/signer.pem" "${token[@]}"
check_refused "an unknown option" 2 "usage:" "$payload" "$work/never" --sign-with-anything
# A previous release survives a failed release untouched.
mkdir -p "$work/kept"
for f in Install.exe SHA256SUMS data.dat; do printf 'old\n' >"$work/kept/$f"; done
"$repo/scripts/release" "$payload" "$work/kept" --sign-pkcs11 "$work/stranger.pem" "${token[@]}" \
  --ca "$work/ca.pem" >/dev/null 2>&1
[ "$(cat "$work/kept/SHA256SUMS")" = old ] || fail "a failed release touched an existing OUT_DIR"

# OUT_DIRs the release must not touch, in and around a copy of the payload:
# each refused before building, and the tree (names, types, modes, contents)
# as it was. PAYLOAD|OUT|MESSAGE, relative to $work/trees.
mkdir -p "$work/trees/foreign"
cp -r "$payload" "$work/trees/p"
for f in Install.exe SHA256SUMS data.dat notes.txt; do printf '%s\n' "$f" >"$work/trees/foreign/$f"; done
tree_state() {
  (cd "$work/trees" && find . -printf '%p %y %m\n' | sort && find . -type f -exec sha256sum {} + | sort)
}
while IFS='|' read -r from to message; do
  before=$(tree_state)
  TMPDIR=$work/tmp "$repo/scripts/release" "$work/trees/$from" "$work/trees/$to" >"$work/out.txt" 2>&1
  got=$?
  [ "$got" -eq 1 ] || fail "OUT_DIR $to for $from: exit $got, expected 1"
  grep -qF -- "$message" "$work/out.txt" || fail "OUT_DIR $to for $from: no \"$message\" in: $(tail -3 "$work/out.txt")"
  grep -q 'building' "$work/out.txt" && fail "OUT_DIR $to for $from: refused only after building"
  [ "$(tree_state)" = "$before" ] || fail "OUT_DIR $to for $from: the files changed"
done <<'OUTS'
p|foreign|holds other files than a previous release's
p|p|is the payload folder
p|p/data/out|lies inside the payload folder
p|../trees|holds the payload folder
p/data|p|holds the payload folder
OUTS

if [ "$failures" -ne 0 ]; then
  echo "$failures failure(s)" >&2
  exit 1
fi
echo "release: all checks passed"
