#!/usr/bin/env python3
"""A restaurant sale in-process: liborb00100.so loaded with ctypes, driven through Orb00100_Request.

    python3 docs/examples/sale_ctypes.py [--library build/lib/liborb00100.so] [--home DIR]

Orb00100_Request takes one JSON request (UTF-8) and writes its JSON reply into the caller's area;
it returns the size the reply needs, so a reply that did not fit is asked for again with room (the
module keeps it for that: the sale is never registered twice). The printer is the virtual one,
found beside the module in the build; the coupon is shown from its paper roll at the end.
"""
import argparse
import ctypes
import json
import os
import sys


class OrbError(RuntimeError):
    pass


class Module:
    """The driver module, loaded in this process."""

    def __init__(self, library):
        # stdcall on 32-bit Windows (WinDLL), the C convention elsewhere.
        loader = ctypes.WinDLL if os.name == "nt" else ctypes.CDLL
        self.entry = loader(library).Orb00100_Request
        self.entry.argtypes = [ctypes.c_char_p, ctypes.c_char_p, ctypes.c_int]
        self.entry.restype = ctypes.c_int
        self.area = ctypes.create_string_buffer(1024)  # grows when a reply needs more

    def ask(self, request):
        text = json.dumps(request, ensure_ascii=False).encode("utf-8")
        needed = self.entry(text, self.area, len(self.area))
        if needed > len(self.area):
            # Too small: the same request again with room gets the reply the module kept.
            self.area = ctypes.create_string_buffer(needed)
            needed = self.entry(text, self.area, len(self.area))
        reply = json.loads(self.area.value.decode("utf-8"))
        if "error" in reply:
            raise OrbError(reply["error"])
        return reply

    def call(self, name, *args):
        reply = self.ask({"call": name, "args": list(args)})
        for dialog in reply["dialogs"]:
            print("  [dialog] " + dialog["text"].strip())
        if reply["result"] is False:
            raise OrbError("%s failed: %s" % (name, json.dumps(reply["log"][-2:], ensure_ascii=False)))
        return reply


def named(**values):
    """Named parameters: an array of [name, value] pairs."""
    return [[name, value] for name, value in values.items()]


def dataset(fields, rows):
    return {"dataset": {"fields": [{"name": n, "type": t, "size": s} for n, t, s in fields], "rows": rows}}


def closing(amount_paid, change):
    """FechaCupom's 61 positional values for a sale paid in cash."""
    movements = dataset([("CDFILIAL", "string", 4), ("IDTIPOMOVIVE", "string", 1), ("DTHRINCMOV", "datetime", 0),
                         ("CDTIPORECE", "string", 3), ("VRMOVIVEND", "float", 0), ("NRORDTROCO", "integer", 0),
                         ("CDBANCARTCR", "string", 3), ("CDTIPORECEORIG", "string", 3)],
                        [["0001", "E", {"datetime": "2026-12-06T12:00:00"}, "001", amount_paid, 0, "", ""]])
    payment_types = dataset([("CDTIPORECE", "string", 3), ("NMTIPORECE", "string", 40), ("IDTIPORECE", "string", 1)],
                            [["001", "Dinheiro", "1"]])
    v = [""] * 61
    v[0], v[1], v[2] = "01", "Obrigado pela preferencia", "001"   # change totalizer, footer, scheme
    v[3], v[4], v[5] = 0, False, True                              # no change receipt, show messages
    v[6], v[7], v[8] = 0.0, change, 0.0                            # discount, change, surcharge
    v[9], v[11] = "N", False                                       # no card transfer
    v[13], v[14] = movements, payment_types
    v[27], v[36], v[40] = "2", "2", "N"                            # no balance line, plain footer
    v[32] = v[33] = v[34] = v[49] = None                           # no consumer tables
    for i in (37, 38, 50, 51, 53, 58):
        v[i] = 0.0
    v[41], v[42], v[43], v[45] = "001", "4711", "SP", "12.345.678/0001-90"
    v[52], v[60] = 0, True
    return v


def main():
    here = os.path.dirname(os.path.abspath(__file__))
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--library", default=os.path.join(here, "..", "..", "build", "lib", "liborb00100.so"))
    parser.add_argument("--home", default="orb-home")
    options = parser.parse_args()

    # Where the module writes its debug log, where the printer library keeps Bemafi32.ini (and the
    # virtual printer its state), and where the printer library is: set before the module runs.
    library = os.path.abspath(options.library)
    home = os.path.abspath(options.home)
    system = os.path.join(home, "system")
    os.makedirs(system, exist_ok=True)
    os.environ["ORB_HOME"] = home
    os.environ["ORB_SYSTEM_DIR"] = system
    os.environ.setdefault("ORB_LIBRARY_PATH", os.path.dirname(library))

    orb = Module(library)
    orb.ask({"system_file": "Bemafi32.ini",
             "text": "[Sistema]\r\nPorta=COM1\r\nPath=%s\r\nImpressora=1\r\nSimState=bemasim.db\r\n" % system})
    orb.ask({"sim": "reset", "model": 34, "serial": "BE091010100011223344"})

    orb.call("StartImpFiscal", named(CDFILIAL="0001", CDCAIXA="001", NRSERIEIMP="BE091010100011223344",
                                     ESQUEMA="001", CDPORTAIMPFIS="COM1", IDTIPOIMPFIS=34, BOUTILTAA=False))
    opened = orb.call("AbreCupom", named(ESQUEMACOR="001", IDUTILTEF="N", UTILTEF=False))
    orb.call("VendaItem", named(ESQUEMACOR="001", CDARVPROD="7891", NMPROD="Feijoada completa", CDALIQ="01",
                                QTDE=2, VALOR=32.50, DESCONT=0.0, UNIDADE="UN", VRPERCALIQ="18", IDUTILTEF="N",
                                UTILTEF=False, ACRESCIMO=0.0))
    orb.call("FechaCupom", closing(70.00, 5.00), None, [None] * 4)

    coupon = dict(opened["args"][0]).get("CUPNR")
    print("Coupon %s: total 65.00, paid 70.00, change 5.00" % coupon)
    print()
    print(orb.ask({"sim": "roll"})["roll"])
    orb.call("StopImpFiscal")
    return 0


if __name__ == "__main__":
    try:
        sys.exit(main())
    except OrbError as e:
        print("sale_ctypes: %s" % e, file=sys.stderr)
        sys.exit(1)
