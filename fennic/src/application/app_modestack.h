// The mode stack: the modes on screen, index 0 the top, and the modes that
// ended during the current frame.
//
// The stack owns the modes on it and the ended ones. Ended modes stay valid
// until the frame is over (deleteEnded); what is left at the end goes with
// deleteAll. A suspended mode is off the stack and belongs to whoever
// suspended it; pushing it again does not enter it a second time.
//
// Notification order (A the old top, B the mode pushed or popped):
//   push B: A notifyCovered(B); B goes on top; B onEnter when new; B's state
//           becomes "on the stack"; B notifyResumed if it is still the top
//           (its onEnter may have pushed another mode over it);
//   pop:    B leaves (into the ended modes when it has ended); A
//           notifyResumed.
// While notifications are suppressed (a transition switching screens),
// covered and resumed are not sent; onEnter still is. After every push, and
// every pop that leaves a mode on the stack, the mouse position is routed to
// the sprites again and the video driver hears that the display changed.
//
// Pushing a mode that is already on the stack or has ended is refused with
// Zep::FatalErrorException: it would stand twice, or be deleted after the
// frame while still listed.
#pragma once

#include <zep2/list.h>

class GameApp;
class GameMode;

class ModeStack {
public:
    explicit ModeStack(GameApp& app) : m_app(app) {}
    ~ModeStack() = default;  // the application empties it at its own step
    ModeStack(const ModeStack&) = delete;
    ModeStack& operator=(const ModeStack&) = delete;

    void push(GameMode* pMode);
    // Takes the top off; nothing on an empty stack.
    void pop();

    GameMode* top() const { return m_lModes.isEmpty() ? nullptr : m_lModes.getFirst(); }
    // Null outside the stack.
    GameMode* at(int nIndex) const;
    int count() const { return m_lModes.getCount(); }
    bool contains(const GameMode* pMode) const;
    // Going down from the top, the first mode that does not let the ones
    // below show; the bottom when all do, -1 on an empty stack.
    int lowestDrawnIndex() const;
    // The live stack; changing it directly sends no notifications.
    const Zep::List<GameMode*>& modes() const { return m_lModes; }
    Zep::List<GameMode*>& modes() { return m_lModes; }
    const Zep::List<GameMode*>& endedModes() const { return m_lEnded; }

    // Deletes the ended modes, in the order they ended.
    void deleteEnded();
    // Empties the stack, deletes its modes top first, then the ended ones.
    void deleteAll();

    bool isChanged() const { return m_bChanged; }
    void setChanged(bool bChanged) { m_bChanged = bChanged; }
    bool isSuppressed() const { return m_bSuppressed; }
    void setSuppressed(bool bSuppressed) { m_bSuppressed = bSuppressed; }

private:
    void refreshDisplay();

    GameApp& m_app;
    Zep::List<GameMode*> m_lModes;  // index 0 is the top
    Zep::List<GameMode*> m_lEnded;
    bool m_bSuppressed = false;
    bool m_bChanged = false;
};
