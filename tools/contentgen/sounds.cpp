// The samples (WAV) and the four music loops (Ogg Vorbis), synthesised from
// sines, squares, triangles and noise with envelopes.
#include <cmath>
#include <string>

#include "audio.h"
#include "sets.h"

namespace cg {

namespace {

// Every effect and track peaks well below -6 dBFS (0.501 of full scale) so
// that five effects over the music mix without clipping; the buzzing
// effects (square waves and noise, which sound louder at the same peak and
// last longest) lower still.
constexpr float kEffectPeak = 0.3f;
constexpr float kBuzzPeak = 0.22f;
constexpr float kMusicPeak = 0.3f;

float note(int nSemitonesFromA4) { return 440.0f * std::pow(2.0f, nSemitonesFromA4 / 12.0f); }

Sound ask(int nVoice) {
    Sound s(0.4f);
    const float f = nVoice == 1 ? 330.0f : 520.0f;
    s.tone(0.0f, 0.16f, f, f * 1.2f, Wave::Triangle, 0.8f, 4);
    s.tone(0.18f, 0.2f, f * 1.2f, f * 1.5f, Wave::Triangle, 0.8f, 4);
    return s;
}

Sound accept(int nVoice) {
    Sound s(0.3f);
    const float f = nVoice == 1 ? note(-5) : note(3);
    s.tone(0.0f, 0.14f, f, f, Wave::Sine, 0.7f, 6);
    s.tone(0.12f, 0.18f, f * 1.26f, f * 1.26f, Wave::Sine, 0.7f, 6);
    return s;
}

Sound mistake(int nVoice) {
    Sound s(0.5f);
    const float f = nVoice == 1 ? 220.0f : 330.0f;
    s.tone(0.0f, 0.5f, f, f * 0.6f, Wave::Square, 0.5f, 2);
    return s;
}

Sound single(float fSeconds, float f0, float f1, Wave wave, float fDecay) {
    Sound s(fSeconds);
    s.tone(0.0f, fSeconds, f0, f1, wave, 0.8f, fDecay);
    return s;
}

Sound juicer() {
    Sound s(0.9f);
    s.tone(0.0f, 0.9f, 0, 0, Wave::Noise, 0.25f, 0.5f);
    s.tone(0.0f, 0.9f, 90, 140, Wave::Square, 0.3f, 0.5f);
    // A running average takes the edge off the noise.
    std::vector<float>& v = s.samples();
    float fAcc = 0.0f;
    for (float& x : v) fAcc += (x - fAcc) * 0.2f, x = fAcc;
    return s;
}

Sound star() {
    Sound s(0.5f);
    for (int i = 0; i < 4; ++i) s.tone(i * 0.09f, 0.2f, note(12 + i * 4), note(12 + i * 4), Wave::Sine, 0.6f, 8);
    return s;
}

Sound parrot() {
    Sound s(0.3f);
    s.tone(0.0f, 0.1f, 1800, 2600, Wave::Triangle, 0.6f, 5);
    s.tone(0.15f, 0.12f, 2000, 2900, Wave::Triangle, 0.6f, 5);
    return s;
}

Sound clink() {
    Sound s(0.4f);
    for (float f : {2100.0f, 3350.0f, 4720.0f}) s.tone(0.0f, 0.4f, f, f, Wave::Sine, 0.4f, 9);
    return s;
}

// Four notes as a jingle, rising major or falling minor.
Sound jingle(bool bWin) {
    Sound s(2.0f);
    const int aWin[4] = {-9, -5, -2, 3}, aLose[4] = {3, -1, -6, -9};
    for (int i = 0; i < 4; ++i) {
        const float f = note(bWin ? aWin[i] : aLose[i]);
        const float d = i == 3 ? 1.1f : 0.3f;
        s.tone(i * 0.28f, d, f, f, Wave::Triangle, 0.7f, i == 3 ? 1.5f : 3);
        s.tone(i * 0.28f, d, f * 2, f * 2, Wave::Sine, 0.2f, 4);
    }
    return s;
}

// A loop of four bars per chord over a four-chord progression: a bass on
// each beat, a soft chord and a simple melody from the chord's notes.
Sound tune(const int (&aChords)[4], float fBeat, int nMelody, float fSeconds) {
    Sound s(fSeconds);
    const int nBeats = static_cast<int>(fSeconds / fBeat);
    static const int kSteps[8] = {0, 2, 1, 2, 0, 1, 2, 1};
    for (int b = 0; b < nBeats; ++b) {
        const int nRoot = aChords[(b / 8) % 4];
        const float t = b * fBeat;
        s.tone(t, fBeat * 0.9f, note(nRoot - 24), note(nRoot - 24), Wave::Triangle, 0.45f, 3);
        if (b % 4 == 0)
            for (int k : {0, 4, 7}) s.tone(t, fBeat * 3.8f, note(nRoot + k - 12), note(nRoot + k - 12), Wave::Sine, 0.12f, 0.6f);
        const int aChord[3] = {0, 4, 7};
        const int nNote = nRoot + aChord[kSteps[(b + nMelody) % 8]] + (b % 16 >= 8 ? 12 : 0);
        if ((b + nMelody) % 3 != 2) s.tone(t, fBeat * 0.8f, note(nNote), note(nNote), Wave::Square, 0.12f, 4);
    }
    s.normalise(kMusicPeak);
    return s;
}

}  // namespace

void makeSounds(Output& out) {
    auto wav = [&](const std::string& sName, Sound s, float fPeak = kEffectPeak) {
        s.normalise(fPeak);
        out.bytes(Folder::Sound, sName + ".wav", encodeWav(s));
    };
    for (int v = 1; v <= 2; ++v) {
        wav("sfx_game_ask" + std::to_string(v), ask(v));
        wav("sfx_game_accept" + std::to_string(v), accept(v));
        wav("sfx_game_mistake" + std::to_string(v), mistake(v), kBuzzPeak);
    }
    wav("sfx_game_cantdo", single(0.2f, 110, 70, Wave::Sine, 12));
    wav("sfx_game_juicer", juicer(), kBuzzPeak);
    wav("sfx_game_number", single(0.04f, 1500, 1500, Wave::Square, 60));
    wav("sfx_game_star", star());
    wav("sfx_game_parrot", parrot());
    wav("sfx_mouseover", single(0.05f, 900, 1100, Wave::Sine, 30));
    wav("sfx_store_clink", clink());
    wav("ms_winlevel", jingle(true));
    wav("ms_loselevel", jingle(false));
    wav("sfx_ui_click", single(0.05f, 700, 400, Wave::Triangle, 40));
    wav("sfx_ui_hover", single(0.05f, 1200, 1300, Wave::Sine, 40));

    const int kMenu[4] = {3, -2, 0, -4}, kStory[4] = {-9, -4, -7, -2}, kWin[4] = {-2, 3, 5, 3}, kLevel[4] = {0, 5, -3, 7};
    out.bytes(Folder::Sound, "ms_menu.ogg", encodeOgg(tune(kMenu, 0.3f, 0, 24.0f)));
    out.bytes(Folder::Sound, "ms_story.ogg", encodeOgg(tune(kStory, 0.4f, 3, 25.6f)));
    out.bytes(Folder::Sound, "ms_story_win.ogg", encodeOgg(tune(kWin, 0.3f, 5, 24.0f)));
    out.bytes(Folder::Sound, "ms_level.ogg", encodeOgg(tune(kLevel, 0.25f, 1, 24.0f)));
}

}  // namespace cg
