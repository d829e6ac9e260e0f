// The line syntax of a scene text and the rules for the names its lines
// define, shared by both readers of a scene (the level and the store's bar
// preview) so that they read every line alike.
//
// Lines: the text is split at "\n"; a line's number is its index + 1. From
// its first "#" on a line is a comment; the rest is trimmed of blanks, tabs,
// CR and LF, and an empty line is skipped. The rest is split at runs of
// spaces and tabs (no empty tokens) and each token is trimmed the same way.
// Token 0, the keyword, is lower-cased; every other token stays as written.
//
// Numbers are read from a token's leading characters: an integer from its
// sign and digits (0 when there are none; beyond the int range it stops at
// the range's end), a decimal likewise with its fraction and exponent
// (beyond the float range it stops at the largest finite value).
//
// A line that cannot be read raises SceneLineError: malformed (too few
// tokens: "need %d tokens") or skipped (a name that no earlier line defined,
// where the rules below leave the line out). The reader logs and skips it
// (skipLogged) or, for a malformed line of the level, reports it as an error.
//
// SceneNames: a scene's images, animations and named sprites, and the nine
// keywords that work on them alone (tokens after the keyword):
//   "image" name           images[name] = the application's picture
//   "animation" name       animations[name] = the application's animation
//   "clone" src [dst]      with 2 tokens images[src] becomes a copy of itself,
//                          with more images[dst] = a copy of images[src]
//   "hflip" name           mirrors images[name] left-right
//   "inspos" x y image     the insertion point of images[image]: x is
//                          width / 2 for "center", the width for "right",
//                          else the number; y is height / 2 for "center",
//                          the height for "bottom", else the number
//   "flip" name            scale (-1, 1) on the sprite named
//   "flipsafe" name        the same when the name is registered, else nothing
//   "scale_anim" name sx sy   scale (sx, sy), decimals, on the sprite named
//   "playsequence" name seq   the named animated sprite plays seq from its
//                          start at the sequence's own rate, looping
// "hflip" and "inspos" change a private copy, made the first time, never
// the application's cached picture; sprites made from the name before that
// keep the picture they were made with.
//
// Names that no earlier line defined:
//   "flip", "scale_anim", "playsequence" with a name never registered raise
//     Zep::FatalErrorException "Hash key not found : <name>";
//   "flipsafe" with such a name does nothing;
//   a sprite line whose image is undefined makes a sprite without a picture
//     (image() gives an empty reference);
//   skipped: "flip", "flipsafe", "scale_anim", "playsequence" with a name
//     registered without a sprite (registerNoSprite); "clone", "hflip",
//     "inspos" on an undefined image; "playsequence" on a sprite that is not
//     animated; an animated sprite whose animation is undefined
//     (definedAnimation).
#pragma once

#include <cstdint>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/str.h>

#include "anim/animsprite.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "sprite/sprite.h"

namespace scenelines {

struct Line {
    int32_t nNumber = 0;
    Zep::List<Zep::String> lTokens;
};

using SpriteNames = Zep::Hash<Zep::String, Zep::SmartPtr<Sprite>>;

// The readable lines of the text, in order.
Zep::List<Line> splitLines(const Zep::String& sText);

int32_t readInt(const Zep::String& sToken);
float readFloat(const Zep::String& sToken);
// a + b, held within the int range.
int32_t addClamped(int32_t a, int64_t b);

class SceneLineError {
public:
    enum Kind { kMalformed, kSkipped };
    SceneLineError(Kind eKind, const Zep::String& sCause) : m_eKind(eKind), m_sCause(sCause) {}
    Kind getKind() const { return m_eKind; }
    const Zep::String& getCause() const { return m_sCause; }

private:
    Kind m_eKind;
    Zep::String m_sCause;
};

// Raises kSkipped with the cause.
[[noreturn]] void skipLine(const Zep::String& sCause);
// Token n of the line; kMalformed "need <n + 1> tokens" past its end.
const Zep::String& token(const Line& line, int n);
inline int32_t intToken(const Line& line, int n) { return readInt(token(line, n)); }
// Token n of the line, or "" past its end: a token a line may leave out.
Zep::String optionalToken(const Line& line, int n);

// "B: Scene <file>, line <n> : <cause>; line skipped\n"
void skipLogged(const Zep::String& sFile, const Line& line, const SceneLineError& error);

class SceneNames {
public:
    // The named sprites are the reader's own table.
    SceneNames(GameApp& app, SpriteNames& hSprites) : m_app(app), m_hSprites(hSprites) {}

    // True when the line's keyword is one of the nine above (and it was done).
    bool apply(const Line& line);

    // images[name]: empty when no line defined it.
    Zep::SmartPtr<Image> image(const Zep::String& sName);
    // animations[name]; kSkipped when no line defined it.
    Zep::SmartPtr<Animation> definedAnimation(const Zep::String& sName);
    void registerSprite(const Zep::String& sName, const Zep::SmartPtr<Sprite>& pSprite) {
        m_hSprites.set(sName, pSprite);
    }
    void registerNoSprite(const Zep::String& sName) { m_hSprites.set(sName, Zep::SmartPtr<Sprite>()); }

private:
    void clone(const Line& line);
    void hflip(const Line& line);
    void inspos(const Line& line);
    void scale(const Line& line, bool bOnlyRegistered, float fX, float fY);
    void playSequence(const Line& line);
    Zep::SmartPtr<Image> definedImage(const Zep::String& sName);
    // images[name] as a private copy.
    Zep::SmartPtr<Image> privateImage(const Zep::String& sName);
    // The registered sprite; kSkipped when it was registered without one.
    Zep::SmartPtr<Sprite> namedSprite(const Zep::String& sName);

    GameApp& m_app;
    SpriteNames& m_hSprites;
    Zep::Hash<Zep::String, Zep::SmartPtr<Image>> m_hImages;
    Zep::Hash<Zep::String, Zep::SmartPtr<Animation>> m_hAnimations;
    // The copies made here: kept, so that no other picture can take one's place.
    Zep::List<Zep::SmartPtr<Image>> m_lPrivate;
};

}  // namespace scenelines
