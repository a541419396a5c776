// The printer's configuration tables against the virtual printer: the module's own tax-rate
// table, and the payment methods reconciled between the host's payment types and the printer with
// the host's messages pumped. The rest (the rates handed to the host, the totalizer and
// report-title slots, the payment names per model) is in printer-config.jsonl.

#include <map>
#include <memory>
#include <tuple>

#include "config/Config.h"
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "exports/ExportTable.h"

namespace {

using nlohmann::json;
using orb::fw::ClientDataSet;
using orb::test::Texts;
using Row = std::tuple<std::string, double, std::string>;

class ConfigRates : public orb::test::DriverTest {
protected:
    // The host's table as the operation leaves it: a structure of its own beforehand.
    std::vector<Row> Load() {
        host_.Close();
        host_.ClearFieldDefs();
        host_.AddFieldDef("OUTRO", orb::fw::FieldType::Integer);
        host_.CreateDataSet();
        ClientDataSet* table = &host_;
        Orb00100::CarregaAliquota("001", table);
        return Rows(host_);
    }
    static std::vector<Row> Rows(ClientDataSet& table) {
        std::vector<Row> rows;
        for (table.First(); !table.Eof(); table.Next())
            rows.emplace_back(table.FieldByName("CDALIQIMPFIS").AsString(), table.FieldByName("VRALIQIMPFIS").AsFloat(),
                              table.FieldByName("IDALIQIMPFIS").AsString());
        return rows;
    }
    ClientDataSet host_;
};

TEST_F(ConfigRates, ModuleTableIsIndexedByKindThenRateAndRebuiltOnEachLoad) {
    Start({{"rates", {{{"value", 18.0}}, {{"value", 7.0}}, {{"value", 5.0}, {"service", true}}, {{"value", 2.0}}}}});
    EXPECT_EQ(Load(), (std::vector<Row>{{"01", 18, "T"},
                                        {"02", 7, "T"},
                                        {"03", 5, "S"},
                                        {"04", 2, "T"},
                                        {"NN", 0, "N"},
                                        {"II", 0, "I"},
                                        {"FF", 0, "F"}}));
    ClientDataSet& rates = Orb00100::DataModule().cdsAliqImpFis;
    EXPECT_EQ(rates.IndexName(), "IdxIdAliqVrAliq");
    const std::vector<Row> byKindThenRate = {{"FF", 0, "F"}, {"II", 0, "I"}, {"NN", 0, "N"}, {"03", 5, "S"},
                                             {"04", 2, "T"}, {"02", 7, "T"}, {"01", 18, "T"}};
    EXPECT_EQ(Rows(rates), byKindThenRate);
    EXPECT_TRUE(rates.Locate("IDALIQIMPFIS;VRALIQIMPFIS", orb::fw::Variant::MakeArray({"T", 7.0})) &&
                rates.FieldByName("CDALIQIMPFIS").AsString() == "02");
    EXPECT_EQ(Load().size(), 7u);
}

class ConfigPayments : public orb::test::DriverTest {
protected:
    Texts PrinterNames() {
        Texts names;
        const json state = State();  // kept: the loop runs over a part of it
        for (const json& entry : state["payments"]) names.push_back(entry["name"]);
        return names;
    }
    // Rows of code, name, kind, button, fiscal name, shown, fiscal code.
    static std::unique_ptr<ClientDataSet> HostTable(const std::vector<std::vector<orb::fw::Variant>>& rows) {
        auto table = std::make_unique<ClientDataSet>("cdsTipoRece");
        orb::test::FillTable(*table,
                             {{"CDTIPORECE"},
                              {"NMTIPORECE", orb::fw::FieldType::String, 40},
                              {"IDTIPORECE"},
                              {"IDTPBUTTON"},
                              {"DSIMPFISCAL", orb::fw::FieldType::String, 50},
                              {"IDMOSTRARECE"},
                              {"CDFPIMPFIS"},
                              {"IDEMIVALE"}},
                             rows);
        return table;
    }
    // Per code, unfiltered, the fields the reconciliation writes:
    // NMTIPORECE|CDFPIMPFIS|IDEMIVALE|IDMOSTRARECE.
    std::map<std::string, std::string> Load(std::unique_ptr<ClientDataSet> table, int model) {
        ClientDataSet* pointer = table.get();
        Orb00100::CarregaRecebimento("", "001", model, pointer);
        return Written(*table);
    }
    static std::map<std::string, std::string> Written(const ClientDataSet& table) {
        std::map<std::string, std::string> written;
        const orb::fw::DataPacket packet = table.Data();
        for (const auto& values : packet.rows) {
            std::map<std::string, std::string> f;
            for (std::size_t i = 0; i < values.size(); ++i)
                f[packet.fields[i].name] = values[i].IsNull() ? "" : values[i].ToString();
            written[f["CDTIPORECE"]] =
                f["NMTIPORECE"] + "|" + f["CDFPIMPFIS"] + "|" + f["IDEMIVALE"] + "|" + f["IDMOSTRARECE"];
        }
        return written;
    }
    Texts Programmed() { return SentTexts("Bematech_FI_ProgramaFormaPagamentoMFD", ""); }
    using Written_ = std::map<std::string, std::string>;
};

TEST_F(ConfigPayments, ReconcilesThroughTheExportTableProgrammingEachNewNameOnce) {
    Start({{"model", 34}, {"payments", {"Dinheiro", "Cartao Credito"}}});
    Recorded().processMessagesCalls = 0;
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
    orb::exports::FindOperation("CarregaRecebimento")->invoke(args);
    ClientDataSet& table = *args[3].table;
    EXPECT_EQ(table.Filter(), "IDTPBUTTON = '5'");
    EXPECT_TRUE(table.Filtered());
    EXPECT_TRUE(table.Eof());
    // 001 takes the printer's spelling; 002 is new (kind 4 issues no voucher) and keeps the host's
    // name; 003 finds 002's name known; 004 is no payment button and 005 is hidden: untouched;
    // 006 is cut to the printer's 16 characters.
    EXPECT_EQ(Written(table), (Written_{{"001", "Dinheiro|S|S|S"},
                                        {"002", "Cartao|S|N|"},
                                        {"003", "Cartao|S|S|S"},
                                        {"004", "Troco|||S"},
                                        {"005", "Oculto|||N"},
                                        {"006", "Vale Refeicao Lo|S|S|S"}}));
    EXPECT_EQ(Programmed(), (Texts{"Cartao1", "Vale Refeicao Lo1", "Rel Gerencial1"}));
    EXPECT_EQ(PrinterNames(), (Texts{"Dinheiro", "Cartao Credito", "Cartao", "Vale Refeicao Lo", "Rel Gerencial"}));
    EXPECT_EQ(Recorded().processMessagesCalls, 5);
}

TEST_F(ConfigPayments, RefusedNamesAreDroppedAndAFailedReadingMakesEveryNameNew) {
    json methods = json::array({"Dinheiro"});
    for (int i = 2; i <= 20; ++i) methods.push_back("Forma " + std::to_string(i));
    Start({{"model", 34}, {"payments", methods}});
    Recorded().processMessagesCalls = 0;
    const auto written = Load(
        HostTable({{"001", "Novo", "1", "5", "Novo", "S", ""}, {"002", "Dinheiro", "1", "5", "Dinheiro", "S", ""}}),
        34);
    EXPECT_EQ(written, (Written_{{"002", "Dinheiro|S|S|S"}}));
    // The full printer refused the management method too: recorded, never shown.
    EXPECT_EQ(Programmed(), (Texts{"Novo1", "Rel Gerencial1"}));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Recorded().processMessagesCalls, 2);

    Start({{"model", 34}, {"payments", {"Dinheiro"}}});
    FailNext("Bematech_FI_VerificaFormasPagamento", 0);
    EXPECT_EQ(Load(HostTable({{"001", "Dinheiro", "1", "5", "Dinheiro", "S", ""}}), 34),
              (Written_{{"001", "Dinheiro|S|S|S"}}));
    EXPECT_EQ(Programmed(), (Texts{"Dinheiro1", "Rel Gerencial1"}));
    EXPECT_EQ(PrinterNames(), (Texts{"Dinheiro", "Rel Gerencial"}));
}

}  // namespace
