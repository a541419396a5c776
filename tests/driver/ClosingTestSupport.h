#pragma once
// What the closing tests share: a sale opened on the virtual printer, the closing's 61 values
// with plain defaults, and the sale's tables built row by row.
#include <string>
#include <vector>

#include "coupon/Closing.h"
#include "coupon/CouponOpening.h"
#include "coupon/Items.h"
#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/ClientDataSet.h"
#include "framework/DateTime.h"
#include "framework/Variant.h"

namespace closingtest {

using nlohmann::json;
using orb::fw::ClientDataSet;
using orb::fw::FieldType;
using orb::fw::Variant;

struct Movement {
    std::string kind;    // IDTIPOMOVIVE
    int minute;          // DTHRINCMOV, minutes after noon
    int changeOrder;     // NRORDTROCO
    std::string type;    // CDTIPORECE
    double amount;       // VRMOVIVEND
    std::string card;    // CDBANCARTCR
    std::string original;  // CDTIPORECEORIG
};

inline Variant Movements(const std::vector<Movement>& rows) {
    ClientDataSet t;
    t.AddFieldDef("CDFILIAL", FieldType::String, 4);
    t.AddFieldDef("IDTIPOMOVIVE", FieldType::String, 1);
    t.AddFieldDef("DTHRINCMOV", FieldType::DateTime);
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("VRMOVIVEND", FieldType::Float);
    t.AddFieldDef("NRORDTROCO", FieldType::Integer);
    t.AddFieldDef("CDBANCARTCR", FieldType::String, 3);
    t.AddFieldDef("CDTIPORECEORIG", FieldType::String, 3);
    t.CreateDataSet();
    for (const Movement& m : rows) {
        t.Append();
        t.FieldByName("CDFILIAL").SetAsString("0001");
        t.FieldByName("IDTIPOMOVIVE").SetAsString(m.kind);
        t.FieldByName("DTHRINCMOV").SetAsDateTime(orb::fw::EncodeDateTime(2026, 12, 5, 12, m.minute, 0));
        t.FieldByName("CDTIPORECE").SetAsString(m.type);
        t.FieldByName("VRMOVIVEND").SetAsFloat(m.amount);
        t.FieldByName("NRORDTROCO").SetAsInteger(m.changeOrder);
        t.FieldByName("CDBANCARTCR").SetAsString(m.card);
        t.FieldByName("CDTIPORECEORIG").SetAsString(m.original);
        t.Post();
    }
    return Variant(t.Data());
}

// Code, name as the printer knows it, kind.
inline Variant PaymentTypes(const std::vector<std::vector<std::string>>& rows) {
    ClientDataSet t;
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("NMTIPORECE", FieldType::String, 40);
    t.AddFieldDef("IDTIPORECE", FieldType::String, 1);
    t.CreateDataSet();
    for (const auto& r : rows) {
        t.Append();
        t.FieldByName("CDTIPORECE").SetAsString(r.at(0));
        t.FieldByName("NMTIPORECE").SetAsString(r.at(1));
        t.FieldByName("IDTIPORECE").SetAsString(r.at(2));
        t.Post();
    }
    return Variant(t.Data());
}

inline Variant StandardTypes() {
    return PaymentTypes({{"001", "Dinheiro", "1"}, {"002", "Cartao Credito Visa Internacional", "2"},
                         {"003", "Convenio", "8"}, {"004", "Conta Cliente", "9"}});
}

// The closing's values: no discount, cash 30,00, a plain footer, messages shown.
inline std::vector<Variant> ClosingValues() {
    std::vector<Variant> v(61, Variant(""));
    v[0] = "01";
    v[1] = "Obrigado pela preferencia";
    v[2] = "002";
    v[3] = 0;
    v[4] = false;
    v[5] = true;
    for (int i : {6, 7, 8, 37, 38, 50, 51, 53, 58}) v[i] = 0.0;
    v[9] = "N";
    v[11] = false;
    v[13] = Movements({{"E", 1, 0, "001", 30.0, "", ""}});
    v[14] = StandardTypes();
    v[27] = "2";
    for (int i : {32, 33, 34, 49}) v[i] = Variant::Null();
    v[36] = "2";
    v[40] = "N";
    v[41] = "001";
    v[42] = "4711";
    v[43] = "SP";
    v[45] = "12.345.678/0001-90";
    v[52] = 0;
    v[60] = true;
    return v;
}

class ClosingTest : public orb::test::DriverTest {
protected:
    // A printer with cash, a card, an agreement and a consumer account programmed, and a
    // change totalizer; the module started; a coupon open with items worth 30,00.
    void OpenSale(std::vector<double> prices = {10.0, 20.0}) {
        ResetPrinter({{"payments", {"Dinheiro", "Cartao Credito V", "Convenio", "Conta Cliente"}},
                      {"totalizers", {"Troco"}}});
        ASSERT_TRUE(StartModule());
        Variant opening = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"IDUTILTEF", "N"}, {"UTILTEF", false}};
        ASSERT_TRUE(Orb00100::AbreCupom(opening));
        for (double price : prices) {
            Variant item = orb::test::NamedParams{{"ESQUEMACOR", "002"}, {"CDARVPROD", "7891"},
                                                  {"NMPROD", "Prato"},   {"CDALIQ", "01"},
                                                  {"QTDE", 1.0},         {"VALOR", price},
                                                  {"DESCONT", 0.0},      {"UNIDADE", "UN"},
                                                  {"VRPERCALIQ", "18"},  {"IDUTILTEF", "N"},
                                                  {"UTILTEF", false},    {"ACRESCIMO", 0.0}};
            ASSERT_TRUE(Orb00100::VendaItem(item));
        }
        ClearJournal();
        NewLogTexts();
        orb::hostlib::ClearRecorded();
    }
    bool Close(const std::vector<Variant>& values, orb::fw::StringList* lines = nullptr) {
        return Orb00100::FechaCupom(values, lines, result);
    }
    std::vector<json> Sent(const std::string& entry) {
        std::vector<json> args;
        for (const json& call : Journal())
            if (call.value("entry", "") == entry) args.push_back(call["args"]);
        return args;
    }
    std::string Footer() {
        const auto sent = Sent("Bematech_FI_TerminaFechamentoCupom");
        return sent.empty() ? std::string() : sent.back().at(0).get<std::string>();
    }
    json Printer() { return Sim({{"sim", "state"}}); }

    Variant result = Variant::MakeArray(4);
};

}  // namespace closingtest
