// Highscore rows in lists: their stream bytes and their order.
#include <string>

#include <gtest/gtest.h>

#include <zep2/list.h>
#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "records/highscoreentry.h"
#include "records/records_util.h"

using namespace recordtest;

namespace {

std::string rowsOf(const Zep::List<HighscoreEntry>& list) {
    std::string s;
    for (const HighscoreEntry& e : list)
        s += std::string(e.getName().c_str()) + "=" + std::to_string(e.getScore()) + "/" + e.getSecondText().c_str() +
             " ";
    return s;
}

}  // namespace

// The same bytes the foundation's framing test pins for its stand-in row.
TEST(HighscoreRows, ThreeListsWriteThePinnedBytesAndReadBack) {
    const Zep::List<HighscoreEntry> tables[3] = {
        {HighscoreEntry("Ab", 1000)}, {}, {HighscoreEntry("Cy", 7, "x"), HighscoreEntry("Dee", 3)}};
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        for (const auto& table : tables) os.writeByte(0), table.persistTo(os);
    }
    const std::string sWritten(static_cast<const char*>(out.getBuffer()), out.length());
    const std::string sZero(1, '\0');
    EXPECT_EQ(sWritten, std::string("\x05\x00\x14\x01\x00", 5) + str("Ab") + le32(1000) + str("") +
                            std::string("\x00\x14\x00\x00\x14\x02\x00", 7) + str("Cy") + le32(7) + str("x") + sZero +
                            str("Dee") + le32(3) + str(""));

    Zep::SmartPtr<Zep::MemStream> pIn(new Zep::MemStream(sWritten.data(), static_cast<int>(sWritten.size())));
    Zep::ObjectStreamer is(pIn.get(), false);
    std::string sRead;
    for (int i = 0; i < 3; ++i) {
        uint8_t nFrame = 0xFF;
        is.readByte(nFrame);
        Zep::List<HighscoreEntry> back;
        back.persistFrom(is);
        sRead += std::to_string(nFrame) + ": " + rowsOf(back);
    }
    EXPECT_EQ(sRead, "0: Ab=1000/ 0: 0: Cy=7/x Dee=3/ ");
}

TEST(HighscoreRows, HigherScoreComesFirst) {
    Zep::List<HighscoreEntry> list = {HighscoreEntry("A", 5), HighscoreEntry("B", 9), HighscoreEntry("C", -2)};
    list.sort();
    EXPECT_EQ(rowsOf(list), "B=9/ A=5/ C=-2/ ");
    const HighscoreEntry a("A", 5), b("B", 5);
    EXPECT_FALSE(a.isHigherThan(b) || b.isHigherThan(a) || a < b || b < a);
    EXPECT_TRUE(HighscoreEntry("C", 6).isHigherThan(a) && HighscoreEntry("C", 6) < a);
}
