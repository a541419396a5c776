// The control commands, persistence, and the boundary: answers never past the caller's area.
#include <cstring>

#include "FiscalSimFixture.h"

using namespace simtest;
using nlohmann::json;

TEST_F(FiscalSim, ResetGivesAFactoryPrinterOfTheModel) {
    Reset(27, {{"serial", "BE0123456789ABCDEFGH"}, {"till", 7}});
    EXPECT_EQ(Answer(Bematech_FI_NumeroSerieMFD, 20), "BE0123456789ABCDEFGH");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCaixa, 4), "0007");
    EXPECT_EQ(Answer(Bematech_FI_VersaoFirmwareMFD, 6), "010002");
    Reset(34, {{"firmware", "010203"}});
    EXPECT_EQ(Answer(Bematech_FI_VersaoFirmwareMFD, 6), "010203");
    Blanks brand(15), model(20), kind(7);
    ASSERT_EQ(Bematech_FI_MarcaModeloTipoImpressoraMFD(brand, model, kind), 1);
    EXPECT_EQ(brand.s + kind.s, "BEMATECH       ECF-IF ");
    EXPECT_EQ(Answer(Bematech_FI_RetornoAliquotas, 79).substr(0, 19), "1800,1200,0700,0500");
    EXPECT_EQ(Answer(Bematech_FI_VerificaFormasPagamento, 3016).substr(0, 16), "Dinheiro        ");
    EXPECT_EQ(Answer(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179), std::string(179, ' '));
    EXPECT_EQ(Answer(Bematech_FI_NumeroIntervencoes, 4), "0001");
    EXPECT_FALSE(Control({{"sim", "journal"}})["journal"].empty());  // the queries above
    Reset(34);
    EXPECT_TRUE(Control({{"sim", "journal"}})["journal"].empty());
    EXPECT_EQ(Roll(), "");
}

TEST_F(FiscalSim, FailStatusAnswerAndExtendedAreForced) {
    Control({{"sim", "status"}, {"st1", 130}, {"st2", 4}, {"times", 2}});
    for (int i = 0; i < 2; ++i) EXPECT_EQ(ReadStatus(), (Status{6, 130, 4}));
    EXPECT_EQ(ReadStatus().st1, 0);

    Control({{"sim", "answer"}, {"entry", "Bematech_FI_DataHoraImpressora"}, {"values", {"311299", "2359591234"}}});
    EXPECT_EQ(Answer(Bematech_FI_DataHoraImpressora, 6, 6), "311299235959");  // the time cut to the caller's area
    EXPECT_EQ(Answer(Bematech_FI_DataHoraImpressora, 6, 6).substr(0, 6), "051226");

    Control({{"sim", "extended"}, {"value", 33}});
    EXPECT_EQ(Extended(), 33);
    Control({{"sim", "extended"}, {"value", nullptr}});
    EXPECT_EQ(Extended(), 0);

    Control({{"sim", "fail"}, {"entry", "Bematech_FI_AbreCupomMFD"}, {"return", 0}, {"times", 2}, {"ack", 21}});
    EXPECT_EQ(OpenCoupon(), 0);
    EXPECT_EQ(ReadStatus().ack, 21);
    EXPECT_EQ(ReadStatus().ack, 6);  // only the next status read
    EXPECT_EQ(OpenCoupon(), 0);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000000");  // nothing was opened
    EXPECT_EQ(OpenCoupon(), 1);
    Control({{"sim", "fail"}, {"entry", "Bematech_FI_NumeroCupom"}, {"return", -5}});
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6, -5), "      ");
}

TEST_F(FiscalSim, PowerDrawerAndClock) {
    Control({{"sim", "power"}, {"on", false}});
    int ack = -1, st1 = -1, st2 = -1;
    EXPECT_EQ(Bematech_FI_RetornoImpressora(&ack, &st1, &st2), 0);
    EXPECT_EQ(ack + st1 + st2, -3);  // nothing written
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6, 0), "      ");
    EXPECT_EQ(Bematech_FI_VerificaImpressoraLigada(), -6);
    EXPECT_EQ(OpenCoupon(), 0);
    Control({{"sim", "power"}, {"on", true}});
    EXPECT_EQ(Bematech_FI_VerificaImpressoraLigada(), 1);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000000");

    EXPECT_EQ(Number(Bematech_FI_VerificaEstadoGaveta), 0);
    ASSERT_EQ(Bematech_FI_AcionaGaveta(), 1);
    EXPECT_EQ(Number(Bematech_FI_VerificaEstadoGaveta), 1);
    Control({{"sim", "drawer"}, {"open", false}});
    EXPECT_EQ(Number(Bematech_FI_VerificaEstadoGaveta), 0);

    json clock = Control({{"sim", "clock"}, {"datetime", "2027-01-02T03:04:05"}});
    EXPECT_EQ(clock["datetime"].get<std::string>().substr(0, 16), "02/01/2027 03:04");
    EXPECT_EQ(Answer(Bematech_FI_DataHoraImpressora, 6, 6).substr(0, 6), "020127");
    char refused[256];
    EXPECT_EQ(BemaSim_Control(R"({"sim":"clock","offset_seconds":9223372036854775807})", refused, sizeof refused), -1);
    EXPECT_EQ(Answer(Bematech_FI_DataHoraImpressora, 6, 6).substr(0, 6), "020127");
}

TEST_F(FiscalSim, JournalRecordsEveryCallAndClears) {
    Control({{"sim", "journal"}, {"clear", true}});
    int flags = 77;
    Blanks serial(20);
    ASSERT_EQ(Bematech_FI_FlagsFiscais(&flags), 1);
    ASSERT_EQ(Bematech_FI_NomeiaTotalizadorNaoSujeitoIcms(1, Txt("Conv\xEAnio")), 1);
    EXPECT_EQ(Bematech_FI_VendeItemDepartamento(nullptr, Txt("X"), Txt("II"), Txt("1"), Txt("1"), Txt("0"), Txt("0"),
                                                Txt("01"), Txt("UN")),
              -27);
    EXPECT_EQ(Bematech_FI_DownloadMFD(Txt("d.mfd"), Txt("1"), Txt("01122026"), Txt("05122026"), Txt("1")), 1);
    json journal = Control({{"sim", "journal"}, {"clear", true}})["journal"];
    ASSERT_EQ(journal.size(), 4u);
    // What the first call wrote; code page 1252 in, UTF-8 in the journal; a null argument.
    EXPECT_EQ(json::array({journal[0]["args"][0], journal[1]["args"], journal[2]["args"][0], journal[2]["return"],
                           journal[3]["entry"], journal[3]["return"]}),
              json::array({0, json::array({1, "Convênio"}), nullptr, -27, "Bematech_FI_DownloadMFD", 1}));
    EXPECT_TRUE(Control({{"sim", "journal"}})["journal"].empty());
    EXPECT_EQ(Answer(Bematech_FI_VerificaTotalizadoresNaoFiscais, 179).substr(0, 9), "Conv\xEAnio ");
}

TEST_F(FiscalSim, ControlRepliesAreCutToTheCallersAreaAndErrorsAreClear) {
    char small[8];
    std::memset(small, '#', sizeof small);
    std::string whole(1 << 16, '\0');
    int full = BemaSim_Control(R"({"sim":"state"})", whole.data(), static_cast<int>(whole.size()));
    EXPECT_EQ(BemaSim_Control(R"({"sim":"state"})", small, 5), full);
    EXPECT_EQ(std::string(small, 5), whole.substr(0, 4) + '\0');
    EXPECT_EQ(small[5], '#');
    EXPECT_GT(BemaSim_Control(R"({"command":"state"})", nullptr, 0), 100);

    char reply[256];
    EXPECT_EQ(BemaSim_Control(R"({"sim":"launch"})", reply, sizeof reply), -1);
    EXPECT_NE(std::string(reply).find("unknown command"), std::string::npos);
    for (const char* bad : {"{not json", R"({"sim":"reset","model":15})", R"({"sim":"paper","state":"torn"})"})
        EXPECT_EQ(BemaSim_Control(bad, reply, sizeof reply), -1) << bad;
    EXPECT_EQ(BemaSim_Control(nullptr, reply, sizeof reply), -1);
    EXPECT_EQ(BemaSim_Control(R"({"sim":"fail","entry":"Bematech_FI_AbreCupomMDF"})", reply, sizeof reply), -1);
    EXPECT_NE(std::string(reply).find("AbreCupomMDF"), std::string::npos);
}

TEST_F(FiscalSim, AnswersNeverPassTheCallersArea) {
    // Three blanks, a terminator, and a guard the library must not touch.
    char area[8] = {' ', ' ', ' ', '\0', 'G', 'G', 'G', 'G'};
    ASSERT_EQ(Bematech_FI_NumeroSerieMFD(area), 1);
    EXPECT_EQ(std::string(area, 8), std::string("SIM\0GGGG", 8));
    char empty[2] = {'\0', 'G'};
    ASSERT_EQ(Bematech_FI_VerificaFormasPagamento(empty), 1);
    EXPECT_EQ(empty[1], 'G');
    EXPECT_EQ(Bematech_FI_GrandeTotal(nullptr), 1);
    EXPECT_EQ(Bematech_FI_FlagsFiscais(nullptr), 1);
    // A longer area keeps its blanks after the answer.
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 10), "000000    ");
}

TEST_F(FiscalSim, StateLivesInItsFileAndSurvivesReopening) {
    ASSERT_EQ(OpenCoupon(), 1);
    // Another printer in another folder: the first one's file is closed.
    std::filesystem::path other = folder_ / "other";
    std::filesystem::create_directories(other);
    UseFolder(other);
    EXPECT_EQ(ReadStatus().st1, 0);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000000");
    // Back to the first: the coupon a crashed host left open is still open.
    UseFolder(folder_);
    EXPECT_EQ(ReadStatus().st1, 2);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000001");
    EXPECT_TRUE(std::filesystem::exists(folder_ / "printer.db"));

    // Without a configuration the file is bemasim.db beside it; ":memory:" keeps no file.
    std::filesystem::remove(folder_ / "Bemafi32.ini");
    ASSERT_EQ(Bematech_FI_LeituraX(), 1);
    EXPECT_TRUE(std::filesystem::exists(folder_ / "bemasim.db"));
    UseFolder(folder_, ":memory:");
    ASSERT_EQ(OpenCoupon(), 1);
    EXPECT_EQ(ReadStatus().st1, 2);
    EXPECT_FALSE(std::filesystem::exists(folder_ / ":memory:"));
}

TEST_F(FiscalSim, ABrokenOrDeletedStateFileNeverCrashes) {
    // A file that is not a database fails the calls.
    std::ofstream(folder_ / "broken.db") << "this is not a printer";
    UseFolder(folder_, "broken.db");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6, 0), "      ");
    EXPECT_EQ(BemaFormataTX(Txt("\x1b|19|\x1b")), -1);
    char reply[512];
    EXPECT_EQ(BemaSim_Control(R"({"sim":"state"})", reply, sizeof reply), -1);
    EXPECT_NE(std::string(reply).find("error"), std::string::npos);

    // An emptied one is a printer whose memory is lost: refused, never a silent factory printer,
    // until a reset asks for one.
    std::ofstream(folder_ / "empty.db");
    UseFolder(folder_, "empty.db");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6, 0), "      ");
    EXPECT_EQ(BemaSim_Control(R"({"sim":"state"})", reply, sizeof reply), -1);
    EXPECT_NE(std::string(reply).find("is empty"), std::string::npos) << reply;
    Reset(34);
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000000");

#ifndef _WIN32  // Windows does not delete a file that is open
    // A deleted one starts a fresh printer.
    UseFolder(folder_);
    Sale();
    std::filesystem::remove(folder_ / "printer.db");
    EXPECT_EQ(Answer(Bematech_FI_NumeroCupom, 6), "000000");
    EXPECT_TRUE(std::filesystem::exists(folder_ / "printer.db"));
    Blanks user(20), software(20), letter(5);
    ASSERT_EQ(Bematech_FI_DataHoraGravacaoUsuarioSWBasicoMFAdicional(user, software, letter), 1);
    EXPECT_EQ(user.s.substr(2, 1) + user.s.substr(5, 1), "//");
#endif
}
