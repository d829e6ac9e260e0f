#include "color.h"

Zep::String Color::toString() const {
    return Zep::String::format("(%d, %d, %d, %d)", m_nRed, m_nGreen, m_nBlue, m_nAlpha);
}
