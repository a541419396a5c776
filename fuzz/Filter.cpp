// The filter parser and evaluator: any expression over a payment-type table filters it or is
// refused with an exception.
#include <cstddef>
#include <cstdint>
#include <string>

#include "framework/ClientDataSet.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace orb::fw;
    static ClientDataSet* table = [] {
        auto* t = new ClientDataSet("cdsTipoRece");
        t->AddFieldDef("CDTIPORECE", FieldType::String, 3);
        t->AddFieldDef("VRMOVIVEND", FieldType::Float);
        t->AddFieldDef("DTHRINCMOV", FieldType::DateTime);
        t->AddFieldDef("NRORDTROCO", FieldType::Integer);
        t->AddFieldDef("IDATIVO", FieldType::Boolean);
        t->CreateDataSet();
        for (int i = 0; i < 3; ++i) {
            t->Append();
            t->FieldByName("CDTIPORECE").SetAsString(i == 1 ? "" : "00" + std::to_string(i));
            t->FieldByName("VRMOVIVEND").SetAsFloat(i * 10.5);
            t->FieldByName("NRORDTROCO").SetAsInteger(i);
            t->Post();
        }
        return t;
    }();
    try {
        table->SetFilter(std::string(reinterpret_cast<const char*>(data), size));
        table->SetFiltered(true);
        table->RecordCount();
    } catch (const std::exception&) {
    }
    table->SetFiltered(false);
    return 0;
}
