// A label of parts with one counting number (changinglabel.h).
#include "screens/changinglabel.h"

#include <cstdlib>

ChangingLabel::ChangingLabel(std::initializer_list<const char*> lParts, int nValueIndex)
    : m_nValueIndex(nValueIndex) {
    for (const char* szPart : lParts) m_lParts.add(Zep::String(szPart));
}

void ChangingLabel::setValue(const Zep::String& sText) {
    m_lParts[m_nValueIndex] = sText;
    if (m_pLabel.notNULL()) m_pLabel->setText(getText().c_str());
}

int ChangingLabel::getIntValue() const { return static_cast<int>(std::strtol(getValue().c_str(), nullptr, 10)); }

Zep::String ChangingLabel::getText() const {
    Zep::String sText;
    for (const Zep::String& sPart : m_lParts) sText += sPart;
    return sText;
}
