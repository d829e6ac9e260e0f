// The game's profile manager (profileaccess.h).
#include "records/profileaccess.h"

#include <memory>

namespace {

std::unique_ptr<TUKPlayerManager>& manager() {
    static std::unique_ptr<TUKPlayerManager> s_pManager;
    return s_pManager;
}

}  // namespace

TUKPlayerManager* getProfileManager() {
    std::unique_ptr<TUKPlayerManager>& pManager = manager();
    if (!pManager) {
        pManager = std::make_unique<TUKPlayerManager>();
        pManager->load();
    }
    return pManager.get();
}

void releaseProfileManager() { manager().reset(); }
