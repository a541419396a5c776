// The entry points of the register-file stand-in (BemaMFD2.dll). Both read a detail-tape
// download written by the fiscal stand-in.
//   BemaGeraTxtPorCOO: the readable mirror of the documents whose COO lies in first..last.
//   BemaGeraRegistrosTipoE: the type-E register records of the days start..end (ddmmyyyy or
//   dd/mm/yyyy), under the company name and address given.
// Return codes: 1 done; -1 the download cannot be read; -2 an argument that does not read;
// -4 the output cannot be written.
#define ORB_VENDOR_PROTOTYPES
#include "common/SimExport.h"
#include "orb00100/VendorApi.h"

#include "common/DetailDownload.h"
#include "common/SimText.h"

using namespace orb::sim;

ORB_SIM_EXPORT int ORB_VENDOR_CALL BemaGeraTxtPorCOO(char* mfdFile, char* textFile, int /*kind*/, int firstCoo,
                                                     int lastCoo) {
    Download d;
    if (!ReadDownloadFile(InText(mfdFile), d)) return -1;
    if (Trim(InText(textFile)).empty() || firstCoo < 1 || lastCoo < firstCoo) return -2;
    std::erase_if(d.docs, [&](const DownloadDoc& doc) { return doc.coo < firstCoo || doc.coo > lastCoo; });
    const std::string range = "COO INICIAL: " + Digits(firstCoo, 6) + " COO FINAL: " + Digits(lastCoo, 6);
    return WriteLines(InText(textFile), MirrorLines(d, range)) ? 1 : -4;
}

ORB_SIM_EXPORT int ORB_VENDOR_CALL BemaGeraRegistrosTipoE(char* mfdFile, char* outputFile, char* start, char* end,
                                                          char* companyName, char* address, char* /*commandFile*/,
                                                          char* /*kind*/, char*, char*, char*, char*, char*, char*,
                                                          char*, char*, char*, char*, char*, char*, char*) {
    Download d;
    if (!ReadDownloadFile(InText(mfdFile), d)) return -1;
    const std::string first = YmdOf(InText(start)), last = YmdOf(InText(end));
    if (first.empty() || last.empty() || Trim(InText(outputFile)).empty()) return -2;
    const auto records = TypeERecords(d, first, last, InText(companyName), InText(address));
    return WriteLines(InText(outputFile), records) ? 1 : -4;
}
