// A child of the game's process tests: the entry's log and crash handler in
// the user data folder, then a fault inside a traced scope whose detail is the
// fault's name, the first word: "segv" raises SIGSEGV, "abort" aborts,
// "throw" throws an exception that nothing catches, "hang" raises SIGSEGV
// with an application whose platform never finishes its shutdown.
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <memory>
#include <stdexcept>
#include <string>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "app/linuxstartup.h"
#include "testkit/testkit_app.h"
#include "testkit/testkit_platform.h"

namespace {

constexpr const char* kZepSource = "crashchild";

class HangingPlatform : public testkit::FakePlatform {
public:
    void shutdown() override {
        for (;;) ::pause();
    }
};

}  // namespace

int main(int argc, char** argv) {
    const std::string sFault = argc > 1 ? argv[1] : "";
    GameApp::initLogFile(linuxstartup::kFilePrefix, linuxstartup::kDataFolder);
    linuxstartup::installCrashHandler(GameApp::getLogFileName().c_str());
    std::unique_ptr<testkit::TestApp> pApp;
    if (sFault == "hang") {
        pApp = std::make_unique<testkit::TestApp>();
        pApp->setPlatform(std::make_unique<HangingPlatform>());
    }
    ZEP_TRACE("CrashChild::fault");
    Zep::ScopeTrace::setDetail(sFault.c_str());
    if (sFault == "segv" || sFault == "hang") std::raise(SIGSEGV);
    if (sFault == "abort") std::abort();
    if (sFault == "throw") throw std::runtime_error("nobody catches this");
    return 0;
}
