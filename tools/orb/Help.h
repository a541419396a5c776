#pragma once
// The command line's help: the general usage, one text per verb, and the reference entry of each
// operation. The help of `call` lists every operation of the export table with the kinds of its
// parameters; docs/operations.md is ReferenceDocument() as it stands.
#include <string>
#include <string_view>
#include <vector>

#include "exports/ExportTable.h"

namespace orb::cli {

// The verbs, in the order the usage lists them.
const std::vector<std::string>& Verbs();
bool IsVerb(std::string_view verb);

std::string GeneralUsage();
// The usage lines alone, one per verb.
std::string Synopsis();
// The help of one verb; empty for a word that is not a verb.
std::string VerbHelp(std::string_view verb);

// One line per operation of the export table, in its order: "  Name(kind, kind) -> result".
std::string OperationsHelp();
std::string OperationLine(const exports::Operation& operation);
const char* ResultKindName(exports::ResultKind kind);

// The reference entry of one operation, in Markdown: its signature with the names and kinds of
// its parameters, its purpose, the named keys it reads and writes back, what its result and its
// var parameters and array elements mean.
std::string OperationEntry(const exports::Operation& operation);
// The whole reference (docs/operations.md): every exported operation in the table's order.
std::string ReferenceDocument();
// "orb help TOPIC": the help of a verb, or the entry of an operation; empty for anything else.
std::string HelpTopic(std::string_view topic);

}  // namespace orb::cli
