#!/usr/bin/env bash
# The same scenario through the development build's orb and through orb.exe under wine must print
# the same paper. Clock readings (dates and times) are the only differences allowed.
# Usage: same-roll.sh NATIVE-ORB WINE-RUN ORB-EXE SCENARIO
set -euo pipefail
native=$1 wine_run=$2 orb_exe=$3 scenario=$4
work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
cd "$work"
env -u ORB_LIBRARY_PATH "$native" --home "$work/linux" run "$scenario" >linux-replies.txt
env -u ORB_LIBRARY_PATH "$native" --home "$work/linux" roll >linux-roll.txt
env -u ORB_LIBRARY_PATH "$wine_run" "$orb_exe" --home "$work/windows" run "$scenario" >windows-replies.txt
env -u ORB_LIBRARY_PATH "$wine_run" "$orb_exe" --home "$work/windows" roll >windows-roll.txt
clock() { tr -d '\r' <"$1" | sed -E 's#[0-9]{2}/[0-9]{2}/[0-9]{2,4}#DD/MM/YYYY#g; s#[0-9]{2}:[0-9]{2}:[0-9]{2}#HH:MM:SS#g'; }
grep -q 'TROCO R\$' linux-roll.txt || { echo "the development build printed no coupon"; cat linux-replies.txt; exit 1; }
if ! diff <(clock linux-roll.txt) <(clock windows-roll.txt); then
  echo "orb.exe printed another coupon than orb (< orb, > orb.exe)"
  exit 1
fi
echo "orb.exe printed the same coupon as orb ($(grep -c . linux-roll.txt) lines)"
