#pragma once
// Brings in the declarations of every operation of the export table. Include this before any
// expansion of exports/Operations.inc.
#define ORB_OP(...)
#include "exports/Operations.inc"
#undef ORB_OP
