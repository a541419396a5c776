// Orb00100_Request as a host in another language reaches it: the built liborb00100.so loaded by
// name, one request text in, one reply text out, in answer areas of every size.
#include <dlfcn.h>

#include <algorithm>
#include <string>
#include <vector>

#include <gtest/gtest.h>
#include <nlohmann/json.hpp>

#include "orb00100/Request.h"
#include "platform/PlatformTestSupport.h"

namespace {

using Json = nlohmann::ordered_json;

class RequestEntry : public orbtest::ScratchFolder {
protected:
    void SetUp() override {
        ScratchFolder::SetUp();
        module_ = dlopen(ORB_MODULE_FILE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(module_, nullptr) << dlerror();
        request_ = reinterpret_cast<PFN_Orb00100_Request>(dlsym(module_, "Orb00100_Request"));
        ASSERT_NE(request_, nullptr);
    }
    void TearDown() override {
        if (module_) dlclose(module_);
        ScratchFolder::TearDown();
    }

    void* module_ = nullptr;
    PFN_Orb00100_Request request_ = nullptr;
};

// One call: the request (null for a null pointer), the area offered (-1: a null area, size 0), and
// what must come back: the reply's beginning, or "" when the area was too small for it.
struct Step {
    const char* request;
    int area;
    std::string replyStart;
};

constexpr int kRoom = 1 << 16;

TEST_F(RequestEntry, AnswersEveryRequestOnceWhateverTheAreaItWasGiven) {
    const orbtest::ScopedEnv home("ORB_HOME", Path("home"));
    const orbtest::ScopedEnv system("ORB_SYSTEM_DIR", Path("system"));
    const std::string ini = Json{{"system_file", "Bemafi32.ini"},
                                 {"text", "[Sistema]\r\nPorta=COM1\r\nImpressora=1\r\nSimState=bemasim.db\r\n"}}
                                .dump();
    const std::string deep = std::string(300, '[') + std::string(300, ']');
    const std::vector<Step> steps = {
        {ini.c_str(), kRoom, "{\"file\":\"" + Path("system/Bemafi32.ini") + "\"}"},
        {nullptr, kRoom, R"j({"error":"no request was given (a null pointer)"})j"},
        {"{\"call\": ", kRoom, R"j({"error":"the request is not valid JSON: )j"},
        {deep.c_str(), kRoom, R"j({"error":"the request is not valid JSON: it nests deeper than 256 levels"})j"},
        {"[1]", kRoom, R"j({"error":"a request is a JSON object"})j"},
        // Too small, then asked again with room: the kept reply, not a second run (one answer
        // queued, not two).
        {R"j({"answers": ["S"]})j", 4, ""},
        {R"j({"answers": ["S"]})j", 10, ""},
        {R"j({"answers": ["S"]})j", kRoom, R"j({"answers":1})j"},
        // Handed out once: the same request runs again, as a second sale of one item must.
        {R"j({"answers": ["S"]})j", kRoom, R"j({"answers":2})j"},
        {R"j({"answers": ["S"]})j", -1, ""},
        // Another request drops the reply that was kept, and runs.
        {R"j({"answers": []})j", kRoom, R"j({"answers":3})j"},
        {R"j({"answers": ["S"]})j", kRoom, R"j({"answers":4})j"},
        {R"j({"sim": "reset", "model": 34, "serial": "BE091010100011223344"})j", kRoom,
         R"j({"sim":"reset","model":34,"ok":true,"serial":"BE091010100011223344"})j"},
        {R"j({"sim": "roll"})j", kRoom, R"j({"sim":"roll","roll":"")j"},
        {R"j({"call": "FechaPorta", "args": []})j", kRoom, R"j({"call":"FechaPorta","result":false,"args":[])j"},
        {R"j({"call": "NoSuchOperation"})j", kRoom, R"j({"call":"NoSuchOperation","result":null)j"},
    };
    for (std::size_t i = 0; i < steps.size(); ++i) {
        const Step& step = steps[i];
        SCOPED_TRACE("step " + std::to_string(i + 1) + ": " + (step.request ? step.request : "null"));
        std::vector<char> area(static_cast<std::size_t>(std::max(step.area, 1)), '\x7f');
        char* reply = step.area < 0 ? nullptr : area.data();
        const int needed = request_(step.request, reply, std::max(step.area, 0));
        if (step.replyStart.empty()) {
            EXPECT_GT(needed, step.area);
            if (reply) {
                EXPECT_EQ(area[0], '\0');
                EXPECT_EQ(area[1], '\x7f') << "written past the empty text";
            }
            continue;
        }
        const std::string text(area.data());
        EXPECT_EQ(needed, static_cast<int>(text.size()) + 1);
        EXPECT_EQ(text.substr(0, step.replyStart.size()), step.replyStart);
        EXPECT_FALSE(Json::parse(text, nullptr, false).is_discarded()) << text;
    }
}

}  // namespace
