// The ready-made standard dialogs, each built in its onEnter on the dialog
// base with the modes below paused:
//
// StartAgainDlg: title "SAD_Title", the theme's long separator, "SAD_MainText"
// (its lines centred and, when it wraps, as even as its words allow: the
// narrowest wrap width that keeps its line count), the extra-content hook,
// the buttons "SAD_Continue" (answer 2), "SAD_StartNew" (1) and "SAD_Cancel"
// (0) in style "SAD_ButtonStyle" when the string table has it, and the extra
// text in a seventh row when given. An answer ends the dialog, then sends
// the caller's id for it. Escape answers Cancel but is reported not
// consumed. The extra text is copied when built.
//
// GamePausedDlg: "GPD_Title", the caller's text centred (when not blank), the
// image "separator" and "GPD_Text"; it ends on a key or a click as configured
// and keeps its table shown when it ends.
//
// ExitConfirmMode: the text of "ECD_QueryExit%d" for rand() modulo the query
// count (a count below 1 counts as 1), "yes" (0) and "no" (1). Return, Space
// and keypad Enter confirm. Confirming pushes the follow-up mode (the dialog
// stays below it) or quits with 0; cancelling deletes the follow-up mode,
// clears the application's quit-dialog flag and ends the dialog. A follow-up
// mode never pushed is deleted with the dialog.
#pragma once

#include <memory>

#include <zep2/str.h>

#include "dialogs/ui_dialog.h"

class StartAgainDlg : public DialogMode {
public:
    enum { kCancel = 0, kStartNew = 1, kContinue = 2 };

    StartAgainDlg(ICallbackTarget* pTarget, int nCancelId, int nStartNewId, int nContinueId, const char* szExtraText);
    ~StartAgainDlg() override;

    void onCallback(int nAnswer, void* pData) override;
    void onEnter() override;
    bool onKeyDown(int nKey, int nModifiers) override;
    // Base: nothing.
    virtual void addExtraContent(Zep::SmartPtr<Table> pTable);

private:
    void addAnswerButton(const char* szKey, int nAnswer);
    static void centreLines(Label& question);

    int32_t m_nCancelId;
    int32_t m_nStartNewId;
    int32_t m_nContinueId;
    ICallbackTarget* m_pTarget;  // not owned
    bool m_bHasExtraText;
    Zep::String m_sExtraText;
};

class GamePausedDlg : public DialogMode {
public:
    GamePausedDlg(const char* szText, bool bCloseOnKey, bool bCloseOnClick);
    ~GamePausedDlg() override;

    void onEnter() override;
    void onEnd() override {}
    bool onKeyDown(int nKey, int nModifiers) override;
    bool onMouseDown(int nButtonMask, int x, int y) override;

private:
    bool m_bCloseOnKey;
    bool m_bCloseOnClick;
    Zep::String m_sText;
};

class ExitConfirmMode : public DialogMode {
public:
    explicit ExitConfirmMode(int nQueryCount);
    ~ExitConfirmMode() override;

    // Owned by the dialog until pushed; replaces (deletes) one held before.
    void setFollowUpMode(GameMode* pMode) { m_pFollowUpMode.reset(pMode); }
    GameMode* getFollowUpMode() const { return m_pFollowUpMode.get(); }

    void onCallback(int nAnswer, void* pData) override;
    void onEnter() override;
    bool onKeyDown(int nKey, int nModifiers) override;
    virtual void onConfirm();
    virtual void onCancel();

private:
    void addAnswerButton(const char* szCaption, int nAnswer);

    int32_t m_nQueryCount;
    std::unique_ptr<GameMode> m_pFollowUpMode;
};
