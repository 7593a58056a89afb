#!/usr/bin/env bash
# Tests of check_win9x.py: tiny programs built on the fly that it must reject, programs that
# it must accept, and the real shipping SETUP.EXE and SETUPCHK.EXE, which must pass.
set -uo pipefail
HERE=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)
ROOT=$(cd "$HERE/../.." && pwd)
CHECK=(python3 "$HERE/check_win9x.py" --objdump i686-w64-mingw32-objdump)
CC=i686-w64-mingw32-gcc-win32
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0

# The flags of the shipping build: no C runtime, our own entry, Windows 4.0 headers.
BASE=(-Os -march=i486 -ffreestanding -fno-asynchronous-unwind-tables -fno-builtin -nostdlib -s
      -Wl,-e,_entry)
V40=(-Wl,--subsystem,windows:4.0,--major-os-version,4,--minor-os-version,0)

build() {  # name source [compiler and linker flags...]
  local name=$1 source=$2; shift 2
  printf '%s\n' "#include <windows.h>" "$source" > "$WORK/$name.c"
  if ! $CC "$WORK/$name.c" -o "$WORK/$name.exe" "$@" 2> "$WORK/$name.cc.log"; then
    echo "FAIL: fixture $name does not build:"; sed 's/^/    /' "$WORK/$name.cc.log"
    failures=$((failures + 1))
    return 1
  fi
}

expect_pass() {  # name exe [check options...]
  if "${CHECK[@]}" "${@:3}" "$2" > "$WORK/out" 2>&1; then
    echo "ok: $1 passes"
  else
    echo "FAIL: $1 should pass the check:"; sed 's/^/    /' "$WORK/out"
    failures=$((failures + 1))
  fi
}

expect_reject() {  # name exe reason-pattern [check options...]
  "${CHECK[@]}" "${@:4}" "$2" > "$WORK/out" 2>&1
  local rc=$?
  if [ $rc -eq 1 ] && grep -q -E -- "$3" "$WORK/out"; then
    echo "ok: $1 rejected: $(grep -m1 -E -- "$3" "$WORK/out" | sed 's/^ *- //')"
  else
    echo "FAIL: $1 should be rejected (exit 1, reason matching '$3'), got exit $rc:"
    sed 's/^/    /' "$WORK/out"
    failures=$((failures + 1))
  fi
}

# Accepted: a 4.0 GUI program using only Windows 95 functions, so that every rejection below
# is due to the one thing its fixture changes.
build plain 'void entry(void) { MessageBoxA(0, "a", "b", 0); ExitProcess(0); }' \
  "${BASE[@]}" "${V40[@]}" -lkernel32 -luser32 && expect_pass "plain 4.0 program" "$WORK/plain.exe"

# A console program passes where the build asks for one, and only there; a GUI program is
# no console program.
build console 'void entry(void) { DWORD n; WriteFile(GetStdHandle(STD_OUTPUT_HANDLE), "a", 1, &n, 0);
  ExitProcess(0); }' "${BASE[@]}" -Wl,--subsystem,console:4.0,--major-os-version,4,--minor-os-version,0 \
  -lkernel32 && {
  expect_pass "console 4.0 program with --console" "$WORK/console.exe" --console
  expect_reject "console program as a GUI program" "$WORK/console.exe" "not a GUI program"
  [ -f "$WORK/plain.exe" ] &&
    expect_reject "GUI program with --console" "$WORK/plain.exe" "not a console program" --console
}

# A KERNEL32 function that came with Windows 98 / NT 4.0.
build attrex 'void entry(void) { WIN32_FILE_ATTRIBUTE_DATA d;
  ExitProcess(GetFileAttributesExA("C:\\", GetFileExInfoStandard, &d)); }' \
  "${BASE[@]}" "${V40[@]}" -lkernel32 &&
  expect_reject "GetFileAttributesExA import" "$WORK/attrex.exe" \
    "KERNEL32.DLL GetFileAttributesExA, which Windows 95 does not export"

# Linked for subsystem 5.0 (Windows 2000): Windows 95 refuses to start it.
build subsys5 'void entry(void) { ExitProcess(0); }' \
  "${BASE[@]}" -Wl,--subsystem,windows:5.0,--major-os-version,4,--minor-os-version,0 -lkernel32 &&
  expect_reject "subsystem 5.0" "$WORK/subsys5.exe" "subsystem version 5.0"

# Built for the Pentium Pro: the compiler picks cmov, which a 486 does not have.
build cmov 'static int larger(int a, int b) { return a > b ? a : b; }
  void entry(void) { ExitProcess(larger(GetTickCount(), GetVersion())); }' \
  -O2 -march=i686 -ffreestanding -fno-asynchronous-unwind-tables -nostdlib -s -Wl,-e,_entry \
  "${V40[@]}" -lkernel32 &&
  expect_reject "-march=i686 code" "$WORK/cmov.exe" "instruction a 486 lacks .*cmov"

# The C runtime DLL: not on Windows 95.
build msvcrt 'int puts(const char*); void entry(void) { ExitProcess(puts("x")); }' \
  "${BASE[@]}" "${V40[@]}" -lmsvcrt -lkernel32 &&
  expect_reject "MSVCRT import" "$WORK/msvcrt.exe" "imports MSVCRT.DLL"

# A USER32 function that nobody reviewed (and that Windows 95 lacks).
build animate 'void entry(void) { ExitProcess(AnimateWindow(0, 200, AW_BLEND)); }' \
  "${BASE[@]}" "${V40[@]}" -lkernel32 -luser32 &&
  expect_reject "unreviewed USER32 import" "$WORK/animate.exe" \
    "USER32.DLL AnimateWindow, which is not in allowed-imports.txt"

# MinGW's KERNEL32 import library also defines the LZ functions; Windows 95 has them in LZ32
# only, so LZ32 must come first on the link line.
LZ='void entry(void) { OFSTRUCT o; INT a = LZOpenFileA("a", &o, OF_READ);
  INT b = LZOpenFileA("b", &o, OF_CREATE); ExitProcess(LZCopy(a, b)); }'
build lzlate "$LZ" "${BASE[@]}" "${V40[@]}" -lkernel32 -llz32 &&
  expect_reject "LZ functions taken from KERNEL32" "$WORK/lzlate.exe" \
    "KERNEL32.DLL LZOpenFileA, which Windows 95 does not export"
build lzfirst "$LZ" "${BASE[@]}" "${V40[@]}" -llz32 -lkernel32 &&
  expect_pass "LZ functions taken from LZ32" "$WORK/lzfirst.exe"

# The shipping program itself.
SETUP=$ROOT/out/i686/SETUP.EXE
if [ -f "$SETUP" ]; then
  expect_pass "out/i686/SETUP.EXE" "$SETUP"
else
  echo "FAIL: $SETUP missing (make build-i686 first)"
  failures=$((failures + 1))
fi
CHECKER=$ROOT/out/i686/SETUPCHK.EXE
if [ -f "$CHECKER" ]; then
  expect_pass "out/i686/SETUPCHK.EXE" "$CHECKER" --console
else
  echo "FAIL: $CHECKER missing (make build-i686 first)"
  failures=$((failures + 1))
fi

if [ $failures -ne 0 ]; then
  echo "check_win9x tests: $failures failed"
  exit 1
fi
echo "check_win9x tests: all passed"
