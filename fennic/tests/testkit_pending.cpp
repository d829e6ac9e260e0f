// Stand-ins for application operations whose own sources do not exist yet:
// the input routing's mouse refresh. Remove each one when its real definition
// joins the library (the linker reports the duplicate).
#include "gameapp.h"
#include "testkit_pending.h"

namespace testkit {
int g_nMouseRefreshes = 0;
}  // namespace testkit

// Counts the requests; the hover states are not routed.
void GameApp::refreshMousePosition() { ++testkit::g_nMouseRefreshes; }
