// HowtoMode: the how-to-play pages, four full-screen pictures ("howto0" to
// "howto3": serving, the rest of the day, the juice machine, the adventure's
// score) shown one at a time over modes that are neither drawn nor updated.
//
// Every page lies in layer 0 beneath "sand_frame_back" tiles (every 44
// pixels, layer 5); the current page is lifted to layer 10. A row of
// buttons at (150, 550), layer 11: back ("HT_Back", id 0: ends the mode),
// previous ("HT_Previous", id 2) and next ("HT_Next", id 1), which move by
// one page within 0 to 3; previous is disabled on page 0 and next on page 3.
// The pictures and tiles are fetched with the image cache off, so they go
// with the mode.
#pragma once

#include <zep2/list.h>

#include "records/tukmode.h"
#include "ui/ui_button.h"
#include "ui/ui_table.h"

class HowtoMode : public TUKMode {
public:
    enum { kBackId = 0, kNextId = 1, kPreviousId = 2 };
    static constexpr int kPageCount = 4;
    static constexpr int kHiddenLayer = 0;
    static constexpr int kShownLayer = 10;

    HowtoMode();
    ~HowtoMode() override;

    void onEnter() override;
    void onCallback(int nId, void* pData) override;

    int getCurrentPage() const { return m_nCurrentPage; }
    Zep::SmartPtr<Sprite> getPage(int nPage) const { return m_lPages.get(nPage); }
    // 0 the previous button, 1 the next button.
    Zep::SmartPtr<Button> getPagingButton(int nIndex) const { return m_lPagingButtons.get(nIndex); }

private:
    Zep::SmartPtr<Button> addButton(const char* szKey, int nId);

    int32_t m_nCurrentPage = 0;
    Zep::List<Zep::SmartPtr<Sprite>> m_lPages;
    Zep::List<Zep::SmartPtr<Button>> m_lPagingButtons;
    Zep::SmartPtr<Table> m_pButtonTable;
};
