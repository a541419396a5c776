// The non-fiscal scenarios kept with the tests (tests/cli/scenarios), run through the orb program as a
// person runs them: what the printer was told and printed, the ledger records handed to the host and
// the debug-log entries of each document.
#include <array>

#include "ScenarioSupport.h"
#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"

namespace orb::cli::testing {
namespace {

const std::string kStatus = "Bematech_FI_RetornoImpressora [6,0,0] -> 1";
const std::string kCut = std::string(20, '~') + " corte " + std::string(21, '~');

// One printer call of a document: the journal's line for it, the debug-log entry it wrote (none
// for a status read), and whether the printer's status was read right after it.
struct PrinterCall {
    std::string journal, log;
    bool checked = false;
};
std::string Entry(const std::string& entry, const Json& args = Json::array()) {
    return entry + " " + args.dump() + " -> 1";
}
PrinterCall Query(const std::string& entry, const std::string& answer, bool checked) {
    return {Entry(entry, {answer}), Answer(entry, answer), checked};
}
PrinterCall Text(const std::string& piece) {
    return {Entry("Bematech_FI_UsaComprovanteNaoFiscalVinculado", {piece}),
            "Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + piece, true};
}
PrinterCall Logged(const std::string& entry, const Json& args = Json::array()) {
    return {Entry(entry, args), entry, true};
}

class NonFiscalScenario : public ScenarioTest {
protected:
    // The printer's date, time and movement date (DDMMYY, HHMMSS, DDMMYY) as the last ledger queries
    // of the document read them (the printer's clock runs, so the scenario cannot fix them).
    std::array<std::string, 3> Dates() const {
        std::array<std::string, 3> d;
        for (const Json& call : LastSim("journal")) {
            if (call["entry"] == "Bematech_FI_DataHoraImpressora")
                d = {call["args"][0].get<std::string>(), call["args"][1].get<std::string>(), d[2]};
            if (call["entry"] == "Bematech_FI_DataMovimento") d[2] = call["args"][0].get<std::string>();
        }
        for (const std::string& part : d) EXPECT_EQ(part.size(), 6u) << part;
        return d;
    }
    // The two date queries that close every ledger record.
    std::vector<PrinterCall> LedgerDates() const {
        const auto [date, time, movement] = Dates();
        return {Query("Bematech_FI_DataMovimento", movement, true),
                {Entry("Bematech_FI_DataHoraImpressora", {date, time}),
                 Answer("Bematech_FI_DataHoraImpressora", date + time + time), true}};
    }
    // The dates go to the host as date-times of this century.
    Json LedgerRecord(const std::string& coupon, const std::string& operations, const std::string& reports,
                      const std::string& credits, const std::string& type) const {
        const auto [date, time, movement] = Dates();
        auto iso = [](const std::string& d, const std::string& t) {
            return Json{{"datetime", "20" + d.substr(4, 2) + "-" + d.substr(2, 2) + "-" + d.substr(0, 2) + "T" +
                                         t.substr(0, 2) + ":" + t.substr(2, 2) + ":" + t.substr(4, 2)}};
        };
        return Json::array(
            {kSerial, coupon, operations, reports, credits, type, "", iso(date, time), iso(movement, "000000"), ""});
    }

    // The document made exactly these calls, the last in the journal, and wrote their entries last
    // in the log, right after the entry of the step before them (whose text starts as given).
    void ExpectCalls(const std::vector<PrinterCall>& calls, const std::string& before) const {
        Texts journal, expected;
        for (const PrinterCall& c : calls) {
            journal.push_back(c.journal);
            if (!c.log.empty()) expected.push_back(c.log);
            if (c.checked) journal.push_back(kStatus);
        }
        EXPECT_EQ(Journal(), journal);
        const Texts log = LogEntries(Home());
        ASSERT_GT(log.size(), expected.size());
        const auto first = log.end() - static_cast<std::ptrdiff_t>(expected.size());
        EXPECT_EQ(Texts(first, log.end()), expected);
        EXPECT_EQ((first - 1)->rfind(before, 0), 0u) << *(first - 1);
    }

    // The reply to the scenario's one call of this operation, which went through without a dialog.
    Json OnlyCall(const std::string& operation) const {
        int calls = 0;
        for (const Json& reply : run_.replies) calls += reply.value("call", "") == operation;
        EXPECT_EQ(calls, 1) << operation;
        const Json reply = Reply(operation);
        EXPECT_EQ(reply["result"], true) << reply.dump();
        EXPECT_TRUE(reply["dialogs"].empty()) << reply["dialogs"].dump();
        return reply;
    }
};

TEST_F(NonFiscalScenario, TransferReceiptPrintsBothCopiesInTheCardPaymentsSlip) {
    RunScenario("transfer-receipt.jsonl");
    const Json tef = OnlyCall("ImprimeTef");

    // The customer's copy has its last two texts joined by a backslash and no final line feed: the
    // line feed appended to it is met first, and the backslash before it becomes a line feed. The
    // store's copy of six lines goes in two pieces of four steps.
    const std::string customer =
        "REDE CARTOES\nCOMPROVANTE DE PAGAMENTO - VIA CLIENTE\nVISA CREDITO A VISTA\nCARTAO ************1234\n"
        "VALOR APROVADO: R$ 45,90\nAUT: 123456\nNSU: 000789\n";
    const std::string store1 =
        "REDE CARTOES\nCOMPROVANTE DE PAGAMENTO - VIA ESTABELECIMENTO\nVISA CREDITO A VISTA\nCARTAO ************1234\n";
    const std::string store2 = "VALOR APROVADO: R$ 45,90\nAUT: 123456 NSU: 000789\n";
    const auto dates = LedgerDates();
    ExpectCalls({{kStatus, ""},  // the printer check
                 {kStatus, ""},
                 Query("Bematech_FI_NumeroCupom", "000001", false),
                 // the payment method cut to the printer's 16 characters
                 {Entry("Bematech_FI_AbreComprovanteNaoFiscalVinculado", {"Cartao Credito V", "", ""}),
                  "Bematech_FI_AbreComprovanteNaoFiscalVinculado : Cartao Credito V", true},
                 Query("Bematech_FI_NumeroOperacoesNaoFiscais", "000001", true),
                 Query("Bematech_FI_NumeroCupom", "000002", false),
                 Query("Bematech_FI_ContadorComprovantesCreditoMFD", "000001", true),
                 dates[0],
                 dates[1],
                 Text(customer),
                 {Entry("Bematech_FI_AvancaPapelAcionaGuilhotinaMFD", {5, 1}), ""},
                 Text(store1),
                 Text(store2),
                 // a slip open (2) and pending (64): closed, and no cut after the last copy
                 {Entry("Bematech_FI_StatusEstendidoMFD", {66}), ""},
                 Logged("Bematech_FI_FechaRelatorioGerencial")},
                "Bematech_FI_TerminaFechamentoCupom");

    // The slip of the sale's card payment, both copies with the cut between them.
    Texts body{Columns("COO DO CUPOM FISCAL:", "000001"), Columns("Cartao Credito V", "45,90")};
    for (const auto& l : TextLines(customer)) body.push_back(l);
    for (int i = 0; i < 5; ++i) body.push_back("");
    body.push_back(kCut);
    for (const auto& l : TextLines(store1 + store2)) body.push_back(l);
    EXPECT_EQ(Documents(Roll(), "COMPROVANTE CRÉDITO OU DÉBITO"), (std::vector<Document>{{"000002", body}}));

    // One credit-slip record, taken right after the opening: the slip's own number and counters.
    EXPECT_EQ(tef["ledger"], Json::array({LedgerRecord("000002", "000001", "", "000001", "CC")}));
}

TEST_F(NonFiscalScenario, ManagementReportOfTwentyFiveLinesGoesOutInThreePieces) {
    RunScenario("management-report.jsonl");
    const Json report = OnlyCall("Relatorio_Generico");

    // The scenario's text: 25 lines of the printer's 48 columns, so a piece closes at the eleventh
    // line (10 lines are 490 characters, 11 are 539).
    const std::string text = report["args"][3].get<std::string>();
    const Texts lines = TextLines(text);
    ASSERT_EQ(lines.size(), 25u);
    for (const auto& l : lines) ASSERT_EQ(l.size(), 48u) << l;
    ASSERT_EQ(text.back(), '\n');
    const Texts pieces{text.substr(0, 11 * 49), text.substr(11 * 49, 11 * 49), text.substr(22 * 49)};

    const auto dates = LedgerDates();
    // The step before is the opening's clock check.
    ExpectCalls({{Entry("Bematech_FI_StatusEstendidoMFD", {0}), ""},
                 Logged("Bematech_FI_RelatorioGerencial", {" "}),
                 Text(pieces[0]),
                 Text(pieces[1]),
                 Text(pieces[2]),
                 {Entry("Bematech_FI_StatusEstendidoMFD", {4}), ""},
                 Logged("Bematech_FI_FechaRelatorioGerencial"),
                 Query("Bematech_FI_NumeroOperacoesNaoFiscais", "000001", true),
                 Query("Bematech_FI_NumeroCupom", "000001", false),
                 Query("Bematech_FI_ContadorRelatoriosGerenciaisMFD", "000001", true),
                 dates[0],
                 dates[1]},
                "Bematech_FI_DataHoraImpressora\r\n");

    Texts body{Columns("Geral", "CER:0001")};
    body.insert(body.end(), lines.begin(), lines.end());
    EXPECT_EQ(Documents(Roll(), "RELATÓRIO GERENCIAL"), (std::vector<Document>{{"000001", body}}));

    // Recorded once the report closed, with the report counter.
    EXPECT_EQ(report["ledger"], Json::array({LedgerRecord("000001", "000001", "000001", "", "RG")}));
    EXPECT_TRUE(report["cer"].empty());
}

TEST_F(NonFiscalScenario, CancelledCouponReversesItsPendingSlipFirst) {
    RunScenario("cancelled-coupon.jsonl");
    const Json cancel = OnlyCall("Cancela_Cupom_Imp");
    // The counter stands at the slip (000002): the coupon cancelled is the one below it.
    EXPECT_EQ(cancel["args"][1], Json::array({"000001"}));

    const auto dates = LedgerDates();
    ExpectCalls({{Entry("Bematech_FI_StatusEstendidoMFD", {64}), ""},
                 Query("Bematech_FI_NumeroCupom", "000002", false),
                 Logged("Bematech_FI_EstornoNaoFiscalVinculadoMFD", {"", "", ""}),
                 Query("Bematech_FI_NumeroCupom", "000003", false),
                 dates[0],
                 dates[1],
                 Logged("Bematech_FI_CancelaCupom"),
                 // the grand-total check after it
                 Query("Bematech_FI_GrandeTotal", "000000000000004590", true)},
                "Bematech_FI_FechaRelatorioGerencial");

    const std::string roll = Roll();
    EXPECT_LT(roll.find("ESTORNO DE COMPROVANTE"), roll.find("CUPOM FISCAL CANCELADO"));
    EXPECT_EQ(Documents(roll, "ESTORNO DE COMPROVANTE DE CRÉDITO OU DÉBITO"),
              (std::vector<Document>{{"000003", {Columns("COO DO CUPOM FISCAL:", "000001")}}}));
    EXPECT_EQ(Documents(roll, "CUPOM FISCAL CANCELADO"),
              (std::vector<Document>{
                  {"000004",
                   {Columns("COO DO CUPOM CANCELADO:", "000001"), Columns("CCF DO CUPOM CANCELADO:", "000001"),
                    Columns("VALOR DO CUPOM CANCELADO R$", "45,90")}}}));
    const Json docs = LastSim("docs");  // the printer's state
    EXPECT_EQ(Json::array({docs["slipPending"], docs["coupon"]["cancelled"]}), Json::array({false, true}));

    // The reversal is recorded with the coupon number alone.
    EXPECT_EQ(cancel["ledger"], Json::array({LedgerRecord("000003", "", "", "", "NC")}));

    // The host's grand-total copy now holds the printer's total.
    fw::ClientDataSet copy;
    copy.LoadFromFile((std::filesystem::path(Home()) / "Tambora.cds").string());
    ASSERT_EQ(copy.RecordCount(), 1);
    EXPECT_EQ(hostlib::Uncripto(copy.FieldByName("CAMPO02").AsString(), 1), "45,9");
}

}  // namespace
}  // namespace orb::cli::testing
