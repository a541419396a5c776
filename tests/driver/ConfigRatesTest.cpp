// The tax-rate table handed to the host: positional codes, the service-tax mark, the three fixed
// rows and the index the host searches by; and the probe of the two rate lists.
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

#include "config/Config.h"
#include "driver/DataModule.h"
#include "driver/TestSupport.h"
#include "framework/ClientDataSet.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace {

using nlohmann::json;
using orb::fw::ClientDataSet;
using Row = std::tuple<std::string, double, std::string>;

class ConfigRates : public orb::test::DriverTest {
protected:
    void Start(const json& printer = json::object()) {
        ResetPrinter(printer);
        ASSERT_TRUE(StartModule());
        ClearJournal();
        NewLogTexts();
    }
    void Answer(const std::string& entry, const std::string& text) {
        Sim({{"sim", "answer"}, {"entry", entry}, {"values", {text}}});
    }
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

TEST_F(ConfigRates, ZeroSlotIsSkippedButKeepsItsNumber) {
    Start();
    Answer("Bematech_FI_RetornoAliquotas", "1800,1200,0000,0500");
    Answer("Bematech_FI_VerificaAliquotasIss", "0500");
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 12, "T"}, {"04", 5, "S"}}));

    // The host receives the module's structure, not the one its table had.
    ASSERT_EQ(host_.FieldDefs().size(), 3u);
    EXPECT_EQ(host_.FieldDefs()[0].size, 10);
    EXPECT_EQ(host_.FieldDefs()[1].type, orb::fw::FieldType::Float);
    EXPECT_EQ(host_.FindField("OUTRO"), nullptr);

    const auto log = NewLogTexts();
    ASSERT_EQ(log.size(), 2u);
    const std::string label = "Bematech_FI_RetornoAliquotas\r\nRetorno da Impressora : ";
    EXPECT_EQ(log[0], label + "1800,1200,0000,0500" + std::string(80 - 19, ' '));
    EXPECT_EQ(log[1], "Bematech_FI_VerificaAliquotasIss\r\nRetorno da Impressora : 0500" + std::string(76, ' '));
}

TEST_F(ConfigRates, ModuleTableIsOrderedByKindThenRate) {
    Start({{"rates", {{{"value", 18.0}}, {{"value", 7.0}}, {{"value", 5.0}, {"service", true}}, {{"value", 2.0}}}}});
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 7, "T"}, {"03", 5, "S"}, {"04", 2, "T"}}));

    ClientDataSet& rates = Orb00100::DataModule().cdsAliqImpFis;
    EXPECT_EQ(rates.IndexName(), "IdxIdAliqVrAliq");
    EXPECT_EQ(Rows(rates), (std::vector<Row>{{"FF", 0, "F"},
                                             {"II", 0, "I"},
                                             {"NN", 0, "N"},
                                             {"03", 5, "S"},
                                             {"04", 2, "T"},
                                             {"02", 7, "T"},
                                             {"01", 18, "T"}}));
    // The host finds a code by kind and rate.
    ASSERT_TRUE(rates.Locate("IDALIQIMPFIS;VRALIQIMPFIS", orb::fw::Variant::MakeArray({"T", 7.0})));
    EXPECT_EQ(rates.FieldByName("CDALIQIMPFIS").AsString(), "02");

    // Loading again rebuilds the table rather than adding to it.
    EXPECT_EQ(Load().size(), 7u);
}

TEST_F(ConfigRates, SilentPrinterOrUnreadableEntriesLeaveTheFixedRows) {
    Start();
    Answer("Bematech_FI_RetornoAliquotas", "1800,AB12,0700");
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"03", 7, "T"}}));

    Sim({{"sim", "power"}, {"on", false}});
    EXPECT_EQ(Load(), WithFixedRows({}));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(ConfigRates, EntriesReadUnderTheSystemDecimalSeparator) {
    Start();
    orb::fw::Settings().DecimalSeparator = '.';
    EXPECT_EQ(Load(), WithFixedRows({{"01", 18, "T"}, {"02", 12, "T"}, {"03", 7, "T"}, {"04", 5, "S"}}));
}

TEST_F(ConfigRates, NoTableRaisesBeforeAnythingIsSent) {
    Start();
    ClientDataSet* none = nullptr;
    EXPECT_THROW(Orb00100::CarregaAliquota("001", none), orb::fw::Exception);
    EXPECT_TRUE(Journal().empty());
}

TEST_F(ConfigRates, ProbeAnswersTheServiceListVerdict) {
    Start();
    EXPECT_TRUE(Orb00100::Retorno_Aliquotas_Imp("001"));
    const auto log = NewLogTexts();
    ASSERT_EQ(log.size(), 2u);
    const std::string label = "Bematech_FI_RetornoAliquotas\r\nRetorno da Impressora : ";
    EXPECT_EQ(log[0].size(), label.size() + 79);

    FailNext("Bematech_FI_VerificaAliquotasIss", 0);
    EXPECT_FALSE(Orb00100::Retorno_Aliquotas_Imp("001"));
    FailNext("Bematech_FI_RetornoAliquotas", 0);
    EXPECT_TRUE(Orb00100::Retorno_Aliquotas_Imp("001"));
    EXPECT_TRUE(Dialogs().empty());
}

}  // namespace
