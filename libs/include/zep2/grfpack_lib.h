// The work of the grfpack tool: packing a folder into a resource archive,
// listing an archive, extracting it into a folder and comparing it with one.
// The tool's main only forwards its arguments to runTool.
//
// Entry names are the files' paths relative to the packed folder, with "/"
// between folders and their case as on disk. The archive reader compares
// names after lower-casing them and keeps separators, so a file packed as
// Sub/Pic.PNG is found as "sub/pic.png".
#pragma once

#include <cstdint>

#include "zep2/list.h"
#include "zep2/str.h"

namespace Zep::GrfPack {

struct PackSummary {
    int nEntries = 0;
    int64_t nInputBytes = 0;
    int64_t nArchiveBytes = 0;
};

// Relative names of every regular file under the folder, sorted byte by byte.
// szSkip (a path, may be null) names a file to leave out: the archive being
// written inside the folder. Throws BadParmException for a folder that can't
// be read, a name holding a backslash, or two names that differ only in case
// (the archive could serve only one of them).
List<String> collectFiles(const char* szFolder, const char* szSkip);

// Packs every file under szFolder into szArchive at the deflate level
// (-1 or 0..9). A partly written archive is removed when packing fails.
PackSummary packFolder(const char* szFolder, const char* szArchive, int nLevel);

// One line per entry, "<size>  <name>", sorted by name, then a total line.
String listArchive(const char* szArchive);

// Writes every entry under szFolder (created as needed) and returns the
// number written. Names that would leave the folder (absolute paths, "..")
// are refused before anything is written; backslashes count as separators.
int extractArchive(const char* szArchive, const char* szFolder);

// Compares every entry with the file of the same name under szFolder and
// reports files the archive lacks. Returns the number of differences and
// puts one line per difference into sReport.
int verifyArchive(const char* szArchive, const char* szFolder, String& sReport);

String usageText();

// The command line: argv[0] is the program name. Output goes to sOut,
// messages to sErr. Returns the exit status: 0 done, 1 failed, 2 bad usage.
int runTool(int argc, const char* const* argv, String& sOut, String& sErr);

}  // namespace Zep::GrfPack
