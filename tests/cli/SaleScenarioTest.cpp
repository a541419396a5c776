// A whole sale run by the orb program from the scenario kept beside these tests, as a person
// runs it: start, the printer's rates, payment methods and totalizers, a coupon for an identified
// consumer, three items (exempt, 18 %, 12 % with a discount), the closing with a discount on the
// subtotal, a card and cash paid in that order, the change registered as a receipt, then the
// printer asked what it holds. The coupon on the roll must add up to what the printer's totals
// and counters say, and the debug log must carry the lines support staff read.
#include <algorithm>
#include <cstdint>
#include <memory>

#include "ScenarioSupport.h"

namespace orb::cli::testing {
namespace {

// The scenario runs once for all the tests of this file; what it left behind is read before the
// test's folder goes away.
class SaleScenario : public ScenarioTest {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        if (!sale_) {
            RunScenario("sale.jsonl");
            sale_ = std::make_unique<std::pair<OrbRun, Texts>>(run_, LogEntries(Home()));
        }
        run_ = sale_->first;
    }
    static void TearDownTestSuite() { sale_.reset(); }

    static const Texts& Log() { return sale_->second; }

    static inline std::unique_ptr<std::pair<OrbRun, Texts>> sale_;
};

TEST_F(SaleScenario, EveryStepSucceedsWithTheAnswersTheHostKeeps) {
    // An attended till with nothing wrong: no dialog, no question.
    for (const Json& reply : run_.replies)
        EXPECT_TRUE(!reply.contains("dialogs") || reply["dialogs"] == Json::array()) << reply.dump();
    EXPECT_EQ(Reply("StartImpFiscal")["result"], true);

    // The rates as the host will look them up: the printer's slots, the service rate, the fixed rows.
    EXPECT_EQ(Reply("CarregaAliquota")["args"][1]["dataset"]["rows"],
              Json::parse(R"([["01", 18.0, "T"], ["02", 12.0, "T"], ["03", 7.0, "T"], ["04", 5.0, "S"],
                              ["NN", 0.0, "N"], ["II", 0.0, "I"], ["FF", 0.0, "F"]])"));

    // Cash is found under the printer's spelling, the card is programmed, the hidden type and the
    // one that is not a payment button are left as they came; the table is left filtered.
    const Json payments = Reply("CarregaRecebimento")["args"][3]["dataset"];
    EXPECT_EQ(payments["rows"], Json::parse(R"([["001", "Dinheiro", "S", "S", "1", "5", "DINHEIRO", "S"],
        ["002", "Cartao Credito", "S", "S", "2", "5", "Cartao Credito", "S"],
        ["003", "Vale Refeicao", null, null, "4", "5", "Vale Refeicao", "N"],
        ["004", "Fiado", null, null, "9", "1", "Conta Cliente", "S"]])"));
    EXPECT_EQ(Json::array({payments["filter"], payments["filtered"]}), Json::array({"IDTPBUTTON = '5'", true}));

    // A fresh printer has no totalizer: all five are programmed in the fixed order, each slot
    // reported under its own name (voucher, consumer sale, credit, credit cancellation, report).
    EXPECT_EQ(Reply("CarregaTotalizador")["args"], Json::parse(R"(["01", "04", "02", "05", "03", "001", 34, null])"));

    const Json opening = Reply("AbreCupom");
    // The coupon is open while the opening and the counter read look at the status: each time the
    // status analysis collects the open coupon (never shown, the verdict untouched).
    EXPECT_EQ(Json::array({opening["result"], opening["args"][0]}),
              Json::parse(R"([true, [["INTTEFERRO", 0], ["INCLUICPF", "123.456.789-09"],
        ["INCLUINOME", "Maria da Silva"], ["INCLUIENDERECO", "Rua das Acácias, 42 - Centro"], ["CUPNR", "000001"],
        ["CONTCUPOM", "000001"], ["MENSAGEMTAA", " Cupom aberto. Cupom aberto."]]])"));
    for (std::size_t i = 0; i < 3; ++i) {
        const Json item = Reply("VendaItem", i);
        EXPECT_EQ(Json::array({item["result"], item["args"][0]}),
                  Json::parse(R"([true, [["INTTEFERRO", 0], ["MENSAGEMTAA", " Cupom aberto."]]])"))
            << i;
    }

    const Json closing = Reply("FechaCupom");
    // No retry; the state-programme number back; the receipt's non-fiscal counter; the messages
    // of the closing start and the two payments, made while the coupon was open.
    EXPECT_EQ(Json::array({closing["result"], closing["args"][2]}),
              Json::parse(R"([true, [0, "4711", "000001", " Cupom aberto. Cupom aberto. Cupom aberto."]])"));
}

TEST_F(SaleScenario, RollShowsTheCouponFieldByFieldAndTheChangeReceipt) {
    const std::string esc = "\x1B";
    const std::vector<std::string> expected = {
        "CPF/CNPJ consumidor: 123.456.789-09",
        "Nome: Maria da Silva",
        "Endereço: Rua das Acácias, 42 - Centro",
        "ITEM CÓDIGO DESCRIÇÃO",
        "     QTD.UN. x VL.UNIT(R$)      ST  VL.ITEM(R$)",
        "001 000123 AGUA MINERAL 500ML",
        "     2,000UN x 3,50                     II  7,00",
        "002 000456 FILE A PARMEGIANA",
        "     1,000UN x 45,90              T18,00%  45,90",
        "003 000789 PUDIM DE LEITE",
        "     2,000UN x 8,75               T12,00%  17,50",
        "  desconto item                            -2,50",
        "SUBTOTAL R$                                67,90",
        "DESCONTO R$                                -2,90",
        "TOTAL R$                                   65,00",
        "Cartao Credito                             40,00",
        "Dinheiro                                   30,00",
        "TROCO R$                                    5,00",
        std::string(48, '-'),
        "Obrigado pela preferencia",
        "Trib aprox R$: 8,12 Federal e 11,70 Estadual",
        "\rFonte: IBPT",
        "Cliente : C0042 - Maria da Silva",
        "Mesa: 12 " + esc + "E" + esc + "W1SENHA: 42" + esc + "F" + esc + "W0",
        "Suporte do ECF: consulte o fabricante",
        "Operador: 7 - Ana",
    };
    EXPECT_EQ(Documents(Roll(), "CUPOM FISCAL"), (std::vector<Document>{{"000001", expected}}));

    // The change, registered under the voucher totalizer and paid in cash, is the next document.
    EXPECT_EQ(Documents(Roll(), "COMPROVANTE NÃO-FISCAL"),
              (std::vector<Document>{{"000002",
                                      {"01 CONTRA-VALE EMI                          5,00",
                                       "Dinheiro                                    5,00"}}}));
}

TEST_F(SaleScenario, PrintersTotalsAndCountersAgreeWithTheRoll) {
    // What the roll above shows: 2 x 3,50, 1 x 45,90, 2 x 8,75 (70,40 gross, the grand total of a
    // fresh printer however it is asked); 2,50 off an item and 2,90 off the subtotal; under each rate
    // the items' net amounts; the methods took 70,00 paid less the change, and the 5,00 change came
    // back as the receipt. One coupon (CCF), two documents (COO), one non-fiscal operation (GNF), the
    // same through the module's queries as in the closing's answer.
    Json state;
    for (const Json& reply : run_.replies)
        if (reply.value("sim", "") == "state") state = reply;
    ASSERT_TRUE(state.is_object()) << "the scenario asks the printer's state";
    std::int64_t methods = 0;
    for (const Json& method : state["payments"]) methods += method["day"].get<std::int64_t>();
    const Json got = {{"grandTotal",
                       {state["counters"]["grandTotal"], state["day"]["gross"], Reply("VendaBruta")["args"][1],
                        Reply("RetornaGtAtual")["args"][1][0], Reply("BuscaTotGer")["args"][1]}},
                      {"discounts", {state["day"]["discounts"], Reply("Descontos")["args"][1]}},
                      {"byRate", {state["day"]["exempt"], state["rates"][0]["day"], state["rates"][1]["day"]}},
                      {"methodsAndReceipt", {methods, state["totalizers"][0]["day"], state["totalizers"][0]["count"]}},
                      {"counters", {state["counters"]["ccf"], state["counters"]["coo"], state["counters"]["gnf"]}},
                      {"queries",
                       {Reply("ContadorCupomFiscalMFD")["args"][1], Reply("NumeroOperacoesNaoFiscais")["args"][1],
                        Reply("FechaCupom")["args"][2][2], Reply("Nr_Cupom")["result"]}},
                      {"open", {state["docs"]["couponOpen"], Reply("Estado_Imp")["result"]}}};
    EXPECT_EQ(got, Json::parse(R"({"grandTotal": [7040, 7040, "000000000000007040", "000000000000007040", "70,4"],
        "discounts": [540, "00000000000540"], "byRate": [700, 4590, 1500], "methodsAndReceipt": [7000, 500, 1],
        "counters": [1, 2, 1], "queries": ["000001", "000001", "000001", "000002"], "open": [false, true]})"));
}

TEST_F(SaleScenario, DebugLogCarriesTheLinesOfTheSale) {
    // Only a printer's reply continues an entry on the next line (the file's name and the time
    // stamps of the entries are read by LogEntries).
    ASSERT_FALSE(Log().empty());
    for (const std::string& entry : Log())
        for (std::size_t at = entry.find("\r\n"); at != std::string::npos; at = entry.find("\r\n", at + 1))
            EXPECT_EQ(entry.compare(at + 2, 24, "Retorno da Impressora : "), 0) << entry;

    // The sale, from the opening to the change receipt's counter, and nothing between; the status
    // analysis logs the open coupon after every call it is asked to check.
    const std::string open = "ERRO!!! Cupom aberto.";
    const Texts sale = {
        "Bematech_FI_AbreCupomMFD :123.456.789-09 - Maria da Silva - Rua das Acácias, 42 - Centro",
        open,
        Answer("Bematech_FI_NumeroCupom", "000001"),
        Answer("Bematech_FI_ContadorCupomFiscalMFD", "000001"),
        open,
        "Bematech_FI_VendeItemArredondamentoMFD: 000123 - AGUA MINERAL 500ML - II - UN - 0002000 - 00003500 - 0000 - "
        "0000 - False",
        open,
        "Bematech_FI_VendeItemArredondamentoMFD: 000456 - FILE A PARMEGIANA - 1800 - UN - 0001000 - 00045900 - 0000 - "
        "0000 - False",
        open,
        "Bematech_FI_VendeItemArredondamentoMFD: 000789 - PUDIM DE LEITE - 1200 - UN - 0002000 - 00008750 - 0000 - "
        "00000250 - False",
        open,
        "Bematech_FI_IniciaFechamentoCupom : d - $ - 2,90",
        open,
        "Registros cdsMovCaixa: 2",
        "Registros cdsMovCaixaTef: 2",
        "Bematech_FI_EfetuaFormaPagamento : Cartao Credito - 40,00",
        open,
        "Bematech_FI_EfetuaFormaPagamento : Dinheiro - 30,00",
        open,
        "Bematech_FI_TerminaFechamentoCupom",
        "Bematech_FI_RecebimentoNaoFiscal : 01 - 5,00 - Dinheiro",
        Answer("Bematech_FI_NumeroOperacoesNaoFiscais", "000001"),
        Answer("Bematech_FI_NumeroCupom", "000002"),  // the queries the scenario asks after the sale
    };
    Texts log;
    for (const std::string& entry : Log()) log.push_back(fw::Cp1252ToUtf8(entry));
    const auto at = std::find(log.begin(), log.end(), sale[0]);
    EXPECT_EQ(Texts(at, at + std::min(std::ssize(sale), log.end() - at)), sale);
}

}  // namespace
}  // namespace orb::cli::testing
