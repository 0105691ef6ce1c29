#!/usr/bin/env bash
# Reads the built programs' files, natively: what they import, what kind of
# PE they are, and what the shipped 32-bit program carries.
#   release_check.sh <64-bit ClassicSwitch.exe> <32-bit ClassicSwitch.exe>
# A 64-bit program given as "-" is not checked (tools/release.sh checks only
# what it ships).
set -uo pipefail

program64=$1
program32=$2
failures=0

fail() {
  echo "FAIL: $*"
  failures=$((failures + 1))
}

# DLLs that Windows maps from its KnownDLLs list (never searched for), and
# the C runtime's system copy. Anything else in an import table could be
# picked up from beside the program or its working folder.
allowed_imports="kernel32.dll user32.dll gdi32.dll shell32.dll shlwapi.dll advapi32.dll ole32.dll oleaut32.dll comdlg32.dll imm32.dll msvcrt.dll"

check_imports() {
  local objdump=$1 program=$2 dll
  local imports
  imports=$("$objdump" -p "$program" | awk '/DLL Name:/ {print tolower($3)}' | sort -u)
  if [ -z "$imports" ]; then
    fail "$program: no import table found"
    return
  fi
  for dll in $imports; do
    case " $allowed_imports " in
      *" $dll "*) ;;
      *) fail "$program imports $dll, which is not a KnownDLL" ;;
    esac
  done
  # Loaded by hand from the system folder only: never through an import
  # table, delayed ones included.
  if "$objdump" -p "$program" | grep -Ei 'DLL Name:.*(gdiplus|dwmapi)' >/dev/null; then
    fail "$program imports gdiplus.dll or dwmapi.dll"
  fi
  echo "$program imports: $(echo $imports)"
}

header_field() {
  "$1" -p "$2" | awk -v field="$3" '$1 == field {print $2; exit}'
}

check_shipped_program() {
  local objdump=i686-w64-mingw32-objdump program=$1
  [ "$(header_field $objdump "$program" Magic)" = "010b" ] || fail "$program is not PE32"
  [ "$(header_field $objdump "$program" Subsystem)" = "00000002" ] || fail "$program is not a GUI program"
  local characteristics
  characteristics=$("$objdump" -p "$program" | sed -n '/^DllCharacteristics/,/^SizeOf/p')
  grep -q DYNAMIC_BASE <<<"$characteristics" || fail "$program has no address-space randomisation"
  grep -q NX_COMPAT <<<"$characteristics" || fail "$program is not marked for no-execute data"
  if "$objdump" -h "$program" | grep -q '\.debug'; then
    fail "$program carries debug sections"
  fi
  if ! "$objdump" -t "$program" 2>/dev/null | grep -q 'no symbols'; then
    fail "$program carries a symbol table (not stripped)"
  fi

  local resources manifest
  resources=$(x86_64-w64-mingw32-windres -i "$program" -J coff -O rc 2>/dev/null) || fail "$program: resources unreadable"
  # The manifest is resource 1 of type 24 (RT_MANIFEST); windres writes it as
  # quoted lines with doubled quotes.
  manifest=$(awk '/^1 24 / {inside = 1; next} inside && /^END/ {exit} inside' <<<"$resources" | sed 's/""/"/g')
  if [ -z "$manifest" ]; then
    fail "$program has no embedded manifest"
  else
    grep -q '<dpiAware>true</dpiAware>' <<<"$manifest" || fail "$program's manifest does not declare DPI awareness"
    grep -q 'level="asInvoker"' <<<"$manifest" || fail "$program's manifest does not ask for the invoker's level"
  fi
  grep -q '^1 VERSIONINFO' <<<"$resources" || fail "$program has no version resource"
  grep -q 'VALUE "FileVersion"' <<<"$resources" || fail "$program's version resource has no file version"

  local size
  size=$(stat -c %s "$program")
  echo "$program: $size bytes"
  [ "$size" -lt 409600 ] || fail "$program is $size bytes, over 400 KB"
}

for program in "$program64" "$program32"; do
  [ "$program" = - ] && continue
  [ -f "$program" ] || { fail "$program is missing (build both presets first)"; continue; }
done
if [ "$failures" -eq 0 ]; then
  [ "$program64" = - ] || check_imports x86_64-w64-mingw32-objdump "$program64"
  check_imports i686-w64-mingw32-objdump "$program32"
  check_shipped_program "$program32"
fi

if [ "$failures" -ne 0 ]; then
  echo "$failures check(s) failed"
  exit 1
fi
echo "all release checks passed"
