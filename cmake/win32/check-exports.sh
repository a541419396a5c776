#!/usr/bin/env bash
# Holds the Windows DLLs of a build against what they must export, by their export directories:
# the stand-ins exactly the maker's entry points (undecorated, as the maker's DLLs name them) and
# their control entries; Orb00100.dll exactly what the export table names (its .def file, written
# from the table). Usage: check-exports.sh BUILD-DIR MINGW-TRIPLET SOURCE-DIR
set -euo pipefail
build=$1 host=$2 source=$3
status=0

exports() {
  "$host-objdump" -p "$build/bin/$1" |
    awk '/\[Ordinal\/Name Pointer\] Table/ {f = 1; next} f && /^[ \t]*\[/ {print $NF; next} {f = 0}' | sort
}
# The names of one entry-point list of the public header (an X-macro list).
entry_points() {
  printf '#include "orb00100/VendorApi.h"\n#define ORB_NAME(name, params) ORB_NAME_LINE name\n%s(ORB_NAME)\n' "$1" |
    "$host-gcc" -E -P -x c++ -I "$source/include" - | grep -o 'ORB_NAME_LINE [A-Za-z0-9_]*' | cut -d' ' -f2
}
expect() {  # dll, expected names (one per line) on stdin
  local dll=$1 want got
  want=$(sort)
  got=$(exports "$dll")
  if [ "$want" != "$got" ]; then
    echo "$dll: exports differ from what it must export (< must, > does):"
    diff <(echo "$want") <(echo "$got") | grep '^[<>]' | head -20
    status=1
  else
    echo "$dll: $(echo "$got" | wc -l) exports, as it must"
  fi
  if echo "$got" | grep -q '@'; then echo "$dll: decorated names exported"; status=1; fi
}

fiscal=$(entry_points ORB_FISCAL_ENTRY_POINTS)
count=$(echo "$fiscal" | wc -l)
[ "$count" = 113 ] || { echo "the fiscal entry-point list has $count names, not 113"; status=1; }
{ echo "$fiscal"; entry_points ORB_RAW_ENTRY_POINTS; echo BemaSim_Control; } | expect BemaFI32.dll
{ entry_points ORB_MP2032_ENTRY_POINTS; echo Mp2032Sim_Control; } | expect Mp2032.dll
entry_points ORB_SIGN_ENTRY_POINTS | expect sign_bema.dll
entry_points ORB_MFD2_ENTRY_POINTS | expect BemaMFD2.dll
echo BemaGeraRegistrosTipoE | expect BemaMFD3.dll
awk '/^EXPORTS/ {f = 1; next} f {print $1}' "$build/Orb00100.def" | expect Orb00100.dll
exit $status
