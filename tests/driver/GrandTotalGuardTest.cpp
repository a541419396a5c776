// The grand-total guard against the virtual printer: the host's enciphered copy in Tambora.cds
// compared with the printer's grand total, repaired where allowed and refused where not.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/GrandTotalGuard.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;
using orb::fw::FieldType;

struct TamboraRow {
    std::string branch, till, serial, guarded;
    std::string copy;  // as stored: already enciphered, or a raw text
};

std::string Enc(const std::string& text) { return orb::hostlib::Cripto(text, kSeletorCripto); }

class GrandTotalGuard : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        orb::hostlib::ClearRecorded();
        boClieUtil = false;
    }

    void WriteTambora(const std::vector<TamboraRow>& rows, int copySize = 200) {
        orb::fw::ClientDataSet table;
        table.AddFieldDef("CDFILIAL", FieldType::String, 4);
        table.AddFieldDef("CDCAIXA", FieldType::String, 3);
        table.AddFieldDef("NRSERIEECF", FieldType::String, 200);
        table.AddFieldDef("CAMPO01", FieldType::String, 1);
        table.AddFieldDef("CAMPO02", FieldType::String, copySize);
        table.CreateDataSet();
        for (const TamboraRow& r : rows) {
            table.Append();
            table.FieldByName("CDFILIAL").SetAsString(r.branch);
            table.FieldByName("CDCAIXA").SetAsString(r.till);
            table.FieldByName("NRSERIEECF").SetAsString(Enc(r.serial));
            table.FieldByName("CAMPO01").SetAsString(r.guarded);
            table.FieldByName("CAMPO02").SetAsString(r.copy);
            table.Post();
        }
        table.SaveToFile(TamboraPath());
    }
    // Our till's row with this stored copy, beside another branch's row that must not be touched.
    void WriteOurCopy(const std::string& stored, const std::string& guarded = "S") {
        WriteTambora({{"0002", "001", "BE0001", "S", Enc("1,00")},
                      {"0001", "001", "BE0001", guarded, stored}});
    }
    std::string CopyOf(const std::string& branch) {
        orb::fw::ClientDataSet table;
        table.LoadFromFile(TamboraPath());
        EXPECT_TRUE(table.Locate("CDFILIAL", orb::fw::Variant(branch)));
        const std::string stored = table.FieldByName("CAMPO02").AsString();
        return stored.empty() ? "" : orb::hostlib::Uncripto(stored, kSeletorCripto);
    }
    std::string FileBytes() {
        std::string bytes;
        orb::platform::ReadFile(TamboraPath(), bytes);
        return bytes;
    }
    // The printer's grand total for the next query: 1234,57.
    void PrinterTotal(const std::string& answer = "000000000000123457") {
        Sim({{"sim", "answer"}, {"entry", "Bematech_FI_GrandeTotal"}, {"values", {answer}}});
    }
    bool Guard(const std::string& validate, bool mayRepair, const std::string& branch = "0001") {
        PrinterTotal();
        return Atu_TotGeral(orb::test::NamedParams{{"CDFILIAL", branch},
                                                   {"CDCAIXA", "001"},
                                                   {"NRSERIEIMP", "BE0001"},
                                                   {"ESQUEMACOR", "009"},
                                                   {"IDVALIDA", validate},
                                                   {"BOPODERECOMPORGT", mayRepair}});
    }
    std::string Expected(const char* key) {
        std::string text = DataModule().msgPadrao.Msg(key);
        return text.replace(text.find("%s"), 2, TamboraPath());
    }
};

TEST_F(GrandTotalGuard, EqualTotalsAfterRoundingLeaveTheFileAlone) {
    WriteOurCopy(Enc("1234,565"));
    const std::string before = FileBytes();
    EXPECT_TRUE(Guard("S", false));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GrandTotalGuard, RowsOutsideTheGuardAreNotTouched) {
    WriteOurCopy(Enc("5,00"), "N");
    const std::string before = FileBytes();
    EXPECT_TRUE(Guard("S", false));
    EXPECT_TRUE(Guard("S", false, "0009"));  // no row for this branch
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GrandTotalGuard, WithoutValidationTheCopyIsOverwritten) {
    WriteOurCopy(Enc("1234,57"));
    EXPECT_TRUE(Guard("N", false));
    EXPECT_EQ(CopyOf("0001"), "1234,57");
    WriteOurCopy(Enc("99999,99"));
    EXPECT_TRUE(Guard("N", false));
    EXPECT_EQ(CopyOf("0001"), "1234,57");
    EXPECT_EQ(CopyOf("0002"), "1,00");
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GrandTotalGuard, PlaceholderIsReplacedSilently) {
    WriteOurCopy(Enc("10,10"));
    EXPECT_TRUE(Guard("S", false));
    EXPECT_EQ(CopyOf("0001"), "1234,57");
    EXPECT_TRUE(Dialogs().empty());

    // Under a decimal point the placeholder does not read as 10.10: a plain mismatch.
    orb::fw::Settings().DecimalSeparator = '.';
    orb::fw::Settings().ThousandSeparator = ',';
    WriteOurCopy(Enc("10,10"));
    EXPECT_FALSE(Guard("S", false));
    EXPECT_EQ(CopyOf("0001"), "10,10");
}

TEST_F(GrandTotalGuard, WrongBlankOrUnreadableCopyIsRepairedWhereAllowed) {
    for (const std::string& stored : {Enc("1000,00"), std::string(), std::string("C0FFEE")}) {
        SCOPED_TRACE(stored);
        orb::hostlib::ClearRecorded();
        boClieUtil = false;
        WriteOurCopy(stored);
        EXPECT_TRUE(Guard("S", true));
        EXPECT_EQ(CopyOf("0001"), "1234,57");
        ASSERT_EQ(Dialogs().size(), 1u);
        EXPECT_EQ(Dialogs()[0].text, Expected("ArqConfig_Recompor"));
        EXPECT_EQ(Dialogs()[0].kind, 3);
        EXPECT_EQ(Dialogs()[0].scheme, "009");
        EXPECT_FALSE(boClieUtil);
    }
    // While a customer is served the repair is silent and the flag stays up.
    boClieUtil = true;
    orb::hostlib::ClearRecorded();
    WriteOurCopy(Enc("1000,00"));
    EXPECT_TRUE(Guard("S", true));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(boClieUtil);
}

TEST_F(GrandTotalGuard, MismatchIsRefusedWhereRepairIsNotAllowed) {
    WriteOurCopy(Enc("1000,00"));
    boClieUtil = false;
    EXPECT_FALSE(Guard("S", false));
    EXPECT_EQ(CopyOf("0001"), "1000,00");
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].text, Expected("ArqConfig_Inv4"));

    // A self-service terminal refuses without a word, and the customer flag goes down.
    orb::hostlib::ClearRecorded();
    boNUtilTaa = false;
    boClieUtil = true;
    EXPECT_FALSE(Guard("S", false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(boClieUtil);
}

TEST_F(GrandTotalGuard, BranchWithAQuoteFindsItsRow) {
    WriteTambora({{"0'1", "001", "BE0001", "S", Enc("1000,00")}});
    EXPECT_FALSE(Guard("S", false, "0'1"));
    EXPECT_EQ(Dialogs().at(0).text, Expected("ArqConfig_Inv4"));
}

TEST_F(GrandTotalGuard, FileErrorsAreShownAndLowerTheCustomerFlag) {
    boClieUtil = true;
    EXPECT_TRUE(Guard("S", true));  // no Tambora.cds at all
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_NE(Dialogs()[0].text.find("Tambora.cds"), std::string::npos);
    EXPECT_FALSE(boClieUtil);

    // A copy column too narrow for the cipher: the repair fails and says so.
    orb::hostlib::ClearRecorded();
    WriteTambora({{"0001", "001", "BE0001", "S", ""}}, 20);
    const std::string before = FileBytes();
    EXPECT_FALSE(Guard("S", true));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(Dialogs().back().text, "Field 'CAMPO02' is too small for the grand total");
}

}  // namespace
