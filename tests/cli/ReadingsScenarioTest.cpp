// Two days of a restaurant run by the orb program on models 18, 19 and 34, from the scenarios kept
// beside these tests: a sale with an item discount and a service-tax item, a sale with a
// cancelled item, a supply and a withdrawal, the X reading, the reduction export, the Z reduction
// and the last reduction read back; a second day with its own export and Z; then the fiscal-memory
// readings printed and to file and the memory download. What the module hands the host must agree,
// figure by figure, with what the printer wrote into its fiscal memory, and every file it signed
// must verify against the public key.
#include <cmath>
#include <filesystem>
#include <map>

#include "ScenarioSupport.h"
#include "driver/SignatureCheck.h"
#include "framework/Text.h"

namespace orb::cli::testing {
namespace {

namespace fs = std::filesystem;

// The rows of a table argument, each as field name -> value.
std::vector<std::map<std::string, Json>> RowsOf(const Json& table) {
    std::vector<std::map<std::string, Json>> rows;
    const Json& data = table.at("dataset");
    for (const Json& row : data.at("rows")) {
        std::map<std::string, Json> named;
        for (std::size_t i = 0; i < row.size(); ++i) named[data["fields"][i]["name"].get<std::string>()] = row[i];
        rows.push_back(named);
    }
    return rows;
}

double Amount(const Json& cents) { return cents.get<double>() / 100; }

int Number(const Json& text) { return std::stoi(text.get<std::string>()); }

// "00.00" under the system's settings: "1234,56", "00,50".
std::string Picture(std::int64_t cents) {
    return (cents < 1000 ? "0" : "") + std::to_string(cents / 100) + "," + (cents % 100 < 10 ? "0" : "") +
           std::to_string(cents % 100);
}

class ReadingsScenario : public ScenarioTest, public ::testing::WithParamInterface<int> {
protected:
    void SetUp() override {
        ScenarioTest::SetUp();
        RunScenario("readings-" + std::to_string(GetParam()) + ".jsonl");
    }
    int Model() const { return GetParam(); }
    // The printer's state as the scenario asked it: after the first day, at the end.
    Json StateAt(std::size_t nth) const {
        for (const Json& reply : run_.replies)
            if (reply.value("sim", "") == "state" && nth-- == 0) return reply;
        ADD_FAILURE() << "no state reply";
        return Json::object();
    }
    Json Record(std::size_t day) const { return StateAt(1)["fiscalMemory"].at(day); }
    std::string Serial() const {
        return "BE09101010001122" + std::string(Model() < 100 ? "00" : "") + std::to_string(Model());
    }

    // The export of a day against the reduction the printer recorded for it.
    void ExpectExportAgrees(std::size_t day) {
        SCOPED_TRACE("day " + std::to_string(day + 1));
        const Json z = Record(day);
        const Json exported = Reply("ExportRedZ", day);
        ASSERT_EQ(exported["result"], true);
        const auto reduction = RowsOf(exported["args"][5]);
        ASSERT_EQ(reduction.size(), 1u);
        auto r = reduction[0];
        std::int64_t service = 0;
        for (const Json& t : z["taxes"])
            if (t["service"].get<bool>()) service += t["day"].get<std::int64_t>();
        const Json got = {r["VRGTREDZ"],
                          r["VRVENBRUREDZ"],
                          r["VRTOTCANREDZ"],
                          r["VRTOTDESREDZ"],
                          r["VRVENLIQREDZ"],
                          r["VRTOTACRREDZ"],
                          r["VRISENCREDZ"],
                          r["VRNINCIDREDZ"],
                          r["VRSTRIBREDZ"],
                          r["VRISSREDZ"],
                          Number(r["NRREDREDZ"]),
                          Number(r["NRREINIREDZ"]),
                          Number(r["NRGERCNFREDZ"])};
        const std::int64_t gross = z["gross"], cancelled = z["cancellations"], discounted = z["discounts"];
        const Json want = {Amount(z["grandTotal"]),
                           Amount(z["gross"]),
                           Amount(z["cancellations"]),
                           Amount(z["discounts"]),
                           (gross - cancelled - discounted) / 100.0,
                           Amount(z["surcharges"]),
                           Amount(z["exempt"]),
                           Amount(z["nonIncidence"]),
                           Amount(z["substitution"]),
                           service / 100.0,
                           z["crz"],
                           z["cro"],
                           z["gnf"]};
        EXPECT_EQ(got, want);

        // Payments under the host's codes.
        std::map<std::string, double> methods;
        for (const auto& p : RowsOf(exported["args"][6])) methods[p.at("CDTIPORECE")] = p.at("VRFORMPGTORZ");
        std::map<std::string, double> printed;
        for (const Json& m : z["methods"]) {
            const std::string name = m["name"];
            if (name == "Dinheiro") printed["001"] = Amount(m["day"]);
            if (name == "Cartao Credito") printed["002"] = Amount(m["day"]);
        }
        EXPECT_EQ(methods, printed);

        // The taxed totals: every programmed rate, sales tax and service tax apart (model 34 gives
        // them through the last reduction's record instead).
        const auto taxes = RowsOf(exported["args"][7]);
        if (Model() == 34) {
            EXPECT_TRUE(taxes.empty());
        } else {
            ASSERT_EQ(taxes.size(), z["taxes"].size());
            for (std::size_t i = 0; i < taxes.size(); ++i) {
                const Json& t = z["taxes"][i];
                const std::int64_t base = t["day"], value = t["value"];
                EXPECT_EQ((Json{taxes[i].at("VRALIQIMPRZ"), taxes[i].at("VRBCALCIMPRZ"), taxes[i].at("VRIMPOSTORZ"),
                                taxes[i].at("IDTPIMPREDZ")}),
                          (Json{value / 100.0, base / 100.0, static_cast<double>(base * value / 10000) / 100,
                                t["service"].get<bool>() ? "S" : "T"}))
                    << i;
            }
        }

        // The non-fiscal totalizers, withdrawal and supply among them where the model lists them.
        std::map<std::string, double> totals;
        for (const auto& t : RowsOf(exported["args"][8]))
            totals[fw::Trim(t.at("DSTOTNFISCRZ").get<std::string>())] = t.at("VRACUTOTNFIS");
        std::map<std::string, double> expected;
        for (const Json& t : z["totalizers"])
            expected[fw::Trim(fw::Utf8ToCp1252(t["name"].get<std::string>()).substr(0, 19))] = Amount(t["day"]);
        if (Model() != 18) {
            expected["Sangria"] = Amount(z["withdrawal"]);
            expected["Suprimento"] = Amount(z["supply"]);
        }
        EXPECT_EQ(totals, expected);
    }
};

TEST_P(ReadingsScenario, EveryStepAnswersAndOnlyTheFileReadingsSpeak) {
    for (const Json& reply : run_.replies) {
        if (!reply.contains("call") || reply["result"].is_null()) continue;
        EXPECT_EQ(reply["result"], true) << reply["call"];
        const std::string call = reply["call"];
        EXPECT_EQ(reply["dialogs"].size(), call == "EmiteLeituraMemoriaFiscalSerial" ? 1u : 0u) << call;
    }
}

TEST_P(ReadingsScenario, ReductionExportsAgreeWithTheFiscalMemory) {
    ExpectExportAgrees(0);
    ExpectExportAgrees(1);
    // The older models keep the X-reading text under the movement date; the others write none.
    const std::map<int, std::string> prefix = {{18, "BemaMP2000 - "}, {19, "BemaMP2100 - "}};
    std::vector<std::string> kept;
    for (const auto& entry : fs::directory_iterator(fs::path(Home()) / "Dados" / "Reduções"))
        kept.push_back(entry.path().filename().string());
    std::sort(kept.begin(), kept.end());
    std::vector<std::string> expected;
    for (std::size_t day = 0; Model() != 34 && day < 2; ++day) {
        const std::string ymd = Record(day)["movement"];
        expected.push_back(prefix.at(Model()) + ymd.substr(6, 2) + ymd.substr(4, 2) + ymd.substr(0, 4) + ".txt");
    }
    EXPECT_EQ(kept, expected);
}

TEST_P(ReadingsScenario, LastReductionAgreesWithTheFiscalMemory) {
    for (std::size_t day = 0; day < 2; ++day) {
        SCOPED_TRACE(day);
        const Json z = Record(day);
        const Json reply = Reply("DadosUltimaRedZ", day);
        ASSERT_EQ(reply["result"], true);
        const Json& result = reply["args"][1];
        const std::string ymd = z["movement"];
        EXPECT_EQ(
            result[3],
            (Json{{"datetime", ymd.substr(0, 4) + "-" + ymd.substr(4, 2) + "-" + ymd.substr(6, 2) + "T00:00:00"}}));
        EXPECT_EQ(result[46], ymd.substr(6, 2) + "/" + ymd.substr(4, 2) + "/" + ymd.substr(2, 2));
        EXPECT_EQ(result[2], z["gross"].get<double>());
        if (Model() == 34) {
            EXPECT_EQ((Json{result[0], result[1]}), (Json{"000" + std::to_string(day + 1), "0001"}));
            // The taxed totals of the sales-tax rates, from the record's taxed section.
            const auto rows = RowsOf(Reply("RetornaImpostoIcms", day)["args"][2]);
            std::size_t n = 0;
            for (const Json& t : z["taxes"]) {
                if (t["service"].get<bool>()) continue;
                ASSERT_LT(n, rows.size());
                const double base = Amount(t["day"]), rate = t["value"].get<double>() / 100;
                EXPECT_EQ(rows[n].at("VRBCALCIMPRZ"), base);
                EXPECT_NEAR(rows[n].at("VRIMPOSTORZ").get<double>(), base * rate / 100, 1e-9);
                ++n;
            }
            EXPECT_EQ(rows.size(), n);
            continue;
        }
        const std::int64_t gross = z["gross"],
                           net = gross - z["cancellations"].get<std::int64_t>() - z["discounts"].get<std::int64_t>();
        EXPECT_EQ((Json{result[0], result[1], result[47], result[48]}),
                  (Json{"000000000" + std::to_string(day + 1), "0000000001", Picture(gross), Picture(net)}));
        // One tax row per rate with sales, under its slot's number.
        const auto taxes = RowsOf(reply["args"][2]);
        std::size_t n = 0;
        for (std::size_t slot = 0; slot < z["taxes"].size(); ++slot) {
            const std::int64_t sold = z["taxes"][slot]["day"], value = z["taxes"][slot]["value"];
            if (sold == 0) continue;
            ASSERT_LT(n, taxes.size());
            EXPECT_EQ((Json{taxes[n].at("CDALIQIMPFIS"), taxes[n].at("VRVENDIDO"), taxes[n].at("VRIMPOSTO")}),
                      (Json{"0" + std::to_string(slot + 1), Picture(sold), Picture(sold * value / 10000)}));
            ++n;
        }
        EXPECT_EQ(taxes.size(), n);
    }
}

TEST_P(ReadingsScenario, FiscalMemoryReadingsArePrintedFiledSignedAndRecorded) {
    // Four printed readings over both reductions.
    const auto printed = Documents(Roll(), "LEITURA DA MEMÓRIA FISCAL");
    ASSERT_EQ(printed.size(), 4u);
    for (const Document& d : printed)
        EXPECT_NE(
            std::find(d.body.begin(), d.body.end(), std::string(16, ' ') + "TOTAL DO PERÍODO" + std::string(16, ' ')),
            d.body.end());
    std::size_t listed = 0;
    for (const std::string& line : TextLines(Roll()))
        if (line.rfind("CRZ:0002", 0) == 0) ++listed;
    EXPECT_EQ(listed, 3u) << "every complete reading lists the second reduction";

    // Two files, the complete and the simplified reading, each signed with the installation's key.
    std::vector<std::string> files;
    for (const auto& entry : fs::directory_iterator(fs::path(Home()) / "Dados" / "MenuFiscal"))
        files.push_back(entry.path().string());
    std::sort(files.begin(), files.end());
    ASSERT_EQ(files.size(), 2u);
    EXPECT_NE(files[0].find("LMFC_"), std::string::npos);
    EXPECT_NE(files[1].find("LMFS_"), std::string::npos);
    for (const std::string& file : files)
        EXPECT_EQ(orb::test::SignatureProblem(file, Home() + "/system/EadChaves.ini"), "") << file;

    // The detail readings are recorded, the older printed one is not.
    for (const char* call : {"EmiteLeituraMemoriaFiscal", "EmiteLeituraMemoriaFiscalSerial"})
        for (std::size_t i = 0; i < 2; ++i) {
            const Json ledger = Reply(call, i)["ledger"];
            ASSERT_EQ(ledger.size(), 1u) << call;
            EXPECT_EQ(ledger[0][5], "MF");
            EXPECT_EQ(ledger[0][0], Serial());
        }
    EXPECT_TRUE(Reply("Memoria_Fiscal_Imp")["ledger"].empty());
    EXPECT_TRUE(fs::exists(fs::path(Home()) / "memoria.mf"));
}

INSTANTIATE_TEST_SUITE_P(Models, ReadingsScenario, ::testing::Values(18, 19, 34),
                         [](const ::testing::TestParamInfo<int>& info) {
                             return "Model" + std::to_string(info.param);
                         });

}  // namespace
}  // namespace orb::cli::testing
