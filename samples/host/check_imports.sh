#!/bin/sh
# Checks that the sample host imports Hostkit.dll by the plain export names:
# what a host application built with the import library gets, in either build.
#
#   check_imports.sh <objdump> <HostSample.exe> <hostkit.def>
set -eu
export LC_ALL=C
objdump=$1 exe=$2 def=$3
names=$(sed -n 's/;.*//; s/^[[:space:]]\{1,\}\([A-Za-z_][A-Za-z0-9_]*\)@[0-9].*/\1/p' "$def")
imports=$("$objdump" -p "$exe" |
  awk '/DLL Name: /{ dll = tolower($3); next } /^$/{ dll = "" }
       dll == "hostkit.dll" && $1 ~ /^[0-9a-f]+$/ && NF >= 3 { print $3 }')
[ -n "$imports" ] || { echo "check_imports: $exe imports nothing from Hostkit.dll by name" >&2; exit 1; }
fail=0
for name in $imports; do
  printf '%s\n' $names | grep -qx "$name" || { echo "check_imports: $name is not an export of Hostkit.dll" >&2; fail=1; }
done
[ $fail = 0 ] && echo "check_imports: $(printf '%s\n' $imports | wc -l) imports, all plain export names"
exit $fail
