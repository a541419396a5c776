// The last reduction read back (result array and tax tables) and the reduction export's
// failures and odd texts, against the virtual printer (a record's tax rows and figures are in the
// reduction-data scenario).
#include <deque>
#include <filesystem>

#include "TestSupport.h"
#include "driver/DataModule.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/NumberFormat.h"
#include "readings/Readings.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::ClientDataSet;
using orb::fw::Variant;
using orb::test::Texts;
using Table = std::vector<std::vector<std::string>>;
namespace fs = std::filesystem;

std::string Digits(long long value, std::size_t width) {
    std::string s = std::to_string(value);
    return std::string(width - s.size(), '0') + s;
}

Table Rows(ClientDataSet& t, std::vector<int> columns = {}) {
    Table rows;
    for (t.First(); !t.Eof(); t.Next()) {
        std::vector<std::string> row;
        for (int i = 0; i < t.FieldCount(); ++i)
            if (columns.empty() || std::find(columns.begin(), columns.end(), i) != columns.end())
                row.push_back(t.FieldAt(i).AsString());
        rows.push_back(row);
    }
    return rows;
}

class ReductionData : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    bool LastReduction(const std::string& type, Variant& result) {
        const std::vector<Variant> params = {"001", type};
        ClientDataSet* taxes = &taxes_;
        return DadosUltimaRedZ(params, result, taxes);
    }
    // A text the printer's entry points may write into, alive to the end of the test.
    char* Txt(std::string text) { return texts_.emplace_back(std::move(text)).data(); }
    // A sale of 12,34 at 18 % and 10,00 at 5 %, paid in cash.
    void Sale() {
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(Txt(""), Txt(""), Txt("")), 1);
        for (const auto& [tax, price] : {std::pair{"1800", "000012340"}, {"0500", "000010000"}})
            ASSERT_EQ(Bematech_FI_VendeItemDepartamento(Txt("1"), Txt("ITEM"), Txt(tax), Txt(price), Txt("0001000"),
                                                        Txt("0000"), Txt("0000"), Txt("01"), Txt("UN")),
                      1);
        ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), 1);
        ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("22,34")), 1);
        ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("")), 1);
    }
    std::deque<std::string> texts_;
    ClientDataSet taxes_{"taxes"};
};

// The tax rows and figures of a record the printer answers: reduction-data.jsonl.
TEST_F(ReductionData, FailedCapturesLeaveWhatTheyMustAndFallBack) {
    // The first capture fails, the second answers: the head of the array only.
    FailNext("Bematech_FI_DadosUltimaReducaoMFD", 0);
    Variant result = Variant::MakeArray(49);
    EXPECT_TRUE(LastReduction("18", result));
    EXPECT_EQ(result[0].ToString(), "0000000000");
    for (std::size_t i = 5; i < 49; ++i) EXPECT_TRUE(result[i].IsUnassigned()) << i;
    EXPECT_FALSE(taxes_.Active());

    // Both fail: the fallback values, false.
    FailNext("Bematech_FI_DadosUltimaReducaoMFD", 0, 2);
    EXPECT_FALSE(LastReduction("18", result));
    EXPECT_EQ((json{result[0].ToString(), result[1].ToString(), result[4].ToString(), result[2].ToInt()}),
              (json{"", "", "", 0}));
    EXPECT_EQ(result[3].ToDouble(), orb::fw::Date().value - 1000);

    // Type 34 failing: every element "0".
    FailNext("Bematech_FI_DadosUltimaReducaoCV0909", 0);
    EXPECT_FALSE(LastReduction("34", result));
    for (std::size_t i = 0; i < 49; ++i) EXPECT_EQ(result[i].ToString(), "0") << i;
    EXPECT_THROW(LastReduction("x", result), orb::fw::EConvertError);
    // A fresh printer's record has no movement date: yesterday.
    Variant fresh = Variant::MakeArray(49);
    ASSERT_TRUE(LastReduction("19", fresh));
    EXPECT_EQ(fresh[3].ToDateTime().value, orb::fw::Date().value - 1);
}

TEST_F(ReductionData, TaxedTotalsComeFromTheWholeCommaRecordOnce) {
    Start(json{{"model", 34}});
    Sale();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    // The taxed section lies past the first 1,096 characters of the record.
    std::string record(1278, ' ');
    Bematech_FI_DadosUltimaReducaoCV0909(record.data());
    EXPECT_GT(record.find('T'), 1096u);
    // A second capture replaces the rows; a record with no taxed section adds none.
    ClientDataSet* taxes = &taxes_;
    const auto date = orb::fw::EncodeDate(2026, 12, 5);
    const std::vector<std::string> first = {"01", "18", "12,34", orb::fw::FloatToStr(12.34 * 18 / 100), "T"};
    for (const std::string answer : {"", "", "0001,0000,0001"}) {
        if (!answer.empty()) SimAnswer("Bematech_FI_DadosUltimaReducaoCV0909", {answer});
        RetornaImpostoIcms("0001", date, taxes);
        const Table got = Rows(taxes_, {2, 3, 4, 5, 6});
        ASSERT_EQ(got.size(), 3u) << answer;  // the three sales-tax rates; the service rate is not ICMS
        EXPECT_EQ(got[0], first);
    }
}

class ReductionExport : public ReductionData {
protected:
    void SetUp() override {
        ReductionData::SetUp();
        Start(json{{"model", 18}, {"payments", {"Dinheiro", "Especie", "Cheque"}}});
        orb::test::FillTable(types_, {{"CDTIPORECE", orb::fw::FieldType::String, 3}, {"NMTIPORECE"}},
                             {{"001", "DINHEIRO"}, {"001", "Especie"}});
        orb::test::FillTable(held_, {{"NRECFREDZ", orb::fw::FieldType::String, 4}}, {{"9999"}});
    }
    bool Export(int type = 18) {
        ClientDataSet *reduction = &reduction_, *payments = &held_, *taxes = &taxes_, *nonFiscal = &nonFiscal_;
        return ExportRedZ("", "001", "0001", type, &types_, reduction, payments, taxes, nonFiscal);
    }
    // Writes the X-reading text over (lines cut at `end`, `without` removed); the next reading writes nothing.
    void WriteText(const std::string& without, const std::string& end = "") {
        EXPECT_EQ(Bematech_FI_LeituraXSerial(), 1);
        Texts lines = orb::test::ReadLines(SystemPath("Retorno.txt"));
        const auto cut = std::find(lines.begin(), lines.end(), end);
        if (cut != lines.end()) lines.erase(cut + 3, lines.end());
        std::erase(lines, without);
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        orb::platform::WriteFile(SystemPath("Retorno.txt"), text);
        FailNext("Bematech_FI_LeituraXSerial", 1);
    }
    std::string ExportFile() {
        std::string date = "00000000";
        Bematech_FI_DataMovimento(date.data());
        const std::string file =
            Home() + "/Dados/Reduções/BemaMP2000 - " + date.substr(0, 4) + "20" + date.substr(4, 2) + ".txt";
#ifdef _WIN32
        return orb::fw::Utf8ToCp1252(file);  // the folder's name is in the ANSI code page there
#else
        return file;
#endif
    }
    ClientDataSet types_{"types"}, reduction_{"reduction"}, held_{"held"}, nonFiscal_{"nonFiscal"};
};

TEST_F(ReductionExport, PaymentsOfTheSameTypeAreAddedAndUnknownOnesLeftOut) {
    for (const auto& [amount, method] : {std::pair{"10,00", "Dinheiro"}, {"5,50", "Especie"}, {"3,00", "Cheque"}})
        ASSERT_EQ(Bematech_FI_Suprimento(Txt(amount), Txt(method)), 1);
    ASSERT_TRUE(Export());
    EXPECT_EQ(Rows(held_, {held_.FieldByName("CDTIPORECE").Index(), held_.FieldByName("VRFORMPGTORZ").Index()}),
              (Table{{"001", "15,5"}}));
    // The text is kept as the export file, replaced by a later export of the same day.
    EXPECT_TRUE(fs::exists(ExportFile()));
    ASSERT_TRUE(Export());
    EXPECT_EQ(orb::test::ReadLines(ExportFile()), orb::test::ReadLines(SystemPath("Retorno.txt")));
}

TEST_F(ReductionExport, FailedOrMissingReadingLeavesTheTablesAndTakesNoStaleText) {
    // A refused reading with an earlier text left behind; a reading that wrote no text.
    for (const int code : {0, 1}) {
        SCOPED_TRACE(code);
        if (code == 0) orb::platform::WriteFile(SystemPath("Retorno.txt"), "-------CONTADORES-------\r\nontem\r\n");
        if (code == 1) fs::remove(SystemPath("Retorno.txt"));
        FailNext("Bematech_FI_LeituraXSerial", code);
        EXPECT_FALSE(Export());
        EXPECT_EQ(Rows(held_), (Table{{"9999"}}));
        EXPECT_FALSE(fs::exists(ExportFile()));
    }
    // A printer type without figures: nothing read, true.
    ForgetSoFar();
    EXPECT_TRUE(Export(99));
    EXPECT_EQ(Rows(held_), (Table{{"9999"}}));
    EXPECT_EQ(JournalEntries({"Bematech_FI_LeituraXSerial"}), Texts{});
}

TEST_F(ReductionExport, MissingHeadingSkipsItsSectionAndATextCutShortIsAnError) {
    WriteText("-------CONTADORES-------");
    ASSERT_TRUE(Export());
    reduction_.First();
    EXPECT_EQ(reduction_.FieldByName("NRREDREDZ").AsString(), "");  // skipped, not read from the top
    EXPECT_EQ(reduction_.FieldByName("NRULTCFREDZ").AsString(), "0000000001");

    // The ICMS section runs to the end of the text: the error is shown, false.
    WriteText("-------CONTADORES-------", "----------ICMS----------");
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(Export());
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].kind, 3);
    EXPECT_EQ(Rows(reduction_).size(), 1u);  // what was read is still handed over
}

TEST_F(ReductionExport, QueriedFiguresMarkTheServiceRatePassOverAnEmptySlotAndKeepTwentyEightTotalizers) {
    // The service rate programmed between two sales-tax rates.
    Start(json{{"model", 27}, {"rates", {{{"value", 18.0}}, {{"value", 5.0}, {"service", true}}, {{"value", 12.0}}}}});
    Sale();
    // Thirty named totalizers: the last two slots are withdrawal and supply, read apart.
    std::string names;
    for (int n = 1; n <= 30; ++n)
        names += (n > 1 ? "," : "") + ("T" + Digits(n, 2) + std::string(16, ' ')) + Digits(n, 14);
    SimAnswer("Bematech_FI_VerificaRecebimentoNaoFiscalMFD", {names});
    ASSERT_TRUE(Export(27));
    EXPECT_EQ(Rows(taxes_, {2, 3, 4, 5, 6}), (Table{{"01", "18", "12,34", orb::fw::FloatToStr(12.34 * 18 / 100), "T"},
                                                    {"02", "5", "10", "0,5", "S"},
                                                    {"03", "12", "0", "0", "T"}}));
    reduction_.First();
    EXPECT_EQ(reduction_.FieldByName("VRISSREDZ").AsFloat(), 10.0);
    const Table totalizers = Rows(nonFiscal_, {nonFiscal_.FieldByName("DSTOTNFISCRZ").Index()});
    ASSERT_EQ(totalizers.size(), 30u);
    EXPECT_EQ((Table{totalizers[27], totalizers[28], totalizers[29]}),
              (Table{{"T28                "}, {"Sangria"}, {"Suprimento"}}));

    // An empty slot between programmed ones: the slots after it keep their numbers and amounts.
    std::string rates = "1800,0000,1200", partials = Digits(1000, 14) + Digits(999, 14) + Digits(500, 14);
    for (int i = 3; i < 16; ++i) {
        rates += ",0000";
        partials += Digits(0, 14);
    }
    SimAnswer("Bematech_FI_RetornoAliquotas", {rates});
    SimAnswer("Bematech_FI_VerificaTotalizadoresParciaisMFD",
              {partials + ",00000000000000,00000000000000,00000000000000"});
    ASSERT_TRUE(Export(27));
    EXPECT_EQ(Rows(taxes_, {2, 3, 4, 5, 6}), (Table{{"01", "18", "10", "1,8", "T"}, {"03", "12", "5", "0,6", "T"}}));
}

}  // namespace
