// The screens over the build's demo content: the screen suites' application
// with the generated content folder read from disk (pictures, scripts, the
// scene, the string table), every sound of it known to the fake audio
// driver, and the game's theme "sand.theme" with its TrueType fonts; and the
// boxes the layout checks compare.
#pragma once

#include <filesystem>
#include <memory>
#include <string>

#include <gtest/gtest.h>

#include <zep2/error.h>
#include <zep2/resource.h>
#include <zep2/str.h>

#include "records/profileaccess.h"
#include "screens/screens_util.h"
#include "screens/democontent_files.h"
#include "driver/startup.h"
#include "ui/ui_table.h"

namespace democontent {

class DemoContentTest : public screentest::ScreenTest {
protected:
    // bArchives: read the packed archives rather than the content folder.
    explicit DemoContentTest(bool bArchives = false) : m_bArchives(bArchives) {}
    void SetUp() override {
        ScreenTest::SetUp();
        try {
            loadDemoContent(m_app, *m_pAudio, m_bArchives);
        } catch (const Zep::Exception& e) {
            FAIL() << e.getMessage();
        }
    }
    void TearDown() override {
        releaseProfileManager();
        unregisterTrueTypeFonts();
    }

private:
    bool m_bArchives;
};

inline std::string describe(const Rect& r) {
    return Zep::String::format("(%d, %d) - (%d, %d)", r.getLeft(), r.getTop(), r.getRight(), r.getBottom()).c_str();
}

inline bool contains(const Rect& outer, const Rect& inner) {
    return inner.getLeft() >= outer.getLeft() && inner.getTop() >= outer.getTop() &&
           inner.getRight() <= outer.getRight() && inner.getBottom() <= outer.getBottom();
}

// Where the table's frame is drawn, less the frame style's border: the
// room inside the rim.
inline Rect frameInside(Table& table, const char* szStyle = "") {
    const Zep::SmartPtr<Table> pFrame = table.getFrame();
    if (pFrame.isNULL()) return Rect();
    const Rect border = GameApp::getInstance()->getTheme()->getFrameBorder(szStyle);
    int x = 0, y = 0;
    pFrame->getPosition(&x, &y);
    return Rect(x + border.getLeft(), y + border.getTop(), x + pFrame->getWidth() - border.getRight(),
                y + pFrame->getHeight() - border.getBottom());
}

// The box of the sprite's picture that is not fully clear, where it is drawn.
inline Rect opaqueBox(const Sprite& sprite) {
    const Zep::SmartPtr<Image> pImage = sprite.getImage();
    const Rect drawn = sprite.getBoundingRect();
    if (pImage.isNULL()) return Rect();
    pImage->lock();
    int nLeft = pImage->getWidth(), nTop = pImage->getHeight(), nRight = 0, nBottom = 0;
    for (int y = 0; y < pImage->getHeight(); ++y)
        for (int x = 0; x < pImage->getWidth(); ++x)
            if (pImage->readPixel(x, y).getAlpha() != 0) {
                nLeft = std::min(nLeft, x), nTop = std::min(nTop, y);
                nRight = std::max(nRight, x + 1), nBottom = std::max(nBottom, y + 1);
            }
    pImage->unlock();
    if (nRight == 0) return Rect();
    return Rect(drawn.getLeft() + nLeft, drawn.getTop() + nTop, drawn.getLeft() + nRight, drawn.getTop() + nBottom);
}

}  // namespace democontent
