// Open accounts, transferred products and blocked products.
#include "slips/TableReports.h"

#include <exception>

#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "external/hostlib/HostLib.h"
#include "framework/Cp1252.h"
#include "framework/NumberFormat.h"
#include "framework/Text.h"
#include "nonfiscal/Ledger.h"
#include "nonfiscal/ManagementReports.h"
#include "slips/SlipText.h"

namespace Orb00100 {

namespace {

using namespace slips;
using orb::fw::ClientDataSet;
using orb::hostlib::Centraliza;
using orb::hostlib::TamFixo;
using orb::hostlib::TamFixoR;

// The numbered report when the printer has one under that index, else the plain report.
bool OpenReport(const std::string& scheme, const std::string& counterId1, const std::string& counterId2,
                const std::string& reportIndex) {
    return Abre_RelGerencial_MFD(scheme, counterId1, counterId2, reportIndex, "") ||
           Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
}

std::string IssuedLine() { return CP("Data Emissão: ") + NowText(); }

enum class Section { None, Tables, Orders, Accounts };

Section SectionOf(const std::string& account) {
    const std::string prefix = orb::fw::Copy(account, 1, 3);
    if (prefix == "RES" || prefix == "PKR") return Section::Tables;
    if (prefix == "DLV") return Section::Orders;
    return Section::Accounts;
}

std::string SectionHeading(Section section) {
    switch (section) {
        case Section::Tables:
            return CP("Mesas Abertas:\nNrº da Mesa      Data/Hora de abertura\n");
        case Section::Orders:
            return CP("Pedidos Abertos:\nNrº do Pedido    Data/Hora de abertura\n");
        default:
            return CP("Conta Cliente Abertas:\nNrº da Conta Cliente   Data/Hora de abertura\n");
    }
}

std::string AccountLine(Section section, ClientDataSet& row) {
    const std::string opened = row.FieldByName("DTHRABERMESA").AsString();
    switch (section) {
        case Section::Tables:
            return row.FieldByName("NRMESA").AsString() + Spaces(13) + opened + "\n";
        case Section::Orders:
            return row.FieldByName("NRCOMANDA").AsString() + Spaces(7) + opened + "\n";
        default:
            return row.FieldByName("DSCOMANDA").AsString() + Spaces(13) + opened + "\n";
    }
}

void PrintOpenAccounts(const std::string& scheme, ClientDataSet& accounts) {
    SendBlock(scheme, IssuedLine() + "\n");
    Section current = Section::None;
    for (accounts.First(); !accounts.Eof(); accounts.Next()) {
        const Section section = SectionOf(accounts.FieldByName("DSCOMANDA").AsString());
        if (section != current) {
            if (current != Section::None) SendBlock(scheme, "\n\n");
            SendBlock(scheme, SectionHeading(section));
            current = section;
        }
        SendBlock(scheme, AccountLine(section, accounts));
    }
    SendBlock(scheme, "\n");
}

}  // namespace

bool ImprimeMesasAbertas(ClientDataSet*& /*unused*/, const std::string& counterId1, const std::string& counterId2,
                         const std::string& scheme, const std::string& serial, const std::string& reportIndex,
                         const orb::fw::Variant& openAccounts) {
    bool opened = false;
    try {
        TdtmBematech100& dm = EnsureDataModule();
        LoadPacket(dm.cdsMesaAberOrb, openAccounts);
        opened = OpenReport(scheme, counterId1, counterId2, reportIndex);
        PrintOpenAccounts(scheme, dm.cdsMesaAberOrb);
        FechRelatGerenc(scheme, true, false);
        GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
        return true;
    } catch (const std::exception& e) {
        // The host only learns "not printed"; the reason stays in the log for the support desk.
        try {
            ImpFisDebug("ImprimeMesasAbertas: " + std::string(e.what()));
            if (opened) FechRelatGerenc(scheme, true, false);
        } catch (...) {}
        return false;
    } catch (...) {
        return false;
    }
}

void imprimeProdutosTransf(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                           const std::string& serial, const std::string& reportIndex,
                           const orb::fw::Variant& transfers) {
    TdtmBematech100& dm = EnsureDataModule();
    ClientDataSet& moved = dm.cdsProdutoTransf;
    LoadPacket(moved, transfers);
    OpenReport(scheme, counterId1, counterId2, reportIndex);
    SendBlock(scheme, IssuedLine() + "\n\n\n");
    bool anyGroup = false;
    std::string lastGroup;
    for (moved.First(); !moved.Eof(); moved.Next()) {
        const std::string destination = moved.FieldByName("NRMESA").AsString();
        const std::string origin = moved.FieldByName("NRMESADSCOMORIT").AsString();
        if (!anyGroup || destination + origin != lastGroup) {
            if (anyGroup) SendBlock(scheme, "\n");
            SendBlock(scheme, "Mes Origem: " + origin + " -> Mesa Destino: " + destination + "\n");
            SendBlock(scheme, CP("Código  -  Nome Produto   -    Qtde. -  Vr Unit.\n"));
            anyGroup = true;
            lastGroup = destination + origin;
        }
        const std::string product = moved.FieldByName("CDPRODUTO").AsString() + " " +
                                    TamFixo(moved.FieldByName("NMPRODUTO").AsString(), 19) + " " +
                                    Fixed(moved.FieldByName("QTPRODCOMVEN").AsFloat(), 3);
        SendBlock(scheme,
                  TamFixo(product, 37) + " " +
                      TamFixoR(orb::fw::FloatToStrCurrency(moved.FieldByName("VRPRECCOMVEN").AsFloat(), 2), 10) + "\n");
    }
    SendBlock(scheme, "\n");
    FechRelatGerenc(scheme, true, false);
    GravaDocumentosNaoFiscais(serial, scheme, "RG", "", "");
}

bool ImprimeProdBloq(const std::string& counterId1, const std::string& counterId2, const std::string& scheme,
                     ClientDataSet* products) {
    EnsureDataModule();
    ClientDataSet& table = Required(products, "products");
    Relatorio_Gerencial_Imp(scheme, counterId1, counterId2, "", "");
    SendBlock(scheme,
              Dashes(47) + "\n" + Centraliza(table.FieldByName("NMFILIAL").AsString(), 48) + "\n" + Dashes() + "\n");
    SendBlock(scheme, "Loja:" + TamFixo(table.FieldByName("CDLOJA").AsString(), 20) + NowText() + "\n" + Dashes() +
                          "\n" + Centraliza(">>> Produtos Bloqueados <<<", 48) + "\n" + Dashes() + "\n" +
                          TamFixo(Msg("Codigo"), 11) + TamFixo("COD. TECLADO", 13) + TamFixoR("NOME", 4) + "\n");
    for (table.First(); !table.Eof(); table.Next())
        SendBlock(scheme, TamFixo(table.FieldByName("CDPRODUTO").AsString(), 11) +
                              TamFixo(table.FieldByName("CDPROTECLADO").AsString(), 13) +
                              TamFixo(table.FieldByName("NMPRODUTO").AsString(), 24) + "\n");
    SendBlock(scheme, ContactLine() + " ");
    FechRelatGerenc(scheme, true, false);
    return true;
}

}  // namespace Orb00100
