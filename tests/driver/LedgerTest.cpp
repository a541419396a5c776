// The non-fiscal document ledger against the virtual printer: which counters each document
// type carries, the two dates, and a record that cannot be made.
#include <gtest/gtest.h>

#include <stdexcept>

#include "TestSupport.h"
#include "driver/Globals.h"
#include "framework/DateTime.h"
#include "nonfiscal/Ledger.h"

namespace {

using namespace Orb00100;

class Ledger : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        orb::hostlib::ClearRecorded();
    }
    void Answer(const char* entry, nlohmann::json values) {
        Sim({{"sim", "answer"}, {"entry", entry}, {"values", values}});
    }
    // Known counters and dates for the next record.
    void PrinterAnswers() {
        Answer("Bematech_FI_NumeroOperacoesNaoFiscais", {"000042"});
        Answer("Bematech_FI_NumeroCupom", {"000123"});
        Answer("Bematech_FI_ContadorRelatoriosGerenciaisMFD", {"000007"});
        Answer("Bematech_FI_ContadorComprovantesCreditoMFD", {"000003"});
        Answer("Bematech_FI_DataMovimento", {"040126"});
        Answer("Bematech_FI_DataHoraImpressora", {"050126", "143005"});
    }
};

TEST_F(Ledger, EachDocumentTypeCarriesItsOwnCounters) {
    struct Case {
        const char* type;
        const char* operations;
        const char* reports;
        const char* credit;
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
        PrinterAnswers();
        GravaDocumentosNaoFiscais("BE0001", "005", c.type, "mesa 12", "");
        ASSERT_EQ(Recorded().ledger.size(), 1u);
        const orb::hostlib::NonFiscalDocRecord& r = Recorded().ledger[0];
        EXPECT_EQ(r.f1, "BE0001");
        EXPECT_EQ(r.f2, "000123");
        EXPECT_EQ(r.f3, c.operations);
        EXPECT_EQ(r.f4, c.reports);
        EXPECT_EQ(r.f5, c.credit);
        EXPECT_EQ(r.f6, c.type);
        EXPECT_EQ(r.f7, "mesa 12");
        EXPECT_EQ(r.dt1, orb::fw::EncodeDateTime(2026, 1, 5, 14, 30, 5));
        EXPECT_EQ(r.dt2, orb::fw::EncodeDate(2026, 1, 4));
        EXPECT_EQ(r.f10, "");
    }
}

TEST_F(Ledger, RecordThatCannotBeMadeIsShownAndNotWritten) {
    Answer("Bematech_FI_DataHoraImpressora", {"xx0126", "143005"});
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    EXPECT_TRUE(Recorded().ledger.empty());
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].text, "'xx/01/26 14:30:05' is not a valid date and time");
    EXPECT_EQ(Dialogs()[0].kind, 3);
    EXPECT_EQ(Dialogs()[0].scheme, "005");

    // The host's own service failing is shown the same way.
    orb::hostlib::ClearRecorded();
    orb::hostlib::Hooks hooks;
    hooks.ledger = [](const orb::hostlib::NonFiscalDocRecord&) {
        throw std::runtime_error("banco de dados fora do ar");
    };
    orb::hostlib::InstallHooks(hooks);
    EXPECT_NO_THROW(GravaDocumentosNaoFiscais("BE0001", "005", "LX", "", ""));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].text, "banco de dados fora do ar");
}

}  // namespace
