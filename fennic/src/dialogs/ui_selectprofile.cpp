// The profile list: rows of toggle buttons under a create-new button, two
// scroll buttons (and the wheel), Select, Delete and Cancel.
#include <zep2/error.h>

#include "application/gameapp.h"
#include "application/profiles.h"
#include "theme/theme.h"
#include "dialogs/ui_profiledialogs.h"

namespace {

constexpr const char* kZepSource = ".\\src\\selectprofile";
constexpr const char* kCurrentKey = "CurrentPlayerName";
constexpr const char* kListFullKey = "SPD_ListFull";
constexpr const char* kKeptAsideKey = "SPD_ListFullKept";
constexpr int kCentred = 0x24;
constexpr int kRight = 2;
constexpr int kButtonAlign = 9;
constexpr int kWheelUp = 8;
constexpr int kWheelDown = 16;

int clampTo(int n, int nLow, int nHigh) { return n < nLow ? nLow : (n > nHigh ? nHigh : n); }

Zep::String currentSetting(GameApp* pApp) { return pApp ? pApp->getSetting(kCurrentKey) : Zep::String(); }

}  // namespace

SelectProfileDialog::SelectProfileDialog(ProfileManager* pManager, int nFlags)
    : DialogMode(true), m_pManager(pManager), m_sSelProfile(currentSetting(GameApp::getInstance())), m_nFlags(nFlags) {}

SelectProfileDialog::~SelectProfileDialog() = default;

void SelectProfileDialog::onEnter() {
    __CleanupTempImages guard;
    start();
    // Title, the list with its scroll buttons, the answer buttons.
    getTable()->newRow();
    if (Zep::SmartPtr<Label> pTitle = addTextOrImageToTable(getText("SPD_SelectProfile"), kCentred); pTitle.notNULL())
        pTitle->setThemeFont("Theme::DialogTitle");
    Zep::SmartPtr<Table> pOuter = new Table(this);
    buildList(pOuter);
    buildScrollButtons(pOuter);
    getTable()->newRow();
    getTable()->add(pOuter.get(), kCentred);
    buildButtons();
}

void SelectProfileDialog::buildList(Zep::SmartPtr<Table> pOuter) {
    GameApp* pApp = getApp();
    Zep::SmartPtr<Theme> pTheme = pApp ? pApp->getTheme() : Zep::SmartPtr<Theme>();
    Zep::SmartPtr<Table> pList = new Table(this);
    if (pApp && pApp->hasText("SPD_ProfileNameSpacing"))
        pList->setRowSpacing(Zep::String::toInt(pApp->getText("SPD_ProfileNameSpacing")));
    if (pTheme.notNULL() && pTheme->hasFrameStyle("ListboxFrame")) pList->setFrameStyle("ListboxFrame");
    for (int i = 0; i <= m_nRowCount; ++i) {
        Zep::SmartPtr<Button> pButton;
        if (i == 0) {
            pButton = new Button(getText("SPD_CreateNew"), kCreateNew);
            const bool bStyled = pApp && pApp->hasText("SPD_CreateNew_BtnStyle");
            const char* szStyle = bStyled ? pApp->getText("SPD_CreateNew_BtnStyle") : nullptr;
            if (szStyle && pTheme.notNULL() && pTheme->hasButtonStyle(szStyle)) pButton->setStyle(szStyle);
        } else {
            // Rows keep this caption, hidden, until the list is refreshed.
            Zep::SmartPtr<ToggleButton> pRow = new ToggleButton("Foo", kCreateNew + i);
            if (pTheme.notNULL() && pTheme->hasButtonStyle("ListboxItem")) pRow->setStyle("ListboxItem");
            m_lItems.add(pRow);
            pButton = pRow.get();
        }
        addControl(pButton.get());
        pList->newRow();
        pList->add(pButton.get(), kCentred);
    }
    pOuter->add(pList.get(), kCentred);
}

void SelectProfileDialog::buildScrollButtons(Zep::SmartPtr<Table> pOuter) {
    Zep::SmartPtr<Theme> pTheme = getApp() ? getApp()->getTheme() : Zep::SmartPtr<Theme>();
    auto styleOf = [&](const char* szFirst) -> const char* {
        if (pTheme.isNULL()) return nullptr;
        if (pTheme->hasButtonStyle(szFirst)) return szFirst;
        return pTheme->hasButtonStyle("ListboxScrollBtn") ? "ListboxScrollBtn" : nullptr;
    };
    pOuter->newCell(1);
    Zep::SmartPtr<Table> pScroll = new Table(this);
    pScroll->setResizeFlags(0);
    pScroll->newRow();
    m_pUpButton = addButton(pScroll, "SPD_Up", kScrollUp, kRight);
    pScroll->newRow();
    m_pDownButton = addButton(pScroll, "SPD_Down", kScrollDown, kRight);
    if (const char* sz = styleOf("ListboxScrollBtnUp")) m_pUpButton->setStyle(sz);
    if (const char* sz = styleOf("ListboxScrollBtnDown")) m_pDownButton->setStyle(sz);
    pOuter->add(pScroll.get(), kCentred);
    pOuter->setCellFlags(1);
}

void SelectProfileDialog::buildButtons() {
    Zep::SmartPtr<Table> pButtons = new Table(this);
    pButtons->newCell(1);
    addButton(pButtons, "SPD_Select", kSelect, kButtonAlign);
    pButtons->newCell(1);
    addButton(pButtons, "SPD_Delete", kDelete, kButtonAlign);
    pButtons->newCell(1);
    addButton(pButtons, "SPD_Cancel", kCancel, kButtonAlign);
    getTable()->newRow();
    getTable()->add(pButtons.get(), kCentred);
}

Zep::SmartPtr<Button> SelectProfileDialog::addButton(Zep::SmartPtr<Table> pTable, const char* szKey, int nId,
                                                     int nAlign) {
    Zep::SmartPtr<Button> pButton = new Button(getText(szKey), nId);
    addControl(pButton.get());
    pTable->add(pButton.get(), nAlign);
    return pButton;
}

// Laid out with both scroll buttons shown, so that they keep their size
// while the refresh hides them.
void SelectProfileDialog::onResume() {
    m_pUpButton->setVisible(true);
    m_pDownButton->setVisible(true);
    onBecameTop();
    refreshList();
    onListChanged();
}

void SelectProfileDialog::getProfileNames(Zep::List<Zep::String>& lOut) const {
    lOut = m_pManager->getProfileNames();
    if (m_nFlags & 1) lOut.sortWith([](const Zep::String& a, const Zep::String& b) { return a < b; });
}

int SelectProfileDialog::clampTop(int nTop) const { return clampTo(nTop, 0, m_nMaxTop); }

void SelectProfileDialog::refreshList() {
    for (const Zep::SmartPtr<ToggleButton>& pRow : m_lItems) pRow->setVisible(false);
    Zep::List<Zep::String> lNames;
    getProfileNames(lNames);
    m_nSelIndex = lNames.indexOf(m_sSelProfile);
    if (m_nSelIndex == -1) {
        // No profile at all: one must be made, without Cancel.
        if (!m_sSelProfile.isEmpty()) ZEP_ASSERT(false);
        openCreateDialog(m_pManager, false);
        return;
    }
    m_nMaxTop = std::max(lNames.getCount() - m_nRowCount, 0);
    m_nTop = clampTop(m_nTop);
    if (m_bScrollToSelection) {
        m_bScrollToSelection = false;
        m_nTop = clampTop(m_nSelIndex);
        onListChanged();
    }
    showScrollButton(*m_pUpButton, m_nTop > 0);
    showScrollButton(*m_pDownButton, m_nTop < m_nMaxTop);
    for (int i = 0; i < m_nRowCount && m_nTop + i < lNames.getCount(); ++i) {
        const Zep::SmartPtr<ToggleButton>& pRow = m_lItems[i];
        pRow->setCaption(m_pManager->getProfile(lNames[m_nTop + i].c_str())->getName().c_str());
        pRow->setVisible(true);
        pRow->setChecked(m_nTop + i == m_nSelIndex);
    }
}

// A scroll button is there only while it can act: a list that fits its
// rows shows neither, and no grey button stands beside the names.
void SelectProfileDialog::showScrollButton(Button& button, bool bCanAct) {
    button.setEnabled(bCanAct);
    button.setVisible(bCanAct);
}

void SelectProfileDialog::onCallback(int nId, void*) {
    switch (nId) {
        case kCancel: onCancel(); break;
        case kSelect: onSelect(); break;
        case kCreateNew: onCreateNew(); break;
        case kScrollUp: scrollBy(-1); break;
        case kScrollDown: scrollBy(1); break;
        case kDelete: openDeleteDialog(m_pManager->getProfile(m_sSelProfile.c_str())->getName().c_str()); break;
        case kDeleteConfirmed: onDeleteConfirmed(); break;
        default:
            if (nId >= kFirstRow) onRowClicked(nId);
            break;
    }
}

// A full list makes no new profile: the player is told to delete one first,
// and, when stored profiles wait aside, that they take the places freed first.
void SelectProfileDialog::onCreateNew() {
    if (!m_pManager->isFull()) {
        openCreateDialog(m_pManager, true);
        return;
    }
    Zep::String sText = getText(kListFullKey);
    if (m_pManager->getKeptAsideCount() > 0) sText += Zep::String(" ") + getText(kKeptAsideKey);
    getApp()->pushMode(new DlgMessage(nullptr, sText.c_str(), -1));
}

// A valid current profile stays current; otherwise the selection (or the first profile) becomes it.
void SelectProfileDialog::onCancel() {
    GameApp* pApp = getApp();
    if (!m_pManager->hasProfile(pApp->getSetting(kCurrentKey).c_str())) {
        if (!m_pManager->hasProfile(m_sSelProfile.c_str())) {
            Zep::List<Zep::String> lProfiles;
            getProfileNames(lProfiles);
            ZEP_ASSERT(!lProfiles.isEmpty());
            m_sSelProfile = lProfiles.getFirst();
        }
        if (!m_pManager->hasProfile(m_sSelProfile.c_str()))
            ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_pManager->hasProfile(m_sSelProfile)");
        pApp->setSetting(kCurrentKey, m_sSelProfile.c_str());
    }
    saveAndEnd();
}

void SelectProfileDialog::onSelect() {
    ZEP_ASSERT(!m_sSelProfile.isEmpty());
    getApp()->setSetting(kCurrentKey, m_sSelProfile.c_str());
    if (!m_pManager->hasProfile(m_sSelProfile.c_str()))
        ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_pManager->hasProfile(m_sSelProfile)");
    saveAndEnd();
}

void SelectProfileDialog::saveAndEnd() {
    m_pManager->save();
    getApp()->trySaveSettingsFile();
    endMode();
}

// Selects the row's profile; a second click on it within the double-click time selects and ends.
void SelectProfileDialog::onRowClicked(int nId) {
    const int nPrevious = m_nSelIndex;
    int nRow = -1;
    for (int i = 0; i < m_lItems.getCount() && nRow < 0; ++i)
        if (m_lItems[i]->getCallbackId() == nId) nRow = i;
    Zep::List<Zep::String> lNames;
    getProfileNames(lNames);
    if (nRow >= 0 && m_nTop + nRow < lNames.getCount()) {
        for (int i = 0; i < m_lItems.getCount(); ++i) m_lItems[i]->setChecked(i == nRow);
        m_nSelIndex = m_nTop + nRow;
        m_sSelProfile = lNames[m_nSelIndex];
    }
    const int nNow = getApp()->getTicks();
    const bool bDouble = m_nSelIndex == nPrevious && nNow - m_nLastClickTicks < kDoubleClickMs;
    m_nLastClickTicks = nNow;
    if (bDouble) onCallback(kSelect, nullptr);
}

// The neighbour that took the deleted profile's place (or the new last one) is selected.
void SelectProfileDialog::onDeleteConfirmed() {
    m_pManager->deleteProfile(m_sSelProfile.c_str());
    Zep::List<Zep::String> lNames;
    getProfileNames(lNames);
    m_nSelIndex = clampTo(m_nSelIndex, 0, lNames.getCount() - 1);
    m_sSelProfile = m_nSelIndex >= 0 && m_nSelIndex < lNames.getCount() ? lNames[m_nSelIndex] : Zep::String();
}

void SelectProfileDialog::scrollBy(int nStep) {
    m_nTop = clampTop(m_nTop + nStep);
    refreshList();
    onListChanged();
}

void SelectProfileDialog::scrollTo(int nFirst) {
    m_nTop = clampTop(nFirst);
    refreshList();
    onListChanged();
}

bool SelectProfileDialog::onMouseDown(int nButtonMask, int x, int y) {
    if (nButtonMask == kWheelUp || nButtonMask == kWheelDown) {
        onCallback(nButtonMask == kWheelUp ? kScrollUp : kScrollDown, nullptr);
        return true;
    }
    return GameMode::onMouseDown(nButtonMask, x, y);
}

void SelectProfileDialog::onEnd() {
    if (!m_pManager->hasProfile(m_sSelProfile.c_str()))
        ZEP_THROW(Zep::AssertFailException, "Assertion failed : m_pManager->hasProfile(m_sSelProfile)");
}

void SelectProfileDialog::openCreateDialog(ProfileManager* pManager, bool bCancelAllowed) {
    CreateProfileDialog* pDialog = new CreateProfileDialog(pManager, this);
    if (!bCancelAllowed) pDialog->setCancelAllowed();
    getApp()->pushMode(pDialog);
}

void SelectProfileDialog::openDeleteDialog(const char* szDisplayName) {
    getApp()->pushMode(new DeleteProfileDialog(this, szDisplayName));
}

bool SelectProfileDialog::isNameAvailable(const Zep::String& sName) const {
    const Zep::String sKey = sName.trim().toLower();
    return !sKey.isEmpty() && !m_pManager->hasProfile(sKey.c_str());
}

void SelectProfileDialog::onProfileCreated(const Zep::String& sName) {
    m_sSelProfile = sName.trim().toLower();
    m_bScrollToSelection = true;
}
