// The program's start-up steps as a Linux desktop does them: one running
// instance per window class, the data folder and its log, the program's own
// folder made current, an embedding parent window, and the crash handler.
//
// The single-instance check is a lock file in the user data folder,
// "instance-" + the window class with every character outside
// [A-Za-z0-9._-] turned into "_" + ".lock", held with flock for the life of
// the process. The kernel drops the lock when the process ends in any way, so
// a file left behind never blocks a start. Without a writable data folder the
// lock is taken in a private folder of the user's: kRuntimeFolder below
// $XDG_RUNTIME_DIR, else kRuntimeFolder + "-<uid>" in the temporary folder
// ($TMPDIR, else /tmp). Only where neither can be made is the check skipped.
// A second instance does not bring the first one's window to the front; it
// only ends.
//
// A data folder that can't be written is named on standard error once
// (unsavedProgressNotice): the game runs on what it reads there, and nothing
// it changes is kept.
//
// The crash handler (signalHandler) runs inside a signal handler and uses only
// async-signal-safe calls: it formats into static buffers with its own
// integer formatting, appends to the log through open, write and close on a
// path copied at start-up, and reads the scope trace with the foundation's
// allocation-free reader. It writes "M: ** SIG <code> [<code in hex>]\n" and
// one "M:   <entry>[ <detail>]\n" line per live trace level, outermost first
// (the lines of the exception report). Then it shuts the platform down (a
// full-screen mode goes back to the desktop) under a two-second alarm, so that
// a hang there still ends the process, and ends with exit code 1. The lines
// are written before the shutdown: a second fault there loses nothing.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

namespace linuxstartup {

// The window class of the single-instance check, unless "--wndclass <name>".
constexpr const char* kWindowClass = "Halvorn::tuk";
// Below the user's data home ($XDG_DATA_HOME, else ~/.local/share).
constexpr const char* kDataFolder = "Halvorn\\TukHarbor";
// The file prefix of the log (tuk.log) and the settings (tukconfig.dat).
constexpr const char* kFilePrefix = "tuk";
// The private folder of the lock when the data folder can't be written.
constexpr const char* kRuntimeFolder = "Halvorn.TukHarbor";
// A log larger than this is deleted before it is opened.
constexpr int kLogSizeLimit = 32768;
// Seconds the crash handler's platform shutdown may take.
constexpr unsigned kShutdownAlarmSeconds = 2;

// The word after "--wndclass", else kWindowClass (also when the word is
// missing: the check runs before the log exists to report it).
Zep::String windowClassOf(const Zep::List<Zep::String>& lWords);

// "instance-<class>.lock", the class's characters outside [A-Za-z0-9._-]
// replaced by "_".
Zep::String instanceLockName(const char* szWindowClass);

// The single-instance lock of one window class, held for the object's life.
class InstanceLock {
public:
    // Takes the lock file in sFolder (ending in "/"); an empty folder skips
    // the check, and the lock counts as taken.
    InstanceLock(const Zep::String& sFolder, const char* szWindowClass);
    ~InstanceLock();
    InstanceLock(const InstanceLock&) = delete;
    InstanceLock& operator=(const InstanceLock&) = delete;

    // False when another process holds the lock.
    bool isTaken() const { return m_bTaken; }

private:
    int m_nFd = -1;
    bool m_bTaken = true;
};

// Where the single-instance lock lives: the data folder (ending in "/")
// when there is one, else privateRuntimeFolder().
Zep::String lockFolder(const Zep::String& sDataFolder);

// kRuntimeFolder below $XDG_RUNTIME_DIR, else kRuntimeFolder + "-<uid>" in
// $TMPDIR (else /tmp), made with mode 0700 when missing; ending in "/". A
// folder is taken only when it is a real folder (not a link) of this user that
// nobody else can write; "" when neither is.
Zep::String privateRuntimeFolder();

// The line for standard error when the data folder (sFolder, as named by
// getUserDataFolderName) can't be written or made:
// "TUK: progress will not be saved: <folder> can't be written\n", or, with
// no folder named, "TUK: progress will not be saved: there is no data folder
// (neither XDG_DATA_HOME nor HOME is set)\n".
Zep::String unsavedProgressNotice(const Zep::String& sFolder);

// Deletes the file when it is larger than nLimit bytes.
void removeOversizedLog(const char* szPath, int nLimit);

// Makes the folder of the running program current; false when it cannot.
bool changeToProgramFolder();

// "--pw <high> <low>": SDL_WINDOWID set to high x 2^32 + low (each half an
// unsigned 32-bit word), so that SDL draws into that X window. Call it before
// SDL starts. Without its two words Zep::FatalErrorException "List index out
// of range : <index> (have <count>)".
void applyParentWindow(const Zep::List<Zep::String>& lWords);

// Copies the log's path for the crash handler (cut to 4,095 characters; ""
// writes nothing, null writes to standard error, where the log is then) and
// installs signalHandler for the fatal signals and the exceptions that
// nothing catches.
void installCrashHandler(const char* szLogPath);

// The game's fatal-signal handler (see above). Does not return.
[[noreturn]] void signalHandler(int nCode);

}  // namespace linuxstartup
