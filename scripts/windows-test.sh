#!/usr/bin/env bash
# The Windows library: builds zentrik.dll and the digest program with
# MinGW-w64 (build-windows/), checks the DLL's export and import tables, runs
# the digest under Wine and natively, and requires the two outputs to be
# identical.
#   scripts/windows-test.sh
# ZENTRIK_WINDOWS_BUILD_DIR and ZENTRIK_NATIVE_BUILD_DIR choose other build
# directories (default build-windows, and build or build-windows-native).
set -euo pipefail
cd "$(dirname "$0")/.."
root=$PWD

bash scripts/install-deps.sh core windows

jobs=$(nproc 2>/dev/null || echo 2)
triplet=i686-w64-mingw32
fail() { echo "windows-test: $*" >&2; exit 1; }

# --- Windows build -----------------------------------------------------------
win=${ZENTRIK_WINDOWS_BUILD_DIR:-build-windows}
cmake -S . -B "$win" -DCMAKE_TOOLCHAIN_FILE=cmake/toolchain-$triplet.cmake \
    -DCMAKE_BUILD_TYPE=Release -DZENTRIK_WERROR=ON
cmake --build "$win" -j "$jobs"
dll=$win/bin/zentrik.dll
digest_exe=$win/bin/zentrik_digest.exe
if [ ! -f "$dll" ] || [ ! -f "$digest_exe" ]; then fail "zentrik.dll or zentrik_digest.exe was not built"; fi

# --- Native digest: in build/ when scripts/test.sh has configured it ----------
if [ -n "${ZENTRIK_NATIVE_BUILD_DIR:-}" ]; then
    native=$ZENTRIK_NATIVE_BUILD_DIR
elif [ -f build/CMakeCache.txt ]; then
    native=build
else
    native=build-windows-native
fi
if [ ! -f "$native/CMakeCache.txt" ]; then
    cmake -S . -B "$native" -DCMAKE_BUILD_TYPE=Release -DZENTRIK_WERROR=ON \
        -DZENTRIK_BUILD_VIEWER=OFF -DZENTRIK_BUILD_BENCHMARKS=OFF -DZENTRIK_BUILD_TOOLS=OFF
fi
cmake --build "$native" -j "$jobs" --target zentrik_digest

tmp=$(mktemp -d "${TMPDIR:-/tmp}/zentrik-windows.XXXXXX")
export WINEPREFIX=$tmp/wineprefix
cleanup() {
    if [ -d "$WINEPREFIX" ]; then wineserver -k >/dev/null 2>&1 || true; fi
    rm -rf "$tmp"
}
trap cleanup EXIT

# --- Export table: exactly the header's entries, undecorated ------------------
entries=$win/zentrik-entries.txt
sort -u "$entries" >"$tmp/expected"
$triplet-objdump -p "$dll" >"$tmp/dll-headers"
sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' "$tmp/dll-headers" |
    sed -n 's/^[[:space:]]*\[[[:space:]]*[0-9]*\][[:space:]]*//p' | sort >"$tmp/exported"
if ! cmp -s "$tmp/expected" "$tmp/exported"; then
    echo "missing from the DLL:"; comm -23 "$tmp/expected" "$tmp/exported"
    echo "exported but not an entry:"; comm -13 "$tmp/expected" "$tmp/exported"
    fail "the export table of $dll differs from the header's entries"
fi
echo "exports: $(wc -l <"$tmp/exported") entries, undecorated, nothing else"

# --- Imports: system DLLs only (no libgcc, libstdc++ or winpthread DLLs) ------
check_imports() {
    local binary=$1 name
    for name in $($triplet-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p'); do
        case "${name,,}" in
            kernel32.dll | msvcrt.dll | ole32.dll | oleaut32.dll | user32.dll | advapi32.dll) ;;
            *) fail "$binary imports $name" ;;
        esac
    done
    echo "imports of $(basename "$binary"): $($triplet-objdump -p "$binary" | sed -n 's/^[[:space:]]*DLL Name:[[:space:]]*//p' | tr '\n' ' ')"
}
check_imports "$dll"
check_imports "$digest_exe"

# --- Import library: stdcall-decorated names of the objects --------------------
find "$win/CMakeFiles/zentrik_objects.dir" -name '*.obj' -print0 |
    xargs -0 $triplet-nm --defined-only | awk '$2 == "T" { print $3 }' |
    sed -n 's/^_\([A-Za-z_][A-Za-z0-9_]*@[0-9]*\)$/\1/p' | sort -u >"$tmp/decorated-all"
awk -F@ 'NR == FNR { want[$1] = 1; next } ($1 in want)' "$tmp/expected" "$tmp/decorated-all" >"$tmp/decorated"
$triplet-nm "$win/lib/libzentrik.dll.a" | sed -n 's/^.* I __imp__\(.*@[0-9]*\)$/\1/p' | sort -u >"$tmp/implib"
[ "$(wc -l <"$tmp/decorated")" -eq "$(wc -l <"$tmp/expected")" ] || fail "not every entry is a stdcall function in the objects"
cmp -s "$tmp/decorated" "$tmp/implib" || { diff "$tmp/decorated" "$tmp/implib" || true; fail "import library and objects disagree"; }
echo "import library: $(wc -l <"$tmp/implib") stdcall-decorated symbols"

# --- Run both digests -----------------------------------------------------------
# No display, no Mono or Gecko installers, and one locale: the regional
# decimal separator of the Wine user is then the point.
export WINEDEBUG=-all WINEDLLOVERRIDES="mscoree,mshtml=" LC_ALL=C.UTF-8
unset DISPLAY WAYLAND_DISPLAY
mkdir -p "$tmp/run-windows" "$tmp/run-native"
echo "starting Wine in a fresh prefix"
timeout 900 wineboot -i >/dev/null 2>&1 || fail "wineboot failed"

set +e
(cd "$tmp/run-windows" && timeout 1800 wine "$root/$digest_exe" >"$tmp/windows.txt" 2>"$tmp/windows.err")
windows_rc=$?
(cd "$tmp/run-native" && timeout 1800 "$root/$native/bin/zentrik_digest" >"$tmp/native.txt" 2>"$tmp/native.err")
native_rc=$?
(cd "$tmp/run-windows" && timeout 300 wine "$root/$win/bin/print_indicators.exe" >"$tmp/example.txt" 2>&1)
example_rc=$?
set -e

complete='^digest complete: calls=[0-9]+ fp-state-changes=0 guard-violations=0 run-mismatches=0$'
report() {
    echo "--- $1 (exit $2), last lines:"; tail -n 5 "$tmp/$1.txt" || true
    grep -E '^(FAULT|FP-STATE|GUARD|RUN-MISMATCH)|UNEXPECTED' "$tmp/$1.txt" | head -n 20 || true
    head -n 20 "$tmp/$1.err" || true
}
grep -Eq "$complete" "$tmp/windows.txt" || { report windows "$windows_rc"; fail "the Windows digest did not complete cleanly"; }
grep -Eq "$complete" "$tmp/native.txt" || { report native "$native_rc"; fail "the native digest did not complete cleanly"; }
if [ "$windows_rc" -ne 0 ] || [ "$native_rc" -ne 0 ]; then fail "digest exit codes: Windows $windows_rc, native $native_rc"; fi
if ! cmp -s "$tmp/windows.txt" "$tmp/native.txt"; then
    diff "$tmp/native.txt" "$tmp/windows.txt" | head -n 40
    fail "the Windows and native digests differ ($(diff "$tmp/native.txt" "$tmp/windows.txt" | grep -c '^>') lines)"
fi
awk '{ print $2 }' "$tmp/native.txt" | sort -u >"$tmp/called"
missing=$(comm -23 "$tmp/expected" "$tmp/called")
[ -z "$missing" ] || fail "the digest does not call: $missing"
[ "$example_rc" -eq 0 ] || { cat "$tmp/example.txt"; fail "print_indicators.exe (linked with the import library) failed under Wine"; }

echo "digest: $(tail -n 1 "$tmp/native.txt" | sed 's/^digest complete: //'), $(wc -l <"$tmp/native.txt") lines, identical under Wine and natively"

# --- ToExcel's automation conversation -------------------------------------------
# A stand-in server registered as "Excel.Application" in this prefix only
# (after the digest, which calls ToExcel where no such application exists)
# logs what ToExcel sends it; the conversation must be exactly the expected
# one, with the user's decimal separator in the cell texts.
class='{1B2C3D4E-1111-2222-3333-444455556666}'
server=$(winepath -w "$root/$win/bin/zentrik_automation_server.dll")
wine reg add "HKCR\\CLSID\\$class\\InprocServer32" /ve /d "$server" /f >/dev/null 2>&1
wine reg add "HKCR\\CLSID\\$class\\InprocServer32" /v ThreadingModel /d Apartment /f >/dev/null 2>&1
wine reg add "HKCR\\Excel.Application\\CLSID" /ve /d "$class" /f >/dev/null 2>&1
mkdir -p "$tmp/run-automation"
automation() {  # locale, output file
    (cd "$tmp/run-automation" &&
        LC_ALL=$1 timeout 300 wine "$root/$win/bin/zentrik_automation_check.exe" >"$2" 2>/dev/null) || true
}
automation C.UTF-8 "$tmp/automation.txt"
diff -u tests/digest/automation.expected "$tmp/automation.txt" || fail "ToExcel's automation conversation differs"
automation de_DE.UTF-8 "$tmp/automation-comma.txt"
sed '/Value(/s/\([0-9]\)\.\([0-9]\)/\1,\2/' tests/digest/automation.expected |
    diff -u - "$tmp/automation-comma.txt" || fail "ToExcel does not use the regional decimal separator"
echo "ToExcel: automation conversation as expected, every object released, COM left as it was"
