#!/usr/bin/env bash
# The identity file: the default one and the Zentrix example pass; each kind of fault is
# refused with the file's line; a build configured with a bad one stops.
set -uo pipefail
ROOT=$(cd "$(dirname "${BASH_SOURCE[0]}")/../.." && pwd)
WORK=$(mktemp -d)
trap 'rm -rf "$WORK"' EXIT
failures=0
fail() { echo "FAIL: $*"; failures=$((failures + 1)); }
ID=$ROOT/tools/kit/identity.py

for good in "$ROOT/resources/identity.ini" "$ROOT/demo/zentrix/identity.ini"; do
  python3 "$ID" check "$good" || fail "$good refused"
done
[ "$(python3 "$ID" value "$ROOT/demo/zentrix/identity.ini" PropertyPage ClassId)" = none ] ||
  fail "no page server: its class identifier is not none"

# sed expression applied to the default file | the message expected, line included
while IFS='|' read -r edit expected; do
  sed "$edit" "$ROOT/resources/identity.ini" > "$WORK/bad.ini"
  python3 "$ID" check "$WORK/bad.ini" 2> "$WORK/err" && { fail "accepted: $edit"; continue; }
  grep -qF -- "$expected" "$WORK/err" || fail "$edit: got '$(cat "$WORK/err")', expected '$expected'"
done <<'TABLE'
s/^ClassId=.*/ClassId={7C1D2A40-5E3B-11d2-9F4A}/|bad.ini:26: ClassId "{7C1D2A40-5E3B-11d2-9F4A}" is not a class identifier
s/^File=.*/File=QXMAINPROGRAM.EXE/|bad.ini:20: File "QXMAINPROGRAM.EXE" is not an 8.3 file name
s/^Server=.*/Server=QX PAGE.DLL/|bad.ini:25: Server "QX PAGE.DLL" is not an 8.3 file name
s/^UninstallKey=.*/UninstallKey=Qorva\\Quillotrax/|bad.ini:33: UninstallKey "Qorva\Quillotrax" holds a backslash
s/^SerialDeviceKey=.*/SerialDeviceKey=none/|bad.ini:36: SerialDeviceKey cannot be none
s/^RunValue=/RunName=/|bad.ini:34: unknown key RunName in [Registry]
/^ProductName=/d|bad.ini:0: [Product] ProductName is missing
s/^\[Artwork\]/[Art]/|bad.ini:38: unknown section [Art]
s/^Language=.*/Language=Klingon/|bad.ini:12: Language "Klingon" is not one of English, German, French, Japanese
TABLE
[ "$(python3 "$ID" value "$ROOT/demo/zentrix/identity.ini" Product Language)" = English ] ||
  fail "an identity without Language is not English"
[ "$(python3 "$ID" value "$ROOT/demo/zentrix/identity-ja.ini" Product Language)" = Japanese ] ||
  fail "the Japanese example is not Japanese"

# The language files: every one passes; a text that does not fit, a key missing or unknown,
# a character its code page lacks and a placeholder lost are refused with the line.
LT=$ROOT/tools/kit/langtexts.py
python3 "$LT" check || fail "the language files are refused"
while IFS='|' read -r file edit expected; do
  rm -rf "$WORK/lang" && cp -r "$ROOT/resources/lang" "$WORK/lang"
  sed -i "$edit" "$WORK/lang/$file"
  python3 "$LT" check --dir "$WORK/lang" 2> "$WORK/err" && { fail "accepted: $file $edit"; continue; }
  grep -qF -- "$expected" "$WORK/err" || fail "$file $edit: got '$(cat "$WORK/err")', expected '$expected'"
done <<'TABLE'
german.txt|s/^IDS_COPY_DAMAGED = .*/IDS_COPY_DAMAGED = "Die komprimierten Daten der Datei sind beschädigt, und zwar so gründlich, dass nichts mehr davon zu gebrauchen ist, gar nichts!!"/|german.txt:19: IDS_COPY_DAMAGED is 128 bytes in code page 1252, more than 127
japanese.txt|s/^IDS_COPY_DAMAGED = .*/IDS_COPY_DAMAGED = "ファイルの圧縮データが壊れています。ファイルの圧縮データが壊れています。ファイルの圧縮データが壊れています。ファイルの圧縮データ"/|japanese.txt:20: IDS_COPY_DAMAGED is 128 bytes in code page 932, more than 127
french.txt|/^DLG_OK = /d|[Dialogs] DLG_OK is missing
french.txt|s/^DLG_OK = /DLG_OKAY = /|DLG_OKAY is not a key of [Dialogs]
german.txt|s/^DLG_FINISH = .*/DLG_FINISH = "Fertig ✓"/|DLG_FINISH holds '✓', which code page 1252 lacks
japanese.txt|s/^IDS_COPY_CANNOT = .*/IDS_COPY_CANNOT = "%s にコピーできません。"/|IDS_COPY_CANNOT has the placeholders ['%s']; the English text has ['%s', '%s']
TABLE

# No page server: its other keys may go.
sed 's/^Server=.*/Server=none/; /^ClassId=/d; /^ClassName=/d; /^HandlerName=/d' \
  "$ROOT/resources/identity.ini" > "$WORK/nopage.ini"
python3 "$ID" check "$WORK/nopage.ini" || fail "no page server refused"

# The build refuses a bad identity before it compiles anything.
sed 's/^ClassId=.*/ClassId=7C1D2A40/' "$ROOT/resources/identity.ini" > "$WORK/bad.ini"
if cmake -S "$ROOT" -B "$WORK/build" -DSETUP_IDENTITY="$WORK/bad.ini" > "$WORK/cmake.out" 2>&1; then
  fail "the build accepted a bad identity"
fi
tr '\n' ' ' < "$WORK/cmake.out" | tr -s ' ' |
  grep -qF 'bad.ini:26: ClassId "7C1D2A40" is not a class identifier' ||
  { fail "the build did not name the line"; cat "$WORK/cmake.out"; }

[ $failures -eq 0 ] && echo "identity file: all passed"
exit $((failures > 0))
