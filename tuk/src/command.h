// IWaitressCommand: one step of what the player asked of the waitress (walk
// there, turn, use the target). The play mode's queue runs the commands one
// at a time: execute once when a command becomes current, then isDone once
// per frame until it answers true.
#pragma once

#include <zep2/refcount.h>

class PlayMode;

class IWaitressCommand : public Zep::RefCountedObject {
public:
    virtual void execute(PlayMode& mode) = 0;
    virtual bool isDone(PlayMode& mode) = 0;
};
