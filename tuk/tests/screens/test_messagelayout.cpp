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

const std::string kPath = "/home/ann/.local/share/Halvorn/TukHarbor/tukconfig.dat";
const std::string kEllipsis = "\xE2\x80\xA6";

class DemoMessages : public democontent::DemoContentTest {
protected:
    void TearDown() override {
        if (m_pShown) m_pShown->endMode();
        m_app.deleteEndedModes();
        DemoContentTest::TearDown();
    }
    // The message pushed (the one before ended); its text's label.
    Label& show(const std::string& sText) {
        if (m_pShown) m_pShown->endMode();
        m_app.deleteEndedModes();
        m_pShown = new DlgMessage(nullptr, sText.c_str(), 0);
        m_app.pushMode(m_pShown);
        return *dynamic_cast<Label*>(m_pShown->getBodyTable()->getContent(0, 0, 0).get());
    }
    std::string notice(const char* szFirst, const std::string& sPath, const char* szLast) {
        return std::string(m_app.getText(szFirst)) + "\n" + sPath + "\n" + m_app.getText(szLast);
    }

    DlgMessage* m_pShown = nullptr;
};

// "/home/ann/" and "/Halvorn/TukHarbor/tukconfig.dat" round folders of
// old backups, 3,000 bytes in all.
std::string pathOf3000Bytes() {
    std::string sMiddle;
    for (int n = 0; sMiddle.size() < 2900; ++n) sMiddle += "backups-of-the-old-laptop-" + std::to_string(n) + "/";
    const std::string sEnd = "Halvorn/TukHarbor/tukconfig.dat";
    return "/home/ann/" + sMiddle + std::string(3000 - 10 - sMiddle.size() - sEnd.size() - 1, 'x') + "/" + sEnd;
}

}  // namespace

// The dialog and its frame stand on the screen; the path keeps its start
// and its end, whole folders, with "/…/" between them.
TEST_F(DemoMessages, APathTooLongForTheScreenIsShortenedInItsMiddleAndTheDialogStaysOnIt) {
    const std::string sPath = pathOf3000Bytes();
    ASSERT_EQ(sPath.size(), 3000u);
    const std::string sFirst = m_app.getText("BSD_NotRead"), sLast = m_app.getText("BSD_Defaults");
    const std::string sShown = show(notice("BSD_NotRead", sPath, "BSD_Defaults")).getText().c_str();
    Table& frameTable = *m_pShown->getTable()->getFrame();
    int x = 0, y = 0;
    frameTable.getPosition(&x, &y);
    const Rect frame(x, y, x + frameTable.getWidth(), y + frameTable.getHeight());
    EXPECT_TRUE(democontent::contains(Rect(0, 0, 800, 600), frame)) << describe(frame);
    const Rect ok = dynamic_cast<Button&>(*m_pShown->getButtonTable()->getContent(0, 0, 0)).getBoundingRect();
    EXPECT_TRUE(democontent::contains(frame, ok)) << describe(ok) << " in " << describe(frame);
    ASSERT_EQ(sShown.rfind(sFirst + "\n", 0), 0u) << sShown;
    ASSERT_EQ(sShown.substr(sShown.size() - sLast.size() - 1), "\n" + sLast);
    const std::string sShort = sShown.substr(sFirst.size() + 1, sShown.size() - sFirst.size() - sLast.size() - 2);
    const size_t nCut = sShort.find("/" + kEllipsis + "/");
    ASSERT_NE(nCut, std::string::npos) << sShort;
    const std::string sHead = sShort.substr(0, nCut + 1), sTail = sShort.substr(nCut + 1 + kEllipsis.size());
    EXPECT_EQ(sPath.rfind(sHead, 0), 0u) << sHead;
    EXPECT_EQ(sPath.substr(sPath.size() - sTail.size()), sTail);
    EXPECT_GT(sHead.size(), std::string("/home/ann/").size()) << sShort;
    EXPECT_GT(sTail.size(), std::string("/Halvorn/TukHarbor/tukconfig.dat").size()) << sShort;
}

// Every notice about the settings file: no sentence that takes two lines or
// more leaves a word alone on its last line; the one that told a file left
// in place ended on "untouched:" alone.
TEST_F(DemoMessages, TheNoticesSentencesStandOnBalancedLines) {
    const struct {
        const char* szFirst;
        const char* szLast;
    } kNotices[] = {{"NSD_NoRoom", "NSD_PlayOn"}, {"NSD_NameTaken", "NSD_PlayOn"}, {"NSD_NoRight", "NSD_PlayOn"},
                    {"NSD_Failed", "NSD_PlayOn"}, {"BSD_NotRead", "BSD_Defaults"}, {"BSD_LeftAlone", "BSD_NotKept"}};
    for (const auto& n : kNotices) {
        std::vector<std::vector<std::string>> vParagraphs(1);
        std::string sLines;
        for (const Zep::String& sLine : show(notice(n.szFirst, kPath, n.szLast)).getLines()) {
            vParagraphs.back().push_back(sLine.trim().c_str());
            sLines += vParagraphs.back().back() + "|";
            if (sLine.length() > 0 && sLine[-1] == '\n') vParagraphs.emplace_back();
        }
        for (const std::vector<std::string>& vLines : vParagraphs)
            EXPECT_TRUE(vLines.size() < 2 || vLines.back().find(' ') != std::string::npos) << sLines;
        if (std::string(n.szFirst) == "BSD_LeftAlone")
            EXPECT_EQ(sLines, "Your saved settings could not be read.|The file was left where it is, untouched:|" +
                                  kPath + "|The game starts with new settings, but nothing|" +
                                  "you change is kept while that file is there.|");
    }
}

// "Bought!", the store's purchase: its letters' middle is the dialog's.
TEST_F(DemoMessages, AShortMessageStandsInTheMiddleOfItsDialog) {
    const Label& text = show(m_app.getText("UPG_Upgraded"));
    const Rect ink = democontent::opaqueBox(text), inside = democontent::frameInside(*m_pShown->getTable());
    EXPECT_NEAR(ink.getLeft() + ink.getRight(), inside.getLeft() + inside.getRight(), 4)
        << describe(ink) << " in " << describe(inside);
}
