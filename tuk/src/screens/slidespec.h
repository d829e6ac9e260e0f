// The records of a slide show: SlideSpec, one picture of it, and StoryText,
// a caption revealed after its picture.
//
// SlideSpec: the picture's name (fetched from the application by name), its
// sprite position and layer, whether it starts a new page (clearing the
// pictures and captions shown before it) or is laid over them, and its
// captions in reveal order.
//
// StoryText: the text (shown as it is), the name of a font of the current
// theme, position and layer of its label, the delay in seconds from the
// moment its picture is fully shown, and its colour. The slide show reads
// the records and never changes them.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/color.h"

class StoryText : public Zep::RefCountedObject {
public:
    StoryText(const char* szText, const char* szFont, int x, int y, int nLayer, float fDelay, const Color& color)
        : m_sText(szText), m_sFont(szFont), m_nX(x), m_nY(y), m_nLayer(nLayer), m_fDelay(fDelay), m_color(color) {}

    Zep::String m_sText;
    Zep::String m_sFont;
    int32_t m_nX;
    int32_t m_nY;
    int32_t m_nLayer;
    float m_fDelay;
    Color m_color;
};

using StoryTextList = Zep::List<Zep::SmartPtr<StoryText>>;

class SlideSpec : public Zep::RefCountedObject {
public:
    SlideSpec(const char* szImage, int x, int y, int nLayer, const StoryTextList& lCaptions, bool bNewPage)
        : m_sImage(szImage), m_nX(x), m_nY(y), m_nLayer(nLayer), m_bNewPage(bNewPage), m_lCaptions(lCaptions) {}

    Zep::String m_sImage;
    int32_t m_nX;
    int32_t m_nY;
    int32_t m_nLayer;
    bool m_bNewPage;
    StoryTextList m_lCaptions;
};

using SlideList = Zep::List<Zep::SmartPtr<SlideSpec>>;
