#!/usr/bin/env python3
"""A restaurant sale driven over `orb serve`, with Python's standard library only.

    python3 tools/orb/examples/serve_sale.py [--orb build/bin/orb] [--home DIR]

`orb serve` reads one JSON request per line and answers each with one JSON line, in order. The
module and the printer stay loaded for as long as the process runs, as in a host. Here the
printer is the virtual one: the sale's coupon is shown from its paper roll at the end.
"""
import argparse
import json
import os
import subprocess
import sys


class OrbError(RuntimeError):
    pass


class Orb:
    """One `orb serve` process: ask() sends a request and returns its reply."""

    def __init__(self, program, home):
        self.process = subprocess.Popen(
            [program, "--home", home, "serve"],
            stdin=subprocess.PIPE, stdout=subprocess.PIPE, text=True, encoding="utf-8")

    def ask(self, request):
        self.process.stdin.write(json.dumps(request, ensure_ascii=False) + "\n")
        self.process.stdin.flush()
        line = self.process.stdout.readline()
        if not line:
            raise OrbError("orb serve ended before answering %s" % json.dumps(request))
        reply = json.loads(line)
        if "error" in reply:
            raise OrbError(reply["error"])
        return reply

    def call(self, name, *args):
        reply = self.ask({"call": name, "args": list(args)})
        for dialog in reply["dialogs"]:
            print("  [dialog] " + dialog["text"].strip())
        return reply

    def close(self):
        self.process.stdin.close()  # end of input ends the service
        return self.process.wait()


def named(**values):
    """Named parameters: an array of [name, value] pairs."""
    return [[name, value] for name, value in values.items()]


def dataset(fields, rows):
    return {"dataset": {"fields": [{"name": n, "type": t, "size": s} for n, t, s in fields], "rows": rows}}


def movements(payments):
    """The sale's cash movements: (payment type, amount, time) for each payment taken."""
    fields = [("CDFILIAL", "string", 4), ("IDTIPOMOVIVE", "string", 1), ("DTHRINCMOV", "datetime", 0),
              ("CDTIPORECE", "string", 3), ("VRMOVIVEND", "float", 0), ("NRORDTROCO", "integer", 0),
              ("CDBANCARTCR", "string", 3), ("CDTIPORECEORIG", "string", 3)]
    rows = [["0001", "E", {"datetime": when}, kind, amount, 0, "", ""] for kind, amount, when in payments]
    return dataset(fields, rows)


def payment_types():
    """The host's payment types, named as the printer knows them."""
    fields = [("CDTIPORECE", "string", 3), ("NMTIPORECE", "string", 40), ("IDTIPORECE", "string", 1)]
    return dataset(fields, [["001", "Dinheiro", "1"], ["002", "Cartao Credito", "2"]])


def closing(payments, change, password):
    """FechaCupom's positional values."""
    v = [""] * 61
    v[0] = "01"                            # totalizer of a change receipt (not asked for here)
    v[1] = "Obrigado pela preferencia"     # first footer text
    v[2] = "001"                           # dialog scheme
    v[3] = 0
    v[4] = False                           # no change receipt
    v[5] = True                            # show the printer's messages
    v[6], v[7], v[8] = 0.0, change, 0.0    # discount, change, surcharge
    v[9] = "N"                             # no card transfer (TEF) in the sale
    v[11] = False
    v[13] = movements(payments)
    v[14] = payment_types()
    v[27] = "2"                            # no consumer balance
    v[31] = password                       # order password printed in the footer
    v[32] = v[33] = v[34] = v[49] = None   # no consumer tables
    v[36] = "2"
    for i in (37, 38, 50, 51, 53, 58):
        v[i] = 0.0
    v[40] = "N"
    v[41] = "001"                          # printer number
    v[42] = "4711"
    v[43] = "SP"                           # state of the branch
    v[45] = "12.345.678/0001-90"           # company tax number
    v[52] = 0                              # no loyalty points
    v[60] = True
    return v


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--orb", default=os.path.join(here, "..", "..", "..", "build", "bin", "orb"))
    parser.add_argument("--home", default="orb-home")
    options = parser.parse_args()

    orb = Orb(options.orb, options.home)
    try:
        # A factory-fresh virtual printer with two payment methods.
        orb.ask({"sim": "reset", "model": 34, "serial": "BE091010100011223344",
                 "payments": ["Dinheiro", "Cartao Credito"]})

        started = orb.call("StartImpFiscal", named(
            CDFILIAL="0001", CDCAIXA="001", NRSERIEIMP="BE091010100011223344", ESQUEMA="001",
            CDPORTAIMPFIS="COM1", IDTIPOIMPFIS=34, BOUTILTAA=False))
        if started["result"] is not True:
            raise OrbError("the printer did not start")

        opened = orb.call("AbreCupom", named(ESQUEMACOR="001", IDUTILTEF="N", UTILTEF=False))
        if opened["result"] is not True:
            raise OrbError("the coupon did not open")

        dishes = [("7891", "Feijoada completa", "01", "18", 2, 32.50),
                  ("7892", "Suco de laranja", "02", "12", 1, 8.00),
                  ("7893", "Pudim de leite", "03", "7", 1, 9.50)]
        for code, name, tax, rate, quantity, price in dishes:
            item = orb.call("VendaItem", named(
                ESQUEMACOR="001", CDARVPROD=code, NMPROD=name, CDALIQ=tax, QTDE=quantity, VALOR=price,
                DESCONT=0.0, UNIDADE="UN", VRPERCALIQ=rate, IDUTILTEF="N", UTILTEF=False, ACRESCIMO=0.0))
            if item["result"] is not True:
                raise OrbError("the item %s was refused" % name)

        total = sum(quantity * price for _, _, _, _, quantity, price in dishes)
        paid = [("002", 50.00, "2026-12-06T12:01:00"), ("001", 40.00, "2026-12-06T12:02:00")]
        change = sum(amount for _, amount, _ in paid) - total
        closed = orb.call("FechaCupom", closing(paid, change, "0042"), None, [None] * 4)
        if closed["result"] is not True:
            raise OrbError("the coupon did not close")

        print("Total %.2f, paid %.2f, change %.2f" % (total, total + change, change))
        print("The host receives: %s" % json.dumps(closed["args"][2], ensure_ascii=False))
        print()
        print(orb.ask({"sim": "roll"})["roll"])
        orb.call("StopImpFiscal")
    finally:
        status = orb.close()
    return status


if __name__ == "__main__":
    try:
        sys.exit(main())
    except OrbError as e:
        print("serve_sale: %s" % e, file=sys.stderr)
        sys.exit(1)
