#!/usr/bin/env bash
# The README's ctypes example, run as a reader runs it against the built module: one coupon with
# the item sold once, the cash taken and the change given, and each printer step logged once.
set -euo pipefail
library="$1" example="$2"
home="$(mktemp -d)"
trap 'rm -rf "$home"' EXIT
out="$(python3 "$example" --library "$library" --home "$home" 2>&1)" || { echo "the example failed:"; echo "$out"; exit 1; }
expect() {
  grep -qE "$1" <<<"$out" || { echo "not in the output: $1"; echo "$out"; exit 1; }
}
expect '^Coupon 000001: total 65.00, paid 70.00, change 5.00$'
expect '^001 7891 Feijoada completa$'
expect '2,000UN x 32,50 +T18,00% +65,00$'
expect '^TOTAL R\$ +65,00$'
expect '^Dinheiro +70,00$'
expect '^TROCO R\$ +5,00$'
[ "$(grep -c 'CUPOM FISCAL' <<<"$out")" = 1 ] || { echo "not exactly one coupon:"; echo "$out"; exit 1; }
for entry in AbreCupomMFD VendeItemArredondamentoMFD TerminaFechamentoCupom; do
  count="$(cat "$home"/impdebug*.txt | grep -c "Bematech_FI_$entry")"
  [ "$count" = 1 ] || { echo "Bematech_FI_$entry was called $count times"; exit 1; }
done
echo "the ctypes example sold one coupon in-process"
