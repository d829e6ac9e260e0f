// Loading images by name: picture files, ".subimage" and ".spec" definitions.
//
// Every number of a definition is read in 64 bits and checked against its
// range before the image uses it: positions and offsets within
// +-kMaxDefinitionOffset, sizes within 0 .. kMaxDefinitionSize (far beyond any
// picture of the game). So the flips, offsets and unions that the image code
// works out from them stay far inside an int. A number out of its range fails
// the load with a FatalErrorException naming the field, the number, the range
// and the file (and, in a ".spec", the line).
#include "image/imagefactory.h"

#include <cstdlib>

#include <zep2/error.h>
#include <zep2/list.h>
#include <zep2/resource.h>
#include <zep2/tokenfilereader.h>

#include "application/gameapp.h"
#include "image/image.h"
#include "driver/platform.h"

namespace {

constexpr const char* kZepSource = ".\\src\\imagefactory";

// Deeper sub-image chains than this are taken for a runaway definition.
constexpr int kMaxSubImageDepth = 64;

constexpr int kMaxDefinitionSize = 1 << 16;
constexpr int kMaxDefinitionOffset = 1 << 16;

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

// Token i of a definition as a number within [nMin, nMax]; szWhere names the
// file, and the line for a ".spec".
int rangedNumber(const Zep::List<Zep::String>& lToks, int i, const char* szField, int nMin, int nMax,
                 const Zep::String& sWhere) {
    const Zep::String& sToken = lToks[i];
    const int64_t n = std::strtoll(sToken.c_str(), nullptr, 10);
    if (n < nMin || n > nMax)
        ZEP_THROW(Zep::FatalErrorException, Zep::String::format("%s %s out of range [%d, %d] at %s", szField,
                                                                sToken.c_str(), nMin, nMax, sWhere.c_str())
                                                 .c_str());
    return static_cast<int>(n);
}

int offsetAt(const Zep::List<Zep::String>& lToks, int i, const char* szField, const Zep::String& sWhere) {
    return rangedNumber(lToks, i, szField, -kMaxDefinitionOffset, kMaxDefinitionOffset, sWhere);
}

int sizeAt(const Zep::List<Zep::String>& lToks, int i, const char* szField, const Zep::String& sWhere) {
    return rangedNumber(lToks, i, szField, 0, kMaxDefinitionSize, sWhere);
}

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
    // The numbers are checked before the source is fetched: a bad definition
    // loads nothing.
    const int x = offsetAt(lToks, 1, "x", sResource);
    const int y = offsetAt(lToks, 2, "y", sResource);
    const int w = sizeAt(lToks, 3, "width", sResource);
    const int h = sizeAt(lToks, 4, "height", sResource);
    Zep::SmartPtr<Image> pSource = app.getImage(lToks[0].c_str());
    if (pSource.isNULL())
        ZEP_THROW(Zep::ResourceException, Zep::String::format("Image '%s' : source picture '%s' not found",
                                                              m_sName.c_str(), lToks[0].c_str())
                                              .c_str());
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
        const Zep::String sWhere = Zep::String::format("%s, line %d", sResource.c_str(), reader.getLineNumber() + 1);
        const int nWidth = sizeAt(lToks, 1, "canvas width", sWhere);
        const int nHeight = sizeAt(lToks, 2, "canvas height", sWhere);
        const int nDataX = offsetAt(lToks, 3, "data x", sWhere);
        const int nDataY = offsetAt(lToks, 4, "data y", sWhere);
        setVirtualCanvas(nDataX, nDataY, nWidth, nHeight);
    }
}
