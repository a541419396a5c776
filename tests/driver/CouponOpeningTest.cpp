// Opening a coupon against the virtual printer: the consumer's identification as cut and as
// logged, the answer packet, the transfer retry, attended and self-service refusals.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "coupon/CouponOpening.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"

namespace {

using nlohmann::json;
using orb::fw::Variant;
using orb::test::NamedParams;
using orb::test::NamedValue;

class CouponOpening : public orb::test::DriverTest {
protected:
    void Start() {
        ASSERT_TRUE(StartModule());
        ClearJournal();
        NewLogTexts();
        Orb00100::boClieUtil = true;
    }
    static NamedParams Opening() {
        return {{"ESQUEMACOR", "002"},  {"INTTEFERRO", 0},   {"INCLUICPF", ""},       {"INCLUINOME", ""},
                {"INCLUIENDERECO", ""}, {"CUPNR", "000000"}, {"CONTCUPOM", "000000"}, {"TIPOTICKET", "1"},
                {"IVACOMP", ""},        {"IVAPROP", ""},     {"TIPODOC", ""},         {"NRDOC", ""},
                {"MESA", "12"},         {"IDUTILTEF", "N"},  {"UTILTEF", false}};
    }
    std::vector<json> Sent(const std::string& entry) {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) args.push_back(call["args"]);
        return args;
    }
    json Printer() { return Sim({{"sim", "state"}}); }
    static std::vector<std::string> Names(const Variant& packet) {
        std::vector<std::string> names;
        for (const Variant& pair : packet.AsArray()) names.push_back(pair.AsArray().at(0).ToString());
        return names;
    }
};

TEST_F(CouponOpening, IdentifiedConsumerIsCutForThePrinterAndLoggedWhole) {
    Start();
    const std::string taxNumber = "123.456.789-09 / 0000-000000000";  // 31 characters
    const std::string name = CP("João da Silva Sauro Albuquerque Neto");
    const std::string address(100, 'R');
    Variant params = Opening().Set("INCLUICPF", taxNumber).Set("INCLUINOME", name).Set("INCLUIENDERECO", address);

    EXPECT_TRUE(Orb00100::AbreCupom(params));

    ASSERT_EQ(Sent("Bematech_FI_AbreCupomMFD").size(), 1u);
    EXPECT_EQ(Sent("Bematech_FI_AbreCupomMFD")[0],
              (json{taxNumber.substr(0, 29), orb::fw::Cp1252ToUtf8(name.substr(0, 30)), address.substr(0, 80)}));
    const std::vector<std::string> log = NewLogTexts();
    ASSERT_FALSE(log.empty());
    EXPECT_EQ(log[0], "Bematech_FI_AbreCupomMFD :" + taxNumber + " - " + name + " - " + address);

    // The answer: the texts as received, the printer's own numbers, the messages collected.
    const json state = Printer();
    ASSERT_TRUE(state["docs"]["couponOpen"].get<bool>()) << "the counter read must leave the new coupon open";
    char coo[8], ccf[8];
    std::snprintf(coo, sizeof coo, "%06d", state["docs"]["coupon"]["coo"].get<int>());
    std::snprintf(ccf, sizeof ccf, "%06d", state["docs"]["coupon"]["ccf"].get<int>());
    EXPECT_EQ(Names(params), (std::vector<std::string>{"INTTEFERRO", "INCLUICPF", "INCLUINOME", "INCLUIENDERECO",
                                                       "CUPNR", "CONTCUPOM", "MENSAGEMTAA"}));
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 0);
    EXPECT_EQ(NamedValue(params, "INCLUICPF").ToString(), taxNumber);
    EXPECT_EQ(NamedValue(params, "INCLUINOME").ToString(), name);
    EXPECT_EQ(NamedValue(params, "INCLUIENDERECO").ToString(), address);
    EXPECT_EQ(NamedValue(params, "CUPNR").ToString(), coo);
    EXPECT_EQ(NamedValue(params, "CONTCUPOM").ToString(), ccf);
    EXPECT_EQ(NamedValue(params, "MENSAGEMTAA").ToString(), Orb00100::stMensagemTaa);
    EXPECT_EQ(JournalEntries().back(), "Bematech_FI_RetornoImpressora");
    EXPECT_FALSE(Orb00100::boClieUtil);
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_NE(log.end(),
              std::find(log.begin(), log.end(),
                        std::string("Bematech_FI_ContadorCupomFiscalMFD\r\nRetorno da Impressora : ") + ccf));
}

TEST_F(CouponOpening, AnonymousSaleSendsNothingAboutTheConsumer) {
    Start();
    Variant params = Opening().Set("INCLUINOME", "Maria").Set("INCLUIENDERECO", "Rua A, 1");
    EXPECT_TRUE(Orb00100::AbreCupom(params));
    EXPECT_EQ(Sent("Bematech_FI_AbreCupomMFD"), (std::vector<json>{{"", "", ""}}));
    EXPECT_TRUE(Sent("Bematech_FI_AbreCupom").empty());
    EXPECT_EQ(NewLogTexts().at(0), "Bematech_FI_AbreCupomMFD : -  - ");
    EXPECT_EQ(NamedValue(params, "INCLUINOME").ToString(), "");
    EXPECT_EQ(NamedValue(params, "INCLUIENDERECO").ToString(), "");
}

TEST_F(CouponOpening, TransferSaleRetriesWhileTheOperatorSaysYes) {
    Start();
    FailNext("Bematech_FI_AbreCupomMFD", 0, 2);
    QueueAnswers({true, true});
    Variant params = Opening().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_TRUE(Orb00100::AbreCupom(params));

    EXPECT_EQ(Sent("Bematech_FI_AbreCupomMFD").size(), 3u);
    std::vector<std::string> questions;
    for (const auto& d : Dialogs())
        if (d.question == "S") {
            questions.push_back(d.text);
            EXPECT_EQ(d.kind, 3);
            EXPECT_EQ(d.scheme, "002");
            EXPECT_EQ(d.third, "N");
        }
    EXPECT_EQ(questions, std::vector<std::string>(2, CP("Impressora não responde. Imprimir novamente?")));
    int logged = 0;
    for (const auto& text : NewLogTexts()) logged += text.rfind("Bematech_FI_AbreCupomMFD :", 0) == 0;
    EXPECT_EQ(logged, 3);
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 1);
    EXPECT_TRUE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(CouponOpening, DecliningTheRetryLeavesTheParametersAlone) {
    Start();
    FailNext("Bematech_FI_AbreCupomMFD", 0);
    QueueAnswers({false});
    const Variant original = Opening().Set("IDUTILTEF", "S").Set("UTILTEF", true).Set("INTTEFERRO", 7);
    Variant params = original;
    EXPECT_FALSE(Orb00100::AbreCupom(params));
    EXPECT_EQ(params, original);
    EXPECT_EQ(Sent("Bematech_FI_AbreCupomMFD").size(), 1u);
    EXPECT_TRUE(Orb00100::boClieUtil);  // a refusal on an attended till leaves it
}

TEST_F(CouponOpening, RefusalWithoutTransferAsksNothingAndAnswersWhatItReceived) {
    Start();
    FailNext("Bematech_FI_AbreCupomMFD", -6);
    // UTILTEF alone does not make a transfer sale.
    Variant params = Opening().Set("UTILTEF", true).Set("CUPNR", "000123").Set("CONTCUPOM", "000045");
    EXPECT_FALSE(Orb00100::AbreCupom(params));
    for (const auto& d : Dialogs()) EXPECT_EQ(d.question, "N") << d.text;
    ASSERT_FALSE(Dialogs().empty());
    EXPECT_EQ(Dialogs()[0].text, CP("Impressora desligada ou desconectada."));
    EXPECT_EQ(NamedValue(params, "CUPNR").ToString(), "000123");
    EXPECT_EQ(NamedValue(params, "CONTCUPOM").ToString(), "000045");
    EXPECT_TRUE(Sent("Bematech_FI_NumeroCupom").empty());
    EXPECT_TRUE(Orb00100::boClieUtil);
    EXPECT_FALSE(Printer()["docs"]["couponOpen"].get<bool>());
}

TEST_F(CouponOpening, SelfServiceRefusalIsCollectedAndNeverAsked) {
    Start();
    Orb00100::boNUtilTaa = false;
    FailNext("Bematech_FI_AbreCupomMFD", -6);
    Variant params = Opening().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_FALSE(Orb00100::AbreCupom(params));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(NamedValue(params, "MENSAGEMTAA").ToString(), CP(" Impressora desligada ou desconectada."));
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 0);
    EXPECT_FALSE(Orb00100::boClieUtil);
}

}  // namespace
