// BarPreview: the picture of the player's bar that the purchase dialog shows,
// read from the level's scene text at 40 % of its size.
//
// Reading "<scene>.scene" (scenelines.h gives the line syntax and the
// keywords of names): first ten sprites of "ui_fondo_azul" at x = 0, 80, ...,
// 720, y = 555, depth 140 (the blue strip); then each line. A line's sprites
// take its depth + 10. Keywords, tokens after the keyword:
//   "sprite" image x y depth [name]
//   "sprite_repeat" image x y depth copies step [name]: copies at x + i * step;
//     the name, when given, is registered without a sprite
//   "sprite_conditional" image x y depth tag [name]
//   "animsprite" animation x y depth [name]
//   "animsprite_conditional" animation x y depth name tag
//   "barman" x y depth facing tag [look]   the barman's sprites, in the look
//   "bongos" x y depth variant tag      the bongo player's, at the depth itself
//   "bailarina" x y depth minx maxx variant tag   the dancer ("bailarina.anim"
//     + variant, from "bailarina.template"), walking minx..maxx
//   "parrot" x y depth                  "parrot.anim" playing "stand_still",
//     and at depth + 11 "stand_move"
//   "actionspot_conditional" type x y depth ... tag   a "glassspot" shows the
//     picture "posavaso_1" on (width / 2, 30), on a copy of it
//   and the nine of SceneNames; any other keyword is skipped.
// A conditional line is made by the one rule of SceneTags (the preview's,
// with the preview's levels), which keeps the record of the lines it made.
// Purchase ids 13, 14 and 15 (chairs, centre pieces, juice machines) instead
// hand their candidates' sprites to the record builders (barpreview_records.cpp): a record ties each to the
// variant choices and levels at which it belongs to the bar.
//
// Highlights (what the purchase adds) while reading, with the kind under
// consideration equal to the purchase id: a sprite whose tag's kind is that
// kind; "mesa_0" only when the kind is 2 or 3 and e(2) != e(3), "mesa_1" when
// it is 4 or 5 and e(4) != e(5); the bongo players and dancers for 12, the
// parrot for 8; a glass spot only when its tag is the one its level brings
// ("juicer_j" at 1, "barman_j" at 2, "barman_j_a" at 3).
//
// After the last line every sprite's scale is multiplied by the float 0.4
// and its whole-number position becomes (x * 0.4, y * 0.4) truncated.
//
// Failures: a missing scene, picture or script raises the application's
// exception; "flip", "scale_anim" and "playsequence" with a name never
// registered raise "Hash key not found : <name>"; both leave the reading
// with the objects of the earlier lines in the lists. A malformed line, a
// line that scenelines leaves out, a "sprite_repeat" of more than 100 copies
// and a line that would bring the preview above 2,000 sprites are logged
// ("B: Scene <scene>.scene, line <n> : <cause>; line skipped") and skipped.
#pragma once

#include <zep2/list.h>
#include <zep2/str.h>

#include "application/gameapp.h"
#include "level/scenelines.h"
#include "level/scenetags.h"
#include "sprite/sprite.h"
#include "screens/upgradeconditionalsprite.h"

class BarPreview {
public:
    static constexpr float kScale = 0.4f;
    static constexpr int kDepthOffset = 10;
    static constexpr int kMaxSprites = 2000;
    static constexpr int kMaxRepeatCopies = 100;
    // A row of the record builders' tables (barpreview_records.cpp).
    struct RecordRow;

    // The levels are those the preview shows: for a purchase id below 13
    // that kind is already one level higher than the player has it.
    BarPreview(GameApp& app, int nPurchaseId, const SceneTags::Levels& levels);

    void read(const Zep::String& sSceneName);

    const Zep::List<Zep::SmartPtr<Sprite>>& getSprites() const { return m_lSprites; }
    const Zep::List<Zep::SmartPtr<Sprite>>& getHighlights() const { return m_lHighlights; }
    const Zep::List<UpgradeConditionalSprite>& getRecords() const { return m_lRecords; }
    const scenelines::SpriteNames& getNamedSprites() const { return m_hNamedSprites; }
    // The lines decided by the rule, and made; not those of the record builders.
    const SceneTags::ConditionalLines& getConditionalLines() const { return m_lines; }
    // e(k): the effect value of the kind at the preview's level.
    int effect(int nKind) const;

private:
    using Line = scenelines::Line;
    using Sprites = Zep::List<Zep::SmartPtr<Sprite>>;

    void readLine(const Line& line, scenelines::SceneNames& names);
    void addStrip();
    void scaleAll();
    void append(const Zep::SmartPtr<Sprite>& pSprite, bool bHighlight);
    // kSkipped when n more sprites would pass the limit.
    void requireRoom(int n) const;
    bool isMade(const Line& line);
    bool isKind(const Zep::String& sTag) const { return SceneTags::findKind(sTag) == m_nKind; }

    void sprite(const Line& line, scenelines::SceneNames& names);
    void spriteRepeat(const Line& line, scenelines::SceneNames& names);
    void spriteConditional(const Line& line, scenelines::SceneNames& names);
    void animSprite(const Line& line, scenelines::SceneNames& names);
    void animSpriteConditional(const Line& line, scenelines::SceneNames& names);
    void barman(const Line& line);
    void bongos(const Line& line);
    void bailarina(const Line& line);
    void parrot(const Line& line);
    void actionSpotConditional(const Line& line);
    bool isTableHighlighted(const Zep::String& sTag) const;
    Zep::SmartPtr<Image> coaster();

    // The figures' sprites (barpreview_figures.cpp).
    Sprites barmanSprites(int x, int y, int nDepth, int nFacing, const Zep::String& sLook);
    Sprites bongoSprites(int x, int y, int nDepth, const Zep::String& sVariant);
    Zep::SmartPtr<Sprite> dancerSprite(const Zep::String& sVariant, int x, int y, int nDepth, int nMinX, int nMaxX);

    // The record builders (barpreview_records.cpp).
    void addChairSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line);
    void addCenterSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line);
    void addJuicerSprite(const Zep::SmartPtr<Sprite>& pSprite, const Line& line, const char* szKeyword);
    // False when the sprite is dropped.
    bool addRecord(const Zep::SmartPtr<Sprite>& pSprite, const RecordRow& row);

    GameApp& m_app;
    int32_t m_nPurchaseId;
    int32_t m_nKind;
    SceneTags::ConditionalLines m_lines;
    Sprites m_lSprites;
    Sprites m_lHighlights;
    Zep::List<UpgradeConditionalSprite> m_lRecords;
    scenelines::SpriteNames m_hNamedSprites;
    Zep::SmartPtr<Image> m_pCoaster;
};
