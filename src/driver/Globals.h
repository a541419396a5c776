#pragma once
// The driver's state: the exported globals, process-wide, living as long as the module is
// loaded. They are exported under their unit-qualified names (namespace Orb00100).
#include <cstdint>
#include <string>

#include "framework/ClientDataSet.h"
#include "platform/Platform.h"

namespace Orb00100 {

class TdtmBematech100;

extern TdtmBematech100* dtmBematech100;           // created on first use, never destroyed
extern orb::platform::LibHandle ImpFisDLLHandle;  // the fiscal library, 0 while none
extern bool boImpFiscalOK;                        // set by StartImpFiscal; never read by the module
extern bool boNUtilTaa;                           // true: staff-operated terminal (shows messages)
extern bool boClieUtil;
extern std::string stMensagemTaa;              // status messages collected for self-service
extern int inTipoImpFis;                       // printer type code (34 changes item formatting)
extern bool boComando;                         // a raw command is being sent
extern std::string stDataCat;                  // movement date captured before a Z reduction
extern orb::fw::ClientDataSet* cdsAuxExtSimp;  // for the host; unused by the module

}  // namespace Orb00100
