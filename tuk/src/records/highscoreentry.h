// HighscoreEntry: one row of a highscore list, kept by value in
// Zep::List<HighscoreEntry>: a name, a score and a second text that is stored
// with the row and never shown (empty in every row the game makes).
//
// Stream form (persistTo / persistFrom): the name as a string, the score as
// an int32, the second text as a string; in a list each row follows the
// byte 00.
//
// Order: higher score first. operator< and isHigherThan both hold when this
// row's score is strictly greater than the other's, so the list's default
// sort puts the highest score first.
#pragma once

#include <cstdint>

#include <zep2/objectstreamer.h>
#include <zep2/str.h>

class HighscoreEntry {
public:
    HighscoreEntry() = default;
    HighscoreEntry(const char* szName, int32_t nScore, const char* szSecondText = "")
        : m_sName(szName), m_nScore(nScore), m_sSecondText(szSecondText) {}
    HighscoreEntry(const HighscoreEntry&) = default;
    HighscoreEntry& operator=(const HighscoreEntry&) = default;
    virtual ~HighscoreEntry() = default;

    virtual void persistTo(Zep::ObjectStreamer& streamer) const;
    virtual void persistFrom(Zep::ObjectStreamer& streamer);

    bool operator<(const HighscoreEntry& other) const { return isHigherThan(other); }
    bool isHigherThan(const HighscoreEntry& other) const { return m_nScore > other.m_nScore; }

    const Zep::String& getName() const { return m_sName; }
    int32_t getScore() const { return m_nScore; }
    const Zep::String& getSecondText() const { return m_sSecondText; }

private:
    Zep::String m_sName;
    int32_t m_nScore = 0;
    Zep::String m_sSecondText;
};

DECLARE_STREAMABLE(HighscoreEntry)
