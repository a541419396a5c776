#pragma once
// The module's entry point for hosts in any language: one JSON request in, one JSON reply out,
// in the host's own process. The requests and replies are those of the command-line host's
// bridge (docs/bridge.md): {"call": NAME, "args": [...]}, {"sim": ...}, {"answers": [...]},
// {"settings": {...}}, {"file" | "system_file": NAME, ...}, {"globals": {...}}.
//
// Contract of Orb00100_Request:
//   - requestUtf8 is exactly one request object, UTF-8 JSON text ending with a NUL.
//   - The reply object is written into reply as UTF-8 JSON ending with a NUL, when replySize
//     (bytes, the NUL included) leaves room for it. The return value is always the number of
//     bytes the whole reply needs, its NUL included: a return value up to replySize means the
//     reply is complete.
//   - When the reply does not fit (or reply is null), nothing is written but an empty text (when
//     replySize > 0), and the reply is kept. The next call, if it carries the very same request
//     text, is answered with the kept reply, without running the request again (a sale is never
//     registered twice because the first area was too small); any other request drops the kept
//     reply and runs. A reply is kept for the call right after it only: once handed out, the
//     same request runs again the next time, as a second sale of the same item must.
//   - A null, malformed or unknown request is answered with a reply that holds "error" (the
//     reason, in UTF-8); nothing is ever thrown across this boundary.
//   - The host folder, system folder and printer libraries are found as for every operation:
//     ORB_HOME, ORB_SYSTEM_DIR and ORB_LIBRARY_PATH. Calls are served one at a time.

#ifdef __cplusplus
extern "C" {
#endif

// The calling convention of the module's C entry points, as the maker's (ORB_VENDOR_CALL):
// __stdcall on 32-bit Windows, the platform's own elsewhere.
#ifndef ORB_CALLCONV
#if defined(_WIN32) && !defined(_WIN64)
#define ORB_CALLCONV __stdcall
#else
#define ORB_CALLCONV
#endif
#endif

int ORB_CALLCONV Orb00100_Request(const char* requestUtf8, char* reply, int replySize);

typedef int(ORB_CALLCONV* PFN_Orb00100_Request)(const char* requestUtf8, char* reply, int replySize);

#ifdef __cplusplus
}
#endif
