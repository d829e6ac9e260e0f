// Zep::File, the stream over a file on disk, and Zep::Directory, a folder listing.
//
// Paths use the backslash as separator and match existing files and folders
// without regard to case; see platform_fs.h.
#pragma once

#include <cstdint>
#include <cstdio>
#include <vector>

#include "zep2/refcount.h"
#include "zep2/str.h"
#include "zep2/list.h"
#include "zep2/stream.h"

namespace Zep {

class File : public Stream {
public:
    // The mode values are the supports() bits.
    static constexpr int kModeRead = 1;    // must exist
    static constexpr int kModeWrite = 2;   // created or truncated
    static constexpr int kModeUpdate = 3;  // read and write, created when missing

    // Opens or throws FileAccessException, with the system's reason.
    File(const char* szName, int nMode);
    ~File() override;
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    int read(int nSize, void* pBuffer) override;
    int write(int nSize, const void* pBuffer) override;
    int getPosition() override;
    int setPosition(int nPosition) override;
    int length() override;
    bool supports(int nMode) override;
    int remaining() override;

    // True once a write was cut short or buffered bytes could not be flushed.
    // Pending output is flushed first, so a full disk shows up here before the
    // file is closed.
    bool hasError() override;
    // Hands buffered bytes to the system; false (and the error flag) on failure.
    bool flush();
    // The system's reason (errno) for the first write or flush that failed;
    // 0 while none has.
    int getSystemError() const { return m_nSystemError; }

    // Formatted text, at most 4,095 bytes per call, without a NUL.
    void printf(const char* szFormat, ...) __attribute__((format(printf, 2, 3)));
    // One line including its line end (CR LF stays CR LF); a line longer than
    // 4,095 bytes comes in pieces. "" at the end of the file.
    String readLine();
    // The file from the current position to its end; a NUL byte ends the text.
    // Returns the number of bytes read.
    int readAll(String& sText);
    String readAll();
    // Set only after a read has tried to go past the end.
    bool isEOF();

    int getMode() const { return m_nMode; }

    // A regular file that can be opened for reading; false for folders.
    static bool exists(const char* szName);
    // Deletes an existing file: 0 when deleted or missing, -1 on failure.
    static int remove(const char* szName);

private:
    enum class LastOp { None, Read, Write };
    void switchTo(LastOp op);
    void failed();

    FILE* m_pHandle = nullptr;
    int m_nMode = 0;
    bool m_bError = false;
    int32_t m_nSystemError = 0;
    LastOp m_eLastOp = LastOp::None;
};

class DirEntry : public RefCountedObject {
public:
    static constexpr int kFile = 1;
    static constexpr int kFolder = 2;

    DirEntry(const char* szName, int nType) : m_sName(szName), m_nType(nType) {}

    const String& getName() const { return m_sName; }
    int getType() const { return m_nType; }
    bool isFolder() const { return m_nType == kFolder; }

    // Read directly by callers.
    String m_sName;  // name within the folder, no path
    int m_nType;     // kFile or kFolder
};

class Directory : public RefCountedObject {
public:
    // Trailing backslashes are dropped; nothing is read yet.
    explicit Directory(const char* szPath);

    const String& getPath() const { return m_sPath; }

    // Reads the folder again. A folder that can't be read gives no entries.
    // "." and ".." are listed as folders when the system reports them.
    void scan();

    // Both scan first while the listing is empty. Entries come in the order
    // the system gives them.
    int getEntryCount();
    // Null outside 0 .. getEntryCount() - 1.
    SmartPtr<DirEntry> getEntry(int nIndex);
    // A new list sharing the entry objects.
    List<SmartPtr<DirEntry>> getEntries();

private:
    String m_sPath;
    List<SmartPtr<DirEntry>> m_lEntries;
};

}  // namespace Zep
