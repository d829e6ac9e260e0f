// The host of this system: the Flash control does not exist here, so create
// fails before any window or movie is touched, and nothing else is reached.
#include "media/flashhost.h"

namespace {

class UnavailableFlashHost : public IFlashHost {
public:
    bool create(const char*, bool) override { return false; }
    void draw(Sprite*) override {}
    void getMovieSize(int& nWidth, int& nHeight) override { nWidth = nHeight = 0; }
    void resize(int, int) override {}
    void play() override {}
    void stop() override {}
    void rewind() override {}
    void gotoFrame(int) override {}
    bool isPlaying() override { return false; }
    int getCurrentFrame() override { return 0; }
    int getTotalFrames() override { return 0; }
    void gotoLabel(const char*) override {}
    Zep::String getCurrentLabel() override { return Zep::String(); }
};

}  // namespace

std::unique_ptr<IFlashHost> createFlashHost() { return std::make_unique<UnavailableFlashHost>(); }

bool isFlashHostAvailable() { return false; }
