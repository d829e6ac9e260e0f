// Radio options: one row of a choice, a check mark and beside it a text or a
// picture, both clickable.
//
// RadioCustomButton is a custom toggle button linked to a second toggle: its
// checked flag is handed on to the linked button when they differ, so two
// linked buttons stop after one exchange. RadioButton lays the check mark and
// the label button out as a two-cell table named "Radio::" + the text key or
// image name; both buttons join the owner mode at once, hit-test by their
// picture's rectangle and play no highlight sound. The check mark shows the
// unchecked picture when normal or hovered, the checked one when checked, and
// nothing when disabled. A click on either part toggles both and sends the
// option's id to the mode; RadioGroup::select then makes the choice exclusive
// (it fires nothing).
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

#include "text/font.h"
#include "ui/ui_button.h"
#include "ui/ui_table.h"

class RadioCustomButton : public CustomToggleButton {
public:
    RadioCustomButton(ToggleButton* pLinked, int nCallbackId, Zep::SmartPtr<Image> pNormal,
                      Zep::SmartPtr<Image> pPushed, Zep::SmartPtr<Image> pHighlight, Zep::SmartPtr<Image> pDisabled);
    ~RadioCustomButton() override;

    void setChecked(bool bChecked) override;
    void setLinked(ToggleButton* pLinked) { m_pLinked = pLinked; }

private:
    ToggleButton* m_pLinked;  // not owned; the option holds both buttons
};

class RadioButton : public Table {
public:
    RadioButton(GameMode* pOwner, Zep::SmartPtr<Image> pUnchecked, Zep::SmartPtr<Image> pChecked,
                const char* szTextOrImageName, int nCallbackId);
    // With the theme's radio images.
    RadioButton(GameMode* pOwner, const char* szTextOrImageName, int nCallbackId);
    ~RadioButton() override;

    // An option keeps the size of its contents.
    void setSize(int, int) override {}
    using Table::setSize;

    int getId() const;
    void setId(int nId);
    bool isChecked() const;
    // Fires no callback.
    void setChecked(bool bChecked);
    void setText(const char* szText);
    const Zep::String& getText() const { return m_sText; }
    void setFont(Zep::SmartPtr<Font> pFont);
    Zep::SmartPtr<RadioCustomButton> getCheck() const { return m_pCheck; }
    Zep::SmartPtr<RadioCustomButton> getLabelButton() const { return m_pLabelButton; }

private:
    void buildOption(Zep::SmartPtr<Image> pUnchecked, Zep::SmartPtr<Image> pChecked, const char* szName, int nId);
    Zep::SmartPtr<Image> placeholderPicture();

    Zep::SmartPtr<RadioCustomButton> m_pCheck;
    Zep::SmartPtr<RadioCustomButton> m_pLabelButton;
    Zep::SmartPtr<Font> m_pFont;
    Zep::String m_sText;
};

class RadioGroup : public Zep::List<Zep::SmartPtr<RadioButton>> {
public:
    // Checks exactly the options of that id; true when there is one.
    bool select(int nCallbackId);
};
