// The cash drawer, the paper cutter and bar codes in a management report of their own, against
// the virtual printer.

#include "TestSupport.h"
#include "nonfiscal/Hardware.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::test::Texts;

class Hardware : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    // The journal line of the bar-code call (null when none was made).
    json BarCodeCall() {
        for (const auto& call : Journal())
            if (call["entry"].get<std::string>().starts_with("Bematech_FI_CodigoBarras")) return call;
        return nullptr;
    }
};

TEST_F(Hardware, DrawerOpensAndTellsItsStateOrNothingWhenThePrinterDoesNotAnswer) {
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "00");
    EXPECT_TRUE(Abre_Gaveta_Imp("001", false));
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "01");
    EXPECT_EQ(NewLogTexts(), (Texts{"Bematech_FI_VerificaEstadoGaveta: 0", "Bematech_FI_AcionaGaveta",
                                    "Bematech_FI_VerificaEstadoGaveta: 1"}));
    Sim({{"sim", "drawer"}, {"open", false}});
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "00");
    EXPECT_TRUE(Dialogs().empty());

    // The library leaves the preset value alone: without the verdict it would read as open.
    FailNext("Bematech_FI_VerificaEstadoGaveta", 0);
    EXPECT_EQ(Estado_Gaveta_Imp("001"), "");
    EXPECT_EQ(NewLogTexts().at(1), "Bematech_FI_VerificaEstadoGaveta: 1");
    EXPECT_FALSE(Dialogs().empty());
    orb::hostlib::ClearRecorded();
    FailNext("Bematech_FI_AcionaGaveta", 0);
    EXPECT_FALSE(Abre_Gaveta_Imp("005", true));
    EXPECT_EQ(Dialogs().at(0).scheme, "005");
}

TEST_F(Hardware, CutterFeedsFiveLinesAndCutsWithoutShowingFailures) {
    EXPECT_TRUE(Guilhotina("001", 0));
    EXPECT_EQ(Sent("Bematech_FI_AvancaPapelAcionaGuilhotinaMFD"), (std::vector<json>{{5, 1}}));
    EXPECT_NE(Roll().find("corte"), std::string::npos);
    EXPECT_EQ(NewLogTexts().front(), "Bematech_FI_AcionaGuilhotinaMFD");
    Sim({{"sim", "paper"}, {"state", "out"}});
    EXPECT_FALSE(Guilhotina("001", 0));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Hardware, EachBarCodeTypeGoesToItsEntryFittedToItsWidthInsideAReport) {
    struct Case {
        const char *type, *code, *entry, *sent;
    };
    const Case cases[] = {
        {"EAN13", "7891234567895", "EAN13MFD", "789123456789"},  // check digit dropped
        {"EAN8", "123", "EAN8MFD", "0000123"},
        {"UPCA", "12345678901", "UPCAMFD", "12345678901"},
        {"UPCE", "0123456", "UPCEMFD", "0123456"},
        {"ITF", "1234", "ITFMFD", "00000000001234"},
        {"MSI", "42", "MSIMFD", "0000042"},
        {"PLESSEY", "42", "PLESSEYMFD", "0000042"},
        {"ISBN", "85359", "ISBNMFD", "000085359"},
        {"CODABAR", "A12B", "CODABARMFD", "0000A12B"},
        {"CODE128", "ABC-123", "CODE128MFD", "000000000ABC-123"},
        {"CODE39", "ABC 123", "CODE39MFD", "ABC 123"},
        {"CODE93", "X9", "CODE93MFD", "X9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        ForgetSoFar();
        EXPECT_TRUE(CodigoBarra("001", "id1", "id2", 34, c.code, c.type));
        const std::string entry = std::string("Bematech_FI_CodigoBarras") + c.entry;
        EXPECT_EQ(JournalEntries({"Bematech_FI_RelatorioGerencial", entry, "Bematech_FI_FechaRelatorioGerencial"}),
                  (Texts{"Bematech_FI_RelatorioGerencial", entry, "Bematech_FI_FechaRelatorioGerencial"}));
        EXPECT_EQ(Sent(entry), (std::vector<json>{{c.sent}}));
        EXPECT_TRUE(orb::test::Has(NewLogTexts(), entry + " : " + c.sent));
        EXPECT_EQ(Extended() & 4, 0);  // the report was closed
        EXPECT_TRUE(Dialogs().empty());
    }
    EXPECT_NE(Roll().find("[CODE93 X9]"), std::string::npos);
    EXPECT_TRUE(Recorded().cer.empty());  // no counter flag: not handed to the host's counter record

    // PDF417 goes with its fixed shape and the code as given.
    ForgetSoFar();
    const std::string code(120, '7');
    EXPECT_TRUE(CodigoBarra("001", "", "", 19, code, "PDF417"));
    EXPECT_EQ(BarCodeCall()["args"], (json{4, 8, 2, 0, code}));
}

TEST_F(Hardware, BarCodesTheModelLacksTypesUnknownAndCodesRefused) {
    // A printer without bar codes is left alone.
    EXPECT_TRUE(CodigoBarra("001", "", "", 14, "7891234567895", "EAN13"));
    EXPECT_TRUE(JournalEntries().empty());
    EXPECT_TRUE(NewLogTexts().empty());

    // An unknown type (types are upper case) prints an empty report.
    EXPECT_TRUE(CodigoBarra("001", "", "", 34, "7891234567895", "ean13"));
    EXPECT_TRUE(BarCodeCall().is_null());
    EXPECT_EQ(JournalEntries({"Bematech_FI_RelatorioGerencial", "Bematech_FI_FechaRelatorioGerencial"}).size(), 2u);
    EXPECT_TRUE(orb::test::Has(NewLogTexts(), "Bematech_FI CODIGO BARRA INDEFINIDO : 7891234567895"));

    // A refused code is told and leaves the report open; the next bar code closes it first.
    ForgetSoFar();
    EXPECT_FALSE(CodigoBarra("005", "", "", 34, "ABC", "EAN13"));  // not digits
    EXPECT_TRUE(LastDialogIs("Erro ao enviar comando para a impressora.", 0, "005"));
    EXPECT_EQ(CallCount("Bematech_FI_FechaRelatorioGerencial"), 0);
    EXPECT_EQ(Extended() & 4, 4);
    EXPECT_TRUE(CodigoBarra("005", "", "", 34, "7891234567895", "EAN13"));
    EXPECT_EQ(Extended() & 4, 0);
}

}  // namespace
