#include "DemoReport.h"

#include <ostream>

#include "DemoView.h"
#include "exports/ExportTable.h"
#include "framework/NumberFormat.h"
#include "platform/Platform.h"

namespace orb::cli::demo {

namespace {

std::string Amount(std::int64_t cents) { return fw::FormatFloat("#,##0.00", static_cast<double>(cents) / 100.0); }

std::string Text(const Json& value) { return value.is_string() ? value.get<std::string>() : value.dump(); }

const char* TaxKindName(const std::string& kind) {
    if (kind == "T") return "sales tax (ICMS)";
    if (kind == "S") return "service tax (ISS)";
    if (kind == "N") return "not taxed";
    if (kind == "I") return "exempt";
    if (kind == "F") return "tax substitution";
    return "";
}

// The values of the named fields of every row of a table the module gave back.
std::vector<std::vector<Json>> RowValues(const Json& body, std::initializer_list<const char*> names) {
    std::vector<std::size_t> at;
    const Json& fields = body.value("fields", Json::array());
    for (const char* name : names) {
        std::size_t found = fields.size();
        for (std::size_t i = 0; i < fields.size(); ++i)
            if (fields[i].value("name", "") == name) found = i;
        at.push_back(found);
    }
    std::vector<std::vector<Json>> rows;
    for (const Json& row : body.value("rows", Json::array())) {
        std::vector<Json> values;
        for (std::size_t i : at) values.push_back(i < row.size() ? row[i] : Json(nullptr));
        rows.push_back(std::move(values));
    }
    return rows;
}

void ShowConfiguration(const SaleRecord& record, std::ostream& out) {
    out << Heading("Printer configuration the host keeps");
    out << "  Non-fiscal totalizers (CarregaTotalizador), by slot:\n";
    NamedValues slots;
    for (const auto& [name, slot] : record.totalizers) slots.emplace_back(name, Json(slot));
    out << NameValueList(slots);
    out << "  Tax rates (CarregaAliquota), the code each item is registered under:\n";
    for (const auto& row : RowValues(record.rates, {"CDALIQIMPFIS", "VRALIQIMPFIS", "IDALIQIMPFIS"})) {
        const std::string kind = Text(row[2]);
        std::string rate = (kind == "T" || kind == "S") && row[1].is_number()
                               ? fw::FormatFloat("0.00", row[1].get<double>()) + " %"
                               : std::string();
        out << "    " << Text(row[0]) << "  " << std::string(rate.size() < 8 ? 8 - rate.size() : 0, ' ') << rate << "  "
            << TaxKindName(kind) << "\n";
    }
    out << "  Payment types (CarregaRecebimento), as the printer names them:\n";
    NamedValues payments;
    for (const auto& row : RowValues(record.payments, {"CDTIPORECE", "NMTIPORECE"}))
        payments.emplace_back(Text(row[0]), row[1]);
    out << NameValueList(payments);
}

void ShowResults(const SaleRecord& record, std::ostream& out) {
    out << Heading("What the host receives");
    out << "  AbreCupom, its named-parameter packet:\n" << NameValueList(PacketPairs(record.opening));
    for (const auto& [dish, packet] : record.items)
        out << "  VendaItem (" << dish << "), its packet:\n" << NameValueList(PacketPairs(packet));
    const char* const kClosing[] = {"[0] retry taken (0/1)", "[1] sale number", "[2] non-fiscal counter",
                                    "[3] MENSAGEMTAA"};
    NamedValues closing;
    for (std::size_t i = 0; i < record.closing.size(); ++i)
        closing.emplace_back(i < 4 ? kClosing[i] : "[" + std::to_string(i) + "]", record.closing[i]);
    out << "  FechaCupom, its result array:\n" << NameValueList(closing);
}

}  // namespace

void ShowSale(const SaleRecord& record, std::ostream& out) {
    ShowConfiguration(record, out);
    out << Heading("The customer's coupon, from the printer's paper roll") << Framed(record.coupon);
    ShowResults(record, out);
    out << Heading("The X reading (Leitura_X_Imp)");
    for (const Json& entry : record.readingLedger)
        out << "  ledger record handed to the host: " << OneLine(entry, 200) << "\n";
    out << Framed(record.reading);
}

void ShowLogTail(std::ostream& out, std::size_t lines) {
    const std::string path = exports::DebugLogPath();
    std::string log;
    const std::size_t slash = path.find_last_of("/\\");
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    out << Heading("The module's debug log, last lines of " + name);
    if (!platform::FileExists(path) || !platform::ReadFile(path, log)) {
        out << "  (the module has written no debug log this month: " << path << ")\n";
        return;
    }
    for (const std::string& line : LogTail(log, lines)) out << "  " << line << "\n";
}

void ShowSummary(const SaleRecord& record, std::ostream& out) {
    out << "\nThe sale went through: subtotal " << Amount(record.subtotal) << ", discount " << Amount(record.discount)
        << ", total " << Amount(record.total) << ", change " << Amount(record.change) << ".\n";
}

}  // namespace orb::cli::demo
