// The raw-command path, with the raw entries filled by the test as the host fills them.
#include <gtest/gtest.h>

#include <cstring>
#include <stdexcept>
#include <string>
#include <vector>

#include "driver/DataModule.h"
#include "driver/Globals.h"
#include "driver/StatusAnalysis.h"
#include "driver/TestSupport.h"
#include "external/vendor/EntryPoints.h"

namespace {

using namespace Orb00100;

const std::string kEsc(1, '\x1b');
const std::string kStatusRequest = kEsc + "|19|" + kEsc;

struct RawPrinter {
    static inline std::vector<std::string> sent;
    static inline int sendResult = 0;
    // What successive status reads answer (ack, st1, st2, busy); the last one repeats.
    static inline std::vector<std::vector<int>> statuses;
    static inline std::size_t statusReads = 0;
    static inline std::string answer;

    static int FormataTX(char* command) {
        sent.emplace_back(command);
        return sendResult;
    }
    static int Status(int* ack, int* st1, int* st2, int* busy) {
        const auto& s =
            statuses.empty() ? std::vector<int>{0, 0, 0, 0} : statuses[std::min(statusReads, statuses.size() - 1)];
        ++statusReads;
        *ack = s[0], *st1 = s[1], *st2 = s[2], *busy = s[3];
        return 1;
    }
    static int LeVariaveis(char* area) {
        std::memcpy(area, answer.data(), answer.size());
        return 1;
    }
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

TEST_F(RawCommand, FramesTheCommandAndWaitsWhileThePrinterIsBusy) {
    RawPrinter::statuses = {{6, 0, 0, 0}, {6, 0, 0, 64}, {6, 0, 0, 64}, {6, 0, 0, 0}};
    const std::vector<std::string> args{"01", "ABC"};
    EXPECT_TRUE(EnviaComando("001", "27", args, true, false));
    const std::string frame = kEsc + "|27|01|ABC|" + kEsc;
    EXPECT_EQ(RawPrinter::sent, (std::vector<std::string>{kStatusRequest, frame, kStatusRequest, kStatusRequest}));
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Comando : " + frame}));
    EXPECT_FALSE(boComando);
    EXPECT_TRUE(Dialogs().empty());
}

TEST_F(RawCommand, WaitsForPaperWhileTheOperatorIsShown) {
    RawPrinter::statuses = {{6, 0, 128, 0}, {6, 0, 200, 0}, {6, 0, 0, 0}};
    EXPECT_TRUE(EnviaComando("001", "00", {}, true, false));
    ASSERT_EQ(Dialogs().size(), 2u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("FimPapel"), 0, "001"));
    const std::string frame = kEsc + "|00|" + kEsc;
    EXPECT_EQ(NewLogTexts(),
              (std::vector<std::string>{ErrorLogText("FimPapel"), ErrorLogText("FimPapel"), "Comando : " + frame}));
    EXPECT_EQ(RawPrinter::sent.size(), 4u);  // three status requests, then the command
}

TEST_F(RawCommand, AFailedSendIsReportedOnceThePrinterLooksFine) {
    RawPrinter::sendResult = -1;
    EXPECT_FALSE(EnviaComando("009", "27", {}, true, false));
    const std::string frame = kEsc + "|27|" + kEsc;
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Comando : " + frame, "ERRO!!! Comando : " + frame}));
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_TRUE(IsDialog(Dialogs()[0], CatalogText("ErroComando"), 3, "009"));

    // Quietly when nothing may be shown.
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
        nestedResult = EnviaComando("001", "27", {}, false, false);
        return true;
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
    ASSERT_EQ(Dialogs().size(), 1u);
    EXPECT_EQ(Dialogs()[0].text, CatalogText("ErroComando"));
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
    EXPECT_EQ(NewLogTexts(), (std::vector<std::string>{"Retorno da Impressora 12345", "Retorno da Impressora   ",
                                                       "Retorno da Impressora   ", "Retorno da Impressora " + whole}));
}

}  // namespace
