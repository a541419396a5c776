#include "driver/Globals.h"

namespace Orb00100 {

TdtmBematech100* dtmBematech100 = nullptr;
orb::platform::LibHandle ImpFisDLLHandle = 0;
bool boImpFiscalOK = false;
bool boNUtilTaa = true;
bool boClieUtil = false;
std::string stMensagemTaa;
int inTipoImpFis = 0;
bool boComando = false;
std::string stDataCat;
orb::fw::ClientDataSet* cdsAuxExtSimp = nullptr;

namespace {

// Unloading the module clears the two texts (and only those: the data module, the port and the
// fiscal library are left as they are). Defined after the texts, so it runs before they go.
struct ClearedOnUnload {
    ClearedOnUnload() = default;
    ClearedOnUnload(const ClearedOnUnload&) = delete;
    ClearedOnUnload& operator=(const ClearedOnUnload&) = delete;
    ~ClearedOnUnload() {
        stMensagemTaa.clear();
        stDataCat.clear();
    }
} clearedOnUnload;

}  // namespace

}  // namespace Orb00100
