// String tables: the text and XML readers.
#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <string>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "testkit/testkit_fixtures.h"
#include "base/stringtable.h"

using testkit::messageOf;

namespace {

using Table = Zep::Hash<Zep::String, Zep::String>;

// What the reader makes of the text, as a plain map.
template <auto Reader>
std::map<std::string, std::string> read(const char* szText) {
    Table hTable;
    Reader(szText, hTable);
    std::map<std::string, std::string> m;
    for (const Zep::String& sKey : hTable.getKeys()) m[sKey.c_str()] = hTable.get(sKey).c_str();
    return m;
}

const auto readText = read<readStringTableText>;
const auto readXml = read<readStringTableXml>;

// One table, written in both forms.
const char* const kText =
    "# Menu texts\n"
    "gsm_Title    Harbour  nights  # shown on the title\n"
    "WKG_Go\tGo!\n"
    "multi first line\\n\n"
    ".  second\\tline\n"
    "amp a &amp; b\n"
    "empty\n";

const char* const kXml =
    "<?xml version=\"1.0\"?>\n"
    "<Workbook>\n"
    " <Worksheet><Table>\n"
    "  <Row><Cell><Data>gsm_Title</Data></Cell><Cell><Data>  Harbour  nights  </Data></Cell></Row>\n"
    "  <ROW><CELL><DATA>WKG_Go</DATA></CELL><CELL><DATA>Go!</DATA></CELL></ROW>\n"
    "  <Row><Cell><Data>multi</Data></Cell><Cell><Data>first line\\nsecond\\tline</Data></Cell></Row>\n"
    "  <Row><Cell><Data>amp</Data></Cell><Cell><Data>a &amp;amp; b</Data></Cell></Row>\n"
    "  <Row><Cell><Comment>not a cell text</Comment></Cell></Row>\n"
    "  <Row><Cell><Data>empty</Data></Cell>\n"
    "       <Cell><Data> </Data></Cell></Row>\n"
    " </Table></Worksheet>\n"
    "</Workbook>\n";

}  // namespace

TEST(StringTableText, KeysValuesCommentsEscapesAndContinuations) {
    EXPECT_EQ(readText(kText), (std::map<std::string, std::string>{{"GSM_TITLE", "Harbour  nights  "},  // blanks stay
                                                                   {"WKG_GO", "Go!"},
                                                                   {"MULTI", "first line\nsecond\tline"},
                                                                   {"AMP", "a &amp; b"},
                                                                   {"EMPTY", ""}}));
    // "\n" is replaced before "\\".
    EXPECT_EQ(readText("k1 a\\#b # comment\nk2 c\\\\d\nk3 x\\\\n\nk4 \\r\\t\nk5 \\#only\n"),
              (std::map<std::string, std::string>{
                  {"K1", "a#b "}, {"K2", "c\\d"}, {"K3", "x\\\n"}, {"K4", "\r\t"}, {"K5", "#only"}}));
    // Continuation lines join the last key; a later entry replaces an earlier one.
    EXPECT_EQ(readText("a one\n.   two\nb x\n. y\n. z\na again\n"),
              (std::map<std::string, std::string>{{"A", "again"}, {"B", "xyz"}}));
    EXPECT_EQ("Hash key not found : \"\"", messageOf<Zep::FatalErrorException>([] { readText(". lonely\n"); }));
}

TEST(StringTableText, ByteOrderMarkAndLineEnds) {
    std::string sCrLf = "\xEF\xBB\xBF", sCr = kText;
    for (const char* p = kText; *p; ++p) sCrLf += *p == '\n' ? std::string("\r\n") : std::string(1, *p);
    std::replace(sCr.begin(), sCr.end(), '\n', '\r');
    EXPECT_EQ(readText(kText), readText(sCrLf.c_str()));
    EXPECT_EQ(readText(kText), readText(sCr.c_str()));
    // The mark is dropped, not read as part of the first key; other UTF-8 passes.
    EXPECT_EQ("v", readText("\xEF\xBB\xBFkey v\r\n").at("KEY"));
    EXPECT_EQ("Gr\xC3\xBC\xC3\x9F" "e", readText("greet Gr\xC3\xBC\xC3\x9F" "e\n").at("GREET"));
}

TEST(StringTableXml, CellsPairAcrossRowsInDocumentOrderAndMalformedInputKeepsWhatWasRead) {
    EXPECT_EQ(readText(kText), readXml(kXml));
    EXPECT_EQ(readXml("<Table>"
                      "<Row><Cell><Data>lonely</Data></Cell></Row>"
                      "<Row><Cell><Data>its text</Data></Cell><Cell><Data>next</Data></Cell></Row>"
                      "<Row><Cell><Data>value</Data></Cell></Row>"
                      "</Table>"),
              (std::map<std::string, std::string>{{"LONELY", "its text"}, {"NEXT", "value"}}));
    EXPECT_EQ(readXml("<Row><Cell><Data>k1</Data></Cell><Cell><Data>v1</Data></Cell></Row>"
                      "<Row><Cell><Data>k2</Data></Cell><Cell><Data>v2</Data></Cell></Row>"
                      "<Row><Cell <<<< broken"),
              (std::map<std::string, std::string>{{"K1", "v1"}, {"K2", "v2"}}));
    EXPECT_TRUE(readXml("").empty() && readXml("<<<").empty());
}

using AppStrings = testkit::ResourceTest;

TEST_F(AppStrings, LookupLaterTablesWinAndXmlIsChosenByName) {
    add("messages.txt", kText);
    add("Patch.XML", "<Row><Cell><Data>wkg_go</Data></Cell><Cell><Data>Off you go</Data></Cell></Row>");
    m_app.loadStringTable("messages.txt");
    EXPECT_STREQ("Go!", m_app.getText("wkg_go"));
    const char* szMissing = "GSM_Nothing";
    EXPECT_EQ(szMissing, m_app.getText(szMissing));  // the very pointer
    EXPECT_TRUE(m_app.hasText("Wkg_Go") && !m_app.hasText(szMissing) && !m_app.getText(nullptr));
    EXPECT_EQ(5, m_app.getStringNames().getCount());
    m_app.loadStringTable("Patch.XML");
    EXPECT_STREQ("Off you go", m_app.getText("WKG_GO"));
    EXPECT_STREQ("Harbour  nights  ", m_app.getText("GSM_TITLE"));
    EXPECT_EQ("GameApp::getResource() : Resource 'private.txt' not found",
              messageOf<Zep::ResourceException>([&] { m_app.loadStringTable("private.txt"); }));
}

TEST_F(AppStrings, Languages) {
    testkit::ScopedChdir here(m_dir.path());
    Zep::List<Zep::String> lPreferred{"fr", "de"};
    EXPECT_STREQ("", m_app.selectLanguage(lPreferred).c_str());
    EXPECT_EQ("No installed languages found",
              messageOf<Zep::FatalErrorException>([&] { m_app.getLanguage(lPreferred); }));
    for (const char* szFile : {"lang_en.dat", "lang_de.dat", "music_de.dat", "plain.dat", "lang_it.txt"})
        testkit::writeFileBytes(m_dir.file(szFile), "x");
    EXPECT_STREQ("de", m_app.getLanguage(lPreferred).c_str());
    std::string sFiles;
    for (const Zep::String& sFile : m_app.getLanguageFiles(lPreferred)) sFiles += std::string(sFile.c_str()) + " ";
    EXPECT_EQ("lang_de.dat music_de.dat ", sFiles);
    // Nothing preferred is installed: the first installed code.
    const std::string sFirst = m_app.selectLanguage(Zep::List<Zep::String>{"fr"}).c_str();
    EXPECT_TRUE(sFirst == "de" || sFirst == "en") << sFirst;
}
