// Font settings, their copying, the source record, and the default
// parameter answers of the font factories. The layout is in textlayout.cpp.
#include "text/font.h"

void Font::copySettings(const Font& other) {
    setTrimLines(other.getTrimLines());
    setTextColor(other.getTextColor());
    setShadowColor(other.getShadowColor());
    setDrawShadow(other.getDrawShadow());
    setShadowOffset(other.getShadowOffset());
    setTextAlign(other.getTextAlign());
    setExtraLineSpacing(other.getExtraLineSpacing());
}

void Font::setSource(const Zep::SmartPtr<Zep::RefCountedObject>& pData, const Zep::List<Zep::String>& lSpec) {
    m_lSpec = lSpec;
    if (m_pSourceData != pData) m_pSourceData = pData;
}

bool FontFactory::setNumericParam(const Zep::List<Zep::String>&, int, int) { return false; }

bool FontFactory::setTextParam(const Zep::List<Zep::String>&, int, const char*) { return false; }

int FontFactory::getNumericParam(const Zep::List<Zep::String>&, int) { return -1; }

Zep::String FontFactory::getTextParam(const Zep::List<Zep::String>&, int) { return Zep::String(); }
