#pragma once
// What the operating system gives the module. No other folder calls the operating system.
// One header, a POSIX implementation (PlatformPosix.cpp) and a Win32 one (PlatformWin32.cpp).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orb::platform {

// ---- Dynamic libraries -------------------------------------------------------------------
using LibHandle = std::uintptr_t;  // 0: none

// Loads a library by its Windows file name. On POSIX "X.dll" is looked up as "libX.so": first
// in the folders of ORB_LIBRARY_PATH (separated by ':'), then beside liborb00100.so, then by the
// system's own rule. Returns 0 when it cannot be loaded.
LibHandle LoadLibrary(std::string_view name);
void* GetProcAddress(LibHandle lib, const char* symbol);  // nullptr when missing
bool FreeLibrary(LibHandle lib);

// ---- Folders -----------------------------------------------------------------------------
// The Windows system folder; on POSIX the folder named by ORB_SYSTEM_DIR (else the host folder).
std::string SystemDirectory();
// The folder of the host executable, without a trailing separator; ORB_HOME overrides it.
std::string HostDirectory();
char PathDelimiter();  // '\\' on Windows, '/' elsewhere
// A path the module built with "\" turned into the native form.
std::string NativePath(std::string_view path);
std::string JoinPath(std::string_view folder, std::string_view name);

// ---- Files -------------------------------------------------------------------------------
bool FileExists(std::string_view path);
bool DirectoryExists(std::string_view path);
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists = false);
bool DeleteFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);  // replaces the target
bool CreateDirectory(std::string_view path);                  // one level
bool ForceDirectories(std::string_view path);                 // every missing level
// Full paths of the files matching a mask with * and ? in its last component, sorted.
std::vector<std::string> FindFiles(std::string_view mask);
std::string FindFirst(std::string_view mask);  // "" when none
// The code of the last failed call above (GetLastError / errno).
std::uint32_t LastError();

// Whole-file reading and writing (binary). Read returns false when the file cannot be read.
bool ReadFile(std::string_view path, std::string& contents);
bool WriteFile(std::string_view path, std::string_view contents);
// Write to a temporary file beside the target, then rename it over the target.
bool WriteFileAtomic(std::string_view path, std::string_view contents);
// Open, append, close.
bool AppendToFile(std::string_view path, std::string_view contents);

// ---- Environment -------------------------------------------------------------------------
std::string GetEnv(const char* name);  // "" when unset

// ---- Serial ports ------------------------------------------------------------------------
// On POSIX "COM1" maps to ORB_COM1 when set, else /dev/ttyS0; any other name is used as a path.
using PortHandle = std::intptr_t;  // -1: none
PortHandle OpenPort(std::string_view name);
bool ConfigurePort(PortHandle port, int baud, int dataBits, char parity, int stopBits);
bool SetPortTimeouts(PortHandle port, int readTotalMs, int writeTotalMs);
bool WritePort(PortHandle port, std::string_view bytes);
void ClosePort(PortHandle port);

}  // namespace orb::platform
