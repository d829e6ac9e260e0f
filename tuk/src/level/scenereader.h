// SceneReader: builds a level from its scene text, "<scene>.scene".
//
// Line syntax, numbers and the keywords of names ("image", "animation",
// "clone", "hflip", "inspos", "flip", "flipsafe", "scale_anim",
// "playsequence") are the ones the store's bar preview reads (scenelines.h);
// "hflip" and "inspos" change private copies, never the cached pictures.
// Coordinates are screen pixels and a depth is the z-order itself. A
// conditional line is made when SceneTags::isMade (the level's reader) says
// so; its tokens are read and checked whether it is made or not, so that a
// broken line is found with any upgrade levels.
//
// Keywords shared with the preview (tokens after the keyword; a name token
// registers the sprite for the keywords of names):
//   "sprite" image x y depth [name]
//   "sprite_repeat" image x y depth copies step [name]: copies at
//     x + i * step, at most 100; the name is registered without a sprite
//   "sprite_conditional" image x y depth tag [name]
//   "animsprite" animation x y depth [name]
//   "animsprite_conditional" animation x y depth name tag
//   "barman" x y depth facing tag [look]: a Barman, in the look when given
//     (tag "base": always)
//   "bongos" x y depth variant tag: a MisterBongos
//   "bailarina" x y depth minx maxx variant tag: a DancingGirl of
//     "bailarina.template" read with the variant ("bailarina.anim" + variant)
//   "parrot" x y depth: the level's Parrot (at most one)
// The level's own keywords:
//   "walkarea" left top right bottom depth
//   "preferredline" h|v value left top right bottom headings ("ew", ...)
//   "charspots" ordinaryY ordinaryDepth vipY vipDepth
//   "actionspot" type x y depth wl wt wr wb heading image [arg ...]
//   "actionspot_conditional" the same, then the tag
//     type "glassspot" [barman], "platformjuicer" [machine id],
//     "trashbin", "propdispenser", "charspot" seatKind [direction]; the
//     sprite shows the scene's picture of the name, else the application's
//   "drinkmachine" machine s1 s2 s3 s4 kind wl wt wr wb heading: built when
//     kind is "juicer_0" and L6 = 1, or "juicer_1" and L7 = 1, from five
//     sprites named by earlier lines, the first animated
//   "liquid", "beverage" type x y z: a button of the machine of the nearest
//     "drinkmachine" line before it (nothing when that one was not built),
//     used from the machine's walk rectangle; liquid 0..5, beverage 0..2
//   "background" image: a sprite at (0, 0), depth -1000
//   "soundtrack" music
//   "randompoint" x y [name]; "randomsprite" image depth: a hidden sprite at
//     the latest point
//   "path" name; "waypoint" x y (the latest path); "pathsprite" animation
//     path speed depth: a PathSprite over the path's waypoints so far
//   "emitter" file x y depth: a ParticleEmitter of the level
//   "buttonanim", "lingo", "seagull": skipped, logged once per keyword:
//     "B: Scene <file>: keyword <keyword> ignored"
// Any other keyword is skipped and logged: "B: Scene <file>, line <n>:
// unknown keyword <keyword>".
//
// Headings are "n", "e", "s", "w". The stored point of an action spot is the
// centre of its walk rectangle. Coasters have their picture on (width / 2,
// 30); a "glassspot" is the barman's with the word "barman" or a tag
// "barman_0", "barman_1", "barman_0_a", "barman_1_a". A "platformjuicer"
// serves machine 0 or 1: its argument, else the tag "juicer_1" gives 1, else
// 0; it is linked to that machine after the last line. A seat's kind is 0
// (ordinary), 1 or 2 (VIP), its direction +1 or -1 (default +1); its
// sprite's x is where its customer stands.
//
// After the last line: every random point shows one of its sprites, drawn
// with rand(); the seats are ordered ordinary first, then VIP, each in scene
// order, with their kinds and the VIP seats' directions in the level data; the coasters are linked; and the scene must have a walk area,
// a walk band whose bottom lies below its top, the waitress's start
// (400, 620) in a walk area, 1 to 4 ordinary seats and a sink.
//
// Errors: SceneParserException "Scene <file>, line <n> : <cause>", the line
// the one being read, or for the checks after the last line the text's last
// line. Causes: too few tokens ("need <n> tokens"); an unknown heading,
// action-spot type, machine kind or line direction; an unknown sprite or
// path name; a number out of range (types, seat kinds, directions, machine
// ids; coordinates, depths and speeds beyond 100,000 either way); a line out
// of place ("waypoint" before any "path", ...); a limit (copies, sprites); a
// failed check; and any exception raised while the line is made (for
// example "Hash key not found : <name>" of the keywords of names), its
// message as the cause. The lines read before keep their effects. The cases
// that scenelines skips (a name without a picture, an animation never
// defined, ...) are logged ("B: Scene <file>, line <n> : <cause>; line
// skipped") and skipped.
#pragma once

#include <cstdint>

#include <zep2/error.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "anim/animsprite.h"
#include "effects/particle_emitter.h"
#include "base/rect.h"
#include "level/scenelines.h"
#include "level/scenetags.h"
#include "sprite/sprite.h"

class ActionSpot;
class DrinkMachine;
class GlassSpot;
class PlayMode;

ZEP_DECLARE_EXCEPTION(SceneParserException);

// A point where one sprite of several shows, drawn when the scene is read.
struct RandomPoint {
    int32_t x = 0;
    int32_t y = 0;
    Zep::List<Zep::SmartPtr<Sprite>> lSprites;
    Zep::String sName;
};

// One waypoint of a named path, kept by value in the path's list; a copy
// holds the same point (and, as every copy of a counted object, no
// references).
class PathWaypoint : public Zep::RefCountedObject {
public:
    PathWaypoint(int x = 0, int y = 0) : m_nX(x), m_nY(y) {}
    int getX() const { return m_nX; }
    int getY() const { return m_nY; }

private:
    int32_t m_nX;
    int32_t m_nY;
};

struct ScenePath {
    Zep::String sName;
    Zep::List<PathWaypoint> lWaypoints;
};

// What the level keeps of its scene beside its actors and sprites.
struct SceneObjects {
    Zep::SmartPtr<Sprite> pBackground;
    Zep::String sSoundtrack;
    Zep::List<RandomPoint> lRandomPoints;
    Zep::List<ScenePath> lPaths;
    // The animated sprites of the scene's lines, but a machine's: the level
    // advances them every frame.
    Zep::List<Zep::SmartPtr<AnimSprite>> lAnimated;
    // The level updates them every frame.
    Zep::List<Zep::SmartPtr<ParticleEmitter>> lEmitters;
    // The conditional lines whose objects the level made, by line number.
    Zep::List<int32_t> lMadeLines;
};

class SceneReader {
public:
    static constexpr int kMaxOrdinarySeats = 4;
    static constexpr int kMaxRepeatCopies = 100;
    static constexpr int kMaxSprites = 5000;
    static constexpr int kBackgroundDepth = -1000;
    static constexpr int kStartX = 400;
    static constexpr int kStartY = 620;
    static constexpr int kLiquidTypes = 6;
    static constexpr int kBeverageTypes = 3;
    static constexpr int kSeatKinds = 3;
    static constexpr int kMachines = 2;
    static constexpr int kMaxCoordinate = 100000;

    // The level (not owned) and the player's 13 upgrade levels.
    SceneReader(PlayMode& mode, const SceneTags::Levels& levels);
    SceneReader(const SceneReader&) = delete;
    SceneReader& operator=(const SceneReader&) = delete;

    void read(const Zep::String& sSceneName);

private:
    using Line = scenelines::Line;
    // A keyword of the level's own table: the fewest tokens of its lines,
    // keyword included, and its reading (none for an ignored keyword).
    struct Keyword {
        const char* szName;
        int nTokens;
        void (SceneReader::*pRead)(const Line&);
    };
    static const Keyword* findKeyword(const Zep::String& sKeyword);

    // An "actionspot" line as read.
    struct Spot;
    // A platform coaster to link after the last line.
    struct PlatformLink {
        int32_t nMachine;
        Zep::SmartPtr<GlassSpot> pSpot;
    };
    // The seats as the lines made them.
    struct Seat {
        Zep::SmartPtr<ActionSpot> pSpot;
        int32_t nKind;
        int32_t nDirection;
    };

    void readLine(const Line& line);
    [[noreturn]] void fail(int nLine, const Zep::String& sCause) const;
    bool isMade(const Line& line);
    void logIgnored(const Zep::String& sKeyword);
    void logUnknown(const Line& line);
    // A limit failure when n more sprites would pass kMaxSprites.
    void requireRoom(int nSprites);
    Zep::SmartPtr<Sprite> addSprite(const Zep::SmartPtr<Sprite>& pSprite);
    // The scene's picture of the name, else the application's.
    Zep::SmartPtr<Image> picture(const Zep::String& sName);
    int heading(const Zep::String& sToken, int nLine) const;
    // Token n as a coordinate, depth or speed: "number <token> out of range"
    // beyond kMaxCoordinate either way.
    int number(const Line& line, int n) const;
    // Tokens n to n + 3: left, top, right, bottom.
    Rect rect(const Line& line, int n) const;

    // Sprites and figures (scenereader.cpp).
    void sprite(const Line& line);
    void spriteRepeat(const Line& line);
    void spriteConditional(const Line& line);
    void animSprite(const Line& line);
    void animSpriteConditional(const Line& line);
    void makeAnimSprite(const Line& line, int nNameToken);
    void barman(const Line& line);
    void bongos(const Line& line);
    void bailarina(const Line& line);
    void parrot(const Line& line);

    // Spots and machines (scenereader_spots.cpp).
    void actionSpot(const Line& line);
    Spot readSpot(const Line& line, bool bConditional) const;
    void makeSpot(const Spot& spot);
    void drinkMachine(const Line& line);
    // The sprite registered under the name; "unknown sprite name" when none.
    Zep::SmartPtr<Sprite> namedSprite(const Zep::String& sName, const Line& line) const;
    void machineButton(const Line& line);
    void linkPlatforms();
    void orderSeats();

    // The level's places and extras (scenereader_places.cpp).
    void walkArea(const Line& line);
    void preferredLine(const Line& line);
    void charSpots(const Line& line);
    void background(const Line& line);
    void soundtrack(const Line& line);
    void randomPoint(const Line& line);
    void randomSprite(const Line& line);
    void path(const Line& line);
    void waypoint(const Line& line);
    void pathSprite(const Line& line);
    void emitter(const Line& line);
    void showRandomSprites();
    void check(int nLastLine);

    PlayMode& m_mode;
    SceneTags::ConditionalLines m_lines;
    Zep::String m_sFile;
    scenelines::SpriteNames m_hNamed;
    scenelines::SceneNames m_names;
    int32_t m_nSprites = 0;
    int32_t m_nSinks = 0;
    Zep::List<Zep::String> m_lIgnored;
    Zep::List<Seat> m_lSeats;
    Zep::List<PlatformLink> m_lPlatforms;
    // The latest "drinkmachine" line: read, and its machine when built.
    bool m_bMachineLine = false;
    Zep::SmartPtr<DrinkMachine> m_pMachine;
    Rect m_machineRect;
    int32_t m_nMachineHeading = 0;
    ScenePath* m_pPath = nullptr;  // the latest path, in the level's list
};
