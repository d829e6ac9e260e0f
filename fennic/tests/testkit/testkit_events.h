// Delivers the fake platform's scripted events to an application, as the real
// event pump does: each event type to its GameApp handler, mouse moves with
// the modes told.
#pragma once

#include "testkit/testkit_platform.h"

class GameApp;

namespace testkit {

FakePlatform::Dispatcher routeTo(GameApp& app);

}  // namespace testkit
