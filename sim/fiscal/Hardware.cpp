// The port, the status bytes, the drawer and the transfer mode.
#include "fiscal/Entry.h"

using namespace orb::sim;
using namespace orb::sim::fiscal;

ORB_SIM_ENTRY(Bematech_FI_AbrePortaSerial)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.portOpen = true;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_FechaPortaSerial)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.portOpen = false;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_VerificaImpressoraLigada)(void) {
    return Run(__func__, {}, [](Call&) { return kOk; });
}

namespace {

int StatusBytes(const char* entry, int* ack, int* a, int* b) {
    return Run(
        entry, {Out(ack), Out(a), Out(b)},
        [](Call& c) {
            int x = 0, y = 0, z = 0;
            ReadStatus(c.s, x, y, z);
            c.SetOut(0, x);
            c.SetOut(1, y);
            c.SetOut(2, z);
            return kOk;
        },
        kStatusRead);
}

}  // namespace

ORB_SIM_ENTRY(Bematech_FI_RetornoImpressora)(int* ack, int* st1, int* st2) {
    return StatusBytes(__func__, ack, st1, st2);
}

ORB_SIM_ENTRY(Bematech_FI_VerificaEstadoImpressora)(int* ack, int* st1, int* st2) {
    return StatusBytes(__func__, ack, st1, st2);
}

ORB_SIM_ENTRY(Bematech_FI_AcionaGaveta)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.drawerOpen = true;
        return kOk;
    });
}

// 1: the drawer is open.
ORB_SIM_ENTRY(Bematech_FI_VerificaEstadoGaveta)(int* state) {
    return Run(__func__, {Out(state)}, [](Call& c) {
        c.SetOut(0, c.s.hw.drawerOpen ? 1 : 0);
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_IniciaModoTEF)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.tefMode = true;
        return kOk;
    });
}

ORB_SIM_ENTRY(Bematech_FI_FinalizaModoTEF)(void) {
    return Run(__func__, {}, [](Call& c) {
        c.s.hw.tefMode = false;
        return kOk;
    });
}
