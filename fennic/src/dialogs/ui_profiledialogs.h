// The player-profile screens: SelectProfileDialog (a scrolling list of the
// profiles with Select, Delete, Cancel and a create-new row),
// CreateProfileDialog (a name entry), DeleteProfileDialog (a confirmation),
// MainMenuProfileManager (makes sure a current profile exists when the main
// menu starts) and the guard __CleanupTempImages.
//
// Everything here compares profile keys: the display name trimmed and lower-
// cased. The setting "CurrentPlayerName" holds the current key (empty: none).
// "New player" in a full list (ProfileManager::isFull) creates nothing: a
// message (the text of "SPD_ListFull") asks the player to delete a profile;
// with stored profiles kept aside, the text of "SPD_ListFullKept" follows.
// Only Select and Cancel of the list write that setting and save the profiles
// and the settings file; creating and deleting change the manager only, so a
// dialog path that ends in neither leaves the stored state as it was.
//
// Inconsistent profile state is an assertion failure
// (Zep::AssertFailException). The opener must make sure that the setting is
// empty or names a profile before the list is opened (checkCurrentProfile).
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

#include "dialogs/ui_dialog.h"
#include "ui/ui_editbox.h"

class ProfileManager;
class Sample;

// While it lives, notes the cached images; when it ends, releases from the
// cache every image added meanwhile (the sprites that use them keep them).
class __CleanupTempImages {
public:
    __CleanupTempImages();
    virtual ~__CleanupTempImages();
    __CleanupTempImages(const __CleanupTempImages&) = delete;
    __CleanupTempImages& operator=(const __CleanupTempImages&) = delete;

private:
    Zep::List<Zep::String> m_lNames;
};

class SelectProfileDialog : public DialogMode {
public:
    enum {
        kSelect = 1, kDelete = 2, kCancel = 3, kDeleteConfirmed = 4, kScrollUp = 5, kScrollDown = 6,
        kCreateNew = 7, kFirstRow = 8
    };
    static constexpr int kDoubleClickMs = 300;

    SelectProfileDialog(ProfileManager* pManager, int nFlags);
    ~SelectProfileDialog() override;

    void setFlags(int nFlags) { m_nFlags = nFlags; }
    void setRowCount(int nRows) { m_nRowCount = nRows; }

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onEnd() override;
    void onResume() override;
    bool onMouseDown(int nButtonMask, int x, int y) override;
    // Base: nothing. After every refresh on resuming and after scrolling.
    virtual void onListChanged() {}
    virtual void openCreateDialog(ProfileManager* pManager, bool bCancelAllowed);
    virtual void openDeleteDialog(const char* szDisplayName);

    bool isNameAvailable(const Zep::String& sName) const;
    void onProfileCreated(const Zep::String& sName);
    void scrollTo(int nFirst);
    void refreshList();
    // The manager's keys, sorted by byte value when bit 0 of the flags is set.
    void getProfileNames(Zep::List<Zep::String>& lOut) const;

    const Zep::String& getSelectedProfile() const { return m_sSelProfile; }
    int getTop() const { return m_nTop; }
    const Zep::List<Zep::SmartPtr<ToggleButton>>& getRows() const { return m_lItems; }
    Zep::SmartPtr<Button> getUpButton() const { return m_pUpButton; }
    Zep::SmartPtr<Button> getDownButton() const { return m_pDownButton; }

private:
    void buildList(Zep::SmartPtr<Table> pOuter);
    void buildScrollButtons(Zep::SmartPtr<Table> pOuter);
    void buildButtons();
    Zep::SmartPtr<Button> addButton(Zep::SmartPtr<Table> pTable, const char* szKey, int nId, int nAlign);
    void onCreateNew();
    void onCancel();
    void onSelect();
    void onRowClicked(int nId);
    void onDeleteConfirmed();
    void scrollBy(int nStep);
    static void showScrollButton(Button& button, bool bCanAct);
    int clampTop(int nTop) const;
    // Profiles and settings file saved, the dialog ended.
    void saveAndEnd();

    ProfileManager* m_pManager;  // not owned
    int32_t m_nRowCount = 5;
    Zep::List<Zep::SmartPtr<ToggleButton>> m_lItems;
    Zep::SmartPtr<Button> m_pUpButton;
    Zep::SmartPtr<Button> m_pDownButton;
    int32_t m_nMaxTop = 0;
    int32_t m_nTop = 0;
    Zep::String m_sSelProfile;
    int32_t m_nSelIndex = -1;
    bool m_bScrollToSelection = true;
    int32_t m_nFlags;
    int32_t m_nLastClickTicks = 0;
};

// The name is typed into a field of its own: the name and its caret stay
// inside it, and a key refused because the field is full plays the sample
// that the optional text "CPD_FullSound" names.
class CreateProfileDialog : public DialogMode {
public:
    enum { kOk = 0, kCancel = 1, kEdited = 2 };
    static constexpr int kMaxNameLength = 20;
    static constexpr int kMaxNameWidth = 200;

    CreateProfileDialog(ProfileManager* pManager, SelectProfileDialog* pSelectDialog);
    ~CreateProfileDialog() override;

    void setCancelAllowed() { m_bCancelAllowed = false; }
    bool isCancelAllowed() const { return m_bCancelAllowed; }
    Zep::SmartPtr<EditBox> getEditBox() const { return m_pEditBox; }
    Zep::SmartPtr<Button> getOkButton() const { return m_pOkButton; }

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    void onResume() override;
    bool onKeyDown(int nKey, int nModifiers) override;
    // A press over nothing takes the focus from the box (the mode's rule);
    // the box is the dialog's only field, so it gets the keys back at once,
    // with its caret where it was.
    bool onMouseDown(int nButtonMask, int x, int y) override;

private:
    void loadKeySounds();
    void buildEditBox();
    void applyNameRules();
    void setEditBoxBackground();
    void fitTextToField();
    void buildButtons();

    bool m_bCancelAllowed = true;
    Zep::SmartPtr<EditBox> m_pEditBox;
    Zep::SmartPtr<Button> m_pOkButton;
    SelectProfileDialog* m_pSelectDialog;  // not owned, may be null
    ProfileManager* m_pManager;            // not owned
    Zep::List<Zep::SmartPtr<Sample>> m_lKeySounds;
};

class DeleteProfileDialog : public DialogMode {
public:
    enum { kConfirm = 0, kCancel = 1 };

    DeleteProfileDialog(ICallbackTarget* pNotify, const char* szDisplayName);
    ~DeleteProfileDialog() override;

    void onCallback(int nId, void* pData) override;
    void onEnter() override;
    bool onKeyDown(int nKey, int nModifiers) override;

private:
    Zep::String m_sName;
    ICallbackTarget* m_pNotify;  // not owned
};

class MainMenuProfileManager {
public:
    explicit MainMenuProfileManager(ProfileManager* pManager);
    virtual ~MainMenuProfileManager();
    MainMenuProfileManager(const MainMenuProfileManager&) = delete;
    MainMenuProfileManager& operator=(const MainMenuProfileManager&) = delete;

    // New dialogs, not pushed; the caller owns them until it pushes them.
    virtual CreateProfileDialog* openCreateDialog();
    virtual SelectProfileDialog* openSelectDialog();
    ProfileManager* getManager() const { return m_pManager; }
    Zep::String getCurrentName() const { return m_sCurrentName; }
    // 2: nothing changed; 1: the current profile changed (also after falling
    // back to the first profile); 0: no profile exists and the create dialog
    // (without Cancel) was pushed.
    int checkCurrentProfile();

private:
    ProfileManager* m_pManager;  // not owned
    Zep::String m_sCurrentName;
};
