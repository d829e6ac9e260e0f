#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "score_row.h"
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
using testutil::ScoreRow;
using StringHash = Zep::Hash<Zep::String, Zep::String>;
using Entries = std::map<std::string, std::string>;

namespace {

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

const std::string kNone = "(nothing thrown)";
const std::string kListBad = "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n";
const std::string kListVersion = "BadStreamFormatException [list_impl]: List::persistFrom : unknown format version\n";
const std::string kHashBad = "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n";
const std::string kHashVersion = "BadStreamFormatException [hash_impl]: Hash::persistFrom : unknown format version\n";
const std::string kWarning = "WARNING : Hash::persistFrom : reading old format version 1\n";

Entries entriesOf(const StringHash& table) {
    Entries entries;
    for (const Zep::String& key : table.getKeys()) entries[key.c_str()] = table.get(key).c_str();
    return entries;
}

// The pieces one after another.
Bytes cat(std::initializer_list<Bytes> pieces) {
    Bytes out;
    for (const Bytes& piece : pieces) out.insert(out.end(), piece.begin(), piece.end());
    return out;
}

// Text records, one after another.
Bytes strings(std::initializer_list<std::string> texts) {
    Bytes out;
    for (const std::string& text : texts)
        out = cat({out, {0x12, static_cast<uint8_t>(text.size())}, testutil::textBytes(text)});
    return out;
}

}  // namespace

TEST(ListPersist, GoldenRecords) {
    EXPECT_EQ(recordOf(Zep::List<Zep::String>()), (Bytes{0x14, 0x00}));
    // A count of 128 takes two bytes.
    Zep::List<Zep::String> list;
    for (int i = 0; i < 128; ++i) list.add(Zep::String::format("%d", i));
    Bytes record = recordOf(list);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 3), (Bytes{0x14, 0x80, 0x01}));
    Zep::List<Zep::String> back;
    readRecord(back, record);
    ASSERT_EQ(back.getCount(), 128);
    EXPECT_STREQ(back.get(127).c_str(), "127");

    // Value elements go through their virtual members.
    Zep::List<ScoreRow> rows{ScoreRow("Ab", 1000, "")};
    EXPECT_EQ(recordOf(rows), (Bytes{0x14, 0x01, 0x00, 0x12, 0x02, 'A', 'b', 0xE8, 0x03, 0x00, 0x00, 0x12, 0x00}));
    rows.add(ScoreRow("Zed", -5, "note"));
    Zep::List<ScoreRow> rowsBack{ScoreRow("old", 1, "")};
    readRecord(rowsBack, recordOf(rows));
    ASSERT_EQ(rowsBack.getCount(), 2);
    EXPECT_EQ(rowsBack.get(1), ScoreRow("Zed", -5, "note"));
}

// Each record is read into a list that held an element; the message and what
// the list holds afterwards.
TEST(ListPersist, ReadingFormsErrorsAndForgedCounts) {
    const Bytes older = cat({{0x01, 0x74, 0x73, 0x4C, 0x00, 0x00, 0x00, 0x02}, strings({"p", "q"})});
    const struct {
        Bytes record;
        uint8_t nOrder;
        std::string sMessage, sContents;
    } cases[] = {
        {{0x14, 0x00}, Zep::Stream::kLittleEndian, kNone, ""},
        {older, Zep::Stream::kBigEndian, kNone, "p,q"},
        // Little-endian the same count announces 2 << 24 elements; reading stops where the data does.
        {older, Zep::Stream::kLittleEndian, kListBad, "p,q"},
        {{0x02, 0x00}, Zep::Stream::kLittleEndian, kListBad, ""},
        {{0x04, 0x00}, Zep::Stream::kLittleEndian, kListVersion, ""},
        {{0x13, 0x00}, Zep::Stream::kLittleEndian, kListBad, ""},
        {{0x24, 0x00}, Zep::Stream::kLittleEndian, kListVersion, ""},
        {{0x12, 0x00}, Zep::Stream::kLittleEndian, kListBad, ""},
        {{0x01, 0x74, 0x73, 0x41, 0, 0, 0, 0}, Zep::Stream::kLittleEndian, kListBad, ""},
        {{0x01, 0x68, 0x73, 0x48, 0, 0, 0, 0}, Zep::Stream::kLittleEndian, kListBad, ""},
        // A huge var-int count, one element, then nothing; an older negative count.
        {cat({{0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"only"})}), Zep::Stream::kLittleEndian, kListBad, "only"},
        {{0x01, 0x74, 0x73, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF}, Zep::Stream::kLittleEndian, kListBad, ""},
    };
    for (const auto& c : cases) {
        Zep::List<Zep::String> list{"kept?"};
        EXPECT_EQ(describe([&] { readRecord(list, c.record, c.nOrder); }), c.sMessage) << int(c.record[0]);
        EXPECT_EQ(list.join(",").c_str(), c.sContents) << int(c.record[0]);
    }
}

TEST(ListPersist, SharedPointersAndElementsWhoseBodyFails) {
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

    // Element 0 fine, element 1 has a text record with a bad version: it is
    // freed, the first stays.
    const int nLiveBefore = Tracked::s_nLive;
    const Bytes record = cat({{0x14, 0x02, 0x00, 0, 0, 0, 0}, strings({"a"}), {0x00, 1, 0, 0, 0, 0x22, 0x00}});
    Zep::List<Tracked*> failed;
    EXPECT_EQ(describe([&] { readRecord(failed, record); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    ASSERT_EQ(failed.getCount(), 1);
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore + 1);
    failed.deleteAll();
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore);
}

TEST(HashPersist, GoldenRecordsAndTableSize) {
    StringHash table;
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x00}));
    table.set("abc", "x");
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x01, 0x12, 0x03, 'a', 'b', 'c', 0x12, 0x01, 'x'}));

    StringHash big;  // 97 buckets; read back sized for its entries
    for (int i = 0; i < 10; ++i) big.set(Zep::String::format("name%d", i), Zep::String::format("%d", i * i));
    StringHash back;
    readRecord(back, recordOf(big));
    EXPECT_EQ(back.getBucketCount(), 11);
    EXPECT_EQ(entriesOf(back), entriesOf(big));
    StringHash again;  // written from 11 buckets the order may differ, the entries do not
    readRecord(again, recordOf(back));
    EXPECT_EQ(entriesOf(again), entriesOf(big));
}

// Each record is read into a table that held an entry; the message, what it
// holds afterwards and its bucket count.
TEST(HashPersist, ReadingFormsErrorsAndForgedCounts) {
    const Bytes keys = cat({{0x02, 0x68, 0x73, 0x48, 0x00, 0x14, 0x02}, strings({"a", "b"})});
    const struct {
        Bytes record;
        std::string sMessage;
        Entries entries;
        int nBuckets;
    } cases[] = {
        {{0x13, 0x00}, kNone, {}, 5},
        // A later duplicate key wins.
        {cat({{0x13, 0x03}, strings({"k", "1", "j", "2", "k", "3"})}), kNone, {{"j", "2"}, {"k", "3"}}, 5},
        // Older version 2: a key list and a value list; extra values are ignored.
        {cat({keys, {0x00, 0x14, 0x03}, strings({"1", "2", "ignored"})}), kNone, {{"a", "1"}, {"b", "2"}}, 5},
        {cat({keys, {0x00, 0x14, 0x01}, strings({"1"})}),
         "FatalErrorException [list_impl]: List index out of range : 1 (have 1)",
         {{"a", "1"}},
         5},
        {{0x03, 0x00}, kHashVersion, {}, 97},
        {{0x23, 0x00}, kHashVersion, {}, 97},
        {{0x14, 0x00}, kHashBad, {}, 97},
        {{0x12, 0x00}, kHashBad, {}, 97},
        {{0x01, 0x68, 0x73, 0x00}, kHashBad, {}, 97},
        {{0x02, 0x74, 0x73, 0x4C}, kHashBad, {}, 97},
        // A huge count on an exhausted stream stops; what was read stays. Failed
        // reads leave the buckets as they stand.
        {cat({{0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"k", "v"})}), kHashBad, {{"k", "v"}}, 97},
    };
    for (const auto& c : cases) {
        StringHash table;
        table.set("kept?", "no");
        EXPECT_EQ(describe([&] { readRecord(table, c.record); }), c.sMessage) << int(c.record[0]);
        EXPECT_EQ(entriesOf(table), c.entries) << int(c.record[0]);
        EXPECT_EQ(table.getBucketCount(), c.nBuckets) << int(c.record[0]);
    }
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

}  // namespace

// Version 1: a bucket count, then every bucket. Read big-endian into a table
// that held an entry; the warning and any error, and what the table holds.
TEST(HashPersistOlder, Version1Buckets) {
    const std::string kFailed = kWarning + " / Hash::persistFrom : bad stream format\n";
    const struct {
        uint32_t nBuckets;
        std::vector<Bytes> buckets;
        std::string sOutput;
        Entries entries;
    } cases[] = {
        {3,
         {olderBucket({newNode(0, "a", "1"), newNode(1, "b", "2")}), olderBucket({}),
          olderBucket({newNode(2, "c", "3"), {0x02}})},
         kWarning,
         {{"a", "1"}, {"b", "2"}, {"c", "3"}}},
        // Duplicate ids make distinct nodes.
        {1, {olderBucket({newNode(0, "a", "1"), newNode(0, "a", "2")})}, kWarning, {{"a", "2"}}},
        // A back-reference to a node of an earlier bucket would free it twice
        // when the table is rebuilt: refused, the completely read bucket kept.
        {2, {olderBucket({newNode(0, "a", "1")}), olderBucket({newNode(1, "b", "2"), {0x01, 0, 0, 0, 0}})}, kFailed,
         {{"a", "1"}}},
        // Damaged bucket counts.
        {0, {}, kWarning, {}},
        {0x80000000u, {}, kWarning, {}},
        {0xFFFFFFFFu, {}, kWarning, {}},
        {0x7FFFFFFF, {}, kFailed, {}},
    };
    for (const auto& c : cases) {
        Bytes record = {0x01, 0x68, 0x73, 0x48};
        for (int shift = 24; shift >= 0; shift -= 8) record.push_back(static_cast<uint8_t>(c.nBuckets >> shift));
        for (const Bytes& bucket : c.buckets) record = cat({record, bucket});
        StringHash table(97);
        table.set("x", "y");
        ::testing::internal::CaptureStderr();
        std::string sError;
        try {
            readRecord(table, record, Zep::Stream::kBigEndian);
            EXPECT_EQ(table.getBucketCount(), 5) << c.nBuckets;
        } catch (const Zep::Exception& e) {
            sError = std::string(" / ") + e.getMessage();
        }
        EXPECT_EQ(::testing::internal::GetCapturedStderr() + sError, c.sOutput) << c.nBuckets;
        EXPECT_EQ(entriesOf(table), c.entries) << c.nBuckets;
    }
}

TEST(PersistFraming, HighscoreBlobSurvivesTheEscape) {
    const Zep::List<ScoreRow> tables[3] = {
        {ScoreRow("Ab", 1000, "")}, {}, {ScoreRow("Cy", 7, "x"), ScoreRow("Dee", 3, "")}};
    Zep::MemStream out;
    {
        Zep::ObjectStreamer os(&out, false);
        for (const auto& table : tables) {
            os.writeByte(0);
            table.persistTo(os);
        }
    }
    const Bytes bytes = bytesOf(out);
    const Bytes expectedStart = {0x05, 0x00, 0x14, 0x01, 0x00, 0x12, 0x02, 'A',  'b',  0xE8, 0x03,
                                 0x00, 0x00, 0x12, 0x00, 0x00, 0x14, 0x00, 0x00, 0x14, 0x02};
    EXPECT_EQ(Bytes(bytes.begin(), bytes.begin() + static_cast<long>(expectedStart.size())), expectedStart);

    auto decoded = Zep::String::unescapeBinary(Zep::String::escapeBinary(bytes.data(), int(bytes.size())).c_str());
    EXPECT_EQ(bytesOf(*decoded), bytes);
    auto in = decoded->clone();
    Zep::ObjectStreamer os(in.get(), false);
    for (const auto& table : tables) {
        uint8_t nFrame = 0xFF;
        os.readByte(nFrame);
        EXPECT_EQ(nFrame, 0);
        Zep::List<ScoreRow> back;
        back.persistFrom(os);
        EXPECT_EQ(recordOf(back), recordOf(table));
    }
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

Bytes inflated(const Bytes& packed) {
    Bytes plain(1000);
    uLongf nPlain = plain.size();
    EXPECT_EQ(uncompress(plain.data(), &nPlain, packed.data(), static_cast<uLong>(packed.size())), Z_OK);
    plain.resize(nPlain);
    return plain;
}

}  // namespace

TEST(SettingsFile, RoundTripThroughZlibAndAFile) {
    testutil::TempFolder tmp;
    const std::string path = tmp.path("settings.dat");
    StringHash settings;
    for (auto [key, value] : {std::pair{"MUSIC_VOLUME", "80"}, {"FULLSCREEN", "1"}, {"PLAYER_NAME", "Kim"},
                              {"LANGUAGE", "en"}, {"EMPTY", ""}})
        settings.set(key, value);
    Bytes expected = {0x05, 0x00, 0x13, 0x05};
    for (const Zep::String& key : settings.getKeys())
        expected = cat({expected, strings({key.c_str(), settings.get(key).c_str()})});
    for (bool bOwning : {false, true}) {
        writeSettings(path, settings, bOwning);
        EXPECT_EQ(inflated(testutil::textBytes(testutil::getFile(path))), expected);
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
    {
        Zep::File file(path.c_str(), Zep::File::kModeWrite);
        Zep::ZStream(&file, 9).write(static_cast<int>(huge.size()), huge.data());
    }
    EXPECT_EQ(describe([&] { readSettings(path, back); }), kHashBad);
    EXPECT_EQ(entriesOf(back), (Entries{{"k", "v"}}));
}
