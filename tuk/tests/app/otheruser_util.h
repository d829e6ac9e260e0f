// The game's program run as a user who may not write what the test made.
//
// The tests run as root, whom no folder refuses: then the game runs as
// "nobody" (setpriv), in folders root owns. Run as anyone else, the folders
// are made read-only instead.
#pragma once

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "app/process_util.h"

namespace processtest {

constexpr unsigned kNobody = 65534;
constexpr const char* kSetpriv = "/usr/bin/setpriv";
// The probe of the built game may wait this long on a loaded machine.
constexpr int kProbeMilliseconds = 30000;

class OtherUser {
public:
    bool isRoot() const { return ::geteuid() == 0; }
    unsigned uid() const { return isRoot() ? kNobody : ::geteuid(); }
    // Why the test can't run here; "" when it can.
    std::string skipReason(const std::string& sScratch) const {
        if (!isRoot()) return "";
        if (::access(kSetpriv, X_OK) != 0) return std::string("running as root without ") + kSetpriv;
        const std::string sArchive =
            std::filesystem::path(TUK_GAME_PROGRAM).parent_path().string() + "/tuk_data.dat";
        Child probe(kSetpriv, words({"/usr/bin/test", "-r", sArchive, "-a", "-x", TUK_GAME_PROGRAM}), {},
                    sScratch);
        if (probe.wait(kProbeMilliseconds) != 0) return "user nobody can't reach the built game";
        return "";
    }
    std::string program() const { return isRoot() ? kSetpriv : TUK_GAME_PROGRAM; }
    std::vector<std::string> gameWords() const {
        return isRoot() ? words({TUK_GAME_PROGRAM}) : std::vector<std::string>{};
    }
    // A folder the test made: readable for the game, not writable.
    void readOnly(const std::string& sFolder) const { chmod(sFolder, isRoot() ? 0755 : 0555); }
    // A folder the test made that the game's user owns and only it may enter.
    void give(const std::string& sFolder) const {
        if (isRoot()) {
            EXPECT_EQ(::chown(sFolder.c_str(), kNobody, kNobody), 0);
        }
        chmod(sFolder, 0700);
    }
    static void chmod(const std::string& sFolder, mode_t nMode) { EXPECT_EQ(::chmod(sFolder.c_str(), nMode), 0); }

private:
    static std::vector<std::string> words(std::vector<std::string> vCommand) {
        std::vector<std::string> v{"--reuid=65534", "--regid=65534", "--clear-groups", "--"};
        v.insert(v.end(), vCommand.begin(), vCommand.end());
        return v;
    }
};

}  // namespace processtest
