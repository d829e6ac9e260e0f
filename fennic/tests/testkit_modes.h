// Modes for tests that log their life-cycle notifications into a shared
// list of lines ("B onEnter", "A onCovered B", "~B", ...).
#pragma once

#include <functional>
#include <map>
#include <string>
#include <utility>
#include <vector>

#include "gamemode.h"
#include "testkit_sprites.h"
#include "transition.h"

namespace testkit {

// The lines and the names of the modes they speak of; a mode without a name
// is "trn" when it is a transition, else "?".
struct ModeLog {
    EventLog lines;
    std::map<const GameMode*, std::string> names;

    std::string nameOf(const GameMode* pMode) const {
        if (auto it = names.find(pMode); it != names.end()) return it->second;
        if (!pMode) return "null";
        return dynamic_cast<const ModeTransition*>(pMode) ? "trn" : "?";
    }
};

// Logs each notification as "<name> <what>", then runs the test's hook for
// it, if any. Updates are kept apart, as their deltas.
class RecordingMode : public GameMode {
public:
    using Hook = std::function<void(RecordingMode&)>;

    RecordingMode(std::string sName, ModeLog& log) : m_sName(std::move(sName)), m_rLog(log) {
        m_rLog.names[this] = m_sName;
    }
    ~RecordingMode() override {
        note("~", m_onDelete);
        m_rLog.names.erase(this);
    }

    void onEnter() override { note("onEnter", m_onEnter); }
    void onEnd() override {
        GameMode::onEnd();
        note("onEnd", nullptr);
    }
    void onEnded() override { note("onEnded", nullptr); }
    void onSuspend() override { note("onSuspend", nullptr); }
    void onResume() override { note("onResume", nullptr); }
    void onCovered(GameMode* pNewTop) override { note("onCovered " + m_rLog.nameOf(pNewTop), nullptr); }
    void onAppQuit() override { note("onAppQuit", m_onAppQuit); }
    void onAppActivate() override { note("onAppActivate", nullptr); }
    void onAppDeactivate() override { note("onAppDeactivate", nullptr); }
    void onUpdate(float fDelta) override {
        m_vUpdates.push_back(fDelta);
        if (m_onUpdate) m_onUpdate(*this);
    }

    const std::string& name() const { return m_sName; }

    Hook m_onEnter, m_onUpdate, m_onAppQuit, m_onDelete;
    std::vector<float> m_vUpdates;

private:
    void note(const std::string& sWhat, const Hook& hook) {
        m_rLog.lines.push_back(sWhat == "~" ? "~" + m_sName : m_sName + " " + sWhat);
        if (hook) hook(*this);
    }

    std::string m_sName;
    ModeLog& m_rLog;
};

}  // namespace testkit
