#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "zep2/error.h"
#include "zep2/xml.h"

using Zep::XMLParser;
using Nodes = std::vector<std::string>;

namespace {

// One line per node: "<type> <name> <text>", text decoded as getText gives it.
Nodes nodesOf(XMLParser& parser) {
    Nodes nodes;
    while (parser.next() && nodes.size() < 10000)
        nodes.push_back(std::to_string(parser.getType()) + " " + parser.getName().c_str() + " " +
                        parser.getText().c_str());
    return nodes;
}

Nodes nodesOf(const char* text) {
    XMLParser parser;
    parser.setText(text);
    return nodesOf(parser);
}

// The nodes, then the error text and the open elements innermost first.
std::string parseReport(const char* text) {
    XMLParser parser;
    parser.setText(text);
    std::string out;
    for (const std::string& node : nodesOf(parser)) out += node + ";";
    out += std::string(" error '") + parser.getError().c_str() + "' open";
    for (const Zep::String& name : parser.getOpenElements()) out += std::string(" ") + name.c_str();
    EXPECT_EQ(parser.hasError(), !parser.getError().isEmpty()) << text;
    return out;
}

}  // namespace

TEST(XMLParser, NodeSequences) {
    EXPECT_EQ(nodesOf("<?xml version=\"1.0\"?>\n<root>hello<child/></root>"),
              (Nodes{"5 xml ", "2 version 1.0", "6 xml ", "3  \n", "1 root ", "3  hello", "1 child ", "4 child ",
                     "4 root "}));
    // An empty element with an attribute gives three nodes.
    EXPECT_EQ(nodesOf("<a k = \"v\" />"), (Nodes{"1 a ", "2 k v", "4 a "}));
    EXPECT_EQ(nodesOf("<a\tk=\"\"\n/\n>"), (Nodes{"1 a ", "2 k ", "4 a "}));
    EXPECT_EQ(nodesOf("<a>\n  <b/>\n</a>"), (Nodes{"1 a ", "3  \n  ", "1 b ", "4 b ", "3  \n", "4 a "}));
    EXPECT_EQ(nodesOf("just text"), (Nodes{"3  just text"}));
    EXPECT_EQ(nodesOf(""), Nodes{});
    EXPECT_EQ(nodesOf(nullptr), Nodes{});
    EXPECT_EQ(nodesOf("<a><!-- a <b> comment --></a>"), (Nodes{"1 a ", "7   a <b> comment ", "4 a "}));
    EXPECT_EQ(nodesOf("<a><![CDATA[x &amp; <y>]]></a>"), (Nodes{"1 a ", "3  x & <y>", "4 a "}));
    // Other "<!" forms are elements; an unquoted word runs on as an attribute name.
    EXPECT_EQ(nodesOf("<!DOCTYPE html>"), (Nodes{"1 !DOCTYPE "}));
    EXPECT_EQ(nodesOf("<!DOCTYPE><x/>"), (Nodes{"1 !DOCTYPE ", "1 x ", "4 x "}));
}

TEST(XMLParser, OpenStackInATextTable) {
    XMLParser parser;
    parser.setText("<Row><Cell><Data ss:Type=\"String\">Beer</Data></Cell></Row>");
    std::string path;
    while (parser.next()) {
        if (parser.getType() != XMLParser::kText) continue;
        path = parser.getOpenElements().join(",").c_str();
        EXPECT_STREQ(parser.getText().c_str(), "Beer");
    }
    EXPECT_EQ(path, "Data,Cell,Row");
    EXPECT_FALSE(parser.hasError());
    EXPECT_EQ(parser.getOpenElements().getCount(), 0);
}

TEST(XMLParser, TagErrors) {
    EXPECT_EQ(parseReport("<a><b></a>"), "1 a ;1 b ; error 'Mismatched tag close : open b, close a' open a");
    // Names compare byte for byte.
    EXPECT_EQ(parseReport("<a></A>"), "1 a ; error 'Mismatched tag close : open a, close A' open");
    EXPECT_EQ(parseReport("<a/x>"), "1 a ; error 'Bad tag close : open a , found 'x'' open");
    EXPECT_EQ(parseReport("<?xml ? x?>"), "5 xml ; error 'Bad tag close : open xml [special], found 'x'' open");
    // Closing with nothing open.
    EXPECT_EQ(parseReport("</a>"), " error 'Mismatched tag close : open , close a' open");
    EXPECT_EQ(parseReport("<a></a/>"), "1 a ;4 a ; error 'Mismatched tag close : open , close />' open");
    EXPECT_EQ(parseReport("<a></a/x"), "1 a ;4 a ; error 'Bad tag close : open  , found 'x'' open");
    // The end with elements open is not an error.
    EXPECT_EQ(parseReport("<a><b>text"), "1 a ;1 b ;3  text; error '' open b a");
}

TEST(XMLParser, EntitiesAreDecodedOnceInTextOnly) {
    EXPECT_EQ(nodesOf("<a>&amp;lt;</a>"), (Nodes{"1 a ", "3  &lt;", "4 a "}));
    EXPECT_EQ(nodesOf("<a k=\"&amp;lt;\"/>"), (Nodes{"1 a ", "2 k &amp;lt;", "4 a "}));
    EXPECT_EQ(nodesOf("<!--&lt;-->"), (Nodes{"7  &lt;"}));
    EXPECT_STREQ(XMLParser::decodeEntities("&lt;&gt;&amp;&apos;&quot;&#65;&bogus;&").c_str(), "<>&'\"&#65;&bogus;&");
    XMLParser parser;
    parser.setText("&amp;amp;");
    ASSERT_TRUE(parser.next());
    EXPECT_STREQ(parser.getText().c_str(), "&amp;");
    EXPECT_STREQ(parser.getText().c_str(), "&amp;");  // not decoded a second time
}

TEST(XMLParser, UnterminatedCommentOrCDataKeepsThePartialBody) {
    XMLParser parser;
    parser.setText("<a><!-- never closed");
    ASSERT_TRUE(parser.next());
    EXPECT_FALSE(parser.next());
    EXPECT_EQ(parser.getType(), XMLParser::kComment);
    EXPECT_STREQ(parser.getText().c_str(), " never closed");
    EXPECT_FALSE(parser.hasError());
    parser.setText("<![CDATA[a &lt; b");
    EXPECT_FALSE(parser.next());
    EXPECT_EQ(parser.getType(), XMLParser::kText);
    EXPECT_STREQ(parser.getText().c_str(), "a < b");
}

TEST(XMLParser, ResetReplaysTheDocument) {
    XMLParser parser;
    parser.setText("<a x=\"1\">t</b>");
    const Nodes first = nodesOf(parser);
    EXPECT_TRUE(parser.hasError());
    parser.reset();
    EXPECT_FALSE(parser.hasError());
    EXPECT_EQ(parser.getType(), XMLParser::kNone);
    EXPECT_EQ(parser.getOpenElements().getCount(), 0);
    EXPECT_EQ(nodesOf(parser), first);
    EXPECT_EQ(first, (Nodes{"1 a ", "2 x 1", "3  t"}));
}

// A document cut short anywhere, inside a tag name, an attribute name or
// value, or a tag end, stops instead of scanning past its end.
TEST(XMLParser, EveryTruncationOfADocumentIsSafe) {
    for (const char* text : {"<root", "</", "<a b", "<a b=", "<a b=\"x", "<a/", "<a/  ", "<a ", "<?x ?"}) {
        XMLParser parser;
        parser.setText(text);
        EXPECT_LE(nodesOf(parser).size(), 1u) << text;
        EXPECT_FALSE(parser.hasError()) << text;
        EXPECT_FALSE(parser.next()) << text;
    }
    const std::string document =
        "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
        "<!-- table -->\n"
        "<Workbook a=\"1\" b = \"two\">\n"
        "  <Row><Cell><Data ss:Type=\"String\">Fish &amp; chips &lt;3</Data></Cell>\n"
        "  <Cell/><Cell><![CDATA[<raw>]]></Cell></Row>\n"
        "</Workbook>\n";
    const Nodes full = nodesOf(document.c_str());
    ASSERT_EQ(full.size(), 28u);
    for (size_t cut = 0; cut <= document.size(); ++cut) {
        XMLParser parser;
        const std::string prefix = document.substr(0, cut);
        parser.setText(prefix.c_str());
        const Nodes nodes = nodesOf(parser);
        ASSERT_LE(nodes.size(), full.size()) << cut;
        // Only the last node can be cut short (a text run), never an earlier one.
        for (size_t i = 0; i + 1 < nodes.size(); ++i) ASSERT_EQ(nodes[i], full[i]) << cut;
        if (!nodes.empty()) {
            ASSERT_EQ(nodes.back()[0], full[nodes.size() - 1][0]) << cut;
        }
        EXPECT_FALSE(parser.hasError()) << cut;
        for (int i = 0; i < 5; ++i) parser.next();  // stepping on after the end stays harmless
    }
}
