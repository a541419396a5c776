// The operation reference against the module: every exported operation has an entry that names
// its own parameters, every documented key is one the operation really reads, the committed
// docs/operations.md is the generated one, and the bridge warns about keys nobody reads.
#include <algorithm>
#include <fstream>
#include <set>
#include <sstream>

#include "CliTestSupport.h"
#include "Help.h"
#include "framework/Text.h"

namespace orb::cli::testing {
namespace {

using exports::OperationReference;

bool TakesNamedParameters(const exports::Operation& op) {
    return std::any_of(op.params.begin(), op.params.end(), [](exports::ParamKind kind) {
        return kind == exports::ParamKind::Variant || kind == exports::ParamKind::VariantVar;
    });
}

TEST(OperationReference, EveryExportedOperationHasAnEntryNamingItsOwnParameters) {
    std::set<std::string> seen;
    for (const OperationReference& reference : exports::References())
        EXPECT_TRUE(seen.insert(reference.name).second) << "two entries for " << reference.name;

    for (const exports::Operation& op : exports::Operations()) {
        const OperationReference* reference = exports::FindReference(op.name);
        if (!reference) {
            ADD_FAILURE() << op.name << " has no entry in src/exports/reference/";
            continue;
        }
        EXPECT_EQ(reference->parameters.size(), op.params.size()) << op.name;
        EXPECT_NE(std::string(reference->purpose), "") << op.name;
        // The result is explained whenever there is one.
        EXPECT_EQ(std::string(reference->result).empty(), op.result == exports::ResultKind::None) << op.name;
        // "total" or "result[0]" name a parameter of the operation.
        for (const exports::ValueMeaning& value : reference->values) {
            const std::string what = value.what;
            const std::string parameter = what.substr(0, what.find('['));
            EXPECT_NE(std::find(reference->parameters.begin(), reference->parameters.end(), parameter),
                      reference->parameters.end())
                << op.name << " explains \"" << what << "\", which is none of its parameters";
        }
        if (!reference->reads.empty() || !reference->writes.empty()) {
            EXPECT_TRUE(TakesNamedParameters(op)) << op.name << " documents named keys but takes no variant";
        }
        for (const exports::NamedKey& key : reference->reads)
            EXPECT_NE(std::string(" text integer number boolean ").find(" " + std::string(key.kind) + " "),
                      std::string::npos)
                << op.name << " " << key.name << ": " << key.kind;
    }
}

// A documented key's example, as the host would pass it.
Json ExampleValue(const exports::NamedKey& key) {
    const std::string kind = key.kind, example = key.example;
    if (kind == "integer") return std::stoi(example);
    if (kind == "number") return std::stod(example);
    if (kind == "boolean") return example == "true";
    return example;
}

class ReferenceOnThePrinter : public BridgeTest {
protected:
    void SetUp() override {
        BridgeTest::SetUp();
        ASSERT_FALSE(Ask(ResetRequest()).contains("error"));
    }
    void TearDown() override {
        Ask(Call("StopImpFiscal"));
        BridgeTest::TearDown();
    }
};

TEST_F(ReferenceOnThePrinter, EveryDocumentedKeyIsReadWhenEveryKeyIsGiven) {
    // The entries come in the order a till calls them (the connection first, the items after the
    // coupon's opening), so each call finds the printer in the state it needs and runs its whole
    // path: each must succeed with the documented examples.
    int named = 0;
    for (const OperationReference& reference : exports::References()) {
        if (reference.reads.empty()) continue;
        const exports::Operation* op = exports::FindOperation(reference.name);
        ASSERT_NE(op, nullptr) << reference.name;
        ASSERT_EQ(op->params.size(), 1u) << reference.name << ": give its other arguments here";
        ++named;
        Json pairs = Json::array();
        for (const exports::NamedKey& key : reference.reads)
            pairs.push_back(Json::array({key.name, ExampleValue(key)}));
        const Json reply = Ask(Call(reference.name, Json::array({pairs})));
        EXPECT_EQ(reply["result"], true) << reply.dump();
        EXPECT_FALSE(reply.contains("warnings")) << reply.dump();

        const std::vector<std::string>& asked = hostlib::Recorded().paramNames;
        for (const exports::NamedKey& key : reference.reads) {
            const bool read = std::any_of(asked.begin(), asked.end(),
                                          [&](const std::string& name) { return fw::SameText(name, key.name); });
            EXPECT_TRUE(read || key.onSomePaths) << reference.name << " does not read the documented key " << key.name;
        }
        // What it writes back is what the entry lists, in its order.
        if (!reference.writes.empty()) {
            Json written = Json::array();
            for (const Json& pair : reply["args"][0]) written.push_back(pair[0]);
            Json documented = Json::array();
            for (const exports::ValueMeaning& key : reference.writes) documented.push_back(key.what);
            EXPECT_EQ(written, documented) << reference.name;
        }
    }
    EXPECT_GE(named, 6);
}

TEST_F(ReferenceOnThePrinter, KeysNoOperationReadsAreWarnedAboutAndChangeNothing) {
    ASSERT_EQ(Ask(StartRequest())["result"], true);
    ASSERT_EQ(Ask(OpeningRequest())["result"], true);
    Json misspelt = ItemRequest("Moqueca", 30.0);
    misspelt["args"][0].push_back(Json::array({"VALR", 12.5}));
    // The module reads names without regard to case, and so does the check.
    Json lowered = ItemRequest("Pirao", 8.0);
    for (Json& pair : lowered["args"][0]) pair[0] = fw::LowerCase(pair[0].get<std::string>());
    // clang-format off
    const std::vector<std::pair<Json, Json>> cases = {
        {misspelt, Json::array({"VendaItem does not read the key \"VALR\""})},
        {lowered, Json()},
        {Call("Atu_TotGeral", Json::array({Named({{"CDFILIAL", "0001"}, {"CRZTAB", "1"}, {"", 1}})})),
         Json::array({"Atu_TotGeral does not read the key \"CRZTAB\"", "Atu_TotGeral does not read the key \"\""})},
        // Not named parameters: nothing to check.
        {Call("Nr_Cupom", Json::array({"VALR", "001"})), Json()},
    };
    // clang-format on
    for (const auto& [request, warnings] : cases) {
        const Json reply = Ask(request);
        EXPECT_EQ(reply.value("warnings", Json()), warnings) << reply.dump();
        EXPECT_FALSE(reply.contains("error")) << reply.dump();
    }
    // The misspelt key changed nothing: the item went in at its own price; the lower-case names
    // registered the second item.
    const std::string roll = Ask(R"({"sim": "roll"})").dump();
    for (const char* printed : {"Moqueca", "30,00", "Pirao", "8,00"})
        EXPECT_NE(roll.find(printed), std::string::npos) << printed << " in " << roll;
    EXPECT_EQ(roll.find("12,50"), std::string::npos) << roll;
}

TEST(OperationReference, TheCommittedDocumentIsTheGeneratedOne) {
    std::ifstream file(std::string(ORB_SOURCE_DIR) + "/docs/operations.md", std::ios::binary);
    std::stringstream committed;
    committed << file.rdbuf();
    EXPECT_TRUE(committed.str() == ReferenceDocument())
        << "docs/operations.md is out of date; regenerate it from the build folder with\n"
           "  bin/orb help --reference > ../docs/operations.md";
}

}  // namespace
}  // namespace orb::cli::testing
