// The till's closing against the virtual printer where a piece fails or there is nothing to add
// (the printed receipts and reports and the end-of-day questions are in the cash-closing scenario).
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "slips/CashClosing.h"

namespace {

using namespace Orb00100;
using orb::fw::ClientDataSet;
using orb::fw::FieldType;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
constexpr const char* kClose = "Bematech_FI_FechaRelatorioGerencial";

// What the host passes, with the defaults of a plain till closing.
struct Closing {
    bool print = true, withdrawalOnly = false, keepTables = false, reduction = true;
    std::string reason, remark, envelope = "S", productMode = "X";
    double sales = 110.28, credit = 10;
    std::vector<std::vector<orb::fw::Variant>> movements = {
        {"1", "Sangria Dinheiro", 100.0}, {"5", "Sangria Cartao", 50.0}, {"3", "Suprimento", 20.0}};
};

class CashClosing : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    static void Fill(ClientDataSet& table, const std::vector<orb::test::Column>& columns,
                     const std::vector<std::vector<orb::fw::Variant>>& rows) {
        table.Close();
        table.ClearFieldDefs();
        orb::test::FillTable(table, columns, rows);
    }
    bool Run(const Closing& c) {
        Fill(amounts_,
             {{"NMTIPORECE"}, {"NRENVELOPE"}, {"VRFECHAINF", FieldType::Float}, {"VRFECHADIG", FieldType::Float}},
             {{"Dinheiro", "000001", 100.0, 98.5}, {"Cartao Credito", "000002", 50.0, 50.0}});
        Fill(staff_, {{"CDSUPERVISOR"}, {"NMSUPERVISOR"}, {"CDOPERADOR"}, {"NMOPERADOR"}},
             {{"000010", "MARIA SUPERVISORA", "000020", "JOAO CAIXA"}});
        Fill(movements_, {{"IDTIPOREG"}, {"NMTIPORECE"}, {"VRSAIDA", FieldType::Float}}, c.movements);
        Fill(sales_, {{"VRTOTAL", FieldType::Float}}, {{c.sales}});
        Fill(credit_, {{"VRCARGACREDITO", FieldType::Float}}, {{c.credit}});
        Fill(other_, {{"X"}}, {});
        ClientDataSet* none = nullptr;
        return GeraReciboSangria("", "BE0001", "0001", "001", "", 0, first_, &amounts_, &other_, &sales_, &staff_,
                                 &movements_, &movements_, &sales_, &credit_, {}, c.print, c.reduction, false, none,
                                 none, none, none, tillClosed_, &other_, c.productMode, "N", "N", c.envelope, "001",
                                 c.withdrawalOnly, c.keepTables, c.reduction, c.reason, c.remark);
    }
    ClientDataSet amounts_, staff_, movements_, sales_, credit_, other_;
    std::string first_;
    bool tillClosed_ = true;
};

TEST_F(CashClosing, WithdrawalAnswersWhetherEverythingPrinted) {
    Closing c;
    c.withdrawalOnly = true;
    FailNext(kUsa, 0);
    EXPECT_FALSE(Run(c));
    EXPECT_EQ(Sent(kUsa).size(), 8u);  // the rest still printed
    EXPECT_EQ(Docs()["open"], "");

    // A report that does not open prints no receipt.
    ClearJournal();
    FailNext("Bematech_FI_RelatorioGerencial", 0);
    EXPECT_FALSE(Run(c));
    EXPECT_TRUE(Sent(kUsa).empty());
    EXPECT_EQ(CallCount(kClose), 0);
}

TEST_F(CashClosing, EmptyMovementsCloseTheReportTheReceiptsLeftOpen) {
    Closing c;
    c.movements = {};
    QueueAnswers({false, false});
    EXPECT_FALSE(Run(c));
    EXPECT_EQ(Sent(kUsa).size(), 8u);  // the receipts only
    EXPECT_EQ(CallCount(kClose), 1);
    EXPECT_EQ(Docs()["open"], "");
}

}  // namespace
