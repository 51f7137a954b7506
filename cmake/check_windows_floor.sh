#!/bin/sh
# Checks that deliverables load on the oldest Windows the product supports:
# every function they import statically is in the list of functions that
# Windows XP SP2 has (cmake/windows_floor_imports.txt), every DLL they import
# from is one that XP has, and the PE subsystem version asks for no later
# Windows. Wine exports everything, so nothing run under it shows this.
#
#   check_windows_floor.sh <objdump> <list> <win32|win64> <floor, e.g. 5.1> <file>...
#
# The list has one "DLL function [build]" a line ("DLL <ordinal>" for a DLL
# imported by ordinal only; the build, win32 or win64, for an import of one
# build alone), "#" begins a comment; DLL names are compared without regard
# to case. The list holds what the files import and nothing more: an entry
# that none of them imports fails too, so that it is taken out.
set -eu
# objdump translates its headings in a Japanese locale; the parsing needs them as they are.
export LC_ALL=C
objdump=$1 list=$2 build=$3 floor=$4
shift 4

allowed=$(sed 's/#.*//' "$list" |
  awk -v build="$build" 'NF >= 2 && (NF == 2 || $3 == build) { print tolower($1), $2 }' | sort -u)
[ -n "$allowed" ] || { echo "check_windows_floor: no entries in $list" >&2; exit 1; }

fail=0
all_imports=""
for file in "$@"; do
  name=$(basename "$file")
  dump=$("$objdump" -p "$file") || { echo "check_windows_floor: objdump failed on $file" >&2; exit 1; }

  subsystem=$(printf '%s\n' "$dump" | awk '
    $1 == "MajorSubsystemVersion" { major = $2 }
    $1 == "MinorSubsystemVersion" { minor = $2 }
    END { if (major != "") print major "." minor }')
  if [ -z "$subsystem" ]; then
    echo "check_windows_floor: $name: no subsystem version in its header" >&2
    fail=1
  elif ! awk -v have="$subsystem" -v floor="$floor" 'BEGIN {
         split(have, h, "."); split(floor, f, ".")
         exit !(h[1] < f[1] || (h[1] == f[1] && h[2] <= f[2])) }'; then
    echo "check_windows_floor: $name: subsystem version $subsystem is above $floor" >&2
    fail=1
  fi

  # "DLL function" for each import by name, "DLL <ordinal>" for each by ordinal.
  imports=$(printf '%s\n' "$dump" | awk '
    /^[ \t]*DLL Name: / { dll = tolower($3); next }
    /^[ \t]*$/ { dll = "" }
    dll != "" && $1 ~ /^[0-9a-fA-F]+$/ && NF >= 3 {
      if ($3 == "<none>") print dll, "<ordinal>"; else print dll, $3 }' | sort -u)
  [ -n "$imports" ] || { echo "check_windows_floor: $name imports nothing" >&2; fail=1; continue; }
  all_imports=$(printf '%s\n%s\n' "$all_imports" "$imports")

  missing=$(printf '%s\n' "$imports" | grep -vxF "$allowed" || true)
  if [ -n "$missing" ]; then
    printf '%s\n' "$missing" | while read -r dll function; do
      if printf '%s\n' "$allowed" | awk -v d="$dll" '$1 == d { found = 1 } END { exit !found }'; then
        echo "check_windows_floor: $name imports $function from $dll, which is not in the list of what Windows XP SP2 has: look it up, then list it or reach it at run time" >&2
      else
        echo "check_windows_floor: $name imports $function from $dll, a DLL that Windows XP does not have" >&2
      fi
    done
    fail=1
  fi
  summary=$(printf '%s\n' "$imports" | awk '
    $2 == "<ordinal>" { o[$1] = 1; next } { n[$1]++; total++ }
    END { printf "%d by name:", total; for (d in n) printf " %s %d,", d, n[d]
          for (d in o) printf " %s by ordinal,", d }')
  echo "check_windows_floor: $name: subsystem $subsystem; ${summary%,}"
done
unused=$(printf '%s\n' "$allowed" | grep -vxF "$all_imports" || true)
if [ -n "$unused" ]; then
  printf '%s\n' "$unused" | while read -r dll function; do
    echo "check_windows_floor: $function of $dll is listed for $build but imported by none of the files" >&2
  done
  fail=1
fi
[ $fail = 0 ] && echo "check_windows_floor: every import is in the list of $(printf '%s\n' "$allowed" | wc -l) entries"
exit $fail
