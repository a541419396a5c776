#include "mp2032/Mp2032Printer.h"

#include "common/SimText.h"
#include "platform/Platform.h"

namespace orb::sim::mp2032 {

namespace {

std::string SystemFile(const char* name) { return platform::JoinPath(platform::SystemDirectory(), name); }

}  // namespace

std::vector<std::string> PresentPorts() {
    // The module probes the same list before it calls IniciaPorta, so the two always agree.
    std::vector<std::string> ports;
    if (!platform::ConfiguredReceiptPorts(ports)) return {"*"};
    return ports;
}

bool PortPresent(std::string_view port) {
    const std::string wanted = UpperCp1252(Trim(port));
    if (wanted.empty()) return false;
    for (const std::string& present : PresentPorts()) {
        if (present == "*" || present == wanted) return true;
    }
    return false;
}

std::string RenderOnPaper(std::string_view bytes) {
    std::string cp1252;
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        const auto b = static_cast<unsigned char>(bytes[i]);
        if (b == '\n' || b == '\r') {
            const bool pair =
                i + 1 < bytes.size() && (bytes[i + 1] == '\n' || bytes[i + 1] == '\r') && bytes[i + 1] != bytes[i];
            if (b == '\n' || pair) cp1252 += '\n';
            if (pair) ++i;
        } else if ((b < 0x20 && b != '\t') || b == 0x7F) {
            static const char kHex[] = "0123456789ABCDEF";
            cp1252 += '<';
            cp1252 += kHex[b >> 4];
            cp1252 += kHex[b & 0x0F];
            cp1252 += '>';
        } else {
            cp1252 += static_cast<char>(b);
        }
    }
    return Cp1252ToUtf8(cp1252);
}

std::string RollPath() { return SystemFile("Mp2032Roll.txt"); }
std::string JournalPath() { return SystemFile("Mp2032Journal.jsonl"); }

void AppendToRoll(const std::string& utf8) {
    if (!utf8.empty()) platform::AppendToFile(RollPath(), utf8);
}

void AppendToJournal(const std::string& entry, const std::string& argsJson, int result) {
    platform::AppendToFile(JournalPath(), "{\"entry\":\"" + entry + "\",\"args\":" + argsJson +
                                              ",\"return\":" + std::to_string(result) + "}\n");
}

PortState& State() {
    static PortState state;
    return state;
}

}  // namespace orb::sim::mp2032
