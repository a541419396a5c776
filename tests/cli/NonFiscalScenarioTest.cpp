// The non-fiscal scenarios kept with the tests (tests/cli/scenarios), run through the orb program as a
// person runs them: what the printer was told and printed, the ledger records handed to the host and
// the debug-log entries of each document.
#include "CliTestSupport.h"

#include <regex>
#include <string>
#include <string_view>
#include <vector>

#include "external/hostlib/HostLib.h"
#include "framework/ClientDataSet.h"
#include "framework/DateFormat.h"
#include "framework/DateTime.h"

namespace orb::cli::testing {
namespace {

using Texts = std::vector<std::string>;

constexpr const char* kSerial = "BE091010100011223344";
const std::string kDashes(48, '-');
const std::string kCut = std::string(20, '~') + " corte " + std::string(21, '~');

// A query's log text: the entry point, then the printer's answer on a line of its own.
std::string Answer(const std::string& entry, const std::string& answer) {
    return entry + "\r\nRetorno da Impressora : " + answer;
}

// A line of the printer's 48 columns with its two texts at either edge.
std::string Columns(const std::string& left, const std::string& right) {
    return left + std::string(48 - left.size() - right.size(), ' ') + right;
}

std::string Trimmed(const std::string& line) {
    const std::size_t b = line.find_first_not_of(' ');
    if (b == std::string::npos) return "";
    return line.substr(b, line.find_last_not_of(' ') - b + 1);
}

// One printed document of the roll: the counter line above its title, and what it printed between
// the title and the closing dashes of its footer.
struct Document {
    std::string coo;
    Texts body;
};

std::vector<Document> Documents(const std::string& roll, const std::string& title) {
    std::vector<Document> found;
    const Texts lines = TextLines(roll);
    for (std::size_t t = 1; t < lines.size(); ++t) {
        if (Trimmed(lines[t]) != title) continue;
        std::size_t fab = t + 1;
        while (fab < lines.size() && lines[fab].rfind("FAB:", 0) != 0) ++fab;
        std::size_t dashes = fab;
        while (dashes > t + 1 && lines[dashes - 1] != kDashes) --dashes;
        const std::string& counters = lines[t - 1];
        const std::size_t coo = counters.rfind("COO:");
        found.push_back({coo == std::string::npos ? "" : counters.substr(coo + 4),
                         Texts(lines.begin() + static_cast<std::ptrdiff_t>(t) + 1,
                               lines.begin() + static_cast<std::ptrdiff_t>(dashes > t + 1 ? dashes - 1 : t + 1))});
    }
    return found;
}

// The printer's clock and movement date as the last ledger queries of the document read them
// (the printer's clock runs, so the scenario cannot fix them).
struct PrinterDates {
    std::string date, time, movement;  // DDMMYY, HHMMSS, DDMMYY
    // As the ledger hands them to the host: date-times of this century.
    Json Clock() const {
        return Json{{"datetime", "20" + date.substr(4, 2) + "-" + date.substr(2, 2) + "-" + date.substr(0, 2) + "T" +
                                     time.substr(0, 2) + ":" + time.substr(2, 2) + ":" + time.substr(4, 2)}};
    }
    Json Movement() const {
        return Json{{"datetime", "20" + movement.substr(4, 2) + "-" + movement.substr(2, 2) + "-" +
                                     movement.substr(0, 2) + "T00:00:00"}};
    }
};

class NonFiscalScenario : public OrbProcessTest {
protected:
    // Runs scenarios/<name> in a fresh host folder: every step answers, none with an error.
    void RunScenario(const std::string& name) {
        run_ = Orb({"--home", Home(), "run", ScenarioFile(name)});
        ASSERT_EQ(run_.status, 0) << run_.out << run_.err;
        ASSERT_FALSE(run_.replies.empty());
        for (const Json& reply : run_.replies) {
            ASSERT_FALSE(reply.is_discarded()) << run_.out;
            ASSERT_FALSE(reply.contains("error")) << reply.dump();
        }
    }

    // The reply to the scenario's one call of this operation.
    Json Call(const std::string& operation) const {
        Json found;
        int calls = 0;
        for (const Json& reply : run_.replies) {
            if (reply.value("call", "") != operation) continue;
            found = reply;
            ++calls;
        }
        EXPECT_EQ(calls, 1) << operation;
        return found;
    }

    // Every scenario asks for the roll and the journal (and the state) after its document, last:
    // the field of the last sim reply that has it.
    Json LastSim(const std::string& field) const {
        for (auto it = run_.replies.rbegin(); it != run_.replies.rend(); ++it)
            if (it->contains("sim") && it->contains(field)) return (*it)[field];
        ADD_FAILURE() << "no virtual-printer reply with \"" << field << "\"";
        return Json();
    }
    std::string Roll() const { return LastSim("roll").get<std::string>(); }

    // The journal's calls as "entry [args] -> return", in order.
    Texts Journal() const {
        Texts calls;
        for (const Json& call : LastSim("journal"))
            calls.push_back(call["entry"].get<std::string>() + " " + call["args"].dump() + " -> " +
                            call["return"].dump());
        return calls;
    }

    PrinterDates Dates() const {
        PrinterDates dates;
        for (const Json& call : LastSim("journal")) {
            if (call["entry"] == "Bematech_FI_DataHoraImpressora") {
                dates.date = call["args"][0].get<std::string>();
                dates.time = call["args"][1].get<std::string>();
            } else if (call["entry"] == "Bematech_FI_DataMovimento") {
                dates.movement = call["args"][0].get<std::string>();
            }
        }
        EXPECT_EQ(dates.date.size(), 6u);
        EXPECT_EQ(dates.time.size(), 6u);
        EXPECT_EQ(dates.movement.size(), 6u);
        return dates;
    }
    // The log texts of the two date queries that close every ledger record.
    static Texts LedgerDateLog(const PrinterDates& d) {
        return {Answer("Bematech_FI_DataMovimento", d.movement),
                Answer("Bematech_FI_DataHoraImpressora", d.date + d.time + d.time)};
    }
    static Texts LedgerDateCalls(const PrinterDates& d) {
        return {"Bematech_FI_DataMovimento [\"" + d.movement + "\"] -> 1", "Bematech_FI_RetornoImpressora [6,0,0] -> 1",
                "Bematech_FI_DataHoraImpressora [\"" + d.date + "\",\"" + d.time + "\"] -> 1",
                "Bematech_FI_RetornoImpressora [6,0,0] -> 1"};
    }
    Json LedgerRecord(const std::string& coupon, const std::string& operations, const std::string& reports,
                      const std::string& credits, const std::string& type) const {
        const PrinterDates d = Dates();
        return Json::array({kSerial, coupon, operations, reports, credits, type, "", d.Clock(), d.Movement(), ""});
    }

    // The texts of the debug log: one file for the month, named impdebugMMYY.txt, every entry
    // "dd/mm/yyyy hh:nn:ss - text" and CR LF. A text may hold line ends of its own, so an entry
    // ends only where the next one's time stamp begins a line.
    Texts LogTexts() const {
        const auto logs = platform::FindFiles(Home() + "/impdebug*.txt");
        EXPECT_EQ(logs.size(), 1u);
        if (logs.size() != 1) return {};
        EXPECT_EQ(std::filesystem::path(logs[0]).filename().string(),
                  "impdebug" + fw::FormatDateTime("mmyy", fw::Now()) + ".txt");
        const std::string log = ReadAll(logs[0]);
        static const std::regex stamp(R"(\d\d/\d\d/\d{4} \d\d:\d\d:\d\d - )");
        std::vector<std::pair<std::size_t, std::size_t>> entries;  // stamp start, text start
        for (auto it = std::sregex_iterator(log.begin(), log.end(), stamp); it != std::sregex_iterator(); ++it) {
            const auto at = static_cast<std::size_t>(it->position());
            if (at == 0 || log[at - 1] == '\n') entries.emplace_back(at, at + static_cast<std::size_t>(it->length()));
        }
        EXPECT_TRUE(!entries.empty() && entries[0].first == 0) << "the log starts with a time stamp";
        Texts texts;
        for (std::size_t i = 0; i < entries.size(); ++i) {
            const std::size_t end = i + 1 < entries.size() ? entries[i + 1].first : log.size();
            std::string text = log.substr(entries[i].second, end - entries[i].second);
            EXPECT_TRUE(text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0) << text;
            if (text.size() >= 2) text.resize(text.size() - 2);
            texts.push_back(text);
        }
        return texts;
    }
    // The document's calls wrote exactly these entries, last in the log, right after the entry of
    // the step before them (whose text starts as given).
    void ExpectLogEndsWith(const Texts& expected, const std::string& before) const {
        const Texts log = LogTexts();
        ASSERT_GT(log.size(), expected.size());
        const auto first = log.end() - static_cast<std::ptrdiff_t>(expected.size());
        EXPECT_EQ(Texts(first, log.end()), expected);
        EXPECT_EQ((first - 1)->rfind(before, 0), 0u) << *(first - 1);
    }

    OrbRun run_;
};

TEST_F(NonFiscalScenario, TransferReceiptPrintsBothCopiesInTheCardPaymentsSlip) {
    RunScenario("transfer-receipt.jsonl");
    const Json tef = Call("ImprimeTef");
    EXPECT_EQ(tef["result"], true);
    EXPECT_TRUE(tef["dialogs"].empty()) << tef["dialogs"].dump();

    // The customer's copy has its last two texts joined by a backslash and no final line feed: the
    // line feed appended to it is met first, and the backslash before it becomes a line feed. The
    // store's copy of six lines goes in two pieces of four steps.
    const std::string customer =
        "REDE CARTOES\nCOMPROVANTE DE PAGAMENTO - VIA CLIENTE\nVISA CREDITO A VISTA\nCARTAO ************1234\n"
        "VALOR APROVADO: R$ 45,90\nAUT: 123456\nNSU: 000789\n";
    const std::string store1 =
        "REDE CARTOES\nCOMPROVANTE DE PAGAMENTO - VIA ESTABELECIMENTO\nVISA CREDITO A VISTA\nCARTAO ************1234\n";
    const std::string store2 = "VALOR APROVADO: R$ 45,90\nAUT: 123456 NSU: 000789\n";
    const PrinterDates d = Dates();
    const std::string status = "Bematech_FI_RetornoImpressora [6,0,0] -> 1";
    auto text = [](const std::string& piece) {
        return "Bematech_FI_UsaComprovanteNaoFiscalVinculado " + Json::array({piece}).dump() + " -> 1";
    };
    Texts calls{status,  // the printer check
                status, "Bematech_FI_NumeroCupom [\"000001\"] -> 1",
                // the payment method cut to the printer's 16 characters
                "Bematech_FI_AbreComprovanteNaoFiscalVinculado [\"Cartao Credito V\",\"\",\"\"] -> 1", status,
                "Bematech_FI_NumeroOperacoesNaoFiscais [\"000001\"] -> 1", status,
                "Bematech_FI_NumeroCupom [\"000002\"] -> 1",
                "Bematech_FI_ContadorComprovantesCreditoMFD [\"000001\"] -> 1", status};
    for (const auto& c : LedgerDateCalls(d)) calls.push_back(c);
    for (const auto& c : {text(customer), status, std::string("Bematech_FI_AvancaPapelAcionaGuilhotinaMFD [5,1] -> 1"),
                          text(store1), status, text(store2), status,
                          // a slip open (2) and pending (64): closed, and no cut after the last copy
                          std::string("Bematech_FI_StatusEstendidoMFD [66] -> 1"),
                          std::string("Bematech_FI_FechaRelatorioGerencial [] -> 1"), status})
        calls.push_back(c);
    EXPECT_EQ(Journal(), calls);

    // The slip of the sale's card payment, both copies with the cut between them.
    const auto slips = Documents(Roll(), "COMPROVANTE CRÉDITO OU DÉBITO");
    ASSERT_EQ(slips.size(), 1u) << Roll();
    EXPECT_EQ(slips[0].coo, "000002");
    Texts body{Columns("COO DO CUPOM FISCAL:", "000001"), Columns("Cartao Credito V", "45,90")};
    for (const auto& l : TextLines(customer)) body.push_back(l);
    for (int i = 0; i < 5; ++i) body.push_back("");
    body.push_back(kCut);
    for (const auto& l : TextLines(store1 + store2)) body.push_back(l);
    EXPECT_EQ(slips[0].body, body);

    // One credit-slip record, taken right after the opening: the slip's own number and counters.
    ASSERT_EQ(tef["ledger"].size(), 1u);
    EXPECT_EQ(tef["ledger"][0], LedgerRecord("000002", "000001", "", "000001", "CC"));

    Texts log{Answer("Bematech_FI_NumeroCupom", "000001"),
              "Bematech_FI_AbreComprovanteNaoFiscalVinculado : Cartao Credito V",
              Answer("Bematech_FI_NumeroOperacoesNaoFiscais", "000001"), Answer("Bematech_FI_NumeroCupom", "000002"),
              Answer("Bematech_FI_ContadorComprovantesCreditoMFD", "000001")};
    for (const auto& l : LedgerDateLog(d)) log.push_back(l);
    for (const auto& piece : {customer, store1, store2})
        log.push_back("Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + piece);
    log.push_back("Bematech_FI_FechaRelatorioGerencial");
    ExpectLogEndsWith(log, "Bematech_FI_TerminaFechamentoCupom");
}

TEST_F(NonFiscalScenario, ManagementReportOfTwentyFiveLinesGoesOutInThreePieces) {
    RunScenario("management-report.jsonl");
    const Json report = Call("Relatorio_Generico");
    EXPECT_EQ(report["result"], true);
    EXPECT_TRUE(report["dialogs"].empty()) << report["dialogs"].dump();

    // The scenario's text: 25 lines of the printer's 48 columns, so a piece closes at the eleventh
    // line (10 lines are 490 characters, 11 are 539).
    const std::string text = report["args"][3].get<std::string>();
    const Texts lines = TextLines(text);
    ASSERT_EQ(lines.size(), 25u);
    for (const auto& l : lines) ASSERT_EQ(l.size(), 48u) << l;
    ASSERT_EQ(text.back(), '\n');
    const Texts pieces{text.substr(0, 11 * 49), text.substr(11 * 49, 11 * 49), text.substr(22 * 49)};

    const PrinterDates d = Dates();
    const std::string status = "Bematech_FI_RetornoImpressora [6,0,0] -> 1";
    Texts calls{"Bematech_FI_StatusEstendidoMFD [0] -> 1", "Bematech_FI_RelatorioGerencial [\" \"] -> 1", status};
    for (const auto& piece : pieces) {
        calls.push_back("Bematech_FI_UsaComprovanteNaoFiscalVinculado " + Json::array({piece}).dump() + " -> 1");
        calls.push_back(status);
    }
    for (const auto& c : {std::string("Bematech_FI_StatusEstendidoMFD [4] -> 1"),
                          std::string("Bematech_FI_FechaRelatorioGerencial [] -> 1"), status,
                          std::string("Bematech_FI_NumeroOperacoesNaoFiscais [\"000001\"] -> 1"), status,
                          std::string("Bematech_FI_NumeroCupom [\"000001\"] -> 1"),
                          std::string("Bematech_FI_ContadorRelatoriosGerenciaisMFD [\"000001\"] -> 1"), status})
        calls.push_back(c);
    for (const auto& c : LedgerDateCalls(d)) calls.push_back(c);
    EXPECT_EQ(Journal(), calls);

    const auto reports = Documents(Roll(), "RELATÓRIO GERENCIAL");
    ASSERT_EQ(reports.size(), 1u) << Roll();
    EXPECT_EQ(reports[0].coo, "000001");
    Texts body{Columns("Geral", "CER:0001")};
    for (const auto& l : lines) body.push_back(l);
    EXPECT_EQ(reports[0].body, body);

    // Recorded once the report closed, with the report counter.
    ASSERT_EQ(report["ledger"].size(), 1u);
    EXPECT_EQ(report["ledger"][0], LedgerRecord("000001", "000001", "000001", "", "RG"));
    EXPECT_TRUE(report["cer"].empty());

    Texts log{"Bematech_FI_RelatorioGerencial"};
    for (const auto& piece : pieces) log.push_back("Bematech_FI_UsaComprovanteNaoFiscalVinculado: " + piece);
    log.push_back("Bematech_FI_FechaRelatorioGerencial");
    log.push_back(Answer("Bematech_FI_NumeroOperacoesNaoFiscais", "000001"));
    log.push_back(Answer("Bematech_FI_NumeroCupom", "000001"));
    log.push_back(Answer("Bematech_FI_ContadorRelatoriosGerenciaisMFD", "000001"));
    for (const auto& l : LedgerDateLog(d)) log.push_back(l);
    // The step before is the opening's clock check.
    ExpectLogEndsWith(log, "Bematech_FI_DataHoraImpressora\r\n");
}

TEST_F(NonFiscalScenario, CancelledCouponReversesItsPendingSlipFirst) {
    RunScenario("cancelled-coupon.jsonl");
    const Json cancel = Call("Cancela_Cupom_Imp");
    EXPECT_EQ(cancel["result"], true);
    EXPECT_TRUE(cancel["dialogs"].empty()) << cancel["dialogs"].dump();
    // The counter stands at the slip (000002): the coupon cancelled is the one below it.
    EXPECT_EQ(cancel["args"][1], Json::array({"000001"}));

    const PrinterDates d = Dates();
    const std::string status = "Bematech_FI_RetornoImpressora [6,0,0] -> 1";
    Texts calls{"Bematech_FI_StatusEstendidoMFD [64] -> 1", "Bematech_FI_NumeroCupom [\"000002\"] -> 1",
                "Bematech_FI_EstornoNaoFiscalVinculadoMFD [\"\",\"\",\"\"] -> 1", status,
                "Bematech_FI_NumeroCupom [\"000003\"] -> 1"};
    for (const auto& c : LedgerDateCalls(d)) calls.push_back(c);
    for (const auto& c : {std::string("Bematech_FI_CancelaCupom [] -> 1"), status,
                          // the grand-total check after it
                          std::string("Bematech_FI_GrandeTotal [\"000000000000004590\"] -> 1"), status})
        calls.push_back(c);
    EXPECT_EQ(Journal(), calls);

    const std::string roll = Roll();
    const auto reversals = Documents(roll, "ESTORNO DE COMPROVANTE DE CRÉDITO OU DÉBITO");
    const auto cancellations = Documents(roll, "CUPOM FISCAL CANCELADO");
    ASSERT_EQ(reversals.size(), 1u) << roll;
    ASSERT_EQ(cancellations.size(), 1u) << roll;
    EXPECT_LT(roll.find("ESTORNO DE COMPROVANTE"), roll.find("CUPOM FISCAL CANCELADO"));
    EXPECT_EQ(reversals[0].coo, "000003");
    EXPECT_EQ(reversals[0].body, Texts{Columns("COO DO CUPOM FISCAL:", "000001")});
    EXPECT_EQ(cancellations[0].coo, "000004");
    EXPECT_EQ(cancellations[0].body,
              (Texts{Columns("COO DO CUPOM CANCELADO:", "000001"), Columns("CCF DO CUPOM CANCELADO:", "000001"),
                     Columns("VALOR DO CUPOM CANCELADO R$", "45,90")}));
    const Json docs = LastSim("docs");  // the printer's state
    EXPECT_EQ(docs["slipPending"], false);
    EXPECT_EQ(docs["coupon"]["cancelled"], true);

    // The reversal is recorded with the coupon number alone.
    ASSERT_EQ(cancel["ledger"].size(), 1u);
    EXPECT_EQ(cancel["ledger"][0], LedgerRecord("000003", "", "", "", "NC"));

    Texts log{Answer("Bematech_FI_NumeroCupom", "000002"), "Bematech_FI_EstornoNaoFiscalVinculadoMFD",
              Answer("Bematech_FI_NumeroCupom", "000003")};
    for (const auto& l : LedgerDateLog(d)) log.push_back(l);
    log.push_back("Bematech_FI_CancelaCupom");
    log.push_back(Answer("Bematech_FI_GrandeTotal", "000000000000004590"));
    ExpectLogEndsWith(log, "Bematech_FI_FechaRelatorioGerencial");

    // The host's grand-total copy now holds the printer's total.
    fw::ClientDataSet copy;
    copy.LoadFromFile((std::filesystem::path(Home()) / "Tambora.cds").string());
    ASSERT_EQ(copy.RecordCount(), 1);
    EXPECT_EQ(hostlib::Uncripto(copy.FieldByName("CAMPO02").AsString(), 1), "45,9");
}

TEST_F(NonFiscalScenario, XReadingIsRecordedWithTheCouponNumberAlone) {
    RunScenario("x-reading.jsonl");
    const Json reading = Call("Leitura_X_Imp");
    EXPECT_EQ(reading["result"], true);
    EXPECT_TRUE(reading["dialogs"].empty()) << reading["dialogs"].dump();

    const PrinterDates d = Dates();
    Texts calls{"Bematech_FI_LeituraX [] -> 1", "Bematech_FI_RetornoImpressora [6,0,0] -> 1",
                "Bematech_FI_NumeroCupom [\"000001\"] -> 1"};
    for (const auto& c : LedgerDateCalls(d)) calls.push_back(c);
    EXPECT_EQ(Journal(), calls);

    const std::string roll = Roll();
    const auto readings = Documents(roll, "LEITURA X");
    ASSERT_EQ(readings.size(), 1u) << roll;
    EXPECT_EQ(readings[0].coo, "000001");
    ASSERT_FALSE(readings[0].body.empty());
    EXPECT_EQ(Trimmed(readings[0].body.front()), "CONTADORES");
    EXPECT_EQ(roll.find("FAB:"), roll.rfind("FAB:")) << "one document only";

    ASSERT_EQ(reading["ledger"].size(), 1u);
    EXPECT_EQ(reading["ledger"][0], LedgerRecord("000001", "", "", "", "LX"));

    Texts log{"Bematech_FI_LeituraX", Answer("Bematech_FI_NumeroCupom", "000001")};
    for (const auto& l : LedgerDateLog(d)) log.push_back(l);
    ExpectLogEndsWith(log, "Bematech_FI_DataHoraImpressora\r\n");
}

}  // namespace
}  // namespace orb::cli::testing
