#!/usr/bin/env bash
# The release command: builds the shipped 32-bit program from a clean build
# folder and writes <out>/ClassicSwitch-<version>/ with ClassicSwitch.exe,
# BUILDINFO.txt and SHA256SUMS, the program signed with SHA-256 Authenticode
# when a certificate is given (else the folder is ClassicSwitch-<version>-unsigned).
# README, "Shipping ClassicSwitch", tells how to use it; --help lists the options.
#
# Everything is written aside and moved into place at the end, so a failure
# leaves no unsigned or half-written program where the signed one would be.
# The password or PIN is read from a file or the environment and handed to
# the signing tools through a pipe: never on a command line, never printed,
# never written to disk.
set -euo pipefail
umask 022

repo=$(cd "$(dirname "$0")/.." && pwd)
me="release.sh"

usage() {
    cat <<'EOF'
Usage: tools/release.sh [options]

  --out DIR               where the release folder goes (default: dist/)
  --build-dir DIR         the build folder; emptied first (default: build/release)
  --from DIR              sign an unsigned release made earlier instead of building

Signing (without these the release is unsigned):
  --pkcs12 FILE           certificate and key in a PKCS#12 file
  --pkcs11-module LIB     PKCS#11 module of the token or HSM that holds the key
  --pkcs11-key URI        the key on the token, a pkcs11: URI without the PIN
  --certificate FILE      the key's certificate and intermediates (PEM or DER)
  --password-file FILE    first line: the PKCS#12 password or the token's PIN
                          (or the environment variable CLASSICSWITCH_SIGNING_PASSWORD)
  --timestamp-url URL     RFC 3161 time-stamping authority
  --name TEXT             the program's name in the signature (default: ClassicSwitch)
  --url URL               the signature's link for more information (needed to sign)
  --ca-file FILE          root certificates the signed program must verify against,
                          the time stamp's included (default: the system's)
EOF
}

# Failures end with one line on the error output that names the cause.
die() {
    echo "$me: error: $*" >&2
    exit 1
}
usage_error() {
    echo "$me: error: $* (see --help)" >&2
    exit 2
}

out_dir="$repo/dist"
build_dir="$repo/build/release"
from_dir=""
pkcs12="" pkcs11_module="" pkcs11_key="" certificate="" password_file=""
timestamp_url="" sign_name="ClassicSwitch" sign_url="" ca_file=""
build_dir_given=0

need_value() {
    [ $# -ge 2 ] && [ -n "$2" ] || usage_error "$1 needs a value"
}
while (($#)); do
    case $1 in
    -h | --help) usage; exit 0 ;;
    --out) need_value "$@"; out_dir=$2 ;;
    --build-dir) need_value "$@"; build_dir=$2; build_dir_given=1 ;;
    --from) need_value "$@"; from_dir=$2 ;;
    --pkcs12) need_value "$@"; pkcs12=$2 ;;
    --pkcs11-module) need_value "$@"; pkcs11_module=$2 ;;
    --pkcs11-key) need_value "$@"; pkcs11_key=$2 ;;
    --certificate) need_value "$@"; certificate=$2 ;;
    --password-file) need_value "$@"; password_file=$2 ;;
    --timestamp-url) need_value "$@"; timestamp_url=$2 ;;
    --name) need_value "$@"; sign_name=$2 ;;
    --url) need_value "$@"; sign_url=$2 ;;
    --ca-file) need_value "$@"; ca_file=$2 ;;
    *) usage_error "unknown option: $1" ;;
    esac
    shift 2
done

# The secret leaves the environment at once, so that no program started from
# here inherits it.
secret=""
have_secret=0
if [ -n "${CLASSICSWITCH_SIGNING_PASSWORD+set}" ]; then
    secret=$CLASSICSWITCH_SIGNING_PASSWORD
    have_secret=1
    unset CLASSICSWITCH_SIGNING_PASSWORD
fi

signing=""
if [ -n "$pkcs12" ]; then
    signing=pkcs12
    [ -z "$pkcs11_module$pkcs11_key$certificate" ] || usage_error "--pkcs12 and the --pkcs11-* options exclude each other"
    [ -n "$password_file" ] || ((have_secret)) || usage_error "--pkcs12 needs --password-file (or CLASSICSWITCH_SIGNING_PASSWORD)"
elif [ -n "$pkcs11_module$pkcs11_key$certificate" ]; then
    signing=pkcs11
    [ -n "$pkcs11_module" ] && [ -n "$pkcs11_key" ] && [ -n "$certificate" ] ||
        usage_error "signing with a token needs --pkcs11-module, --pkcs11-key and --certificate"
fi
if [ -z "$signing" ]; then
    [ -z "$timestamp_url$sign_url$ca_file$password_file" ] || usage_error "--password-file, --timestamp-url, --url and --ca-file go with --pkcs12 or --pkcs11-*"
    [ -z "$from_dir" ] || usage_error "--from signs a release: give --pkcs12 or --pkcs11-*"
else
    [ -n "$sign_url" ] || usage_error "signing needs --url, the link that the signature carries"
fi
[ -z "$from_dir" ] || ((!build_dir_given)) || usage_error "--from builds nothing: --build-dir does not apply"

# Paths are taken from where the command was started.
absolute() { realpath -m -s -- "$1"; }
out_dir=$(absolute "$out_dir")
build_dir=$(absolute "$build_dir")
for var in from_dir pkcs12 certificate password_file ca_file; do
    [ -z "${!var}" ] || printf -v "$var" '%s' "$(absolute "${!var}")"
done
# A module given by name only is looked up by the loader, not here.
[[ -z "$pkcs11_module" || "$pkcs11_module" != */* ]] || pkcs11_module=$(absolute "$pkcs11_module")

# --- what the command needs ------------------------------------------------

deps=(git)
[ -n "$from_dir" ] || deps+=(cmake ninja-build g++-mingw-w64-i686-win32 binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
[ -z "$signing" ] || deps+=(osslsigncode openssl ca-certificates binutils-mingw-w64-i686 binutils-mingw-w64-x86-64)
[ "$signing" != pkcs11 ] || deps+=(libengine-pkcs11-openssl)
"$repo/tools/install-deps.sh" "${deps[@]}" >&2 || die "could not install the packages it needs: ${deps[*]}"

work=""
staging=""
retired=""
cleanup() {
    local status=$?
    [ -z "$staging" ] || rm -rf -- "$staging"
    [ -z "$retired" ] || rm -rf -- "$retired"
    [ -z "$work" ] || rm -rf -- "$work"
    exit "$status"
}
trap cleanup EXIT
trap 'exit 130' INT
trap 'exit 143' TERM
trap 'exit 129' HUP
work=$(mktemp -d "${TMPDIR:-/tmp}/classicswitch-release.XXXXXX") || die "cannot make a temporary folder in ${TMPDIR:-/tmp}"

# The secret reaches a tool as the content of a pipe (<(...) with printf, a
# shell builtin): no file, no command line, no environment.
if [ -n "$password_file" ]; then
    [ -f "$password_file" ] && [ -r "$password_file" ] || die "password file not found or unreadable: $password_file"
    # A last line without a newline still counts.
    IFS= read -r secret <"$password_file" || true
    secret=${secret%$'\r'}
    have_secret=1
fi
with_secret() {
    "$@" 3< <(printf '%s' "$secret")
}

# Names the cause of a failed step from its log, in one line.
no_space_in() { grep -qi 'no space left on device' "$1"; }
first_error_line() {
    grep -v '^[[:space:]]*$' "$1" | grep -iE 'error|fail|unable|cannot|denied|refused|invalid' | head -n 1 | sed 's/^[0-9A-F]*:error:[0-9A-F]*://; s/[[:space:]]\{2,\}/ /g' | cut -c1-200
}

# --- checks of what was given, before anything is built ----------------------

check_certificate_file() {
    local file=$1
    [ -e "$file" ] || die "certificate file not found: $file"
    [ -f "$file" ] && [ -r "$file" ] || die "certificate file unreadable: $file"
}

if [ "$signing" = pkcs12 ]; then
    check_certificate_file "$pkcs12"
    openssl asn1parse -inform DER -in "$pkcs12" >/dev/null 2>&1 ||
        die "not a PKCS#12 file (malformed or damaged): $pkcs12"
    # Files exported from Windows often use the old ciphers (RC2, 3DES),
    # which OpenSSL 3 reads with its legacy provider only; so does osslsigncode.
    if ! with_secret openssl pkcs12 -in "$pkcs12" -passin fd:3 -noout >"$work/p12.log" 2>&1 &&
        ! { grep -qi unsupported "$work/p12.log" &&
            with_secret openssl pkcs12 -legacy -in "$pkcs12" -passin fd:3 -noout >"$work/p12.log" 2>&1; }; then
        grep -qiE 'invalid password|mac verify' "$work/p12.log" && die "wrong password for $pkcs12"
        die "cannot open $pkcs12: $(first_error_line "$work/p12.log")"
    fi
elif [ "$signing" = pkcs11 ]; then
    [[ "$pkcs11_key" == pkcs11:* ]] || usage_error "--pkcs11-key takes a pkcs11: URI"
    [[ "$pkcs11_key" != *pin-value=* ]] ||
        die "the key URI carries the PIN, which would show on a command line: put it in --password-file"
    [[ "$pkcs11_module" != */* ]] || [ -f "$pkcs11_module" ] || die "PKCS#11 module not found: $pkcs11_module"
    check_certificate_file "$certificate"
    # osslsigncode takes the certificates as PEM: the leaf, then intermediates.
    if grep -q -- '-----BEGIN CERTIFICATE-----' "$certificate" && openssl x509 -in "$certificate" -noout 2>/dev/null; then
        cp -- "$certificate" "$work/certificates.pem"
    elif openssl x509 -inform DER -in "$certificate" -out "$work/certificates.pem" 2>/dev/null; then
        :
    else
        die "no certificate (PEM or DER) in $certificate"
    fi
fi
if [ -n "$signing" ]; then
    if [ -n "$ca_file" ]; then
        [ -f "$ca_file" ] && [ -r "$ca_file" ] || die "root certificate file not found or unreadable: $ca_file"
    else
        ca_file=/etc/ssl/certs/ca-certificates.crt
        [ -r "$ca_file" ] || die "no system root certificates at $ca_file: give --ca-file"
    fi
fi

# --- the unsigned program ------------------------------------------------------

# Sets version, unsigned (the program's path) and buildinfo (a file in $work).
build_program() {
    local commit snapshot ref tree commit_date changes=""
    git -C "$repo" rev-parse --verify -q HEAD >/dev/null || die "$repo is not a git checkout with a commit: a release names its source commit"
    commit=$(git -C "$repo" rev-parse HEAD)
    commit_date=$(git -C "$repo" log -1 --format=%cI HEAD)
    # The commit's files as they are in the worktree, without touching it or
    # anything untracked; the tree's id names exactly what was built.
    # (The snapshot is a commit object that no branch names, so any author
    # will do, also on a machine where git has none configured.)
    snapshot=$(GIT_AUTHOR_NAME=release GIT_AUTHOR_EMAIL=release@localhost GIT_COMMITTER_NAME=release \
        GIT_COMMITTER_EMAIL=release@localhost git -C "$repo" stash create 2>"$work/git.log") ||
        die "cannot take the worktree's files: $(head -n 1 "$work/git.log")"
    ref=${snapshot:-$commit}
    tree=$(git -C "$repo" rev-parse "$ref^{tree}")
    if [ -n "$snapshot" ]; then
        changes=" (the commit's files carry uncommitted changes)"
        echo "$me: warning: building uncommitted changes: the release will not match commit ${commit:0:12}" >&2
    fi

    local source="$build_dir/source" binary="$build_dir/bin" log="$build_dir/build.log"
    rm -rf -- "$build_dir"
    mkdir -p -- "$source" 2>"$work/mkdir.log" || {
        no_space_in "$work/mkdir.log" && die "no space left on device for the build folder $build_dir"
        die "cannot make the build folder $build_dir: $(head -n 1 "$work/mkdir.log")"
    }
    git -C "$repo" archive --format=tar "$ref" | tar -x -C "$source" 2>"$work/export.log" || {
        no_space_in "$work/export.log" && die "no space left on device for the build folder $build_dir"
        die "cannot export the sources into $source: $(head -n 1 "$work/export.log")"
    }

    echo "Building ClassicSwitch from commit ${commit:0:12}$changes in $build_dir"
    # Compilers see the commit's time, never the clock.
    SOURCE_DATE_EPOCH=$(git -C "$repo" log -1 --format=%ct HEAD) LC_ALL=C TZ=UTC \
        bash -c 'cmake -S "$1" -B "$2" --preset i686 && cmake --build "$2" --target ClassicSwitch' \
        build "$source" "$binary" >"$log" 2>&1 || {
        no_space_in "$log" && die "no space left on device for the build folder $build_dir"
        tail -n 25 "$log" >&2
        die "the build failed (whole log: $log)"
    }

    version=$(sed -n 's/^CMAKE_PROJECT_VERSION:STATIC=//p' "$binary/CMakeCache.txt")
    [ -n "$version" ] || die "the build did not record the project's version"
    unsigned="$binary/ClassicSwitch.exe"

    local package_versions=""
    package_versions=$(dpkg-query -W -f='${Package} ${Version}, ' g++-mingw-w64-i686-win32 gcc-mingw-w64-i686-win32-runtime \
        binutils-mingw-w64-i686 mingw-w64-i686-dev 2>/dev/null || true)
    buildinfo="$work/BUILDINFO.txt"
    {
        echo "ClassicSwitch $version"
        echo "version: $version"
        echo "source commit: $commit ($commit_date)"
        echo "source tree: $tree$changes"
        echo "program: ClassicSwitch.exe, 32-bit Windows GUI program (PE32, i686), statically linked"
        echo "unsigned program SHA-256: $(sha256sum "$unsigned" | cut -d' ' -f1)"
        echo "compiler: $(i686-w64-mingw32-g++-win32 --version | head -n 1)"
        echo "linker: $(i686-w64-mingw32-ld --version | head -n 1)"
        echo "resource compiler: $(i686-w64-mingw32-windres --version | head -n 1)"
        echo "packages: ${package_versions%, }"
        echo "build tools: $(cmake --version | head -n 1), ninja $(ninja --version)"
        sed -e "s|$source/|<source>/|g; s|$binary/|<build>/|g; s/  */ /g" "$binary/build-flags.txt"
    } >"$buildinfo"
}

# Takes an unsigned release made earlier: the same three files, intact.
load_unsigned_release() {
    local dir=$from_dir
    [ -d "$dir" ] || die "no release folder at $dir"
    local file
    for file in ClassicSwitch.exe BUILDINFO.txt SHA256SUMS; do
        [ -f "$dir/$file" ] || die "$dir has no $file: not a release folder"
    done
    (cd "$dir" && sha256sum --quiet --strict -c SHA256SUMS) >/dev/null 2>&1 || die "$dir does not match its SHA256SUMS"
    grep -q '^signature:' "$dir/BUILDINFO.txt" && die "$dir holds a signed release"
    local recorded
    recorded=$(sed -n 's/^unsigned program SHA-256: //p' "$dir/BUILDINFO.txt")
    [ "$recorded" = "$(sha256sum "$dir/ClassicSwitch.exe" | cut -d' ' -f1)" ] ||
        die "$dir/ClassicSwitch.exe is not the unsigned program that its BUILDINFO.txt names"
    version=$(sed -n 's/^version: //p' "$dir/BUILDINFO.txt")
    [ -n "$version" ] || die "$dir/BUILDINFO.txt names no version"
    cp -- "$dir/ClassicSwitch.exe" "$work/unsigned.exe"
    cp -- "$dir/BUILDINFO.txt" "$work/BUILDINFO.txt"
    unsigned="$work/unsigned.exe"
    buildinfo="$work/BUILDINFO.txt"
}

# --- signing -------------------------------------------------------------------

sign_program() {
    local signed="$work/signed.exe" log="$work/sign.log"
    local args=(sign -h sha256 -n "$sign_name" -i "$sign_url")
    if [ "$signing" = pkcs12 ]; then
        args+=(-pkcs12 "$pkcs12" -readpass /dev/fd/3)
    else
        args+=(-pkcs11module "$pkcs11_module" -certs "$work/certificates.pem" -key "$pkcs11_key")
        ((!have_secret)) || args+=(-readpass /dev/fd/3)
    fi
    if [ "$signing" = pkcs12 ]; then
        echo "Signing with the key in $pkcs12"
    else
        echo "Signing with the key $pkcs11_key through $pkcs11_module"
    fi
    if ! with_secret osslsigncode "${args[@]}" -in "$unsigned" -out "$signed" >"$log" 2>&1; then
        no_space_in "$log" && die "no space left on device for temporary files in ${TMPDIR:-/tmp}"
        grep -qiE 'mac verify|wrong password' "$log" && die "wrong password for $pkcs12"
        grep -qiE 'PIN incorrect|PIN_INCORRECT' "$log" && die "the token refused the PIN for $pkcs11_key"
        grep -qiE 'PIN locked|PIN_LOCKED' "$log" && die "the token's PIN is locked"
        grep -qiE 'key values mismatch|consistency of a private key' "$log" &&
            die "the key does not match the certificate $( [ "$signing" = pkcs12 ] && echo "in $pkcs12" || echo "$certificate")"
        grep -qiE 'private key was not found|Failed to load private key' "$log" && die "no usable private key at $pkcs11_key"
        grep -qiE 'Failed to (load|initialize) (the )?(PKCS#11 )?(module|engine)|Engine .* not found|could not load the shared library' "$log" &&
            die "cannot load the PKCS#11 module $pkcs11_module"
        die "signing failed: $(first_error_line "$log")"
    fi

    if [ -n "$timestamp_url" ]; then
        echo "Time-stamping at $timestamp_url"
        local stamped="$work/stamped.exe" status=0
        timeout 120 osslsigncode add -h sha256 -ts "$timestamp_url" -in "$signed" -out "$stamped" >"$log" 2>&1 || status=$?
        if ((status)); then
            ((status != 124)) || die "the time-stamping authority did not answer within 120 s: $timestamp_url"
            no_space_in "$log" && die "no space left on device for temporary files in ${TMPDIR:-/tmp}"
            if grep -qiE 'Failed to get data|connect|resolve|HTTP failure|timed? ?out' "$log"; then
                local reason="" cause
                for cause in 'connection refused' "couldn't connect to server" 'no route to host' 'network is unreachable' \
                    'name or service not known' "couldn't resolve host" 'temporary failure in name resolution' 'timed out'; do
                    if grep -qi "$cause" "$log"; then
                        reason=$cause
                        break
                    fi
                done
                die "the time-stamping authority is unreachable: $timestamp_url${reason:+ ($reason)}"
            fi
            die "time-stamping failed at $timestamp_url: $(first_error_line "$log")"
        fi
        signed=$stamped
    fi

    # The result must verify, byte for byte the program that was built.
    local verify=(verify -in "$signed" -CAfile "$ca_file" -TSA-CAfile "$ca_file")
    osslsigncode -h 2>&1 | grep -q -- '-ignore-cdp' && verify+=(-ignore-cdp)
    if ! osslsigncode "${verify[@]}" >"$work/verify.log" 2>&1; then
        local reason
        reason=$(sed -n 's/.*Verify error: *//p' "$work/verify.log" | head -n 1)
        die "the signed program does not verify against $ca_file: ${reason:-$(first_error_line "$work/verify.log")}"
    fi
    osslsigncode remove-signature -in "$signed" -out "$work/stripped.exe" >/dev/null 2>&1 &&
        cmp -s "$work/stripped.exe" "$unsigned" || die "signing changed the program itself, not only its signature"
    signed_program=$signed

    local signer issuer
    signer=$(awk '/Signer.s certificate:/ {s = 1} s && /Subject:/ {sub(/^[^:]*: */, ""); print; exit}' "$work/verify.log")
    issuer=$(awk '/Signer.s certificate:/ {s = 1} s && /Issuer ?:/ {sub(/^[^:]*: */, ""); print; exit}' "$work/verify.log")
    {
        echo "signature: SHA-256 Authenticode, $(osslsigncode --version | head -n 1 | cut -d, -f1)"
        echo "signed by: $signer"
        echo "issued by: $issuer"
        echo "signature name and link: $sign_name, $sign_url"
        echo "time stamp: ${timestamp_url:-none (the signature ends with the certificate)}"
    } >>"$buildinfo"
}

# --- the release folder ----------------------------------------------------------

if [ -n "$from_dir" ]; then
    load_unsigned_release
else
    build_program
fi
program=$unsigned
if [ -n "$signing" ]; then
    sign_program
    program=$signed_program
    release_name="ClassicSwitch-$version"
else
    release_name="ClassicSwitch-$version-unsigned"
fi

# What ships passes the checks of the built program: PE32 GUI, manifest,
# imports, version resource, size.
bash "$repo/tests/scripts/release_check.sh" - "$program" >"$work/check.log" 2>&1 ||
    die "the program fails the release checks: $(grep -m1 '^FAIL' "$work/check.log" | sed 's/^FAIL: //')"

mkdir -p -- "$out_dir" 2>"$work/mkdir.log" || {
    no_space_in "$work/mkdir.log" && die "no space left on device for $out_dir"
    die "cannot make $out_dir: $(head -n 1 "$work/mkdir.log")"
}
final="$out_dir/$release_name"
staging=$(mktemp -d "$out_dir/.$release_name.partial.XXXXXX" 2>"$work/mkdir.log") || {
    staging=""
    no_space_in "$work/mkdir.log" && die "no space left on device for the release in $out_dir"
    die "cannot write into $out_dir: $(head -n 1 "$work/mkdir.log")"
}
{
    cp -- "$program" "$work/ClassicSwitch.exe" && (cd "$work" && sha256sum ClassicSwitch.exe BUILDINFO.txt >SHA256SUMS)
} 2>"$work/copy.log" || {
    no_space_in "$work/copy.log" && die "no space left on device for temporary files in ${TMPDIR:-/tmp}"
    die "cannot write temporary files in ${TMPDIR:-/tmp}: $(head -n 1 "$work/copy.log")"
}
{
    cp -- "$work/ClassicSwitch.exe" "$work/BUILDINFO.txt" "$work/SHA256SUMS" "$staging/" &&
        chmod 0644 "$staging"/* && chmod 0755 "$staging" && sync -f "$staging"
} 2>"$work/copy.log" || {
    no_space_in "$work/copy.log" && die "no space left on device for the release in $out_dir"
    die "cannot write the release into $out_dir: $(head -n 1 "$work/copy.log")"
}
(cd "$staging" && sha256sum --quiet --strict -c SHA256SUMS) >/dev/null 2>&1 || die "the release written into $out_dir does not match its checksums"

# Into place: an earlier release of the same name goes only once the new one
# is complete.
if [ -e "$final" ]; then
    retired=$(mktemp -u "$out_dir/.$release_name.old.XXXXXX")
    mv -T -- "$final" "$retired" || die "cannot replace $final"
fi
if ! mv -T -- "$staging" "$final"; then
    if [ -n "$retired" ] && mv -T -- "$retired" "$final"; then
        retired=""
    fi
    die "cannot move the release into $final"
fi
staging=""

if [ -n "$signing" ]; then
    echo "Signed release${timestamp_url:+, time-stamped}: $final"
else
    echo "Unsigned release (no certificate given, the program is not signed): $final"
fi
(cd "$final" && sed 's/^/  /' SHA256SUMS)
