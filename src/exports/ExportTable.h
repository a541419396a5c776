#pragma once
// The one list of exported operations and globals. The plain-name exports, the unit-qualified
// names and the JSON bridge all come from it, so an operation cannot be exported without being
// callable from the bridge.
//
// Rows live in exports/Operations.inc (which includes one .inc per family):
//   ORB_OP(EXPORTS, ResultType, Name, (parameter list), (argument names))
// EXPORTS is BOTH (plain and Orb00100::Name), QUALIFIED (Orb00100::Name only) or PLAIN.
// The function itself is Orb00100::Name, declared in its subsystem's header.
//
// Parameter types, by the host's kinds:
//   AnsiString in / var   const std::string& / std::string&
//   int, double, bool     by value / by reference for var parameters
//   TDateTime             orb::fw::TDateTime (by value / reference)
//   Variant, OleVariant   const orb::fw::Variant& / orb::fw::Variant& (named parameters, result arrays)
//   const array of Variant   std::span<const orb::fw::Variant>
//   const array of AnsiString  std::span<const std::string>
//   TStringList           orb::fw::StringList* / orb::fw::StringList*& (var)
//   TClientDataSet        orb::fw::ClientDataSet* / orb::fw::ClientDataSet*& (var)
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "framework/ClientDataSet.h"
#include "framework/StringList.h"
#include "framework/Variant.h"

namespace orb::exports {

enum class ParamKind {
    Text,
    TextVar,
    Integer,
    IntegerVar,
    Double,
    DoubleVar,
    Bool,
    BoolVar,
    DateTime,
    DateTimeVar,
    Variant,
    VariantVar,
    VariantOpenArray,
    TextOpenArray,
    StringList,
    StringListVar,
    DataSet,
    DataSetVar
};
enum class ResultKind { None, Bool, Text, Integer, Double, DateTime, Variant };
enum class ExportKind { Both, Qualified, Plain };

// One argument of a bridge call. Scalars, variants and open arrays (as a Variant array) travel in
// value; string lists and tables in their own members (null: the host passed none). After the
// call, var parameters hold what the operation left in them.
struct Argument {
    orb::fw::Variant value;
    std::unique_ptr<orb::fw::StringList> strings;
    std::unique_ptr<orb::fw::ClientDataSet> table;
};

struct Operation {
    std::string name;  // the plain name, also for operations exported only unit-qualified
    ExportKind exportKind;
    std::vector<ParamKind> params;
    ResultKind result;
    // Calls the operation. args.size() must equal params.size() (std::invalid_argument otherwise);
    // exceptions of the operation propagate. The result is unassigned for ResultKind::None.
    std::function<orb::fw::Variant(std::vector<Argument>& args)> invoke;
};

const std::vector<Operation>& Operations();             // in table order
const Operation* FindOperation(std::string_view name);  // plain name, case-sensitive; nullptr when absent

// The exported globals, readable and settable by name (dtmBematech100 and the entry-point
// variables are reported but not settable: their value reads as a boolean "is set").
struct Global {
    std::string name;
    std::function<orb::fw::Variant()> get;
    std::function<void(const orb::fw::Variant&)> set;  // empty when not settable
};
const std::vector<Global>& Globals();

// ---- The operation reference ---------------------------------------------------------------
// What an integrator needs to call an operation without reading the module: one line of purpose,
// the named keys it reads and writes back, and what its result and its var parameters or result
// array elements mean. The entries live in exports/reference/*.inc, one file per family; the
// names of the parameters come from the export table's rows.

// A key of a named-parameter list the operation reads.
struct NamedKey {
    const char* name;
    const char* kind;     // what it is read as: "text", "integer", "number" or "boolean"
    const char* example;  // a plausible value, written in the kind's form
    const char* meaning;
    bool onSomePaths = false;  // read only on some paths (after a printer answer, say)
};

// A value the operation hands back: a key it writes into the named-parameter list, a var
// parameter ("total"), an element of a result array ("result[0]").
struct ValueMeaning {
    const char* what;
    const char* meaning;
};

struct OperationReference {
    const char* name;
    const char* purpose;
    std::vector<NamedKey> reads;       // for operations that take named parameters
    std::vector<ValueMeaning> writes;  // the keys of the list that replaces the named parameters
    const char* result;                // what the returned value means ("" for no result)
    std::vector<ValueMeaning> values;  // var parameters and result array elements
    // The names of the parameters, in order, from the export table; empty for an operation that
    // is not exported (yet).
    std::vector<std::string> parameters = {};
};

// Every entry, exported or not, in the order of the reference files.
const std::vector<OperationReference>& References();
// The entry of one operation by its plain name (case-sensitive); nullptr when it has none.
const OperationReference* FindReference(std::string_view name);
// The key of an operation's named parameters that matches name, as the module matches it
// (without regard to letter case); nullptr when the operation does not read it.
const NamedKey* FindReadKey(const OperationReference& reference, std::string_view name);

// The debug log the module writes this month (the command-line host shows it).
std::string DebugLogPath();

}  // namespace orb::exports
