// The fiscal memory: what a reduction records, the records of the last reduction at their fixed
// places, the X reading sent to the computer in each model's layout, the fiscal-memory readings
// and the download.
#include <algorithm>
#include <vector>

#include "FiscalSimFixture.h"

namespace simtest {
namespace {

using nlohmann::json;

std::string ReadFile(const std::filesystem::path& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

std::vector<std::string> Lines(const std::string& text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = text.find("\r\n", start)) != std::string::npos; start = end + 2)
        lines.push_back(text.substr(start, end - start));
    return lines;
}

class FiscalMemory : public FiscalSim {
protected:
    // A day: a 10,00 sale at 18 %, an item of 5,00 at the service rate with 1,00 off, an exempt
    // item cancelled, 20,00 supplied and 7,50 withdrawn.
    void Day() {
        ASSERT_EQ(OpenCoupon(), 1);
        ASSERT_EQ(Item("1800", "000010000"), 1);
        ASSERT_EQ(Item("0500", "000005000", "0001000", "0100"), 1);
        ASSERT_EQ(Item("II", "000003000"), 1);
        ASSERT_EQ(Bematech_FI_CancelaItemGenerico(Txt("003")), 1);
        ASSERT_EQ(Bematech_FI_IniciaFechamentoCupom(Txt("d"), Txt("$"), Txt("0")), 1);
        ASSERT_EQ(Bematech_FI_EfetuaFormaPagamento(Txt("Dinheiro"), Txt("14,00")), 1);
        ASSERT_EQ(Bematech_FI_TerminaFechamentoCupom(Txt("")), 1);
        ASSERT_EQ(Bematech_FI_Suprimento(Txt("20,00"), Txt("Dinheiro")), 1);
        ASSERT_EQ(Bematech_FI_Sangria(Txt("7,50")), 1);
    }
    std::vector<std::string> XReading() {
        EXPECT_EQ(Bematech_FI_LeituraXSerial(), 1);
        return Lines(ReadFile(folder_ / "Retorno.txt"));
    }
    static int Find(const std::vector<std::string>& lines, const std::string& line) {
        const auto it = std::find(lines.begin(), lines.end(), line);
        return it == lines.end() ? -1 : static_cast<int>(it - lines.begin());
    }
};

TEST_F(FiscalMemory, ReductionRecordsEveryFigureOfTheDay) {
    Day();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    const json r = Control({{"sim", "state"}})["fiscalMemory"].at(0);
    const json got = {r["crz"],
                      r["cro"],
                      r["ccf"],
                      r["gnf"],
                      r["gross"],
                      r["discounts"],
                      r["cancellations"],
                      r["exempt"],
                      r["supply"],
                      r["withdrawal"],
                      r["taxes"][0]["day"],
                      r["taxes"][3]["day"],
                      r["taxes"][3]["service"],
                      r["methods"][0]["day"],
                      r["movement"]};
    EXPECT_EQ(got, (json{1, 1, 1, 2, 1800, 100, 300, 0, 2000, 750, 1000, 400, true, 2650, "20261205"}));
}

TEST_F(FiscalMemory, LastReductionRecordsKeepTheirFieldsInPlace) {
    // Before any reduction the records are all zeros, the movement date too.
    const std::string none = Answer(Bematech_FI_DadosUltimaReducaoMFD, 1278);
    EXPECT_EQ(none.substr(1272, 6), "000000");
    Day();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    const std::string record = Answer(Bematech_FI_DadosUltimaReducaoMFD, 1278);
    ASSERT_EQ(record.size(), 1278u);
    EXPECT_EQ(record.find(' '), std::string::npos) << "the record fills its whole area";
    const json fields = {record.substr(3, 4),     record.substr(8, 4),     record.substr(315, 18),
                         record.substr(334, 14),  record.substr(376, 14),  record.substr(649, 14),
                         record.substr(709, 14),  record.substr(1177, 14), record.substr(1192, 14),
                         record.substr(1207, 16), record.substr(1272, 6)};
    EXPECT_EQ(fields, (json{"0001", "0001", "000000000000001800", "00000000001000", "00000000000400", "00000000000100",
                            "00000000000300", "00000000000750", "00000000002000", "1800120007000500", "051226"}));

    // The comma record: nothing that reads as a taxed or not-taxed entry before its taxed
    // section, which lies past the first 1,096 characters.
    const std::string comma = Answer(Bematech_FI_DadosUltimaReducaoCV0909, 1278);
    const std::size_t taxed = comma.find('T');
    ASSERT_NE(taxed, std::string::npos);
    EXPECT_GT(taxed, 1096u);
    EXPECT_GT(comma.find('F'), taxed);
    EXPECT_EQ(comma.substr(taxed, 46), "Ta1800,1000,Tb1200,0,Tc0700,0,F100000000000000");
    EXPECT_EQ(comma.substr(0, 23), "0001,05122026,05122026,");

    // The older models' record: counters, grand total and partial totals, the movement date last.
    const std::string older = Answer(Bematech_FI_DadosUltimaReducao, 631);
    EXPECT_EQ(older.substr(0, 35), "0001,0001,000004,000001,000002,0000");
    EXPECT_EQ(older.substr(older.find_last_not_of(' ') - 5, 6), "051226");
}

TEST_F(FiscalMemory, XReadingIsWrittenInTheLayoutOfEachModel) {
    struct Case {
        int model;
        const char* counters;  // heading
        int crzLine;           // lines below it
        const char* payments;
    };
    const Case cases[] = {
        {18, "-------CONTADORES-------", 1, "---MEIOS DE PAGAMENTO---"},
        {19, "                   CONTADORES                   ", 3, "               MEIOS DE PAGAMENTO               "},
        {34, "-------CONTADORES-------", 3, "---MEIOS DE PAGAMENTO---"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.model);
        Reset(c.model);
        Day();
        const auto lines = XReading();
        const int h = Find(lines, c.counters);
        ASSERT_GE(h, 0);
        EXPECT_EQ(lines[static_cast<std::size_t>(h + c.crzLine)].substr(44, 4), "0000");
        const int p = Find(lines, c.payments);
        ASSERT_GE(p, 0);
        EXPECT_EQ(lines[static_cast<std::size_t>(p + 2)].substr(5, 16), "Dinheiro        ");
        EXPECT_EQ(lines[static_cast<std::size_t>(p + 2)].substr(28), "               26,50");
        for (const auto& line : lines) EXPECT_LE(line.size(), 48u) << line;
        // No document was printed and no counter moved.
        EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000003");
    }
    // The service rate is reported apart from the sales-tax rates in every layout.
    const auto lines = XReading();
    const int iss = Find(lines, "                     ISSQN                      ");
    EXPECT_EQ(iss, -1);  // model 34 writes the dashed headings
    const int dashed = Find(lines, "---------ISSQN----------");
    ASSERT_GE(dashed, 0);
    EXPECT_EQ(lines[static_cast<std::size_t>(dashed + 2)],
              "S 5,00" + std::string(7 + 12, ' ') + "4,00 " + std::string(14, ' ') + "0,20");
}

TEST_F(FiscalMemory, MemoryReadingsSelectTheirRangeAndRefuseOneThatCannotBeRead) {
    Day();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    SetClock("2026-12-06T10:00:00");
    Sale();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    Control({{"sim", "roll"}, {"clear", true}});

    EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalReducao(Txt("0002"), Txt("0002")), 1);
    const std::string roll = Roll();
    EXPECT_NE(roll.find("CRZ:0002"), std::string::npos);
    EXPECT_EQ(roll.find("CRZ:0001"), std::string::npos);

    EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalSerialDataMFD(Txt("05/12/2026"), Txt("061226"), Txt("s")), 1);
    const std::string file = ReadFile(folder_ / "Retorno.txt");
    EXPECT_NE(file.find("SIMPLIFICADA"), std::string::npos);
    EXPECT_NE(file.find("0002"), std::string::npos);
    EXPECT_EQ(file.find("CRZ:"), std::string::npos) << "the simplified reading lists no reduction";

    for (auto range : {std::pair{"0003", "0001"}, std::pair{"x", "0002"}, std::pair{"", ""}})
        EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalReducaoMFD(Txt(range.first), Txt(range.second), Txt("C")), -2);
    EXPECT_EQ(Bematech_FI_LeituraMemoriaFiscalData(Txt("32122026"), Txt("01012027")), -2);
}

TEST_F(FiscalMemory, DownloadWritesEveryRecordIntoTheOutputFolder) {
    Day();
    ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt("memoria.mf")), 1);
    const std::string image = ReadFile(folder_ / "memoria.mf");
    ASSERT_GE(image.size(), 27u);
    EXPECT_EQ(image.substr(0, 2), "MF");
    EXPECT_EQ(image[23], 1) << "one record";
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt("")), -2);
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt((folder_ / "no/such/folder/x.mf").string())), -4);
}

}  // namespace
}  // namespace simtest
