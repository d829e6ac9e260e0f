// What the stand-ins of testkit_pending.cpp let a test observe.
#pragma once

namespace testkit {

// Calls of GameApp::refreshMousePosition so far.
extern int g_nMouseRefreshes;

}  // namespace testkit
