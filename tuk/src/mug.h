// Mug: a glass in play, carried from the drink machine to a customer and back
// to the sink. LevelData lists every mug in play; the play mode updates them
// once per frame, after the customers. The update sums the time that phases
// the mug's shine pulse.
#pragma once

#include <zep2/refcount.h>

class Mug : public Zep::RefCountedObject {
public:
    void update(float fDelta) { m_fShineTime += fDelta; }
    float getShineTime() const { return m_fShineTime; }

private:
    float m_fShineTime = 0.0f;
};
