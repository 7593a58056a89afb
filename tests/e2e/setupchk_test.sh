#!/usr/bin/env bash
# SETUPCHK.EXE through tools/setupchk: the sample package checks clean; the broken fixture
# package reports each finding with its severity and place; exit codes and --quiet.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }

check() {  # name expected-exit dir [options...]: the report in $WORK/name.out
  local name=$1 expected=$2 dir=$3; shift 3
  "$ROOT/tools/setupchk" "$@" "$dir" > "$WORK/$name.out" 2>&1
  local rc=$?
  [ $rc -eq "$expected" ] || { fail "$name: exit $rc, expected $expected"; sed 's/^/    /' "$WORK/$name.out"; }
}

# The sample package, assembled as demo/make-package does: no error, no warning.
"$ROOT/demo/make-package" "$WORK/sample" >/dev/null || fail "make-package"
check sample 0 "$WORK/sample"
grep -q '^SETUPCHK: no errors, no warnings$' "$WORK/sample.out" || fail "sample: no clean summary"

grep -q '^note    \[Disk2\] 1: C:\\windows\\SYSTEM\\QXMOUSE.DRV is a shared file' "$WORK/sample.out" ||
  fail "sample: the shared file not noted"
grep -q '^note    identity: this checker was built for the product Qorva (identity identity.ini): the registry entries name QXMAIN.EXE, QXPAGE.DLL, UNINSTAL.EXE$' \
  "$WORK/sample.out" || fail "sample: no note of the identity"

# Its plan: every file copied or expanded, the driver registered, exit code 0.
check sample-plan 0 "$WORK/sample" --plan
grep -q $'^exit\t0$' "$WORK/sample-plan.out" || fail "sample plan: exit 0"
! grep -qE $'^entry\t[^\t]*\t[^\t]*\t(fail|skip|refuse)' "$WORK/sample-plan.out" ||
  fail "sample plan: an entry not copied"
grep -qF $'\tDisplayName\tQorva Mouse Driver' "$WORK/sample-plan.out" ||
  fail "sample plan: no uninstall entry"

# The sample with its packed driver cut short and a name too long: both fail, the first ends
# the run with 1, which registers nothing.
cp -r "$WORK/sample" "$WORK/cut"
truncate -s -200 "$WORK/cut/SYSTEM/QXMOUSE.DR_"
sed -i 's/^Disk1=8/Disk1=9/; s/^8=SETUP.EXE.*/&\n9=AVERYLONGNAME.TXT, A.TXT, Long, RootDir\r/' "$WORK/cut/SETUP.INF"
check cut-plan 2 "$WORK/cut" --plan
for expected in $'entry\tDisk1\t9\tfail\t-\t' $'\ta file name is longer than 14 characters' \
    $'entry\tDisk2\t1\tfail\t-\tP:\\SYSTEM\\QXMOUSE.DR_\t' \
    $'\tthe data did not arrive whole' $'systemini\tunchanged' $'exit\t1'; do
  grep -qF -- "$expected" "$WORK/cut-plan.out" || fail "cut plan: no '$expected'"
done
! grep -q '^registry' "$WORK/cut-plan.out" || fail "cut plan: an aborted run registers"

# One warning makes exit code 1.
sed -i 's/^OEM=0/OEM=2/' "$WORK/sample/SETUP.INF"
check sample-warning 1 "$WORK/sample"

# The author's traps: a key never read, the driver and the INF sections not installed.
sed -i 's/^SeialName=/SerialName=/; s/^MouseDriver=.*/MouseDriver=QXMOUSE.SYS/; s/^SerialInfSection=.*/SerialInfSection=QXSER/' \
  "$WORK/sample/SETUP.INF"
check sample-traps 2 "$WORK/sample"
for expected in \
    'error   [Startup] SerialName: SerialName is no key that SETUP.EXE reads: it probably means SeialName, which the section lacks -- SETUP.EXE never reads it and takes SeialName as empty: a serial mouse is registered with an empty DeviceDesc and DriverDesc' \
    'error   [Startup] MouseDriver: no file line installs QXMOUSE.SYS' \
    'error   [Startup] SerialInfSection: the INF file QXMOUSE.INF that the package installs has no section [QXSER]'; do
  grep -qF -- "$expected" "$WORK/sample-traps.out" || fail "sample-traps: no '$expected'"
done

# The Zentrix example: clean for the checker of its own kit ($SETUP_KIT); the checker of the
# sample product names the files its own identity expects, and where they come from.
"$ROOT/demo/zentrix/make-package" "$WORK/zentrix" "$SETUP_KIT" >/dev/null || fail "zentrix make-package"
SETUPCHK_EXE=$SETUP_KIT/SETUPCHK.EXE check zentrix 0 "$WORK/zentrix"
grep -qF 'built for the product Zentrix (identity identity.ini): the registry entries name ZXMAIN.EXE, UNINSTAL.EXE' \
  "$WORK/zentrix.out" || fail "zentrix: no note of its identity"
check zentrix-other 2 "$WORK/zentrix"
for expected in \
    'error   files: no entry installs QXMAIN.EXE, the companion that this kit names, into the installation directory itself -- the Run entry that SETUP.EXE writes points at nothing' \
    'error   files: no entry installs QXPAGE.DLL, the property-page server that this kit names,'; do
  grep -qF -- "$expected" "$WORK/zentrix-other.out" || fail "zentrix-other: no '$expected'"
done

# Without [Startup] the driver values are written empty.
sed -i '/^\[Startup\]/,$d' "$WORK/sample/SETUP.INF"
check sample-no-startup 2 "$WORK/sample"
grep -q '^error   \[Startup\]: missing -- SETUP.EXE writes empty driver values' "$WORK/sample-no-startup.out" ||
  fail "sample: no [Startup] not reported"

# The broken package: its packed files are made here, one of them cut short.
cp -r "$ROOT/tests/fixtures/check/broken" "$WORK/broken"
( cd "$WORK/broken" && mscompress GOOD.TXT BAD.TXT >/dev/null && mv GOOD.TXT_ GOOD.TX_ &&
  mv BAD.TXT_ BAD.TX_ && truncate -s -300 BAD.TX_ ) || fail "packing the fixture"
check broken 2 "$WORK/broken"

# severity | place | part of the finding's text
while IFS='|' read -r severity place text; do
  [ -n "$severity" ] || continue
  grep -F -- "$severity $place: " "$WORK/broken.out" | grep -q -F -- "$text" ||
    fail "broken: no '$severity $place: ...$text...'"
done <<'TABLE'
warning|[Main] DefaultPath|ends in a backslash
warning|[Main] DefaultPath|the drive D: is replaced
note   |[Main] DefaultPath|which SETUP.EXE creates where it is missing
note   |[Main] DefaultPath|is C:\QORVA PACKAGES\QORVA MOUSE DRIVER\ on this machine
note   |[Main] DefaultPath|installation directory of at most 31 characters (the tightest: [Disk1] 12)
warning|[Main] ProductName|holds "&"
warning|[Main] ProductName|47 characters
warning|[Main] OEM|2 is neither 0 nor 1
warning|[Main] DefaultSerialMouse|3 is neither 0 nor 1
error  |[Main] MinimumSpace|1 KB asked for, less than the 8 KB
error  |[FileCounts] Disk2|negative count -1
warning|[FileCounts] Disk3|missing for a disk in use
warning|[DiskLabel] Disk3|empty, but [DiskLabel] has 3 labels -- SETUP.EXE reads [Disk3] all the same
error  |[DiskLabel] Disk4|disk 4 is not in use
warning|[Startup] Title|91 characters, more than 79
warning|[Startup] Mfg|holds "; "
error  |[PS2]|journal section
error  |[DirectoryName] SubDir2|"A\B" is not created
error  |files|no entry installs QXMAIN.EXE, the companion that this kit names
error  |files|no entry installs SETUP.INF into the installation directory itself
warning|files|no entry installs SETUP.EXE into the installation directory itself
error  |[Installed]|install record section in the package's script
error  |[Startup] MouseDriver|no file line installs QXMOUSE.DRV
note   |[Disk1] 3|GOOD.TX_ (packed) -> C:\QORVA PACKAGES\QORVA MOUSE DRIVER\\.\..\GOOD.TXT, 3650 bytes
warning|[Disk1] 3|".\..\GOOD.TXT" leads out of the installation directory, to C:\QORVA PACKAGES\GOOD.TXT
error  |[Disk1] 4|BAD.TX_ does not expand cleanly: 1483 of 3590 bytes -- the copying page asks Abort, Retry or Ignore: "The packed data of the file is damaged." (Ignore goes on without the file); /S ends with exit code 1 and nothing is installed
error  |[Disk1] 5|FILES (RootDir) is never created
error  |[Disk1] 6|the source P:\ABSENT.TXT is missing
warning|[Disk1] 6|"NoSuchDir" is none of the ten
error  |[Disk1] 7|"AVERYLONGNAME.TXT" is longer than 14
error  |[Disk1] 8|longer than 39 characters
warning|[Disk1] 9|as [Disk1] 1 does
warning|[Disk1] 10|"NoSuchDir" is none of the ten
warning|[Disk1] 11|more than 61
error  |[Disk1] 12|the destination path is 85 characters
warning|[Disk1] 13|missing or empty
warning|[Disk1] 14|more than 127
error  |[Disk1] 15|beyond the count 14
note   |totals|14 entries
TABLE
grep -q '^SETUPCHK: 16 errors, 18 warnings$' "$WORK/broken.out" || fail "broken: summary"
! grep -q '^note    \[Disk1\] 5:' "$WORK/broken.out" || fail "broken: a file that is never written counted"

# --plan: with an installation directory that is no full path the run never starts.
cp -r "$WORK/broken" "$WORK/broken-form"
sed -i 's/^DefaultPath=.*/DefaultPath=C:QORVA/' "$WORK/broken-form/SETUP.INF"
check plan 2 "$WORK/broken-form" --plan
for expected in $'start\trefuse\t3\tthe destination is refused: it is not of the form X:\\...' \
    $'entry\tDisk1\t4\trefuse\t-\tP:\\.\\BAD.TX_\t' $'systemini\tunchanged' $'exit\t3'; do
  grep -qF -- "$expected" "$WORK/plan.out" || fail "plan: no '$expected'"
done
! grep -q '^error' "$WORK/plan.out" || fail "plan: findings in the plan"

# --quiet: the errors alone.
check quiet 2 "$WORK/broken" --quiet
[ "$(grep -c '^error ' "$WORK/quiet.out")" = 16 ] && [ "$(grep -vc '^error ' "$WORK/quiet.out")" = 0 ] ||
  fail "quiet: not the 16 errors alone"

# A directory that does not exist and one without SETUP.INF: errors, not crashes.
check absent 2 "$WORK/absent"
grep -q '^error   package: the package directory .* does not exist' "$WORK/absent.out" || fail "absent"
mkdir "$WORK/empty"
check empty 2 "$WORK/empty"
grep -q '^error   SETUP.INF: missing' "$WORK/empty.out" || fail "empty"

[ $failures -eq 0 ] && echo "setupchk tests: all passed" || echo "setupchk tests: $failures failed"
[ $failures -eq 0 ]
