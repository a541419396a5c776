#pragma once
// What the operating system gives the module. No other folder calls the operating system.
// One header, a POSIX implementation (Platform*Posix.cpp) and a Win32 one (PlatformWin32.cpp).
//
// Every path argument may be written with "\" separators, as the module builds them; the
// functions turn it into the native form themselves (NativePath).
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace orb::platform {

// ---- Dynamic libraries -------------------------------------------------------------------
using LibHandle = std::uintptr_t;  // 0: none

// Loads a library by its Windows file name. On POSIX "X.dll" is looked up as "libX.so": first
// in the folders of ORB_LIBRARY_PATH (separated by ':'), then beside liborb00100.so, then by the
// system's own rule. Windows takes the folders of ORB_LIBRARY_PATH (separated by ';') first, then the plain name by
// the system's rule (as the host itself would load it), then the folder beside Orb00100.dll. In the folder steps the
// file name is matched without regard to case, as Windows does. A name with a folder in it is loaded from
// that folder only. Loading a library that is already loaded answers the same handle (and counts one more reference).
// Returns 0 when it cannot be loaded; LastErrorMessage() then says why.
LibHandle LoadLibrary(std::string_view name);
void* GetProcAddress(LibHandle lib, const char* symbol);  // nullptr when missing
bool FreeLibrary(LibHandle lib);
// The file a library would be loaded from by the two folder steps above ("" when neither
// folder holds it and only the system's rule is left).
std::string FindLibraryFile(std::string_view name);

// ---- Folders -----------------------------------------------------------------------------
// The Windows system folder; on POSIX the folder named by ORB_SYSTEM_DIR (else the host folder).
// ORB_SYSTEM_DIR also overrides the Windows folder, so that tests can run there. Without a
// trailing separator.
std::string SystemDirectory();
// The folder of the running program, without a trailing separator.
std::string ExecutableDirectory();
// The folder of the host executable, without a trailing separator; ORB_HOME overrides it.
std::string HostDirectory();
char PathDelimiter();  // '\\' on Windows, '/' elsewhere
// A path the module built with "\" turned into the native form.
std::string NativePath(std::string_view path);
// folder + one separator + name (name may start with a separator of either kind), native form.
std::string JoinPath(std::string_view folder, std::string_view name);

// ---- Files -------------------------------------------------------------------------------
bool FileExists(std::string_view path);  // a file, not a folder
bool DirectoryExists(std::string_view path);
// Copies contents (and, on POSIX, permission bits). Without failIfExists an existing target is
// replaced; the target is never left half-written.
bool CopyFile(std::string_view from, std::string_view to, bool failIfExists = false);
bool DeleteFile(std::string_view path);                       // a file, not a folder
bool RenameFile(std::string_view from, std::string_view to);  // replaces the target
bool CreateDirectory(std::string_view path);                  // one level; false when it already exists
bool ForceDirectories(std::string_view path);                 // every missing level; true when it already exists
// Full paths of the files matching a mask with * and ? in its last component, sorted. Names
// match without regard to (ASCII) case and "*.*" matches every name, as on Windows. Folders
// are not listed. A mask without a folder searches the current folder and answers bare names.
std::vector<std::string> FindFiles(std::string_view mask);
std::string FindFirst(std::string_view mask);  // "" when none
// The code of the last failed call of this layer on this thread (GetLastError / errno),
// and a readable text for it.
std::uint32_t LastError();
std::string LastErrorMessage();

// Whole-file reading and writing (binary). Read returns false when the file cannot be read.
bool ReadFile(std::string_view path, std::string& contents);
bool WriteFile(std::string_view path, std::string_view contents);
// Write to a temporary file beside the target, then rename it over the target: a crash leaves
// either the old contents or the new, never a torn file. A read-only target is refused.
bool WriteFileAtomic(std::string_view path, std::string_view contents);
// Open (creating the file when missing), append, close.
bool AppendToFile(std::string_view path, std::string_view contents);
// An exclusive lock on a file (created when missing), held until UnlockFile or the end of the
// process, whatever way it ends. 0 when another holder has it: another process, or another lock
// taken on the same file by this one.
using FileLock = std::uintptr_t;
FileLock TryLockFile(std::string_view path);
void UnlockFile(FileLock lock);

// ---- Environment -------------------------------------------------------------------------
std::string GetEnv(const char* name);  // "" when unset
// Sets a variable of this process's environment (seen by GetEnv and by libraries loaded later).
bool SetEnv(const char* name, std::string_view value);

// ---- Serial ports ------------------------------------------------------------------------
// On POSIX "COMn" (any case, with or without a trailing ':' or a leading "\\.\") maps to the
// path in ORB_COMn when set, else /dev/ttyS(n-1); any other name is used as a path. The port
// must exist and is opened for reading and writing, not shared. When the path is not a terminal
// (a file or a pipe standing in for the device) the settings calls succeed without effect.
using PortHandle = std::intptr_t;  // -1: none
PortHandle OpenPort(std::string_view name);
// The settings other than speed, data bits, parity ('N', 'E', 'O') and stop bits (1, 2) stay
// as the port had them; queues are 256 bytes each way where the system lets them be set.
bool ConfigurePort(PortHandle port, int baud, int dataBits, char parity, int stopBits);
// Total time-outs in milliseconds (0: none); the write time-out bounds WritePort.
bool SetPortTimeouts(PortHandle port, int readTotalMs, int writeTotalMs);
bool WritePort(PortHandle port, std::string_view bytes);  // true when every byte went out
void ClosePort(PortHandle port);

// The ports where a receipt printer is attached: the list in ORB_MP2032_PORTS, else in "Ports="
// (any section) of Mp2032.ini in the system folder; "*" stands for every port. False when
// neither names a list.
bool ConfiguredReceiptPorts(std::vector<std::string>& ports);
// True when the port is in that list; without a list, when the port can be opened (it is
// closed again at once).
bool ReceiptPortPresent(std::string_view name);

}  // namespace orb::platform
