// Table service against the virtual printers: the table-opening slip on a one-cent receipt, the
// sale register's heading, and the table check on the receipt printer with its charges and split.
#include <cstdio>

#include "driver/Globals.h"
#include "driver/TestSupport.h"
#include "framework/Exceptions.h"
#include "platform/Platform.h"
#include "slips/TableCheck.h"
#include "slips/TableOpening.h"

namespace {

using namespace Orb00100;
using nlohmann::json;
using orb::fw::FieldType;
using orb::test::Right;
using orb::test::Texts;

constexpr const char* kUsa = "Bematech_FI_UsaComprovanteNaoFiscalVinculado";
const std::string kContact = "Suporte do ECF: consulte o fabricante";
const std::string kLongName = "FILE A PARMEGIANA COM ARROZ, FRITAS E SALADA DA CASA PARA DOIS";
const std::string kBlank(48, ' '), kDashes(48, '-');

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

private:
    using Control = int (*)(const char*, char*, int);
    orb::platform::LibHandle mp2032_ = 0;
    Control control_ = nullptr;
};

TEST_F(TableService, OpeningSlipRidesOnAOneCentReceiptAndTruncatesItsAmounts) {
    const auto products = Products({{"000101", "CHOPP PILSEN 300ML", 1.25, 3.99}, {"000230", kLongName, 2.0, 45.9}});
    EXPECT_TRUE(
        Abertura_Mesa("01", "001", "", "0012", "", "06/12/2026 19:02", products, 0, 0, 0, 9.67, 0, 106.459, 0.5));
    EXPECT_EQ(SentTexts("Bematech_FI_RecebimentoNaoFiscal", "|"), Texts{"01|00000000000001|Rel Gerencial"});
    EXPECT_EQ(SentTexts("Bematech_FI_AbreComprovanteNaoFiscalVinculado", "|"),
              Texts{"Rel Gerencial|00000000000001|000001"});
    // 1,25 x 3,99 is cut to 4,98 here where the sale register rounds it; the long name goes whole.
    EXPECT_EQ(SentTexts(kUsa),
              (Texts{kBlank + "\n" + kBlank + "\n" + kDashes + "\n" + kBlank + "\n" + std::string(15, ' ') +
                         "Abertura de Mesa\n" + kBlank + "\nMesa: 0012\nEmissao: 06/12/2026 19:02\n" + kDashes + "\n",
                     "CODIGO     NOME\nQTDE    VR. UNIT" + Right("VLR.TOT", 32) + "\n\n",
                     "000101 CHOPP PILSEN 300ML\n1,250   X 3,99     " + Right("4,98", 27) + "\n",
                     "000230 " + kLongName + "\n2,000   X 45,90     " + Right("91,80", 27) + "\n",
                     kBlank + "\nTaxa de Servico: " + Right("9,67", 30) + "\nAcréscimo: " + Right("0,50", 35) + "\n",
                     kDashes + "\nTotal Geral: " + Right("106,45", 35) + "\n" + kBlank + "\n" + kContact}));
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_TRUE(Recorded().ledger.empty());
}

TEST_F(TableService, SaleRegisterNamesATableOnlyForFourCharacters) {
    const struct {
        const char *text, *heading;
    } cases[] = {{"0012", "       Relatório de abertura da mesa 0012"},
                 {"123", "   Relatório de abertura da comanda 123"},
                 {"00012", "   Relatório de abertura da comanda 00012"}};
    orb::fw::ClientDataSet empty;
    orb::test::FillTable(empty, {{"CDPROD"}, {"NMPROD"}, {"STQTDE", FieldType::Float}, {"STVALOR", FieldType::Float}},
                         {});
    for (const auto& c : cases) {
        ClearJournal();
        EXPECT_TRUE(RegistroVenda("0001", "001", "001", &empty, c.text));
        EXPECT_EQ(SentTexts(kUsa), (Texts{kBlank + "\n" + c.heading + "\n" + kBlank + "\n" + kDashes + "\n" +
                                              std::string(15, ' ') + "REGISTRO DE VENDA\n" + kDashes +
                                              "\n\nCODIGO     NOME\nQTDE    VR. UNIT" + Right("VLR.TOT", 32) + "\n\n",
                                          kBlank + "\n" + kDashes + "\n" + kContact + " "}))
            << c.text;
    }
    // A long name goes whole, where the opening slip's quantity has three decimals.
    orb::fw::ClientDataSet items;
    orb::test::FillTable(
        items,
        {{"CDPROD"}, {"NMPROD", FieldType::String, 80}, {"STQTDE", FieldType::Float}, {"STVALOR", FieldType::Float}},
        {{"000230", kLongName, 2.0, 45.9}});
    ClearJournal();
    EXPECT_TRUE(RegistroVenda("0001", "001", "001", &items, "0012"));
    EXPECT_EQ(SentTexts(kUsa).at(1), "000230 " + kLongName + "\n2,00   X 45,90     " + Right("91,80", 29) + "\n");
    EXPECT_EQ(Docs()["open"], "");
    EXPECT_THROW(RegistroVenda("0001", "001", "001", nullptr, "0012"), orb::fw::EDatabaseError);
}

TEST_F(TableService, RefusedSlipStillPrintsAndClosesNothingButTheReceiptStands) {
    // An unprogrammed totalizer: no receipt, so no slip either.
    EXPECT_FALSE(Abertura_Mesa("07", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 0);
    EXPECT_EQ(Docs()["open"], "");

    ClearJournal();
    FailNext("Bematech_FI_AbreComprovanteNaoFiscalVinculado", 0);
    EXPECT_FALSE(Abertura_Mesa("01", "001", "", "0012", "", "x", Products({}), 0, 0, 0, 0, 0, 0, 0));
    EXPECT_EQ(State()["totalizers"][0]["day"], 1);
    // Header, columns, totals and closing go out all the same (there is no product); the
    // printer refuses them, and with nothing open there is nothing to close.
    EXPECT_EQ(Sent(kUsa).size(), 4u);
    EXPECT_EQ(CallCount("Bematech_FI_FechaRelatorioGerencial"), 0);
    EXPECT_FALSE(Dialogs().empty());
}

TEST_F(TableService, CheckPrintsOnTheReceiptPrinterAndLeavesOutWhatIsZeroAndTheSplitOfOne) {
    const auto line = [](const std::string& text, bool expanded = false) {
        return "FormataTX " + json::array({text, 2, 0, 0, expanded ? 1 : 0, 0}).dump();
    };
    const auto charge = [](const std::string& label, const std::string& amount) {
        return orb::test::Left(label, 25) + Right(amount, 22) + "\n";
    };
    const std::string split = "Aproximadamente 25,00 por pessoa. (4 pessoas)\n";
    // clang-format off
    const struct {
        double discount, minimum, cover, service, persons, total;
        const char* totalText;
        Texts charges;  // the lines between the products and the total
    } cases[] = {
        {2.5, 50, 5, 9.67, 4, 100, "100,00",
         {"Desconto" + std::string(17, ' ') + "-" + Right("2,50", 22) + "\n", charge("Consumacao Minima", "50,00"),
          charge("Taxa de Servico", "9,67"), charge("Couvert  X  4 pessoas", "20,00"), split}},
        {0, 0, 0, 0, 1, 10, "10,00", {}},
        {0, 0, 5, 0, 1, 10, "10,00", {charge("Couvert  X  1 pessoas", "5,00")}},
        {0, 0, 0, 0, 4, 100, "100,00", {split}},
        {0, 0, 0, 1, 2.5, 10, "10,00",
         {charge("Taxa de Servico", "1,00"), "Aproximadamente  4,00 por pessoa. (2,5 pessoas)\n"}},
        {0, 0, 2, 0, 3, 1000, "1000,00",
         {charge("Couvert  X  3 pessoas", "6,00"), "Aproximadamente 333,33 por pessoa. (3 pessoas)\n"}},
    };
    // clang-format on
    for (const auto& c : cases) {
        ReceiptPrinter({{"sim", "reset"}});
        ASSERT_TRUE(Parcial_BematechNFiscal("COM2", "015", "0012", "ANTONIO", "", Products({}), c.discount, c.minimum,
                                            c.cover, c.service, c.persons, c.total));
        Texts expected = {"IniciaPorta [\"COM2\"]",    line(" Conferencia de Mesa \n\n", true),
                          line("Comanda015\n"),        line("Mesa: 0012\n"),
                          line("Garcom:   ANTONIO\n"), line("Emissao: 06/12/2026 21:15:04\n"),
                          line(kDashes + "\n"),        line(kDashes + "\n")};
        for (const std::string& charge : c.charges) expected.push_back(line(charge));
        expected.insert(expected.end(),
                        {line("TOTAL" + std::string(9, ' ') + Right(c.totalText, 9) + "\n", true), line(kDashes + "\n"),
                         line("DOC. SEM VALOR FISCAL\n"), line(std::string(10, '\n')), "FechaPorta []"});
        EXPECT_EQ(ReceiptCalls(), expected) << c.persons;
    }
    EXPECT_TRUE(Roll().empty());  // nothing of it on the fiscal printer
}

TEST_F(TableService, CheckWithoutAPrinterTellsTheOperatorAndAnExceptionStillClosesThePort) {
    std::FILE* ini = std::fopen(SystemPath("Mp2032.ini").c_str(), "w");
    ASSERT_NE(ini, nullptr);
    std::fputs("[Mp2032]\nPorts=COM1\n", ini);
    std::fclose(ini);
    EXPECT_FALSE(Parcial_BematechNFiscal("COM2", "015", "0012", "ANTONIO", "", Products({}), 0, 0, 0, 0, 1, 10));
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
