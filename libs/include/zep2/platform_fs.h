// The file-system layer: the only place where library paths meet the operating
// system. Library paths use the backslash as separator and are matched without
// regard to case, as the data files were made on such a system; here they are
// turned into native paths.
#pragma once

#include <cstdio>
#include <functional>

#include "zep2/str.h"

namespace Zep {
class File;
}

namespace Zep::platform_fs {

// The path with every backslash turned into a slash. Nothing else changes.
String nativePath(const char* szPath);

// The native path of an existing entry that matches szPath, folder by folder,
// without regard to ASCII case; an exact match always wins. Components that
// match nothing are kept as given, so the result also names where a new file
// would go. A null path gives "".
String resolve(const char* szPath);

// These take native paths (as resolve() gives them).
bool pathExists(const char* szNativePath);
bool isRegularFile(const char* szNativePath);
bool isDirectory(const char* szNativePath);

// Opens szPath (a library path) with a C runtime mode text after resolving it.
// errno tells why when the result is null.
FILE* openFile(const char* szPath, const char* szMode);

// Removes the file szPath names (resolved); 0 when done, -1 otherwise.
int removeFile(const char* szPath);

// Renames szFrom to szTo (both library paths), replacing an existing szTo in
// one step; 0 when done, -1 otherwise. Lets a writer build a file under a
// temporary name and put it in place only once every write has succeeded.
int renameFile(const char* szFrom, const char* szTo);

// Creates one folder (native path) readable by all; true when it was made.
// An existing folder gives false with errno EEXIST.
bool makeFolder(const char* szNativePath);

// Creates an empty file that must not exist yet (native path) and removes it
// again: 0 when it could be created, else the reason (errno). Never touches a
// file that happens to have the name. Tells whether a folder takes new files.
int probeNewFile(const char* szNativePath);

// The process's current folder (native path, no closing separator); "" when
// the system cannot tell (the folder was removed, or its path is too long).
String currentFolder();

// Points standard input, output and error at the null device, for a child
// process about to run another program. Calls only async-signal-safe
// functions, so it may run between fork and exec.
void detachStandardStreams();

// Replaces the file szPath (a library path) in one step, so that a reader
// finds either the old or the new contents, never a mix or a cut file, even
// after a crash or a power loss. writer fills "<path>.tmp", created beside
// the target (an existing one is truncated); its buffers are then flushed,
// its error flags checked, its data handed to the disk (fsync) and only then
// is it renamed over the target. Returns 0 when the new file is in place.
// Otherwise the reason (errno, or EIO when the writer said false without
// one): the temporary file is gone and the target is byte for byte what it
// was. A folder at the target gives EISDIR before anything is written. A
// temporary file that can't be created throws the file's
// FileAccessException (with its errno); an exception from writer is passed
// on after the same clean-up.
int atomicReplace(const char* szPath, const std::function<bool(File&)>& writer);

// Why a file could not be written, in the terms a player is told.
enum class WriteFailure {
    kOther,           // anything else: say the system's own words
    kNoRoom,          // the disk, or the user's share of it, is full
    kFolderInTheWay,  // a folder has the file's name
    kNoRight,         // the folder or the file system may not be written
};

// The kind of a reason (an errno value) that atomicReplace or a file gave.
WriteFailure writeFailureOf(int nSystemError);
// The system's own words for a reason; 0 (no reason known) reads as EIO.
String systemErrorText(int nSystemError);

// The most names moveAside tries: "<path><suffix>", then ".1" to ".99" added.
constexpr int kMaxAsideNames = 100;

// Moves a file out of the way without replacing anything: renames szPath (a
// library path) to the first of "<path><suffix>", "<path><suffix>.1",
// "<path><suffix>.2", ... that does not exist. Returns the native name it
// now has; "" when it could not be moved (every name taken, or the rename
// failed), in which case the file is where it was.
String moveAside(const char* szPath, const char* szSuffix);

// Calls fn(name, isFolder) for every entry of the folder, "." and ".." included,
// in the order the system gives them. An empty path is the current folder.
// False when the folder can't be read.
bool listDir(const char* szPath, const std::function<void(const char*, bool)>& fn);

}  // namespace Zep::platform_fs
