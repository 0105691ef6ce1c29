#!/usr/bin/env bash
# The release command end to end, with a throwaway certificate authority, a
# software token (SoftHSM) and a time-stamping authority on 127.0.0.1:
#  - two clean builds in different folders, one after the other, give the
#    same unsigned bytes, also under the signature;
#  - the version set in CMakeLists.txt reaches the version resource, the
#    manifest, BUILDINFO.txt and the release's folder name;
#  - signing through a PKCS#12 file and through the token, time-stamped,
#    verifies against the test's root; one changed byte fails verification;
#    the signed program passes the release checks and runs (32-bit Wine);
#  - every failure ends with a non-zero status and one line naming the
#    cause, leaves no release behind, and no secret leaks.
#   release_test.sh [trust_check.exe]   (Wine's signature check, when given)
set -uo pipefail

repo=$(cd "$(dirname "$0")/../.." && pwd)
release="$repo/tools/release.sh"
trust_check=${1:-}
started=$SECONDS

failures=0
fail() {
    echo "FAIL: $*"
    failures=$((failures + 1))
}
note() { echo "-- $*"; }

T=$(mktemp -d "${TMPDIR:-/tmp}/cs-release-test.XXXXXX")
tsa_pid=""
cleanup() {
    [ -z "$tsa_pid" ] || kill "$tsa_pid" 2>/dev/null
    [ -z "$tsa_pid" ] || wait "$tsa_pid" 2>/dev/null
    rm -rf "$T"
}
trap cleanup EXIT

for tool in osslsigncode openssl softhsm2-util python3 sha256sum; do
    command -v "$tool" >/dev/null || { echo "FAIL: $tool is missing (tools/install-deps.sh installs it)"; exit 1; }
done
softhsm_module=""
for candidate in /usr/lib/softhsm/libsofthsm2.so /usr/lib/x86_64-linux-gnu/softhsm/libsofthsm2.so; do
    [ -f "$candidate" ] && softhsm_module=$candidate && break
done
[ -n "$softhsm_module" ] || { echo "FAIL: no SoftHSM module (tools/install-deps.sh installs softhsm2)"; exit 1; }

version=$(sed -n 's/^project(ClassicSwitch .*VERSION \([0-9]*\.[0-9]*\.[0-9]*\).*/\1/p' "$repo/CMakeLists.txt")
[ -n "$version" ] || { echo "FAIL: no version in CMakeLists.txt's project()"; exit 1; }
note "version $version"

# --- a throwaway certificate authority --------------------------------------

pki="$T/pki"
mkdir -p "$pki"
cat >"$pki/ca.cnf" <<'EOF'
[req]
distinguished_name = dn
prompt = no
[dn]
CN = unused
[root]
basicConstraints = critical, CA:true
keyUsage = critical, keyCertSign, cRLSign
subjectKeyIdentifier = hash
[signer]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = codeSigning
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
[tsa]
basicConstraints = critical, CA:false
keyUsage = critical, digitalSignature
extendedKeyUsage = critical, timeStamping
subjectKeyIdentifier = hash
authorityKeyIdentifier = keyid
EOF
make_root() { # name subject
    openssl req -x509 -newkey rsa:2048 -nodes -keyout "$pki/$1.key" -out "$pki/$1.pem" -days 30 \
        -config "$pki/ca.cnf" -extensions root -subj "$2" 2>/dev/null
}
make_leaf() { # name subject extensions
    openssl req -newkey rsa:2048 -nodes -keyout "$pki/$1.key" -out "$pki/$1.csr" -subj "$2" 2>/dev/null &&
        openssl x509 -req -in "$pki/$1.csr" -CA "$pki/root.pem" -CAkey "$pki/root.key" -CAcreateserial \
            -out "$pki/$1.pem" -days 2 -extfile "$pki/ca.cnf" -extensions "$3" 2>/dev/null
}
make_root root "/CN=ClassicSwitch Test Root" &&
    make_root foreign "/CN=Somebody Else's Root" &&
    make_leaf signer "/CN=ClassicSwitch Test Signer" signer &&
    make_leaf tsa "/CN=ClassicSwitch Test Time Stamps" tsa &&
    openssl genpkey -algorithm RSA -pkeyopt rsa_keygen_bits:2048 -out "$pki/stranger.key" 2>/dev/null &&
    openssl x509 -in "$pki/root.pem" -outform DER -out "$pki/root.der" ||
    { echo "FAIL: cannot make the test's certificates"; exit 1; }

# Secrets unique to this run, so that any copy of them anywhere is found.
password="pw-$(head -c 12 /dev/urandom | base64 | tr '+/' '._')"
pin=$((100000 + RANDOM * 30 + RANDOM % 30))
printf '%s\n' "$password" >"$pki/password"
printf '%s\n' "wrong-$password" >"$pki/wrong-password"
openssl pkcs12 -export -in "$pki/signer.pem" -inkey "$pki/signer.key" -certfile "$pki/root.pem" \
    -name signer -out "$pki/signer.p12" -passout file:"$pki/password" || { echo "FAIL: cannot make the PKCS#12 file"; exit 1; }
# As Windows exports them: RC2 and 3DES, which OpenSSL 3 calls legacy.
openssl pkcs12 -export -legacy -in "$pki/signer.pem" -inkey "$pki/signer.key" -certfile "$pki/root.pem" \
    -name signer -out "$pki/legacy.p12" -passout file:"$pki/password" || { echo "FAIL: cannot make the legacy PKCS#12 file"; exit 1; }
echo "not a certificate" >"$pki/garbage.pem"
head -c 200 "$pki/signer.p12" >"$pki/truncated.p12"

# The token: the signer's key and a stranger's key. softhsm2-util takes PINs
# only on its command line; these are the test's throwaway PINs.
export SOFTHSM2_CONF="$T/softhsm2.conf"
mkdir -p "$T/tokens"
printf 'directories.tokendir = %s\nobjectstore.backend = file\nlog.level = ERROR\n' "$T/tokens" >"$SOFTHSM2_CONF"
{
    softhsm2-util --init-token --free --label cs-release --so-pin "9$pin" --pin "$pin" &&
        softhsm2-util --import "$pki/signer.key" --token cs-release --label signer --id 01 --pin "$pin" &&
        softhsm2-util --import "$pki/stranger.key" --token cs-release --label stranger --id 02 --pin "$pin"
} >"$T/softhsm.log" 2>&1 || { cat "$T/softhsm.log"; echo "FAIL: cannot set up the software token"; exit 1; }
printf '%s\n' "$pin" >"$pki/pin"
printf '%s\n' "$((pin + 1))" >"$pki/wrong-pin"
signer_key="pkcs11:token=cs-release;object=signer;type=private"
stranger_key="pkcs11:token=cs-release;object=stranger;type=private"

# --- a time-stamping authority on 127.0.0.1 ---------------------------------

echo 01 >"$pki/tsa.serial"
cat >"$pki/tsa.cnf" <<EOF
[tsa]
default_tsa = tsa_config
[tsa_config]
serial = $pki/tsa.serial
signer_cert = $pki/tsa.pem
certs = $pki/root.pem
signer_key = $pki/tsa.key
signer_digest = sha256
default_policy = 1.3.6.1.4.1.99999.1
digests = sha256, sha384, sha512
accuracy = secs:1
ess_cert_id_alg = sha256
EOF
python3 "$repo/tests/scripts/timestamp_authority.py" "$pki/tsa.cnf" "$T/tsa.port" 2>"$T/tsa.log" &
tsa_pid=$!
for _ in $(seq 1 100); do [ -s "$T/tsa.port" ] && break; sleep 0.05; done
[ -s "$T/tsa.port" ] || { echo "FAIL: the time-stamping authority did not start"; exit 1; }
tsa_url="http://127.0.0.1:$(cat "$T/tsa.port")/"
# A port that nobody listens on: taken from the system, then given back.
closed_port=$(python3 -c 'import socket; s = socket.socket(); s.bind(("127.0.0.1", 0)); print(s.getsockname()[1])')

# --- running the release command ----------------------------------------------

# Every tool that could be handed a secret is watched: its command line and
# environment are logged, then the real tool runs.
mkdir -p "$T/watch" "$T/logs"
for tool in osslsigncode openssl; do
    real=$(command -v "$tool")
    cat >"$T/watch/$tool" <<EOF
#!/bin/sh
printf '%s\n' "$tool \$*" >>"$T/logs/argv"
env >>"$T/logs/environment"
exec "$real" "\$@"
EOF
    chmod +x "$T/watch/$tool"
done

# run_release <name> <args...>: runs the command with a temporary folder of
# its own, which must be empty afterwards, whatever the outcome.
run_release() {
    local name=$1
    shift
    mkdir -p "$T/tmp-$name"
    PATH="$T/watch:$PATH" TMPDIR="$T/tmp-$name" "$release" "$@" >"$T/logs/$name.out" 2>"$T/logs/$name.err"
    local status=$?
    [ -z "$(ls -A "$T/tmp-$name")" ] || fail "$name: left files in its temporary folder: $(ls -A "$T/tmp-$name")"
    return $status
}
sign_name="Classic edition switch (release test)"
sign_url="https://example.org/classicswitch/release-test"
signing=(--name "$sign_name" --url "$sign_url" --ca-file "$pki/root.pem")

check_release_folder() { # name folder
    local name=$1 folder=$2
    [ -d "$folder" ] || { fail "$name: no release folder $folder"; return 1; }
    [ "$(cd "$folder" && ls -A | sort | tr '\n' ' ')" = "BUILDINFO.txt ClassicSwitch.exe SHA256SUMS " ] ||
        fail "$name: the release folder holds $(cd "$folder" && ls -A | tr '\n' ' ')"
    (cd "$folder" && sha256sum --quiet --strict -c SHA256SUMS) || fail "$name: SHA256SUMS does not match"
    grep -qx "version: $version" "$folder/BUILDINFO.txt" || fail "$name: BUILDINFO.txt does not name version $version"
    local hidden
    hidden=$(find "$(dirname "$folder")" -mindepth 1 -maxdepth 1 -name '.*')
    [ -z "$hidden" ] || fail "$name: leftovers beside the release: $hidden"
    return 0
}

# Windows' view of the version: FILEVERSION, the strings and the manifest.
check_version_resource() { # what file major.minor.patch
    local what=$1 file=$2 v=$3 rc
    rc=$(x86_64-w64-mingw32-windres -J coff -i "$file" -O rc 2>/dev/null) || { fail "$what: resources unreadable"; return; }
    grep -q "FILEVERSION ${v//./, }, 0" <<<"$rc" || fail "$what: FILEVERSION is not $v.0"
    grep -q "PRODUCTVERSION ${v//./, }, 0" <<<"$rc" || fail "$what: PRODUCTVERSION is not $v.0"
    grep -q "VALUE \"FileVersion\", \"$v.0\"" <<<"$rc" || fail "$what: FileVersion is not \"$v.0\""
    grep -q "VALUE \"ProductVersion\", \"$v.0\"" <<<"$rc" || fail "$what: ProductVersion is not \"$v.0\""
    grep -q "name=\"\"ClassicSwitch\"\" version=\"\"$v.0\"\"" <<<"$rc" || fail "$what: the manifest's version is not $v.0"
}

# --- two clean builds ------------------------------------------------------------

note "build 1: unsigned, in $T/build-a"
if run_release unsigned --out "$T/a" --build-dir "$T/build-a"; then
    unsigned_dir="$T/a/ClassicSwitch-$version-unsigned"
    check_release_folder unsigned "$unsigned_dir"
    grep -qi 'unsigned' "$T/logs/unsigned.out" && grep -qi 'not signed' "$T/logs/unsigned.out" ||
        fail "unsigned: the output does not say that the release is unsigned"
    [ "$(sed -n 's/^unsigned program SHA-256: //p' "$unsigned_dir/BUILDINFO.txt")" = "$(sha256sum <"$unsigned_dir/ClassicSwitch.exe" | cut -d' ' -f1)" ] ||
        fail "unsigned: BUILDINFO.txt names another program"
    osslsigncode verify -CAfile "$pki/root.pem" -in "$unsigned_dir/ClassicSwitch.exe" >/dev/null 2>&1 &&
        fail "unsigned: the unsigned program verifies as signed"
    check_version_resource "unsigned program" "$unsigned_dir/ClassicSwitch.exe" "$version"
else
    cat "$T/logs/unsigned.out" "$T/logs/unsigned.err"
    echo "FAIL: the unsigned release failed; nothing else can be checked"
    exit 1
fi

note "build 2: signed with the PKCS#12 file, time-stamped, in $T/build-b"
build_a_finished=$SECONDS
if run_release pkcs12 --out "$T/b" --build-dir "$T/build-b" --pkcs12 "$pki/signer.p12" \
    --password-file "$pki/password" --timestamp-url "$tsa_url" "${signing[@]}"; then
    pkcs12_dir="$T/b/ClassicSwitch-$version"
    check_release_folder pkcs12 "$pkcs12_dir"
    grep -q "Signed release, time-stamped: $pkcs12_dir" "$T/logs/pkcs12.out" || fail "pkcs12: the output does not name the signed release"
else
    cat "$T/logs/pkcs12.out" "$T/logs/pkcs12.err"
    echo "FAIL: the signed release failed; nothing else can be checked"
    exit 1
fi
[ "$build_a_finished" -lt "$SECONDS" ] || sleep 1

note "reproducible: the same bytes from both builds"
cmp -s "$T/build-a/bin/ClassicSwitch.exe" "$T/build-b/bin/ClassicSwitch.exe" ||
    fail "two clean builds of the same sources differ: $(cmp -l "$T/build-a/bin/ClassicSwitch.exe" "$T/build-b/bin/ClassicSwitch.exe" | head -n 5 | tr '\n' ' ')"
osslsigncode remove-signature -in "$pkcs12_dir/ClassicSwitch.exe" -out "$T/stripped.exe" >/dev/null 2>&1 &&
    cmp -s "$T/stripped.exe" "$unsigned_dir/ClassicSwitch.exe" ||
    fail "the signed program without its signature is not the unsigned build"
# BUILDINFO.txt is the same too, but for the signature's own lines.
diff <(grep -v -e '^signature' -e '^signed by' -e '^issued by' -e '^time stamp' "$pkcs12_dir/BUILDINFO.txt") \
    "$unsigned_dir/BUILDINFO.txt" >/dev/null || fail "BUILDINFO.txt differs between the builds beyond the signature"
for field in "source commit" "source tree" "unsigned program SHA-256" compiler linker "resource compiler" packages \
    "build type" "compile flags" "link flags"; do
    grep -q "^$field: ." "$unsigned_dir/BUILDINFO.txt" || fail "BUILDINFO.txt has no $field"
done
grep -q -e "$T" "$unsigned_dir/BUILDINFO.txt" && fail "BUILDINFO.txt names the build folder"
grep -qa -e "$T" -e "$repo" "$unsigned_dir/ClassicSwitch.exe" && fail "the program embeds a build or source folder"

note "the version is set once, in CMakeLists.txt"
# The other builds carry the version from the checkout; a copy with another
# version in CMakeLists.txt must carry that one in its resources.
variant="$T/variant"
mkdir -p "$variant/source"
snapshot=$(GIT_AUTHOR_NAME=test GIT_AUTHOR_EMAIL=test@localhost GIT_COMMITTER_NAME=test GIT_COMMITTER_EMAIL=test@localhost \
    git -C "$repo" stash create)
git -C "$repo" archive --format=tar "${snapshot:-HEAD}" | tar -x -C "$variant/source"
sed -i 's/^\(project(ClassicSwitch .*VERSION \)[0-9.]*/\17.8.9/' "$variant/source/CMakeLists.txt"
if cmake -S "$variant/source" -B "$variant/bin" --preset i686 >"$T/logs/variant.log" 2>&1 &&
    cmake --build "$variant/bin" --target CMakeFiles/ClassicSwitch.dir/res/ClassicSwitch.rc.res >>"$T/logs/variant.log" 2>&1; then
    check_version_resource "resources built with version 7.8.9" "$variant/bin/CMakeFiles/ClassicSwitch.dir/res/ClassicSwitch.rc.res" 7.8.9
else
    tail -n 20 "$T/logs/variant.log"
    fail "cannot build the resources of a copy with version 7.8.9"
fi

# --- the signatures -------------------------------------------------------------------

# check_signature <what> <file> [untimestamped]: verifies against the test's
# root; a foreign root fails. Once the certificates have expired, only a time
# stamp that verifies against the root keeps the signature valid.
later=$(($(date +%s) + 10 * 86400))
hex() { od -An -tx1 -v | tr -d ' \n'; }
# flip_byte <source> <copy> <offset>: the copy differs in that one byte.
flip_byte() {
    cp "$1" "$2"
    local byte
    byte=$(od -An -tu1 -j "$3" -N1 "$2" | tr -d ' ')
    printf '%b' "\\0$(printf '%03o' $(((byte + 1) % 256)))" | dd of="$2" bs=1 seek="$3" conv=notrunc status=none
}
check_signature() {
    local what=$1 file=$2 stamped=${3:-timestamped} report="$T/logs/verify-$1.txt"
    local verify=(osslsigncode verify -in "$file")
    if ! "${verify[@]}" -CAfile "$pki/root.pem" -TSA-CAfile "$pki/root.pem" >"$report" 2>&1; then
        fail "$what: does not verify against the test's root: $(grep -iE 'error|fail' "$report" | head -n 2 | tr '\n' ' ')"
        return
    fi
    "${verify[@]}" -CAfile "$pki/foreign.pem" -TSA-CAfile "$pki/foreign.pem" >/dev/null 2>&1 &&
        fail "$what: verifies against a foreign root too"
    if [ "$stamped" = timestamped ]; then
        "${verify[@]}" -CAfile "$pki/root.pem" -TSA-CAfile "$pki/root.pem" -time "$later" >/dev/null 2>&1 ||
            fail "$what: not valid once the certificate has expired: no valid time stamp"
        "${verify[@]}" -CAfile "$pki/root.pem" -TSA-CAfile "$pki/foreign.pem" -time "$later" >/dev/null 2>&1 &&
            fail "$what: its time stamp verifies against a foreign root too"
    else
        "${verify[@]}" -CAfile "$pki/root.pem" -TSA-CAfile "$pki/root.pem" -time "$later" >/dev/null 2>&1 &&
            fail "$what: valid after the certificate has expired without a time stamp"
    fi

    # What the signature carries: a SHA-256 digest, the signer, the program's
    # name and link, and the time-stamping authority's certificate.
    local signature="$T/signature-$what.der" fields bytes
    osslsigncode extract-signature -in "$file" -out "$signature" >/dev/null 2>&1 || { fail "$what: no signature to extract"; return; }
    # Older osslsigncode keeps the 8 bytes of the certificate table entry's
    # header before the PKCS#7 structure.
    if [ "$(head -c 1 "$signature" | hex)" != 30 ]; then
        tail -c +9 "$signature" >"$signature.p7" && mv "$signature.p7" "$signature"
    fi
    fields=$(openssl asn1parse -inform DER -in "$signature" 2>/dev/null)
    bytes=$(hex <"$signature")
    grep -q 'OBJECT *:sha256$' <<<"$fields" || fail "$what: not a SHA-256 signature"
    grep -q ':ClassicSwitch Test Signer$' <<<"$fields" || fail "$what: not signed by the test's signer"
    [[ $bytes == *$(printf '%s' "$sign_name" | hex)* || $bytes == *$(printf '%s' "$sign_name" | iconv -t UTF-16BE | hex)* ]] ||
        fail "$what: the signature does not carry the program's name"
    [[ $bytes == *$(printf '%s' "$sign_url" | hex)* ]] || fail "$what: the signature does not carry the link"
    if [ "$stamped" = timestamped ]; then
        grep -q ':ClassicSwitch Test Time Stamps$' <<<"$fields" || fail "$what: no time stamp from the test's authority"
    fi

    bash "$repo/tests/scripts/release_check.sh" - "$file" >"$T/logs/check-$what.txt" 2>&1 ||
        fail "$what: the release checks fail: $(grep FAIL "$T/logs/check-$what.txt" | tr '\n' ' ')"
    check_version_resource "$what" "$file" "$version"

    # One changed byte: in the DOS stub, in the code, in the resources.
    local rsrc offset
    rsrc=$(i686-w64-mingw32-objdump -h "$file" | awk '$2 == ".rsrc" {print $6}')
    [ -n "$rsrc" ] || { fail "$what: no resource section"; return; }
    for offset in 100 1100 $((16#$rsrc + 64)); do
        flip_byte "$file" "$T/tampered.exe" "$offset"
        cmp -s "$file" "$T/tampered.exe" && fail "$what: byte $offset did not change"
        osslsigncode verify -CAfile "$pki/root.pem" -TSA-CAfile "$pki/root.pem" -in "$T/tampered.exe" >/dev/null 2>&1 &&
            fail "$what: still verifies with byte $offset changed"
    done
}

note "the PKCS#12 signature"
check_signature pkcs12 "$pkcs12_dir/ClassicSwitch.exe"

note "signing through the software token (PIN from the environment), the unsigned release of build 1"
if CLASSICSWITCH_SIGNING_PASSWORD=$pin run_release pkcs11 --from "$unsigned_dir" --out "$T/c" \
    --pkcs11-module "$softhsm_module" --pkcs11-key "$signer_key" --certificate "$pki/signer.pem" \
    --timestamp-url "$tsa_url" "${signing[@]}"; then
    pkcs11_dir="$T/c/ClassicSwitch-$version"
    check_release_folder pkcs11 "$pkcs11_dir"
    check_signature pkcs11 "$pkcs11_dir/ClassicSwitch.exe"
    osslsigncode remove-signature -in "$pkcs11_dir/ClassicSwitch.exe" -out "$T/stripped11.exe" >/dev/null 2>&1 &&
        cmp -s "$T/stripped11.exe" "$unsigned_dir/ClassicSwitch.exe" || fail "pkcs11: the signed program is not the unsigned build"
else
    cat "$T/logs/pkcs11.out" "$T/logs/pkcs11.err"
    fail "signing through the token failed"
    pkcs11_dir=""
fi

note "signed without a time stamp"
if run_release untimestamped --from "$unsigned_dir" --out "$T/d" --pkcs12 "$pki/signer.p12" \
    --password-file "$pki/password" "${signing[@]}"; then
    check_release_folder untimestamped "$T/d/ClassicSwitch-$version"
    grep -q "Signed release: " "$T/logs/untimestamped.out" || fail "untimestamped: the output does not name the signed release"
    grep -q '^time stamp: none' "$T/d/ClassicSwitch-$version/BUILDINFO.txt" || fail "untimestamped: BUILDINFO.txt names a time stamp"
    check_signature untimestamped "$T/d/ClassicSwitch-$version/ClassicSwitch.exe" untimestamped
else
    cat "$T/logs/untimestamped.out" "$T/logs/untimestamped.err"
    fail "signing without a time stamp failed"
fi

note "signing with a PKCS#12 file in the legacy format"
if run_release legacy --from "$unsigned_dir" --out "$T/e" --pkcs12 "$pki/legacy.p12" \
    --password-file "$pki/password" "${signing[@]}"; then
    osslsigncode verify -CAfile "$pki/root.pem" -in "$T/e/ClassicSwitch-$version/ClassicSwitch.exe" >/dev/null 2>&1 ||
        fail "legacy: the signed program does not verify"
else
    cat "$T/logs/legacy.out" "$T/logs/legacy.err"
    fail "signing with a legacy PKCS#12 file failed"
fi

# --- failures ---------------------------------------------------------------------------

# Each row: name ~ expected error (extended regular expression) ~ arguments.
# Rows without --from build nothing: they must fail before the build folder
# is even made.
from=(--from "$unsigned_dir")
p12=(--pkcs12 "$pki/signer.p12" --password-file "$pki/password")
failure_cases=(
    "wrong-password~wrong password for .*signer\.p12~--pkcs12 $pki/signer.p12 --password-file $pki/wrong-password"
    "missing-pkcs12~certificate file not found: .*absent\.p12~--pkcs12 $pki/absent.p12 --password-file $pki/password"
    "malformed-pkcs12~not a PKCS#12 file .*garbage\.pem~--pkcs12 $pki/garbage.pem --password-file $pki/password"
    "truncated-pkcs12~not a PKCS#12 file .*truncated\.p12~--pkcs12 $pki/truncated.p12 --password-file $pki/password"
    "missing-certificate~certificate file not found: .*absent\.pem~--pkcs11-module $softhsm_module --pkcs11-key $signer_key --certificate $pki/absent.pem --password-file $pki/pin"
    "malformed-certificate~no certificate \(PEM or DER\) in .*garbage\.pem~--pkcs11-module $softhsm_module --pkcs11-key $signer_key --certificate $pki/garbage.pem --password-file $pki/pin"
    "pin-in-uri~carries the PIN~--pkcs11-module $softhsm_module --pkcs11-key $signer_key;pin-value=$pin --certificate $pki/signer.pem"
    "key-mismatch~the key does not match the certificate .*signer\.pem~FROM --pkcs11-module $softhsm_module --pkcs11-key $stranger_key --certificate $pki/signer.pem --password-file $pki/pin"
    "wrong-pin~the token refused the PIN~FROM --pkcs11-module $softhsm_module --pkcs11-key $signer_key --certificate $pki/signer.pem --password-file $pki/wrong-pin"
    "unreachable-tsa~time-stamping authority is unreachable: http://127\.0\.0\.1:$closed_port/ \((connection refused|couldn't connect to server)\)~FROM --timestamp-url http://127.0.0.1:$closed_port/ P12"
    "foreign-root~does not verify against .*foreign\.pem~FROM --ca-file $pki/foreign.pem P12"
)

# check_failure <name> <pattern> <out dir>: after a run that must fail.
check_failure() {
    local name=$1 pattern=$2 out=$3 status=$4
    local errors
    errors=$(grep -v '^release\.sh: warning: ' "$T/logs/$name.err")
    [ "$status" -ne 0 ] || fail "$name: ended with status 0"
    [ "$(grep -c . <<<"$errors")" -eq 1 ] || fail "$name: not one line of error output: $errors"
    grep -qE "^release\.sh: error: .*$pattern" <<<"$errors" || fail "$name: the error does not name the cause: $errors"
    [ ! -e "$out/ClassicSwitch-$version" ] || fail "$name: left a release folder"
    [ -z "$(ls -A "$out" 2>/dev/null)" ] || fail "$name: left files in the output folder: $(ls -A "$out")"
}

for row in "${failure_cases[@]}"; do
    IFS='~' read -r name pattern arguments <<<"$row"
    read -r -a args <<<"$arguments"
    expanded=()
    for arg in "${args[@]}"; do
        case $arg in
        FROM) expanded+=("${from[@]}") ;;
        P12) expanded+=("${p12[@]}") ;;
        *) expanded+=("$arg") ;;
        esac
    done
    [[ " ${expanded[*]} " == *" --ca-file "* ]] || expanded+=(--ca-file "$pki/root.pem")
    [[ " ${expanded[*]} " == *" --from "* ]] || expanded+=(--build-dir "$T/build-$name")
    run_release "$name" --out "$T/fail-$name" --name "$sign_name" --url "$sign_url" "${expanded[@]}"
    status=$?
    note "$name: $(grep -v '^release\.sh: warning: ' "$T/logs/$name.err" | head -n 1)"
    check_failure "$name" "$pattern" "$T/fail-$name" "$status"
    [ ! -e "$T/build-$name" ] || fail "$name: built before checking what it was given"
done

# A time-stamping failure over an earlier release of the same name leaves
# that release as it was.
if [ -n "$pkcs11_dir" ]; then
    before=$(cd "$pkcs11_dir" && sha256sum ClassicSwitch.exe BUILDINFO.txt SHA256SUMS)
    run_release replace-fails "${from[@]}" --out "$T/c" "${p12[@]}" --timestamp-url "http://127.0.0.1:$closed_port/" "${signing[@]}" &&
        fail "replace-fails: ended with status 0"
    [ "$(cd "$pkcs11_dir" && sha256sum ClassicSwitch.exe BUILDINFO.txt SHA256SUMS)" = "$before" ] ||
        fail "a failed signing changed the earlier release in its place"
    [ "$(ls -A "$T/c")" = "ClassicSwitch-$version" ] || fail "a failed signing left files beside the earlier release: $(ls -A "$T/c")"
fi

note "a full disk"
# A file system of 64 KiB, too small for the program, mounted for one run in
# a mount namespace of its own.
mkdir -p "$T/small"
mount_small=(unshare -m)
"${mount_small[@]}" true 2>/dev/null || mount_small=(unshare -r -m)
if "${mount_small[@]}" sh -c "mount -t tmpfs -o size=64k cs-release-test '$T/small'" 2>/dev/null; then
    export T release
    PATH="$T/watch:$PATH" "${mount_small[@]}" bash -c '
        mount -t tmpfs -o size=64k cs-release-test "$T/small" || exit 99
        mkdir -p "$T/tmp-disk-full"
        TMPDIR="$T/tmp-disk-full" "$release" "$@" --out "$T/small/dist" >"$T/logs/disk-full.out" 2>"$T/logs/disk-full.err"
        status=$?
        ls -A "$T/small/dist" >"$T/logs/disk-full.left" 2>&1
        exit $status' disk-full "${from[@]}" "${p12[@]}" "${signing[@]}"
    status=$?
    [ "$status" -ne 99 ] || fail "disk-full: cannot mount the small file system"
    note "disk-full: $(head -n 1 "$T/logs/disk-full.err")"
    [ -z "$(ls -A "$T/tmp-disk-full")" ] || fail "disk-full: left files in its temporary folder"
    [ -s "$T/logs/disk-full.left" ] && fail "disk-full: left files on the full disk: $(cat "$T/logs/disk-full.left")"
    errors=$(grep -v '^release\.sh: warning: ' "$T/logs/disk-full.err")
    [ "$status" -ne 0 ] || fail "disk-full: ended with status 0"
    [ "$(grep -c . <<<"$errors")" -eq 1 ] && grep -qE '^release\.sh: error: no space left on device .*small/dist' <<<"$errors" ||
        fail "disk-full: the error does not name the cause: $errors"
else
    echo "SKIP: a full disk: no small file system can be mounted here (unshare -m or -r -m)"
fi

# --- secrets ------------------------------------------------------------------------------

note "secrets: never printed, never on a command line or in a child's environment, never on disk"
for secret in "$password" "$pin"; do
    label=$([ "$secret" = "$password" ] && echo password || echo PIN)
    for log in "$T"/logs/*.out "$T"/logs/*.err; do
        grep -qF -- "$secret" "$log" && fail "the $label appears in the output: $log"
    done
    grep -qF -- "$secret" "$T/logs/argv" && fail "the $label was on a command line: $(grep -F -- "$secret" "$T/logs/argv" | grep -v pin-value | head -n 1)"
    grep -qF -- "$secret" "$T/logs/environment" && fail "the $label was in a tool's environment"
    grep -rlaF -- "$secret" "$T"/a "$T"/b "$T"/c "$T"/build-a "$T"/build-b "$T"/tmp-* 2>/dev/null | grep -q . &&
        fail "the $label was written to disk"
done
grep -q 'osslsigncode sign .*-readpass' "$T/logs/argv" || fail "the watch over the tools' command lines saw no signing"
# Not even for a moment in a file: the tools read it from a pipe.
grep -oE -- '-readpass [^ ]+|-passin [^ ]+' "$T/logs/argv" | grep -vE -- '^(-readpass /dev/fd/[0-9]+|-passin fd:[0-9]+)$' |
    grep -q . && fail "a secret went to a tool through a file: $(grep -oE -- '-readpass [^ ]+|-passin [^ ]+' "$T/logs/argv" | sort -u | tr '\n' ' ')"

# --- Windows' own view --------------------------------------------------------------------

wine32=/usr/lib/wine/wine
if [ -n "${WINEPREFIX:-}" ] && [ -n "$trust_check" ] && [ -f "$trust_check" ]; then
    note "Wine's signature check (WinVerifyTrust)"
    winpath() { printf 'Z:%s' "${1//\//\\}"; }
    flip_byte "$pkcs12_dir/ClassicSwitch.exe" "$T/tampered.exe" 1100
    "${CS_WINE64:-wine64}" "$trust_check" "$(winpath "$pki/root.der")" "$(winpath "$pkcs12_dir/ClassicSwitch.exe")" \
        "$(winpath "$T/tampered.exe")" "$(winpath "$unsigned_dir/ClassicSwitch.exe")" >"$T/logs/trust.txt" 2>&1 </dev/null
    # S_OK, TRUST_E_BAD_DIGEST, TRUST_E_NOSIGNATURE.
    expected="0x00000000 0x80096010 0x800B0100"
    [ "$(awk '/^0x/ {print $1}' "$T/logs/trust.txt" | tr '\n' ' ')" = "$expected " ] ||
        fail "Wine's signature check: expected $expected (signed, tampered, unsigned), saw: $(tr '\n' ' ' <"$T/logs/trust.txt")"
else
    echo "SKIP: Wine's signature check (no Wine environment or no trust_check.exe given)"
fi
if [ -n "${WINEPREFIX:-}" ] && [ -n "${DISPLAY:-}" ] && "$wine32" --version >/dev/null 2>&1; then
    note "the signed program runs under 32-bit Wine"
    # A switch whose installer is missing ends 500 ms after it looked.
    WINEDEBUG=-all,warn+seh timeout 60 "$wine32" "$pkcs12_dir/ClassicSwitch.exe" --TempDir 'C:\cs-release-test' \
        --AppName setup.exe --MiniName cs-test-mini.exe --GalleryName cs-test-gallery.exe --LocalPath 'C:\cs-release-test\classic' \
        >"$T/logs/run.txt" 2>&1 </dev/null
    status=$?
    [ "$status" -eq 0 ] || fail "the signed program ended with status $status under Wine"
    grep -aq 'ClassicSwitch +[0-9]* ms: quit: installer missing' "$T/logs/run.txt" ||
        fail "the signed program did not run its switch under Wine: $(grep -a ClassicSwitch "$T/logs/run.txt" | head -n 3)"
else
    echo "SKIP: running the signed program (needs the test's Wine environment and 32-bit Wine)"
fi

echo "release test: $((SECONDS - started)) s"
if [ "$failures" -ne 0 ]; then
    echo "$failures check(s) failed"
    exit 1
fi
echo "all release tests passed"
