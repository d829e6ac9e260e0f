// A highscore row: name, score and a second text, persisted through virtual
// members the way the highscore tables keep their rows. Shared by the
// persistence tests and the object-stream fuzz targets, so both read the same
// record.
#pragma once

#include <cstdint>

#include <zep2/objectstreamer.h>
#include <zep2/str.h>

namespace testutil {

struct ScoreRow {
    ScoreRow(const char* szName = "", int32_t nScore = 0, const char* szNote = "")
        : m_sName(szName), m_nScore(nScore), m_sNote(szNote) {}
    virtual ~ScoreRow() = default;
    bool operator==(const ScoreRow& other) const = default;
    virtual void persistTo(Zep::ObjectStreamer& os) const {
        os.writeString(m_sName);
        os.writeInt32(m_nScore);
        os.writeString(m_sNote);
    }
    virtual void persistFrom(Zep::ObjectStreamer& os) {
        os.readString(m_sName);
        os.readInt32(m_nScore);
        os.readString(m_sNote);
    }
    Zep::String m_sName;
    int32_t m_nScore = 0;
    Zep::String m_sNote;
};

}  // namespace testutil
