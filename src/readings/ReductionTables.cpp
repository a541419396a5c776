#include "readings/ReductionTables.h"

#include "framework/Cp1252.h"

namespace Orb00100 {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::FieldType;

struct Field {
    const char* name;
    FieldType type;
    int size;
};

// Every table of a reduction starts with the printer's number and the movement date.
void Define(ClientDataSet& t, std::initializer_list<Field> fields) {
    t.Close();
    t.ClearFieldDefs();
    t.AddFieldDef("NRECFREDZ", FieldType::String, 4);
    t.AddFieldDef("DTREDUCAOZ", FieldType::Date);
    for (const Field& f : fields) t.AddFieldDef(f.name, f.type, f.size);
    t.CreateDataSet();
}

constexpr Field Text(const char* name, int size) { return {name, FieldType::String, size}; }
constexpr Field Number(const char* name) { return {name, FieldType::Float, 0}; }

}  // namespace

void RebuildReductionTable(ClientDataSet& t) {
    Define(t, {Text("NRREINIREDZ", 10),
               Text("NRREDREDZ", 10),
               Text("NRLEITREDZ", 10),
               Text("NRGERCNFREDZ", 10),
               Text("NRCANCFREDZ", 10),
               Text("NRPRIMCFREDZ", 10),
               Text("NRULTCFREDZ", 10),
               Number("VRGTREDZ"),
               Number("VRVENBRUREDZ"),
               Number("VRISSREDZ"),
               Number("VRTOTCANREDZ"),
               Number("VRTOTDESREDZ"),
               Number("VRVENLIQREDZ"),
               Number("VRTOTACRREDZ"),
               Number("VRSTRIBREDZ"),
               Number("VRISENCREDZ"),
               Number("VRNINCIDREDZ"),
               Text("QTTEMLIGREDZ", 6),
               Text("QTTEMPCFREDZ", 6),
               Number("QTMEMRESREDZ"),
               Text("IDORIGEMREDZ", 3),
               Text("DSMODMARCAECF", 30),
               Text("NRUSUARIOMFD", 10),
               Text("CDMFADICIONAL", 5),
               {"DTGRAVSBECF", FieldType::DateTime, 0}});
}

void RebuildPaymentTable(ClientDataSet& t) {
    Define(t, {Text("CDTIPORECE", 3), Number("VRFORMPGTORZ"), Text("CDTPRECEORIG", 3)});
}

void RebuildReductionTaxTable(ClientDataSet& t) {
    Define(t, {Text("CDALIQIMPRZ", 10), Number("VRALIQIMPRZ"), Number("VRBCALCIMPRZ"), Number("VRIMPOSTORZ"),
               Text("IDTPIMPREDZ", 1)});
}

void RebuildNonFiscalTable(ClientDataSet& t) {
    Define(t, {Text("NRTOTNFISCRZ", 10), Text("DSTOTNFISCRZ", 50), Text("NRCONTOTNFIS", 10), Number("VRACUTOTNFIS")});
}

void EnsureReductionTaxTable(ClientDataSet& t) {
    if (t.FindField("IDTPIMPREDZ") == nullptr)
        RebuildReductionTaxTable(t);
    else if (!t.Active())
        t.Open();
}

void PutReductionTax(ClientDataSet& t, const std::string& ecf, orb::fw::TDateTime date, const std::string& code,
                     double rate, double base, double tax, const std::string& kind) {
    bool found = false;
    for (t.First(); !t.Eof(); t.Next()) {
        if (t.FieldByName("NRECFREDZ").AsString() == ecf && t.FieldByName("DTREDUCAOZ").AsDateTime() == date &&
            t.FieldByName("CDALIQIMPRZ").AsString() == code && t.FieldByName("IDTPIMPREDZ").AsString() == kind) {
            found = true;
            break;
        }
    }
    if (found)
        t.Edit();
    else
        t.Append();
    t.FieldByName("NRECFREDZ").SetAsString(ecf);
    t.FieldByName("DTREDUCAOZ").SetAsDateTime(date);
    t.FieldByName("CDALIQIMPRZ").SetAsString(code);
    t.FieldByName("VRALIQIMPRZ").SetAsFloat(rate);
    t.FieldByName("VRBCALCIMPRZ").SetAsFloat(base);
    t.FieldByName("VRIMPOSTORZ").SetAsFloat(tax);
    t.FieldByName("IDTPIMPREDZ").SetAsString(kind);
    t.Post();
}

std::string FileSystemName(std::string_view utf8) {
#ifdef _WIN32
    return orb::fw::Utf8ToCp1252(utf8);
#else
    return std::string(utf8);
#endif
}

}  // namespace Orb00100
