#pragma once
// Marks an entry point a stand-in library exports. On ELF the library's version script decides
// what is visible; a Windows DLL exports what is marked, under the undecorated name (--kill-at).
#if defined(_WIN32)
#define ORB_SIM_EXPORT __declspec(dllexport)
#else
#define ORB_SIM_EXPORT
#endif
