#!/usr/bin/env bash
# The code checks of the test command; each one also runs alone:
#   tools/check-code.sh format   every C++ file is formatted with .clang-format
#   tools/check-code.sh tidy     clang-tidy (.clang-tidy) finds nothing in framework/,
#                                app/, window/, workflow/ (the i686 build's compile commands)
#   tools/check-code.sh clang    ClassicSwitch.exe builds with clang for i686 and
#                                x86_64, warnings as errors
#   tools/check-code.sh          all three
# Every check named runs, even after one fails; the exit code is 1 when any failed.
set -euo pipefail
cd "$(dirname "$0")/.."

need()
{
    command -v "$1" >/dev/null || {
        echo "$1 is missing: run tools/install-deps.sh" >&2
        return 1
    }
}

# Tracked and new C++ files (build folders and ignored files excluded).
cxx_files()
{
    if git rev-parse --is-inside-work-tree >/dev/null 2>&1; then
        git ls-files --cached --others --exclude-standard -- '*.cpp' '*.h' |
            while read -r f; do [ -f "$f" ] && echo "$f"; done
    else
        find . -path ./build -prune -o \( -name '*.cpp' -o -name '*.h' \) -print | sed 's|^\./||'
    fi
}

check_format()
{
    need clang-format || return 1
    local files out
    mapfile -t files < <(cxx_files)
    if out=$(clang-format --dry-run --Werror "${files[@]}" 2>&1); then
        echo "format: ${#files[@]} files formatted"
        return 0
    fi
    local bad
    mapfile -t bad < <(sed -n 's/^\([^:]*\):[0-9]*:[0-9]*: error: .*/\1/p' <<<"$out" | sort -u)
    head -n 40 <<<"$out" >&2
    echo "format: FAILED: not formatted with .clang-format: ${bad[*]:-(see above)}" >&2
    [ ${#bad[@]} -eq 0 ] || echo "format: fix with: clang-format -i ${bad[*]}" >&2
    return 1
}

# One source file through clang-tidy. A file that passed is remembered with a
# key over everything its result depends on (the tool, the checks, the compile
# commands, the file and every header of the program), so an unchanged file is
# not analysed again.
tidy_one()
{
    local file=$1 args headers key stamp out
    # Lists travel through the environment one item a line.
    mapfile -t args <<<"$TIDY_ARGS"
    mapfile -t headers <<<"$TIDY_HEADERS"
    key=$({
        echo "$TIDY_VERSION" "${args[*]}"
        cat .clang-tidy "$TIDY_BUILD/compile_commands.json" "$file" "${headers[@]}"
    } | sha256sum | cut -d' ' -f1)
    stamp="$TIDY_BUILD/clang-tidy-passed/${file//\//_}"
    [ "$(cat "$stamp" 2>/dev/null)" = "$key" ] && return 0
    if out=$(clang-tidy --quiet -p "$TIDY_BUILD" "${args[@]}" "$file" 2>&1); then
        echo "$key" >"$stamp"
        return 0
    fi
    grep -v -e ' warnings\? generated\.$' -e '^Suppressed [0-9]* warnings' <<<"$out" >&2
    return 1
}

check_tidy()
{
    need clang-tidy || return 1
    TIDY_BUILD=build/i686
    # Configuring again is cheap and brings in source files added since.
    cmake --preset i686 >/dev/null || return 1
    # clang takes the target from the GCC cross compiler, but does not find
    # that compiler's C++ library by itself: its include folders are passed.
    local cxx triple dir
    cxx=$(sed -n 's/^ *"command": "\([^ ]*\) .*/\1/p' "$TIDY_BUILD/compile_commands.json" | head -n 1)
    triple=$("$cxx" -dumpmachine) || return 1
    TIDY_ARGS="--extra-arg=--target=$triple"
    while read -r dir; do
        TIDY_ARGS+=$'\n'"--extra-arg=-isystem$dir"
    done < <("$cxx" -E -x c++ -v - </dev/null 2>&1 | sed -n '/^#include <...> search starts here:/,/^End of search list/p' |
        grep '/include/c++' | sed 's/^ *//')
    TIDY_VERSION=$(clang-tidy --version | tr '\n' ' ')
    TIDY_HEADERS=$(cxx_files | grep -E '^(framework|app|window|workflow)/[^/]+\.h$' | sort)
    mkdir -p "$TIDY_BUILD/clang-tidy-passed"
    export TIDY_BUILD TIDY_ARGS TIDY_VERSION TIDY_HEADERS
    export -f tidy_one

    local files
    mapfile -t files < <(cxx_files | grep -E '^(framework|app|window|workflow)/[^/]+\.cpp$' | sort)
    if printf '%s\n' "${files[@]}" | xargs -P "$(nproc)" -I{} bash -c 'tidy_one "$1"' _ {}; then
        echo "tidy: ${#files[@]} files, no findings"
        return 0
    fi
    echo "tidy: FAILED: fix the findings above; one that is wrong for this code is silenced on its line" \
        "with // NOLINT(<check>) and the reason beside it (see .clang-tidy)" >&2
    return 1
}

check_clang()
{
    need clang++ || return 1
    local arch
    for arch in i686 x86_64; do
        cmake --preset "clang-$arch" >/dev/null
        if ! cmake --build --preset "clang-$arch" --target ClassicSwitch; then
            echo "clang: FAILED: ClassicSwitch.exe does not build with clang for $arch (errors above)" >&2
            return 1
        fi
        echo "clang: build/clang-$arch/ClassicSwitch.exe $(stat -c %s "build/clang-$arch/ClassicSwitch.exe") bytes" \
            "(the GCC build: $(stat -c %s "build/$arch/ClassicSwitch.exe" 2>/dev/null || echo 'not built'))"
    done
}

checks=("$@")
[ ${#checks[@]} -gt 0 ] || checks=(format tidy clang)
failed=()
for check in "${checks[@]}"; do
    case "$check" in
    format | tidy | clang) ;;
    *)
        echo "usage: tools/check-code.sh [format] [tidy] [clang]" >&2
        exit 2
        ;;
    esac
    start=$SECONDS
    "check_$check" || failed+=("$check")
    echo "$check: $((SECONDS - start)) s"
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "check-code: FAILED: ${failed[*]}" >&2
    exit 1
fi
