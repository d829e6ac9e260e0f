// The file-system layer: the only place where library paths meet the operating
// system. Library paths use the backslash as separator and are matched without
// regard to case, as the data files were made on such a system; here they are
// turned into native paths.
#pragma once

#include <cstdio>
#include <functional>

#include "zep2/str.h"

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

// Calls fn(name, isFolder) for every entry of the folder, "." and ".." included,
// in the order the system gives them. An empty path is the current folder.
// False when the folder can't be read.
bool listDir(const char* szPath, const std::function<void(const char*, bool)>& fn);

}  // namespace Zep::platform_fs
