#include <gtest/gtest.h>

#include <stdexcept>
#include <tuple>

#include "external/hostlib/HostLib.h"
#include "framework/DateTime.h"

using namespace orb::hostlib;

namespace {

class HostHooks : public ::testing::Test {
protected:
    void SetUp() override { Fresh(); }
    void TearDown() override { Fresh(); }
    static void Fresh() {
        ResetHooks();
        ClearRecorded();
        ClearQueuedAnswers();
    }
    static bool Ask(const char* text) { return Mensagem(text, "", "N", "S", 3, "", "Azul", 0, nullptr); }
    static bool Tell(const char* text) { return Mensagem(text, "", "N", "N", 0, "", "Azul", 0, nullptr); }
    const orb::fw::TDateTime d1 = orb::fw::EncodeDateTime(2026, 12, 5, 8, 0, 0);
    const orb::fw::TDateTime d2 = orb::fw::EncodeDateTime(2026, 12, 6, 9, 0, 0);
};

}  // namespace

TEST_F(HostHooks, MessagesAreRecordedAndQuestionsTakeQueuedAnswersInOrder) {
    QueueAnswers({true});
    QueueAnswers({false});                // behind the first
    EXPECT_TRUE(Tell("Papel acabando"));  // a plain message answers true and takes no queued answer
    const Dialog& d = Recorded().dialogs.at(0);
    EXPECT_EQ(std::tie(d.text, d.caption, d.third, d.question, d.kind, d.scheme, d.answer, d.answered),
              std::make_tuple("Papel acabando", "", "N", "N", 0, "Azul", true, true));
    // The third has nothing queued: "no", marked unanswered.
    EXPECT_EQ((std::vector{Ask("Imprimir novamente?"), Ask("Imprimir novamente?"), Ask("Imprimir novamente?")}),
              (std::vector{true, false, false}));
    const auto& dialogs = Recorded().dialogs;
    ASSERT_EQ(dialogs.size(), 4u);
    EXPECT_TRUE(dialogs[1].answered && dialogs[2].answered);
    EXPECT_EQ(std::tie(dialogs[3].answered, dialogs[3].answer, dialogs[3].kind), std::make_tuple(false, false, 3));

    QueueAnswers({true, true});
    ClearRecorded();
    // Answers survive a clear of the record.
    EXPECT_EQ(std::tuple(Recorded().dialogs.size(), Recorded().queuedAnswers.size()), std::tuple(0u, 2u));
    ClearQueuedAnswers();
    EXPECT_FALSE(Ask("?"));
}

TEST_F(HostHooks, InstalledHooksDecideAndAreStillRecordedEvenWhenTheyFail) {
    std::vector<std::string> seen;
    Hooks hooks;
    hooks.dialog = [&](Dialog& d) {
        seen.push_back(d.text);
        return d.text == "sim";
    };
    InstallHooks(hooks);
    QueueAnswers({false});
    EXPECT_TRUE(Ask("sim"));
    EXPECT_FALSE(Tell("nao"));
    EXPECT_EQ(seen, (std::vector<std::string>{"sim", "nao"}));
    ASSERT_EQ(Recorded().dialogs.size(), 2u);
    // the hook, not the queue, answered
    EXPECT_EQ(std::tuple(Recorded().dialogs[1].answer, Recorded().queuedAnswers.size()), std::tuple(false, 1u));
    ResetHooks();
    EXPECT_FALSE(Ask("default again"));  // queued "no"
    EXPECT_TRUE(Recorded().queuedAnswers.empty());

    hooks.dialog = [](Dialog&) -> bool { throw std::runtime_error("dialog down"); };
    hooks.ledger = [](const NonFiscalDocRecord&) { throw std::runtime_error("db down"); };
    InstallHooks(hooks);
    EXPECT_THROW(Tell("x"), std::runtime_error);
    EXPECT_THROW(setDocNaoFiscaisECF("1", "2", "3", "4", "5", "6", "7", d1, d1, "10"), std::runtime_error);
    EXPECT_EQ(std::tuple(Recorded().dialogs.size(), Recorded().ledger.size()), std::tuple(4u, 1u));
}

TEST_F(HostHooks, RecordsHandedToTheHost) {
    std::vector<CerRecord> cer;
    int pumps = 0;
    Hooks hooks;
    hooks.cer = [&](const CerRecord& r) { cer.push_back(r); };
    hooks.processMessages = [&] { ++pumps; };
    InstallHooks(hooks);
    EXPECT_TRUE(setDocNaoFiscaisECF("S1", "000123", "000045", "0001", "0002", "RG", "0003", d1, d2, "X"));
    const NonFiscalDocRecord& r = Recorded().ledger.at(0);
    EXPECT_EQ(std::tie(r.f1, r.f2, r.f3, r.f4, r.f5, r.f6, r.f7, r.dt1, r.dt2, r.f10),
              std::make_tuple("S1", "000123", "000045", "0001", "0002", "RG", "0003", d1, d2, "X"));

    GravaCER("0001", "0002", d1);
    ASSERT_EQ(cer.size(), 1u);
    const CerRecord& c = Recorded().cer.at(0);
    EXPECT_EQ(std::tie(cer[0].b, c.a, c.b, c.when), std::make_tuple("0002", "0001", "0002", d1));

    ProcessMessages();
    ProcessMessages();
    TerminateApplication();  // default: only recorded
    EXPECT_EQ(std::tie(pumps, Recorded().processMessagesCalls, Recorded().terminateRequests), std::tuple(2, 2, 1));

    // The record stays bounded and keeps the latest.
    for (std::size_t i = 0; i < kRecordLimit + 5; ++i) GravaCER(std::to_string(i), "", orb::fw::TDateTime(0.0));
    EXPECT_TRUE(Recorded().cer.size() <= kRecordLimit && Recorded().cer.size() > kRecordLimit / 2);
    EXPECT_EQ(Recorded().cer.back().a, std::to_string(kRecordLimit + 4));
    EXPECT_NE(Recorded().cer.front().a, "0001");
}
