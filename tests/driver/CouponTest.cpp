// Opening a coupon and registering its items against the virtual printer (the identified consumer
// and the department form are in the coupon-fields scenario): the item fields in their pictures,
// the retry question on an attended till and the collected messages on a self-service one, the
// cancellations and the surcharge total.

#include <cmath>

#include "coupon/CouponOpening.h"
#include "coupon/ItemFields.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Cp1252.h"
#include "framework/Exceptions.h"
#include "framework/FormatSettings.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::Variant;
using orb::test::NamedParams;
using orb::test::NamedValue;
using orb::test::Texts;

TEST(ItemFieldPictures, QuantityRoundsPricesAndAmountsAreCutTaxIsTheCodeOrTheRate) {
    const std::pair<std::string, std::string> cases[] = {
        {QuantityField(1.5), "0001500"},
        {QuantityField(0.3333), "0000333"},
        {QuantityField(1.2346), "0001235"},
        {UnitPriceField(10.999, false), "000010990"},
        {UnitPriceField(10.999, true), "00010990"},  // the model-34 printers take eight digits
        {AmountField(1.509), "00000150"},
        {AmountField(0), "0000"},
        {AmountField(-2.5), "0000"},
        {TaxField("II", "not a number"), "II"},
        {TaxField("FF", "18"), "FF"},
        {TaxField("NN", ""), "NN"},
        {TaxField("01", "18"), "1800"},
        {TaxField("T1", "7,5"), "0750"},
        {TaxField("T1", "18,999"), "1899"},
        {TaxField("T1", ""), "0000"},
    };
    for (const auto& [field, expected] : cases) EXPECT_EQ(field, expected);
    EXPECT_THROW(TaxField("T1", "18%"), orb::fw::EConvertError);
    // Under a decimal point the separator is still what goes.
    orb::fw::FormatSettings point;
    point.DecimalSeparator = '.';
    point.ThousandSeparator = ',';
    orb::fw::ScopedSettings scoped(point);
    EXPECT_EQ(TaxField("T1", "7.5"), "0750");
    EXPECT_EQ(QuantityField(2.25), "0002250");
}

TEST(ItemFieldPictures, AnItemWorthNothingIsSoldForOneCent) {
    ItemInput in;
    in.name = std::string(60, 'x');
    in.taxCode = "II";
    in.quantity = 2, in.price = 10, in.discount = 20;
    in.unit = "UNI";
    const ItemFields f = BuildItemFields(in, false);
    EXPECT_EQ((Texts{f.discount, f.description, f.unit}), (Texts{"00001999", std::string(50, 'x'), "UN"}));
    in.surcharge = 1;  // the surcharge counts in the total: with it the item is worth something
    EXPECT_EQ(BuildItemFields(in, false).discount, "00002000");
    in.surcharge = 0;  // cut to cents before the comparison: 20,009 off 20,00 still totals nothing
    in.discount = 20.009;
    EXPECT_EQ(BuildItemFields(in, false).discount, "00001999");
}

class Coupon : public orb::test::DriverTest {
protected:
    void StartSale(int model = 34, bool open = true) {
        Start({{"model", model}}, StartParams().Set("IDTIPOIMPFIS", model));
        if (open) {
            Variant opening = NamedParams{{"ESQUEMACOR", "002"}, {"INCLUICPF", ""}, {"IDUTILTEF", "N"}};
            ASSERT_TRUE(AbreCupom(opening));
            ForgetSoFar();
        }
        boClieUtil = true;
    }
    static NamedParams Opening() {
        return {{"ESQUEMACOR", "002"},  {"INTTEFERRO", 0},   {"INCLUICPF", ""},       {"INCLUINOME", ""},
                {"INCLUIENDERECO", ""}, {"CUPNR", "000000"}, {"CONTCUPOM", "000000"}, {"TIPOTICKET", "1"},
                {"MESA", "12"},         {"IDUTILTEF", "N"},  {"UTILTEF", false}};
    }
    static NamedParams Item() {
        return {{"ESQUEMACOR", "002"}, {"INTEFERRO", 3},   {"CDARVPROD", "7891"}, {"NMPROD", "Feijoada"},
                {"CDALIQ", "01"},      {"QTDE", 1.5},      {"VALOR", 10.999},     {"DESCONT", 0.0},
                {"UNIDADE", "KG"},     {"TIPOTICKET", ""}, {"VRPERCALIQ", "18"},  {"IDUTILTEF", "N"},
                {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
    }
    json Items() { return Docs()["coupon"]["items"]; }
    static constexpr const char* kRounding = "Bematech_FI_VendeItemArredondamentoMFD";
};

TEST_F(Coupon, TransferSaleRetriesTheOpeningWhileTheOperatorSaysYes) {
    StartSale(34, false);
    FailNext("Bematech_FI_AbreCupomMFD", 0, 2);
    QueueAnswers({true, true});
    Variant params = Opening().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_TRUE(AbreCupom(params));
    EXPECT_EQ(CallCount("Bematech_FI_AbreCupomMFD"), 3);
    EXPECT_EQ(Questions(), Texts(2, orb::test::ReprintQuestion()));
    for (const auto& d : Dialogs())
        EXPECT_TRUE(d.question != "S" || (d.kind == 3 && d.scheme == "002" && d.third == "N"));
    int logged = 0;
    for (const auto& text : NewLogTexts()) logged += text.starts_with("Bematech_FI_AbreCupomMFD :");
    EXPECT_EQ(logged, 3);
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 1);
    EXPECT_TRUE(CouponOpen());

    // Declined: the parameters are left as they came.
    StartSale(34, false);
    FailNext("Bematech_FI_AbreCupomMFD", 0);
    QueueAnswers({false});
    const Variant original = Opening().Set("IDUTILTEF", "S").Set("UTILTEF", true).Set("INTTEFERRO", 7);
    params = original;
    EXPECT_FALSE(AbreCupom(params));
    EXPECT_EQ(params, original);
    EXPECT_EQ(CallCount("Bematech_FI_AbreCupomMFD"), 1);
    EXPECT_TRUE(boClieUtil);  // a refusal on an attended till leaves it
}

TEST_F(Coupon, RefusedOpeningIsShownWithoutQuestionOrCollectedOnASelfServiceTill) {
    // UTILTEF alone does not make a transfer sale: nothing is asked, the answer is what came in.
    StartSale(34, false);
    FailNext("Bematech_FI_AbreCupomMFD", -6);
    Variant params = Opening().Set("UTILTEF", true).Set("CUPNR", "000123").Set("CONTCUPOM", "000045");
    EXPECT_FALSE(AbreCupom(params));
    EXPECT_TRUE(Questions().empty());
    EXPECT_EQ(DialogTexts().at(0), CP("Impressora desligada ou desconectada."));
    EXPECT_EQ((Texts{NamedValue(params, "CUPNR").ToString(), NamedValue(params, "CONTCUPOM").ToString()}),
              (Texts{"000123", "000045"}));
    EXPECT_EQ(CallCount("Bematech_FI_NumeroCupom"), 0);
    EXPECT_TRUE(boClieUtil);
    EXPECT_FALSE(CouponOpen());

    StartSale(34, false);
    boNUtilTaa = false;
    FailNext("Bematech_FI_AbreCupomMFD", -6);
    params = Opening().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_FALSE(AbreCupom(params));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(NamedValue(params, "MENSAGEMTAA").ToString(), CP(" Impressora desligada ou desconectada."));
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 0);
    EXPECT_FALSE(boClieUtil);
}

TEST_F(Coupon, AttendedTillOffersTheRefusedItemAgainADeclinedRetryLeavesTheParametersAlone) {
    StartSale();
    FailNext(kRounding, 0);
    QueueAnswers({true});
    Variant params = Item().Set("NMPROD", "Picanha na chapa para dois");
    EXPECT_TRUE(VendaItem(params));
    EXPECT_EQ(Sent(kRounding), std::vector<json>(2, Sent(kRounding).at(0)));
    const std::string question =
        "Erro ao imprimir o item: \r\n7891 - Picanha na chapa par\r\nDeseja imprimir novamente?";
    EXPECT_EQ(Questions(), Texts{question});
    EXPECT_TRUE(LastDialogIs(question, 3, "002"));
    EXPECT_EQ(NamedValue(params, "INTTEFERRO").ToInt(), 3);  // the marker is not changed by a retry
    EXPECT_EQ(Items().size(), 1u);

    // In a transfer sale the question is the printer's; declining it leaves everything as it was.
    StartSale();
    FailNext(kRounding, 0);
    QueueAnswers({false});
    const Variant original = Item().Set("IDUTILTEF", "S").Set("UTILTEF", true);
    params = original;
    EXPECT_FALSE(VendaItem(params));
    EXPECT_EQ(Questions(), Texts{orb::test::ReprintQuestion()});
    EXPECT_EQ(params, original);
    EXPECT_FALSE(boClieUtil);
    EXPECT_TRUE(Items().empty());
}

TEST_F(Coupon, SelfServiceRefusalComesBackInTheMessagesOfThisCall) {
    StartSale();
    boNUtilTaa = false;
    FailNext(kRounding, -2);
    stMensagemTaa = " left from before";
    Variant params = Item().Set("IDUTILTEF", "T").Set("UTILTEF", true);
    EXPECT_FALSE(VendaItem(params));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_EQ(CallCount(kRounding), 1);
    EXPECT_TRUE(NamedValue(params, "MENSAGEMTAA").ToString().starts_with(CP(" Parâmetro inválido.")));
    EXPECT_FALSE(boClieUtil);

    // A rate without a slot is the printer's refusal too.
    params = Item().Set("VRPERCALIQ", "3,5");
    EXPECT_FALSE(VendaItem(params));
    EXPECT_EQ(Sent(kRounding).back()[2], "0350");
    EXPECT_NE(NamedValue(params, "MENSAGEMTAA").ToString().find(CP("Alíquota não programada")), std::string::npos);
}

TEST_F(Coupon, ParameterThatDoesNotConvertRegistersNothing) {
    StartSale();
    for (const Variant& original : {Variant(Item().Set("QTDE", "um e meio")), Variant(Item().Set("VRPERCALIQ", "x"))}) {
        Variant params = original;
        EXPECT_FALSE(VendaItem(params));
        EXPECT_EQ(params, original);
    }
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(Coupon, ValuesThePrinterCannotHoldAreRefusedBeforeAnythingIsSent) {
    StartSale();
    struct Case {
        const char* key;
        Variant value;
    };
    const Case cases[] = {{"QTDE", 10000.0},   {"QTDE", -1.0},      {"VALOR", 1e15},
                          {"VALOR", 1e308},    {"VALOR", 100000.0}, {"DESCONT", -0.01},
                          {"ACRESCIMO", -2.5}, {"DESCONT", 1e6},    {"VALOR", std::nan("")}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.key + (" " + c.value.ToString()));
        orb::hostlib::ClearRecorded();
        Variant params = Item().Set(c.key, c.value);
        EXPECT_FALSE(VendaItem(params));
        EXPECT_TRUE(LastDialogIs(CP("Valor fora do limite da impressora: ") + c.key, 3, "002"));
    }
    EXPECT_TRUE(Journal().empty());
    EXPECT_TRUE(Items().empty());
    // The largest values the eight-digit fields of this model take still go.
    Variant largest = Item().Set("QTDE", 9999.999).Set("VALOR", 99999.99).Set("DESCONT", 999999.99);
    EXPECT_TRUE(VendaItem(largest));
    EXPECT_EQ(Sent(kRounding).at(0)[4], "9999999");
}

TEST_F(Coupon, AnItemThePrinterTookIsTrueEvenWhenItsLogLineCannotBeWritten) {
    StartSale();
    orb::platform::SetEnv("ORB_HOME", HomePath("gone"));
    for (const char* code : {"A1", "B2"}) {
        Variant params = Item().Set("CDARVPROD", code);
        EXPECT_TRUE(VendaItem(params)) << code;
    }
    orb::platform::SetEnv("ORB_HOME", Home());
    EXPECT_EQ(Items().size(), 2u);  // a host told the truth has nothing to retry
    EXPECT_EQ(DialogTexts().size(), 1u);
}

TEST_F(Coupon, CancellingByNumberAndTheLastOne) {
    StartSale();
    for (const char* code : {"A1", "B2", "C3"}) {
        Variant params = Item().Set("CDARVPROD", code);
        ASSERT_TRUE(VendaItem(params));
    }
    ForgetSoFar();
    EXPECT_TRUE(Cancela_UltimoItem("002"));
    EXPECT_TRUE(Cancela_ItGenerico("002", "00002", "", "", "", "", "", "", "", 0, 0));
    // A number the host wrote short still names the same item.
    EXPECT_TRUE(Cancela_ItGenerico("002", "1", "", "", "", "", "", "", "", 0, 0));
    EXPECT_EQ(Sent("Bematech_FI_CancelaItemGenerico"), (std::vector<json>{{"0002"}, {"0001"}}));
    for (const json& item : Items()) EXPECT_TRUE(item["cancelled"].get<bool>()) << item;
    const Texts log = NewLogTexts();
    EXPECT_EQ(log.at(0), "Bematech_FI_CancelaItemAnterior");
    EXPECT_TRUE(orb::test::Has(log, "Bematech_FI_CancelaItemGenerico : 0002"));

    // Cancelling again fails: silently by number, with the status message for the last item.
    EXPECT_FALSE(Cancela_ItGenerico("002", "00002", "", "", "", "", "", "", "", 0, 0));
    EXPECT_TRUE(Dialogs().empty());
    EXPECT_FALSE(Cancela_UltimoItem("002"));
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(Coupon, SurchargeTotalIsReadAndCancelsTheOpenCoupon) {
    StartSale();
    Variant params = Item().Set("ACRESCIMO", 2.5);
    ASSERT_TRUE(VendaItem(params));
    NewLogTexts();
    std::string total = "x";
    EXPECT_TRUE(Acrescimo_Imp("002", total) && total == "00000000000250") << total;
    EXPECT_EQ(NewLogTexts().at(0), AnswerLogText("Bematech_FI_Acrescimos") + "00000000000250");
    EXPECT_FALSE(CouponOpen());
}

}  // namespace
