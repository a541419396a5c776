// Transfer receipts against the virtual printer: the order of the receipts' copies and cuts, the
// document they go into and its ledger record, an unresponsive printer, and a printer that stops
// mid-receipt (a card payment's slip opened, printed into and closed is the card-slip scenario).

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/StringList.h"
#include "nonfiscal/ManagementReports.h"
#include "nonfiscal/TransferReceipts.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::StringList;
using orb::test::Texts;

constexpr const char* kCard = "Cartao Credito V";  // the printer's name: 16 characters

class TefReceipts : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Fresh();
    }
    void Fresh() { Start({{"payments", {"Dinheiro", {{"name", kCard}, {"linkable", true}}}}}); }
    void CardSale() {
        CardSaleThroughEntryPoints(kCard);
        ForgetSoFar();
    }
    bool Tef(StringList first, StringList second, int mode = 1, const std::string& flag = "N",
             const std::string& host = "PDV", const std::string& method = "Cartao Credito Visa") {
        return ImprimeTef("BE000001", "A", "B", "001", &first, &second, nullptr, nullptr, "", method, "", 0, 0, mode,
                          flag, host);
    }
    // The document as the printer was told to make it: openings, texts, cuts and closes.
    Texts Printed() {
        Texts steps;
        for (const json& call : Journal()) {
            const std::string entry = call.value("entry", "");
            if (entry == "Bematech_FI_AbreComprovanteNaoFiscalVinculado")
                steps.push_back("SLIP " + call["args"][0].get<std::string>());
            else if (entry == "Bematech_FI_RelatorioGerencial")
                steps.push_back("REPORT");
            else if (entry == "Bematech_FI_UsaComprovanteNaoFiscalVinculado")
                steps.push_back(call["args"][0].get<std::string>());
            else if (entry == "Bematech_FI_AvancaPapelAcionaGuilhotinaMFD")
                steps.push_back(call["args"] == json{5, 1} ? "CUT" : "CUT?");
            else if (entry == "Bematech_FI_FechaRelatorioGerencial")
                steps.push_back(call["return"] == 1 ? "CLOSE" : "CLOSE REFUSED");
        }
        return steps;
    }
};

TEST_F(TefReceipts, CopiesAndCutsFollowTheModeTheFlagAndTheHost) {
    struct Case {
        const char* what;
        bool sale = true, reportOpen = false;
        StringList first = {}, second = {};
        int mode = 1;
        const char *flag = "N", *host = "PDV", *method = "Cartao Credito Visa";
        std::vector<bool> answers = {};
        bool ok = true;
        Texts steps = {}, ledger = {};
    };
    const std::string slip = std::string("SLIP ") + kCard;
    // clang-format off
    const Case cases[] = {
        {.what = "two transactions: both copies, cuts between and none after", .first = {"C1", "C2\n"},
         .second = {"S1", "S2"}, .steps = {slip, "C1\n", "CUT", "S1\n", "CUT", "C2\n", "CUT", "S2\n", "CLOSE"},
         .ledger = {"CC"}},
        {.what = "self-service host TAA: no second copies", .first = {"C1", "C2"}, .second = {"S1", "S2"},
         .host = "TAA", .steps = {slip, "C1\n", "CUT", "C2\n", "CLOSE"}, .ledger = {"CC"}},
        {.what = "self-service host APC", .first = {"C1", "C2"}, .second = {"S1", "S2"}, .host = "APC",
         .steps = {slip, "C1\n", "CUT", "C2\n", "CLOSE"}, .ledger = {"CC"}},
        // A shorter second list: the second transaction has a cut and no copy.
        {.what = "without first copies", .first = {"C1", "C2"}, .second = {"S1"}, .flag = "S",
         .steps = {slip, "CUT", "S1\n", "CUT", "CLOSE"}, .ledger = {"CC"}},
        {.what = "copies only in the second list", .second = {"S1"}, .steps = {slip, "CLOSE"}, .ledger = {"CC"}},
        {.what = "nothing at all", .ok = false},
        {.what = "a report mode closes a report left open", .reportOpen = true, .first = {"C1"}, .second = {"S1"},
         .mode = 2, .steps = {"CLOSE", "REPORT", "C1\n", "CUT", "S1\n", "CLOSE"}, .ledger = {"RG"}},
        {.what = "no payment method: a report recorded as a slip", .sale = false, .first = {"C1"}, .method = "",
         .steps = {"REPORT", "C1\n", "CLOSE"}, .ledger = {"CC"}},
        // No coupon: no payment to link a slip to; the operator has it printed as a report.
        {.what = "refused slip, reprinted", .sale = false, .first = {"C1"}, .answers = {true},
         .steps = {slip, "REPORT", "C1\n", "CLOSE"}, .ledger = {"RG"}},
    };
    // clang-format on
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        Fresh();
        if (c.sale) CardSale();
        if (c.reportOpen) {
            ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
            ForgetSoFar();
        }
        QueueAnswers(c.answers);
        EXPECT_EQ(Tef(c.first, c.second, c.mode, c.flag, c.host, c.method), c.ok);
        EXPECT_EQ(Printed(), c.steps);
        EXPECT_EQ(LedgerTypes(), c.ledger);
        EXPECT_EQ(Questions(), Texts(c.answers.size(), orb::test::ReprintQuestion()));
        EXPECT_EQ(Docs()["open"], "");
    }
    EXPECT_FALSE(
        ImprimeTef("BE000001", "A", "B", "001", nullptr, nullptr, nullptr, nullptr, "", "", "", 0, 0, 1, "N", "PDV"));
}

TEST_F(TefReceipts, AnUnresponsivePrinterAsksTheOperatorOnAnAttendedTillOnly) {
    CardSale();
    Power(false);
    EXPECT_FALSE(Tef({"C1"}, {}));
    EXPECT_TRUE(LastDialogIs(orb::test::ReprintQuestion(), 3, "001"));  // the status messages come first
    EXPECT_EQ(Dialogs().back().question, "S");
    EXPECT_TRUE(Printed().empty());

    // The operator switches the printer on and answers yes.
    ForgetSoFar();
    orb::hostlib::Hooks hooks;
    hooks.dialog = [this](orb::hostlib::Dialog& d) {
        if (d.question == "S") Power(true);
        return d.answer = d.question == "S";
    };
    orb::hostlib::InstallHooks(hooks);
    EXPECT_TRUE(Tef({"C1"}, {}));
    EXPECT_EQ(Printed(), (Texts{std::string("SLIP ") + kCard, "C1\n", "CLOSE"}));

    // A self-service till is not asked, nor offered the report.
    orb::hostlib::ResetHooks();
    CardSale();
    boNUtilTaa = false;
    Power(false);
    EXPECT_FALSE(Tef({"C1"}, {}));
    EXPECT_TRUE(Dialogs().empty());
    Fresh();  // no coupon: the slip is refused
    boNUtilTaa = false;
    EXPECT_FALSE(Tef({"C1"}, {}));
    EXPECT_EQ(Printed(), (Texts{std::string("SLIP ") + kCard}));
    EXPECT_TRUE(Dialogs().empty());
}

class TefPrinterStops : public TefReceipts {
protected:
    // Once the slip is recorded, the printer takes `good` more pieces and refuses the next.
    void StopAfter(int good) {
        orb::hostlib::Hooks hooks;
        armed_ = true;
        hooks.ledger = [this, good](const orb::hostlib::NonFiscalDocRecord&) {
            if (!armed_) return;
            armed_ = false;
            if (good > 0) ForceStatus(6, 0, 0, good);
            ForceStatus(6, 0, 1);
        };
        orb::hostlib::InstallHooks(hooks);
    }
    bool armed_ = false;
};

TEST_F(TefPrinterStops, OperatorReprintsEverythingInAManagementReport) {
    CardSale();
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "L" + std::to_string(i) + "\n";
    StopAfter(2);
    QueueAnswers({true});
    EXPECT_TRUE(Tef({twenty, "C2"}, {"S1", "S2"}));
    const Texts pieces = {"L1\nL2\nL3\nL4\n", "L5\nL6\nL7\nL8\n", "L9\nL10\nL11\nL12\n", "L13\nL14\nL15\nL16\n",
                          "L17\nL18\nL19\nL20\n"};
    Texts expected = {std::string("SLIP ") + kCard, pieces[0], pieces[1], pieces[2], "CLOSE", "REPORT"};
    expected.insert(expected.end(), pieces.begin(), pieces.end());
    for (const char* step : {"CUT", "S1\n", "CUT", "C2\n", "CUT", "S2\n", "CLOSE"}) expected.push_back(step);
    EXPECT_EQ(Printed(), expected);
    EXPECT_EQ(LedgerTypes(), (Texts{"CC", "RG"}));
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_EQ(Questions(), Texts{orb::test::ReprintQuestion()});
    const std::string roll = Roll();
    EXPECT_EQ(roll.find("L17"), roll.rfind("L17"));  // the first pass never reached it
}

TEST_F(TefPrinterStops, OperatorGivingUpLeavesTheSlipAsItIs) {
    CardSale();
    StopAfter(1);
    EXPECT_FALSE(Tef({"C1", "C2"}, {"S1", "S2"}));
    EXPECT_EQ(Printed(), (Texts{std::string("SLIP ") + kCard, "C1\n", "CUT", "S1\n"}));
    EXPECT_EQ(Docs()["open"], "slip");
    EXPECT_EQ(LedgerTypes(), Texts{"CC"});
    EXPECT_EQ(Dialogs().back().text, orb::test::ReprintQuestion());
}

TEST_F(TefPrinterStops, RefusedCloseReprintsWithoutClosingAgain) {
    FailNext("Bematech_FI_FechaRelatorioGerencial", 0);
    QueueAnswers({true});
    EXPECT_TRUE(Tef({"C1"}, {}, 2));
    // The report the refused close left open is closed by the next opening, as any report left
    // open is.
    EXPECT_EQ(Printed(), (Texts{"REPORT", "C1\n", "CLOSE REFUSED", "CLOSE", "REPORT", "C1\n", "CLOSE"}));
    EXPECT_EQ(LedgerTypes(), (Texts{"RG", "RG"}));
}

}  // namespace
