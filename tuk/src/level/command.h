// IWaitressCommand: one step of what the player asked of the waitress. The
// play mode's queue runs the commands one at a time: execute once when a
// command becomes current, then isDone once per frame from the next frame on,
// until it answers true.
//
// The three steps of a click on a fixture:
//   CmdWalk(x, y)        starts the mode's path walk to the point; done when
//                        she no longer walks and no path walk is under way.
//   CmdSetHeading(h)     turns her and makes her stand; done at once.
//   CmdUseTarget(hand, target)
//                        lets the mode use the target with that hand hint
//                        (PlayMode::useTarget); done once she is no longer
//                        acting, whichever arm acts (with a tray it is
//                        always the left one). The command holds the target.
#pragma once

#include <cstdint>

#include <zep2/refcount.h>

#include "actors/actionspot.h"

class PlayMode;

class IWaitressCommand : public Zep::RefCountedObject {
public:
    virtual void execute(PlayMode& mode) = 0;
    virtual bool isDone(PlayMode& mode) = 0;
};

class CmdWalk : public IWaitressCommand {
public:
    CmdWalk(int x, int y) : m_nX(x), m_nY(y) {}
    void execute(PlayMode& mode) override;
    bool isDone(PlayMode& mode) override;

private:
    int32_t m_nX;
    int32_t m_nY;
};

class CmdSetHeading : public IWaitressCommand {
public:
    explicit CmdSetHeading(int nHeading) : m_nHeading(nHeading) {}
    void execute(PlayMode& mode) override;
    bool isDone(PlayMode&) override { return true; }

private:
    int32_t m_nHeading;
};

class CmdUseTarget : public IWaitressCommand {
public:
    CmdUseTarget(int nHand, Zep::SmartPtr<IActionTarget> pTarget);
    ~CmdUseTarget() override;
    void execute(PlayMode& mode) override;
    bool isDone(PlayMode& mode) override;

private:
    int32_t m_nHand;
    Zep::SmartPtr<IActionTarget> m_pTarget;
};
