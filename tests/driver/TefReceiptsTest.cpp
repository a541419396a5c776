// Transfer receipts against the virtual printer: the order of copies and cuts, the document they
// go into and its ledger record, an unresponsive printer, and a printer that stops mid-receipt
// with the operator's reprint inside a management report.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "framework/Cp1252.h"
#include "framework/StringList.h"
#include "nonfiscal/ManagementReports.h"
#include "nonfiscal/TransferReceipts.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::StringList;

constexpr const char* kCard = "Cartao Credito V";  // the printer's name: 16 characters

class TefReceipts : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        ResetPrinter({{"payments", {"Dinheiro", {{"name", kCard}, {"linkable", true}}}}});
        ASSERT_TRUE(StartModule());
    }
    void CardSale() {
        CardSaleThroughEntryPoints(kCard);
        Forget();
    }
    void Forget() {
        ClearJournal();
        Sim({{"sim", "roll"}, {"clear", true}});
        NewLogTexts();
        orb::hostlib::ClearRecorded();
    }
    bool Tef(StringList* first, StringList* second, int mode = 1, const std::string& flag = "N",
             const std::string& hostKind = "PDV", const std::string& method = "Cartao Credito Visa") {
        return ImprimeTef("BE000001", "A", "B", "001", first, second, nullptr, nullptr, "", method, "", 0, 0, mode,
                          flag, hostKind);
    }
    // The document as the printer was told to make it: openings, texts, cuts and closes.
    std::vector<std::string> Printed() {
        std::vector<std::string> steps;
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
    std::string Roll() { return Sim({{"sim", "roll"}})["roll"].get<std::string>(); }
    std::string OpenDocument() { return Sim({{"sim", "state"}})["docs"]["open"].get<std::string>(); }
    std::vector<std::string> LedgerTypes() {
        std::vector<std::string> types;
        for (const auto& r : Recorded().ledger) types.push_back(r.f6);
        return types;
    }
    static std::string Question() { return CP("Impressora não responde. Imprimir novamente?"); }
    static std::size_t Count(const std::string& text, const std::string& what) {
        std::size_t n = 0;
        for (std::size_t at = text.find(what); at != std::string::npos; at = text.find(what, at + 1)) ++n;
        return n;
    }
    using Steps = std::vector<std::string>;
};

TEST_F(TefReceipts, TwoTransactionsPrintBothCopiesWithCutsBetweenAndNoneAfter) {
    CardSale();
    StringList first{"CLIENTE T1", "CLIENTE T2\n"};
    StringList second{"LOJA T1", "LOJA T2"};
    EXPECT_TRUE(Tef(&first, &second));

    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CLIENTE T1\n", "CUT", "LOJA T1\n", "CUT", "CLIENTE T2\n",
                                "CUT", "LOJA T2\n", "CLOSE"}));
    EXPECT_EQ(OpenDocument(), "");
    EXPECT_EQ(LedgerTypes(), (Steps{"CC"}));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(TefReceipts, SelfServiceHostsGetNoSecondCopies) {
    for (const char* kind : {"TAA", "APC"}) {
        SCOPED_TRACE(kind);
        CardSale();
        StringList first{"CLIENTE T1", "CLIENTE T2"};
        StringList second{"LOJA T1", "LOJA T2"};
        EXPECT_TRUE(Tef(&first, &second, 1, "N", kind));
        EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CLIENTE T1\n", "CUT", "CLIENTE T2\n", "CLOSE"}));
    }
}

TEST_F(TefReceipts, WithoutFirstCopiesEachSecondCopyFollowsACut) {
    CardSale();
    StringList first{"CLIENTE T1", "CLIENTE T2"};
    StringList second{"LOJA T1"};
    EXPECT_TRUE(Tef(&first, &second, 1, "S"));
    // The second list is shorter: the second transaction has a cut and no copy.
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CUT", "LOJA T1\n", "CUT", "CLOSE"}));
}

TEST_F(TefReceipts, ReceiptsAreSentInPiecesWithTheirLineRules) {
    CardSale();
    std::string twenty;
    for (int i = 1; i <= 20; ++i) twenty += "L" + std::to_string(i) + "\n";
    StringList first{"VIA\\CLIENTE\\APROVADA", "REDE\nVALOR 10,00\\AUT 1\n", twenty};
    StringList second;
    EXPECT_TRUE(Tef(&first, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "VIA\\CLIENTE\\APROVADA\n", "CUT",
                                "REDE\nVALOR 10,00\nAUT 1\n", "CUT", "L1\nL2\nL3\nL4\n", "L5\nL6\nL7\nL8\n",
                                "L9\nL10\nL11\nL12\n", "L13\nL14\nL15\nL16\n", "L17\nL18\nL19\nL20\n", "CLOSE"}));
    EXPECT_NE(Roll().find("VIA\\CLIENTE\\APROVADA"), std::string::npos);
}

TEST_F(TefReceipts, ManagementReportModeClosesAReportLeftOpen) {
    ASSERT_TRUE(Relatorio_Gerencial_Imp("001", "A", "B", "", ""));
    Forget();
    StringList first{"CLIENTE T1"};
    StringList second{"LOJA T1"};
    EXPECT_TRUE(Tef(&first, &second, 2));
    EXPECT_EQ(Printed(), (Steps{"CLOSE", "REPORT", "CLIENTE T1\n", "CUT", "LOJA T1\n", "CLOSE"}));
    EXPECT_EQ(LedgerTypes(), (Steps{"RG"}));
    EXPECT_EQ(Sim({{"sim", "state"}})["counters"]["cer"], 2);
}

TEST_F(TefReceipts, NoPaymentMethodPrintsInAReportRecordedAsASlip) {
    Forget();
    StringList first{"CLIENTE T1"};
    StringList second;
    EXPECT_TRUE(Tef(&first, &second, 1, "N", "PDV", ""));
    EXPECT_EQ(Printed(), (Steps{"REPORT", "CLIENTE T1\n", "CLOSE"}));
    EXPECT_EQ(LedgerTypes(), (Steps{"CC"}));
    const auto log = NewLogTexts();
    EXPECT_NE(std::find(log.begin(), log.end(), "Relatorio_Gerencial_Imp : 001 A B  "), log.end());
}

TEST_F(TefReceipts, EmptyListsPrintNothing) {
    CardSale();
    StringList none;
    StringList second{"LOJA T1"};
    // Copies only in the second list: the document is opened and closed empty.
    EXPECT_TRUE(Tef(&none, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CLOSE"}));

    Forget();
    StringList alsoNone;
    EXPECT_FALSE(Tef(&none, &alsoNone));
    EXPECT_FALSE(Tef(nullptr, nullptr));
    EXPECT_TRUE(Printed().empty());
    EXPECT_TRUE(Recorded().ledger.empty());
}

TEST_F(TefReceipts, UnresponsivePrinterAsksTheOperatorFirst) {
    CardSale();
    StringList first{"CLIENTE T1"};
    StringList second;
    Sim({{"sim", "power"}, {"on", false}});
    EXPECT_FALSE(Tef(&first, &second));
    // The status messages, then the question, left unanswered.
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs().back().text, Question());
    EXPECT_EQ(Dialogs().back().question, "S");
    EXPECT_EQ(Dialogs().back().kind, 3);
    EXPECT_EQ(Dialogs().back().scheme, "001");
    EXPECT_TRUE(Printed().empty());

    // The operator switches the printer on and answers yes.
    Forget();
    orb::hostlib::Hooks hooks;
    hooks.dialog = [this](orb::hostlib::Dialog& d) {
        if (d.question == "S") Sim({{"sim", "power"}, {"on", true}});
        d.answer = d.question == "S";
        return d.answer;
    };
    orb::hostlib::InstallHooks(hooks);
    EXPECT_TRUE(Tef(&first, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CLIENTE T1\n", "CLOSE"}));

    // A self-service till is not asked.
    orb::hostlib::ResetHooks();
    CardSale();
    boNUtilTaa = false;
    Sim({{"sim", "power"}, {"on", false}});
    EXPECT_FALSE(Tef(&first, &second));
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(TefReceipts, RefusedSlipIsRetriedAsAManagementReport) {
    Forget();  // no coupon: there is no payment to link a slip to
    StringList first{"CLIENTE T1"};
    StringList second;
    QueueAnswers({true});
    EXPECT_TRUE(Tef(&first, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "REPORT", "CLIENTE T1\n", "CLOSE"}));
    EXPECT_EQ(LedgerTypes(), (Steps{"RG"}));
    EXPECT_EQ(Dialogs().back().text, Question());

    Forget();
    boNUtilTaa = false;
    EXPECT_FALSE(Tef(&first, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V"}));
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
    std::string Twenty() {
        std::string text;
        for (int i = 1; i <= 20; ++i) text += "L" + std::to_string(i) + "\n";
        return text;
    }
};

TEST_F(TefPrinterStops, OperatorReprintsEverythingInAManagementReport) {
    CardSale();
    StringList first{Twenty(), "CLIENTE T2"};
    StringList second{"LOJA T1", "LOJA T2"};
    StopAfter(2);
    QueueAnswers({true});
    EXPECT_TRUE(Tef(&first, &second));

    const Steps all = {"L1\nL2\nL3\nL4\n",
                       "L5\nL6\nL7\nL8\n",
                       "L9\nL10\nL11\nL12\n",
                       "L13\nL14\nL15\nL16\n",
                       "L17\nL18\nL19\nL20\n",
                       "CUT",
                       "LOJA T1\n",
                       "CUT",
                       "CLIENTE T2\n",
                       "CUT",
                       "LOJA T2\n",
                       "CLOSE"};
    Steps expected = {
        "SLIP Cartao Credito V", "L1\nL2\nL3\nL4\n", "L5\nL6\nL7\nL8\n", "L9\nL10\nL11\nL12\n", "CLOSE", "REPORT"};
    expected.insert(expected.end(), all.begin(), all.end());
    EXPECT_EQ(Printed(), expected);
    EXPECT_EQ(LedgerTypes(), (Steps{"CC", "RG"}));
    EXPECT_EQ(OpenDocument(), "");
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs().back().text, Question());
    EXPECT_EQ(Count(Roll(), "L17"), 1u);  // the first pass never reached it
}

TEST_F(TefPrinterStops, OperatorGivingUpLeavesTheSlipAsItIs) {
    CardSale();
    StringList first{"CLIENTE T1", "CLIENTE T2"};
    StringList second{"LOJA T1", "LOJA T2"};
    StopAfter(1);
    EXPECT_FALSE(Tef(&first, &second));
    EXPECT_EQ(Printed(), (Steps{"SLIP Cartao Credito V", "CLIENTE T1\n", "CUT", "LOJA T1\n"}));
    EXPECT_EQ(OpenDocument(), "slip");
    EXPECT_EQ(LedgerTypes(), (Steps{"CC"}));
    EXPECT_EQ(Dialogs().back().text, Question());
}

TEST_F(TefPrinterStops, RefusedCloseReprintsWithoutClosingAgain) {
    Forget();
    StringList first{"CLIENTE T1"};
    StringList second;
    FailNext("Bematech_FI_FechaRelatorioGerencial", 0);
    QueueAnswers({true});
    EXPECT_TRUE(Tef(&first, &second, 2));
    // The report the refused close left open is closed by the next opening, as any report left
    // open is.
    EXPECT_EQ(Printed(),
              (Steps{"REPORT", "CLIENTE T1\n", "CLOSE REFUSED", "CLOSE", "REPORT", "CLIENTE T1\n", "CLOSE"}));
    EXPECT_EQ(LedgerTypes(), (Steps{"RG", "RG"}));
}

}  // namespace
