#pragma once
// The non-fiscal printer stand-in (Mp2032.dll): a receipt printer behind the maker's four entry
// points, with a paper roll and a journal of its own.
//
// Files, all in the system folder (platform::SystemDirectory()):
//   Mp2032.ini          "Ports=COM1,COM2" (any section): the ports where a printer answers; "*"
//                       or no such file: every port name. The environment variable
//                       ORB_MP2032_PORTS, when set, takes the place of the file. The module
//                       reads the same list (platform ReceiptPortPresent) before it calls
//                       IniciaPorta, so both agree on which ports have a printer.
//   Mp2032Roll.txt      what was printed, UTF-8, one "\n" per line feed; control bytes other
//                       than line ends appear as <1B> and the like.
//   Mp2032Journal.jsonl every entry-point call: {"entry", "args", "return"}, one per line.
//
// Return codes: IniciaPorta 1 when a printer answers on the port, 0 otherwise; FormataTX and
// ComandoTX 1 when printed, 0 with no port open (nothing printed); FechaPorta 1, or 0 when no
// port was open.
#include "common/SimExport.h"
#include "orb00100/VendorApi.h"

#ifdef __cplusplus
extern "C" {
#endif

// Control for tests and tools, as BemaSim_Control of the fiscal stand-in: requestJson is one
// object whose "sim" member names the command:
//   {"sim": "roll", "clear": bool}     -> {"roll": "..."}
//   {"sim": "journal", "clear": bool}  -> {"journal": [...]}
//   {"sim": "state"}                   -> {"open": bool, "port": "...", "ports": "..."}
//   {"sim": "reset"}                   -> closes the port, clears roll and journal
// The reply is cut to replySize - 1 bytes and terminated; the result is its full length, or -1
// when the request was not understood (the reply then holds {"error": ...}).
ORB_SIM_EXPORT int ORB_VENDOR_CALL Mp2032Sim_Control(const char* requestJson, char* reply, int replySize);
typedef int(ORB_VENDOR_CALL* PFN_Mp2032Sim_Control)(const char* requestJson, char* reply, int replySize);

#ifdef __cplusplus
}
#endif
