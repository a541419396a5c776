// Totalizer and report-title slots against the virtual printer: found by catalog name, programmed
// into the first free slots, and left empty when the printer refuses them.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "config/Config.h"
#include "driver/TestSupport.h"

namespace {

using nlohmann::json;

class ConfigTotalizers : public orb::test::DriverTest {
protected:
    struct Slots {
        std::string cv, venda, compra, canc, relatorio;
        // In the operation's parameter order: voucher, consumer sale, credit, cancellation, report.
        std::vector<std::string> All() const { return {cv, venda, compra, canc, relatorio}; }
    };
    using Names = std::vector<std::string>;
    Slots Load(int model, Slots in = {}) {
        orb::fw::ClientDataSet* unused = nullptr;
        Orb00100::CarregaTotalizador(in.cv, in.venda, in.compra, in.canc, in.relatorio, "001", model, unused);
        return in;
    }
    void Start(const json& printer) {
        ResetPrinter(printer);
        ASSERT_TRUE(StartModule());
        ClearJournal();
        NewLogTexts();
    }
    // The calls of one entry point, in order.
    std::vector<json> Calls(const std::string& entry) {
        std::vector<json> calls;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) calls.push_back(call);
        return calls;
    }
    std::vector<std::string> PrinterTotalizers() {
        std::vector<std::string> names;
        const json state = Sim({{"sim", "state"}});
        for (const json& t : state["totalizers"]) names.push_back(t["name"]);
        return names;
    }
};

TEST_F(ConfigTotalizers, FindsNamedSlotsAndProgramsTheMissingOnesInFixedOrder) {
    Start({{"model", 34}, {"totalizers", {"OUTRO", "VENDA CONSUMIDOR", "TROCO", "Relatorios"}}});
    // The detail-memory model keeps 15 characters: "VENDA CONSUMIDO" is the consumer sale.
    EXPECT_EQ(Load(34).All(), (Names{"05", "02", "06", "07", "04"}));

    const auto named = Calls("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms");
    ASSERT_EQ(named.size(), 3u);
    EXPECT_EQ(named[0]["args"], json::array({5, "CONTRA-VALE EMITIDO"}));  // the full text, not cut
    EXPECT_EQ(named[1]["args"], json::array({6, "Cred Pessoal"}));
    EXPECT_EQ(named[2]["args"], json::array({7, "Canc Credito"}));
    EXPECT_EQ(PrinterTotalizers(), (std::vector<std::string>{"OUTRO", "VENDA CONSUMIDO", "TROCO", "Relatorios",
                                                             "CONTRA-VALE EMI", "Cred Pessoal", "Canc Credito"}));

    const auto log = NewLogTexts();
    ASSERT_FALSE(log.empty());
    const std::string label = "Bematech_FI_VerificaTotalizadoresNaoFiscais\r\nRetorno da Impressora : ";
    ASSERT_EQ(log.front().rfind(label, 0), 0u);
    EXPECT_EQ(log.front().size(), label.size() + 179);
    EXPECT_EQ(log.front().substr(label.size(), 40), "OUTRO              ,VENDA CONSUMIDO    ,");
    EXPECT_EQ(log.back(), "Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms : 7 - Canc Credito");

    // A second load finds every slot and programs nothing.
    ClearJournal();
    EXPECT_EQ(Load(34).All(), (Names{"05", "02", "06", "07", "04"}));
    EXPECT_TRUE(Calls("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms").empty());
}

TEST_F(ConfigTotalizers, HostValuesStandAndComparedWidthFollowsTheModel) {
    // Model 18 compares 19 characters: a record cut to 15 is not the voucher.
    Start({{"model", 18}, {"totalizers", {"CONTRA-VALE EMI", "CONTRA-VALE EMITIDO"}}});
    Slots in;
    in.canc = "09";       // passed in, not on the printer: stands and is not programmed
    in.relatorio = "01";  // passed in, but the scan does not find it either: stands
    EXPECT_EQ(Load(18, in).All(), (Names{"02", "04", "03", "09", "01"}));
    const auto named = Calls("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms");
    ASSERT_EQ(named.size(), 2u);
    EXPECT_EQ(named[0]["args"], json::array({3, "Cred Pessoal"}));
    EXPECT_EQ(named[1]["args"], json::array({4, "VENDA CONSUMIDOR"}));
}

TEST_F(ConfigTotalizers, ModelWithoutScanProgramsFromTheFirstSlot) {
    Start({{"model", 34}});
    EXPECT_EQ(Load(5).All(), (Names{"01", "04", "02", "05", "03"}));
    EXPECT_EQ(Calls("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms")[2]["args"], json::array({3, "Relatorios"}));
}

TEST_F(ConfigTotalizers, SlotsThePrinterRefusesComeBackEmpty) {
    // Model 18 holds nine totalizers: seven taken leave room for two.
    Start({{"model", 18}, {"totalizers", {"A", "B", "C", "D", "E", "F", "G"}}});
    EXPECT_EQ(Load(18).All(), (Names{"08", "", "09", "", ""}));

    const auto named = Calls("Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms");
    ASSERT_EQ(named.size(), 5u);
    EXPECT_EQ(named[2]["args"][0], 10);
    EXPECT_NE(named[2]["return"], 1);
    EXPECT_EQ(PrinterTotalizers().size(), 9u);
    // Recorded, never shown.
    EXPECT_TRUE(Dialogs().empty());
    int errors = 0;
    for (const std::string& text : NewLogTexts()) errors += text.rfind("ERRO!!! ", 0) == 0;
    EXPECT_GE(errors, 3);
}

class ConfigReportTitles : public ConfigTotalizers {
protected:
    std::vector<std::string> LoadTitles(int model, std::string preset = "") {
        std::vector<std::string> t(6, preset);
        Orb00100::CarregaRelatorioGer(t[0], t[1], t[2], t[3], t[4], t[5], "001", model);
        return t;
    }
};

TEST_F(ConfigReportTitles, FillsFreeSlotsInTitleOrderAroundTheNamedOnes) {
    Start({{"model", 34}, {"reports", {"Meios de Pagto", "", "Conf. Mesa"}}});
    const auto t = LoadTitles(34);
    EXPECT_EQ(t, (std::vector<std::string>{"01", "02", "04", "05", "03", "06"}));

    const auto named = Calls("Bematech_FI_NomeiaRelatorioGerencialMFD");
    ASSERT_EQ(named.size(), 4u);
    EXPECT_EQ(named[0]["args"], json::array({"02", "Ident. Paf-Ecf"}));
    EXPECT_EQ(named[3]["args"], json::array({"06", "Mesas Abertas"}));
    const json reports = Sim({{"sim", "state"}})["reports"];
    EXPECT_EQ(reports[3]["title"], "Param. Config");
    EXPECT_EQ(reports[4]["title"], "Transf. Mesas");

    const auto log = NewLogTexts();
    const std::string label = "Bematech_FI_VerificaRelatorioGerencialMFD\r\nRetorno da Impressora : ";
    ASSERT_EQ(log.front().rfind(label, 0), 0u);
    EXPECT_EQ(log.front().size(), label.size() + 659);
    EXPECT_EQ(log.back(), "Bematech_FI_NomeiaRelatorioGerencialMFD : 6 - Mesas Abertas");

    ClearJournal();
    EXPECT_EQ(LoadTitles(34), t);
    EXPECT_TRUE(Calls("Bematech_FI_NomeiaRelatorioGerencialMFD").empty());
}

TEST_F(ConfigReportTitles, ModelsWithoutDetailMemoryAnswerEmptyAndProgramNothing) {
    Start({{"model", 18}});
    EXPECT_EQ(LoadTitles(18, "07"), std::vector<std::string>(6, ""));
    EXPECT_EQ(Calls("Bematech_FI_VerificaRelatorioGerencialMFD").size(), 1u);
    EXPECT_TRUE(Calls("Bematech_FI_NomeiaRelatorioGerencialMFD").empty());
}

TEST_F(ConfigReportTitles, RefusedTitleStaysEmptyAndIsNotOfferedAnotherSlot) {
    Start({{"model", 34}});
    FailNext("Bematech_FI_NomeiaRelatorioGerencialMFD", 0);
    const auto t = LoadTitles(34);
    EXPECT_EQ(t, (std::vector<std::string>{"", "02", "03", "04", "05", "06"}));
    EXPECT_EQ(Calls("Bematech_FI_NomeiaRelatorioGerencialMFD").size(), 6u);
    EXPECT_EQ(Sim({{"sim", "state"}})["reports"][0]["title"], "");
}

TEST_F(ConfigReportTitles, FullListLeavesMissingTitlesEmpty) {
    json reports = json::array();
    for (int i = 1; i <= 30; ++i) reports.push_back("Titulo " + std::to_string(i));
    reports[6] = "Conf. Mesa";
    Start({{"model", 19}, {"reports", reports}});
    EXPECT_EQ(LoadTitles(19), (std::vector<std::string>{"", "", "", "", "07", ""}));
    EXPECT_TRUE(Calls("Bematech_FI_NomeiaRelatorioGerencialMFD").empty());
}

}  // namespace
