// Items of the open coupon against the virtual printer: the field pictures as the printer
// receives them, both entry points, the cent rule, the retry question on an attended till and
// the collected messages on a self-service one, the cancellations and the surcharge total.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "coupon/CouponOpening.h"
#include "coupon/ItemFields.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace {

using nlohmann::json;
using orb::fw::Variant;
using orb::test::NamedParams;
using orb::test::NamedValue;

TEST(ItemFieldPictures, QuantityRoundsPricesAndAmountsAreCut) {
    EXPECT_EQ(Orb00100::QuantityField(1.5), "0001500");
    EXPECT_EQ(Orb00100::QuantityField(0.3333), "0000333");
    EXPECT_EQ(Orb00100::QuantityField(1.2346), "0001235");
    EXPECT_EQ(Orb00100::UnitPriceField(10.999, false), "000010990");
    EXPECT_EQ(Orb00100::UnitPriceField(10.999, true), "00010990");
    EXPECT_EQ(Orb00100::UnitPriceField(0.29, false), "000000290");
    EXPECT_EQ(Orb00100::AmountField(1.509), "00000150");
    EXPECT_EQ(Orb00100::AmountField(0), "0000");
    EXPECT_EQ(Orb00100::AmountField(-2.5), "0000");
}

TEST(ItemFieldPictures, TaxCodeOrTheRateInFourDigits) {
    EXPECT_EQ(Orb00100::TaxField("II", "not a number"), "II");
    EXPECT_EQ(Orb00100::TaxField("FF", "18"), "FF");
    EXPECT_EQ(Orb00100::TaxField("NN", ""), "NN");
    EXPECT_EQ(Orb00100::TaxField("01", "18"), "1800");
    EXPECT_EQ(Orb00100::TaxField("T1", "7,5"), "0750");
    EXPECT_EQ(Orb00100::TaxField("T1", "18,999"), "1899");
    EXPECT_EQ(Orb00100::TaxField("T1", ""), "0000");
    EXPECT_THROW(Orb00100::TaxField("T1", "18%"), orb::fw::EConvertError);
    // Under a decimal point the separator is still what goes.
    orb::fw::FormatSettings point;
    point.DecimalSeparator = '.';
    point.ThousandSeparator = ',';
    orb::fw::ScopedSettings scoped(point);
    EXPECT_EQ(Orb00100::TaxField("T1", "7.5"), "0750");
    EXPECT_EQ(Orb00100::QuantityField(2.25), "0002250");
}

TEST(ItemFieldPictures, AnItemWorthNothingIsSoldForOneCent) {
    Orb00100::ItemInput in;
    in.code = "1";
    in.name = std::string(60, 'x');
    in.taxCode = "II";
    in.quantity = 2;
    in.price = 10;
    in.discount = 20;
    in.unit = "UNI";
    Orb00100::ItemFields f = Orb00100::BuildItemFields(in, false);
    EXPECT_EQ(f.discount, "00001999");
    EXPECT_EQ(f.description.size(), 50u);
    EXPECT_EQ(f.unit, "UN");
    // The surcharge counts in the total: with it the item is worth something.
    in.surcharge = 1;
    EXPECT_EQ(Orb00100::BuildItemFields(in, false).discount, "00002000");
    // Cut to cents before the comparison: 20,009 off 20,00 still totals nothing.
    in.surcharge = 0;
    in.discount = 20.009;
    EXPECT_EQ(Orb00100::BuildItemFields(in, false).discount, "00001999");
}

class Items : public orb::test::DriverTest {
protected:
    // A printer of the given model with a coupon open.
    void Start(int model = 34) {
        ResetPrinter({{"model", model}});
        ASSERT_TRUE(StartModule(StartParams().Set("IDTIPOIMPFIS", model)));
        Variant opening = NamedParams{{"ESQUEMACOR", "002"}, {"INCLUICPF", ""}, {"IDUTILTEF", "N"}};
        ASSERT_TRUE(Orb00100::AbreCupom(opening));
        ClearJournal();
        NewLogTexts();
        Orb00100::boClieUtil = true;
    }
    static NamedParams Item() {
        return {{"ESQUEMACOR", "002"}, {"INTEFERRO", 3},   {"CDARVPROD", "7891"}, {"NMPROD", "Feijoada"},
                {"CDALIQ", "01"},      {"QTDE", 1.5},      {"VALOR", 10.999},     {"DESCONT", 0.0},
                {"UNIDADE", "KG"},     {"TIPOTICKET", ""}, {"VRPERCALIQ", "18"},  {"IDUTILTEF", "N"},
                {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
    }
    std::vector<json> Sent(const std::string& entry) {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) args.push_back(call["args"]);
        return args;
    }
    json Coupon() { return Sim({{"sim", "state"}})["docs"]["coupon"]; }
    std::vector<std::string> Questions() {
        std::vector<std::string> texts;
        for (const auto& d : Dialogs())
            if (d.question == "S") texts.push_back(d.text);
        return texts;
    }
};

TEST_F(Items, DepartmentFormSendsEveryFieldInItsPicture) {
    Start(27);
    Variant params = Item()
                         .Set("NMPROD", CP("Feijoada completa com arroz, couve, farofa e laranja da casa"))
                         .Set("DESCONT", 1.259)
                         .Set("ACRESCIMO", 0.5)
                         .Set("UNIDADE", "KGS");
    EXPECT_TRUE(Orb00100::VendaItem(params));

    const std::string description = CP("Feijoada completa com arroz, couve, farofa e laran");
    ASSERT_EQ(Sent("Bematech_FI_VendeItemDepartamento").size(), 1u);
    EXPECT_EQ(Sent("Bematech_FI_VendeItemDepartamento")[0],
              (json{"7891", orb::fw::Cp1252ToUtf8(description), "1800", "000010990", "0001500", "00000050", "00000125",
                    "01", "KG"}));
    EXPECT_TRUE(Sent("Bematech_FI_VendeItemArredondamentoMFD").empty());
    EXPECT_EQ(NewLogTexts().at(0), "Bematech_FI_VendeItemDepartamento : 7891 - " + description.substr(0, 29) +
                                       " - 1800 - 000010990 - 0001500 - 00000050 - 00000125 - 01 - KG");
    // The printer took it under the 18 % slot: 1,5 x 10,99 = 16,48, less 1,25, plus 0,50.
    const json item = Coupon()["items"].at(0);
    EXPECT_EQ(item["slot"], 1);
    EXPECT_EQ(item["total"], 1648 - 125 + 50);
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 3);
    EXPECT_FALSE(Orb00100::boClieUtil);
}

TEST_F(Items, Model34UsesTheRoundingEntryWithTheUnitBeforeTheQuantity) {
    Start(34);
    Variant params = Item().Set("CDALIQ", "II").Set("VRPERCALIQ", "abc").Set("QTDE", 0.3333);
    EXPECT_TRUE(Orb00100::VendaItem(params));
    ASSERT_EQ(Sent("Bematech_FI_VendeItemArredondamentoMFD").size(), 1u);
    EXPECT_EQ(Sent("Bematech_FI_VendeItemArredondamentoMFD")[0],
              (json{"7891", "Feijoada", "II", "KG", "0000333", "00010990", "0000", "0000", 0}));
    EXPECT_EQ(NewLogTexts().at(0),
              "Bematech_FI_VendeItemArredondamentoMFD: 7891 - Feijoada - II - KG - 0000333 - 00010990 - 0000 - "
              "0000 - False");
    EXPECT_EQ(Coupon()["items"].at(0)["tax"], "II");
    // The answer holds the marker under its output name, and the messages of this call alone.
    const auto& packet = params.AsArray();
    ASSERT_EQ(packet.size(), 2u);
    EXPECT_EQ(packet[0].AsArray().at(0).ToString(), "INTTEFERRO");
    EXPECT_EQ(packet[1].AsArray().at(0).ToString(), "MENSAGEMTAA");
    EXPECT_EQ(packet[1].AsArray().at(1).ToString(), Orb00100::stMensagemTaa);
}

TEST_F(Items, ItemWorthNothingIsRegisteredForOneCent) {
    Start(34);
    Variant params = Item().Set("QTDE", 2).Set("VALOR", 10.0).Set("DESCONT", 20.0);
    EXPECT_TRUE(Orb00100::VendaItem(params));
    EXPECT_EQ(Sent("Bematech_FI_VendeItemArredondamentoMFD").at(0)[7], "00001999");
    EXPECT_EQ(Coupon()["items"].at(0)["total"], 1);
}

TEST_F(Items, RateWithoutASlotIsRefusedByThePrinter) {
    Start(34);
    Orb00100::boNUtilTaa = false;
    Variant params = Item().Set("VRPERCALIQ", "3,5");
    EXPECT_FALSE(Orb00100::VendaItem(params));
    EXPECT_EQ(Sent("Bematech_FI_VendeItemArredondamentoMFD").at(0)[2], "0350");
    EXPECT_NE(NamedValue(params, "MENSAGEMTAA").ToString().find(CP("Alíquota não programada")), std::string::npos);
}

TEST_F(Items, AttendedTillOffersTheRefusedItemAgain) {
    Start(34);
    FailNext("Bematech_FI_VendeItemArredondamentoMFD", 0);
    QueueAnswers({true});
    Variant params = Item().Set("NMPROD", "Picanha na chapa para dois");
    EXPECT_TRUE(Orb00100::VendaItem(params));

    const auto sent = Sent("Bematech_FI_VendeItemArredondamentoMFD");
    ASSERT_EQ(sent.size(), 2u);
    EXPECT_EQ(sent[0], sent[1]);
    EXPECT_EQ(Questions(),
              (std::vector<std::string>{
                  "Erro ao imprimir o item: \r\n7891 - Picanha na chapa par\r\nDeseja imprimir novamente?"}));
    EXPECT_EQ(Dialogs().back().kind, 3);
    EXPECT_EQ(Dialogs().back().scheme, "002");
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 3);  // the marker is not changed by a retry
    EXPECT_EQ(Coupon()["items"].size(), 1u);
}

TEST_F(Items, DecliningATransferRetryLeavesTheParametersAlone) {
    Start(34);
    FailNext("Bematech_FI_VendeItemArredondamentoMFD", 0);
    QueueAnswers({false});
    const Variant original = Item().Set("IDUTILTEF", "S").Set("UTILTEF", true);
    Variant params = original;
    EXPECT_FALSE(Orb00100::VendaItem(params));
    EXPECT_EQ(Questions(), (std::vector<std::string>{CP("Impressora não responde. Imprimir novamente?")}));
    EXPECT_EQ(params, original);
    EXPECT_FALSE(Orb00100::boClieUtil);
    EXPECT_TRUE(Coupon()["items"].empty());
}

TEST_F(Items, SelfServiceRefusalComesBackInTheMessages) {
    Start(34);
    Orb00100::boNUtilTaa = false;
    FailNext("Bematech_FI_VendeItemArredondamentoMFD", -2);
    Orb00100::stMensagemTaa = " left from before";
    Variant params = Item().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_FALSE(Orb00100::VendaItem(params));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(Sent("Bematech_FI_VendeItemArredondamentoMFD").size(), 1u);
    EXPECT_EQ(NamedValue(params, "MENSAGEMTAA").ToString().rfind(CP(" Parâmetro inválido."), 0), 0u);
    EXPECT_FALSE(Orb00100::boClieUtil);
}

TEST_F(Items, ParameterThatDoesNotConvertRegistersNothing) {
    Start(34);
    const Variant original = Item().Set("QTDE", "um e meio");
    Variant params = original;
    EXPECT_FALSE(Orb00100::VendaItem(params));
    const Variant badRate = Item().Set("VRPERCALIQ", "dezoito");
    Variant params2 = badRate;
    EXPECT_FALSE(Orb00100::VendaItem(params2));
    EXPECT_EQ(params, original);
    EXPECT_EQ(params2, badRate);
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Items, CancellingByNumberAndTheLastOne) {
    Start(34);
    for (const char* code : {"A1", "B2", "C3"}) {
        Variant params = Item().Set("CDARVPROD", code);
        ASSERT_TRUE(Orb00100::VendaItem(params));
    }
    ClearJournal();
    NewLogTexts();

    EXPECT_TRUE(Orb00100::Cancela_UltimoItem("002"));
    EXPECT_TRUE(Orb00100::Cancela_ItGenerico("002", "00002", "", "", "", "", "", "", "", 0, 0));
    // A number the host wrote short still names the same item.
    EXPECT_TRUE(Orb00100::Cancela_ItGenerico("002", "1", "", "", "", "", "", "", "", 0, 0));
    EXPECT_EQ(Sent("Bematech_FI_CancelaItemGenerico"), (std::vector<json>{{"0002"}, {"0001"}}));
    const json coupon = Coupon();
    for (const json& item : coupon["items"]) EXPECT_TRUE(item["cancelled"].get<bool>()) << item;
    const auto log = NewLogTexts();
    EXPECT_EQ(log.at(0), "Bematech_FI_CancelaItemAnterior");
    EXPECT_NE(std::find(log.begin(), log.end(), "Bematech_FI_CancelaItemGenerico : 0002"), log.end());

    // Cancelling again fails: silently by number, with the status message for the last item.
    EXPECT_FALSE(Orb00100::Cancela_ItGenerico("002", "00002", "", "", "", "", "", "", "", 0, 0));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(Orb00100::Cancela_UltimoItem("002"));
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(Items, SurchargeTotalIsReadAndCancelsTheOpenCoupon) {
    Start(34);
    Variant params = Item().Set("ACRESCIMO", 2.5);
    ASSERT_TRUE(Orb00100::VendaItem(params));
    NewLogTexts();
    std::string total = "x";
    EXPECT_TRUE(Orb00100::Acrescimo_Imp("002", total));
    EXPECT_EQ(total, "00000000000250");
    EXPECT_EQ(NewLogTexts().at(0), "Bematech_FI_Acrescimos\r\nRetorno da Impressora : 00000000000250");
    EXPECT_FALSE(Sim({{"sim", "state"}})["docs"]["couponOpen"].get<bool>());
}

}  // namespace
