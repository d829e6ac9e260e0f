#include <map>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/objectstreamer.h>
#include <zep2/persist_impl.h>
#include <zep2/zstream.h>

#include "score_row.h"
#include "test_util.h"

using namespace testutil;
using StringHash = Zep::Hash<Zep::String, Zep::String>;
using Entries = std::map<std::string, std::string>;

namespace {
// Counts live instances, so that leaks and double deletes show as numbers.
struct Tracked {
    static inline int s_nLive = 0;
    Tracked() { ++s_nLive; }
    ~Tracked() { --s_nLive; }
    void persistTo(Zep::ObjectStreamer& os) const { os.writeString(sText); }
    void persistFrom(Zep::ObjectStreamer& os) { os.readString(sText); }
    Zep::String sText;
};

// The record bytes alone, without the stream header.
template <class C>
Bytes recordOf(const C& container) {
    const Bytes all = streamed<Zep::ObjectStreamer>([&](Zep::ObjectStreamer& os) { container.persistTo(os); });
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

constexpr uint8_t LE = Zep::Stream::kLittleEndian, BE = Zep::Stream::kBigEndian;
const std::string kNone = "(nothing thrown)";
const std::string kListBad = "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n";
const std::string kListVersion = "BadStreamFormatException [list_impl]: List::persistFrom : unknown format version\n";
const std::string kHashBad = "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n";
const std::string kHashVersion = "BadStreamFormatException [hash_impl]: Hash::persistFrom : unknown format version\n";

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

// One bucket of the older version-1 form (big-endian): a byte, then an older
// list of node references.
Bytes olderBucket(std::initializer_list<Bytes> nodes) {
    return cat({{0x00, 0x01, 0x74, 0x73, 0x4C, 0, 0, 0, static_cast<uint8_t>(nodes.size())}, cat(nodes)});
}

Bytes newNode(uint8_t nId, const char* key, const char* value) {
    return cat({{0x00, 0, 0, 0, nId}, strings({key, value})});
}
}  // namespace

TEST(PersistGolden, ListAndHashRecords) {
    EXPECT_EQ(recordOf(Zep::List<Zep::String>()), (Bytes{0x14, 0x00}));
    Zep::List<Zep::String> list;  // a count of 128 takes two bytes
    for (int i = 0; i < 128; ++i) list.add(Zep::String::format("%d", i));
    const Bytes record = recordOf(list);
    EXPECT_EQ(Bytes(record.begin(), record.begin() + 5), (Bytes{0x14, 0x80, 0x01, 0x12, 0x01}));

    StringHash table;  // 97 buckets; read back sized for its entries
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x00}));
    table.set("abc", "x");
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x01, 0x12, 0x03, 'a', 'b', 'c', 0x12, 0x01, 'x'}));
    for (int i = 0; i < 10; ++i) table.set(Zep::String::format("name%d", i), Zep::String::format("%d", i * i));
    StringHash back;
    readRecord(back, recordOf(table));
    EXPECT_TRUE(back.getBucketCount() == 11 && entriesOf(back) == entriesOf(table));
}

// Each record is read into a list that held an element; the message and what
// the list holds afterwards.
TEST(ListPersist, ReadingFormsErrorsAndForgedCounts) {
    const Bytes older = cat({{0x01, 0x74, 0x73, 0x4C, 0x00, 0x00, 0x00, 0x02}, strings({"p", "q"})});
    const std::tuple<Bytes, uint8_t, std::string, std::string> cases[] = {
        {{0x14, 0x00}, LE, kNone, ""},
        {older, BE, kNone, "p,q"},
        // Little-endian the same count announces 2 << 24 elements; reading stops where the data does.
        {older, LE, kListBad, "p,q"},
        {{0x02, 0x00}, LE, kListBad, ""}, {{0x04, 0x00}, LE, kListVersion, ""}, {{0x13, 0x00}, LE, kListBad, ""},
        {{0x24, 0x00}, LE, kListVersion, ""}, {{0x12, 0x00}, LE, kListBad, ""},
        {{0x01, 0x74, 0x73, 0x41, 0, 0, 0, 0}, LE, kListBad, ""},
        {{0x01, 0x68, 0x73, 0x48, 0, 0, 0, 0}, LE, kListBad, ""},
        // A huge var-int count, one element, then nothing; an older negative count.
        {cat({{0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"only"})}), LE, kListBad, "only"},
        {{0x01, 0x74, 0x73, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF}, LE, kListBad, ""}};
    for (const auto& [record, nOrder, sMessage, sContents] : cases) {
        Zep::List<Zep::String> list{"kept?"};
        EXPECT_EQ(describe([&, &record = record, nOrder = nOrder] { readRecord(list, record, nOrder); }), sMessage) << ::testing::PrintToString(record);
        EXPECT_EQ(list.join(",").c_str(), sContents) << ::testing::PrintToString(record);
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
    const std::unique_ptr<Tracked> owned(back.get(0));
    EXPECT_TRUE(back.get(2) == owned.get() && back.get(1) == nullptr && owned->sText == "s");
    // A second element whose text record has a bad version is freed; the first stays.
    const int nLiveBefore = Tracked::s_nLive;
    const Bytes record = cat({{0x14, 0x02, 0x00, 0, 0, 0, 0}, strings({"a"}), {0x00, 1, 0, 0, 0, 0x22, 0x00}});
    Zep::List<Tracked*> failed;
    EXPECT_EQ(describe([&] { readRecord(failed, record); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    EXPECT_TRUE(failed.getCount() == 1 && Tracked::s_nLive == nLiveBefore + 1);
    failed.deleteAll();
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore);
}

// Each record is read into a table that held an entry; what is printed and
// thrown, what the table holds afterwards and its bucket count. Failed reads
// leave the buckets as they stand.
TEST(HashPersist, ReadingFormsErrorsAndForgedCounts) {
    const Bytes keys = cat({{0x02, 0x68, 0x73, 0x48, 0x00, 0x14, 0x02}, strings({"a", "b"})});
    const Bytes v1 = {0x01, 0x68, 0x73, 0x48};  // then the bucket count and every bucket
    const std::string kOld = "WARNING : Hash::persistFrom : reading old format version 1\n";
    const std::tuple<Bytes, uint8_t, std::string, Entries, int> cases[] = {
        {{0x13, 0x00}, LE, kNone, {}, 5},
        // A later duplicate key wins.
        {cat({{0x13, 0x03}, strings({"k", "1", "j", "2", "k", "3"})}), LE, kNone, {{"j", "2"}, {"k", "3"}}, 5},
        // Version 2: a key list and a value list; extra values are ignored.
        {cat({keys, {0x00, 0x14, 0x03}, strings({"1", "2", "ignored"})}), LE, kNone, {{"a", "1"}, {"b", "2"}}, 5},
        {cat({keys, {0x00, 0x14, 0x01}, strings({"1"})}), LE,
         "FatalErrorException [list_impl]: List index out of range : 1 (have 1)", {{"a", "1"}}, 5},
        {{0x03, 0x00}, LE, kHashVersion, {}, 97}, {{0x23, 0x00}, LE, kHashVersion, {}, 97},
        {{0x14, 0x00}, LE, kHashBad, {}, 97}, {{0x12, 0x00}, LE, kHashBad, {}, 97},
        {{0x01, 0x68, 0x73, 0x00}, LE, kHashBad, {}, 97}, {{0x02, 0x74, 0x73, 0x4C}, LE, kHashBad, {}, 97},
        // A huge count on an exhausted stream stops; what was read stays.
        {cat({{0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F}, strings({"k", "v"})}), LE, kHashBad, {{"k", "v"}}, 97},
        // Version 1; duplicate ids make distinct nodes.
        {cat({v1, {0, 0, 0, 3}, olderBucket({newNode(0, "a", "1"), newNode(1, "b", "2")}), olderBucket({}),
              olderBucket({newNode(2, "c", "3"), {0x02}})}),
         BE, kOld + kNone, {{"a", "1"}, {"b", "2"}, {"c", "3"}}, 5},
        {cat({v1, {0, 0, 0, 1}, olderBucket({newNode(0, "a", "1"), newNode(0, "a", "2")})}), BE, kOld + kNone,
         {{"a", "2"}}, 5},
        // A back-reference to a node of an earlier bucket would free it twice
        // when the table is rebuilt: refused, the completely read bucket kept.
        {cat({v1, {0, 0, 0, 2}, olderBucket({newNode(0, "a", "1")}),
              olderBucket({newNode(1, "b", "2"), {0x01, 0, 0, 0, 0}})}),
         BE, kOld + kHashBad, {{"a", "1"}}, 97},
        // Damaged bucket counts.
        {cat({v1, {0, 0, 0, 0}}), BE, kOld + kNone, {}, 5}, {cat({v1, {0x80, 0, 0, 0}}), BE, kOld + kNone, {}, 5},
        {cat({v1, {0xFF, 0xFF, 0xFF, 0xFF}}), BE, kOld + kNone, {}, 5},
        {cat({v1, {0x7F, 0xFF, 0xFF, 0xFF}}), BE, kOld + kHashBad, {}, 97}};
    for (const auto& [record, nOrder, sOutput, entries, nBuckets] : cases) {
        StringHash table;
        table.set("kept?", "no");
        const std::string sRecord = ::testing::PrintToString(record);
        ::testing::internal::CaptureStderr();
        const std::string sError = describe([&, &record = record, nOrder = nOrder] { readRecord(table, record, nOrder); });
        EXPECT_EQ(::testing::internal::GetCapturedStderr() + sError, sOutput) << sRecord;
        EXPECT_EQ(entriesOf(table), entries) << sRecord;
        EXPECT_EQ(table.getBucketCount(), nBuckets) << sRecord;
    }
}

// Highscore tables: a frame byte and a list of rows each, whose values go
// through their virtual members.
TEST(PersistFraming, HighscoreTables) {
    const Zep::List<ScoreRow> tables[3] = {
        {ScoreRow("Ab", 1000, "")}, {}, {ScoreRow("Cy", 7, "x"), ScoreRow("Dee", 3, "")}};
    const Bytes written = streamed<Zep::ObjectStreamer>([&](Zep::ObjectStreamer& os) {
        for (const auto& table : tables) os.writeByte(0), table.persistTo(os);
    });
    EXPECT_EQ(written, cat({{0x05, 0x00, 0x14, 0x01, 0x00}, strings({"Ab"}), {0xE8, 0x03, 0, 0}, strings({""}),
                            {0x00, 0x14, 0x00, 0x00, 0x14, 0x02, 0x00}, strings({"Cy"}), {0x07, 0, 0, 0},
                            strings({"x"}), {0x00}, strings({"Dee"}), {0x03, 0, 0, 0}, strings({""})}));
    auto in = reader(written);
    Zep::ObjectStreamer os(in.get(), false);
    for (const auto& table : tables) {
        uint8_t nFrame = 0xFF;
        os.readByte(nFrame);
        Zep::List<ScoreRow> back;
        back.persistFrom(os);
        EXPECT_TRUE(nFrame == 0 && recordOf(back) == recordOf(table));
    }
    EXPECT_TRUE(in->atEnd());
}

// The settings file keeps its table in zlib data: a forged count there stops
// at the end of the inflated data too, instead of hanging.
TEST(PersistZlib, ForgedCountStopsAtTheEndOfTheInflatedData) {
    const Bytes huge = {0x05, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x12, 0x01, 'k', 0x12, 0x01, 'v'};
    auto file = reader(deflateBytes(huge, 9));
    Zep::ZStream zip(file.get());
    Zep::ObjectStreamer os(&zip, false);
    StringHash table;
    EXPECT_EQ(describe([&] { table.persistFrom(os); }), kHashBad);
    EXPECT_EQ(entriesOf(table), (Entries{{"k", "v"}}));
}
