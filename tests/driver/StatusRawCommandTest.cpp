// The raw-command path, with the raw entries filled by the test as the host fills them, and once
// against the virtual printer through the loaded library.

#include <cstring>
#include <stdexcept>

#include "connection/Binding.h"
#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"
#include "queries/Queries.h"

namespace {

using namespace Orb00100;
using orb::test::Texts;

const std::string kEsc(1, '\x1b');
const std::string kStatusRequest = kEsc + "|19|" + kEsc;
std::string Frame(const std::string& inside) { return kEsc + "|" + inside + "|" + kEsc; }

struct RawPrinter {
    static inline Texts sent;
    static inline int sendResult = 0;
    // What successive status reads answer (ack, st1, st2, busy); the last one repeats.
    static inline std::vector<std::vector<int>> statuses;
    static inline std::size_t statusReads = 0;
    static inline std::string answer;

    static int ORB_VENDOR_CALL FormataTX(char* command) { return sent.emplace_back(command), sendResult; }
    static int ORB_VENDOR_CALL Status(int* ack, int* st1, int* st2, int* busy) {
        const auto& s =
            statuses.empty() ? std::vector<int>{0, 0, 0, 0} : statuses[std::min(statusReads, statuses.size() - 1)];
        ++statusReads;
        *ack = s[0], *st1 = s[1], *st2 = s[2], *busy = s[3];
        return 1;
    }
    static int ORB_VENDOR_CALL LeVariaveis(char* area) { return std::memcpy(area, answer.data(), answer.size()), 1; }
};

class RawCommand : public orb::test::DriverTest {
protected:
    void SetUp() override {
        DriverTest::SetUp();
        RawPrinter::sent.clear();
        RawPrinter::sendResult = 0;
        RawPrinter::statuses.clear();
        RawPrinter::statusReads = 0;
        BemaFormataTX = &RawPrinter::FormataTX;  // the fixture's next set-up clears them again
        BemaStatus_Mp20FI = &RawPrinter::Status;
        BemaLe_Variaveis = &RawPrinter::LeVariaveis;
        EnsureDataModule();
        orb::test::ScriptedStatus::Install();
    }
};

TEST_F(RawCommand, FramesTheCommandAndWaitsWhileBusyOrOutOfPaper) {
    RawPrinter::statuses = {{6, 0, 0, 0}, {6, 0, 0, 64}, {6, 0, 0, 64}, {6, 0, 0, 0}};
    EXPECT_TRUE(EnviaComando("001", "27", Texts{"01", "ABC"}, true, false));
    EXPECT_EQ(RawPrinter::sent, (Texts{kStatusRequest, Frame("27|01|ABC"), kStatusRequest, kStatusRequest}));
    EXPECT_EQ(NewLogTexts(), Texts{"Comando : " + Frame("27|01|ABC")});
    EXPECT_FALSE(boComando);
    EXPECT_TRUE(Dialogs().empty());

    // Out of paper: the operator is shown it on each read until the paper is back.
    RawPrinter::sent.clear();
    RawPrinter::statuses = {{6, 0, 128, 0}, {6, 0, 200, 0}, {6, 0, 0, 0}};
    RawPrinter::statusReads = 0;
    EXPECT_TRUE(EnviaComando("001", "00", {}, true, false));
    ASSERT_EQ(Dialogs().size(), 2u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("FimPapel"), 0, "001"));
    EXPECT_EQ(NewLogTexts(), (Texts{ErrorLogText("FimPapel"), ErrorLogText("FimPapel"), "Comando : " + Frame("00")}));
    EXPECT_EQ(RawPrinter::sent.size(), 4u);  // three status requests, then the command
}

TEST_F(RawCommand, AFailedSendIsReportedOnceThePrinterLooksFineAndShownWhenAsked) {
    RawPrinter::sendResult = -1;
    EXPECT_FALSE(EnviaComando("009", "27", {}, true, false));
    EXPECT_EQ(NewLogTexts(), (Texts{"Comando : " + Frame("27"), "ERRO!!! Comando : " + Frame("27")}));
    EXPECT_TRUE(LastDialogIs(CatalogText("ErroComando"), 3, "009"));
    EXPECT_FALSE(EnviaComando("009", "27", {}, false, false));
    EXPECT_EQ(Dialogs().size(), 1u);
}

TEST_F(RawCommand, CancelsAnOpenCouponExceptForCommandFourteen) {
    using orb::test::ScriptedStatus;
    ScriptedStatus::st1 = 2;
    EXPECT_TRUE(EnviaComando("001", "14", {}, false, false));
    EXPECT_EQ(ScriptedStatus::cancellations, 0);
    EXPECT_TRUE(EnviaComando("001", "27", {}, false, false));
    EXPECT_EQ(ScriptedStatus::cancellations, 1);
}

TEST_F(RawCommand, RefusesReentryAndAlwaysReleasesTheGuard) {
    boComando = true;
    EXPECT_FALSE(EnviaComando("001", "27", {}, true, false));
    EXPECT_TRUE(RawPrinter::sent.empty());
    EXPECT_TRUE(boComando);  // the command in progress still owns it
    boComando = false;

    // A dialog that pumps messages lets the host send again: refused while the first runs.
    bool nestedResult = true;
    orb::hostlib::Hooks hooks;
    hooks.dialog = [&](orb::hostlib::Dialog&) {
        return nestedResult = EnviaComando("001", "27", {}, false, false), true;
    };
    orb::hostlib::InstallHooks(hooks);
    RawPrinter::statuses = {{6, 0, 128, 0}, {6, 0, 0, 0}};
    EXPECT_TRUE(EnviaComando("001", "27", {}, true, false));
    EXPECT_FALSE(nestedResult);
    EXPECT_FALSE(boComando);

    // A host dialog that raises leaves the guard released too.
    hooks.dialog = [](orb::hostlib::Dialog&) -> bool { throw std::runtime_error("host closed"); };
    orb::hostlib::InstallHooks(hooks);
    RawPrinter::statuses = {{6, 0, 128, 0}};
    RawPrinter::statusReads = 0;
    EXPECT_THROW(EnviaComando("001", "27", {}, true, false), std::runtime_error);
    EXPECT_FALSE(boComando);
}

TEST_F(RawCommand, WithoutRawEntriesNothingIsSent) {
    BemaFormataTX = nullptr;
    const auto savedHandle = ImpFisDLLHandle;
    ImpFisDLLHandle = 0;
    EXPECT_FALSE(EnviaComando("001", "27", {}, true, false));
    ImpFisDLLHandle = savedHandle;
    EXPECT_EQ(DialogTexts(), Texts{CatalogText("ErroComando")});
    EXPECT_FALSE(boComando);
}

TEST_F(RawCommand, RetornoImpFiscalTrimsOrCutsTheAnswer) {
    RawPrinter::answer = "  12345  ";
    EXPECT_EQ(RetornoImpFiscal("99", true), "12345");
    EXPECT_EQ(RetornoImpFiscal("23", true), "  ");
    EXPECT_EQ(RetornoImpFiscal("3529", false), "  ");
    const std::string whole = RetornoImpFiscal("99", false);
    EXPECT_EQ(whole.size(), 3000u);
    EXPECT_EQ(whole.substr(0, 9), "  12345  ");
    EXPECT_EQ(NewLogTexts(), (Texts{"Retorno da Impressora 12345", "Retorno da Impressora   ",
                                    "Retorno da Impressora   ", "Retorno da Impressora " + whole}));
}

class RawCommandOnPrinter : public orb::test::DriverTest {};

TEST_F(RawCommandOnPrinter, EntriesTheHostLeftEmptyAreTakenFromTheLoadedLibrary) {
    Start();
    ASSERT_EQ(BemaFormataTX, nullptr);
    EXPECT_TRUE(Leitura_Totais_Imp("001", true, false));
    EXPECT_EQ(NewLogTexts(), Texts{"Comando : " + Frame("27")});
    EXPECT_NE(RetornoImpFiscal("99", true).find(','), std::string::npos);

    // A command the printer does not know fails on its status bytes.
    EXPECT_FALSE(EnviaComando("001", "77", {}, true, false));
    EXPECT_EQ(Dialogs().back().text, CatalogText("ComandoErro"));
    EXPECT_FALSE(boComando);

    // Once the library is released nothing is called through a stale address.
    StopImpFiscal();
    EXPECT_FALSE(EnviaComando("001", "27", {}, false, false));
}

}  // namespace
