#include "testkit/testkit_events.h"

#include "application/gameapp.h"

namespace testkit {

namespace {

void deliver(GameApp& app, const FakeEvent& e) {
    switch (e.eType) {
        case FakeEvent::kKeyDown: app.onKeyDown(e.nKey, e.nModifiers); break;
        case FakeEvent::kKeyUp: app.onKeyUp(e.nKey, e.nModifiers); break;
        case FakeEvent::kChar: app.onChar(e.nChar); break;
        case FakeEvent::kMouseMove: app.onMouseMove(e.nX, e.nY, true); break;
        case FakeEvent::kMouseDown: app.onMouseDown(e.nButtonMask, e.nX, e.nY); break;
        case FakeEvent::kMouseUp: app.onMouseUp(e.nButtonMask, e.nX, e.nY); break;
        case FakeEvent::kQuit: app.routeQuitRequest(); break;
        case FakeEvent::kActivate: app.onActivate(); break;
        case FakeEvent::kDeactivate: app.onDeactivate(); break;
        case FakeEvent::kMouseFocusGained: app.onMouseFocusGained(); break;
        case FakeEvent::kMouseFocusLost: app.onMouseFocusLost(); break;
    }
}

}  // namespace

FakePlatform::Dispatcher routeTo(GameApp& app) {
    return [&app](const FakeEvent& e) { deliver(app, e); };
}

}  // namespace testkit
