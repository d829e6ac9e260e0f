// The settings file: a string table behind an object stream, a zlib stream and
// a file, written and read back the way the application keeps its settings.
#include <gtest/gtest.h>
#include <zlib.h>

#include <cstdint>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/file.h"
#include "zep2/hash.h"
#include "zep2/objectstreamer.h"
#include "zep2/persist_impl.h"
#include "zep2/zstream.h"

using Bytes = std::vector<uint8_t>;
using StringHash = Zep::Hash<Zep::String, Zep::String>;

namespace {

Bytes readFileBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void writeFileBytes(const std::string& path, const Bytes& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
}

// Inflates a whole zlib stream with the library directly.
Bytes inflateAll(const Bytes& compressed) {
    z_stream zs{};
    EXPECT_EQ(inflateInit(&zs), Z_OK);
    zs.next_in = const_cast<Bytes::value_type*>(compressed.data());
    zs.avail_in = static_cast<uInt>(compressed.size());
    Bytes out;
    uint8_t chunk[1024];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (sizeof chunk - zs.avail_out));
    }
    EXPECT_EQ(rc, Z_STREAM_END);
    inflateEnd(&zs);
    return out;
}

void appendString(Bytes& to, const Zep::String& text) {
    to.push_back(0x12);
    to.push_back(static_cast<uint8_t>(text.length()));
    to.insert(to.end(), text.c_str(), text.c_str() + text.length());
}

std::map<std::string, std::string> entriesOf(const StringHash& table) {
    std::map<std::string, std::string> entries;
    auto keys = table.getKeys();
    for (const Zep::String& key : keys) entries[key.c_str()] = table.get(key).c_str();
    return entries;
}

void writeSettings(const std::string& path, const StringHash& settings) {
    Zep::File file(path.c_str(), Zep::File::kModeWrite);
    Zep::ZStream zip(&file, 9);
    Zep::ObjectStreamer os(&zip, false);
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

class SettingsFileTest : public ::testing::Test {
protected:
    void SetUp() override {
        m_sPath = ::testing::TempDir() + "settings_roundtrip_" +
                  ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".dat";
        m_hSettings.set("MUSIC_VOLUME", "80");
        m_hSettings.set("FULLSCREEN", "1");
        m_hSettings.set("PLAYER_NAME", "Kim");
        m_hSettings.set("LANGUAGE", "en");
        m_hSettings.set("EMPTY", "");
    }
    void TearDown() override { std::remove(m_sPath.c_str()); }

    std::string m_sPath;
    StringHash m_hSettings;
};

}  // namespace

TEST_F(SettingsFileTest, InflatedBytesAreHeaderFrameAndTable) {
    writeSettings(m_sPath, m_hSettings);

    Bytes expected = {0x05, 0x00, 0x13, 0x05};
    auto keys = m_hSettings.getKeys();
    for (const Zep::String& key : keys) {
        appendString(expected, key);
        appendString(expected, m_hSettings.get(key));
    }
    EXPECT_EQ(inflateAll(readFileBytes(m_sPath)), expected);
}

TEST_F(SettingsFileTest, ReadsBackTheSameEntries) {
    writeSettings(m_sPath, m_hSettings);
    StringHash back;
    back.set("STALE", "x");
    readSettings(m_sPath, back);
    EXPECT_EQ(entriesOf(back), entriesOf(m_hSettings));
    EXPECT_EQ(back.getBucketCount(), 5);
}

TEST_F(SettingsFileTest, OwningStreamerClosesTheZipStream) {
    {
        Zep::File file(m_sPath.c_str(), Zep::File::kModeWrite);
        Zep::ObjectStreamer os(new Zep::ZStream(&file, 9), true);
        os.writeByte(0);
        m_hSettings.persistTo(os);
    }
    StringHash back;
    readSettings(m_sPath, back);
    EXPECT_EQ(entriesOf(back), entriesOf(m_hSettings));
}

TEST_F(SettingsFileTest, TruncatedFileFailsInsteadOfHanging) {
    writeSettings(m_sPath, m_hSettings);
    Bytes compressed = readFileBytes(m_sPath);
    ASSERT_GT(compressed.size(), 12u);
    compressed.resize(compressed.size() / 2);
    writeFileBytes(m_sPath, compressed);

    StringHash back;
    EXPECT_THROW(readSettings(m_sPath, back), Zep::BadStreamFormatException);
    EXPECT_LT(back.getCount(), 5);
}

TEST_F(SettingsFileTest, DamagedCountFailsInsteadOfHanging) {
    // A valid zlib stream whose table claims four thousand million entries.
    Bytes inflated = {0x05, 0x00, 0x13, 0xFF, 0xFF, 0xFF, 0xFF, 0x0F, 0x12, 0x01, 'k', 0x12, 0x01, 'v'};
    uLongf nSize = compressBound(static_cast<uLong>(inflated.size()));
    Bytes compressed(nSize);
    ASSERT_EQ(compress(compressed.data(), &nSize, inflated.data(), static_cast<uLong>(inflated.size())), Z_OK);
    compressed.resize(nSize);
    writeFileBytes(m_sPath, compressed);

    StringHash back;
    try {
        readSettings(m_sPath, back);
        FAIL() << "no exception";
    } catch (const Zep::BadStreamFormatException& e) {
        EXPECT_STREQ(e.getMessage(), "Hash::persistFrom : bad stream format\n");
    }
    EXPECT_EQ(entriesOf(back), (std::map<std::string, std::string>{{"k", "v"}}));
}
