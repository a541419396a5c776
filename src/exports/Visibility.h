#pragma once
// For operations the host knows only by their plain name: the C++ function stays inside the
// module and only the extern "C" wrapper of the export table is visible.
#if defined(_WIN32)
#define ORB_NOT_EXPORTED
#else
#define ORB_NOT_EXPORTED __attribute__((visibility("hidden")))
#endif
