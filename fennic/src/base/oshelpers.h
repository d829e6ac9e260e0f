// Small wrappers around the operating system: the per-user data folder, the
// current folder and absolute paths, URLs, the crash handlers and the 6-bit
// text encoding used to carry binary data in a URL.
#pragma once

#include <cstdint>
#include <functional>

#include <zep2/refcount.h>
#include <zep2/str.h>

namespace Zep {
class MemStream;
}

// The per-user data folder ($XDG_DATA_HOME, else ~/.local/share) with the
// given sub-folder below it, created when missing, ending in "/". The
// sub-folder may use "\\" or "/" between its levels. When the sub-folder
// cannot be made writable, or the environment names no data home, the result
// is "": no folder (the caller decides what to do without one).
Zep::String getUserDataFolder(const char* szSubFolder);
// Where getUserDataFolder looks, ending in "/", whether or not the folder
// exists or can be written; nothing is created. "" when the environment names
// no data home. A caller that got "" from getUserDataFolder may still read
// what is there.
Zep::String getUserDataFolderName(const char* szSubFolder);

// Whether a file can be created in the folder (which ends in a separator, or
// is "" for the current folder). Probes by creating and deleting a file.
bool isFolderWritable(const Zep::String& sFolder);

// The process's current folder ending in "/"; "" when the system cannot tell.
Zep::String getCurrentFolder();

// The absolute form of a path: a relative one is taken from the current
// folder; ".", ".." and repeated separators are folded away. The path need
// not exist, and symbolic links are not followed. Null or "" gives the
// current folder without its closing "/".
Zep::String getFullPath(const char* szPath);

// The program's fatal-signal handler: gets the signal's number (SIGABRT's
// for an exception that nothing catches) and must not return.
using FatalSignalHandler = void (*)(int nCode);

// Installs the program's handler for SIGSEGV, SIGABRT and SIGFPE (by name:
// the numbers differ between systems), each one-shot so that a fault inside
// the handler ends the process at once, and routes an exception that nothing
// catches (std::terminate) to the same handler with SIGABRT's number. A null
// handler installs nothing.
void initSignals(FatalSignalHandler pHandler);

// The signals by which a desktop, a service manager or a closed terminal asks
// the program to end: SIGTERM, SIGINT and SIGHUP. Their handler only records
// the signal (async-signal-safe); the frame loop reads it with
// takeQuitSignal and ends the program in order. Installed before SDL starts,
// they stay ours: SDL puts its own handlers only where none is set. SIGPIPE is
// ignored from then on: a write to a pipe nobody reads (standard error behind
// a reader that left) fails instead of killing the program unsaved.
void installQuitSignals();
// In a child process between fork and exec (async-signal-safe): SIGPIPE back
// to its default action, since an ignored signal stays ignored across exec
// and the programs we start expect the default.
void restoreSignalsForChild();
// The number of the last quit signal received since the previous call, and
// forgets it; 0 when none came.
int takeQuitSignal();

// Available and total physical memory in megabytes; false (and zeros) when
// the system does not tell.
bool getMemoryStatusMB(int* pAvailable, int* pTotal);

// Hands the memory that the heap holds free back to the system, where the
// allocator can (the C library's allocator keeps what a large release frees
// for later use otherwise); elsewhere it does nothing.
void returnFreeMemory();

// The URL followed by "?" when it has no query yet, else by "&".
Zep::String addURLQuerySeparator(const char* szURL);

// Opens the URL in the user's browser (xdg-open, started without a shell;
// the result is not awaited). A hook, when set, receives the URL instead.
void openURL(const char* szURL);
using OpenURLHook = std::function<void(const char* szURL)>;
void setOpenURLHook(OpenURLHook hook);

// Four symbols of a URL-safe 64-symbol table for each group of three bytes;
// a short last group still gives four symbols (missing bytes count as 0).
Zep::String encodeBytes6(const uint8_t* pData, int nSize);
// The inverse: three bytes per group of four symbols. Symbols outside the
// table count as 0; a trailing partial group is ignored.
Zep::SmartPtr<Zep::MemStream> decodeBytes6(const char* szText);
