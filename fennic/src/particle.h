// Particle: a short-lived moving picture stepped once per frame from the
// particle list of the mode that holds it. This is the base the mode's list
// needs; the particle kinds and their emitters build on it.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>

class Particle : public Zep::RefCountedObject {
public:
    ~Particle() override = default;

    // One step of dt seconds. Base: nothing.
    virtual void update(float fDelta);
    bool isDead() const { return m_bDead; }
    void setDead(bool bDead) { m_bDead = bDead; }

private:
    bool m_bDead = false;
};

// Steps every particle of the list in order and drops those that died.
void updateParticles(Zep::List<Zep::SmartPtr<Particle>>& lParticles, float fDelta);
