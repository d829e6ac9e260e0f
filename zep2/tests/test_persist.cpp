#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "test_util.h"
#include "zep2/file.h"
#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/objectstreamer.h"
#include "zep2/persist_impl.h"
#include "zep2/zstream.h"

using testutil::Bytes;
using testutil::bytesOf;
using testutil::describe;
using StringHash = Zep::Hash<Zep::String, Zep::String>;
using Entries = std::map<std::string, std::string>;

namespace {

// A highscore row: name, score, second text; persisted through virtual members.
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

// Counts live instances, so that leaks and double deletes show as numbers.
struct Tracked {
    static inline int s_nLive = 0;
    Tracked() { ++s_nLive; }
    Tracked(const Tracked& other) : sText(other.sText) { ++s_nLive; }
    ~Tracked() { --s_nLive; }
    void persistTo(Zep::ObjectStreamer& os) const { os.writeString(sText); }
    void persistFrom(Zep::ObjectStreamer& os) { os.readString(sText); }
    Zep::String sText;
};

// The record bytes alone, without the stream header.
template <class C>
Bytes recordOf(const C& container) {
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        container.persistTo(os);
    }
    Bytes all = bytesOf(out);
    return Bytes(all.begin() + 1, all.end());
}

// Reads a record (a header byte is put before it) into the container.
template <class C>
void readRecord(C& container, Bytes record, uint8_t nOrder = Zep::Stream::kLittleEndian) {
    record.insert(record.begin(), 0x05);
    auto in = testutil::reader(record, nOrder);
    Zep::ObjectStreamer os(in.get(), false);
    container.persistFrom(os);
}

const std::string kListBad = "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n";
const std::string kHashBad = "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n";

Entries entriesOf(const StringHash& table) {
    Entries entries;
    for (const Zep::String& key : table.getKeys()) entries[key.c_str()] = table.get(key).c_str();
    return entries;
}

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

// The pieces one after another.
Bytes cat(std::initializer_list<Bytes> pieces) {
    Bytes out;
    for (const Bytes& piece : pieces) append(out, piece);
    return out;
}

// Text records, one after another.
Bytes strings(std::initializer_list<std::string> texts) {
    Bytes out;
    for (const std::string& text : texts)
        append(out, cat({{0x12, static_cast<uint8_t>(text.size())}, testutil::textBytes(text)}));
    return out;
}

}  // namespace

TEST(ListPersist, GoldenRecords) {
    EXPECT_EQ(recordOf(Zep::List<Zep::String>()), (Bytes{0x14, 0x00}));
    Zep::List<Zep::String> filled{"a", "b"};
    readRecord(filled, {0x14, 0x00});
    EXPECT_EQ(filled.getCount(), 0);

    // A count of 128 takes two bytes.
    Zep::List<Zep::String> list;
    for (int i = 0; i < 128; ++i) list.add(Zep::String::format("%d", i));
    Bytes record = recordOf(list);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 3), (Bytes{0x14, 0x80, 0x01}));
    Zep::List<Zep::String> back;
    readRecord(back, record);
    ASSERT_EQ(back.getCount(), 128);
    EXPECT_STREQ(back.get(127).c_str(), "127");
}

TEST(ListPersist, ValueElementsGoThroughTheirVirtualMembers) {
    Zep::List<ScoreRow> rows;
    rows.add(ScoreRow("Ab", 1000, ""));
    EXPECT_EQ(recordOf(rows), (Bytes{0x14, 0x01, 0x00, 0x12, 0x02, 'A', 'b', 0xE8, 0x03, 0x00, 0x00, 0x12, 0x00}));
    rows.add(ScoreRow("Zed", -5, "note"));
    Zep::List<ScoreRow> back;
    back.add(ScoreRow("old", 1, ""));
    readRecord(back, recordOf(rows));
    ASSERT_EQ(back.getCount(), 2);
    EXPECT_EQ(back.get(0), ScoreRow("Ab", 1000, ""));
    EXPECT_EQ(back.get(1), ScoreRow("Zed", -5, "note"));
}

TEST(ListPersist, SharedPointersBecomeOneObjectAndABackReference) {
    Tracked shared;
    shared.sText = "s";
    Zep::List<Tracked*> list{&shared, nullptr, &shared};
    EXPECT_EQ(recordOf(list), (Bytes{0x14, 0x03, 0x00, 0, 0, 0, 0, 0x12, 0x01, 's', 0x02, 0x01, 0, 0, 0, 0}));
    Zep::List<Tracked*> back;
    readRecord(back, recordOf(list));
    ASSERT_EQ(back.getCount(), 3);
    EXPECT_EQ(back.get(0), back.get(2));
    EXPECT_EQ(back.get(1), nullptr);
    EXPECT_STREQ(back.get(0)->sText.c_str(), "s");
    delete back.get(0);
}

TEST(ListPersist, OlderBigEndianForm) {
    const Bytes record = cat({{0x01, 0x74, 0x73, 0x4C, 0x00, 0x00, 0x00, 0x02}, strings({"p", "q"})});
    Zep::List<Zep::String> list;
    readRecord(list, record, Zep::Stream::kBigEndian);
    EXPECT_STREQ(list.join(",").c_str(), "p,q");

    // Little-endian, the same count bytes announce 2 << 24 elements; the
    // reader stops where the data does.
    Zep::List<Zep::String> misread;
    EXPECT_EQ(describe([&] { readRecord(misread, record); }), kListBad);
    EXPECT_EQ(misread.getCount(), 2);
}

TEST(ListPersist, HeaderErrors) {
    const std::string version = "BadStreamFormatException [list_impl]: List::persistFrom : unknown format version\n";
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{0x02, 0x00}, kListBad},
        {{0x04, 0x00}, version},
        {{0x13, 0x00}, kListBad},
        {{0x24, 0x00}, version},
        {{0x12, 0x00}, kListBad},
        {{0x01, 0x74, 0x73, 0x41, 0, 0, 0, 0}, kListBad},
        {{0x01, 0x68, 0x73, 0x48, 0, 0, 0, 0}, kListBad},
    };
    for (const auto& [record, message] : cases) {
        Zep::List<Zep::String> list{"kept?"};
        EXPECT_EQ(describe([&] { readRecord(list, record); }), message) << int(record[0]);
        EXPECT_EQ(list.getCount(), 0);
    }
}

TEST(ListPersist, HugeCountOnExhaustedStreamStops) {
    // Var-int count 0xFFFFFFFF, one element, then nothing.
    const Bytes record = cat({{0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"only"})});
    Zep::List<Zep::String> list;
    EXPECT_EQ(describe([&] { readRecord(list, record); }), kListBad);
    EXPECT_STREQ(list.join(",").c_str(), "only");
    // Older form with a negative count.
    Zep::List<Zep::String> older;
    EXPECT_EQ(describe([&] { readRecord(older, {0x01, 0x74, 0x73, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF}); }), kListBad);
}

TEST(ListPersist, ElementWhoseBodyFailsIsFreedAndOthersStay) {
    const int nLiveBefore = Tracked::s_nLive;
    // Element 0 fine, element 1 has a text record with a bad version.
    const Bytes record = cat({{0x14, 0x02, 0x00, 0, 0, 0, 0}, strings({"a"}), {0x00, 1, 0, 0, 0, 0x22, 0x00}});
    Zep::List<Tracked*> list;
    EXPECT_EQ(describe([&] { readRecord(list, record); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    ASSERT_EQ(list.getCount(), 1);
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore + 1);
    list.deleteAll();
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore);
}

TEST(HashPersist, GoldenRecordsAndLaterDuplicateKeyWins) {
    StringHash table;
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x00}));
    table.set("abc", "x");
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x01, 0x12, 0x03, 'a', 'b', 'c', 0x12, 0x01, 'x'}));
    readRecord(table, {0x13, 0x00});
    EXPECT_TRUE(table.isEmpty());
    EXPECT_EQ(table.getBucketCount(), 5);

    readRecord(table, cat({{0x13, 0x03}, strings({"k", "1", "j", "2", "k", "3"})}));
    EXPECT_EQ(entriesOf(table), (Entries{{"j", "2"}, {"k", "3"}}));
}

TEST(HashPersist, ReadTableIsSizedForItsEntries) {
    StringHash table;  // 97 buckets
    for (int i = 0; i < 10; ++i) table.set(Zep::String::format("name%d", i), Zep::String::format("%d", i * i));
    StringHash back;
    readRecord(back, recordOf(table));
    EXPECT_EQ(back.getBucketCount(), 11);
    EXPECT_EQ(entriesOf(back), entriesOf(table));
    // Written again from 11 buckets the order may differ; the entries do not.
    StringHash again;
    readRecord(again, recordOf(back));
    EXPECT_EQ(entriesOf(again), entriesOf(table));
}

TEST(HashPersist, HeaderErrorsAndHugeCount) {
    const std::string version = "BadStreamFormatException [hash_impl]: Hash::persistFrom : unknown format version\n";
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{0x03, 0x00}, version},
        {{0x23, 0x00}, version},
        {{0x14, 0x00}, kHashBad},
        {{0x12, 0x00}, kHashBad},
        {{0x01, 0x68, 0x73, 0x00}, kHashBad},
        {{0x02, 0x74, 0x73, 0x4C}, kHashBad},
    };
    for (const auto& [record, message] : cases) {
        StringHash table;
        table.set("kept?", "no");
        EXPECT_EQ(describe([&] { readRecord(table, record); }), message) << int(record[0]);
        EXPECT_TRUE(table.isEmpty());
    }

    // A huge count on an exhausted stream stops; what was read stays, unresized.
    StringHash table;
    EXPECT_EQ(describe([&] { readRecord(table, cat({{0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"k", "v"})})); }),
              kHashBad);
    EXPECT_EQ(entriesOf(table), (Entries{{"k", "v"}}));
    EXPECT_EQ(table.getBucketCount(), 97);
}

TEST(HashPersistOlder, Version2KeyListAndValueList) {
    const Bytes keys = cat({{0x02, 0x68, 0x73, 0x48, 0x00, 0x14, 0x02}, strings({"a", "b"})});
    StringHash table;
    readRecord(table, cat({keys, {0x00, 0x14, 0x03}, strings({"1", "2", "ignored"})}));
    EXPECT_EQ(entriesOf(table), (Entries{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(table.getBucketCount(), 5);

    EXPECT_EQ(describe([&] { readRecord(table, cat({keys, {0x00, 0x14, 0x01}, strings({"1"})})); }),
              "FatalErrorException [list_impl]: List index out of range : 1 (have 1)");
    EXPECT_EQ(entriesOf(table), (Entries{{"a", "1"}}));
}

namespace {

// One bucket of the version-1 form (big-endian): a byte, then an older list of
// node references.
Bytes olderBucket(std::initializer_list<Bytes> nodes) {
    return cat({{0x00, 0x01, 0x74, 0x73, 0x4C, 0, 0, 0, static_cast<uint8_t>(nodes.size())}, cat(nodes)});
}

Bytes newNode(uint8_t nId, const char* key, const char* value) {
    return cat({{0x00, 0, 0, 0, nId}, strings({key, value})});
}

// Reads a version-1 record, big-endian; gives the warning and any error text.
std::string readVersion1(StringHash& table, uint32_t nBuckets, const std::vector<Bytes>& buckets) {
    Bytes record = {0x01, 0x68, 0x73, 0x48};
    for (int shift = 24; shift >= 0; shift -= 8) record.push_back(static_cast<uint8_t>(nBuckets >> shift));
    for (const Bytes& bucket : buckets) append(record, bucket);
    ::testing::internal::CaptureStderr();
    std::string sError;
    try {
        readRecord(table, record, Zep::Stream::kBigEndian);
    } catch (const Zep::Exception& e) {
        sError = std::string(" / ") + e.getMessage();
    }
    return ::testing::internal::GetCapturedStderr() + sError;
}

}  // namespace

TEST(HashPersistOlder, Version1BucketsWarnAndAreResized) {
    StringHash table(97);
    EXPECT_EQ(readVersion1(table, 3,
                           {olderBucket({newNode(0, "a", "1"), newNode(1, "b", "2")}), olderBucket({}),
                            olderBucket({newNode(2, "c", "3"), {0x02}})}),
              "WARNING : Hash::persistFrom : reading old format version 1\n");
    EXPECT_EQ(entriesOf(table), (Entries{{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    EXPECT_EQ(table.getBucketCount(), 5);

    // Duplicate ids make distinct nodes.
    readVersion1(table, 1, {olderBucket({newNode(0, "a", "1"), newNode(0, "a", "2")})});
    EXPECT_EQ(entriesOf(table), (Entries{{"a", "2"}}));
}

TEST(HashPersistOlder, Version1BackReferenceToANodeIsRefused) {
    // The second bucket refers back to node 0 of the first: the node would be
    // freed twice when the table is rebuilt. The completely read bucket is kept.
    StringHash table;
    EXPECT_EQ(
        readVersion1(table, 2,
                     {olderBucket({newNode(0, "a", "1")}), olderBucket({newNode(1, "b", "2"), {0x01, 0, 0, 0, 0}})}),
        "WARNING : Hash::persistFrom : reading old format version 1\n / Hash::persistFrom : bad stream format\n");
    EXPECT_EQ(entriesOf(table), (Entries{{"a", "1"}}));
}

TEST(HashPersistOlder, Version1DamagedBucketCounts) {
    for (uint32_t nBuckets : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        StringHash table;
        table.set("x", "y");
        readVersion1(table, nBuckets, {});
        EXPECT_TRUE(table.isEmpty()) << nBuckets;
        EXPECT_EQ(table.getBucketCount(), 5);
    }
    // A huge positive count with nothing behind it.
    StringHash table;
    EXPECT_EQ(readVersion1(table, 0x7FFFFFFF, {}),
              "WARNING : Hash::persistFrom : reading old format version 1\n / Hash::persistFrom : bad stream format\n");
}

TEST(PersistFraming, HighscoreBlobSurvivesTheEscape) {
    Zep::List<ScoreRow> tables[3];
    tables[0].add(ScoreRow("Ab", 1000, ""));
    tables[2].add(ScoreRow("Cy", 7, "x"));
    tables[2].add(ScoreRow("Dee", 3, ""));
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        for (const auto& table : tables) {
            os.writeByte(0);
            table.persistTo(os);
        }
    }
    Bytes bytes = bytesOf(out);
    const Bytes expectedStart = {0x05, 0x00, 0x14, 0x01, 0x00, 0x12, 0x02, 'A',  'b',  0xE8, 0x03,
                                 0x00, 0x00, 0x12, 0x00, 0x00, 0x14, 0x00, 0x00, 0x14, 0x02};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(expectedStart.size())), expectedStart);

    Zep::String escaped = Zep::String::escapeBinary(bytes.data(), static_cast<int>(bytes.size()));
    auto decoded = Zep::String::unescapeBinary(escaped.c_str());
    EXPECT_EQ(bytesOf(*decoded), bytes);
    auto in = decoded->clone();
    Zep::ObjectStreamer os(in.get(), false);
    Zep::List<ScoreRow> back[3];
    for (auto& table : back) {
        uint8_t nFrame = 0xFF;
        os.readByte(nFrame);
        EXPECT_EQ(nFrame, 0);
        table.persistFrom(os);
    }
    EXPECT_EQ(back[0].getCount(), 1);
    EXPECT_EQ(back[1].getCount(), 0);
    ASSERT_EQ(back[2].getCount(), 2);
    EXPECT_EQ(back[2].get(1), ScoreRow("Dee", 3, ""));
    EXPECT_TRUE(in->atEnd());
}

namespace {

// The settings file: a string table behind an object stream, a zlib stream and
// a file, the way the application keeps its settings.
void writeSettings(const std::string& path, const StringHash& settings, bool bOwning) {
    Zep::File file(path.c_str(), Zep::File::kModeWrite);
    auto* pZip = new Zep::ZStream(&file, 9);
    Zep::SmartPtr<Zep::ZStream> held(bOwning ? nullptr : pZip);  // else the streamer deletes it
    Zep::ObjectStreamer os(pZip, bOwning);
    os.writeByte(0);
    settings.persistTo(os);
}

void readSettings(const std::string& path, StringHash& settings) {
    Zep::File file(path.c_str(), Zep::File::kModeRead);
    Zep::ZStream zip(&file);
    Zep::ObjectStreamer os(&zip, false);
    uint8_t nFrame = 0;
    os.readByte(nFrame);
    settings.persistFrom(os);
}

}  // namespace

TEST(SettingsFile, RoundTripThroughZlibAndAFile) {
    testutil::TempFolder tmp;
    const std::string path = tmp.path("settings.dat");
    StringHash settings;
    for (auto [key, value] : {std::pair{"MUSIC_VOLUME", "80"}, {"FULLSCREEN", "1"}, {"PLAYER_NAME", "Kim"},
                              {"LANGUAGE", "en"}, {"EMPTY", ""}})
        settings.set(key, value);
    for (bool bOwning : {false, true}) {
        writeSettings(path, settings, bOwning);
        Bytes expected = {0x05, 0x00, 0x13, 0x05};
        for (const Zep::String& key : settings.getKeys()) {
            append(expected, strings({key.c_str(), settings.get(key).c_str()}));
        }
        const Bytes packed = testutil::textBytes(testutil::getFile(path));
        Bytes plain(1000);
        uLongf nPlain = plain.size();
        ASSERT_EQ(uncompress(plain.data(), &nPlain, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
        plain.resize(nPlain);
        EXPECT_EQ(plain, expected);
        StringHash back;
        back.set("STALE", "x");
        readSettings(path, back);
        EXPECT_EQ(entriesOf(back), entriesOf(settings));
        EXPECT_EQ(back.getBucketCount(), 5);
    }

    // A truncated file, or a damaged count, fails instead of hanging.
    const std::string packed = testutil::getFile(path);
    testutil::putFile(path, packed.substr(0, packed.size() / 2));
    StringHash back;
    EXPECT_THROW(readSettings(path, back), Zep::BadStreamFormatException);
    EXPECT_LT(back.getCount(), 5);
    const Bytes huge = {0x05, 0x00, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x12, 0x01, 'k', 0x12, 0x01, 'v'};
    uLongf nSize = compressBound(static_cast<uLong>(huge.size()));
    Bytes hugePacked(nSize);
    ASSERT_EQ(compress(hugePacked.data(), &nSize, huge.data(), static_cast<uLong>(huge.size())), Z_OK);
    hugePacked.resize(nSize);
    testutil::putFile(path, hugePacked);
    EXPECT_EQ(describe([&] { readSettings(path, back); }), kHashBad);
    EXPECT_EQ(entriesOf(back), (Entries{{"k", "v"}}));
}
