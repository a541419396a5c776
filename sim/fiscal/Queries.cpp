// Queries: counters, totals, dates, identity, flags, and the printer's tables as the driver
// reads them.
#include "fiscal/Entry.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

namespace {

int Answer1(const char* entry, char* area, std::string (*value)(const State&)) {
    return Run(entry, {Area(area)}, [value](Call& c) {
        c.Answer(0, value(c.s));
        return kOk;
    });
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_NumeroCupom)(char* outCoo) {
    return Answer1(__func__, outCoo, [](const State& s) { return Digits(s.counters.coo, 6); });
}
ORB_SIM_ENTRY(Bematech_FI_ContadorCupomFiscalMFD)(char* outCcf) {
    return Answer1(__func__, outCcf, [](const State& s) { return Digits(s.counters.ccf, 6); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroOperacoesNaoFiscais)(char* outGnf) {
    return Answer1(__func__, outGnf, [](const State& s) { return Digits(s.counters.gnf, 6); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroIntervencoes)(char* outCro) {
    return Answer1(__func__, outCro, [](const State& s) { return Digits(s.counters.cro, 4); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroReducoes)(char* outCrz) {
    return Answer1(__func__, outCrz, [](const State& s) { return Digits(s.counters.crz, 4); });
}
ORB_SIM_ENTRY(Bematech_FI_ContadorRelatoriosGerenciaisMFD)(char* outCer) {
    return Answer1(__func__, outCer, [](const State& s) { return Digits(s.counters.cer, 6); });
}
ORB_SIM_ENTRY(Bematech_FI_ContadorComprovantesCreditoMFD)(char* outCdc) {
    return Answer1(__func__, outCdc, [](const State& s) { return Digits(s.counters.cdc, 6); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroCuponsCancelados)(char* outCancelled) {
    return Answer1(__func__, outCancelled, [](const State& s) { return Digits(s.day.cancelledCoupons, 4); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroSubstituicoesProprietario)(char* outCount) {
    return Answer1(__func__, outCount, [](const State& s) { return Digits(s.id.substitutions, 4); });
}
ORB_SIM_ENTRY(Bematech_FI_GrandeTotal)(char* outGrandTotal) {
    return Answer1(__func__, outGrandTotal, [](const State& s) { return Digits(s.counters.grandTotal, 18); });
}
ORB_SIM_ENTRY(Bematech_FI_GrandeTotalUltimaReducaoMFD)(char* outGrandTotal) {
    return Answer1(__func__, outGrandTotal, [](const State& s) { return Digits(s.counters.grandTotalLastZ, 18); });
}
ORB_SIM_ENTRY(Bematech_FI_VendaBruta)(char* outGrossSales) {
    return Answer1(__func__, outGrossSales, [](const State& s) { return Digits(s.day.gross, 18); });
}
ORB_SIM_ENTRY(Bematech_FI_Descontos)(char* outDiscounts) {
    return Answer1(__func__, outDiscounts, [](const State& s) { return Digits(s.day.discounts, 14); });
}
ORB_SIM_ENTRY(Bematech_FI_Cancelamentos)(char* outCancellations) {
    return Answer1(__func__, outCancellations, [](const State& s) { return Digits(s.day.cancellations, 14); });
}
ORB_SIM_ENTRY(Bematech_FI_DataMovimento)(char* outDate) {
    return Answer1(__func__, outDate, [](const State& s) {
        return s.day.movement.empty() ? std::string("000000") : DdmmyyFromYmd(s.day.movement);
    });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroCaixa)(char* outTill) {
    return Answer1(__func__, outTill, [](const State& s) { return PadLeft(Utf8ToCp1252(s.id.till), 4); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroSerie)(char* outSerial) {
    return Answer1(__func__, outSerial, [](const State& s) { return Utf8ToCp1252(s.id.serial); });
}
ORB_SIM_ENTRY(Bematech_FI_NumeroSerieMFD)(char* outSerial) {
    return Answer1(__func__, outSerial, [](const State& s) { return PadRight(Utf8ToCp1252(s.id.serial), 20); });
}
ORB_SIM_ENTRY(Bematech_FI_VersaoFirmwareMFD)(char* outVersion) {
    return Answer1(__func__, outVersion, [](const State& s) { return Utf8ToCp1252(s.id.firmware); });
}

ORB_SIM_ENTRY(Bematech_FI_DataHoraImpressora)(char* outDate, char* outTime) {
    return Run(__func__, {Area(outDate), Area(outTime)}, [](Call& c) {
        Moment now = c.Now();
        c.Answer(0, now.Ddmmyy());
        c.Answer(1, now.Hhmmss());
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_DataHoraReducao)(char* outDate, char* outTime) {
    return Run(__func__, {Area(outDate), Area(outTime)}, [](Call& c) {
        c.Answer(0, c.s.counters.lastZDate.empty() ? "000000" : c.s.counters.lastZDate);
        c.Answer(1, c.s.counters.lastZTime.empty() ? "000000" : c.s.counters.lastZTime);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_InicioFimCOOsMFD)(char* outFirstCoo, char* outLastCoo) {
    return Run(__func__, {Area(outFirstCoo), Area(outLastCoo)}, [](Call& c) {
        c.Answer(0, Digits(c.s.day.firstCoo, 6));
        c.Answer(1, Digits(c.s.day.lastCoo, 6));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_MarcaModeloTipoImpressoraMFD)(char* outBrand, char* outModel, char* outKind) {
    return Run(__func__, {Area(outBrand), Area(outModel), Area(outKind)}, [](Call& c) {
        c.Answer(0, PadRight(Utf8ToCp1252(c.s.id.brand), 15));
        c.Answer(1, PadRight(Utf8ToCp1252(c.s.id.modelName), 20));
        c.Answer(2, PadRight(Utf8ToCp1252(c.s.id.kind), 7));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional)
(char* outUserRecorded, char* outSoftwareRecorded, char* outAdditionalLetter) {
    return Run(__func__, {Area(outUserRecorded), Area(outSoftwareRecorded), Area(outAdditionalLetter)}, [](Call& c) {
        c.Answer(0, PadRight(Utf8ToCp1252(c.s.id.userRecorded), 20));
        c.Answer(1, PadRight(Utf8ToCp1252(c.s.id.softwareRecorded), 20));
        c.Answer(2, PadRight(Utf8ToCp1252(c.s.id.additionalLetter), 5));
        return kOk;
    });
}

namespace {

// 1 coupon open, 2 closing started, 4 daylight-saving time, 8 reduction done today,
// 32 a coupon may be cancelled.
int FiscalFlags(Call& c) {
    const State& s = c.s;
    int flags = 0;
    if (s.docs.couponOpen) flags |= 1;
    if (s.docs.couponOpen && s.docs.coupon.phase != "items") flags |= 2;
    if (s.hw.daylightSaving) flags |= 4;
    if (DayClosed(s, c.Now())) flags |= 8;
    if (s.docs.couponOpen || (s.docs.lastCancellable && !s.docs.coupon.cancelled)) flags |= 32;
    return flags;
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_FlagsFiscais)(int* flags) {
    return Run(__func__, {Out(flags)}, [](Call& c) {
        c.SetOut(0, FiscalFlags(c));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_FlagsFiscaisStr)(char* outFlags) {
    return Run(__func__, {Area(outFlags)}, [](Call& c) {
        c.Answer(0, std::to_string(FiscalFlags(c)));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_StatusEstendidoMFD)(int* status) {
    return Run(__func__, {Out(status)}, [](Call& c) {
        c.SetOut(0, ExtendedStatus(c.s));
        return kOk;
    });
}

// ---- tables ----------------------------------------------------------------------------------

ORB_SIM_ENTRY(Bematech_FI_RetornoAliquotas)(char* outRates) {
    return Run(__func__, {Area(outRates)}, [](Call& c) {
        // Every slot, "0000" for one not programmed.
        std::string text;
        for (std::size_t i = 0; i < static_cast<std::size_t>(kRateCapacity); ++i)
            text += (i ? "," : "") + Digits(i < c.s.rates.size() ? c.s.rates[i].value : 0, 4);
        c.Answer(0, text);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaAliquotasIss)(char* outRates) {
    return Run(__func__, {Area(outRates)}, [](Call& c) {
        std::string text;
        for (const auto& r : c.s.rates)
            if (r.service) text += (text.empty() ? "" : ",") + Digits(r.value, 4);
        c.Answer(0, text);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaFormasPagamento)(char* outMethods) {
    return Run(__func__, {Area(outMethods)}, [](Call& c) {
        // Records of 58: name 16, amount of the day 20, amount of the last coupon 20, linkable
        // flag 1, separator.
        std::string text;
        for (const auto& m : c.s.payments) {
            std::int64_t last = 0;
            for (const auto& p : c.s.docs.coupon.payments)
                if (p.method == m.name) last += p.amount;
            if (!text.empty()) text += ",";
            text +=
                PadRight(Utf8ToCp1252(m.name), 16) + Digits(m.day, 20) + Digits(last, 20) + (m.linkable ? "1" : "0");
        }
        c.Answer(0, text);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaTotalizadoresNaoFiscais)(char* outTotalizers) {
    return Run(__func__, {Area(outTotalizers)}, [](Call& c) {
        std::string text;
        for (const auto& t : c.s.totalizers) text += (text.empty() ? "" : ",") + PadRight(Utf8ToCp1252(t.name), 19);
        c.Answer(0, text);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaRelatorioGerencialMFD)(char* outReports) {
    return Run(__func__, {Area(outReports)}, [](Call& c) {
        if (!HasDetailMemory(c.s.id.model)) return c.Refuse(st1::kUnknownCommand, 0);
        std::string text;
        for (std::size_t i = 0; i < c.s.reports.size(); ++i) {
            if (i) text += ",";
            text += Digits(c.s.reports[i].count, 4) + PadRight(Utf8ToCp1252(c.s.reports[i].title), 17);
        }
        c.Answer(0, text);
        return kOk;
    });
}

namespace {

// Records of 34: name 19, amount 14, separator; slots 29 and 30 are withdrawal and supply.
std::string NonFiscalTotals(const State& s) {
    std::string text;
    for (int slot = 1; slot <= 30; ++slot) {
        std::string name;
        std::int64_t amount = 0;
        if (slot == 29) {
            name = "Sangria";
            amount = s.day.withdrawal;
        } else if (slot == 30) {
            name = "Suprimento";
            amount = s.day.supply;
        } else if (slot <= static_cast<int>(s.totalizers.size())) {
            name = Utf8ToCp1252(s.totalizers[static_cast<std::size_t>(slot - 1)].name);
            amount = s.totalizers[static_cast<std::size_t>(slot - 1)].day;
        }
        if (slot > 1) text += ",";
        text += PadRight(name, 19) + Digits(amount, 14);
    }
    return text;
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_VerificaRecebimentoNaoFiscalMFD)(char* outReceipts) {
    return Run(__func__, {Area(outReceipts)}, [](Call& c) {
        c.Answer(0, NonFiscalTotals(c.s));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaRecebimentoNaoFiscal)(char* outReceipts) {
    return Run(__func__, {Area(outReceipts)}, [](Call& c) {
        c.Answer(0, NonFiscalTotals(c.s));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaTotalizadoresParciaisMFD)(char* outTotals) {
    return Run(__func__, {Area(outTotals)}, [](Call& c) {
        c.Answer(0, PartialTotalsText(c.s));
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaTotalizadoresParciais)(char* outTotals) {
    return Run(__func__, {Area(outTotals)}, [](Call& c) {
        c.Answer(0, PartialTotalsText(c.s));
        return kOk;
    });
}
