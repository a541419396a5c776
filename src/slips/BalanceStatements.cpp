// The balance statements.
#include "slips/BalanceStatements.h"

#include "external/hostlib/HostLib.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/ManagementReports.h"
#include "nonfiscal/ReportDocuments.h"
#include "slips/AccountText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::hostlib::Centraliza;
using orb::hostlib::TamFixo;
using orb::hostlib::TamFixoR;

std::string TotalLines(double sum) {
    return Ln(TamFixo(" ", 37) + orb::hostlib::Replicate("-", 11)) +
           Ln(TamFixo("Saldo Total", 37) + TamFixoR(Fixed(sum, 2), 11));
}

std::string ConsumerHeading(const std::string& code, const std::string& name) {
    return Ln(Centraliza(">>> Consulta Saldo <<<")) + Ln(Dashes()) + Ln(code + " - " + name) + Ln();
}

// Restores the host's filter on the consumers whatever happens while the module filters them.
class FilterGuard {
public:
    explicit FilterGuard(ClientDataSet& table) : table_(table), filter_(table.Filter()), on_(table.Filtered()) {}
    ~FilterGuard() {
        try {
            table_.SetFiltered(false);
            table_.SetFilter(filter_);
            table_.SetFiltered(on_);
        } catch (...) {
            // The host's own expression parsed before; nothing sensible is left to do.
        }
    }
    FilterGuard(const FilterGuard&) = delete;
    FilterGuard& operator=(const FilterGuard&) = delete;

private:
    ClientDataSet& table_;
    std::string filter_;
    bool on_;
};

// A failure after the opening must not leave the report open: the next document would be refused.
void CloseQuietly(const std::string& scheme) {
    try {
        FechRelatGerenc(scheme, true, false);
    } catch (...) {
        // The original failure is the one worth reporting.
    }
}

void PrintNegatives(const std::string& counterId1, const std::string& scheme, ClientDataSet& kinds,
                    ClientDataSet& people, const std::string& title, const std::string& cashRegister,
                    const std::string& unused1, const std::string& unused2, bool& any);

}  // namespace

bool Cabecalho(const std::string& counterId1, const std::string& scheme, const std::string& title,
               const std::string& cashRegister, const std::string& /*unused1*/, const std::string& /*unused2*/) {
    try {
        if (!Relatorio_Gerencial_Imp(scheme, counterId1, cashRegister, "", "")) return false;
        SendBlock(scheme, Ln() + Ln(Dashes()) + Ln(Centraliza(title)) + Ln() + Ln(Dashes()) +
                              Ln("Caixa: " + cashRegister + Spaces(16) +
                                 orb::fw::FormatDateTime("DD/MM/YYYY hh:mm", orb::fw::Now())) +
                              Ln(Dashes()));
        return true;
    } catch (...) {
        return false;
    }
}

bool ImpSaldo(const std::string& scheme, ClientDataSet* families, const std::string& consumerCode,
              const std::string& consumerName) {
    ClientDataSet& rows = Required(families, "families");
    bool printed = SendBlock(scheme, ConsumerHeading(consumerCode, consumerName));
    std::string block;
    double sum = 0;
    for (rows.First(); !rows.Eof(); rows.Next()) {
        const double balance = rows.FieldByName("SALDOFAM").AsFloat();
        block += Ln(TamFixo(rows.FieldByName("NMFAMILISALD").AsString(), 37) + TamFixoR(Fixed(balance, 2), 11));
        sum = orb::fw::DecimalAdd(sum, balance);
    }
    printed = printed && SendWhole(scheme, block + TotalLines(sum));
    return FechRelatGerenc(scheme, true, false) && printed;
}

bool ImpSaldoDeb(const std::string& scheme, ClientDataSet* consumer, const std::string& consumerCode,
                 const std::string& consumerName) {
    ClientDataSet& row = Required(consumer, "consumer");
    const double balance = row.FieldByName("VRSALDOCONS").AsFloat();
    bool printed = SendBlock(scheme, ConsumerHeading(consumerCode, consumerName));
    printed = printed && SendBlock(scheme, TotalLines(balance));
    return FechRelatGerenc(scheme, true, false) && printed;
}

void Extrato(const std::string& text, const std::string& scheme) {
    nonfiscal::PrintReportText(scheme, text);
    FechRelatGerenc(scheme, true, false);
}

bool SaldoNegativo(const std::string& counterId1, const std::string& scheme, ClientDataSet* types,
                   ClientDataSet* consumers, const std::string& title, const std::string& cashRegister,
                   const std::string& unused1, const std::string& unused2) {
    ClientDataSet& kinds = Required(types, "types");
    ClientDataSet& people = Required(consumers, "consumers");
    const FilterGuard guard(people);
    bool any = false;
    try {
        PrintNegatives(counterId1, scheme, kinds, people, title, cashRegister, unused1, unused2, any);
    } catch (...) {
        if (any) CloseQuietly(scheme);
        throw;
    }
    if (any) FechRelatGerenc(scheme, true, false);
    return any;
}

namespace {

void PrintNegatives(const std::string& counterId1, const std::string& scheme, ClientDataSet& kinds,
                    ClientDataSet& people, const std::string& title, const std::string& cashRegister,
                    const std::string& unused1, const std::string& unused2, bool& any) {
    for (kinds.First(); !kinds.Eof(); kinds.Next()) {
        people.SetFiltered(false);
        people.SetFilter("CDTIPOCONS = " + orb::fw::QuotedStr(kinds.FieldByName("CDTIPOCONS").AsString()));
        people.SetFiltered(true);
        if (people.IsEmpty()) continue;
        std::string block;
        if (!any) {
            Cabecalho(counterId1, scheme, title, cashRegister, unused1, unused2);
            block = Ln(Centraliza(">>> Saldo Negativo por Consumidor <<<")) + Ln(Dashes());
        } else {
            block = Ln(Dashes());
        }
        any = true;
        block += Ln(kinds.FieldByName("NMTIPOCONS").AsString());
        double sum = 0;
        for (people.First(); !people.Eof(); people.Next()) {
            const double balance = people.FieldByName("SALDONEGATIVO").AsFloat();
            SendBlock(scheme, block + Ln(TamFixo("  " + people.FieldByName("NMCONSUMIDOR").AsString(), 37) +
                                         TamFixoR(Fixed(balance, 2), 10)));
            block.clear();
            sum = orb::fw::DecimalAdd(sum, balance);
        }
        SendBlock(scheme, TotalLines(sum));
    }
}

}  // namespace

bool Saldo_CredPessoal(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                       const std::string& title, ClientDataSet* families) {
    bool opened = false;
    try {
        ClientDataSet& rows = Required(families, "families");
        opened = Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
        if (!opened) return false;
        std::string block = Ln() + Ln(Centraliza(title)) + Ln(Spaces(kLineWidth));
        double sum = 0;
        for (rows.First(); !rows.Eof(); rows.Next()) {
            const double balance = rows.FieldByName("VRSALDCONFAM").AsFloat();
            if (balance == 0) continue;
            block += Ln(TamFixo(rows.FieldByName("NMFAMILISALD").AsString(), 25) + TamFixoR(Fixed(balance, 2), 15));
            sum = orb::fw::DecimalAdd(sum, balance);
        }
        block += Ln(Dashes()) + Ln(TamFixo("Saldo Total", 25) + TamFixoR(Fixed(sum, 2), 15));
        const bool printed = SendWhole(scheme, block);
        return FechRelatGerenc(scheme, true, false) && printed;
    } catch (...) {
        if (opened) CloseQuietly(scheme);
        return false;
    }
}

}  // namespace Orb00100
