// The grand-total guard against the virtual printer: the host's enciphered copy in Tambora.cds
// compared with the printer's grand total, repaired where allowed and refused where not.

#include <filesystem>

#include "TestSupport.h"
#include "connection/GrandTotalGuard.h"
#include "driver/Globals.h"
#include "framework/FormatSettings.h"
#include "platform/Platform.h"

namespace {

using namespace Orb00100;

using orb::test::Enciphered;

class GrandTotalGuard : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start();
    }
    void WriteOurCopy(const std::string& stored) { orb::test::WriteTambora({{"0001", "001", "BE0001", "S", stored}}); }
    std::string FileBytes() {
        std::string bytes;
        orb::platform::ReadFile(TamboraPath(), bytes);
        return bytes;
    }
    // The guard, with the printer's grand total at 1234,57 for its query.
    bool Guard(const std::string& validate, bool mayRepair, const std::string& branch = "0001",
               const std::string& printerTotal = "000000000000123457") {
        SimAnswer("Bematech_FI_GrandeTotal", {printerTotal});
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
        std::string stored, validate = "S", guarded = "S", branch = "0001", asked = "0001",
                            printerTotal = "000000000000123457";
        bool point = false, mayRepair = false, result = true;
        const char* copyAfter = nullptr;  // nullptr: the file is left byte for byte as it was
        const char* dialogKey = nullptr;  // nullptr: nothing shown
    };
    const std::string wrong = Enciphered("1000,00");
    // clang-format off
    const Case cases[] = {
        {.what = "equal after rounding", .stored = Enciphered("1234,565")},
        {.what = "placeholder replaced silently", .stored = Enciphered("10,10"), .copyAfter = "1234,57"},
        {.what = "no validation overwrites an equal copy", .stored = Enciphered("1234,57"), .validate = "N",
         .copyAfter = "1234,57"},
        {.what = "no validation overwrites a wrong copy", .stored = wrong, .validate = "N", .copyAfter = "1234,57"},
        {.what = "wrong copy repaired", .stored = wrong, .mayRepair = true, .copyAfter = "1234,57",
         .dialogKey = "ArqConfig_Recompor"},
        {.what = "blank copy repaired", .stored = "", .mayRepair = true, .copyAfter = "1234,57",
         .dialogKey = "ArqConfig_Recompor"},
        {.what = "undecipherable copy repaired", .stored = "C0FFEE", .mayRepair = true, .copyAfter = "1234,57",
         .dialogKey = "ArqConfig_Recompor"},
        {.what = "wrong copy refused", .stored = wrong, .result = false, .copyAfter = "1000,00",
         .dialogKey = "ArqConfig_Inv4"},
        {.what = "blank copy refused", .stored = "", .result = false, .copyAfter = "", .dialogKey = "ArqConfig_Inv4"},
        // A printer that gives no total fails the guard, whatever is asked, and nothing is written.
        {.what = "silent printer, repair allowed", .stored = wrong, .printerTotal = std::string(18, ' '),
         .mayRepair = true, .result = false, .dialogKey = "ERRO_COM_ECF"},
        {.what = "silent printer, no validation", .stored = wrong, .validate = "N", .printerTotal = "",
         .result = false, .dialogKey = "ERRO_COM_ECF"},
        {.what = "a row outside the guard", .stored = wrong, .guarded = "N"},
        {.what = "no row for the branch", .stored = wrong, .asked = "0009"},
        {.what = "a branch with a quote", .stored = wrong, .branch = "0'1", .asked = "0'1", .result = false,
         .copyAfter = "1000,00", .dialogKey = "ArqConfig_Inv4"},
        {.what = "a placeholder under a decimal point is a plain mismatch", .stored = Enciphered("10,10"),
         .point = true, .result = false, .copyAfter = "10,10", .dialogKey = "ArqConfig_Inv4"},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        orb::hostlib::ClearRecorded();
        boClieUtil = false;
        orb::fw::ResetSettings();
        if (c.point) orb::fw::Settings().DecimalSeparator = '.', orb::fw::Settings().ThousandSeparator = ',';
        // Our till's row beside another branch's row that must not be touched.
        orb::test::WriteTambora(
            {{"0002", "001", "BE0001", "S", Enciphered("1,00")}, {c.branch, "001", "BE0001", c.guarded, c.stored}});
        const std::string before = FileBytes();
        EXPECT_EQ(Guard(c.validate, c.mayRepair, c.asked, c.printerTotal), c.result);
        if (c.copyAfter) {
            EXPECT_EQ(GrandTotalCopy(c.branch), c.copyAfter);
            EXPECT_EQ(GrandTotalCopy("0002"), "1,00");
        } else {
            EXPECT_EQ(FileBytes(), before);
        }
        EXPECT_EQ(Dialogs().size(), c.dialogKey ? 1u : 0u);
        if (c.dialogKey) {
            const std::string text = CatalogText(c.dialogKey);
            EXPECT_TRUE(LastDialogIs(text.find("%s") == std::string::npos ? text : Expected(c.dialogKey), 3, "009"));
        }
        EXPECT_FALSE(boClieUtil);
    }
}

TEST_F(GrandTotalGuard, WhileACustomerIsServedNothingIsShown) {
    // The repair is silent and the flag stays up.
    boClieUtil = true;
    WriteOurCopy(Enciphered("1000,00"));
    EXPECT_TRUE(Guard("S", true));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_TRUE(boClieUtil);

    // A self-service terminal refuses without a word, and the customer flag goes down.
    boNUtilTaa = false;
    WriteOurCopy(Enciphered("1000,00"));
    EXPECT_FALSE(Guard("S", false));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(boClieUtil);
}

TEST_F(GrandTotalGuard, FileErrorsAreShownAndLowerTheCustomerFlag) {
    boClieUtil = true;
    EXPECT_FALSE(Guard("S", true));  // no Tambora.cds at all: no copy vouches for the printer
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

    // A read-only file is refused, never replaced.
    orb::hostlib::ClearRecorded();
    WriteOurCopy("");
    namespace fs = std::filesystem;
    fs::permissions(TamboraPath(), fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
    const std::string readOnly = FileBytes();
    EXPECT_FALSE(Guard("S", true));
    EXPECT_EQ(FileBytes(), readOnly);
    EXPECT_NE(Dialogs().back().text.find("Cannot create file"), std::string::npos) << Dialogs().back().text;
    fs::permissions(TamboraPath(), fs::perms::owner_write, fs::perm_options::add);

    // Another program's copy longer than the column the file declares is kept whole when ours is
    // repaired.
    const std::string longer = Enciphered("98765432,10") + std::string(30, 'x');
    orb::test::WriteTambora({{"0002", "001", "BE0001", "S", longer}, {"0001", "001", "BE0001", "S", ""}}, 100);
    std::string file = FileBytes();
    ASSERT_NE(file.find("WIDTH=\"100\""), std::string::npos) << file;
    orb::platform::WriteFile(TamboraPath(), file.replace(file.find("WIDTH=\"100\""), 11, "WIDTH=\"60\""));
    EXPECT_TRUE(Guard("S", true));
    orb::fw::ClientDataSet table;
    table.LoadFromFile(TamboraPath());
    ASSERT_TRUE(table.Locate("CDFILIAL", orb::fw::Variant("0002")));
    EXPECT_EQ(table.FieldByName("CAMPO02").AsString(), longer);
}

}  // namespace
