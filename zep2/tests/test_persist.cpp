#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/hash.h"
#include "zep2/list.h"
#include "zep2/memstream.h"
#include "zep2/objectstreamer.h"
#include "zep2/persist_impl.h"

using Bytes = std::vector<uint8_t>;
using StringHash = Zep::Hash<Zep::String, Zep::String>;

namespace {

// A highscore row: name, score, second text; persisted through virtual members.
class ScoreRow {
public:
    ScoreRow() = default;
    ScoreRow(const char* szName, int32_t nScore, const char* szNote) : m_sName(szName), m_nScore(nScore), m_sNote(szNote) {}
    ScoreRow(const ScoreRow&) = default;
    virtual ~ScoreRow() = default;
    bool operator<(const ScoreRow& other) const { return m_nScore > other.m_nScore; }
    bool operator==(const ScoreRow& other) const {
        return m_sName == other.m_sName && m_nScore == other.m_nScore && m_sNote == other.m_sNote;
    }
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
    static int s_nLive;
    Tracked() { ++s_nLive; }
    Tracked(const Tracked& other) : sText(other.sText) { ++s_nLive; }
    ~Tracked() { --s_nLive; }
    void persistTo(Zep::ObjectStreamer& os) const { os.writeString(sText); }
    void persistFrom(Zep::ObjectStreamer& os) { os.readString(sText); }
    Zep::String sText;
};
int Tracked::s_nLive = 0;

Bytes bytesOf(Zep::MemStream& stream) {
    const auto* p = static_cast<const uint8_t*>(stream.getBuffer());
    return p ? Bytes(p, p + stream.length()) : Bytes();
}

Zep::SmartPtr<Zep::MemStream> reader(const Bytes& bytes, uint8_t nOrder = Zep::Stream::kLittleEndian) {
    Zep::MemStream source;
    if (!bytes.empty()) source.write(static_cast<int>(bytes.size()), bytes.data());
    auto view = source.clone();
    view->setByteOrder(nOrder);
    return view;
}

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

// Reads a record (without a header byte; one is added) into the container.
template <class C>
void readRecord(C& container, Bytes record, uint8_t nOrder = Zep::Stream::kLittleEndian) {
    record.insert(record.begin(), 0x05);
    auto in = reader(record, nOrder);
    Zep::ObjectStreamer os(in.get(), false);
    container.persistFrom(os);
}

template <class F>
std::string messageOf(F&& f) {
    try {
        f();
    } catch (const Zep::Exception& e) {
        return std::string(e.className()) + " [" + e.getFile() + "]: " + e.getMessage();
    }
    return "no exception";
}

std::map<std::string, std::string> entriesOf(const StringHash& table) {
    std::map<std::string, std::string> entries;
    auto keys = table.getKeys();
    for (const Zep::String& key : keys) entries[key.c_str()] = table.get(key).c_str();
    return entries;
}

Bytes stringRecord(const std::string& text) {
    Bytes out = {0x12, static_cast<uint8_t>(text.size())};
    out.insert(out.end(), text.begin(), text.end());
    return out;
}

void append(Bytes& to, const Bytes& more) { to.insert(to.end(), more.begin(), more.end()); }

}  // namespace

// --- lists

TEST(ListPersist, EmptyList) {
    Zep::List<Zep::String> list;
    EXPECT_EQ(recordOf(list), (Bytes{0x14, 0x00}));

    Zep::List<Zep::String> filled{"a", "b"};
    readRecord(filled, {0x14, 0x00});
    EXPECT_EQ(filled.getCount(), 0);
}


TEST(ListPersist, CountOf128TakesTwoBytes) {
    Zep::List<Zep::String> list;
    for (int i = 0; i < 128; ++i) list.add(Zep::String::format("%d", i));
    Bytes record = recordOf(list);
    ASSERT_GE(record.size(), 3u);
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
    Bytes record = {0x01, 0x74, 0x73, 0x4C, 0x00, 0x00, 0x00, 0x02};
    append(record, stringRecord("p"));
    append(record, stringRecord("q"));
    Zep::List<Zep::String> list;
    readRecord(list, record, Zep::Stream::kBigEndian);
    ASSERT_EQ(list.getCount(), 2);
    EXPECT_STREQ(list.get(0).c_str(), "p");
    EXPECT_STREQ(list.get(1).c_str(), "q");

    // Little-endian, the same count bytes announce 2 << 24 elements; the
    // reader stops where the data does.
    Zep::List<Zep::String> misread;
    EXPECT_EQ(messageOf([&] { readRecord(misread, record); }),
              "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n");
    EXPECT_EQ(misread.getCount(), 2);
}

TEST(ListPersist, HeaderErrors) {
    const std::string bad = "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n";
    const std::string version = "BadStreamFormatException [list_impl]: List::persistFrom : unknown format version\n";
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{0x02, 0x00}, bad},
        {{0x04, 0x00}, version},
        {{0x13, 0x00}, bad},
        {{0x24, 0x00}, version},
        {{0x12, 0x00}, bad},
        {{0x01, 0x74, 0x73, 0x41, 0, 0, 0, 0}, bad},
        {{0x01, 0x68, 0x73, 0x48, 0, 0, 0, 0}, bad},
    };
    for (const auto& [record, message] : cases) {
        Zep::List<Zep::String> list{"kept?"};
        EXPECT_EQ(messageOf([&] { readRecord(list, record); }), message) << int(record[0]);
        EXPECT_EQ(list.getCount(), 0);
    }
}

TEST(ListPersist, HugeCountOnExhaustedStreamStops) {
    // Var-int count 0xFFFFFFFF, one element, then nothing.
    Bytes record = {0x14, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    append(record, stringRecord("only"));
    Zep::List<Zep::String> list;
    EXPECT_EQ(messageOf([&] { readRecord(list, record); }),
              "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n");
    ASSERT_EQ(list.getCount(), 1);
    EXPECT_STREQ(list.get(0).c_str(), "only");

    // Older form with a negative count.
    Zep::List<Zep::String> older;
    EXPECT_EQ(messageOf([&] { readRecord(older, {0x01, 0x74, 0x73, 0x4C, 0xFF, 0xFF, 0xFF, 0xFF}); }),
              "BadStreamFormatException [list_impl]: List::persistFrom : bad stream format\n");
}

TEST(ListPersist, ElementWhoseBodyFailsIsFreedAndOthersStay) {
    const int nLiveBefore = Tracked::s_nLive;
    // Element 0 fine, element 1 has a text record with a bad version.
    Bytes record = {0x14, 0x02, 0x00, 0, 0, 0, 0};
    append(record, stringRecord("a"));
    append(record, {0x00, 1, 0, 0, 0, 0x22, 0x00});
    Zep::List<Tracked*> list;
    EXPECT_EQ(messageOf([&] { readRecord(list, record); }),
              "BadStreamFormatException [.\\src\\stream]: Stream::readString : unknown format version\n");
    ASSERT_EQ(list.getCount(), 1);
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore + 1);
    list.deleteAll();
    EXPECT_EQ(Tracked::s_nLive, nLiveBefore);
}

// --- hash tables, current form

TEST(HashPersist, EmptyTable) {
    StringHash table;
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x00}));

    StringHash filled;
    filled.set("k", "v");
    readRecord(filled, {0x13, 0x00});
    EXPECT_TRUE(filled.isEmpty());
    EXPECT_EQ(filled.getBucketCount(), 5);
}

TEST(HashPersist, OneEntry) {
    StringHash table;
    table.set("abc", "x");
    EXPECT_EQ(recordOf(table), (Bytes{0x13, 0x01, 0x12, 0x03, 'a', 'b', 'c', 0x12, 0x01, 'x'}));
}


TEST(HashPersist, LaterDuplicateKeyWins) {
    Bytes record = {0x13, 0x03};
    for (const char* text : {"k", "1", "j", "2", "k", "3"}) append(record, stringRecord(text));
    StringHash table;
    readRecord(table, record);
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"j", "2"}, {"k", "3"}}));
}

TEST(HashPersist, ReadTableIsSizedForItsEntries) {
    StringHash table;  // 97 buckets
    for (int i = 0; i < 10; ++i) table.set(Zep::String::format("name%d", i), Zep::String::format("%d", i * i));
    ASSERT_EQ(table.getBucketCount(), 97);
    Bytes first = recordOf(table);

    StringHash back;
    readRecord(back, first);
    EXPECT_EQ(back.getBucketCount(), 11);
    EXPECT_EQ(entriesOf(back), entriesOf(table));

    // Written again from 11 buckets the order may differ; the entries do not.
    StringHash again;
    readRecord(again, recordOf(back));
    EXPECT_EQ(entriesOf(again), entriesOf(table));
}

TEST(HashPersist, HeaderErrors) {
    const std::string bad = "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n";
    const std::string version = "BadStreamFormatException [hash_impl]: Hash::persistFrom : unknown format version\n";
    const std::vector<std::pair<Bytes, std::string>> cases = {
        {{0x03, 0x00}, version},
        {{0x23, 0x00}, version},
        {{0x14, 0x00}, bad},
        {{0x12, 0x00}, bad},
        {{0x01, 0x68, 0x73, 0x00}, bad},
        {{0x02, 0x74, 0x73, 0x4C}, bad},
    };
    for (const auto& [record, message] : cases) {
        StringHash table;
        table.set("kept?", "no");
        EXPECT_EQ(messageOf([&] { readRecord(table, record); }), message) << int(record[0]);
        EXPECT_TRUE(table.isEmpty());
    }
}

TEST(HashPersist, HugeCountOnExhaustedStreamStops) {
    Bytes record = {0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F};
    append(record, stringRecord("k"));
    append(record, stringRecord("v"));
    StringHash table;
    EXPECT_EQ(messageOf([&] { readRecord(table, record); }),
              "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n");
    // What was read before the failure stays, without the final resize.
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"k", "v"}}));
    EXPECT_EQ(table.getBucketCount(), 97);
}

// --- hash tables, older forms

TEST(HashPersistOlder, Version2KeyListAndValueList) {
    Bytes record = {0x02, 0x68, 0x73, 0x48, 0x00, 0x14, 0x02};
    append(record, stringRecord("a"));
    append(record, stringRecord("b"));
    append(record, {0x00, 0x14, 0x03});
    append(record, stringRecord("1"));
    append(record, stringRecord("2"));
    append(record, stringRecord("ignored"));
    StringHash table;
    readRecord(table, record);
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}}));
    EXPECT_EQ(table.getBucketCount(), 5);
}

TEST(HashPersistOlder, Version2WithTooFewValues) {
    Bytes record = {0x02, 0x68, 0x73, 0x48, 0x00, 0x14, 0x02};
    append(record, stringRecord("a"));
    append(record, stringRecord("b"));
    append(record, {0x00, 0x14, 0x01});
    append(record, stringRecord("1"));
    StringHash table;
    EXPECT_EQ(messageOf([&] { readRecord(table, record); }),
              "FatalErrorException [list_impl]: List index out of range : 1 (have 1)");
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"a", "1"}}));
}

namespace {

// One bucket of the version-1 form (big-endian): a byte, then an older list of
// node references.
Bytes olderBucket(const std::vector<Bytes>& nodes) {
    Bytes out = {0x00, 0x01, 0x74, 0x73, 0x4C, 0, 0, 0, static_cast<uint8_t>(nodes.size())};
    for (const Bytes& node : nodes) append(out, node);
    return out;
}

Bytes newNode(uint8_t nId, const char* key, const char* value) {
    Bytes out = {0x00, 0, 0, 0, nId};
    append(out, stringRecord(key));
    append(out, stringRecord(value));
    return out;
}

}  // namespace

TEST(HashPersistOlder, Version1BucketsWarnAndAreResized) {
    Bytes record = {0x01, 0x68, 0x73, 0x48, 0, 0, 0, 3};
    append(record, olderBucket({newNode(0, "a", "1"), newNode(1, "b", "2")}));
    append(record, olderBucket({}));
    append(record, olderBucket({newNode(2, "c", "3"), {0x02}}));
    StringHash table(97);
    ::testing::internal::CaptureStderr();
    readRecord(table, record, Zep::Stream::kBigEndian);
    EXPECT_EQ(::testing::internal::GetCapturedStderr(),
              "WARNING : Hash::persistFrom : reading old format version 1\n");
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"a", "1"}, {"b", "2"}, {"c", "3"}}));
    EXPECT_EQ(table.getBucketCount(), 5);
}

TEST(HashPersistOlder, Version1BackReferenceToANodeIsRefused) {
    // The second bucket refers back to node 0 of the first: the node would be
    // freed twice when the table is rebuilt.
    Bytes record = {0x01, 0x68, 0x73, 0x48, 0, 0, 0, 2};
    append(record, olderBucket({newNode(0, "a", "1")}));
    append(record, olderBucket({newNode(1, "b", "2"), {0x01, 0, 0, 0, 0}}));
    StringHash table;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageOf([&] { readRecord(table, record, Zep::Stream::kBigEndian); }),
              "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n");
    ::testing::internal::GetCapturedStderr();
    // The completely read bucket is kept.
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"a", "1"}}));
}

TEST(HashPersistOlder, Version1DuplicateIdsMakeDistinctNodes) {
    Bytes record = {0x01, 0x68, 0x73, 0x48, 0, 0, 0, 1};
    append(record, olderBucket({newNode(0, "a", "1"), newNode(0, "a", "2")}));
    StringHash table;
    ::testing::internal::CaptureStderr();
    readRecord(table, record, Zep::Stream::kBigEndian);
    ::testing::internal::GetCapturedStderr();
    EXPECT_EQ(entriesOf(table), (std::map<std::string, std::string>{{"a", "2"}}));
}

TEST(HashPersistOlder, Version1DamagedBucketCounts) {
    for (uint32_t nBuckets : {0u, 0x80000000u, 0xFFFFFFFFu}) {
        Bytes record = {0x01, 0x68, 0x73, 0x48, static_cast<uint8_t>(nBuckets >> 24), static_cast<uint8_t>(nBuckets >> 16),
                        static_cast<uint8_t>(nBuckets >> 8), static_cast<uint8_t>(nBuckets)};
        StringHash table;
        table.set("x", "y");
        ::testing::internal::CaptureStderr();
        readRecord(table, record, Zep::Stream::kBigEndian);
        ::testing::internal::GetCapturedStderr();
        EXPECT_TRUE(table.isEmpty()) << nBuckets;
        EXPECT_EQ(table.getBucketCount(), 5);
    }
    // A huge positive count with nothing behind it.
    StringHash table;
    ::testing::internal::CaptureStderr();
    EXPECT_EQ(messageOf([&] { readRecord(table, {0x01, 0x68, 0x73, 0x48, 0x7F, 0xFF, 0xFF, 0xFF}, Zep::Stream::kBigEndian); }),
              "BadStreamFormatException [hash_impl]: Hash::persistFrom : bad stream format\n");
    ::testing::internal::GetCapturedStderr();
}

// --- framing

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
    Bytes expectedStart = {0x05, 0x00, 0x14, 0x01, 0x00, 0x12, 0x02, 'A', 'b', 0xE8, 0x03, 0x00, 0x00, 0x12, 0x00,
                           0x00, 0x14, 0x00, 0x00, 0x14, 0x02};
    ASSERT_GE(bytes.size(), expectedStart.size());
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
