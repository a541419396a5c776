#include "Demo.h"

#include <exception>
#include <ostream>
#include <string>

#include "DemoReport.h"
#include "DemoSale.h"
#include "bridge/Bridge.h"
#include "bridge/RequestText.h"
#include "platform/Platform.h"

namespace orb::cli {

namespace {

// The demonstration runs in folders of its own, so it never touches the printer a person set up
// in the host folder, and the environment is put back afterwards.
class EnvironmentKept {
public:
    EnvironmentKept() : home_(platform::GetEnv("ORB_HOME")), system_(platform::GetEnv("ORB_SYSTEM_DIR")) {}
    ~EnvironmentKept() {
        platform::SetEnv("ORB_HOME", home_);
        platform::SetEnv("ORB_SYSTEM_DIR", system_);
    }
    EnvironmentKept(const EnvironmentKept&) = delete;
    EnvironmentKept& operator=(const EnvironmentKept&) = delete;

private:
    std::string home_, system_;
};

void DeleteAll(const std::string& mask) {
    for (const std::string& file : platform::FindFiles(mask))
        if (!platform::DeleteFile(file))
            throw std::runtime_error("cannot remove " + file + " of the previous demonstration (" +
                                     platform::LastErrorMessage() + ")");
}

}  // namespace

HostFolders PrepareDemoFolders(const HostFolders& folders) {
    const std::string home = platform::JoinPath(folders.home, "demo");
    const std::string system = platform::JoinPath(home, "system");
    // A previous run's printer (its state, journal, paper and configuration) and debug log go,
    // so every run starts from a factory-fresh printer and shows its own log.
    if (platform::DirectoryExists(system)) DeleteAll(platform::JoinPath(system, "*.*"));
    if (platform::DirectoryExists(home)) DeleteAll(platform::JoinPath(home, "impdebug*.txt"));
    return PrepareHostFolders(home, system);
}

int RunDemo(const HostFolders& folders, std::ostream& out, std::ostream& err, const std::string& program) {
    EnvironmentKept environment;
    HostFolders place;
    try {
        place = PrepareDemoFolders(folders);
    } catch (const std::exception& e) {
        err << "orb demo: " << e.what() << "\n";
        return 1;
    }
    out << "orb demo: a restaurant sale on the virtual printer\n"
        << "  host folder    " << place.home << "\n"
        << "  system folder  " << place.system << "\n"
        << "  printer        virtual, model " << demo::kModel << ", serial " << demo::kSerial << ", factory-fresh\n"
        << "\nEach step below is one request to the JSON bridge (`orb run` and `orb serve` take the same):\n";

    demo::Session session(out);
    demo::SaleRecord record;
    int status = 0;
    try {
        demo::RunSale(session, record);
        demo::StopModule(session);
        record.started = false;
    } catch (const demo::DemoFailure& failure) {
        err << "orb demo: the step \"" << failure.Step() << "\" failed: " << failure.what() << "\n";
        status = 1;
    } catch (const std::exception& e) {
        // A reply of a shape the demonstration did not expect.
        err << "orb demo: unexpected reply: " << e.what() << "\n";
        status = 1;
    }
    if (record.started) bridge::HandleRequest(bridge::Json{{"call", "StopImpFiscal"}, {"args", bridge::Json::array()}});

    const std::string requests = platform::JoinPath(place.home, "requests.jsonl");
    std::string lines;
    for (const bridge::Json& request : session.Requests()) lines += bridge::JsonLine(request) + "\n";
    const bool saved = platform::WriteFile(requests, lines);

    if (status == 0) demo::ShowSale(record, out);
    demo::ShowLogTail(out);
    if (status == 0) demo::ShowSummary(record, out);
    if (saved)
        out << "\nThe requests of this run are in " << requests << "; replay them with\n  " << program << " --home "
            << place.home << " run " << requests << "\n";
    else
        err << "orb demo: cannot write " << requests << "\n";
    if (status != 0)
        err << "orb demo: the sale did not go through; the debug log above shows the printer's last answers\n";
    return status;
}

}  // namespace orb::cli
