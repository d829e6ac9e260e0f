// A highscore row's stream form (highscoreentry.h).
#include "records/highscoreentry.h"

namespace {
constexpr const char* kZepSource = ".\\src\\highscoreentry";
}  // namespace

void HighscoreEntry::persistTo(Zep::ObjectStreamer& streamer) const {
    streamer.writeString(m_sName);
    streamer.writeInt32(m_nScore);
    streamer.writeString(m_sSecondText);
}

void HighscoreEntry::persistFrom(Zep::ObjectStreamer& streamer) {
    streamer.readString(m_sName);
    streamer.readInt32(m_nScore);
    streamer.readString(m_sSecondText);
}

IMPLEMENT_STREAMABLE(HighscoreEntry)
