// The game's message dialogs over the demo content, in its theme's real
// fonts: a notice naming a path too long for the screen stays whole on it
// with the path shortened in its middle, the notices' sentences stand on
// balanced lines, and a short message stands in the middle of its dialog.
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "dialogs/ui_dialog.h"
#include "screens/democontent_util.h"

namespace {

using democontent::describe;

class DemoMessages : public democontent::DemoContentTest {
protected:
    // The label of the text of a message pushed over the others.
    Label& show(const std::string& sText) {
        m_pShown = new DlgMessage(nullptr, sText.c_str(), 0);
        m_app.pushMode(m_pShown);
        return *dynamic_cast<Label*>(m_pShown->getBodyTable()->getContent(0, 0, 0).get());
    }
    std::string notice(const char* szFirst, const std::string& sPath, const char* szLast) {
        return std::string(m_app.getText(szFirst)) + "\n" + sPath + "\n" + m_app.getText(szLast);
    }

    DlgMessage* m_pShown = nullptr;
};

}  // namespace

// 3,000 bytes of folders: the dialog's frame stands on the screen, and the
// path keeps its start and its end, in whole folders, round "/…/".
TEST_F(DemoMessages, APathTooLongForTheScreenIsShortenedInItsMiddleAndTheDialogStaysOnIt) {
    std::string sPath = "/home/ann/";
    for (int n = 0; sPath.size() < 2930; ++n) sPath += "backups-of-the-old-laptop-" + std::to_string(n) + "/";
    sPath += std::string(3000 - 32 - sPath.size(), 'x') + "/Halvorn/TukHarbor/tukconfig.dat";
    ASSERT_EQ(sPath.size(), 3000u);
    const std::string sShown = show(notice("BSD_NotRead", sPath, "BSD_Defaults")).getText().c_str();
    Table& frame = *m_pShown->getTable()->getFrame();
    int x = 0, y = 0;
    frame.getPosition(&x, &y);
    EXPECT_TRUE(x >= 0 && y >= 0 && x + frame.getWidth() <= 800 && y + frame.getHeight() <= 600) << x << " " << y;
    const size_t nFirst = sShown.find('\n') + 1, nCut = sShown.find("/\xE2\x80\xA6/"), nLast = sShown.rfind('\n');
    ASSERT_NE(nCut, std::string::npos) << sShown;
    EXPECT_EQ(notice("BSD_NotRead", "", "BSD_Defaults"), sShown.substr(0, nFirst) + sShown.substr(nLast));
    const std::string sHead = sShown.substr(nFirst, nCut + 1 - nFirst);
    const std::string sTail = sShown.substr(nCut + 4, nLast - nCut - 4);
    EXPECT_EQ(sPath.substr(0, sHead.size()), sHead);
    EXPECT_EQ(sPath.substr(sPath.size() - sTail.size()), sTail);
    EXPECT_TRUE(sHead.size() > 400 && sTail.size() > 400) << sHead << " " << sTail;
}

// No line of a notice holds one word alone but the path's; the one that
// told a file left in place ended on "untouched:" alone.
TEST_F(DemoMessages, TheNoticesSentencesStandOnBalancedLines) {
    const std::string sPath = "/home/ann/.local/share/Halvorn/TukHarbor/tukconfig.dat";
    const char* kNotices[][2] = {{"NSD_NoRoom", "NSD_PlayOn"}, {"NSD_NameTaken", "NSD_PlayOn"},
                                 {"NSD_NoRight", "NSD_PlayOn"}, {"NSD_Failed", "NSD_PlayOn"},
                                 {"BSD_NotRead", "BSD_Defaults"}, {"BSD_LeftAlone", "BSD_NotKept"}};
    for (const auto& n : kNotices) {
        const std::string sText = notice(n[0], sPath, n[1]);
        std::string sLines;
        for (const Zep::String& sLine : show(sText).getLines()) {
            const std::string s = sLine.trim().c_str();
            sLines += s + "|";
            const bool bParagraph = ("\n" + sText + "\n").find("\n" + s + "\n") != std::string::npos;
            EXPECT_TRUE(s.find(' ') != std::string::npos || bParagraph) << n[0] << ": " << s;
        }
        if (std::string(n[0]) == "BSD_LeftAlone") {
            EXPECT_EQ(sLines, "Your saved settings could not be read.|The file was left where it is, untouched:|" +
                                  sPath + "|The game starts with new settings, but nothing|" +
                                  "you change is kept while that file is there.|");
        }
    }
}

// "Bought!", the store's purchase: its letters' middle is the dialog's.
TEST_F(DemoMessages, AShortMessageStandsInTheMiddleOfItsDialog) {
    const Label& text = show(m_app.getText("UPG_Upgraded"));
    const Rect ink = democontent::opaqueBox(text), inside = democontent::frameInside(*m_pShown->getTable());
    EXPECT_NEAR(ink.getLeft() + ink.getRight(), inside.getLeft() + inside.getRight(), 4)
        << describe(ink) << " in " << describe(inside);
}
