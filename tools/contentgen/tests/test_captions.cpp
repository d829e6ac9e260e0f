// The cut-scene captions as the generator lays them out in their box.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "captions.h"

// Every caption fits the box in one or two lines, keeps its words in order,
// and leaves no word alone on a last line: the lines break where they read
// as a sentence.
TEST(Captions, EveryCaptionFitsItsBoxWithNoWordAloneOnItsLastLine) {
    for (const char* szCaption : cg::captions::kAll) {
        const std::vector<std::string> vLines = cg::captionLines(szCaption);
        ASSERT_GE(vLines.size(), 1u) << szCaption;
        EXPECT_LE(vLines.size(), 2u) << szCaption;
        std::string sJoined;
        for (const std::string& sLine : vLines) {
            sJoined += (sJoined.empty() ? "" : " ") + sLine;
            EXPECT_LE(cg::textWidth(sLine, cg::captionStyle()), cg::kCaptionWidth) << sLine;
        }
        EXPECT_EQ(sJoined, szCaption);
        if (vLines.size() > 1) {
            EXPECT_NE(vLines.back().find(' '), std::string::npos) << szCaption;
        }
    }
    EXPECT_EQ(cg::captionLines(cg::captions::kArrival),
              (std::vector<std::string>{"You arrive in Tuk Harbor with", "one suitcase and a big idea."}));
    cg::closeFonts();
}
