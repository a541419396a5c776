// Memory downloads, file generation, Sintegra and SPED data: modelled by a later stage. Until
// then each entry point is there, journalled, and answers -1.
#include "fiscal/Entry.h"

using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_ArquivoMFD)
(char* originFile, char* start, char* end, char* rangeKind, char* user, int generationType, char* publicKey,
 char* privateKey, int singleFile) {
    // The keys are secrets of the certified software: the journal does not keep them.
    (void)publicKey;
    (void)privateKey;
    return NotYet(__func__, {In(originFile), In(start), In(end), In(rangeKind), In(user), Int(generationType),
                             In(nullptr), In(nullptr), Int(singleFile)});
}
ORB_SIM_ENTRY(Bematech_FI_DownloadMFD)(char* file, char* kind, char* start, char* end, char* user) {
    return NotYet(__func__, {In(file), In(kind), In(start), In(end), In(user)});
}
ORB_SIM_ENTRY(Bematech_FI_FormatoDadosMFD)
(char* originFile, char* destinationFile, char* format, char* kind, char* start, char* end, char* user) {
    return NotYet(__func__, {In(originFile), In(destinationFile), In(format), In(kind), In(start), In(end), In(user)});
}
ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosCAT52MFDEx)(char* originFile, char* date, char* destinationFile) {
    return NotYet(__func__, {In(originFile), In(date), In(destinationFile)});
}
ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosCAT52MFD)(char* originFile, char* date) {
    return NotYet(__func__, {In(originFile), In(date)});
}
ORB_SIM_ENTRY(Bematech_FI_RetornaChavePublicaAssinaturaArquivos)(char* outKey) {
    return NotYet(__func__, {Area(outKey)});
}
ORB_SIM_ENTRY(Bematech_FI_RelatorioSintegraMFD)
(int registers, char* file, char* month, char* year, char* companyName, char* address, char* number, char* complement,
 char* district, char* city, char* zipCode, char* phone, char* fax, char* contact) {
    return NotYet(__func__, {Int(registers), In(file), In(month), In(year), In(companyName), In(address), In(number),
                             In(complement), In(district), In(city), In(zipCode), In(phone), In(fax), In(contact)});
}
ORB_SIM_ENTRY(Bematech_FI_GeraRegistrosSpedMFD)
(char* originFile, char* destinationFile, char* start, char* end, char* profile, char* cfop, char* incomeCode,
 char* situationA, char* situationB) {
    return NotYet(__func__, {In(originFile), In(destinationFile), In(start), In(end), In(profile), In(cfop),
                             In(incomeCode), In(situationA), In(situationB)});
}
ORB_SIM_ENTRY(Bematech_FI_DadosSintegra)(char* start, char* end) { return NotYet(__func__, {In(start), In(end)}); }
ORB_SIM_ENTRY(Bematech_FI_DadosSintegraMFD)(char* start, char* end) { return NotYet(__func__, {In(start), In(end)}); }
