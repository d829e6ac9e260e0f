#include <zep2/xml.h>

#include "test_util.h"

using Zep::XMLParser;
using Nodes = std::vector<std::string>;

namespace {
// One entry per node: "<type> <name> <text>", text decoded as getText gives it.
Nodes nodesOf(XMLParser& parser) {
    Nodes nodes;
    while (parser.next() && nodes.size() < 10000)
        nodes.push_back(std::to_string(parser.getType()) + " " + parser.getName().c_str() + " " +
                        parser.getText().c_str());
    return nodes;
}

// The nodes, each ended by ";", then any error and the elements left open,
// innermost first.
std::string parseReport(const char* text) {
    XMLParser parser;
    parser.setText(text);
    std::string out;
    for (const std::string& node : nodesOf(parser)) out += node + ";";
    EXPECT_EQ(parser.hasError(), !parser.getError().isEmpty());
    if (parser.hasError()) out += std::string(" error '") + parser.getError().c_str() + "'";
    for (const Zep::String& name : parser.getOpenElements()) out += std::string(" open ") + name.c_str();
    EXPECT_FALSE(parser.next());  // stepping on after the end stays harmless
    return out;
}
}  // namespace

TEST(XMLParser, NodesErrorsAndOpenElements) {
    const std::pair<const char*, const char*> cases[] = {
        {"<?xml version=\"1.0\"?>\n<root>hello<child/></root>",
         "5 xml ;2 version 1.0;6 xml ;3  \n;1 root ;3  hello;1 child ;4 child ;4 root ;"},
        // An empty element with an attribute gives three nodes.
        {"<a k = \"v\" />", "1 a ;2 k v;4 a ;"}, {"<a\tk=\"\"\n/\n>", "1 a ;2 k ;4 a ;"},
        {"<a>\n  <b/>\n</a>", "1 a ;3  \n  ;1 b ;4 b ;3  \n;4 a ;"}, {"just text", "3  just text;"}, {"", ""},
        {"<a><!-- a <b> comment --></a>", "1 a ;7   a <b> comment ;4 a ;"}, {"<!--&lt;-->", "7  &lt;;"},
        {"<a><![CDATA[x &amp; <y>]]></a>", "1 a ;3  x & <y>;4 a ;"},
        // Other "<!" forms are elements; an unquoted word runs on as an attribute name.
        {"<!DOCTYPE html>", "1 !DOCTYPE ; open !DOCTYPE"}, {"<!DOCTYPE><x/>", "1 !DOCTYPE ;1 x ;4 x ; open !DOCTYPE"},
        // Entities are decoded once, in text only.
        {"<a>&amp;lt;</a>", "1 a ;3  &lt;;4 a ;"}, {"<a k=\"&amp;lt;\"/>", "1 a ;2 k &amp;lt;;4 a ;"},
        // Tag errors; names compare byte for byte.
        {"<a><b></a>", "1 a ;1 b ; error 'Mismatched tag close : open b, close a' open a"},
        {"<a></A>", "1 a ; error 'Mismatched tag close : open a, close A'"},
        {"<a/x>", "1 a ; error 'Bad tag close : open a , found 'x''"},
        {"<?xml ? x?>", "5 xml ; error 'Bad tag close : open xml [special], found 'x''"},
        {"</a>", " error 'Mismatched tag close : open , close a'"},  // closing with nothing open
        {"<a></a/>", "1 a ;4 a ; error 'Mismatched tag close : open , close />'"},
        {"<a></a/x", "1 a ;4 a ; error 'Bad tag close : open  , found 'x''"},
        // The end with elements open is not an error, nor a document cut short
        // inside a tag name, an attribute or a tag end.
        {"<a><b>text", "1 a ;1 b ;3  text; open b open a"},
        {"<root", ""}, {"</", ""}, {"<?x ?", "5 x ; open x"}, {"<a b=\"x", "1 a ; open a"}, {"<a/  ", "1 a ; open a"}};
    for (const auto& [text, report] : cases) EXPECT_EQ(parseReport(text), report) << text;
    EXPECT_EQ(parseReport(nullptr), "");
}

TEST(XMLParser, EntitiesUnterminatedBodiesAndReset) {
    EXPECT_STREQ(XMLParser::decodeEntities("&lt;&gt;&amp;&apos;&quot;&#65;&bogus;&").c_str(), "<>&'\"&#65;&bogus;&");
    XMLParser parser;
    parser.setText("&amp;amp;");
    ASSERT_TRUE(parser.next());
    EXPECT_STREQ((parser.getText() + parser.getText()).c_str(), "&amp;&amp;");  // not decoded a second time
    // An unterminated comment or CDATA section ends the document, keeping its partial body.
    for (auto [text, nType, body] : {std::tuple{"<!-- never closed", XMLParser::kComment, " never closed"},
                                     {"<![CDATA[a &lt; b", XMLParser::kText, "a < b"}}) {
        parser.setText(text);
        EXPECT_TRUE(!parser.next() && parser.getType() == nType && !parser.hasError());
        EXPECT_STREQ(parser.getText().c_str(), body);
    }
    // Reset replays the document.
    parser.setText("<a x=\"1\">t</b>");
    EXPECT_EQ(nodesOf(parser), (Nodes{"1 a ", "2 x 1", "3  t"}));
    EXPECT_TRUE(parser.hasError());
    parser.reset();
    EXPECT_TRUE(!parser.hasError() && parser.getType() == XMLParser::kNone && parser.getOpenElements().isEmpty());
    EXPECT_EQ(nodesOf(parser), (Nodes{"1 a ", "2 x 1", "3  t"}));
}

// A document cut short anywhere stops instead of scanning past its end; only
// its last node can be cut short (a text run), never an earlier one.
TEST(XMLParser, EveryTruncationOfADocumentIsSafe) {
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- table -->\n"
        "<Workbook a=\"1\" b = \"two\">\n"
        "  <Row><Cell><Data ss:Type=\"String\">Fish &amp; chips &lt;3</Data></Cell>\n"
        "  <Cell/><Cell><![CDATA[<raw>]]></Cell></Row>\n"
        "</Workbook>\n";
    XMLParser whole;
    whole.setText(document.c_str());
    const Nodes full = nodesOf(whole);
    ASSERT_EQ(full.size(), 28u);
    for (size_t cut = 0; cut <= document.size(); ++cut) {
        const std::string prefix = document.substr(0, cut);
        XMLParser parser;
        parser.setText(prefix.c_str());
        const Nodes nodes = nodesOf(parser);
        ASSERT_LE(nodes.size(), full.size()) << cut;
        for (size_t i = 0; i + 1 < nodes.size(); ++i) ASSERT_EQ(nodes[i], full[i]) << cut;
        ASSERT_TRUE(nodes.empty() || nodes.back()[0] == full[nodes.size() - 1][0]) << cut;  // the same type
        EXPECT_FALSE(parser.hasError()) << cut;
        for (int i = 0; i < 5; ++i) parser.next();  // stepping on after the end stays harmless
    }
}
