// Totalizer receipts, the X reading and the Z reduction, and the ledger record each non-fiscal
// document hands the host, against the virtual printer (cash supply and withdrawal are in the
// cash-movements scenario).

#include <stdexcept>

#include "TestSupport.h"
#include "config/Config.h"
#include "driver/Globals.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/CashMovements.h"
#include "nonfiscal/Ledger.h"
#include "readings/Readings.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::test::Texts;

class CashReadingsLedger : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    static constexpr const char* kErroComando = "Erro ao enviar comando para a impressora.";
    std::string MovementDate() {
        std::string area(6, ' ');
        Bematech_FI_DataMovimento(area.data());
        return area;
    }
};

TEST_F(CashReadingsLedger, ReceiptGoesUnderTheLoadedSlotAndARefusalIsShownOnAStaffedTillOnly) {
    Texts slots(5);
    orb::fw::ClientDataSet* unused = nullptr;
    CarregaTotalizador(slots[0], slots[1], slots[2], slots[3], slots[4], "001", 34, unused);
    ASSERT_EQ(slots[1], "04");
    ForgetSoFar();
    EXPECT_TRUE(Cupom_NFiscNVinc("001", slots[1], "25,90", "Dinheiro"));
    EXPECT_EQ(NewLogTexts(), Texts{"Bematech_FI_RecebimentoNaoFiscal : 04 - 25,90 - Dinheiro"});
    EXPECT_EQ(State()["totalizers"][3]["day"], 2590);

    EXPECT_FALSE(Cupom_NFiscNVinc("001", "09", "10,00", "Dinheiro"));  // no such slot
    EXPECT_FALSE(Dialogs().empty());
    EXPECT_NE(Dialogs().back().text, kErroComando);
    orb::hostlib::ClearRecorded();
    boNUtilTaa = false;
    stMensagemTaa.clear();
    EXPECT_FALSE(Cupom_NFiscNVinc("001", "09", "10,00", "Dinheiro"));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(stMensagemTaa.empty());
}

TEST_F(CashReadingsLedger, ReductionKeepsTheMovementDateItClosesAndIsRecordedOncePerDay) {
    ASSERT_TRUE(Suprimento("", "001", 5));  // opens the day's movement without a coupon
    const std::string movement = MovementDate();
    ForgetSoFar();
    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_EQ(stDataCat, movement);
    EXPECT_NE(MovementDate(), movement);  // the day is closed
    EXPECT_EQ(JournalEntries().at(0), "Bematech_FI_DataMovimento");
    EXPECT_EQ(Sent("Bematech_FI_ReducaoZ"), (std::vector<json>{{nullptr, nullptr}}));  // the printer's own clock
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_ReducaoZ;");                         // the date query writes no line
    ASSERT_EQ(LedgerTypes(), Texts{"RZ"});
    EXPECT_EQ(Recorded().ledger[0].f1, "BE0001");
    EXPECT_EQ(Recorded().ledger[0].f3, "000001");  // the supply was the day's non-fiscal operation
    EXPECT_NE(Roll().find("REDU"), std::string::npos);

    // A second reduction of the day is refused and not recorded.
    orb::hostlib::ClearRecorded();
    EXPECT_FALSE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_FALSE(Dialogs().empty());

    // A printer that gives no movement date leaves six blanks; the date's answer is not judged.
    Start();
    ASSERT_TRUE(Suprimento("", "001", 5));
    stDataCat = "010126";
    FailNext("Bematech_FI_DataMovimento", 0);
    EXPECT_TRUE(Reducao_Z_Imp("BE0001", "", "001", ""));
    EXPECT_EQ(stDataCat, "      ");
}

TEST_F(CashReadingsLedger, RefusedXReadingIsShownAndNotRecorded) {
    std::string none;
    ASSERT_EQ(Bematech_FI_AbreCupomMFD(none.data(), none.data(), none.data()), 1);  // a coupon in the way
    EXPECT_FALSE(Leitura_X_Imp("BE0001", "", "003", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(Dialogs().at(0).scheme, "003");
}

TEST_F(CashReadingsLedger, EachDocumentTypeCarriesItsOwnCountersAndTheTwoDates) {
    struct Case {
        const char *type, *operations, *reports, *credit;
    };
    const Case cases[] = {
        {"NC", "", "", ""},
        {"LX", "", "", ""},
        {"MF", "", "", ""},
        {"RZ", "000042", "", ""},
        {"CN", "000042", "", ""},
        {"CM", "000042", "000007", ""},
        {"RV", "000042", "000007", ""},
        {"RG", "000042", "000007", ""},
        {"CC", "000042", "", "000003"},
        {"XY", "000042", "", ""},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        orb::hostlib::ClearRecorded();
        SimAnswer("Bematech_FI_NumeroOperacoesNaoFiscais", {"000042"});
        SimAnswer("Bematech_FI_NumeroCupom", {"000123"});
        SimAnswer("Bematech_FI_ContadorRelatoriosGerenciaisMFD", {"000007"});
        SimAnswer("Bematech_FI_ContadorComprovantesCreditoMFD", {"000003"});
        SimAnswer("Bematech_FI_DataMovimento", {"040126"});
        SimAnswer("Bematech_FI_DataHoraImpressora", {"050126", "143005"});
        GravaDocumentosNaoFiscais("BE0001", "005", c.type, "mesa 12", "");
        ASSERT_EQ(Recorded().ledger.size(), 1u);
        const orb::hostlib::NonFiscalDocRecord& r = Recorded().ledger[0];
        EXPECT_EQ((Texts{r.f1, r.f2, r.f3, r.f4, r.f5, r.f6, r.f7, r.f10}),
                  (Texts{"BE0001", "000123", c.operations, c.reports, c.credit, c.type, "mesa 12", ""}));
        EXPECT_EQ(r.dt1, orb::fw::EncodeDateTime(2026, 1, 5, 14, 30, 5));
        EXPECT_EQ(r.dt2, orb::fw::EncodeDate(2026, 1, 4));
    }
}

TEST_F(CashReadingsLedger, RecordThatCannotBeMadeIsShownAndNotWritten) {
    SimAnswer("Bematech_FI_DataHoraImpressora", {"xx0126", "143005"});
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    EXPECT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(LastDialogIs("'xx/01/26 14:30:05' is not a valid date and time", 3, "005"));
    // The host's own service failing is shown the same way.
    orb::hostlib::ClearRecorded();
    orb::hostlib::Hooks hooks;
    hooks.ledger = [](const orb::hostlib::NonFiscalDocRecord&) { throw std::runtime_error("banco fora do ar"); };
    orb::hostlib::InstallHooks(hooks);
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    EXPECT_EQ(DialogTexts(), Texts{"banco fora do ar"});
}

}  // namespace
