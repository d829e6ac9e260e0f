// The how-to-play pages (howtomode.h).
#include "screens/howtomode.h"

#include <algorithm>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "screens/sandtiles.h"

namespace {

constexpr const char* kZepSource = ".\\src\\howtomode";

constexpr int kButtonAlign = 9;

}  // namespace

HowtoMode::HowtoMode() : TUKMode(1) {}

HowtoMode::~HowtoMode() = default;

void HowtoMode::onEnter() {
    ZEP_TRACE("HowtoMode::onEnter");
    DisableImageCache noCache;
    m_nCurrentPage = 0;
    for (int i = 0; i < kPageCount; ++i) {
        Zep::SmartPtr<Sprite> pPage = new Sprite(getImage(Zep::String::format("howto%d", i).c_str()), 0, 0,
                                                 kHiddenLayer);
        addSprite(pPage);
        m_lPages.add(pPage);
    }
    sandtiles::addTo(*this, 5);
    m_lPages[0]->setZOrder(kShownLayer);
    m_pButtonTable = new Table(this);
    addButton("HT_Back", kBackId);
    m_lPagingButtons.add(addButton("HT_Previous", kPreviousId));
    m_lPagingButtons.add(addButton("HT_Next", kNextId));
    m_lPagingButtons[0]->setEnabled(false);
    m_pButtonTable->setPosition(150, 550);
    m_pButtonTable->setZOrder(11);
}

Zep::SmartPtr<Button> HowtoMode::addButton(const char* szKey, int nId) {
    Zep::SmartPtr<Button> pButton = new Button(getText(szKey), nId);
    addControl(pButton.get());
    m_pButtonTable->newCell(1);
    m_pButtonTable->add(pButton.get(), kButtonAlign);
    return pButton;
}

void HowtoMode::onCallback(int nId, void*) {
    if (nId == kBackId) endMode();
    m_lPages[m_nCurrentPage]->setZOrder(kHiddenLayer);
    if (nId == kNextId) ++m_nCurrentPage;
    if (nId == kPreviousId) --m_nCurrentPage;
    m_nCurrentPage = std::clamp(m_nCurrentPage, 0, kPageCount - 1);
    m_lPagingButtons[0]->setEnabled(m_nCurrentPage != 0);
    m_lPagingButtons[1]->setEnabled(m_nCurrentPage != kPageCount - 1);
    m_lPages[m_nCurrentPage]->setZOrder(kShownLayer);
}
