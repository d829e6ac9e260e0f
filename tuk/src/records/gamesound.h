// The game's sound effects ("sfx_game_..."): played once, centred, on any
// free channel. Nothing is played without an application or an audio driver
// (tests of the game's rules); an unknown sound fails in the sample cache.
#pragma once

void playGameSound(const char* szName);
