#include "driver/DataModule.h"

#include "driver/Catalogs.h"
#include "framework/Exceptions.h"

namespace Orb00100 {

TdtmBematech100::TdtmBematech100() { LoadCatalogs(msgPadrao, msgPadrao2); }

TdtmBematech100& EnsureDataModule() {
    if (dtmBematech100 == nullptr) dtmBematech100 = new TdtmBematech100();
    return *dtmBematech100;
}

TdtmBematech100& DataModule() {
    if (dtmBematech100 == nullptr)
        throw orb::fw::Exception("The driver's data module does not exist yet: StartImpFiscal must be called first");
    return *dtmBematech100;
}

}  // namespace Orb00100
