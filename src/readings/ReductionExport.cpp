// The reduction export: right before the Z reduction the day's figures are captured into the
// four reduction tables, from an X reading sent to the computer (older models, whose text is also
// kept as the reduction export file) or from the printer's queries (detail-memory models).
#include "readings/ReductionExport.h"

#include "coupon/Items.h"
#include "driver/DebugLog.h"
#include "driver/PrinterCall.h"
#include "external/hostlib/Dialogs.h"
#include "external/hostlib/HostLib.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/DateFormat.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "platform/Platform.h"
#include "queries/Queries.h"
#include "readings/Readings.h"
#include "readings/ReductionTables.h"

namespace Orb00100 {

namespace reduction {

using orb::fw::ClientDataSet;
using orb::fw::Copy;
using orb::fw::Trim;
using orb::hostlib::Ajusta;

void StartReductionRow(const Context& c) {
    ClientDataSet& r = c.dm.cdsReducaoZ;
    r.Append();
    r.FieldByName("NRECFREDZ").SetAsString(c.ecf);
    r.FieldByName("DTREDUCAOZ").SetAsDateTime(c.movement);
    for (const char* counter : {"NRLEITREDZ", "NRCANCFREDZ", "NRPRIMCFREDZ"})
        r.FieldByName(counter).SetAsString("0000000000");
    r.FieldByName("NRULTCFREDZ").SetAsString(Ajusta(c.nextCoupon, 10));
    r.FieldByName("DSMODMARCAECF").SetAsString(c.brandAndModel);
    r.FieldByName("CDMFADICIONAL").SetAsString("");
    r.FieldByName("NRUSUARIOMFD").SetAsString(c.user);
}

void AddPayment(const Context& c, const std::string& name, double amount) {
    ClientDataSet& types = c.dm.cdsTipoRece;
    if (!types.Locate("NMTIPORECE", name, orb::fw::loCaseInsensitive)) return;
    const std::string code = types.FieldByName("CDTIPORECE").AsString();
    ClientDataSet& p = c.dm.cdsFormPgtoRedZ;
    if (p.Locate("CDTIPORECE", code, orb::fw::loCaseInsensitive)) {
        p.Edit();
        p.FieldByName("VRFORMPGTORZ").SetAsFloat(orb::fw::DecimalAdd(p.FieldByName("VRFORMPGTORZ").AsFloat(), amount));
    } else {
        p.Append();
        p.FieldByName("NRECFREDZ").SetAsString(c.ecf);
        p.FieldByName("DTREDUCAOZ").SetAsDateTime(c.movement);
        p.FieldByName("CDTIPORECE").SetAsString(code);
        p.FieldByName("VRFORMPGTORZ").SetAsFloat(amount);
        p.FieldByName("CDTPRECEORIG").SetAsString(code);
    }
    p.Post();
}

}  // namespace reduction

namespace {

using orb::fw::ClientDataSet;
using orb::fw::Trim;
using orb::hostlib::Ajusta;
using orb::hostlib::DialogKind;
using reduction::Context;

constexpr int kRatesWidth = 79;
constexpr int kServiceRatesWidth = 79;
constexpr int kPartialTotalsWidth = 889;
constexpr int kTaxedBlockWidth = 224;  // 16 amounts of 14 digits
constexpr int kNonFiscalWidth = 2200, kNonFiscalSecondWidth = 1077;
constexpr int kPaymentsWidth = 3016;
constexpr std::size_t kNonFiscalRecord = 34, kPaymentRecord = 58;
constexpr int kUserTotalizers = 28;  // slots 29 and 30 are withdrawal and supply

struct Source {
    const char* prefix;  // of the export file
    bool newerLayout;
};

bool XReadingSource(int printerType, Source& source) {
    switch (printerType) {
        case 14:
            source = {"BemaMP25 - ", false};
            return true;
        case 18:
            source = {"BemaMP2000 - ", false};
            return true;
        case 19:
            source = {"BemaMP2100 - ", true};
            return true;
        default:
            return false;
    }
}

// Creates a missing folder; a failure is told and the export goes on without it.
void EnsureFolder(const std::string& folder) {
    if (orb::platform::DirectoryExists(folder) || orb::platform::ForceDirectories(folder)) return;
    orb::hostlib::Inform("002", DataModule().msgPadrao.Msg("N_POS_DIR") + " " + folder, DialogKind::Error);
}

Context ReadIdentity(TdtmBematech100& dm, const std::string& scheme, const std::string& ecf) {
    const int next = orb::fw::StrToInt(Trim(Nr_Cupom("", scheme))) + 1;
    std::string brand, model, kind, user;
    Modelo_Impressora(scheme, brand, model, kind);
    NumeroSubstituicoesProprietario(scheme, user);
    return Context{dm,
                   scheme,
                   ecf,
                   DataMoviFiscal(scheme),
                   Ajusta(orb::fw::IntToStr(next), 6),
                   orb::fw::Copy(Trim(brand) + "|" + Trim(model), 1, 30),
                   user};
}

std::string Answer(int width, int(ORB_VENDOR_CALL* entry)(char*)) {
    AnswerArea area(width);
    Invoke(entry, area.data());
    return area.Text();
}

bool ServiceRate(const std::string& serviceRates, const std::string& digits) {
    for (const std::string& entry : orb::fw::SplitString(serviceRates, ','))
        if (orb::fw::Trim(entry) == digits) return true;
    return false;
}

// The figures of the detail-memory models, from their queries.
void ReadQueries(const Context& c, int printerType) {
    ClientDataSet& r = c.dm.cdsReducaoZ;
    std::string gnf, cro, crz, grandTotal, gross, cancellations, discounts, surcharges;
    NumeroOperacoesNaoFiscais(c.scheme, gnf);
    NumeroIntervencoes(c.scheme, cro);
    NumeroReducoes(c.scheme, crz);
    BuscaTotGer(c.scheme, grandTotal);
    VendaBruta(c.scheme, gross);
    Cancelamentos(c.scheme, cancellations);
    Descontos(c.scheme, discounts);
    Acrescimo_Imp(c.scheme, surcharges);

    RebuildReductionTable(r);
    reduction::StartReductionRow(c);
    r.FieldByName("NRGERCNFREDZ").SetAsString(gnf);
    r.FieldByName("NRREINIREDZ").SetAsString(cro);
    r.FieldByName("NRREDREDZ").SetAsString(crz);
    r.FieldByName("VRGTREDZ").SetAsFloat(orb::fw::StrToFloat(grandTotal));
    const double grossValue = GetValue(gross), cancelled = GetValue(cancellations), discounted = GetValue(discounts);
    r.FieldByName("VRVENBRUREDZ").SetAsFloat(grossValue);
    r.FieldByName("VRTOTCANREDZ").SetAsFloat(cancelled);
    r.FieldByName("VRTOTDESREDZ").SetAsFloat(discounted);
    r.FieldByName("VRVENLIQREDZ")
        .SetAsFloat(orb::fw::DecimalSubtract(orb::fw::DecimalSubtract(grossValue, cancelled), discounted));
    r.FieldByName("VRTOTACRREDZ").SetAsFloat(GetValue(surcharges));

    // Taxed totals per rate slot. A slot not programmed ("0000") is passed over, so the slots
    // after it still count; a service-tax rate is marked as such.
    std::string rates = Answer(kRatesWidth, Bematech_FI_RetornoAliquotas);
    const std::string serviceRates = Answer(kServiceRatesWidth, Bematech_FI_VerificaAliquotasIss);
    AnswerArea partialArea(kPartialTotalsWidth);
    const int code = Invoke(Bematech_FI_VerificaTotalizadoresParciaisMFD, partialArea.data());
    (void)code;
    const std::string partials = partialArea.Text();
    ImpFisDebug("Bematech_FI_VerificaTotalizadoresParciaisMFD - ExportRedz");
    RebuildReductionTaxTable(c.dm.cdsImpostoRedZ);
    double serviceSales = 0;
    {
        // Type 34 gives its taxed totals through the last reduction's record instead.
        const bool taxRows = printerType != 34;
        std::string block = orb::fw::Copy(partials, 1, kTaxedBlockWidth);
        for (int slot = 1; !Trim(rates).empty() && !block.empty(); ++slot) {
            const std::string digits = orb::fw::Copy(rates, 1, 4);
            const double amount = GetValue(block.substr(0, 14));
            if (digits != "0000") {
                const double rate = GetValue(digits);
                const bool service = ServiceRate(serviceRates, digits);
                if (service) serviceSales = orb::fw::DecimalAdd(serviceSales, amount);
                if (taxRows)
                    PutReductionTax(c.dm.cdsImpostoRedZ, c.ecf, c.movement, Ajusta(orb::fw::IntToStr(slot), 2), rate,
                                    amount, orb::fw::DecimalMultiply(amount, rate) / 100, service ? "S" : "T");
            }
            rates.erase(0, std::min<std::size_t>(rates.size(), 5));
            block.erase(0, std::min<std::size_t>(block.size(), 14));
        }
    }
    r.FieldByName("VRISSREDZ").SetAsFloat(serviceSales);
    r.FieldByName("VRISENCREDZ").SetAsFloat(GetValue(orb::fw::Copy(partials, 226, 14)));
    r.FieldByName("VRNINCIDREDZ").SetAsFloat(GetValue(orb::fw::Copy(partials, 241, 14)));
    r.FieldByName("VRSTRIBREDZ").SetAsFloat(GetValue(orb::fw::Copy(partials, 256, 14)));
    r.Post();

    ClientDataSet& nf = c.dm.cdsTotNFiscRedZ;
    RebuildNonFiscalTable(nf);
    auto addTotalizer = [&](const std::string& number, const std::string& name, double amount) {
        nf.Append();
        nf.FieldByName("NRECFREDZ").SetAsString(c.ecf);
        nf.FieldByName("DTREDUCAOZ").SetAsDateTime(c.movement);
        nf.FieldByName("NRTOTNFISCRZ").SetAsString(number);
        nf.FieldByName("DSTOTNFISCRZ").SetAsString(name);
        nf.FieldByName("NRCONTOTNFIS").SetAsString("0000");
        nf.FieldByName("VRACUTOTNFIS").SetAsFloat(amount);
        nf.Post();
    };
    std::string records = Answer(kNonFiscalWidth, Bematech_FI_VerificaRecebimentoNaoFiscalMFD);
    // The user's totalizers only: withdrawal and supply follow as rows of their own.
    for (int n = 1; n <= kUserTotalizers && !Trim(orb::fw::Copy(records, 1, 19)).empty(); ++n) {
        addTotalizer(Ajusta(orb::fw::IntToStr(n), 2), orb::fw::Copy(records, 1, 19),
                     GetValue(orb::fw::Copy(records, 20, 14)));
        records.erase(0, std::min(records.size(), kNonFiscalRecord));
    }
    const std::string second = Answer(kNonFiscalSecondWidth, Bematech_FI_VerificaRecebimentoNaoFiscalMFD);
    addTotalizer("29", "Sangria", GetValue(orb::fw::Copy(second, 972, 14)));
    addTotalizer("30", "Suprimento", GetValue(orb::fw::Copy(second, 1006, 14)));

    RebuildPaymentTable(c.dm.cdsFormPgtoRedZ);
    std::string methods = Answer(kPaymentsWidth, Bematech_FI_VerificaFormasPagamento);
    while (!Trim(orb::fw::Copy(methods, 1, 16)).empty()) {
        reduction::AddPayment(c, Trim(orb::fw::Copy(methods, 1, 16)), GetValue(orb::fw::Copy(methods, 17, 20)));
        methods.erase(0, std::min(methods.size(), kPaymentRecord));
    }
}

void CopyOut(TdtmBematech100& dm, ClientDataSet*& reduction, ClientDataSet*& payments, ClientDataSet*& taxes,
             ClientDataSet*& nonFiscal) {
    const std::pair<ClientDataSet*, ClientDataSet*> pairs[] = {{reduction, &dm.cdsReducaoZ},
                                                               {payments, &dm.cdsFormPgtoRedZ},
                                                               {taxes, &dm.cdsImpostoRedZ},
                                                               {nonFiscal, &dm.cdsTotNFiscRedZ}};
    for (const auto& [host, own] : pairs)
        if (host && own->FieldCount() > 0) host->CopyDataFrom(*own);
}

void CopyIn(ClientDataSet* host, ClientDataSet& own) {
    if (host && host->FieldCount() > 0) own.CopyDataFrom(*host);
}

}  // namespace

bool ExportRedZ(const std::string& /*unused*/, const std::string& scheme, const std::string& ecf, int printerType,
                ClientDataSet* paymentTypes, ClientDataSet*& reduction, ClientDataSet*& payments, ClientDataSet*& taxes,
                ClientDataSet*& nonFiscal) {
    TdtmBematech100& dm = EnsureDataModule();
    const std::string home = orb::platform::HostDirectory();
    const std::string exportFolder = home + "\\" + FileSystemName("Dados\\Reduções");
    EnsureFolder(home + "\\Dados");
    EnsureFolder(exportFolder);

    const std::string folder = retornaPathBematech();
    const std::string xReading = folder == kIniNotFound ? std::string() : folder + "Retorno.txt";
    bool reached = false;
    try {
        if (paymentTypes) dm.cdsTipoRece.CopyDataFrom(*paymentTypes);
        if (dm.cdsTipoRece.FieldCount() > 0 && !dm.cdsTipoRece.Active()) dm.cdsTipoRece.Open();
        CopyIn(reduction, dm.cdsReducaoZ);
        CopyIn(payments, dm.cdsFormPgtoRedZ);
        CopyIn(taxes, dm.cdsImpostoRedZ);
        CopyIn(nonFiscal, dm.cdsTotNFiscRedZ);

        Source source;
        if (XReadingSource(printerType, source)) {
            const Context context = ReadIdentity(dm, scheme, ecf);
            // A reading that failed leaves the text of an earlier one: it must not be taken.
            const int code = Invoke(Bematech_FI_LeituraXSerial);
            if (!Conclude(scheme, code, "Bematech_FI_LeituraXSerial", {.show = true})) return false;
            if (xReading.empty() || !orb::platform::FileExists(xReading)) return false;
            orb::fw::StringList text;
            text.LoadFromFile(xReading);
            reached = true;
            if (orb::platform::DirectoryExists(exportFolder))
                text.SaveToFile(exportFolder + "\\" + source.prefix +
                                orb::fw::FormatDateTime("ddmmyyyy", context.movement) + ".txt");
            reduction::ReadXReading(context, text, source.newerLayout);
        } else if (printerType == 27 || printerType == 34) {
            reached = true;
            ReadQueries(ReadIdentity(dm, scheme, ecf), printerType);
        } else {
            return true;  // a printer without reduction figures: nothing to export
        }
        CopyOut(dm, reduction, payments, taxes, nonFiscal);
        return true;
    } catch (const std::exception& error) {
        orb::hostlib::Inform(scheme, error.what(), DialogKind::Error);
        if (reached) CopyOut(dm, reduction, payments, taxes, nonFiscal);
        return false;
    }
}

}  // namespace Orb00100
