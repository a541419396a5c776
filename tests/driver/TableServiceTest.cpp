// Table service against the virtual printers: the table-opening slip on a one-cent receipt, the
// sale register, and the table check on the receipt printer with its charges and split.
#include <cstdlib>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/DateTime.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"
#include "slips/TableCheck.h"
#include "slips/TableOpening.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::FieldType;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
const std::string kContact = "Suporte do ECF: consulte o fabricante";
const std::string kLongName = "FILE A PARMEGIANA COM ARROZ, FRITAS E SALADA DA CASA PARA DOIS";

std::string Right(const std::string& text, std::size_t width) { return std::string(width - text.size(), ' ') + text; }
std::string Blank() { return std::string(48, ' '); }
std::string Dashes() { return std::string(48, '-'); }

orb::fw::Variant Products(const std::vector<std::vector<orb::fw::Variant>>& rows) {
    return orb::test::TableData({{"CDARVPROD"},
                                 {"NMPRODUTO", FieldType::String, 80},
                                 {"QTPRODCOMVEN", FieldType::Float},
                                 {"VRPRECCOMVEN", FieldType::Float}},
                                rows);
}

class TableService : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        Start({{"totalizers", {"MESA"}}, {"payments", {"Dinheiro", {{"name", "Rel Gerencial"}, {"linkable", true}}}}});
        PinClock(orb::fw::EncodeDateTime(2026, 12, 6, 21, 15, 4));
        mp2032_ = orb::platform::LoadLibrary("Mp2032.dll");
        ASSERT_NE(mp2032_, 0);
        control_ = reinterpret_cast<Control>(orb::platform::GetProcAddress(mp2032_, "Mp2032Sim_Control"));
        ReceiptPrinter({{"sim", "reset"}});
    }
    void TearDown() override {
        orb::fw::SetClock({});
        if (mp2032_) orb::platform::FreeLibrary(mp2032_);
        DriverTest::TearDown();
    }
    json ReceiptPrinter(const json& request) {
        std::string reply(1 << 20, '\0');
        const int n = control_(request.dump().c_str(), reply.data(), static_cast<int>(reply.size()));
        return json::parse(reply.substr(0, static_cast<std::size_t>(n)));
    }
    // The receipt printer's calls, as "entry [args]".
    Texts ReceiptCalls() {
        Texts calls;
        const json reply = ReceiptPrinter({{"sim", "journal"}});
        for (const json& call : reply["journal"])
            calls.push_back(call["entry"].get<std::string>() + " " + call["args"].dump());
        return calls;
    }
    static std::string Line(const std::string& text, bool expanded = false) {
        return "FormataTX " + json::array({text, 2, 0, 0, expanded ? 1 : 0, 0}).dump();
    }
    bool Check(const orb::fw::Variant& products, double discount, double minimum, double cover, double service,
               double persons, double total) {
        return Parcial_BematechNFiscal("COM2", "015", "0012", "ANTONIO", "", products, discount, minimum, cover,
                                       service, persons, total);
    }

private:
    using Control = int (*)(const char*, char*, int);
    orb::platform::LibHandle mp2032_ = 0;
    Control control_ = nullptr;
};

TEST_F(TableService, OpeningSlipTruncatesLineTotalsWhereTheSaleRegisterRoundsThem) {
    const auto products = Products({{"000101", "CHOPP PILSEN 300ML", 1.25, 3.99}, {"000230", kLongName, 2.0, 45.9}});
    EXPECT_TRUE(
        Abertura_Mesa("01", "001", "", "0012", "", "06/12/2026 19:02", products, 0, 0, 0, 9.67, 0, 106.459, 0.5));

    // The one-cent receipt in the printer's fourteen digits, and the slip on it.
    EXPECT_EQ(SentTexts("Bematech_FI_RecebimentoNaoFiscal", "|"), Texts{"01|00000000000001|Rel Gerencial"});
    EXPECT_EQ(SentTexts("Bematech_FI_AbreComprovanteNaoFiscalVinculado", "|"),
              Texts{"Rel Gerencial|00000000000001|000001"});
    EXPECT_EQ(SentTexts(kUsa),
              (Texts{Blank() + "\n" + Blank() + "\n" + Dashes() + "\n" + Blank() + "\n" + std::string(15, ' ') +
                         "Abertura de Mesa\n" + Blank() + "\nMesa: 0012\nEmissao: 06/12/2026 19:02\n" + Dashes() + "\n",
                     "CODIGO     NOME\nQTDE    VR. UNIT" + Right("VLR.TOT", 32) + "\n\n",
                     "000101 CHOPP PILSEN 300ML\n1,250   X 3,99     " + Right("4,98", 27) + "\n",
                     "000230 " + kLongName + "\n2,000   X 45,90     " + Right("91,80", 27) + "\n",
                     Blank() + "\nTaxa de Servico: " + Right("9,67", 30) + "\nAcréscimo: " + Right("0,50", 35) + "\n",
                     Dashes() + "\nTotal Geral: " + Right("106,45", 35) + "\n" + Blank() + "\n" + kContact}));
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_EQ(State()["totalizers"][0]["day"], 1);
    EXPECT_TRUE(Recorded().ledger.empty());

    ClearJournal();
    orb::fw::ClientDataSet items;
    orb::test::FillTable(
        items,
        {{"CDPROD"}, {"NMPROD", FieldType::String, 80}, {"STQTDE", FieldType::Float}, {"STVALOR", FieldType::Float}},
        {{"000101", "CHOPP PILSEN 300ML", 1.25, 3.99}, {"000230", kLongName, 2.0, 45.9}});
    EXPECT_TRUE(RegistroVenda("0001", "001", "001", &items, "0012"));
    const Texts sent = SentTexts(kUsa);
    ASSERT_EQ(sent.size(), 4u);
    EXPECT_EQ(sent[0], Blank() + "\n       Relatório de abertura da mesa 0012\n" + Blank() + "\n" + Dashes() + "\n" +
                           std::string(15, ' ') + "REGISTRO DE VENDA\n" + Dashes() +
                           "\n\nCODIGO     NOME\nQTDE    VR. UNIT" + Right("VLR.TOT", 32) + "\n\n");
    EXPECT_EQ(sent[1], "000101 CHOPP PILSEN 300ML\n1,25   X 3,99     " + Right("4,99", 29) + "\n");
    EXPECT_EQ(sent[2], "000230 " + kLongName + "\n2,00   X 45,90     " + Right("91,80", 29) + "\n");
    EXPECT_EQ(sent[3], Blank() + "\n" + Dashes() + "\n" + kContact + " ");
    EXPECT_EQ(JournalEntries({"Bematech_FI_RelatorioGerencial", "Bematech_FI_FechaRelatorioGerencial"}),
              (Texts{"Bematech_FI_RelatorioGerencial", "Bematech_FI_FechaRelatorioGerencial"}));
    // The long name reaches the paper whole, wrapped by the printer.
    const std::string roll = Roll();
    EXPECT_NE(roll.find("000230 " + kLongName.substr(0, 41) + "\n" + kLongName.substr(41) + "\n"), std::string::npos);
}

TEST_F(TableService, SaleRegisterHeadingNamesATableOnlyForFourCharacters) {
    const struct {
        const char* text;
        const char* heading;
    } cases[] = {{"0012", "       Relatório de abertura da mesa 0012"},
                 {"123", "   Relatório de abertura da comanda 123"},
                 {"00012", "   Relatório de abertura da comanda 00012"}};
    for (const auto& c : cases) {
        ClearJournal();
        orb::fw::ClientDataSet empty;
        orb::test::FillTable(empty,
                             {{"CDPROD"}, {"NMPROD"}, {"STQTDE", FieldType::Float}, {"STVALOR", FieldType::Float}}, {});
        EXPECT_TRUE(RegistroVenda("0001", "001", "001", &empty, c.text));
        const Texts sent = SentTexts(kUsa);
        ASSERT_EQ(sent.size(), 2u) << c.text;  // header and closing: no item
        EXPECT_EQ(sent[0].substr(49, sent[0].find('\n', 49) - 49), c.heading);
    }
    EXPECT_THROW(RegistroVenda("0001", "001", "001", nullptr, "0012"), orb::fw::EDatabaseError);
}

TEST_F(TableService, RefusedSlipStillPrintsAndClosesNothingButTheReceiptStands) {
    // An unprogrammed totalizer: no receipt, so no slip either.
    EXPECT_FALSE(Abertura_Mesa("07", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 0);
    EXPECT_EQ(Docs()["open"], "");

    ClearJournal();
    orb::hostlib::ClearRecorded();
    FailNext("Bematech_FI_AbreComprovanteNaoFiscalVinculado", 0);
    EXPECT_FALSE(Abertura_Mesa("01", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 1);
    // Header, columns, totals and closing go out all the same (there is no product); the
    // printer refuses them, and with nothing open there is nothing to close.
    EXPECT_EQ(Sent(kUsa).size(), 4u);
    EXPECT_EQ(CallCount("Bematech_FI_FechaRelatorioGerencial"), 0);
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(TableService, CheckPrintsChargesAndTheSplitOnTheReceiptPrinter) {
    const auto products = Products({{"000101", "CHOPP PILSEN 300ML", 1.25, 3.99}});
    ASSERT_TRUE(Check(products, 2.5, 50, 5, 9.67, 4, 100));
    const Texts calls = ReceiptCalls();
    EXPECT_EQ(calls, (Texts{"IniciaPorta [\"COM2\"]",
                            Line(" Conferencia de Mesa \n\n", true),
                            Line("Comanda015\n"),
                            Line("Mesa: 0012\n"),
                            Line("Garcom:   ANTONIO\n"),
                            Line("Emissao: 06/12/2026 21:15:04\n"),
                            Line(Dashes() + "\n"),
                            Line(Dashes() + "\n"),
                            Line("000101  CHOPP PILSEN 300ML\n"),
                            Line("     1,250   X   3,99     " + Right("4,99", 22) + "\n"),
                            Line("Desconto" + std::string(17, ' ') + "-" + Right("2,50", 22) + "\n"),
                            Line("Consumacao Minima" + std::string(8, ' ') + Right("50,00", 22) + "\n"),
                            Line("Taxa de Servico" + std::string(10, ' ') + Right("9,67", 22) + "\n"),
                            Line("Couvert  X  4 pessoas    " + Right("20,00", 22) + "\n"),
                            Line("Aproximadamente 25,00 por pessoa. (4 pessoas)\n"),
                            Line("TOTAL" + std::string(9, ' ') + Right("100,00", 9) + "\n", true),
                            Line(Dashes() + "\n"),
                            Line("DOC. SEM VALOR FISCAL\n"),
                            Line(std::string(10, '\n')),
                            "FechaPorta []"}));
    // The product's amounts and the discount fill the 48 columns.
    for (std::size_t i : {9u, 10u}) EXPECT_EQ(json::parse(calls[i].substr(10))[0].get<std::string>().size(), 49u);
    // Nothing of it on the fiscal printer.
    EXPECT_TRUE(Roll().empty());
}

TEST_F(TableService, CheckLeavesOutWhatIsZeroAndTheSplitOfOnePerson) {
    const struct {
        double cover, persons, service, total;
        Texts charges;  // the lines between the products and the total
    } cases[] = {
        {0, 1, 0, 10, {}},
        {5, 1, 0, 10, {"Couvert  X  1 pessoas    " + Right("5,00", 22) + "\n"}},
        {0, 4, 0, 100, {"Aproximadamente 25,00 por pessoa. (4 pessoas)\n"}},
        {0,
         2.5,
         1,
         10,
         {"Taxa de Servico" + std::string(10, ' ') + Right("1,00", 22) + "\n",
          "Aproximadamente  4,00 por pessoa. (2,5 pessoas)\n"}},
        {2,
         3,
         0,
         1000,
         {"Couvert  X  3 pessoas    " + Right("6,00", 22) + "\n", "Aproximadamente 333,33 por pessoa. (3 pessoas)\n"}},
    };
    for (const auto& c : cases) {
        ReceiptPrinter({{"sim", "reset"}});
        ASSERT_TRUE(Check(Products({}), 0, 0, c.cover, c.service, c.persons, c.total));
        const Texts calls = ReceiptCalls();
        ASSERT_GE(calls.size(), 12u);
        Texts charges;
        for (std::size_t i = 8; i + 5 < calls.size(); ++i)
            charges.push_back(json::parse(calls[i].substr(10))[0].get<std::string>());
        EXPECT_EQ(charges, c.charges) << c.persons;
    }
}

TEST_F(TableService, CheckWithoutAPrinterTellsTheOperatorAndAnExceptionStillClosesThePort) {
    std::FILE* ini = std::fopen(SystemPath("Mp2032.ini").c_str(), "w");
    ASSERT_NE(ini, nullptr);
    std::fputs("[Mp2032]\nPorts=COM1\n", ini);
    std::fclose(ini);
    EXPECT_FALSE(Check(Products({}), 0, 0, 0, 0, 1, 10));
    EXPECT_EQ(ReceiptCalls(), Texts{"IniciaPorta [\"COM2\"]"});
    EXPECT_TRUE(LastDialogIs(CatalogText("ERRO_IMP"), 3, ""));
    EXPECT_TRUE(WasLogged("IniciaPorta : COM2 - 0"));

    // A products argument that is no table: the host hears of it, and the port is not left open.
    ReceiptPrinter({{"sim", "reset"}});
    EXPECT_THROW(Parcial_BematechNFiscal("COM1", "", "1", "", "", orb::fw::Variant("x"), 0, 0, 0, 0, 1, 0),
                 orb::fw::Exception);
    EXPECT_EQ(ReceiptCalls(), (Texts{"IniciaPorta [\"COM1\"]", "FechaPorta []"}));
    EXPECT_EQ(ReceiptPrinter({{"sim", "state"}})["open"], false);
}

}  // namespace
