#!/usr/bin/env bash
# End to end: the setup, silent, in a Wine prefix where nothing was ever installed.
#   - HXT_GMouse-setup.exe /S puts the shipped (stripped, small) exe, its data and skins into
#     Program Files, a start-menu shortcut, the uninstaller, the uninstall registration in the
#     64-bit registry, and the log-on task the program registers itself;
#   - an install over a running copy ends it first, as the tray's Exit does;
#   - another /S install keeps the user's config.ini and macros byte for byte and puts back a
#     shipped file that went missing;
#   - uninstall.exe /S removes the program, its registration, shortcut and task, and keeps the
#     user's settings in their folder.
# Usage: test_setup.sh PATH/TO/HXT_GMouse.exe (env HXT_SOURCE_DIR, HXT_BUILD_DIR, HXT_DIST_DIR,
# HXT_OBJDUMP)
set -uo pipefail
source "$(dirname "${BASH_SOURCE[0]}")/lib.sh"

# Not e2e_init: that one shares the tests' prefix, where a setup would leave its traces.
exe=${1:?usage: $0 PATH/TO/HXT_GMouse.exe}
src=${HXT_SOURCE_DIR:-$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)}
build=${HXT_BUILD_DIR:-$(dirname "$exe")}
dist=${HXT_DIST_DIR:-$build/dist}
if [ -z "${DISPLAY:-}" ]; then
    exec xvfb-run -a -s "-screen 0 1280x1024x24" bash "$0" "$@"
fi
e2e_started=$SECONDS
setup=$dist/HXT_GMouse-setup.exe
shipped=$dist/HXT_GMouse
[ -f "$setup" ] || fail "no $setup (is makensis installed? the build makes it with the nsis package)"
version=$(sed -n 's/^#define HXT_VERSION_TEXT "\(.*\)"/\1/p' "$src/resources/version.h")
[ -n "$version" ] || fail "no HXT_VERSION_TEXT in resources/version.h"

# Wine's menu builder would put the shortcut into this machine's own application menu.
export WINEDLLOVERRIDES="mscoree,mshtml,winemenubuilder.exe="
wine_run=$src/tools/wine-run.sh
# A prefix made once and kept clean, copied afresh for every run: making one costs half a
# minute, copying it seconds. The copy is left after the run for a look at what went wrong.
clean=$build/wineprefix-setup-clean
prefix=$build/wineprefix-setup
HXT_WINEPREFIX=$clean HXT_WINE_UNMANAGED=1 "$wine_run" --prepare-only || fail "cannot prepare $clean"
WINEPREFIX=$clean wineserver -w 2>/dev/null
rm -rf "$prefix"
cp -a "$clean" "$prefix" || fail "cannot copy $clean"
export HXT_WINEPREFIX=$prefix HXT_WINE_UNMANAGED=1 WINEPREFIX=$prefix
work=$(mktemp -d)
trap 'wineserver -k 2>/dev/null; rm -rf "$work"' EXIT
wineserver -p || fail "cannot start the Wine server"
step "a fresh prefix in $prefix"

dir="$prefix/drive_c/Program Files/HXT_GMouse"
windir='C:\Program Files\HXT_GMouse'
shortcut="$prefix/drive_c/ProgramData/Microsoft/Windows/Start Menu/Programs/HXT_GMouse.lnk"
task=$prefix/drive_c/windows/system32/tasks/HXT_GMouse
key='HKLM\Software\Microsoft\Windows\CurrentVersion\Uninstall\HXT_GMouse'

install() {  # WHAT
    timeout 120 "$wine_run" "$setup" /S
    local rc=$?
    [ $rc -eq 0 ] || fail "the $1 silent install ended with status $rc"
}
# The value NAME of the uninstall key, as reg.exe printed it into $registration: "TYPE DATA".
reg_value() {  # NAME
    awk -v name="$1" '$1 == name { $1 = ""; sub(/^ +/, ""); print; found = 1 } END { exit !found }' <<<"$registration"
}
registered() { "$wine_run" reg query "$key" >/dev/null 2>&1; }
expect_value() {  # NAME EXPECTED
    local got
    got=$(reg_value "$1") || fail "the uninstall registration has no $1"
    [ "$got" = "$2" ] || fail "the registration's $1 is '$got', not '$2'"
}
# The task file as text, whichever encoding Wine wrote it in.
task_text() {
    if [ "$(head -c 2 "$task" | od -An -tx1 | tr -d ' ')" = fffe ]; then iconv -f UTF-16 -t UTF-8 "$task"; else cat "$task"; fi
}

# ------------------------------------------------------------------------------------------------
# 1. The first install.
install first
for file in HXT_GMouse.exe config.ini Macro_EN.dat Macro_CN.dat; do
    cmp -s "$shipped/$file" "$dir/$file" || fail "$file was not installed as shipped"
done
diff -r "$shipped/skins" "$dir/skins" >/dev/null || fail "the skins were not installed as shipped"
[ -f "$dir/uninstall.exe" ] || fail "no uninstall.exe"
[ -f "$shortcut" ] || fail "no start-menu shortcut"
size=$(stat -c %s "$dir/HXT_GMouse.exe")
[ "$size" -lt 3000000 ] || fail "the installed exe has $size bytes"
! "${HXT_OBJDUMP:-x86_64-w64-mingw32-objdump}" -h "$dir/HXT_GMouse.exe" | grep -q ' \.debug_' ||
    fail "the installed exe carries debug sections"
step "installed"

# One reg.exe for all values: each Wine start costs most of a second.
registration=$("$wine_run" reg query "$key" 2>/dev/null | tr -d '\r') || fail "no uninstall registration $key"
expect_value DisplayName "REG_SZ HXT_GMouse"
expect_value DisplayVersion "REG_SZ $version"
expect_value DisplayIcon "REG_SZ \"$windir\\HXT_GMouse.exe\",0"
expect_value UninstallString "REG_SZ \"$windir\\uninstall.exe\""
expect_value QuietUninstallString "REG_SZ \"$windir\\uninstall.exe\" /S"
expect_value NoModify "REG_DWORD 0x1"
# EstimatedSize: the folder's size in KB, as Windows shows it.
estimated=$(reg_value EstimatedSize) || fail "the registration has no EstimatedSize"
[[ "$estimated" == "REG_DWORD 0x"* ]] || fail "EstimatedSize is $estimated, not a DWORD"
kb=$(find "$dir" -type f -printf '%s\n' | awk '{ bytes += $1 } END { print int(bytes / 1024) }')
estimated=$((${estimated#REG_DWORD }))
[ $((estimated - kb)) -le 4 ] && [ $((kb - estimated)) -le 4 ] ||
    fail "EstimatedSize is $estimated KB, the folder holds $kb KB"
! "$wine_run" reg query "${key/Software/Software\\Wow6432Node}" >/dev/null 2>&1 ||
    fail "the registration went into the 32-bit registry"
step "registered for uninstalling"

# The log-on task, as Wine keeps it: only its settings survive there.
[ -f "$task" ] || fail "no log-on task $task"
text=$(task_text | tr -d ' \r\n')
grep -q '<ExecutionTimeLimit>PT0S</ExecutionTimeLimit>' <<<"$text" &&
    grep -q '<DisallowStartIfOnBatteries>false</DisallowStartIfOnBatteries>' <<<"$text" &&
    grep -q '<StopIfGoingOnBatteries>false</StopIfGoingOnBatteries>' <<<"$text" ||
    fail "the log-on task lacks its settings: $(task_text)"
step "the log-on task"

# ------------------------------------------------------------------------------------------------
# 2. An install over a running copy ends it as the tray's Exit does (status 0, the exit command
# its mouse's last report) before it replaces the exe. The shipped exe has no virtual mouse: the
# test build stands in for it while it runs.
cp "$exe" "$dir/HXT_GMouse.exe" || fail "cannot put the test build in place"
app=$dir
e2e_set_title "$dir/config.ini"
e2e_start_with_virtual_mouse
install "running-copy"
e2e_wait_for_exit 30 || fail "the copy still ran after the install"
[ "$status" -eq 0 ] || fail "the running copy ended with status $status"
[ "$(tail -n 1 "$log" | tr -d '\r')" = "$exit_report" ] || fail "the copy's last report was not the exit command: $(tail -n 2 "$log")"
cmp -s "$shipped/HXT_GMouse.exe" "$dir/HXT_GMouse.exe" || fail "the install over a running copy did not replace the exe"
step "installed over a running copy"

# ------------------------------------------------------------------------------------------------
# 3. Another install over the user's changes: they stay; a shipped file lost comes back.
printf '[Init]\r\nCurConfig=3\r\nVER_SEL=2\r\n; changed by the user\r\n' > "$dir/config.ini"
printf 'macroNum=0\r\n' > "$dir/Macro_EN.dat"
cp "$dir/config.ini" "$work/config.ini"
cp "$dir/Macro_EN.dat" "$work/Macro_EN.dat"
lost=$(cd "$dir/skins" && find . -type f | head -n 1)
rm "$dir/skins/$lost"
install third
cmp -s "$work/config.ini" "$dir/config.ini" || fail "the reinstall changed the user's config.ini"
cmp -s "$work/Macro_EN.dat" "$dir/Macro_EN.dat" || fail "the reinstall changed the user's Macro_EN.dat"
cmp -s "$shipped/skins/$lost" "$dir/skins/$lost" || fail "the reinstall did not put back skins/$lost"
cmp -s "$shipped/HXT_GMouse.exe" "$dir/HXT_GMouse.exe" || fail "the reinstall lost the exe"
registered || fail "the reinstall lost the registration"
step "reinstalled over the user's settings"

# ------------------------------------------------------------------------------------------------
# 4. The silent uninstall, as the registration's QuietUninstallString runs it. The uninstaller
# runs from a copy in the temporary folder and its first start returns at once: poll for the end.
"$wine_run" "$dir/uninstall.exe" /S || fail "uninstall.exe /S failed to start"
uninstalled() { [ ! -e "$dir/uninstall.exe" ] && [ ! -e "$dir/HXT_GMouse.exe" ] && ! registered; }
e2e_poll 120 uninstalled || fail "the uninstall left $(ls "$dir" | tr '\n' ' ')"
[ ! -e "$dir/skins" ] || fail "the uninstall left the skins"
[ ! -e "$shortcut" ] || fail "the uninstall left the start-menu shortcut"
[ ! -e "$task" ] || fail "the uninstall left the log-on task"
cmp -s "$work/config.ini" "$dir/config.ini" || fail "the uninstall did not keep config.ini"
cmp -s "$work/Macro_EN.dat" "$dir/Macro_EN.dat" || fail "the uninstall did not keep Macro_EN.dat"
[ -f "$dir/Macro_CN.dat" ] || fail "the uninstall did not keep Macro_CN.dat"
step "uninstalled, the settings kept"
echo "PASS"
