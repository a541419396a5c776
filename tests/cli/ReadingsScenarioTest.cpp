// Two days of a restaurant run by the orb program on models 18, 19 and 34, from one scenario kept
// beside these tests: a sale with an item discount and a service-tax item, a sale with a
// cancelled item, a supply and a withdrawal, the X reading, the reduction export, the Z reduction
// and the last reduction read back; a second day with its own export and Z; then the fiscal-memory
// readings printed and to file and the memory download. What the module hands the host must agree,
// figure by figure, with what the printer wrote into its fiscal memory, and every file it signed
// must verify against the public key.
#include <filesystem>
#include <fstream>
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
    // The scenario is written for model 34; the other models run a copy under their own number and
    // serial, without the taxed-totals query only model 34 answers.
    void SetUp() override {
        ScenarioTest::SetUp();
        const fs::path folder = fs::path(ORB_SOURCE_DIR) / "tests" / "cli" / "scenarios";
        const fs::path copy = fs::path(Home()).parent_path() / "readings.jsonl";
        const std::string m = std::to_string(Model());
        const std::pair<std::string, std::string> swaps[] = {{"\"model\": 34", "\"model\": " + m},
                                                             {"\"IDTIPOIMPFIS\", 34", "\"IDTIPOIMPFIS\", " + m},
                                                             {"\"001\", 34, null", "\"001\", " + m + ", null"},
                                                             {"\"0001\", 34, {", "\"0001\", " + m + ", {"},
                                                             {"[\"001\", \"34\"]", "[\"001\", \"" + m + "\"]"},
                                                             {"BE091010100011220034", Serial()}};
        std::ifstream in(folder / "readings-34.jsonl");
        std::ofstream out(copy, std::ios::binary);
        for (std::string line; std::getline(in, line);) {
            if (Model() != 34 && line.find("RetornaImpostoIcms") != std::string::npos) continue;
            for (const auto& [from, to] : swaps)
                for (std::size_t at; (at = line.find(from)) != std::string::npos;) line.replace(at, from.size(), to);
            out << line << '\n';
        }
        out.close();
        RunScenario(fs::relative(copy, folder).string());
    }
    int Model() const { return GetParam(); }
    // A day's reduction as the printer's state holds it at the end.
    Json Record(std::size_t day) const { return LastSim("fiscalMemory").at(day); }
    std::string Serial() const { return "BE0910101000112200" + std::to_string(Model()); }

    // The export of a day against the reduction the printer recorded for it.
    void ExpectExportAgrees(std::size_t day) {
        SCOPED_TRACE("day " + std::to_string(day + 1));
        const Json z = Record(day);
        const Json exported = Reply("ExportRedZ", day);
        ASSERT_EQ(exported["result"], true);
        const auto reduction = RowsOf(exported["args"][5]);
        ASSERT_EQ(reduction.size(), 1u);
        const auto& r = reduction[0];
        std::int64_t service = 0;
        for (const Json& t : z["taxes"])
            if (t["service"].get<bool>()) service += t["day"].get<std::int64_t>();
        const std::int64_t net = z["gross"].get<std::int64_t>() - z["cancellations"].get<std::int64_t>() -
                                 z["discounts"].get<std::int64_t>();
        Json got = {r.at("VRVENLIQREDZ"), r.at("VRISSREDZ")}, want = {net / 100.0, service / 100.0};
        // The amounts and the counters under the host's names, against the recorded figures.
        const Json names = Json::parse(R"({"VRGTREDZ": "grandTotal", "VRVENBRUREDZ": "gross",
            "VRTOTCANREDZ": "cancellations", "VRTOTDESREDZ": "discounts", "VRTOTACRREDZ": "surcharges",
            "VRISENCREDZ": "exempt", "VRNINCIDREDZ": "nonIncidence", "VRSTRIBREDZ": "substitution",
            "NRREDREDZ": "crz", "NRREINIREDZ": "cro", "NRGERCNFREDZ": "gnf"})");
        for (const auto& name : names.items()) {
            const Json& figure = z[name.value().get<std::string>()];
            const bool counter = name.key().rfind("NR", 0) == 0;
            got.push_back(counter ? Json(Number(r.at(name.key()))) : r.at(name.key()));
            want.push_back(counter ? figure : Json(Amount(figure)));
        }
        EXPECT_EQ(got, want);

        // Payments under the host's codes.
        std::map<std::string, double> methods, printed;
        for (const auto& p : RowsOf(exported["args"][6])) methods[p.at("CDTIPORECE")] = p.at("VRFORMPGTORZ");
        for (const Json& m : z["methods"]) {
            if (m["name"] == "Dinheiro") printed["001"] = Amount(m["day"]);
            if (m["name"] == "Cartao Credito") printed["002"] = Amount(m["day"]);
        }
        EXPECT_EQ(methods, printed);

        // The taxed totals: every programmed rate, sales tax and service tax apart (model 34 gives
        // them through the last reduction's record instead).
        const auto taxes = RowsOf(exported["args"][7]);
        ASSERT_EQ(taxes.size(), Model() == 34 ? 0u : z["taxes"].size());
        for (std::size_t i = 0; i < taxes.size(); ++i) {
            const Json& t = z["taxes"][i];
            const std::int64_t base = t["day"], value = t["value"];
            EXPECT_EQ((Json{taxes[i].at("VRALIQIMPRZ"), taxes[i].at("VRBCALCIMPRZ"), taxes[i].at("VRIMPOSTORZ"),
                            taxes[i].at("IDTPIMPREDZ")}),
                      (Json{value / 100.0, base / 100.0, static_cast<double>(base * value / 10000) / 100,
                            t["service"].get<bool>() ? "S" : "T"}))
                << i;
        }

        // The non-fiscal totalizers, withdrawal and supply among them where the model lists them.
        std::map<std::string, double> totals, expected;
        for (const auto& t : RowsOf(exported["args"][8]))
            totals[fw::Trim(t.at("DSTOTNFISCRZ").get<std::string>())] = t.at("VRACUTOTNFIS");
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
    std::vector<std::string> kept, expected;
    for (const auto& entry : fs::directory_iterator(fs::path(Home()) / "Dados" / "Reduções"))
        kept.push_back(entry.path().filename().string());
    std::sort(kept.begin(), kept.end());
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
    const std::string period = std::string(16, ' ') + "TOTAL DO PERÍODO" + std::string(16, ' ');
    for (const Document& d : printed) EXPECT_NE(std::find(d.body.begin(), d.body.end(), period), d.body.end());
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
            EXPECT_EQ((Json{ledger[0][5], ledger[0][0]}), (Json{"MF", Serial()}));
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
