#!/bin/sh
# Checks the export table of Hostkit.dll and the import table of a program
# linked against it by ordinal.
#
#   check_exports.sh <objdump> <Hostkit.dll> <ordinal client .exe> <hostkit.def>
#
# The DLL must export every name of hostkit.def undecorated (no "@N" of the 32-bit
# stdcall convention), EnvChk_GetGLSpec at ordinal 27 and EnvChk_GetGLType
# at 28. The client must import those two by ordinal only, without names.
set -eu
# objdump translates its headings in a Japanese locale; the parsing needs them as they are.
export LC_ALL=C
objdump=$1 dll=$2 client=$3 def=$4

# Export lines of the .def: "  Name@8" or "  Name@16 @27", comments after ";".
names=$(sed -n 's/;.*//; s/^[[:space:]]\{1,\}\([A-Za-z_][A-Za-z0-9_]*\)@[0-9].*/\1/p' "$def")
[ -n "$names" ] || { echo "check_exports: no export names in $def" >&2; exit 1; }

fail=0
err() { echo "check_exports: $*" >&2; fail=1; }

exports=$("$objdump" -p "$dll")
base=$(printf '%s\n' "$exports" | sed -n 's/^Ordinal Base[[:space:]]*\([0-9]*\).*/\1/p')
[ -n "$base" ] || { echo "check_exports: no export table in $dll" >&2; exit 1; }

# "[Ordinal/Name Pointer] Table" lines: "\t[   6] EnvChk_GetGLSpec" with the
# ordinal less the base in brackets. Older objdumps print "+base[  27]" too.
table=$(printf '%s\n' "$exports" |
  sed -n '/^\[Ordinal\/Name Pointer\] Table/,/^$/p' |
  sed -n 's/^[[:space:]]*\[ *\([0-9]*\)\].* \([^ ]*\)$/\1 \2/p')
[ -n "$table" ] || err "no name table in $dll"

ordinal_of() {
  printf '%s\n' "$table" | awk -v n="$1" -v b="$base" '$2 == n { print $1 + b }'
}

for n in $names; do
  [ -n "$(ordinal_of "$n")" ] || err "$n is not exported by name"
done
[ "$(ordinal_of EnvChk_GetGLSpec)" = 27 ] || err "EnvChk_GetGLSpec is not ordinal 27"
[ "$(ordinal_of EnvChk_GetGLType)" = 28 ] || err "EnvChk_GetGLType is not ordinal 28"
if printf '%s\n' "$table" | awk '{ print $2 }' | grep -q '@'; then
  err "decorated names exported: $(printf '%s\n' "$table" | awk '{ print $2 }' | grep '@' | tr '\n' ' ')"
fi

# The client's import descriptor for Hostkit.dll: one line per import,
# "vma  hint/ordinal  member-name"; an import by ordinal has the top bit of
# its vma set, the ordinal in the low bits, and no member name.
imports=$("$objdump" -p "$client" |
  awk '/DLL Name: /{ dll = tolower($3); next } /^$/{ dll = "" }
       dll == "hostkit.dll" && $1 ~ /^[0-9a-f]+$/ { print }')
if [ -z "$imports" ]; then
  err "the client imports nothing from Hostkit.dll"
  exit 1
fi
for o in 27 28; do
  printf '%s\n' "$imports" | grep -Eq "^[[:space:]]*80*$(printf '%x' $o)[[:space:]].*<none>" ||
    err "the client does not import ordinal $o by ordinal"
done
if printf '%s\n' "$imports" | grep -vq '<none>'; then
  err "the client imports Hostkit.dll by name: $(printf '%s\n' "$imports" | grep -v '<none>' | tr -s ' \t' ' ')"
fi
[ "$(printf '%s\n' "$imports" | wc -l)" = 2 ] || err "the client imports other than exactly ordinals 27 and 28"

if [ $fail = 0 ]; then
  echo "check_exports: $(basename "$dll"): $(printf '%s\n' "$table" | wc -l) names, all $(printf '%s\n' $names | wc -l) of the .def, ordinals 27/28 fixed, undecorated; client links 27 and 28 by ordinal"
fi
exit $fail
