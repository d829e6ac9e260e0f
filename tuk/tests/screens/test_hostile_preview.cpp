// Damaged scene texts for the bar preview, each a valid scene with one line
// added: names no earlier line defined, lines too short, numbers out of
// range, the preview's limits. And the shared line syntax and numbers.
#include <cfloat>
#include <climits>

#include <gtest/gtest.h>

#include "screens/previewtest_util.h"

namespace {

class HostilePreview : public previewtest::PreviewTest {
protected:
    // The base scene, the line as line 6, then one more sprite.
    void readWith(const std::string& sLine) {
        m_pFiles->add("t.scene", testkit::resource("image wall\nsprite wall 1 2 3 named\n"
                                                     "sprite_repeat wall 0 0 0 0 0 empty\n"
                                                     "animation machine.anim\nanimsprite machine.anim 0 0 0 anim\n" +
                                                     sLine + "\nsprite wall 0 0 90\n"));
        m_pPreview = std::make_unique<BarPreview>(m_app, 8, previewtest::levels("0000000011001"));
        m_pPreview->read("t");
    }
};

}  // namespace

TEST_F(HostilePreview, UndefinedNamesShortLinesAndLimitsSkipTheLineOrRaiseAsTheRulesSay) {
    const struct {
        const char* szLine;
        const char* szError;  // raised, the last sprite not made; or null
        const char* szCause;  // logged for line 6 and skipped; or null
        const char* szMade;   // the line's sprites (z-orders)
    } kRows[] = {
        {"flip nobody", "Hash key not found : \"nobody\"", nullptr, ""},
        {"scale_anim nobody 2 2", "Hash key not found : \"nobody\"", nullptr, ""},
        {"playsequence nobody work", "Hash key not found : \"nobody\"", nullptr, ""},
        {"flipsafe nobody", nullptr, nullptr, ""},
        {"sprite ghost 5 6 7", nullptr, nullptr, "17 (no picture)"},
        {"flip empty", nullptr, "empty names no sprite", ""},
        {"flipsafe empty", nullptr, "empty names no sprite", ""},
        {"scale_anim empty 2 2", nullptr, "empty names no sprite", ""},
        {"playsequence empty work", nullptr, "empty names no sprite", ""},
        {"playsequence named work", nullptr, "sprite named is not animated", ""},
        {"inspos 1 2 ghost", nullptr, "image ghost not defined", ""},
        {"clone ghost copy", nullptr, "image ghost not defined", ""},
        {"hflip ghost", nullptr, "image ghost not defined", ""},
        {"animsprite ghost.anim 1 2 7", nullptr, "animation ghost.anim not defined", ""},
        {"animsprite_conditional ghost.anim 1 2 7 n prop_dispenser", nullptr, "animation ghost.anim not defined", ""},
        {"image", nullptr, "need 2 tokens", ""},
        {"sprite wall 1 2", nullptr, "need 5 tokens", ""},
        {"sprite_repeat wall 1 2 7 2", nullptr, "need 7 tokens", ""},
        {"sprite_repeat wall 1 2 7 0", nullptr, nullptr, ""},
        {"sprite_conditional wall 1 2 7", nullptr, "need 6 tokens", ""},
        {"animsprite_conditional machine.anim 1 2 7 n", nullptr, "need 7 tokens", ""},
        {"playsequence anim", nullptr, "need 3 tokens", ""},
        {"scale_anim anim 2", nullptr, "need 4 tokens", ""},
        {"inspos center bottom", nullptr, "need 4 tokens", ""},
        {"barman 1 2 3 1", nullptr, "need 6 tokens", ""},
        {"bailarina 1 2 7 0 9 show_3", nullptr, "need 8 tokens", ""},
        {"parrot 1 2", nullptr, "need 4 tokens", ""},
        {"actionspot_conditional", nullptr, "need 2 tokens", ""},
        {"actionspot_conditional glassspot juicer_0", nullptr, nullptr, ""},
        {"sprite_repeat wall 0 0 7 101 1", nullptr, "more than 100 copies", ""},
        {"sprite wall 99999999999 -99999999999 2147483647", nullptr, nullptr, "2147483647 at 858993472, -858993472"},
    };
    for (const auto& row : kRows) {
        const size_t nLogBefore = m_files.logText().size();
        std::string sError;
        try {
            readWith(row.szLine);
        } catch (const Zep::Exception& e) {
            sError = e.getMessage();
        }
        EXPECT_EQ(sError, row.szError ? row.szError : "") << row.szLine;
        const std::string sLog = m_files.logText().substr(nLogBefore);
        const std::string sCause = row.szCause ? row.szCause : "";
        const std::string sLogged = sCause.empty() ? "" : "B: Scene t.scene, line 6 : " + sCause + "; line skipped\n";
        EXPECT_EQ(sLog, sLogged) << row.szLine;
        const Zep::List<Zep::SmartPtr<Sprite>>& lSprites = m_pPreview->getSprites();
        // The strip, the two sprites before the line, then the line's, then z 100 unless it raised.
        std::string sMade = previewtest::depths(lSprites, 12, false);
        if (!row.szError) {
            ASSERT_EQ(lSprites.getLast()->getZOrder(), 100) << row.szLine;
            sMade = sMade.substr(0, sMade.size() - std::min<size_t>(sMade.size(), 4));
        }
        if (sMade == "17") sMade += lSprites.get(12)->getImage().isNULL() ? " (no picture)" : " (a picture)";
        if (sMade == "2147483647") {
            const Point at = lSprites.get(12)->getPosition();
            sMade += " at " + std::to_string(int(at.x)) + ", " + std::to_string(int(at.y));
        }
        EXPECT_EQ(sMade, row.szMade) << row.szLine;
        EXPECT_EQ(previewtest::depths(lSprites, 10, false).substr(0, 5), "13 10") << row.szLine;
    }
}

TEST_F(HostilePreview, TheSpriteLimitSkipsTheLinesAboveIt) {
    std::string sScene = "image wall\n";
    for (int i = 0; i < 20; ++i) sScene += "sprite_repeat wall 0 0 0 100 1\n";
    m_pFiles->add("t.scene", testkit::resource(sScene));
    BarPreview preview(m_app, 8, previewtest::levels("0000000010000"));
    preview.read("t");
    EXPECT_EQ(preview.getSprites().getCount(), 10 + 1900);
    const std::string sLog = m_files.logText();
    EXPECT_EQ(sLog.substr(sLog.find("B: ")), "B: Scene t.scene, line 21 : more than 2000 sprites; line skipped\n");
}

TEST(SceneLines, LinesTokensAndNumbersAreReadFromTheirLeadingCharacters) {
    const Zep::List<scenelines::Line> lLines = scenelines::splitLines("a\n\n  # c\nB c\t\td \r\n#x\ne#f\r\n\r");
    ASSERT_EQ(lLines.getCount(), 3);
    EXPECT_EQ(lLines[1].nNumber, 4);
    EXPECT_EQ(lLines[1].lTokens.join("|"), "b|c|d");
    EXPECT_EQ(lLines[2].nNumber, 6);
    EXPECT_EQ(lLines[2].lTokens.join("|"), "e");
    const struct {
        const char* szToken;
        int32_t nInt;
        float fDecimal;
    } kNumbers[] = {
        {"12abc", 12, 12.0f},         {"-7", -7, -7.0f},        {"+3.5", 3, 3.5f},
        {".5", 0, 0.5f},              {"-1e2x", -1, -100.0f},   {"2e", 2, 2.0f},
        {"e5", 0, 0.0f},              {"nan", 0, 0.0f},         {"0x10", 0, 0.0f},
        {"", 0, 0.0f},                {"-", 0, 0.0f},           {"99999999999", INT_MAX, 99999999999.0f},
        {"-99999999999", INT_MIN, -99999999999.0f}, {"1e999", 1, FLT_MAX}, {"-1e999", -1, -FLT_MAX},
    };
    for (const auto& number : kNumbers) {
        EXPECT_EQ(scenelines::readInt(number.szToken), number.nInt) << number.szToken;
        EXPECT_EQ(scenelines::readFloat(number.szToken), number.fDecimal) << number.szToken;
    }
}
