// Payment methods reconciled between the host's payment types and the virtual printer: names
// compared without regard to case and cut to the model's width, programmed when missing,
// dropped when refused, and the filter left on the host's table.
#include <gtest/gtest.h>

#include <map>
#include <memory>
#include <string>
#include <vector>

#include "config/Config.h"
#include "driver/TestSupport.h"
#include "exports/ExportTable.h"
#include "framework/ClientDataSet.h"
#include "framework/Exceptions.h"

namespace {

using nlohmann::json;
using orb::fw::ClientDataSet;

struct PaymentType {
    std::string code, name, kind, button, fiscal, shown, fiscalCode;
};

// The host row of a code, as a field -> text map (unfiltered).
using Fields = std::map<std::string, std::string>;

class ConfigPayments : public orb::test::DriverTest {
protected:
    void Start(const json& printer) {
        ResetPrinter(printer);
        ASSERT_TRUE(StartModule());
        ClearJournal();
        NewLogTexts();
        Recorded().processMessagesCalls = 0;
    }
    static std::unique_ptr<ClientDataSet> HostTable(const std::vector<PaymentType>& types) {
        auto table = std::make_unique<ClientDataSet>("cdsTipoRece");
        using orb::fw::FieldType;
        for (const auto& [name, size] : std::vector<std::pair<std::string, int>>{{"CDTIPORECE", 3},
                                                                                 {"NMTIPORECE", 40},
                                                                                 {"IDEMIVALE", 1},
                                                                                 {"CDFPIMPFIS", 10},
                                                                                 {"IDTIPORECE", 1},
                                                                                 {"IDTPBUTTON", 1},
                                                                                 {"DSIMPFISCAL", 50},
                                                                                 {"IDMOSTRARECE", 1}})
            table->AddFieldDef(name, FieldType::String, size);
        table->CreateDataSet();
        for (const PaymentType& t : types) {
            table->Append();
            table->FieldByName("CDTIPORECE").SetAsString(t.code);
            table->FieldByName("NMTIPORECE").SetAsString(t.name);
            table->FieldByName("IDTIPORECE").SetAsString(t.kind);
            table->FieldByName("IDTPBUTTON").SetAsString(t.button);
            table->FieldByName("DSIMPFISCAL").SetAsString(t.fiscal);
            table->FieldByName("IDMOSTRARECE").SetAsString(t.shown);
            table->FieldByName("CDFPIMPFIS").SetAsString(t.fiscalCode);
            table->Post();
        }
        return table;
    }
    static void Load(ClientDataSet& table, int model) {
        ClientDataSet* pointer = &table;
        Orb00100::CarregaRecebimento("", "001", model, pointer);
    }
    static std::map<std::string, Fields> Rows(const ClientDataSet& table) {
        std::map<std::string, Fields> rows;
        const orb::fw::DataPacket packet = table.Data();
        for (const auto& values : packet.rows) {
            Fields fields;
            for (std::size_t i = 0; i < values.size(); ++i)
                fields[packet.fields[i].name] = values[i].IsNull() ? "" : values[i].ToString();
            rows[fields["CDTIPORECE"]] = fields;
        }
        return rows;
    }
    // Per code, the fields the reconciliation writes: NMTIPORECE|CDFPIMPFIS|IDEMIVALE|IDMOSTRARECE.
    static std::map<std::string, std::string> Written(const ClientDataSet& table) {
        std::map<std::string, std::string> written;
        for (auto& [code, f] : Rows(table))
            written[code] = f["NMTIPORECE"] + "|" + f["CDFPIMPFIS"] + "|" + f["IDEMIVALE"] + "|" + f["IDMOSTRARECE"];
        return written;
    }
    std::vector<std::string> PrinterMethods() {
        std::vector<std::string> names;
        const json state = Sim({{"sim", "state"}});
        for (const json& m : state["payments"]) names.push_back(m["name"]);
        return names;
    }
    std::vector<json> Programmed() {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == "Bematech_FI_ProgramaFormaPagamentoMFD") args.push_back(call["args"]);
        return args;
    }
};

TEST_F(ConfigPayments, ReconcilesThroughTheExportTable) {
    Start({{"model", 34}, {"payments", {"Dinheiro", "Cartao Credito"}}});
    std::vector<orb::exports::Argument> args(4);
    args[1].value = "001";
    args[2].value = 34;
    args[3].table = HostTable({
        {"001", "Dinheiro em especie", "1", "5", "dinheiro", "S", ""},
        {"002", "Cartao", "4", "5", "Cartao", "", ""},  // not the printer's "Cartao Credito"
        {"003", "Cartao outro", "2", "5", "CARTAO", "S", ""},
        {"004", "Troco", "1", "1", "Troco Novo", "S", ""},
        {"005", "Oculto", "1", "5", "Oculto", "N", ""},
        {"006", "Vale", "3", "5", "Vale Refeicao Longo Nome", "S", ""},
    });
    const auto* operation = orb::exports::FindOperation("CarregaRecebimento");
    ASSERT_NE(operation, nullptr);
    operation->invoke(args);

    ClientDataSet& table = *args[3].table;
    EXPECT_EQ(table.Filter(), "IDTPBUTTON = '5'");
    EXPECT_TRUE(table.Filtered());
    EXPECT_TRUE(table.Eof());
    EXPECT_EQ(table.RecordCount(), 5);

    // 001 takes the printer's spelling; 002 is new (kind 4 issues no voucher) and keeps the host's
    // name; 003 finds 002's name known; 004 is no payment button and 005 is hidden: untouched.
    EXPECT_EQ(Written(table), (std::map<std::string, std::string>{{"001", "Dinheiro|S|S|S"},
                                                                  {"002", "Cartao|S|N|"},
                                                                  {"003", "Cartao|S|S|S"},
                                                                  {"004", "Troco|||S"},
                                                                  {"005", "Oculto|||N"},
                                                                  {"006", "Vale Refeicao Lo|S|S|S"}}));
    EXPECT_EQ(Rows(table)["004"]["DSIMPFISCAL"], "Troco Novo");

    // Two host types with one fiscal name program it once; the management method comes last.
    EXPECT_EQ(Programmed(), (std::vector<json>{{"Cartao", "1"}, {"Vale Refeicao Lo", "1"}, {"Rel Gerencial", "1"}}));
    EXPECT_EQ(PrinterMethods(),
              (std::vector<std::string>{"Dinheiro", "Cartao Credito", "Cartao", "Vale Refeicao Lo", "Rel Gerencial"}));
    EXPECT_EQ(Recorded().processMessagesCalls, 5);

    const auto log = NewLogTexts();
    ASSERT_EQ(log.size(), 4u);  // the first reading only, then one line per programming
    const std::string label = "Bematech_FI_VerificaFormasPagamento\r\nRetorno da Impressora : ";
    ASSERT_EQ(log[0].rfind(label + "Dinheiro        ", 0), 0u);
    EXPECT_EQ(log[0].size(), label.size() + 3016);
    EXPECT_EQ(log[1], "Bematech_FI_ProgramaFormaPagamentoMFD : Cartao1");
    EXPECT_EQ(log[2], "Bematech_FI_ProgramaFormaPagamentoMFD : Vale Refeicao Lo1");
    EXPECT_EQ(log[3], "Bematech_FI_ProgramaFormaPagamentoMFD : Rel Gerencial1");
}

TEST_F(ConfigPayments, KnownNamesTakeTheCodeOfAnotherRowWithTheSameName) {
    Start({{"model", 34}, {"payments", {"Dinheiro", "Ticket", "Rel Gerencial"}}});
    auto table = HostTable({
        {"010", "Dinheiro", "1", "5", "Dinheiro", "S", "07"},
        {"011", "Dinheiro 2", "1", "5", "DINHEIRO", "S", ""},
        {"012", "Ticket", "B", "5", "ticket", "S", ""},
    });
    Load(*table, 34);
    auto rows = Rows(*table);
    EXPECT_EQ(rows["010"]["CDFPIMPFIS"], "07");
    EXPECT_EQ(rows["011"]["CDFPIMPFIS"], "07");
    EXPECT_EQ(rows["011"]["NMTIPORECE"], "Dinheiro");
    // A kind-B type without a row to take its code from is hidden from then on.
    EXPECT_EQ(rows["012"]["NMTIPORECE"], "Ticket");
    EXPECT_EQ(rows["012"]["CDFPIMPFIS"], "S");
    EXPECT_EQ(rows["012"]["IDMOSTRARECE"], "N");
    EXPECT_TRUE(Programmed().empty());
}

TEST_F(ConfigPayments, ModelNineteenCutsNamesToFifteen) {
    Start({{"model", 19}, {"payments", {"Dinheiro", "Vale Alimentaca"}}});
    auto table = HostTable({
        {"001", "Cartao", "2", "5", "Cartao Alimentacao", "S", ""},
        {"002", "Vale", "2", "5", "VALE ALIMENTACAO", "S", ""},
    });
    Load(*table, 19);
    auto rows = Rows(*table);
    EXPECT_EQ(rows["001"]["NMTIPORECE"], "Cartao Alimenta");
    EXPECT_EQ(rows["002"]["NMTIPORECE"], "Vale Alimentaca");
    EXPECT_EQ(Programmed(), (std::vector<json>{{"Cartao Alimenta", "1"}, {"Rel Gerencial", "1"}}));
}

TEST_F(ConfigPayments, RefusedNamesAreDroppedAndTheNextRowStillReconciled) {
    json methods = json::array({"Dinheiro"});
    for (int i = 2; i <= 20; ++i) methods.push_back("Forma " + std::to_string(i));
    Start({{"model", 34}, {"payments", methods}});
    auto table = HostTable({
        {"001", "Novo", "1", "5", "Novo", "S", ""},
        {"002", "Dinheiro", "1", "5", "Dinheiro", "S", ""},
    });
    Load(*table, 34);
    auto rows = Rows(*table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows["002"]["CDFPIMPFIS"], "S");
    EXPECT_TRUE(table->Eof());
    // The full printer refused the management method too: recorded, never shown.
    EXPECT_EQ(Programmed(), (std::vector<json>{{"Novo", "1"}, {"Rel Gerencial", "1"}}));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Recorded().processMessagesCalls, 2);
}

TEST_F(ConfigPayments, FailedFirstReadingTreatsEveryNameAsNew) {
    Start({{"model", 34}, {"payments", {"Dinheiro"}}});
    FailNext("Bematech_FI_VerificaFormasPagamento", 0);
    auto table = HostTable({{"001", "Dinheiro", "1", "5", "Dinheiro", "S", ""}});
    Load(*table, 34);
    auto rows = Rows(*table);
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_EQ(rows["001"]["CDFPIMPFIS"], "S");
    EXPECT_EQ(Programmed(), (std::vector<json>{{"Dinheiro", "1"}, {"Rel Gerencial", "1"}}));
    EXPECT_EQ(PrinterMethods(), (std::vector<std::string>{"Dinheiro", "Rel Gerencial"}));
}

TEST_F(ConfigPayments, NoTableRaisesBeforeAnythingIsSent) {
    Start({{"model", 34}});
    ClientDataSet* none = nullptr;
    EXPECT_THROW(Orb00100::CarregaRecebimento("", "001", 34, none), orb::fw::Exception);
    EXPECT_TRUE(Journal().empty());
}

TEST_F(ConfigPayments, ConfigFormaPgProgramsSixteenCharacters) {
    Start({{"model", 34}});
    EXPECT_TRUE(Orb00100::Config_FormaPg("001", "Vale Alimentacao Extra", true, false));
    EXPECT_EQ(Programmed(), (std::vector<json>{{"Vale Alimentacao", "1"}}));
    EXPECT_EQ(NewLogTexts().back(), "Bematech_FI_ProgramaFormaPagamentoMFD : Vale Alimentacao1");

    FailNext("Bematech_FI_ProgramaFormaPagamentoMFD", 0);
    EXPECT_FALSE(Orb00100::Config_FormaPg("001", "Outra", false, false));
    EXPECT_TRUE(Dialogs().empty());
    FailNext("Bematech_FI_ProgramaFormaPagamentoMFD", 0);
    EXPECT_FALSE(Orb00100::Config_FormaPg("002", "Outra", true, false));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].scheme, "002");
}

}  // namespace
