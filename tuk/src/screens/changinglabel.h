// ChangingLabel: a label whose text is built from parts, one of which is a
// number that counts (the end-of-day statistics). The shown text is always
// the concatenation of the parts in order.
#pragma once

#include <cstdint>
#include <initializer_list>

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "ui/ui_label.h"

class ChangingLabel : public Zep::RefCountedObject {
public:
    ChangingLabel(std::initializer_list<const char*> lParts, int nValueIndex);

    // Replaces the value part and sets the label's text (nothing without one).
    void setValue(const Zep::String& sText);
    // A copy of the value part.
    Zep::String getValue() const { return m_lParts.get(m_nValueIndex); }
    // Its leading decimal digits (with a sign) as an int; 0 when none.
    int getIntValue() const;
    Zep::String getText() const;

    void setLabel(const Zep::SmartPtr<Label>& pLabel) { m_pLabel = pLabel; }
    Zep::SmartPtr<Label> getLabel() const { return m_pLabel; }

private:
    Zep::List<Zep::String> m_lParts;
    int32_t m_nValueIndex;
    Zep::SmartPtr<Label> m_pLabel;
};
