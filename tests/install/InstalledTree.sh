#!/usr/bin/env bash
# The installed tree on its own: installs the build into a scratch folder, then runs the sale
# scenario with the installed orb, which must find the installed virtual printer by itself.
set -euo pipefail
build="$1" scenario="$2"
stage="$(mktemp -d)"
trap 'rm -rf "$stage"' EXIT
DESTDIR="$stage" cmake --install "$build" --prefix /usr/local >/dev/null
root="$stage/usr/local"
for file in bin/orb lib/liborb00100.so lib/orb00100/virtual-printer/libBemaFI32.so include/orb00100/VendorApi.h \
            lib/pkgconfig/orb00100.pc share/doc/orb00100/bridge.md; do
  [ -e "$root/$file" ] || { echo "not installed: $file"; exit 1; }
done
grep -qx 'prefix=/usr/local' "$root/lib/pkgconfig/orb00100.pc" || { echo "pkg-config prefix"; exit 1; }
cd "$stage"
env -u ORB_LIBRARY_PATH -u ORB_HOME -u ORB_SYSTEM_DIR "$root/bin/orb" --home "$stage/till" run "$scenario" >replies.txt \
  || { echo "the installed orb failed the sale:"; cat replies.txt; exit 1; }
env -u ORB_LIBRARY_PATH "$root/bin/orb" --home "$stage/till" roll | grep -q 'TROCO R\$' \
  || { echo "the installed orb printed no coupon"; exit 1; }
echo "installed tree runs the sale"
