#!/usr/bin/env bash
# Runs the zolxml program through every command and every failure it
# reports, checking its exit status and what it writes.
# Usage: zolxml_test.sh <zolxml program> <its man page>
set -uo pipefail
zolxml=$(realpath "$1")
man_page=$(realpath "$2")
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work" || exit 1
exec </dev/null

failures=0
fail() {
  printf 'FAILED %s: %s\n' "$case_name" "$*"
  failures=$((failures + 1))
}

# expect NAME STATUS STDOUT STDERR -- ARGS...: runs zolxml ARGS (standard
# input is the function's) and compares. STDOUT is the exact output, or
# "*" for any; STDERR an extended regular expression that standard error
# must match, or "" for none at all.
expect() {
  case_name=$1
  local status=$2 out=$3 err=$4
  shift 5
  local got=0
  "$zolxml" "$@" >"$work/.out" 2>"$work/.err" || got=$?
  [[ $got == "$status" ]] || fail "exit status $got, expected $status"
  if [[ $out != "*" ]] && ! cmp -s "$work/.out" <(printf '%s' "$out"); then
    fail "standard output differs:"
    cat "$work/.out"
  fi
  if [[ -z $err ]]; then
    [[ ! -s $work/.err ]] || fail "unexpected standard error: $(<"$work/.err")"
  elif ! grep -Eq -- "$err" "$work/.err"; then
    fail "standard error does not match '$err': $(<"$work/.err")"
  fi
}

# same_file NAME EXPECTED ACTUAL
same_file() {
  case_name=$1
  cmp -s "$2" "$3" || fail "$3 differs from $2"
}

limit=4194304
printf '<a b="y">x<c/></a>' >a.xml
printf '<list n="2"><item id="1">one</item><item id="2"><sub/>two</item></list>' >list.xml
printf '<a><b></a>' >broken.xml
printf '<?xml version="1.0"?><caf\xc3\xa9 w="\xc3\xa9t\xc3\xa9">d\xc3\xa9j\xc3\xa0</caf\xc3\xa9>' >utf8.xml
# "<r>" then U+00E9 as UTF-16 big-endian with its mark.
printf '\xfe\xff\x00<\x00r\x00>\x00\xe9\x00<\x00/\x00r\x00>' >utf16be.xml
printf '<a>&#55357;</a>' >surrogate.xml
printf -- '<dash/>' >-dash.xml
mkdir folder
# Exactly the limit, and one byte more.
{ printf '<a>'; head -c $((limit - 7)) /dev/zero | tr '\0' x; printf '</a>'; } >limit.xml
{ cat limit.xml; printf ' '; } >over.xml
# 500000 levels: no recursive walk fits in the small stack given below.
{ for _ in $(seq 1000); do printf '<e>'; done; } >thousand
{ for _ in $(seq 500); do cat thousand; done; printf '<e/>'; } >deep.xml
sed 's/<e>/<\/e>/g' thousand >closing
for _ in $(seq 500); do cat closing; done >>deep.xml
# The archive record of a.xml, byte by byte: names and values as MFC's
# UTF-16 strings, the counts as 16 bits.
printf '\xff\xfe\xff\x01a\0\xff\xfe\xff\x01x\0\x01\0\xff\xfe\xff\x01b\0\xff\xfe\xff\x01y\0\x01\0\xff\xfe\xff\x01c\0\xff\xfe\xff\0\0\0\0\0' >a.expected.bin
head -c 41 a.expected.bin >cut.bin
{ cat a.expected.bin; printf 'zz'; } >trailing.bin

# --- help and version
expect "help" 0 "*" "" -- --help
for command in "check \[-q\] \[-s\] FILE..." "print \[-s\] \[--declaration\] \[--line-breaks\] \[--indent\[=N\]\] FILE\.\.\." \
               "words \[-s\] FILE\.\.\." "stats \[-s\] FILE\.\.\." \
               "archive \[-s\] FILE OUT" "unarchive ARCHIVE OUT"; do
  grep -q "zolxml $command" .out || fail "--help does not show: $command"
done
expect "help after a command" 0 "*" "" -- print --help
expect "version" 0 "*" "" -- --version
grep -Eq '^zolxml [0-9]+\.[0-9]+\.[0-9]+$' .out || fail "version line: $(<.out)"

# --- check
expect "check: every file loads" 0 $'a.xml: loads\nlist.xml: loads\n' "" -- check a.xml list.xml
expect "check: one of each failure" 1 $'a.xml: loads\n' \
  "^zolxml: missing.xml: no such file or folder$" -- check a.xml missing.xml broken.xml over.xml folder
grep -qx "broken.xml:1:7: error: the closing tag </a> does not match <b>, opened at line 1, column 4" .err ||
  fail "broken.xml: $(<.err)"
grep -qx "zolxml: over.xml: $((limit + 1)) bytes, more than the $limit-byte limit of a document" .err ||
  fail "over.xml: $(<.err)"
grep -qx "zolxml: folder: is a directory" .err || fail "folder: $(<.err)"
expect "check: a file of exactly the limit" 0 $'limit.xml: loads\n' "" -- check limit.xml
expect "check: standard input" 0 $'standard input: loads\n' "" -- check - <list.xml
expect "check: standard input over the limit" 1 "" \
  "^zolxml: standard input: more than the $limit-byte limit of a document$" -- check - <over.xml
expect "check: empty standard input" 1 "" \
  "^standard input:1:1: error: expected the root element, found the end of the text$" -- check -
expect "check --quiet: nothing for files that load" 0 "" "" -- check --quiet a.xml list.xml
expect "check -q: failures still said" 1 "" "^broken.xml:1:7: error: " -- check -q a.xml broken.xml

# A failure shows its line, tabs kept, and a caret under the column.
printf '<list>\n\t<item a="1" <b/>\n</list>\n' >tabs.xml
expect "check: the line and its caret" 1 "" "^tabs.xml:2:14: " -- check -q tabs.xml
printf 'tabs.xml:2:14: error: expected %s to end the start tag of <item>, found %s\n\t<item a="1" <b/>\n\t            ^\n' \
  "'>'" "'<'" >tabs.expected
same_file "check: the line and its caret" tabs.expected .err
printf '<my-tag/>' >dash.xml
expect "check: well-formed XML this reader does not read" 1 "" \
  "^dash.xml: note: the document is well-formed XML that the default reading does not read; --standard reads it$" \
  -- check dash.xml
# A long line is cut around the column.
{ printf '<a>'; head -c 5000 /dev/zero | tr '\0' x; printf '&#;'; head -c 5000 /dev/zero | tr '\0' y; printf '</a>'; } >long.xml
expect "check: a long line" 1 "" "^long.xml:1:5006: error: expected a decimal digit" -- check long.xml
case_name="check: a long line is cut"
[[ $(sed -n 2p .err) =~ ^\.\.\.x+\&#\;y+\.\.\.$ ]] && (($(sed -n 2p .err | wc -c) < 120)) || fail "$(<.err)"
[[ $(sed -n 3p .err) =~ ^\ +\^$ ]] || fail "caret: $(sed -n 3p .err)"

# --- the standard reading
cat >other.xml <<'EOF'
<?xml version='1.0' encoding='ISO-8859-1'?>
<?xml-stylesheet type="text/xsl" href="s.xsl"?>
<!DOCTYPE node PUBLIC "-//x//DTD y//EN" "y.dtd" [
  <!ENTITY e "]>">
]>
<node name="/org/x">
  <interface name="org.x.Y">
    <method name="Get-Value" note="CAFE"><![CDATA[a < b]]>&#x41;</method>
  </interface >
</node>
EOF
sed -i 's/CAFE/caf\xe9/' other.xml # ISO-8859-1, as declared
expect "check: XML of other programs, default reading" 1 "" "^other.xml:1:1: error: " -- check other.xml
expect "check --standard" 0 $'other.xml: loads\n' "" -- check --standard other.xml
expect "stats -s" 0 $'elements: 3\nattributes: 4\ndepth: 3\nbytes: '"$(wc -c <other.xml)"$'\n' "" -- stats -s other.xml
expect "print --standard" 0 \
  $'<node name="/org/x"><interface name="org.x.Y"><method name="Get-Value" note="caf&#233;">a &lt; b A</method></interface></node>\n' \
  "" -- print --standard other.xml
expect "words -s, archive -s" 0 "*" "" -- words -s other.xml
expect "archive -s" 0 "" "" -- archive -s other.xml other.bin
expect "--standard is no option of unarchive" 2 "" "^zolxml: unknown option '--standard' for unarchive" \
  -- unarchive --standard other.bin -
printf '<?xml version="1.0" encoding="EBCDIC"?><a/>' >ebcdic.xml
expect "check -s: an encoding not read" 1 "" \
  "^ebcdic.xml:1:31: error: the declaration names the encoding 'EBCDIC', which this reader does not read" \
  -- check -s ebcdic.xml

# --- print
expect "print" 0 $'<a b="y"><c/>x</a>\n' "" -- print a.xml
expect "print --declaration" 0 $'<?xml version="1.0"?><a b="y"><c/>x</a>\n' "" -- print --declaration a.xml
expect "print --line-breaks" 0 $'\r\n<a b="y">\r\n<c/>\r\nx</a>\r\n' "" -- print --line-breaks a.xml
expect "print, options after the file" 0 $'<?xml version="1.0"?>\r\n<a b="y">\r\n<c/>\r\nx</a>\r\n' "" \
  -- print a.xml --line-breaks --declaration
expect "print: names in UTF-8, values as references" 0 $'<caf\xc3\xa9 w="&#233;t&#233;">d&#233;j&#224;</caf\xc3\xa9>\n' \
  "" -- print utf8.xml
expect "print: big-endian UTF-16 on standard input" 0 $'<r>&#233;</r>\n' "" -- print - <utf16be.xml
expect "print: a file named like an option, after --" 0 $'<dash/>\n' "" -- print -- -dash.xml
expect "print: a document that does not load" 1 "" "^broken.xml:1:7: error: the closing tag" -- print broken.xml
list_indented=$'<list n="2">\r\n  <item id="1">one</item>\r\n  <item id="2"><sub/>two</item>\r\n</list>\r\n'
expect "print --indent: two spaces, a value keeps its line" 0 "$list_indented" "" -- print --indent list.xml
expect "print --indent=1 --declaration" 0 $'<?xml version="1.0"?>\r\n<p>\r\n <q/>\r\n</p>\r\n' "" \
  -- print --indent=1 --declaration - <<<'<p><q/></p>'
expect "print --indent=0: the compact form" 0 $'<list n="2"><item id="1">one</item><item id="2"><sub/>two</item></list>\n' \
  "" -- print --indent=0 list.xml
for width in 17 "" x 1x -1; do
  expect "print --indent=$width" 2 "" "^zolxml: --indent takes a number of spaces from 0 to 16, not '$width'" \
    -- print --indent="$width" list.xml
done
case_name="print --indent reads back as the compact form"
"$zolxml" print --indent=3 list.xml >indented.xml && "$zolxml" print indented.xml >.out &&
  cmp -s .out <("$zolxml" print list.xml) || fail "$(<.out)"
expect "print: several files under headers" 0 $'==> a.xml <==\n<a b="y"><c/>x</a>\n\n==> standard input <==\n<dash/>\n' \
  "" -- print a.xml - <-dash.xml

# --- words
expect "words" 0 $'2 1 one 2 two\n' "" -- words list.xml
expect "words: UTF-8" 0 $'\xc3\xa9t\xc3\xa9 d\xc3\xa9j\xc3\xa0\n' "" -- words utf8.xml
expect "words: an unpaired surrogate" 0 $'\xef\xbf\xbd\n' \
  "^zolxml: surrogate.xml: warning: unpaired surrogate code units are written as U\+FFFD$" -- words surrogate.xml
expect "words: a missing file" 1 "" "^zolxml: missing.xml: no such file or folder$" -- words missing.xml
expect "words: a missing file among others" 1 $'==> missing.xml <==\n\n==> list.xml <==\n2 1 one 2 two\n' \
  "^zolxml: missing.xml: no such file or folder$" -- words missing.xml list.xml

# --- stats
expect "stats" 0 $'elements: 4\nattributes: 3\ndepth: 3\nbytes: 71\n' "" -- stats list.xml
expect "stats: several files" 0 \
  $'==> list.xml <==\nelements: 4\nattributes: 3\ndepth: 3\nbytes: 71\n\n==> a.xml <==\nelements: 2\nattributes: 1\ndepth: 2\nbytes: 18\n' \
  "" -- stats list.xml a.xml
case_name="stats: 500001 levels on a 256 KiB stack"
(ulimit -s 256 && "$zolxml" stats deep.xml >.out 2>.err) || fail "exit status $?: $(<.err)"
grep -qx "depth: 500001" .out || fail "$(<.out)"

# --- archive and unarchive
expect "archive" 0 "" "" -- archive a.xml a.bin
same_file "archive: the record's bytes" a.expected.bin a.bin
expect "archive: standard input to standard output" 0 "*" "" -- archive - - <a.xml
same_file "archive: the record's bytes on standard output" a.expected.bin .out
expect "unarchive to standard output" 0 $'<?xml version="1.0"?><a b="y"><c/>x</a>\n' "" -- unarchive a.bin -
expect "unarchive from standard input" 0 "" "" -- unarchive - back.xml <a.bin
printf '<?xml version="1.0"?><a b="y"><c/>x</a>\n' >back.expected
same_file "unarchive: the file" back.expected back.xml
"$zolxml" archive utf8.xml utf8.bin && "$zolxml" unarchive utf8.bin utf8.back.xml
expect "unarchive: names in UTF-8 again" 0 "$(printf '<?xml version="1.0"?>'; "$zolxml" print utf8.xml)"$'\n' "" \
  -- print --declaration utf8.back.xml
expect "unarchive: bytes behind the record" 0 $'<?xml version="1.0"?><a b="y"><c/>x</a>\n' \
  "^zolxml: trailing.bin: warning: 2 bytes behind the element record are not read$" -- unarchive trailing.bin -

printf 'old' >kept
expect "unarchive: a record cut short" 1 "" \
  "^zolxml: cut.bin: the archive is cut short: it ends inside its element record$" -- unarchive cut.bin kept
expect "unarchive: an empty archive" 1 "" "^zolxml: standard input: the archive is cut short" -- unarchive - kept
expect "unarchive: a missing archive" 1 "" "^zolxml: missing.bin: no such file or folder$" -- unarchive missing.bin kept
expect "archive: a document that does not load" 1 "" "^broken.xml:1:7: error: " -- archive broken.xml kept
expect "archive: a document over the limit" 1 "" "^zolxml: over.xml: .* limit" -- archive over.xml kept
case_name="failed commands leave OUT as it was"
[[ $(<kept) == old ]] || fail "kept holds: $(<kept)"
expect "archive: into a missing folder" 1 "" "^zolxml: nowhere/a.bin: cannot be written: no such file or folder$" \
  -- archive a.xml nowhere/a.bin
expect "unarchive: into a folder's name" 1 "" "^zolxml: folder: cannot be put in place" -- unarchive a.bin folder
case_name="nothing half-written is left"
leftovers=$(find . -name '*.tmp')
[[ -z $leftovers ]] || fail "$leftovers"

# --- the command line
expect "no command" 2 "" "^zolxml: no command given; see zolxml --help$" --
expect "unknown command" 2 "" "^zolxml: unknown command 'frob'; see zolxml --help$" -- frob a.xml
expect "unknown option" 2 "" "^zolxml: unknown option '--pretty' for print" -- print --pretty a.xml
expect "an option of another command" 2 "" "^zolxml: unknown option '--declaration' for words" \
  -- words --declaration a.xml
expect "check without files" 2 "" "^zolxml: usage: zolxml check \[-q\] \[-s\] FILE\.\.\.; see zolxml --help$" -- check
for arguments in "print" "words" "stats" "archive a.xml" \
                 "unarchive a.bin x y"; do
  # shellcheck disable=SC2086
  expect "wrong number of operands: $arguments" 2 "" "^zolxml: usage: zolxml ${arguments%% *} " -- $arguments
done

# --- the man page: well formed, and naming every command that --help names
case_name="man page"
groff -man -ww -z "$man_page" 2>.err && [[ ! -s .err ]] || fail "groff: $(<.err)"
for command in check print words stats archive unarchive; do
  grep -q "^\.B zolxml $command" "$man_page" || fail "the man page has no synopsis for $command"
done

if ((failures > 0)); then
  echo "$failures failed"
  exit 1
fi
echo "zolxml passes"
