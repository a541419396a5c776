// The fiscal memory: what a reduction records, the records of the last reduction at their fixed
// places and the download. The readings and the X reading in each model's layout are proven through
// the module by the readings scenario.
#include "FiscalSimFixture.h"

namespace simtest {
namespace {

using nlohmann::json;

class FiscalMemory : public FiscalSim {
protected:
    // A day closed by a reduction: a 10,00 sale at 18 %, an item of 5,00 at the service rate with
    // 1,00 off, an exempt item cancelled, 20,00 supplied and 7,50 withdrawn.
    void DayAndReduction() {
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
        ASSERT_EQ(Bematech_FI_ReducaoZ(nullptr, nullptr), 1);
    }
};

TEST_F(FiscalMemory, ReductionRecordsEveryFigureOfTheDayInStateAndRecords) {
    // Before any reduction the records are all zeros, the movement date too.
    EXPECT_EQ(Answer(Bematech_FI_DadosUltimaReducaoMFD, 1278).substr(1272, 6), "000000");
    DayAndReduction();
    const json r = Control({{"sim", "state"}})["fiscalMemory"].at(0);
    EXPECT_EQ((json{r["crz"], r["cro"], r["ccf"], r["gnf"], r["gross"], r["discounts"], r["cancellations"], r["exempt"],
                    r["supply"], r["withdrawal"], r["taxes"][0]["day"], r["taxes"][3]["day"], r["taxes"][3]["service"],
                    r["methods"][0]["day"], r["movement"]}),
              (json{1, 1, 1, 2, 1800, 100, 300, 0, 2000, 750, 1000, 400, true, 2650, "20261205"}));

    const std::string record = Answer(Bematech_FI_DadosUltimaReducaoMFD, 1278);
    ASSERT_EQ(record.size(), 1278u);
    EXPECT_EQ(record.find(' '), std::string::npos) << "the record fills its whole area";
    EXPECT_EQ((json{record.substr(3, 4), record.substr(8, 4), record.substr(315, 18), record.substr(334, 14),
                    record.substr(376, 14), record.substr(649, 14), record.substr(709, 14), record.substr(1177, 14),
                    record.substr(1192, 14), record.substr(1207, 16), record.substr(1272, 6)}),
              (json{"0001", "0001", "000000000000001800", "00000000001000", "00000000000400", "00000000000100",
                    "00000000000300", "00000000000750", "00000000002000", "1800120007000500", "051226"}));
    // The comma record: its taxed section, then the not-taxed one.
    const std::string comma = Answer(Bematech_FI_DadosUltimaReducaoCV0909, 1278);
    EXPECT_EQ(comma.substr(0, 23), "0001,05122026,05122026,");
    ASSERT_NE(comma.find('T'), std::string::npos);
    EXPECT_EQ(comma.substr(comma.find('T'), 46), "Ta1800,1000,Tb1200,0,Tc0700,0,F100000000000000");
    // The older models' record: counters, grand total and partial totals, the movement date last.
    const std::string older = Answer(Bematech_FI_DadosUltimaReducao, 631);
    EXPECT_EQ(older.substr(0, 35), "0001,0001,000004,000001,000002,0000");
    EXPECT_EQ(older.substr(older.find_last_not_of(' ') - 5, 6), "051226");
}

TEST_F(FiscalMemory, DownloadWritesEveryRecordIntoTheOutputFolder) {
    DayAndReduction();
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt("memoria.mf")), 1);
    std::ifstream in(folder_ / "memoria.mf", std::ios::binary);
    const std::string image(std::istreambuf_iterator<char>(in), {});
    ASSERT_GE(image.size(), 27u);
    EXPECT_EQ(image.substr(0, 2), "MF");
    EXPECT_EQ(image[23], 1) << "one record";
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt("")), -2);
    EXPECT_EQ(Bematech_FI_DownloadMF(Txt((folder_ / "no/such/folder/x.mf").string())), -4);
}

}  // namespace
}  // namespace simtest
