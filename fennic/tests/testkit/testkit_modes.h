// Modes for tests that log their life-cycle notifications into a shared
// list of lines ("B onEnter", "A onCovered B", "~B", ...), and a fixture
// that stacks them on the fake platform and runs frames on its clock.
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "sprite/gamemode.h"
#include "sprite/spritetest_util.h"
#include "testkit/testkit_sprites.h"
#include "sprite/transition.h"

namespace testkit {

// The lines and the names of the modes they speak of; a mode without a name
// is "trn" when it is a transition, else "?".
struct ModeLog {
    EventLog lines;
    std::map<const GameMode*, std::string> names;

    std::string nameOf(const GameMode* pMode) const {
        if (auto it = names.find(pMode); it != names.end()) return it->second;
        return dynamic_cast<const ModeTransition*>(pMode) ? "trn" : "?";
    }
};

// Logs each notification as "<name> <what>" and its deletion as "~<name>",
// then runs the test's hook for it, if any. Updates are kept apart, as their
// deltas.
class RecordingMode : public GameMode {
public:
    using Hook = std::function<void(RecordingMode&)>;

    RecordingMode(std::string sName, ModeLog& log) : m_sName(std::move(sName)), m_rLog(log) {
        m_rLog.names[this] = m_sName;
    }
    ~RecordingMode() override {
        m_rLog.lines.push_back("~" + m_sName);
        if (m_onDelete) m_onDelete(*this);
        m_rLog.names.erase(this);
    }

    void onEnter() override { note("onEnter", m_onEnter); }
    void onEnd() override {
        GameMode::onEnd();
        note("onEnd");
    }
    void onEnded() override { note("onEnded"); }
    void onSuspend() override { note("onSuspend"); }
    void onResume() override { note("onResume"); }
    void onCovered(GameMode* pNewTop) override { note("onCovered " + m_rLog.nameOf(pNewTop)); }
    void onAppQuit() override { note("onAppQuit", m_onAppQuit); }
    void onAppActivate() override { note("onAppActivate"); }
    void onAppDeactivate() override { note("onAppDeactivate"); }
    void onUpdate(float fDelta) override {
        m_vUpdates.push_back(fDelta);
        if (m_onUpdate) m_onUpdate(*this);
    }

    const std::string& name() const { return m_sName; }

    Hook m_onEnter, m_onUpdate, m_onAppQuit, m_onDelete;
    std::vector<float> m_vUpdates;

private:
    void note(const std::string& sWhat, const Hook& hook = nullptr) {
        m_rLog.lines.push_back(m_sName + " " + sWhat);
        if (hook) hook(*this);
    }

    std::string m_sName;
    ModeLog& m_rLog;
};

// The log is a base of its own so that it outlives the application, which
// deletes the modes still on its stack.
struct ModeLogHolder {
    ModeLog m_log;
};

// A test application on the fake platform and video driver, at 60 frames a
// second (16 ms) with the delta clamped to 0.05 s, its clock at 0.
class ModeAppTest : protected ModeLogHolder, public spritetest::AppWithScreen<> {
protected:
    void SetUp() override {
        AppWithScreen::SetUp();
        m_app.setFrameRate(60);
        m_app.setDeltaClamp(0.05f, GameApp::kDeltaClamp);
    }
    // A new mode, owned by the stack once pushed.
    RecordingMode* make(const char* szName) { return new RecordingMode(szName, m_log); }
    RecordingMode* push(const char* szName, uint32_t nFlags = GameMode::kActive | GameMode::kVisible) {
        RecordingMode* pMode = make(szName);
        pMode->setFlags(nFlags);
        m_app.pushMode(pMode);
        return pMode;
    }
    // Modes pushed bottom first; the log then starts afresh.
    std::vector<RecordingMode*> stack(std::initializer_list<const char*> names) {
        std::vector<RecordingMode*> v;
        for (const char* szName : names) v.push_back(push(szName));
        m_log.lines.clear();
        return v;
    }
    // The stack's names, top first.
    std::string names() {
        std::string s;
        for (int i = 0; i < m_app.getModeCount(); ++i) s.append(i ? " " : "").append(m_log.nameOf(m_app.getModeAt(i)));
        return s;
    }
    // Sets the clock and the loop's times as run would.
    void start(uint32_t nTicks) {
        m_pPlatform->setTicks(nTicks);
        m_nLast = static_cast<int>(nTicks);
        m_nDue = static_cast<int>(nTicks + (m_app.getFrameRate() ? 1000u / m_app.getFrameRate() : 0u));
    }
    void frames(int nCount = 1) {
        for (int i = 0; i < nCount; ++i) m_app.frame(m_nLast, m_nDue, false);
    }

    int m_nLast = 0;
    int m_nDue = 16;
};

}  // namespace testkit
