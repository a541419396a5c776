#pragma once
// The printer maker's library entry points, as the driver calls them and as the virtual
// printer exports them. Both sides include this header, so they agree by construction.
//
// Conventions of every fiscal entry point:
//   - the return value is 1 on success, 0 on a communication failure, negative on an error;
//   - texts go in as null-terminated 8-bit (code page 1252) text;
//   - an answer area (parameters named out*, with the width the driver reserves in a comment)
//     is a text that the caller pre-fills with blanks; the library overwrites it in place and
//     never writes past the caller's blanks;
//   - integers are passed by value, or by address (int*) where the library writes them.
//
// Every entry point has a pointer type PFN_<name>; the driver's entry-point variables use them.
// The prototypes themselves are declared only where ORB_VENDOR_PROTOTYPES is defined before
// this header is included (the stand-in libraries and their tests): the driver holds variables
// of the same names and never calls the functions directly, and one plain name (FechaPorta) is
// both a driver operation and a non-fiscal printer entry point.
//
// Each list below is an X-macro of (name, parameter list); ORB_FISCAL_ENTRY_POINTS is in the
// order in which the driver binds the fiscal library. The driver's entry-point variables are
// declared from these lists too, so a list and the variables never drift apart.

#ifdef __cplusplus
extern "C" {
#endif

#if defined(_WIN32) && !defined(_WIN64)
#define ORB_VENDOR_CALL __stdcall
#else
#define ORB_VENDOR_CALL
#endif

#define ORB_FISCAL_ENTRY_POINTS(X)                                                                                   \
    X(Bematech_FI_AbrePortaSerial, (void))                                                                           \
    X(Bematech_FI_FechaPortaSerial, (void))                                                                          \
    X(Bematech_FI_VerificaEstadoImpressora, (int* ack, int* st1, int* st2))                                          \
    X(Bematech_FI_RetornoImpressora, (int* ack, int* st1, int* st2))                                                 \
    X(Bematech_FI_FechaRelatorioGerencial, (void))                                                                   \
    X(Bematech_FI_DataMovimento, (char* outDate /* 6: DDMMYY */))                                                    \
    X(Bematech_FI_DataHoraImpressora, (char* outDate /* 6 */, char* outTime /* 6 */))                                \
    X(Bematech_FI_NumeroCaixa, (char* outTill /* 4 */))                                                              \
    X(Bematech_FI_NumeroSerie, (char* outSerial /* 15 */))                                                           \
    X(Bematech_FI_NumeroSerieMFD, (char* outSerial /* 20 */))                                                        \
    X(Bematech_FI_StatusEstendidoMFD, (int* status))                                                                 \
    X(Bematech_FI_ArquivoMFD, (char* originFile, char* start, char* end, char* rangeKind, char* user,                \
                               int generationType, char* publicKey, char* privateKey, int singleFile))               \
    X(Bematech_FI_ProgramaFormaPagamentoMFD, (char* name, char* linkable))                                           \
    X(Bematech_FI_VerificaTotalizadoresNaoFiscais, (char* outTotalizers /* 179 */))                                  \
    X(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms, (int slot, char* name))                                           \
    X(Bematech_FI_NomeiaRelatorioGerencialMFD, (char* slot /* "01".."30" */, char* title))                           \
    X(Bematech_FI_VerificaRelatorioGerencialMFD, (char* outReports /* 659 */))                                       \
    X(Bematech_FI_RetornoAliquotas, (char* outRates /* 79 */))                                                       \
    X(Bematech_FI_VerificaAliquotasIss, (char* outRates /* 79 */))                                                   \
    X(Bematech_FI_AbreCupom, (char* taxNumber))                                                                      \
    X(Bematech_FI_AbreCupomMFD, (char* taxNumber, char* name, char* address))                                        \
    X(Bematech_FI_NumeroCupom, (char* outCoo /* 6 */))                                                               \
    X(Bematech_FI_VendeItem, (char* code, char* description, char* tax, char* quantityKind, char* quantity,          \
                              int priceDecimals, char* unitPrice, char* discountKind, char* discount))               \
    X(Bematech_FI_VendeItemDepartamento,                                                                             \
      (char* code, char* description, char* tax, char* unitPrice /* 9 digits */, char* quantity /* 7 digits */,      \
       char* surcharge, char* discount, char* department, char* unit))                                               \
    X(Bematech_FI_VendeItemArredondamentoMFD,                                                                        \
      (char* code, char* description, char* tax, char* unit, char* quantity, char* unitPrice /* 8 digits */,         \
       char* surcharge, char* discount, int round))                                                                  \
    X(Bematech_FI_CancelaItemGenerico, (char* item /* 4 digits */))                                                  \
    X(Bematech_FI_CancelaCupom, (void))                                                                              \
    X(Bematech_FI_CancelaItemAnterior, (void))                                                                       \
    X(Bematech_FI_AcionaGaveta, (void))                                                                              \
    X(Bematech_FI_IniciaFechamentoCupom,                                                                             \
      (char* discountOrSurcharge /* "d"/"a" */, char* kind /* "$"/"%" */, char* value))                              \
    X(Bematech_FI_EfetuaFormaPagamento, (char* method, char* amount))                                                \
    X(Bematech_FI_TerminaFechamentoCupom, (char* footer))                                                            \
    X(Bematech_FI_RecebimentoNaoFiscal, (char* totalizer, char* amount, char* method))                               \
    X(Bematech_FI_CancelaRecebimentoNaoFiscalMFD, (char* taxNumber, char* name, char* address))                      \
    X(Bematech_FI_ReducaoZ, (char* date, char* time))                                                                \
    X(Bematech_FI_AbreComprovanteNaoFiscalVinculado, (char* method, char* amount, char* coo))                        \
    X(Bematech_FI_UsaComprovanteNaoFiscalVinculado, (char* text))                                                    \
    X(Bematech_FI_FechaComprovanteNaoFiscalVinculado, (void))                                                        \
    X(Bematech_FI_LeituraX, (void))                                                                                  \
    X(Bematech_FI_AumentaDescricaoItem, (char* description))                                                         \
    X(Bematech_FI_VerificaEstadoGaveta, (int* state))                                                                \
    X(Bematech_FI_LeituraXSerial, (void))                                                                            \
    X(Bematech_FI_DadosUltimaReducao, (char* outRecord /* 631 */))                                                   \
    X(Bematech_FI_FlagsFiscaisStr, (char* outFlags))                                                                 \
    X(Bematech_FI_DadosUltimaReducaoMFD, (char* outRecord /* 1278 */))                                               \
    X(Bematech_FI_DadosUltimaReducaoCV0909, (char* outRecord /* 1278 */))                                            \
    X(Bematech_FI_RetornaChavePublicaAssinaturaArquivos, (char* outKey /* 265 */))                                   \
    X(Bematech_FI_RelatorioSintegraMFD,                                                                              \
      (int registers, char* file, char* month, char* year, char* companyName, char* address, char* number,           \
       char* complement, char* district, char* city, char* zipCode, char* phone, char* fax, char* contact))          \
    X(Bematech_FI_GeraRegistrosSpedMFD,                                                                              \
      (char* originFile, char* destinationFile, char* start, char* end, char* profile, char* cfop, char* incomeCode, \
       char* situationA, char* situationB))                                                                          \
    X(Bematech_FI_DadosSintegra, (char* start, char* end))                                                           \
    X(Bematech_FI_DadosSintegraMFD, (char* start, char* end))                                                        \
    X(Bematech_FI_MapaResumo, (void))                                                                                \
    X(Bematech_FI_RelatorioGerencial, (char* text))                                                                  \
    X(Bematech_FI_Suprimento, (char* amount, char* method))                                                          \
    X(Bematech_FI_Sangria, (char* amount))                                                                           \
    X(Bematech_FI_Acrescimos, (char* outSurcharges /* 14 */))                                                        \
    X(Bematech_FI_ProgramaHorarioVerao, (void))                                                                      \
    X(Bematech_FI_FlagsFiscais, (int* flags))                                                                        \
    X(Bematech_FI_LeituraMemoriaFiscalData, (char* start, char* end))                                                \
    X(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD, (char* start, char* end, char* flag))                           \
    X(Bematech_FI_LeituraMemoriaFiscalReducao, (char* start, char* end))                                             \
    X(Bematech_FI_LeituraMemoriaFiscalReducaoMFD, (char* start, char* end, char* flag))                              \
    X(Bematech_FI_LeituraMemoriaFiscalSerialReducaoMFD, (char* start, char* end, char* flag))                        \
    X(Bematech_FI_DownloadMFD, (char* file, char* kind, char* start, char* end, char* user))                         \
    X(Bematech_FI_FormatoDadosMFD,                                                                                   \
      (char* originFile, char* destinationFile, char* format, char* kind, char* start, char* end, char* user))       \
    X(Bematech_FI_VerificaFormasPagamento, (char* outMethods /* 3016 */))                                            \
    X(Bematech_FI_InicioFimCOOsMFD, (char* outFirstCoo /* 6 */, char* outLastCoo /* 6 */))                           \
    X(Bematech_FI_NumeroCuponsCancelados, (char* outCancelled /* 4 */))                                              \
    X(Bematech_FI_GrandeTotal, (char* outGrandTotal /* 18 */))                                                       \
    X(Bematech_FI_GeraRegistrosCAT52MFDEx, (char* originFile, char* date, char* destinationFile))                    \
    X(Bematech_FI_GeraRegistrosCAT52MFD, (char* originFile, char* date))                                             \
    X(Bematech_FI_VerificaImpressoraLigada, (void))                                                                  \
    X(Bematech_FI_AcionaGuilhotinaMFD, (int mode))                                                                   \
    X(Bematech_FI_AvancaPapelAcionaGuilhotinaMFD, (int lines, int mode))                                             \
    X(Bematech_FI_CodigoBarrasCODABARMFD, (char* code))                                                              \
    X(Bematech_FI_CodigoBarrasCODE128MFD, (char* code))                                                              \
    X(Bematech_FI_CodigoBarrasCODE39MFD, (char* code))                                                               \
    X(Bematech_FI_CodigoBarrasCODE93MFD, (char* code))                                                               \
    X(Bematech_FI_CodigoBarrasEAN13MFD, (char* code))                                                                \
    X(Bematech_FI_CodigoBarrasEAN8MFD, (char* code))                                                                 \
    X(Bematech_FI_CodigoBarrasISBNMFD, (char* code))                                                                 \
    X(Bematech_FI_CodigoBarrasITFMFD, (char* code))                                                                  \
    X(Bematech_FI_CodigoBarrasMSIMFD, (char* code))                                                                  \
    X(Bematech_FI_CodigoBarrasPDF417MFD, (int errorCorrection, int height, int width, int columns, char* code))      \
    X(Bematech_FI_CodigoBarrasPLESSEYMFD, (char* code))                                                              \
    X(Bematech_FI_CodigoBarrasUPCAMFD, (char* code))                                                                 \
    X(Bematech_FI_CodigoBarrasUPCEMFD, (char* code))                                                                 \
    X(Bematech_FI_IniciaModoTEF, (void))                                                                             \
    X(Bematech_FI_FinalizaModoTEF, (void))                                                                           \
    X(Bematech_FI_LeituraMemoriaFiscalDataMFD, (char* start, char* end, char* flag))                                 \
    X(Bematech_FI_ContadorCupomFiscalMFD, (char* outCcf /* 6 */))                                                    \
    X(Bematech_FI_NumeroSubstituicoesProprietario, (char* outCount /* 4 */))                                         \
    X(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional,                                                        \
      (char* outUserRecorded /* 20 */, char* outSoftwareRecorded /* 20 */, char* outAdditionalLetter /* 5 */))       \
    X(Bematech_FI_NumeroOperacoesNaoFiscais, (char* outGnf /* 6 */))                                                 \
    X(Bematech_FI_NumeroIntervencoes, (char* outCro /* 4 */))                                                        \
    X(Bematech_FI_NumeroReducoes, (char* outCrz /* 4 */))                                                            \
    X(Bematech_FI_VendaBruta, (char* outGrossSales /* 18 */))                                                        \
    X(Bematech_FI_Cancelamentos, (char* outCancellations /* 14 */))                                                  \
    X(Bematech_FI_VerificaTotalizadoresParciais, (char* outTotals /* 445 */))                                        \
    X(Bematech_FI_VerificaTotalizadoresParciaisMFD, (char* outTotals /* 889 */))                                     \
    X(Bematech_FI_VerificaRecebimentoNaoFiscal, (char* outReceipts))                                                 \
    X(Bematech_FI_VerificaRecebimentoNaoFiscalMFD, (char* outReceipts /* 2200 */))                                   \
    X(Bematech_FI_GrandeTotalUltimaReducaoMFD, (char* outGrandTotal /* 18 */))                                       \
    X(Bematech_FI_DataHoraReducao, (char* outDate /* 6 */, char* outTime /* 6 */))                                   \
    X(Bematech_FI_Descontos, (char* outDiscounts /* 14 */))                                                          \
    X(Bematech_FI_ContadorRelatoriosGerenciaisMFD, (char* outCer /* 6 */))                                           \
    X(Bematech_FI_ContadorComprovantesCreditoMFD, (char* outCdc /* 6 */))                                            \
    X(Bematech_FI_MarcaModeloTipoImpressoraMFD,                                                                      \
      (char* outBrand /* 15 */, char* outModel /* 20 */, char* outKind /* 7 */))                                     \
    X(Bematech_FI_VersaoFirmwareMFD, (char* outVersion /* 6 */))                                                     \
    X(Bematech_FI_AbreRelatorioGerencialMFD, (char* slot /* "01".."30" */))                                          \
    X(Bematech_FI_UsaRelatorioGerencialMFD, (char* text))                                                            \
    X(Bematech_FI_EstornoNaoFiscalVinculadoMFD, (char* taxNumber, char* name, char* address))                        \
    X(Bematech_FI_DownloadMF, (char* file))

#define ORB_RAW_ENTRY_POINTS(X)                                     \
    X(BemaIniPortaStr, (char* port))                                \
    X(BemaFormataTX, (char* command))                               \
    X(BemaStatus_Mp20FI, (int* ack, int* st2, int* st1, int* busy)) \
    X(BemaLe_Variaveis, (char* outAnswer))                          \
    X(BemaRetorna_ASCII, (char* outAnswer))                         \
    X(BemaFechaPorta, (void))

#define ORB_MP2032_ENTRY_POINTS(X)                                                               \
    X(IniciaPorta, (char* port))                                                                 \
    X(FormataTX, (char* text, int style, int italic, int underline, int doubleHeight, int bold)) \
    X(ComandoTX, (char* bytes, int length))                                                      \
    X(FechaPorta, (void))

#define ORB_SIGN_ENTRY_POINTS(X)                                                                   \
    X(setLibType, (int type))                                                                      \
    X(genkkey, (char* outModulus /* 256 */, char* outPrivateExponent /* 256 */))                   \
    X(generateEAD, (char* fileName, char* modulus, char* privateExponent, char* outEad, int mode)) \
    X(validateFile, (char* fileName, char* modulus, char* privateExponent))

#define ORB_MFD2_ENTRY_POINTS(X)                                                                                     \
    X(BemaGeraTxtPorCOO, (char* mfdFile, char* textFile, int kind, int firstCoo, int lastCoo))                       \
    X(BemaGeraRegistrosTipoE,                                                                                        \
      (char* mfdFile, char* outputFile, char* start, char* end, char* companyName, char* address, char* commandFile, \
       char* kind, char* r1, char* r2, char* r3, char* r4, char* r5, char* r6, char* r7, char* r8, char* r9,         \
       char* r10, char* r11, char* r12, char* r13))

// Notes on the lists above:
// - Of the fourteen fiscal entry points the driver binds but never calls, the forms of those
//   with arguments (VendeItem, NumeroSerie, DadosUltimaReducao, FlagsFiscaisStr, DadosSintegra,
//   GeraRegistrosCAT52MFDEx, AcionaGuilhotinaMFD, VerificaEstadoImpressora, the two older
//   queries) follow the rest of their family.
// - BemaFormataTX returns 0 when the command was sent. BemaStatus_Mp20FI writes the acknowledge
//   byte, status byte 2, status byte 1 (so the third integer carries paper out, 128) and a busy
//   byte (bit value 64: still working). BemaLe_Variaveis writes the answer of the last command
//   into the caller's area.
// - FormataTX prints a text with a style and four flags (italic, underline, double height,
//   bold); ComandoTX sends length raw bytes; IniciaPorta answers more than 0 on success.
// - generateEAD signs fileName with a hexadecimal modulus and private exponent: mode 1 appends
//   the signature line to the file, mode 0 leaves the file and writes the 256 hexadecimal
//   digits into outEad. validateFile answers 1 when the file's signature line matches it.
// - BemaGeraRegistrosTipoE is BemaMFD2's form (8 arguments and 13 reserved ones passed null).

#define ORB_VENDOR_TYPEDEF(name, params) typedef int(ORB_VENDOR_CALL * PFN_##name) params;
ORB_FISCAL_ENTRY_POINTS(ORB_VENDOR_TYPEDEF)
ORB_RAW_ENTRY_POINTS(ORB_VENDOR_TYPEDEF)
ORB_MP2032_ENTRY_POINTS(ORB_VENDOR_TYPEDEF)
ORB_SIGN_ENTRY_POINTS(ORB_VENDOR_TYPEDEF)
ORB_MFD2_ENTRY_POINTS(ORB_VENDOR_TYPEDEF)
#undef ORB_VENDOR_TYPEDEF

// BemaMFD3 exports BemaGeraRegistrosTipoE with another form; only its pointer type exists.
typedef int(ORB_VENDOR_CALL* PFN_BemaGeraRegistrosTipoEMFD3)(char* mfdFile, char* reserved, char* outputFile,
                                                             char* start, char* end, char* kind, char* publicKey);

// The virtual printer's control, exported by the fiscal stand-in only. requestJson is one
// command object (UTF-8 JSON). The reply object is written into reply, cut to replySize - 1
// bytes and terminated. Returns the reply's full length (a caller can retry with a larger
// area), or -1 when the request was not understood (the reply then holds {"error": ...}).
typedef int(ORB_VENDOR_CALL* PFN_BemaSim_Control)(const char* requestJson, char* reply, int replySize);

#ifdef ORB_VENDOR_PROTOTYPES
#define ORB_VENDOR_PROTOTYPE(name, params) int ORB_VENDOR_CALL name params;
ORB_FISCAL_ENTRY_POINTS(ORB_VENDOR_PROTOTYPE)
ORB_RAW_ENTRY_POINTS(ORB_VENDOR_PROTOTYPE)
ORB_MP2032_ENTRY_POINTS(ORB_VENDOR_PROTOTYPE)
ORB_SIGN_ENTRY_POINTS(ORB_VENDOR_PROTOTYPE)
ORB_MFD2_ENTRY_POINTS(ORB_VENDOR_PROTOTYPE)
#undef ORB_VENDOR_PROTOTYPE
int ORB_VENDOR_CALL BemaSim_Control(const char* requestJson, char* reply, int replySize);
#endif

#ifdef __cplusplus
}  // extern "C"
#endif
