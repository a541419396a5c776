// The printer's state as a yes or no, and the totals through the raw-command path.
#include <exception>

#include "driver/Globals.h"
#include "driver/PrinterCall.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
#include "queries/Queries.h"

namespace Orb00100 {

bool Estado_Imp(const std::string& scheme) {
    // The host asks this before a self-service sale and must get an answer, never a failure.
    try {
        stMensagemTaa.clear();
        int ack = 0, st1 = 0, st2 = 0;
        const int code = Invoke(Bematech_FI_RetornoImpressora, &ack, &st1, &st2);
        boClieUtil = CheckStatus(scheme, code, {.show = boNUtilTaa});
    } catch (const std::exception&) {
        boClieUtil = false;
    }
    return boClieUtil;
}

bool Leitura_Totais_Imp(const std::string& scheme, bool show, bool spare) {
    return EnviaComando(scheme, "27", {}, show, spare);
}

}  // namespace Orb00100
