#pragma once
// The driver module's chief header: the frame, the printer connection and the status analysis,
// with the entry-point variables of the maker's libraries.
#include "connection/Binding.h"
#include "connection/PortOpening.h"
#include "driver/Catalogs.h"
#include "driver/DataModule.h"
#include "driver/DebugLog.h"
#include "driver/Globals.h"
#include "driver/Params.h"
#include "driver/StatusAnalysis.h"
#include "external/vendor/EntryPoints.h"
