// The entries of the null fiscal library whose answers the driver reads: a printer that is
// always fine (acknowledge 6, both status bytes 0, nothing pending), whose clock is the
// computer's, and whose counters and totals are zero-filled numbers of the widths the driver
// reserves. Every other entry is the plain success of NullEntries.cpp.
#define ORB_VENDOR_PROTOTYPES
#include <ctime>

#include "orb00100/VendorApi.h"

namespace {

constexpr int kAck = 6;

void Status(int* ack, int* st1, int* st2) {
    if (ack) *ack = kAck;
    if (st1) *st1 = 0;
    if (st2) *st2 = 0;
}

void SetInt(int* out, int value) {
    if (out) *out = value;
}

// Writes text over the caller's blanks and never past them: a caller that reserved fewer than
// the width keeps its terminator.
void Answer(char* area, const char* text, int width) {
    if (!area) return;
    for (int i = 0; i < width && area[i] != '\0' && text[i] != '\0'; ++i) area[i] = text[i];
}

void Zeros(char* area, int width) {
    static const char kZeros[] = "000000000000000000000000";
    static_assert(sizeof(kZeros) > 18, "the widest counter is 18 digits");
    Answer(area, kZeros, width);
}

void TwoDigits(char* to, int value) {
    to[0] = static_cast<char>('0' + value / 10 % 10);
    to[1] = static_cast<char>('0' + value % 10);
}

std::tm LocalNow() {
    const std::time_t now = std::time(nullptr);
    std::tm local{};
    localtime_r(&now, &local);
    return local;
}

// DDMMYY and HHMMSS of the computer's clock, so the driver's clock check always passes.
void Today(char* outDate) {
    const std::tm t = LocalNow();
    char date[7] = {};
    TwoDigits(date, t.tm_mday);
    TwoDigits(date + 2, t.tm_mon + 1);
    TwoDigits(date + 4, t.tm_year % 100);
    Answer(outDate, date, 6);
}

void Now(char* outTime) {
    const std::tm t = LocalNow();
    char time[7] = {};
    TwoDigits(time, t.tm_hour);
    TwoDigits(time + 2, t.tm_min);
    TwoDigits(time + 4, t.tm_sec > 59 ? 59 : t.tm_sec);
    Answer(outTime, time, 6);
}

}  // namespace

extern "C" {

// ---- Status --------------------------------------------------------------------------------
int ORB_VENDOR_CALL Bematech_FI_VerificaEstadoImpressora(int* ack, int* st1, int* st2) {
    Status(ack, st1, st2);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_RetornoImpressora(int* ack, int* st1, int* st2) {
    Status(ack, st1, st2);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_StatusEstendidoMFD(int* status) {
    SetInt(status, 0);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_FlagsFiscais(int* flags) {
    SetInt(flags, 0);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_VerificaEstadoGaveta(int* state) {
    SetInt(state, 0);
    return 1;
}

// ---- Clock ---------------------------------------------------------------------------------
int ORB_VENDOR_CALL Bematech_FI_DataHoraImpressora(char* outDate, char* outTime) {
    Today(outDate);
    Now(outTime);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_DataMovimento(char* outDate) {
    Today(outDate);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_DataHoraReducao(char* outDate, char* outTime) {
    Zeros(outDate, 6);
    Zeros(outTime, 6);
    return 1;
}

// ---- Counters and totals -------------------------------------------------------------------
#define ORB_NULL_ZEROS(name, width)       \
    int ORB_VENDOR_CALL name(char* out) { \
        Zeros(out, width);                \
        return 1;                         \
    }
ORB_NULL_ZEROS(Bematech_FI_NumeroCupom, 6)
ORB_NULL_ZEROS(Bematech_FI_ContadorCupomFiscalMFD, 6)
ORB_NULL_ZEROS(Bematech_FI_NumeroOperacoesNaoFiscais, 6)
ORB_NULL_ZEROS(Bematech_FI_ContadorRelatoriosGerenciaisMFD, 6)
ORB_NULL_ZEROS(Bematech_FI_ContadorComprovantesCreditoMFD, 6)
ORB_NULL_ZEROS(Bematech_FI_NumeroCuponsCancelados, 4)
ORB_NULL_ZEROS(Bematech_FI_NumeroIntervencoes, 4)
ORB_NULL_ZEROS(Bematech_FI_NumeroReducoes, 4)
ORB_NULL_ZEROS(Bematech_FI_NumeroSubstituicoesProprietario, 4)
ORB_NULL_ZEROS(Bematech_FI_GrandeTotal, 18)
ORB_NULL_ZEROS(Bematech_FI_VendaBruta, 18)
ORB_NULL_ZEROS(Bematech_FI_GrandeTotalUltimaReducaoMFD, 18)
ORB_NULL_ZEROS(Bematech_FI_Cancelamentos, 14)
ORB_NULL_ZEROS(Bematech_FI_Descontos, 14)
ORB_NULL_ZEROS(Bematech_FI_Acrescimos, 14)
#undef ORB_NULL_ZEROS

int ORB_VENDOR_CALL Bematech_FI_NumeroCaixa(char* outTill) {
    Answer(outTill, "0001", 4);
    return 1;
}
int ORB_VENDOR_CALL Bematech_FI_InicioFimCOOsMFD(char* outFirstCoo, char* outLastCoo) {
    Zeros(outFirstCoo, 6);
    Zeros(outLastCoo, 6);
    return 1;
}

// ---- Raw commands --------------------------------------------------------------------------
// The raw-command entry answers 0 when the command was sent.
int ORB_VENDOR_CALL BemaFormataTX(char* /*command*/) { return 0; }
int ORB_VENDOR_CALL BemaStatus_Mp20FI(int* ack, int* st2, int* st1, int* busy) {
    Status(ack, st1, st2);
    SetInt(busy, 0);
    return 1;
}

}  // extern "C"
