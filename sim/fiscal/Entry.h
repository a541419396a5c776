#pragma once
// Included by every file that defines entry points: the prototypes make the compiler hold each
// definition to the shared header.
#define ORB_VENDOR_PROTOTYPES
#include "common/SimExport.h"
#include "orb00100/VendorApi.h"

#include "common/SimText.h"
#include "fiscal/Documents.h"
#include "fiscal/FiscalCall.h"

// Every definition names itself in the journal through __func__.
#define ORB_SIM_ENTRY(name) extern "C" ORB_SIM_EXPORT int ORB_VENDOR_CALL name
