#pragma once
// The command line's help: the general usage and one text per verb. The help of `call` lists
// every operation of the export table with the kinds of its parameters.
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

}  // namespace orb::cli
