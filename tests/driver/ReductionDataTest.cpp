// The last reduction read back (result array and tax tables) and the reduction export's
// failures and odd texts, against the virtual printer.
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
namespace fs = std::filesystem;

std::string Digits(long long value, std::size_t width) {
    std::string s = std::to_string(value);
    return std::string(width - s.size(), '0') + s;
}

std::vector<std::vector<std::string>> Rows(ClientDataSet& t) {
    std::vector<std::vector<std::string>> rows;
    for (t.First(); !t.Eof(); t.Next()) {
        std::vector<std::string> row;
        for (int i = 0; i < t.FieldCount(); ++i) row.push_back(t.FieldAt(i).AsString());
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
    // The printer's record of the last reduction with some fields written over (1-based start).
    std::string Record(const std::vector<std::pair<int, std::string>>& fields) {
        std::string record(1278, ' ');
        Bematech_FI_DadosUltimaReducaoMFD(record.data());
        for (const auto& [start, text] : fields) record.replace(static_cast<std::size_t>(start - 1), text.size(), text);
        return record;
    }
    void AnswerRecord(const std::string& record, int times = 2) {
        Sim({{"sim", "answer"},
             {"entry", "Bematech_FI_DadosUltimaReducaoMFD"},
             {"values", {record}},
             {"times", times}});
    }
    bool LastReduction(const std::string& type, Variant& result, ClientDataSet*& taxes) {
        const std::vector<Variant> params = {"001", type};
        return DadosUltimaRedZ(params, result, taxes);
    }
    // A sale of 12,34 at 18 % and 10,00 at 5 %, paid in cash.
    void Sale() {
        std::string none;
        ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);
        for (const char* tax : {"1800", "0500"}) {
            std::string code = "1", name = "ITEM", t = tax, price = tax[0] == '1' ? "000012340" : "000010000",
                        qty = "0001000", unit = "0000", discount = "0000", dept = "01", un = "UN";
            ASSERT_EQ(Bematech_FI_VendeItemDepartamento(code.data(), name.data(), t.data(), price.data(), qty.data(),
                                                        unit.data(), discount.data(), dept.data(), un.data()),
                      1);
        }
        std::string d = "d", u = "$", z = "0", m = "Dinheiro", v = "22,34", f = "";
        ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(d.data(), u.data(), z.data()), 1);
        ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(m.data(), v.data()), 1);
        ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(f.data()), 1);
    }
    void DayAndReduction() {
        Sale();
        ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    }
    ClientDataSet taxes_{"taxes"};
};

TEST_F(ReductionData, TaxRowsFollowThePrintersSlotsAcrossAnEmptySlotAndAServiceRate) {
    // Slot 1 18 %, slot 2 empty, slot 3 the service rate, slot 4 12 % without sales.
    Sim({{"sim", "answer"},
         {"entry", "Bematech_FI_RetornoAliquotas"},
         {"values", {"1800,0000,0500,1200,0000,0000,0000,0000,0000,0000,0000,0000,0000,0000,0000,0000"}}});
    AnswerRecord(Record({{4, "0003"},
                         {9, "0041"},
                         {54, "0007"},
                         {335, Digits(123456, 14) + Digits(0, 14) + Digits(1000, 14)},
                         {560, Digits(700, 14)},
                         {650, Digits(250, 14)},
                         {710, Digits(1000, 14)},
                         {1273, "000000"}}));
    Variant result = Variant::MakeArray(49);
    ClientDataSet* taxes = &taxes_;
    ASSERT_TRUE(LastReduction("19", result, taxes));
    EXPECT_EQ(Rows(taxes_), (std::vector<std::vector<std::string>>{{"01", "18,00", "222,22", "1234,56", "00"},
                                                                   {"03", "05,00", "00,50", "10,00", "00"}}));
    // Gross: the partial totals and the other amounts (1234,56 + 10 + 7 + 2,50 + 10); net: less
    // the discounts and the cancellations.
    EXPECT_EQ((json{result[47].ToString(), result[48].ToString(), result[2].ToDouble()}),
              (json{"1264,06", "1251,56", 126406.0}));
    EXPECT_EQ((json{result[0].ToString(), result[1].ToString(), result[4].ToString(), result[46].ToString(),
                    result[33].ToString(), result[27].ToString(), result[11].ToString()}),
              (json{"0000000041", "0000000003", "0007", "00/00/00", "02,50", "07,00", "0003"}));
    // No movement date: yesterday.
    EXPECT_EQ(result[3].ToDateTime().value, orb::fw::Date().value - 1);
    EXPECT_EQ(NewLogTexts().back().rfind("Bematech_FI_DadosUltimaReducaoMFD00,0003,0041", 0), 0u);
}

TEST_F(ReductionData, FailedCapturesLeaveWhatTheyMustAndFallBack) {
    // The first capture fails, the second answers: the head of the array only.
    FailNext("Bematech_FI_DadosUltimaReducaoMFD", 0);
    Variant result = Variant::MakeArray(49);
    ClientDataSet* taxes = &taxes_;
    EXPECT_TRUE(LastReduction("18", result, taxes));
    EXPECT_EQ(result[0].ToString(), "0000000000");
    for (int i = 5; i < 49; ++i) EXPECT_TRUE(result[static_cast<std::size_t>(i)].IsUnassigned()) << i;
    EXPECT_FALSE(taxes_.Active());

    // Both fail: the fallback values, false.
    FailNext("Bematech_FI_DadosUltimaReducaoMFD", 0, 2);
    EXPECT_FALSE(LastReduction("18", result, taxes));
    EXPECT_EQ((json{result[0].ToString(), result[1].ToString(), result[4].ToString(), result[2].ToInt()}),
              (json{"", "", "", 0}));
    EXPECT_EQ(result[3].ToDouble(), orb::fw::Date().value - 1000);

    // Type 34 failing: every element "0".
    FailNext("Bematech_FI_DadosUltimaReducaoCV0909", 0);
    EXPECT_FALSE(LastReduction("34", result, taxes));
    for (int i = 0; i < 49; ++i) EXPECT_EQ(result[static_cast<std::size_t>(i)].ToString(), "0") << i;
    EXPECT_THROW(LastReduction("x", result, taxes), orb::fw::EConvertError);
}

TEST_F(ReductionData, CommaRecordGivesTheHeadAndTheTaxedTotalsOnce) {
    Start(json{{"model", 34}});
    DayAndReduction();
    Variant result = Variant::MakeArray(49);
    ClientDataSet* taxes = &taxes_;
    ASSERT_TRUE(LastReduction("34", result, taxes));
    const json state = State();
    const json& z = state["fiscalMemory"][0];
    EXPECT_EQ(result[0].ToString(), "0001");
    EXPECT_EQ(result[1].ToString(), "0001");
    EXPECT_EQ(result[2].ToDouble(), z["gross"].get<double>());
    const std::string movement = z["movement"];
    EXPECT_EQ(result[46].ToString(), movement.substr(6, 2) + "/" + movement.substr(4, 2) + "/" + movement.substr(2, 2));

    // The taxed section lies far into the record; a second capture replaces its rows.
    EnsureDataModule().cdsImpostoRedZ.Close();
    EnsureDataModule().cdsImpostoRedZ.ClearFieldDefs();
    const auto date = orb::fw::EncodeDate(2026, 12, 5);
    for (int i = 0; i < 2; ++i) RetornaImpostoIcms("0001", date, taxes);
    const auto rows = Rows(taxes_);
    ASSERT_EQ(rows.size(), 3u);  // the three sales-tax rates; the service rate is not ICMS
    EXPECT_EQ((std::vector<std::string>{rows[0][2], rows[0][3], rows[0][4], rows[0][5], rows[0][6]}),
              (std::vector<std::string>{"01", "18", "12,34", orb::fw::FloatToStr(12.34 * 18 / 100), "T"}));

    // A record with no taxed section adds nothing.
    Sim({{"sim", "answer"}, {"entry", "Bematech_FI_DadosUltimaReducaoCV0909"}, {"values", {"0001,0000,0001"}}});
    RetornaImpostoIcms("0002", date, taxes);
    EXPECT_EQ(Rows(taxes_).size(), 3u);
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
    // The X-reading text as the printer writes it, to be edited; the next reading writes nothing.
    Texts PrinterText() {
        EXPECT_EQ(Bematech_FI_LeituraXSerial(), 1);
        FailNext("Bematech_FI_LeituraXSerial", 1);
        return orb::test::ReadLines(SystemPath("Retorno.txt"));
    }
    void WriteText(const Texts& lines) {
        std::string text;
        for (const auto& l : lines) text += l + "\r\n";
        orb::platform::WriteFile(SystemPath("Retorno.txt"), text);
    }
    static int Find(const Texts& lines, const std::string& line) {
        return static_cast<int>(std::find(lines.begin(), lines.end(), line) - lines.begin());
    }
    std::string ExportFile() {
        std::string date = "00000000";
        Bematech_FI_DataMovimento(date.data());
        return Home() + "/Dados/Reduções/BemaMP2000 - " + date.substr(0, 4) + "20" + date.substr(4, 2) + ".txt";
    }
    ClientDataSet types_{"types"}, reduction_{"reduction"}, held_{"held"}, nonFiscal_{"nonFiscal"};
};

TEST_F(ReductionExport, PaymentsOfTheSameTypeAreAddedAndUnknownOnesLeftOut) {
    std::string none;
    ASSERT_EQ(Bematech_FI_Suprimento(none.assign("10,00").data(), (std::string("Dinheiro")).data()), 1);
    ASSERT_EQ(Bematech_FI_Suprimento(none.assign("5,50").data(), (std::string("Especie")).data()), 1);
    ASSERT_EQ(Bematech_FI_Suprimento(none.assign("3,00").data(), (std::string("Cheque")).data()), 1);
    ASSERT_TRUE(Export());
    EXPECT_EQ(Rows(held_).size(), 1u);
    held_.First();
    EXPECT_EQ(held_.FieldByName("CDTIPORECE").AsString(), "001");
    EXPECT_EQ(held_.FieldByName("VRFORMPGTORZ").AsFloat(), 15.5);
    // The text is kept as the export file, replaced by a later export of the same day.
    EXPECT_TRUE(fs::exists(ExportFile()));
    ASSERT_TRUE(Export());
    EXPECT_EQ(orb::test::ReadLines(ExportFile()), orb::test::ReadLines(SystemPath("Retorno.txt")));
}

TEST_F(ReductionExport, FailedReadingLeavesTheTablesAndTakesNoStaleText) {
    WriteText({"-------CONTADORES-------", "texto de ontem"});
    FailNext("Bematech_FI_LeituraXSerial", 0);
    EXPECT_FALSE(Export());
    EXPECT_EQ(Rows(held_), (std::vector<std::vector<std::string>>{{"9999"}}));
    EXPECT_FALSE(fs::exists(ExportFile()));
    // A printer type without figures: nothing read, true.
    ForgetSoFar();
    EXPECT_TRUE(Export(99));
    EXPECT_EQ(Rows(held_), (std::vector<std::vector<std::string>>{{"9999"}}));
    EXPECT_EQ(JournalEntries({"Bematech_FI_LeituraXSerial"}), Texts{});
}

TEST_F(ReductionExport, MissingHeadingSkipsItsSectionAndATextCutShortIsAnError) {
    Texts text = PrinterText();
    text.erase(text.begin() + Find(text, "-------CONTADORES-------"));
    WriteText(text);
    ASSERT_TRUE(Export());
    reduction_.First();
    EXPECT_EQ(reduction_.FieldByName("NRREDREDZ").AsString(), "");  // skipped, not read from the top
    EXPECT_EQ(reduction_.FieldByName("NRULTCFREDZ").AsString(), "0000000001");

    // The ICMS section runs to the end of the text: the error is shown, false.
    text.resize(static_cast<std::size_t>(Find(text, "----------ICMS----------") + 3));
    WriteText(text);
    FailNext("Bematech_FI_LeituraXSerial", 1);
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(Export());
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].kind, 3);
    EXPECT_EQ(Rows(reduction_).size(), 1u);  // what was read is still handed over
}

TEST_F(ReductionExport, QueriedTaxRowsMarkTheServiceRateAndPassOverAnEmptySlot) {
    // The service rate programmed between two sales-tax rates.
    Start(json{{"model", 27}, {"rates", {{{"value", 18.0}}, {{"value", 5.0}, {"service", true}}, {{"value", 12.0}}}}});
    Sale();
    ASSERT_TRUE(Export(27));
    const auto rows = Rows(taxes_);
    ASSERT_EQ(rows.size(), 3u);
    auto figures = [](const std::vector<std::string>& row) {
        return std::vector<std::string>{row[2], row[3], row[4], row[5], row[6]};
    };
    EXPECT_EQ(figures(rows[0]),
              (std::vector<std::string>{"01", "18", "12,34", orb::fw::FloatToStr(12.34 * 18 / 100), "T"}));
    EXPECT_EQ(figures(rows[1]), (std::vector<std::string>{"02", "5", "10", "0,5", "S"}));
    EXPECT_EQ(figures(rows[2]), (std::vector<std::string>{"03", "12", "0", "0", "T"}));
    reduction_.First();
    EXPECT_EQ(reduction_.FieldByName("VRISSREDZ").AsFloat(), 10.0);

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
    const auto gap = Rows(taxes_);
    ASSERT_EQ(gap.size(), 2u);
    EXPECT_EQ(figures(gap[0]), (std::vector<std::string>{"01", "18", "10", "1,8", "T"}));
    EXPECT_EQ(figures(gap[1]), (std::vector<std::string>{"03", "12", "5", "0,6", "T"}));
}

}  // namespace
