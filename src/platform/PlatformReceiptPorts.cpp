// Where the receipt printer may answer: one list shared by the module and the virtual printer.
#include <algorithm>
#include <cctype>

#include "platform/Platform.h"

namespace orb::platform {

namespace {

std::string TrimUpper(std::string_view text) {
    std::size_t start = 0, end = text.size();
    while (start < end && static_cast<unsigned char>(text[start]) <= ' ') ++start;
    while (end > start && static_cast<unsigned char>(text[end - 1]) <= ' ') --end;
    std::string out(text.substr(start, end - start));
    std::transform(out.begin(), out.end(), out.begin(), [](unsigned char c) { return std::toupper(c); });
    return out;
}

// The value of "Ports=" in any section of Mp2032.ini; false when the file has no such line.
bool PortsFromIni(std::string& value) {
    std::string text;
    if (!ReadFile(JoinPath(SystemDirectory(), "Mp2032.ini"), text)) return false;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        const std::string_view line = std::string_view(text).substr(start, end - start);
        start = end + 1;
        const std::size_t eq = line.find('=');
        if (eq != std::string_view::npos && TrimUpper(line.substr(0, eq)) == "PORTS") {
            value = std::string(line.substr(eq + 1));
            return true;
        }
    }
    return false;
}

}  // namespace

bool ConfiguredReceiptPorts(std::vector<std::string>& ports) {
    std::string list = GetEnv("ORB_MP2032_PORTS");
    if (list.empty() && !PortsFromIni(list)) return false;
    ports.clear();
    std::size_t start = 0;
    while (start <= list.size()) {
        std::size_t end = list.find_first_of(",;", start);
        if (end == std::string::npos) end = list.size();
        std::string port = TrimUpper(std::string_view(list).substr(start, end - start));
        if (!port.empty()) ports.push_back(port);
        start = end + 1;
    }
    return true;
}

bool ReceiptPortPresent(std::string_view name) {
    std::string wanted = TrimUpper(name);
    while (!wanted.empty() && wanted.back() == ':') wanted.pop_back();
    if (wanted.empty()) return false;
    std::vector<std::string> ports;
    if (ConfiguredReceiptPorts(ports))
        return std::any_of(ports.begin(), ports.end(),
                           [&](const std::string& port) { return port == "*" || port == wanted; });
    const PortHandle port = OpenPort(wanted);
    if (port == -1) return false;
    ClosePort(port);
    return true;
}

}  // namespace orb::platform
