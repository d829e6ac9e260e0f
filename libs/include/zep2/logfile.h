// Zep::LogFile: a write-only stream that appends each write to a named file,
// opening and closing the file every time, so that other code may read,
// truncate or delete the file between writes.
#pragma once

#include "zep2/str.h"
#include "zep2/stream.h"

namespace Zep {

class LogFile : public Stream {
public:
    // Opens nothing.
    explicit LogFile(const char* szFileName);

    // Throws BadStateException: a log can't be read.
    int read(int nSize, void* pBuffer) override;
    // Appends the bytes; 0 when the file can't be opened or the bytes did not
    // reach it.
    int write(int nSize, const void* pBuffer) override;
    // Both throw BadStateException: a log can't be positioned.
    int getPosition() override;
    int setPosition(int nPosition) override;
    // The file's current size; 0 when it can't be opened.
    int length() override;
    // Only exactly kWrite.
    bool supports(int nMode) override { return nMode == kWrite; }
    int remaining() override { return 0; }
    // True once a write failed.
    bool hasError() override { return m_bError; }

    String getFileName() const { return m_sFileName; }

private:
    String m_sFileName;
    bool m_bError = false;
};

}  // namespace Zep
