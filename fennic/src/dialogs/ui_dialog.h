// Dialog modes: a mode pushed over the running screen that dims what lies
// below, shows a framed content table centred on the screen and takes all
// input while on top (the modes below never get input; they are drawn, and
// updated only when the dialog does not pause them).
//
// DialogMode lays its table out each time it becomes the top mode: measured
// where it stands, moved to the integer halves of the screen's spare room
// (a table taller than the screen: its bottom on the screen's bottom, so its
// buttons stay on it), shown, then measured once more for contents that were
// measured hidden. An ended dialog hides its table; its sprites stay in its
// layers until the mode is freed. Texts wider than the wrap width (500 unless
// set) are wrapped in balanced lines (ui_balancedlines.h), so the label is
// no wider than its lines need; a word wider than the line (a path) breaks
// after a "/" or, failing that, between two characters (ui_wordbreak.h), so
// the dialog grows by lines and every character shows. Only a text that
// fitTextHeight keeps within a height loses characters: its widest word is
// shortened in its middle.
//
// CommonDialog: a body table over a row of buttons, and four answers named
// by the buttons' callback ids (1 OK, 2 Yes, 3 Cancel, 4 No). An answer ends
// the dialog first, then tells the notify target its stored id (nothing for
// -1). Enter answers Yes, else OK; Escape Cancel, else No; either is
// consumed only when it answered. The keypad's Enter is not Enter here.
// DlgYesNo ("yes", "no") is complete when built; DlgMessage ("ok") builds its
// content when pushed, its text wrapped in balanced lines at 600 whatever
// its width, and a path in it too long for the screen shortened in its
// middle ("/home/ann/…/TukHarbor/tukconfig.dat") so that the whole dialog
// stays on the screen. The text of either stands centred above the
// buttons when they (or the frame) make the dialog wider than it.
#pragma once

#include <zep2/str.h>

#include "sprite/gamemode.h"
#include "ui/ui_button.h"
#include "ui/ui_label.h"
#include "ui/ui_table.h"

class DialogMode : public GameMode {
public:
    explicit DialogMode(bool bPauseBelow);
    ~DialogMode() override;

    // start: the 0.5 dimmer. end: hides the table. Becoming top: the cursor
    // shown, then layout.
    void onEnter() override { start(); }
    void onEnd() override { end(); }
    void onResume() override { onBecameTop(); }
    virtual void start();
    virtual void end();
    virtual void onBecameTop();

    void setTextWrapWidth(int nWidth) { m_nTextWrapWidth = nWidth; }
    int getTextWrapWidth() const { return m_nTextWrapWidth; }
    void setTextFont(Zep::SmartPtr<Font> pFont) { m_pTextFont = pFont; }
    void setFrameStyle(const char* szStyle) { m_pTable->setFrameStyle(szStyle); }

    virtual Zep::SmartPtr<Table> getTable() { return m_pTable; }
    // The flag is not used; callers pass 1.
    virtual void layout(int nFlag);
    virtual void addSprite(Zep::SmartPtr<Table> pTable, Zep::SmartPtr<Image> pImage, int nAlign);
    virtual void addImage(Zep::SmartPtr<Table> pTable, const char* szImageName, int nAlign);
    virtual void addSpriteToTable(Zep::SmartPtr<Image> pImage, int nAlign) { addSprite(m_pTable, pImage, nAlign); }
    virtual void addImageToTable(const char* szImageName, int nAlign) { addImage(m_pTable, szImageName, nAlign); }
    virtual Zep::SmartPtr<Label> addText(Zep::SmartPtr<Table> pTable, const char* szText, int nAlign);
    virtual Zep::SmartPtr<Label> addTextToTable(const char* szText, int nAlign) { return addText(m_pTable, szText, nAlign); }
    // An image when one of that name exists (null result), else the key's text.
    virtual Zep::SmartPtr<Label> addTextOrImage(Zep::SmartPtr<Table> pTable, const char* szKey, int nAlign);
    virtual Zep::SmartPtr<Label> addTextOrImageToTable(const char* szKey, int nAlign) {
        return addTextOrImage(m_pTable, szKey, nAlign);
    }
    using GameMode::addSprite;

protected:
    // How much taller the table may grow, its frame included, and still fit
    // the screen's height, as its contents stand now (measured); INT_MAX
    // without an application or a screen.
    int getRoomOnScreen();
    // A label (wrapped in balanced lines at nWrapWidth) taller than
    // nMaxHeight gets the widest word of its text shortened in its middle
    // (ui_wordbreak.h), as little as brings it within (to a tenth of a
    // line's width), but not below one line's width; the label's text
    // becomes the shortened one. A label within nMaxHeight stays as it is.
    void fitTextHeight(Label& label, int nWrapWidth, int nMaxHeight);

private:
    Zep::SmartPtr<Table> m_pTable;
    int32_t m_nTextWrapWidth = 500;
    Zep::SmartPtr<Font> m_pTextFont;
};

class CommonDialog : public DialogMode {
public:
    enum { kOk = 1, kYes = 2, kCancel = 3, kNo = 4 };

    explicit CommonDialog(ICallbackTarget* pNotify);
    ~CommonDialog() override;

    void onCallback(int nId, void* pData) override;
    bool onKeyDown(int nKey, int nModifiers) override;
    // Each in a row of its own in the body.
    void addImageToTable(const char* szImageName, int nAlign) override;
    Zep::SmartPtr<Label> addTextToTable(const char* szText, int nAlign) override;

    virtual void onYes() { answer(m_nYesId); }
    virtual void onNo() { answer(m_nNoId); }
    virtual void onOk() { answer(m_nOkId); }
    virtual void onCancel() { answer(m_nCancelId); }
    virtual Zep::SmartPtr<Table> getBodyTable() { return m_pBodyTable; }
    virtual Zep::SmartPtr<Table> getButtonTable() { return m_pButtonTable; }
    // A control of the dialog (unless it already holds it), in a new cell of
    // the button row.
    virtual void addButton(Zep::SmartPtr<Button> pButton);

    void setYesId(int nId) { m_nYesId = nId; }
    void setNoId(int nId) { m_nNoId = nId; }
    void setOkId(int nId) { m_nOkId = nId; }
    void setCancelId(int nId) { m_nCancelId = nId; }

protected:
    // A new button of that caption and answer, a control of the dialog.
    void addAnswerButton(const char* szCaption, int nAnswer);

private:
    void answer(int nStoredId);

    int32_t m_nYesId = -1;
    int32_t m_nNoId = -1;
    int32_t m_nOkId = -1;
    int32_t m_nCancelId = -1;
    ICallbackTarget* m_pNotifyTarget;  // not owned
    Zep::SmartPtr<Table> m_pBodyTable;
    Zep::SmartPtr<Table> m_pButtonTable;
};

class DlgYesNo : public CommonDialog {
public:
    DlgYesNo(ICallbackTarget* pNotify, const char* szText, int nYesId, int nNoId);
    ~DlgYesNo() override;
};

class DlgMessage : public CommonDialog {
public:
    DlgMessage(ICallbackTarget* pNotify, const char* szText, int nOkId);
    ~DlgMessage() override;
    void start() override;

private:
    Zep::String m_sText;
};
