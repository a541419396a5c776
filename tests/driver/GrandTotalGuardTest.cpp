// The grand-total guard against the virtual printer: the host's enciphered copy in Tambora.cds
// compared with the printer's grand total, repaired where allowed and refused where not.
#include <gtest/gtest.h>

#include "TestSupport.h"
#include "driver/Globals.h"
#include "connection/GrandTotalGuard.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;

std::string Enc(const std::string& text) { return orb::hostlib::Cripto(text, kSeletorCripto); }

class GrandTotalGuard : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ASSERT_TRUE(StartModule());
        orb::hostlib::ClearRecorded();
        boClieUtil = false;
    }
    // Our till's row with this stored copy, beside another branch's row that must not be touched.
    void WriteOurCopy(const std::string& stored, const std::string& guarded = "S") {
        orb::test::WriteTambora(
            {{"0002", "001", "BE0001", "S", Enc("1,00")}, {"0001", "001", "BE0001", guarded, stored}});
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
    // The guard, with the printer's grand total at 1234,57 for its query.
    bool Guard(const std::string& validate, bool mayRepair, const std::string& branch = "0001") {
        SimAnswer("Bematech_FI_GrandeTotal", {"000000000000123457"});
        return Atu_TotGeral(orb::test::NamedParams{{"CDFILIAL", branch},
                                                   {"CDCAIXA", "001"},
                                                   {"NRSERIEIMP", "BE0001"},
                                                   {"ESQUEMACOR", "009"},
                                                   {"IDVALIDA", validate},
                                                   {"BOPODERECOMPORGT", mayRepair}});
    }
    std::string Expected(const char* key) {
        std::string text = CatalogText(key);
        return text.replace(text.find("%s"), 2, TamboraPath());
    }
};

TEST_F(GrandTotalGuard, ComparesRepairsOrRefusesTheCopy) {
    struct Case {
        const char* what;
        std::string stored, validate;
        bool mayRepair, result;
        const char* copyAfter;  // nullptr: the file is left byte for byte as it was
        const char* dialogKey;  // nullptr: nothing shown
    };
    const Case cases[] = {
        {"equal after rounding", Enc("1234,565"), "S", false, true, nullptr, nullptr},
        {"placeholder replaced silently", Enc("10,10"), "S", false, true, "1234,57", nullptr},
        {"no validation overwrites an equal copy", Enc("1234,57"), "N", false, true, "1234,57", nullptr},
        {"no validation overwrites a wrong copy", Enc("99999,99"), "N", false, true, "1234,57", nullptr},
        {"wrong copy repaired", Enc("1000,00"), "S", true, true, "1234,57", "ArqConfig_Recompor"},
        {"blank copy repaired", "", "S", true, true, "1234,57", "ArqConfig_Recompor"},
        {"undecipherable copy repaired", "C0FFEE", "S", true, true, "1234,57", "ArqConfig_Recompor"},
        {"wrong copy refused", Enc("1000,00"), "S", false, false, "1000,00", "ArqConfig_Inv4"},
        {"blank copy refused", "", "S", false, false, "", "ArqConfig_Inv4"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orb::hostlib::ClearRecorded();
        boClieUtil = false;
        WriteOurCopy(c.stored);
        const std::string before = FileBytes();
        EXPECT_EQ(Guard(c.validate, c.mayRepair), c.result);
        if (c.copyAfter) {
            EXPECT_EQ(CopyOf("0001"), c.copyAfter);
            EXPECT_EQ(CopyOf("0002"), "1,00");
        } else {
            EXPECT_EQ(FileBytes(), before);
        }
        if (c.dialogKey) {
            ASSERT_EQ(Dialogs().size(), 1u);
            EXPECT_TRUE(IsDialog(Dialogs()[0], Expected(c.dialogKey), 3, "009"));
        } else {
            EXPECT_TRUE(Dialogs().empty());
        }
        EXPECT_FALSE(boClieUtil);
    }
}

TEST_F(GrandTotalGuard, RowsOutsideTheGuardAreNotTouched) {
    WriteOurCopy(Enc("5,00"), "N");
    const std::string before = FileBytes();
    EXPECT_TRUE(Guard("S", false));
    EXPECT_TRUE(Guard("S", false, "0009"));  // no row for this branch
    EXPECT_EQ(FileBytes(), before);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(GrandTotalGuard, APlaceholderUnderADecimalPointIsAPlainMismatch) {
    orb::fw::Settings().DecimalSeparator = '.';
    orb::fw::Settings().ThousandSeparator = ',';
    WriteOurCopy(Enc("10,10"));
    EXPECT_FALSE(Guard("S", false));
    EXPECT_EQ(CopyOf("0001"), "10,10");
}

TEST_F(GrandTotalGuard, WhileACustomerIsServedNothingIsShown) {
    // The repair is silent and the flag stays up.
    boClieUtil = true;
    WriteOurCopy(Enc("1000,00"));
    EXPECT_TRUE(Guard("S", true));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(boClieUtil);

    // A self-service terminal refuses without a word, and the customer flag goes down.
    boNUtilTaa = false;
    WriteOurCopy(Enc("1000,00"));
    EXPECT_FALSE(Guard("S", false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(boClieUtil);
}

TEST_F(GrandTotalGuard, BranchWithAQuoteFindsItsRow) {
    orb::test::WriteTambora({{"0'1", "001", "BE0001", "S", Enc("1000,00")}});
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
    orb::test::WriteTambora({{"0001", "001", "BE0001", "S", ""}}, 20);
    const std::string before = FileBytes();
    EXPECT_FALSE(Guard("S", true));
    EXPECT_EQ(FileBytes(), before);
    EXPECT_EQ(Dialogs().back().text, "Field 'CAMPO02' is too small for the grand total");
}

}  // namespace
