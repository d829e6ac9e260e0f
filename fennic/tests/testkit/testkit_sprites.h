// Sprites and controllers for tests that log what happens to them into a
// shared list of lines ("a onFocus", "~c", ...).
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "sprite/sc_base.h"
#include "sprite/sprite.h"

namespace testkit {

using EventLog = std::vector<std::string>;

// Logs its focus, hover and mode notifications under its name.
class RecordingSprite : public Sprite {
public:
    RecordingSprite(std::string sName, EventLog& log, const Zep::SmartPtr<Image>& pImage, int x, int y, int nZ)
        : Sprite(pImage, x, y, nZ), m_sName(std::move(sName)), m_rLog(log) {}

    bool onFocus() override { return note("onFocus"); }
    bool onBlur() override { return note("onBlur"); }
    bool onMouseLeave() override { return note("onMouseLeave"); }
    bool onModeSet() override { return note(getMode() ? "onModeSet" : "onModeSet null"); }

private:
    bool note(const char* szWhat) {
        m_rLog.push_back(m_sName + " " + szWhat);
        return false;
    }
    std::string m_sName;
    EventLog& m_rLog;
};

// Runs a step of the test's own on update and logs "<name> update" and its
// deletion "~<name>". The step answers whether the controller is done.
class ScriptedController : public SpriteController {
public:
    using Step = std::function<bool(Sprite&)>;

    ScriptedController(std::string sName, EventLog& log, Step step = nullptr)
        : m_sName(std::move(sName)), m_rLog(log), m_step(std::move(step)) {}
    ~ScriptedController() override { m_rLog.push_back("~" + m_sName); }

    bool update(float fDelta, Zep::SmartPtr<Sprite> pSprite) override {
        m_rLog.push_back(m_sName + " update");
        SpriteController::update(fDelta, pSprite);
        return m_step ? m_step(*pSprite) : false;
    }

private:
    std::string m_sName;
    EventLog& m_rLog;
    Step m_step;
};

}  // namespace testkit
