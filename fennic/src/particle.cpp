#include "particle.h"

void Particle::update(float) {}

// Index walk: a removal keeps the index, so the next particle is not skipped,
// and particles appended during the pass are stepped in it.
void updateParticles(Zep::List<Zep::SmartPtr<Particle>>& lParticles, float fDelta) {
    int i = 0;
    while (i < lParticles.getCount()) {
        Zep::SmartPtr<Particle> pParticle = lParticles.get(i);
        pParticle->update(fDelta);
        if (pParticle->isDead())
            lParticles.removeAt(i);
        else
            ++i;
    }
}
