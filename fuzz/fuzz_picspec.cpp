// Picture definitions (".subimage" and ".spec") from arbitrary text, through
// the image factory of a headless application. The input holds up to four
// files separated by '|': pic.subimage, pic.spec, mid.subimage, mid.spec (an
// empty or missing part means no such file). The pictures sheet, pic and mid exist as
// PNG files, so "pic" is a plain picture or a cut of sheet, of mid or of
// itself. What loads is flipped, aligned, read, cut, cloned, drawn into a
// small picture and shown by a clipped, turned sprite.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <map>
#include <memory>
#include <string>
#include <utility>
#include <vector>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "fuzz_app.h"
#include "image/imagefactory.h"
#include "image/imageonlyplatform.h"
#include "image/memimage.h"
#include "image/pngwriter.h"
#include "sprite/sprite.h"

namespace {

constexpr const char* kDefinitions[] = {"pic.subimage", "pic.spec", "mid.subimage", "mid.spec"};
constexpr const char* kPictures[] = {"sheet", "pic", "mid"};

// The files of the current input, replaced for every input.
class InputFiles : public Zep::ResourceProvider {
public:
    void clear() { m_files.clear(); }
    void set(const char* szName, std::string sText) { m_files[szName] = std::move(sText); }
    bool exists(const char* szName) override { return m_files.count(Zep::String(szName).toLower().c_str()) > 0; }
    Zep::SmartPtr<Zep::Resource> load(const char* szName) override {
        const std::string& sText = m_files.at(Zep::String(szName).toLower().c_str());
        Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(sText.size()), nullptr, true);
        if (!sText.empty()) std::memcpy(p->getData(), sText.data(), sText.size());
        return p;
    }
    Zep::List<Zep::String> listNames() override {
        Zep::List<Zep::String> l;
        for (const auto& entry : m_files) l.add(entry.first.c_str());
        return l;
    }
    Zep::String getPath(const char* szName) override { return szName; }

private:
    std::map<std::string, std::string> m_files;
};

// A w x h picture with a distinct colour per pixel, some of it transparent.
std::vector<uint8_t> pngOf(int w, int h) {
    Zep::SmartPtr<MemImage> p = new MemImage(w, h, true);
    {
        ImageLock lock(*p);
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                p->writePixel(x, y, Color(static_cast<uint8_t>(x * 9), static_cast<uint8_t>(y * 13),
                                          static_cast<uint8_t>(x + y), (x + y) % 3 ? 255 : 0));
    }
    return encodePngRgba(*p);
}

struct Harness {
    fuzz::App app;
    InputFiles* pInput = nullptr;
};

Harness& harness() {
    static Harness s_harness = [] {
        Harness h;
        h.app = fuzz::makeApp(std::make_unique<ImageOnlyPlatform>());
        h.app.pApp->initCaches();
        const int aSizes[][2] = {{16, 12}, {8, 6}, {12, 10}};
        for (int i = 0; i < 3; ++i) {
            const std::vector<uint8_t> png = pngOf(aSizes[i][0], aSizes[i][1]);
            fuzz::addFile(h.app, (std::string(kPictures[i]) + ".png").c_str(), png.data(), png.size());
        }
        auto pInput = std::make_unique<InputFiles>();
        h.pInput = pInput.get();
        h.app.pApp->addResourceProvider(std::move(pInput), false);
        return h;
    }();
    return s_harness;
}

void readInput(InputFiles& files, const uint8_t* data, size_t size) {
    files.clear();
    const std::string sInput(reinterpret_cast<const char*>(data), size);
    size_t nStart = 0;
    for (const char* szName : kDefinitions) {
        if (nStart > sInput.size()) break;
        const size_t nEnd = std::min(sInput.find('|', nStart), sInput.size());
        if (nEnd > nStart) files.set(szName, sInput.substr(nStart, nEnd - nStart));
        nStart = nEnd + 1;
    }
}

void readAround(Image& image) {
    const int w = image.getWidth(), h = image.getHeight();
    const std::pair<int, int> aPoints[] = {{0, 0}, {w - 1, h - 1}, {w / 2, h / 2}};
    for (const auto& [x, y] : aPoints) {
        image.getPixel(x, y);
        image.isTransparent(x, y, 0);
    }
    image.getRect();
    image.getDataRect();
}

// A sprite of the picture, turned, scaled and clipped to a small window.
void show(const Zep::SmartPtr<Image>& pImage) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(pImage, 3, 4, 0);
    pSprite->getBoundingRect();
    pSprite->hitTest(Point(5.0f, 6.0f));
    pSprite->setRotation(30.0f);
    pSprite->setScale(1.5f);
    pSprite->setClipRect(Rect(0, 0, 8, 8));
    pSprite->getDrawRect();
    pSprite->hitTest(Point(4.0f, 5.0f));
}

void use(const Zep::SmartPtr<Image>& pImage) {
    Image& image = *pImage;
    readAround(image);
    image.hflip();
    readAround(image);
    image.vflip();
    readAround(image);
    for (int nFlags : {0, Image::kAlignRight | Image::kAlignBottom, Image::kAlignCenterX | Image::kAlignCenterY,
                       Image::kAlignToData | Image::kAlignCenterX, Image::kAlignToData | Image::kAlignBottom}) {
        image.alignInsPoint(nFlags);
        image.getRect();
        image.getDataRect();
    }
    image.hflip();
    image.flushPending();
    readAround(*image.createSubImage(image.getDataRect(), true));
    readAround(*image.clone(false));
    Zep::SmartPtr<Image> pTarget = new MemImage(8, 8, true);
    pTarget->blit(image, 2, 1);
    pTarget->copy(image, image.getRect(), -3, 5);
    show(pImage);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    Harness& h = harness();
    readInput(*h.pInput, data, size);
    for (const char* szName : kPictures) h.app.pApp->releaseImage(szName);
    ImageFactory& factory = *h.app.pApp->getPlatform()->getImageFactory();
    for (const char* szName : {"pic", "mid"}) {
        try {
            use(Zep::SmartPtr<Image>(factory.load(szName)));
        } catch (const Zep::Exception&) {
        }
    }
    for (const char* szName : kPictures) h.app.pApp->releaseImage(szName);
    return 0;
}
