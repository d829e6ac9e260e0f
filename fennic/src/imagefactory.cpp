// Loading images by name: picture files, ".subimage" and ".spec" definitions.
#include "imagefactory.h"

#include <zep2/error.h>
#include <zep2/list.h>
#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "gameapp.h"
#include "image.h"
#include "platform.h"

namespace {

constexpr const char* kZepSource = ".\\src\\imagefactory";

// Deeper sub-image chains than this are taken for a runaway definition.
constexpr int kMaxSubImageDepth = 64;

bool g_bAutoTrim = false;

// Lower-cased names of the images whose sub-image definitions are being read,
// innermost last: a name that comes again is a definition through itself.
Zep::List<Zep::String> g_lLoading;

class LoadingGuard {
public:
    explicit LoadingGuard(const Zep::String& sName) { g_lLoading.add(sName); }
    ~LoadingGuard() { g_lLoading.removeAt(g_lLoading.getCount() - 1); }
    LoadingGuard(const LoadingGuard&) = delete;
    LoadingGuard& operator=(const LoadingGuard&) = delete;
};

GameApp& application() {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp) ZEP_THROW(Zep::BadStateException, "Image : there is no application object");
    return *pApp;
}

}  // namespace

ImageFactory& Image::factory() {
    GameApp& app = application();
    IPlatform* pPlatform = app.getPlatform();
    ImageFactory* pFactory = pPlatform ? pPlatform->getImageFactory() : nullptr;
    if (!pFactory) ZEP_THROW(Zep::BadStateException, "Image : no image factory (no platform yet)");
    return *pFactory;
}

void Image::setAutoTrim(bool bOn) {
    g_bAutoTrim = bOn;
}

bool Image::getAutoTrim() {
    return g_bAutoTrim;
}

void Image::load(const char* szName, bool bOptionA, bool bOptionB) {
    ZEP_TRACE("Image::load");
    if (!szName) ZEP_THROW(Zep::BadParmException, "Image::load : no name");
    GameApp& app = application();
    m_sName = szName;

    const Zep::String sSubImage = m_sName + ".subimage";
    if (app.resourceExists(sSubImage.c_str()))
        readSubImageDefinition(sSubImage);
    else
        loadData(szName, bOptionA, bOptionB);

    const Zep::String sSpec = m_sName + ".spec";
    if (app.resourceExists(sSpec.c_str()))
        applyCanvasDefinition(sSpec);
    else if (bOptionA && g_bAutoTrim)
        trim();
}

void Image::readSubImageDefinition(const Zep::String& sResource) {
    ZEP_TRACE("Image::readSubImageDefinition");
    GameApp& app = application();

    const Zep::String sKey = m_sName.toLower();
    for (const Zep::String& sLoading : g_lLoading)
        if (sLoading == sKey)
            ZEP_THROW(Zep::FatalErrorException,
                      Zep::String::format("Image '%s' is cut from itself (sub-image cycle)", m_sName.c_str()).c_str());
    if (g_lLoading.getCount() >= kMaxSubImageDepth)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Image '%s' : sub-images nested deeper than %d", m_sName.c_str(),
                                      kMaxSubImageDepth)
                      .c_str());
    LoadingGuard guard(sKey);

    const Zep::String sText = app.getResource(sResource.c_str())->asString();
    Zep::List<Zep::String> lToks = sText.split(" \t\r\n");
    Zep::SmartPtr<Image> pSource = app.getImage(lToks[0].c_str());
    if (pSource.isNULL())
        ZEP_THROW(Zep::ResourceException, Zep::String::format("Image '%s' : source picture '%s' not found",
                                                              m_sName.c_str(), lToks[0].c_str())
                                              .c_str());
    const int x = lToks[1].toInt();
    const int y = lToks[2].toInt();
    const int w = lToks[3].toInt();
    const int h = lToks[4].toInt();
    setSubImage(*pSource, x, y, w, h);
}

void Image::applyCanvasDefinition(const Zep::String& sResource) {
    ZEP_TRACE("Image::applyCanvasDefinition");
    const Zep::String sText = application().getResource(sResource.c_str())->asString();
    Zep::TokenFileReader reader(sText.c_str());
    // The reader counts lines from 0; messages count them from 1.
    while (!reader.isEOF()) {
        reader.nextLine();
        const Zep::List<Zep::String>& lToks = reader.getTokens();
        if (lToks[0] != "vcanvas")
            ZEP_THROW(Zep::FatalErrorException,
                      Zep::String::format("Unknown token %s at %s, line %d", lToks[0].c_str(), sResource.c_str(),
                                          reader.getLineNumber() + 1)
                          .c_str());
        if (lToks.getCount() != 5)
            throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : lToks.getLength() == 5");
        setVirtualCanvas(lToks[3].toInt(), lToks[4].toInt(), lToks[1].toInt(), lToks[2].toInt());
    }
}
