// The printer's configuration tables against the virtual printer: the tax-rate table handed to the
// host, the totalizer and report-title slots found or programmed, and the payment methods
// reconciled between the host's payment types and the printer.

#include <algorithm>
#include <map>
#include <memory>
#include <tuple>

#include "config/Config.h"
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "exports/ExportTable.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace {

using nlohmann::json;
using orb::fw::ClientDataSet;
using orb::test::Texts;
using Row = std::tuple<std::string, double, std::string>;

class Config : public orb::test::DriverTest {
protected:
    Texts PrinterNames(const char* list, const char* field) {
        Texts names;
        const json state = State();
        for (const json& entry : state[list]) names.push_back(entry[field]);
        return names;
    }
};

class ConfigRates : public Config {
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
    static std::vector<Row> WithFixedRows(std::vector<Row> rows) {
        rows.insert(rows.end(), {{"NN", 0, "N"}, {"II", 0, "I"}, {"FF", 0, "F"}});
        return rows;
    }
    ClientDataSet host_;
};

TEST_F(ConfigRates, SlotsKeepTheirNumbersAndTheHostGetsTheModulesStructure) {
    Start();
    SimAnswer("Bematech_FI_RetornoAliquotas", {"1800,1200,0000,0500"});
    SimAnswer("Bematech_FI_VerificaAliquotasIss", {"0500"});
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 12, "T"}, {"04", 5, "S"}}));  // a zero slot skipped
    ASSERT_EQ(host_.FieldDefs().size(), 3u);
    EXPECT_EQ(host_.FieldDefs()[0].size, 10);
    EXPECT_EQ(host_.FieldDefs()[1].type, orb::fw::FieldType::Float);
    EXPECT_EQ(host_.FindField("OUTRO"), nullptr);

    // Unreadable entries are skipped; a silent printer leaves the fixed rows alone.
    SimAnswer("Bematech_FI_RetornoAliquotas", {"1800,AB12,0700"});
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"03", 7, "T"}}));
    orb::fw::Settings().DecimalSeparator = '.';  // entries are read under the system's separator
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 12, "T"}, {"03", 7, "T"}, {"04", 5, "S"}}));
    Power(false);
    EXPECT_EQ(Load(), WithFixedRows({}));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(ConfigRates, ModuleTableIsIndexedByKindThenRateAndRebuiltOnEachLoad) {
    Start({{"rates", {{{"value", 18.0}}, {{"value", 7.0}}, {{"value", 5.0}, {"service", true}}, {{"value", 2.0}}}}});
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 7, "T"}, {"03", 5, "S"}, {"04", 2, "T"}}));
    ClientDataSet& rates = Orb00100::DataModule().cdsAliqImpFis;
    EXPECT_EQ(rates.IndexName(), "IdxIdAliqVrAliq");
    const std::vector<Row> byKindThenRate = {{"FF", 0, "F"}, {"II", 0, "I"}, {"NN", 0, "N"}, {"03", 5, "S"},
                                             {"04", 2, "T"}, {"02", 7, "T"}, {"01", 18, "T"}};
    EXPECT_EQ(Rows(rates), byKindThenRate);
    EXPECT_TRUE(rates.Locate("IDALIQIMPFIS;VRALIQIMPFIS", orb::fw::Variant::MakeArray({"T", 7.0})) &&
                rates.FieldByName("CDALIQIMPFIS").AsString() == "02");
    EXPECT_EQ(Load().size(), 7u);
}

TEST_F(ConfigRates, ProbeAnswersTheServiceListVerdict) {
    Start();
    EXPECT_TRUE(Orb00100::Retorno_Aliquotas_Imp("001"));
    EXPECT_EQ(NewLogTexts().at(0).size(), AnswerLogText("Bematech_FI_RetornoAliquotas").size() + 79);
    FailNext("Bematech_FI_VerificaAliquotasIss", 0);
    EXPECT_FALSE(Orb00100::Retorno_Aliquotas_Imp("001"));
    FailNext("Bematech_FI_RetornoAliquotas", 0);
    EXPECT_TRUE(Orb00100::Retorno_Aliquotas_Imp("001"));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Config, NoTableRaisesBeforeAnythingIsSent) {
    Start();
    ClientDataSet* none = nullptr;
    EXPECT_THROW(Orb00100::CarregaAliquota("001", none), orb::fw::Exception);
    EXPECT_THROW(Orb00100::CarregaRecebimento("", "001", 34, none), orb::fw::Exception);
    EXPECT_TRUE(Journal().empty());
}

class ConfigTotalizers : public Config {
protected:
    // The slots in the operation's parameter order: voucher, consumer sale, credit,
    // cancellation, report.
    Texts Load(int model, Texts in = Texts(5)) {
        orb::fw::ClientDataSet* unused = nullptr;
        Orb00100::CarregaTotalizador(in[0], in[1], in[2], in[3], in[4], "001", model, unused);
        return in;
    }
    Texts Named() { return SentTexts("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms"); }
    Texts LoadTitles(int model, const std::string& preset = "") {
        Texts t(6, preset);
        Orb00100::CarregaRelatorioGer(t[0], t[1], t[2], t[3], t[4], t[5], "001", model);
        return t;
    }
    Texts Titled() { return SentTexts("Bematech_FI_NomeiaRelatorioGerencialMFD"); }
};

TEST_F(ConfigTotalizers, FindsNamedSlotsAndProgramsTheMissingOnesInFixedOrder) {
    Start({{"model", 34}, {"totalizers", {"OUTRO", "VENDA CONSUMIDOR", "TROCO", "Relatorios"}}});
    // The detail-memory model keeps 15 characters: "VENDA CONSUMIDO" is the consumer sale.
    EXPECT_EQ(Load(34), (Texts{"05", "02", "06", "07", "04"}));
    EXPECT_EQ(Named(), (Texts{"5 CONTRA-VALE EMITIDO", "6 Cred Pessoal", "7 Canc Credito"}));  // sent whole
    EXPECT_EQ(PrinterNames("totalizers", "name"), (Texts{"OUTRO", "VENDA CONSUMIDO", "TROCO", "Relatorios",
                                                         "CONTRA-VALE EMI", "Cred Pessoal", "Canc Credito"}));
    const Texts log = NewLogTexts();
    EXPECT_EQ(log.front().size(), AnswerLogText("Bematech_FI_VerificaTotalizadoresNaoFiscais").size() + 179);
    EXPECT_EQ(log.back(), "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : 7 - Canc Credito");

    ClearJournal();  // a second load finds every slot
    EXPECT_EQ(Load(34), (Texts{"05", "02", "06", "07", "04"}));
    EXPECT_TRUE(Named().empty());
}

TEST_F(ConfigTotalizers, HostValuesStandAndComparedWidthFollowsTheModel) {
    // Model 18 compares 19 characters: a record cut to 15 is not the voucher. A slot passed in
    // stands, found on the printer or not.
    Start({{"model", 18}, {"totalizers", {"CONTRA-VALE EMI", "CONTRA-VALE EMITIDO"}}});
    EXPECT_EQ(Load(18, {"", "", "", "09", "01"}), (Texts{"02", "04", "03", "09", "01"}));
    EXPECT_EQ(Named(), (Texts{"3 Cred Pessoal", "4 VENDA CONSUMIDOR"}));

    // A model without the scan programs from the first slot.
    Start({{"model", 34}});
    EXPECT_EQ(Load(5), (Texts{"01", "04", "02", "05", "03"}));
    EXPECT_EQ(Named().at(2), "3 Relatorios");
}

TEST_F(ConfigTotalizers, SlotsThePrinterRefusesComeBackEmptyAndAreNeverShown) {
    // Model 18 holds nine totalizers: seven taken leave room for two.
    Start({{"model", 18}, {"totalizers", {"A", "B", "C", "D", "E", "F", "G"}}});
    EXPECT_EQ(Load(18), (Texts{"08", "", "09", "", ""}));
    EXPECT_EQ(Named(), (Texts{"8 CONTRA-VALE EMITIDO", "9 Cred Pessoal", "10 Relatorios", "11 VENDA CONSUMIDOR",
                              "12 Canc Credito"}));  // ten and on refused
    EXPECT_EQ(PrinterNames("totalizers", "name").size(), 9u);
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_GE(std::ranges::count_if(NewLogTexts(), [](const std::string& t) { return t.starts_with("ERRO!!! "); }), 3);
}

TEST_F(ConfigTotalizers, ReportTitlesFillFreeSlotsInTitleOrderAroundTheNamedOnes) {
    Start({{"model", 34}, {"reports", {"Meios de Pagto", "", "Conf. Mesa"}}});
    EXPECT_EQ(LoadTitles(34), (Texts{"01", "02", "04", "05", "03", "06"}));
    EXPECT_EQ(Titled(), (Texts{"02 Ident. Paf-Ecf", "04 Param. Config", "05 Transf. Mesas", "06 Mesas Abertas"}));
    const Texts log = NewLogTexts();
    EXPECT_EQ(log.front().size(), AnswerLogText("Bematech_FI_VerificaRelatorioGerencialMFD").size() + 659);
    EXPECT_EQ(log.back(), "Bematech_FI_NomeiaRelatorioGerencialMFD : 6 - Mesas Abertas");
    ClearJournal();
    EXPECT_EQ(LoadTitles(34), (Texts{"01", "02", "04", "05", "03", "06"}));
    EXPECT_TRUE(Titled().empty());

    // Models without detail memory answer empty and program nothing.
    Start({{"model", 18}});
    EXPECT_EQ(LoadTitles(18, "07"), Texts(6, ""));
    EXPECT_EQ(CallCount("Bematech_FI_VerificaRelatorioGerencialMFD"), 1);
    EXPECT_TRUE(Titled().empty());
}

TEST_F(ConfigTotalizers, RefusedOrMissingTitlesStayEmpty) {
    // A refused title is not offered another slot.
    Start({{"model", 34}});
    FailNext("Bematech_FI_NomeiaRelatorioGerencialMFD", 0);
    EXPECT_EQ(LoadTitles(34), (Texts{"", "02", "03", "04", "05", "06"}));
    EXPECT_EQ(Titled().size(), 6u);
    EXPECT_EQ(State()["reports"][0]["title"], "");

    // A full list leaves the titles it lacks empty.
    json reports = json::array();
    for (int i = 1; i <= 30; ++i) reports.push_back("Titulo " + std::to_string(i));
    reports[6] = "Conf. Mesa";
    Start({{"model", 19}, {"reports", reports}});
    EXPECT_EQ(LoadTitles(19), (Texts{"", "", "", "", "07", ""}));
    EXPECT_TRUE(Titled().empty());
}

class ConfigPayments : public Config {
protected:
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
    EXPECT_EQ(PrinterNames("payments", "name"),
              (Texts{"Dinheiro", "Cartao Credito", "Cartao", "Vale Refeicao Lo", "Rel Gerencial"}));
    EXPECT_EQ(Recorded().processMessagesCalls, 5);
}

TEST_F(ConfigPayments, KnownNamesTakeTheCodeOfAnotherRowWithTheSameName) {
    Start({{"model", 34}, {"payments", {"Dinheiro", "Ticket", "Rel Gerencial"}}});
    // A kind-B type without a row to take its code from is hidden from then on.
    EXPECT_EQ(Load(HostTable({{"010", "Dinheiro", "1", "5", "Dinheiro", "S", "07"},
                              {"011", "Dinheiro 2", "1", "5", "DINHEIRO", "S", ""},
                              {"012", "Ticket", "B", "5", "ticket", "S", ""}}),
                   34),
              (Written_{{"010", "Dinheiro|07|S|S"}, {"011", "Dinheiro|07|S|S"}, {"012", "Ticket|S|S|N"}}));
    EXPECT_TRUE(Programmed().empty());
}

TEST_F(ConfigPayments, ModelNineteenCutsNamesToFifteen) {
    Start({{"model", 19}, {"payments", {"Dinheiro", "Vale Alimentaca"}}});
    const auto written = Load(HostTable({{"001", "Cartao", "2", "5", "Cartao Alimentacao", "S", ""},
                                         {"002", "Vale", "2", "5", "VALE ALIMENTACAO", "S", ""}}),
                              19);
    EXPECT_EQ(written.at("001").substr(0, 16) + written.at("002").substr(0, 16), "Cartao Alimenta|Vale Alimentaca|");
    EXPECT_EQ(Programmed(), (Texts{"Cartao Alimenta1", "Rel Gerencial1"}));
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
    EXPECT_EQ(PrinterNames("payments", "name"), (Texts{"Dinheiro", "Rel Gerencial"}));
}

TEST_F(ConfigPayments, ConfigFormaPgProgramsSixteenCharactersAndShowsARefusalWhenAsked) {
    Start({{"model", 34}});
    EXPECT_TRUE(Orb00100::Config_FormaPg("001", "Vale Alimentacao Extra", true, false));
    EXPECT_EQ(Programmed(), Texts{"Vale Alimentacao1"});
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
