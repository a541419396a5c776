// The raw-command entries: protocol commands ESC "|" code ("|" argument)* "|" ESC.
// Understood: "19" status request, "00" open a coupon (argument: the consumer's tax number),
// "14" cancel the coupon, "27" read the partial totals (answered through BemaLe_Variaveis).
#include <vector>

#include "fiscal/CouponOps.h"
#include "fiscal/Entry.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

namespace {

constexpr char kEsc = 27;

bool Parse(const std::string& command, std::vector<std::string>& fields) {
    if (command.size() < 4 || command.front() != kEsc || command.back() != kEsc || command[1] != '|' ||
        command[command.size() - 2] != '|')
        return false;
    std::string inner = command.substr(2, command.size() - 4);
    std::size_t start = 0;
    while (true) {
        std::size_t bar = inner.find('|', start);
        fields.push_back(inner.substr(start, bar == std::string::npos ? std::string::npos : bar - start));
        if (bar == std::string::npos) break;
        start = bar + 1;
    }
    return !fields.empty() && !fields[0].empty();
}

int Execute(Call& c) {
    std::vector<std::string> fields;
    if (!Parse(c.Text(0), fields)) {
        c.s.faults.st1 = st1::kSyntax;
        c.s.faults.st2 = 0;
        return 0;  // sent; the printer's status tells what it made of it
    }
    const std::string& code = fields[0];
    if (code == "19") return 0;  // the status of the last command stays readable
    c.s.faults.ack = 6;
    c.s.faults.st1 = 0;
    c.s.faults.st2 = 0;
    int rc = kOk;
    if (code == "00")
        rc = OpenCoupon(c, fields.size() > 1 ? fields[1] : std::string(), "", "");
    else if (code == "14")
        rc = CancelCoupon(c);
    else if (code == "27")
        c.s.faults.rawAnswer = PartialTotalsText(c.s);
    else
        c.s.faults.st1 |= st1::kUnknownCommand;
    if (rc == kBadArgument)
        c.s.faults.st2 |= st2::kParameterType;
    else if (rc != kOk && c.s.faults.st1 == 0 && c.s.faults.st2 == 0)
        c.s.faults.st2 |= st2::kNotExecuted;
    return 0;
}

}  // namespace

ORB_SIM_ENTRY(BemaFormataTX)(char* command) { return Run(__func__, {In(command)}, Execute, kStatusRead); }

ORB_SIM_ENTRY(BemaStatus_Mp20FI)(int* ack, int* st2, int* st1, int* busy) {
    return Run(
        __func__, {Out(ack), Out(st2), Out(st1), Out(busy)},
        [](Call& c) {
            int a = 0, x = 0, y = 0;
            ReadStatus(c.s, a, x, y);
            c.SetOut(0, a);
            c.SetOut(1, y);
            c.SetOut(2, x);
            c.SetOut(3, 0);
            return kOk;
        },
        kStatusRead);
}

// Both reading entries hand out the answer of the last raw command.
static int AnswerLastReading(Call& c) {
    c.Answer(0, c.s.faults.rawAnswer);
    return kOk;
}

ORB_SIM_ENTRY(BemaLe_Variaveis)(char* outAnswer) {
    return Run(__func__, {Area(outAnswer)}, AnswerLastReading, kStatusRead);
}

ORB_SIM_ENTRY(BemaRetorna_ASCII)(char* outAnswer) {
    return Run(__func__, {Area(outAnswer)}, AnswerLastReading, kStatusRead);
}

ORB_SIM_ENTRY(BemaIniPortaStr)(char* port) {
    return Run(__func__, {In(port)}, [](Call& c) {
        c.s.hw.portOpen = true;
        return kOk;
    });
}

ORB_SIM_ENTRY(BemaFechaPorta)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.portOpen = false;
        return kOk;
    });
}
