// Bar codes in a management report of their own, against the virtual printer.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "nonfiscal/Hardware.h"

namespace {

using namespace Orb00100;

class Barcode : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        Prepare();
    }
    void Prepare() { ForgetSoFar(); }
    // The journal line of the bar-code call (null when none was made).
    nlohmann::json BarCodeCall() {
        for (const auto& call : Journal())
            if (call["entry"].get<std::string>().rfind("Bematech_FI_CodigoBarras", 0) == 0) return call;
        return nullptr;
    }
    int Extended() {
        int value = 0;
        Bematech_FI_StatusEstendidoMFD(&value);
        return value;
    }
};

TEST_F(Barcode, EachTypeGoesToItsEntryFittedToItsWidth) {
    struct Case {
        const char* type;
        const char* code;
        const char* entry;
        const char* sent;
    };
    const Case cases[] = {
        {"EAN13", "7891234567895", "Bematech_FI_CodigoBarrasEAN13MFD", "789123456789"},  // check digit dropped
        {"EAN8", "123", "Bematech_FI_CodigoBarrasEAN8MFD", "0000123"},
        {"UPCA", "12345678901", "Bematech_FI_CodigoBarrasUPCAMFD", "12345678901"},
        {"UPCE", "0123456", "Bematech_FI_CodigoBarrasUPCEMFD", "0123456"},
        {"ITF", "1234", "Bematech_FI_CodigoBarrasITFMFD", "00000000001234"},
        {"MSI", "42", "Bematech_FI_CodigoBarrasMSIMFD", "0000042"},
        {"PLESSEY", "42", "Bematech_FI_CodigoBarrasPLESSEYMFD", "0000042"},
        {"ISBN", "85359", "Bematech_FI_CodigoBarrasISBNMFD", "000085359"},
        {"CODABAR", "A12B", "Bematech_FI_CodigoBarrasCODABARMFD", "0000A12B"},
        {"CODE128", "ABC-123", "Bematech_FI_CodigoBarrasCODE128MFD", "000000000ABC-123"},
        {"CODE39", "ABC 123", "Bematech_FI_CodigoBarrasCODE39MFD", "ABC 123"},
        {"CODE93", "X9", "Bematech_FI_CodigoBarrasCODE93MFD", "X9"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.type);
        Prepare();
        EXPECT_TRUE(CodigoBarra("001", "id1", "id2", 34, c.code, c.type));
        const auto call = BarCodeCall();
        ASSERT_FALSE(call.is_null());
        EXPECT_EQ(call["entry"], c.entry);
        EXPECT_EQ(call["args"], nlohmann::json({c.sent}));
        const auto log = NewLogTexts();
        EXPECT_NE(std::find(log.begin(), log.end(), std::string(c.entry) + " : " + c.sent), log.end());
        EXPECT_EQ(Extended() & 4, 0);  // the report was closed
        EXPECT_TRUE(Dialogs().empty());
    }
}

TEST_F(Barcode, Pdf417GoesWithItsFixedShapeAndTheCodeAsGiven) {
    const std::string code(120, '7');
    EXPECT_TRUE(CodigoBarra("001", "", "", 19, code, "PDF417"));
    const auto call = BarCodeCall();
    ASSERT_FALSE(call.is_null());
    EXPECT_EQ(call["entry"], "Bematech_FI_CodigoBarrasPDF417MFD");
    EXPECT_EQ(call["args"], nlohmann::json({4, 8, 2, 0, code}));
}

TEST_F(Barcode, ReportIsOpenedAroundTheCodeAndClosedAfterIt) {
    EXPECT_TRUE(CodigoBarra("001", "id1", "id2", 27, "7891234567895", "EAN13"));
    std::vector<std::string> document;
    for (const std::string& e : JournalEntries())
        if (e == "Bematech_FI_RelatorioGerencial" || e == "Bematech_FI_CodigoBarrasEAN13MFD" ||
            e == "Bematech_FI_FechaRelatorioGerencial")
            document.push_back(e);
    EXPECT_EQ(document, (std::vector<std::string>{"Bematech_FI_RelatorioGerencial", "Bematech_FI_CodigoBarrasEAN13MFD",
                                                  "Bematech_FI_FechaRelatorioGerencial"}));
    EXPECT_NE(Sim({{"sim", "roll"}})["roll"].get<std::string>().find("[EAN13 789123456789]"), std::string::npos);
    // No counter flag: the report is not handed to the host's counter record.
    EXPECT_TRUE(Recorded().cer.empty());
}

TEST_F(Barcode, PrinterWithoutBarCodesIsLeftAlone) {
    EXPECT_TRUE(CodigoBarra("001", "", "", 14, "7891234567895", "EAN13"));
    EXPECT_TRUE(JournalEntries().empty());
    EXPECT_TRUE(NewLogTexts().empty());
}

TEST_F(Barcode, UnknownTypePrintsAnEmptyReport) {
    EXPECT_TRUE(CodigoBarra("001", "", "", 34, "7891234567895", "ean13"));  // types are upper case
    EXPECT_TRUE(BarCodeCall().is_null());
    const auto calls = JournalEntries();
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Bematech_FI_RelatorioGerencial"), calls.end());
    EXPECT_NE(std::find(calls.begin(), calls.end(), "Bematech_FI_FechaRelatorioGerencial"), calls.end());
    const auto log = NewLogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(), "Bematech_FI CODIGO BARRA INDEFINIDO : 7891234567895"), log.end());
    EXPECT_EQ(Extended() & 4, 0);
}

TEST_F(Barcode, RefusedCodeIsToldAndLeavesTheReportOpen) {
    EXPECT_FALSE(CodigoBarra("005", "", "", 34, "ABC", "EAN13"));  // not digits
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs().back().text, "Erro ao enviar comando para a impressora.");
    EXPECT_EQ(Dialogs().back().scheme, "005");
    const auto calls = JournalEntries();
    EXPECT_EQ(std::find(calls.begin(), calls.end(), "Bematech_FI_FechaRelatorioGerencial"), calls.end());
    EXPECT_EQ(Extended() & 4, 4);

    // The next bar code closes the report left behind before it opens its own.
    Prepare();
    EXPECT_TRUE(CodigoBarra("005", "", "", 34, "7891234567895", "EAN13"));
    EXPECT_EQ(Extended() & 4, 0);
}

}  // namespace
