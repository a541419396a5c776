#include "readings/ReductionTables.h"

#include "framework/Cp1252.h"

namespace Orb00100 {

namespace {

using orb::fw::ClientDataSet;
using orb::fw::FieldType;

void Begin(ClientDataSet& t) {
    t.Close();
    t.ClearFieldDefs();
    t.AddFieldDef("NRECFREDZ", FieldType::String, 4);
    t.AddFieldDef("DTREDUCAOZ", FieldType::Date);
}

void DefineTaxFields(ClientDataSet& t) {
    Begin(t);
    t.AddFieldDef("CDALIQIMPRZ", FieldType::String, 10);
    t.AddFieldDef("VRALIQIMPRZ", FieldType::Float);
    t.AddFieldDef("VRBCALCIMPRZ", FieldType::Float);
    t.AddFieldDef("VRIMPOSTORZ", FieldType::Float);
    t.AddFieldDef("IDTPIMPREDZ", FieldType::String, 1);
}

}  // namespace

void RebuildReductionTable(ClientDataSet& t) {
    Begin(t);
    for (const char* name :
         {"NRREINIREDZ", "NRREDREDZ", "NRLEITREDZ", "NRGERCNFREDZ", "NRCANCFREDZ", "NRPRIMCFREDZ", "NRULTCFREDZ"})
        t.AddFieldDef(name, FieldType::String, 10);
    for (const char* name : {"VRGTREDZ", "VRVENBRUREDZ", "VRISSREDZ", "VRTOTCANREDZ", "VRTOTDESREDZ", "VRVENLIQREDZ",
                             "VRTOTACRREDZ", "VRSTRIBREDZ", "VRISENCREDZ", "VRNINCIDREDZ"})
        t.AddFieldDef(name, FieldType::Float);
    t.AddFieldDef("QTTEMLIGREDZ", FieldType::String, 6);
    t.AddFieldDef("QTTEMPCFREDZ", FieldType::String, 6);
    t.AddFieldDef("QTMEMRESREDZ", FieldType::Float);
    t.AddFieldDef("IDORIGEMREDZ", FieldType::String, 3);
    t.AddFieldDef("DSMODMARCAECF", FieldType::String, 30);
    t.AddFieldDef("NRUSUARIOMFD", FieldType::String, 10);
    t.AddFieldDef("CDMFADICIONAL", FieldType::String, 5);
    t.AddFieldDef("DTGRAVSBECF", FieldType::DateTime);
    t.CreateDataSet();
}

void RebuildPaymentTable(ClientDataSet& t) {
    Begin(t);
    t.AddFieldDef("CDTIPORECE", FieldType::String, 3);
    t.AddFieldDef("VRFORMPGTORZ", FieldType::Float);
    t.AddFieldDef("CDTPRECEORIG", FieldType::String, 3);
    t.CreateDataSet();
}

void RebuildReductionTaxTable(ClientDataSet& t) {
    DefineTaxFields(t);
    t.CreateDataSet();
}

void RebuildNonFiscalTable(ClientDataSet& t) {
    Begin(t);
    t.AddFieldDef("NRTOTNFISCRZ", FieldType::String, 10);
    t.AddFieldDef("DSTOTNFISCRZ", FieldType::String, 50);
    t.AddFieldDef("NRCONTOTNFIS", FieldType::String, 10);
    t.AddFieldDef("VRACUTOTNFIS", FieldType::Float);
    t.CreateDataSet();
}

void EnsureReductionTaxTable(ClientDataSet& t) {
    if (t.FindField("IDTPIMPREDZ") != nullptr) {
        if (!t.Active()) t.Open();
        return;
    }
    RebuildReductionTaxTable(t);
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
