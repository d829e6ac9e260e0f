// The work of the grfpack tool: packing a folder into a resource archive,
// listing an archive, extracting it into a folder and comparing it with one.
// The command line itself belongs to the tool (tools/grfpack.cpp).
//
// None of these throws for bad input or a failing disk: each returns what it
// did, or in sError why it failed, in words a user can act on. A damaged
// archive reads "damaged archive: " and a plain reason. No operation leaves a
// half-done result behind: a failed pack keeps the previous archive, a failed
// extract removes what it wrote.
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

// Empty sError when the operation succeeded; otherwise the reason, without
// the program's name and without a line end.
struct Result {
    String sError;
    bool ok() const { return sError.isEmpty(); }
};

struct PackResult : Result {
    int nEntries = 0;
    int64_t nInputBytes = 0;
    int64_t nArchiveBytes = 0;
};

struct ListResult : Result {
    // One line per entry, "<size>  <name>", sorted by name, then a total line.
    String sListing;
};

struct ExtractResult : Result {
    int nWritten = 0;
};

struct VerifyResult : Result {
    // One line per difference, entries sorted by name: "differs: NAME",
    // "missing from the folder: NAME", then "missing from the archive: NAME".
    List<String> lDifferences;
};

// Packs every regular file under szFolder into szArchive at the deflate level
// (-1 or 0..9). The archive is written under a temporary name beside
// szArchive and renamed over it only once complete. Refused: an archive path
// inside the folder, a name holding a backslash, two names that differ only
// in case (the archive could serve only one of them).
PackResult packFolder(const char* szFolder, const char* szArchive, int nLevel);

ListResult listArchive(const char* szArchive);

// Writes every entry under szFolder (created as needed). Names that would
// leave the folder (absolute paths, "..") are refused before anything is
// written; backslashes count as separators. Every entry is inflated and
// written under a temporary name first; only when all succeeded are they
// renamed into place.
ExtractResult extractArchive(const char* szArchive, const char* szFolder);

// Compares every entry with the file of the same name under szFolder and
// reports files the archive lacks (the archive itself left aside). Every entry
// is inflated, so a damaged one fails the comparison.
VerifyResult verifyArchive(const char* szArchive, const char* szFolder);

}  // namespace Zep::GrfPack
