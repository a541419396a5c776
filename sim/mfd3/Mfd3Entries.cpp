// The entry point of the newer register-file stand-in (BemaMFD3.dll): the type-E register
// records of the days start..end (ddmmyyyy) from a detail-tape download, for the kind "TDM",
// under the printer's own owner data. The public key must be given; the file is not signed.
// Return codes as BemaMFD2's.
#include "common/SimExport.h"
#include "orb00100/VendorApi.h"

#include <type_traits>

#include "common/DetailDownload.h"
#include "common/SimText.h"

using namespace orb::sim;

extern "C" ORB_SIM_EXPORT int ORB_VENDOR_CALL BemaGeraRegistrosTipoE(char* mfdFile, char* /*reserved*/,
                                                                     char* outputFile, char* start, char* end,
                                                                     char* kind, char* publicKey) {
    static_assert(std::is_same_v<decltype(&BemaGeraRegistrosTipoE), PFN_BemaGeraRegistrosTipoEMFD3>);
    Download d;
    if (!ReadDownloadFile(InText(mfdFile), d)) return -1;
    const std::string first = YmdOf(InText(start)), last = YmdOf(InText(end));
    if (first.empty() || last.empty() || Trim(InText(outputFile)).empty() || Trim(InText(kind)) != "TDM" ||
        Trim(InText(publicKey)).empty())
        return -2;
    return WriteLines(InText(outputFile), TypeERecords(d, first, last, d.owner, "")) ? 1 : -4;
}
