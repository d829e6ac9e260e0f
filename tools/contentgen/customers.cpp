// The customers. The six-part kind stands facing the room on a 120 x 220
// canvas (feet at (60, 216)); the seventeen-part VIP kind sits in profile
// facing right and is drawn at 0.88 by the game. Each customer's script sets
// its colour letters as parameter (0) and includes its kind's sequences,
// which remap the clothes: pictures of their own, so that the skin keeps its
// colour.
//
// Where a glass goes: a standing customer's glass is drawn 14 pixels either
// side of her place at most, in every frame of her arm and at rest, so that
// it lies in her place's click area (60 pixels wide, places 60 apart). A
// seated VIP's seat point is her chair's reference line, behind her back:
// her balloon stands 80 pixels ahead of it, over her head, and her meter
// (112 ahead facing right, 165 facing left) just in front of her knees and
// of the glass she holds out.
#include <string>
#include <vector>

#include "figure.h"
#include "script.h"
#include "sets.h"

namespace cg {

namespace {

// ---- The six-part kind ------------------------------------------------------

constexpr int kW6 = 120, kH6 = 220, kInsX6 = 60, kInsY6 = 216;
// Right (drinking) arm: rest, call (the glass lifted to the chest), hold,
// drink 1, drink 2; the shoulder is on the picture's left (the figure faces
// the room). Every hand stays in front of the body.
constexpr Pt kShoulderR{42, 84};
constexpr Pt kRightHands[5] = {{46, 132}, {48, 112}, {46, 120}, {50, 88}, {56, 72}};
// Left (free) arm: rest, and waving over the shoulder while she calls.
constexpr Pt kShoulderL{78, 84};
constexpr Pt kLeftHands[2] = {{84, 136}, {98, 46}};
// The mug stands this far below the hand that grips it.
constexpr int kGrip = 12;

Palette guest() {
    Palette p;
    p.skin = rgb(0xE8B48C);
    p.hair = rgb(0x2E2A26);
    p.top = rgb(0xC8553D);   // remapped per customer
    p.bottom = rgb(0x3D5A80);
    return p;
}

// The body in two pictures: her legs and neck, and her clothes over them,
// the neckline cut out. Each customer's script recolours the clothes alone.
const std::vector<Pt> kNeckline = {{54, 76}, {66, 76}, {60, 88}};

Canvas guestBody() {
    const Palette p = guest();
    Canvas c(kW6, kH6);
    drawLeg(c, Pt{52, 150}, Pt{51, 210}, 0, p, 12);
    drawLeg(c, Pt{68, 150}, Pt{69, 210}, 0, p, 12);
    c.rect(54, 66, 12, 14, p.skin);
    c.polygon(kNeckline, p.skin);
    c.outline(kInk, 1);
    return c;
}

Canvas guestClothes() {
    const Palette p = guest();
    Canvas c(kW6, kH6);
    c.roundRect(44, 130, 32, 50, 6, p.bottom);
    c.roundRect(38, 76, 44, 64, 12, p.top);
    Canvas neckline(kW6, kH6);
    neckline.polygon(kNeckline, rgb(0xFFFFFF));
    c.punch(neckline, 0, 0);
    c.outline(kInk, 1);
    return c;
}

Canvas guestHead() {
    const Palette p = guest();
    Canvas c(kW6, kH6);
    c.ellipse(60, 46, 21, 23, p.skin);
    c.ellipse(39, 48, 4, 6, p.skin);
    c.ellipse(81, 48, 4, 6, p.skin);
    c.polygon({{38, 44}, {40, 28}, {52, 20}, {70, 20}, {80, 28}, {82, 44}, {74, 32}, {50, 34}}, p.hair);
    c.ellipse(60, 54, 3, 4, shade(p.skin, 0.9f));
    c.outline(kInk, 1);
    return c;
}

Canvas guestEyes(bool bOpen) {
    Canvas c(kW6, kH6);
    drawEyes(c, Pt{52, 46}, Pt{68, 46}, 2.4f, bOpen, guest());
    return c;
}

Canvas guestMouth(bool bSmile) {
    Canvas c(kW6, kH6);
    drawMouth(c, Pt{60, 60}, 10, bSmile, guest());
    return c;
}

Canvas guestArm(Pt shoulder, Pt hand, float fBend) {
    Palette p = guest();
    p.top = p.skin;  // short sleeves: the sleeve is part of the body
    Canvas c(kW6, kH6);
    drawArm(c, shoulder, hand, fBend, p, 10);
    c.outline(kInk, 1);
    return c;
}

// ---- The VIP kind -----------------------------------------------------------

// The figure is drawn on a 140 x 240 canvas (feet at (70, 236)); her
// pictures add kBehind transparent columns on the left, so that their left
// edge is the seat's reference line and their insertion point (0, 236).
constexpr int kW17 = 140, kH17 = 240, kInsY17 = 236;
constexpr int kBehind = 19;
constexpr float kVipScale = 0.88f;
// Left (drinking, far) arm: rest, call (the glass raised to the chin, ahead
// of the face), hold, drink 1, drink 2.
constexpr Pt kVipShoulderL{66, 92};
constexpr Pt kVipLeftHands[5] = {{100, 160}, {110, 74}, {112, 126}, {96, 96}, {84, 74}};
constexpr Pt kVipShoulderR{72, 94};
constexpr Pt kVipRightHands[2] = {{94, 166}, {112, 118}};
// A glass she has put down stands on the table this far ahead of the seat
// point and this far above it (screen pixels).
constexpr int kVipRestX = 106, kVipRestY = -60;

Palette vip() {
    Palette p;
    p.skin = rgb(0xF0C8A0);
    p.hair = rgb(0xD9A23A);
    p.top = rgb(0x6A4C93);  // remapped per VIP
    p.bottom = rgb(0x2D3047);
    p.shoes = rgb(0x1B1B1B);
    return p;
}

Canvas vipCanvas() { return Canvas(kW17, kH17); }

// The figure's drawing on its picture, from the seat's reference line.
Canvas seated(const Canvas& figure) {
    Canvas c(kBehind + kW17, kH17);
    c.blit(figure, kBehind, 0);
    return c;
}

Canvas vipArm(Pt shoulder, Pt hand, bool bFar) {
    Palette p = vip();
    if (bFar) p.skin = shade(p.skin, 0.88f);
    p.top = p.skin;
    Canvas c = vipCanvas();
    drawArm(c, shoulder, hand, hand.x < shoulder.x ? 5.0f : -5.0f, p, 10);
    c.outline(kInk, 1);
    return c;
}

// Sitting legs: thigh forward from the hip, shin down to the floor.
Canvas vipLeg(bool bFar) {
    Palette p = vip();
    if (bFar) p.skin = shade(p.skin, 0.88f);
    Canvas c = vipCanvas();
    const float dx = bFar ? -4.0f : 0.0f;
    c.line(68 + dx, 180, 104 + dx, 182, 14, p.skin);
    drawLeg(c, Pt{104 + dx, 182}, Pt{106 + dx, 230}, 1, p, 12);
    c.outline(kInk, 1);
    return c;
}

struct VipPicture {
    const char* szName;
    Canvas (*draw)();
};

Canvas vipBody() {
    Canvas c = vipCanvas();
    c.roundRect(56, 88, 30, 96, 10, vip().skin);
    c.rect(64, 74, 10, 18, vip().skin);
    c.outline(kInk, 1);
    return c;
}
Canvas vipHead(bool bSmile) {
    const Palette p = vip();
    Canvas c = vipCanvas();
    c.ellipse(72, 56, 19, 21, p.skin);
    c.ellipse(91, 60, 4, 4, p.skin);
    drawMouth(c, Pt{84, 68}, 7, bSmile, p);
    c.outline(kInk, 1);
    return c;
}
Canvas vipHeadNormal() { return vipHead(false); }
Canvas vipHeadSmile() { return vipHead(true); }
Canvas vipEyes(bool bOpen) {
    Canvas c = vipCanvas();
    drawEyes(c, Pt{82, 54}, Pt{82, 54}, 2.4f, bOpen, vip());
    return c;
}
Canvas vipEyesOpen() { return vipEyes(true); }
Canvas vipEyesClosed() { return vipEyes(false); }
Canvas vipHair() {
    Canvas c = vipCanvas();
    c.polygon({{52, 62}, {54, 40}, {68, 32}, {86, 36}, {92, 46}, {74, 44}, {66, 56}, {64, 82}, {52, 80}}, vip().hair);
    c.outline(kInk, 1);
    return c;
}
Canvas vipHat() {
    Canvas c = vipCanvas();
    c.ellipse(72, 38, 30, 6, rgb(0x8E3B46));
    c.roundRect(56, 14, 32, 26, 6, rgb(0x8E3B46));
    c.rect(56, 30, 32, 5, rgb(0xFFFFFF));
    c.outline(kInk, 1);
    return c;
}
Canvas vipClothUpper() {
    Canvas c = vipCanvas();
    c.roundRect(53, 86, 36, 66, 12, vip().top);
    c.polygon({{66, 86}, {78, 86}, {72, 100}}, rgb(0xFFFFFF));
    c.outline(kInk, 1);
    return c;
}
Canvas vipClothLower() {
    Canvas c = vipCanvas();
    c.roundRect(52, 158, 40, 32, 10, vip().bottom);
    c.line(66, 180, 104, 182, 16, vip().bottom);
    c.outline(kInk, 1);
    return c;
}
Canvas vipSleeve(Pt shoulder) {
    Canvas c = vipCanvas();
    c.ellipse(shoulder.x, shoulder.y + 6, 9, 13, vip().top);
    c.outline(kInk, 1);
    return c;
}
Canvas vipSleeveLeft() { return vipSleeve(kVipShoulderL); }
Canvas vipSleeveRight() { return vipSleeve(kVipShoulderR); }
Canvas vipLegLeft() { return vipLeg(true); }
Canvas vipLegRight() { return vipLeg(false); }

// ---- Scripts ----------------------------------------------------------------

const char* const kSuffixes[] = {"entering", "stand", "call", "drink", "drunk", "exiting"};

void load(Script& s, const std::string& sFile, const std::string& sName, int nInsX, int nInsY) {
    s.line("load %s", sFile.c_str()).line("clone %s %s", sFile.c_str(), sName.c_str());
    s.line("inspos %d %d %s", nInsX, nInsY, sName.c_str());
}

// A looping one-picture sequence, or eyes that blink now and then.
void still(Script& s, const std::string& sSeq, const char* szPicture) {
    s.line("seq %s loop", sSeq.c_str()).line("add %s", szPicture);
}
void blink(Script& s, const std::string& sSeq, const char* szOpen, const char* szClosed) {
    s.line("seq %s loop fps 10", sSeq.c_str()).line("add %s repeat 28", szOpen).line("add %s", szClosed);
}

// Ordinary drinking arm: frames of (picture, repeat) at 4 frames a second,
// the drink at 5; mugx from the insertion point, mugy from the top.
void guestArmFrame(Script& s, int nPose, bool bDoDrink) {
    s.line("add c_armr_%d", nPose + 1);
    s.line("prop mugx %d", static_cast<int>(kRightHands[nPose].x) - kInsX6);
    s.line("prop mugy %d", static_cast<int>(kRightHands[nPose].y) + kGrip);
    if (bDoDrink) s.line("prop dodrink true");
}

std::string customer6() {
    Script s;
    s.line("# customer6.inc: the six-part customer; (0) holds the colour letters of the clothes.");
    // A glass she has put down stands where her hand rests.
    s.line("prop mugx %d", static_cast<int>(kRightHands[0].x) - kInsX6);
    s.line("prop mugy %d", static_cast<int>(kRightHands[0].y) + kGrip);
    // Her clothes in her colours, her legs and neck laid under them.
    s.line("load cust_clothes").line("clone cust_clothes c_body").line("remap (0) c_body");
    s.line("load cust_body").line("rblit c_body cust_body").line("inspos %d %d c_body", kInsX6, kInsY6);
    load(s, "cust_head", "c_head", kInsX6, kInsY6);
    for (int i = 1; i <= 2; ++i) {
        load(s, "cust_eyes_" + std::to_string(i), "c_eyes_" + std::to_string(i), kInsX6, kInsY6);
        load(s, "cust_mouth_" + std::to_string(i), "c_mouth_" + std::to_string(i), kInsX6, kInsY6);
        load(s, "cust_arml_" + std::to_string(i), "c_arml_" + std::to_string(i), kInsX6, kInsY6);
    }
    for (int i = 1; i <= 5; ++i) load(s, "cust_armr_" + std::to_string(i), "c_armr_" + std::to_string(i), kInsX6, kInsY6);
    for (const char* szSuffix : kSuffixes) {
        const std::string sfx = szSuffix;
        still(s, "body_" + sfx, "c_body");
        still(s, "head_" + sfx, "c_head");
        blink(s, "eyes_" + sfx, "c_eyes_1", "c_eyes_2");
        still(s, "mouth_" + sfx, "c_mouth_1");
        if (sfx == "call") {
            s.line("seq arm_left_call loop fps 3").line("add c_arml_2").line("add c_arml_1");
        } else {
            still(s, "arm_left_" + sfx, "c_arml_1");
        }
        if (sfx == "drink") {
            s.line("seq arm_right_drink fps 5");
            const int aPoses[6] = {2, 3, 4, 4, 3, 2};
            for (int i = 0; i < 6; ++i) guestArmFrame(s, aPoses[i], i == 2);
        } else {
            const int nPose = sfx == "call" ? 1 : sfx == "drunk" ? 2 : 0;
            const int nFrames = sfx == "call" ? 6 : 4;
            s.line("seq arm_right_%s fps 4", szSuffix);
            for (int i = 0; i < nFrames; ++i) guestArmFrame(s, nPose, false);
        }
    }
    still(s, "mouth_smile", "c_mouth_2");
    return s.text();
}

// VIP drinking arm frame: mugx and mugy from the insertion point, as the game
// draws the figure (scaled by 0.88). The game places the glass at part 0's x
// plus mugx (negated when the figure is mirrored) minus the insertion-point
// x of the arm's picture, which is 0: every picture of the figure starts at
// the seat's reference line.
void vipArmFrame(Script& s, int nPose, bool bDoDrink, bool bWait) {
    const Pt h = kVipLeftHands[nPose];
    s.line("add v_arm_left_%d", nPose + 1);
    s.line("prop mugx %d", static_cast<int>((h.x + kBehind) * kVipScale));
    s.line("prop mugy %d", static_cast<int>((h.y + kGrip - kInsY17) * kVipScale));
    if (bDoDrink) s.line("prop dodrink true");
    if (bWait) s.line("prop waitfinish true");
}

struct VipPart {
    const char* szPart;
    const char* szPicture;  // one picture for every state, or null for the arms and eyes
};

constexpr VipPart kVipStill[] = {
    {"leg_left", "v_leg_left"},     {"thumb", "empty"},            {"head", "v_head"},
    {"leg_right", "v_leg_right"},   {"glasses", "empty"},        {"hair", "v_hair"},
    {"hat", "v_hat"},               {"body", "v_body"},          {"cloth_upper", "v_cloth_upper"},
    {"cloth_lower", "v_cloth_lower"}, {"necklace", "empty"},     {"underwear", "empty"},
    {"arm_left_cloth", "v_sleeve_left"}, {"arm_right_cloth", "v_sleeve_right"},
};

std::string customer17() {
    Script s;
    s.line("# customer17.inc: the seventeen-part VIP customer; (0) holds the colour letters of the clothes.");
    s.line("prop mugx %d", kVipRestX).line("prop mugy %d", kVipRestY);
    for (const char* szName : {"arm_left_1", "arm_left_2", "arm_left_3", "arm_left_4", "arm_left_5", "arm_right_1",
                               "arm_right_2", "body", "head", "head_smile", "eyes_1", "eyes_2", "leg_left", "leg_right",
                               "hair", "hat", "cloth_upper", "cloth_lower", "sleeve_left", "sleeve_right"})
        load(s, std::string("vip_") + szName, std::string("v_") + szName, 0, kInsY17);
    for (const char* szName : {"v_cloth_upper", "v_cloth_lower", "v_hat", "v_sleeve_left", "v_sleeve_right"})
        s.line("remap (0) %s", szName);
    s.line("load empty");
    for (const char* szSuffix : kSuffixes) {
        const std::string sfx = szSuffix;
        const bool bWait = sfx != "stand";
        if (sfx == "drink") {
            s.line("seq arm_left_drink fps 5");
            const int aPoses[6] = {2, 3, 4, 4, 3, 2};
            for (int i = 0; i < 6; ++i) vipArmFrame(s, aPoses[i], i == 2, true);
        } else {
            const int nPose = sfx == "call" ? 1 : sfx == "drunk" ? 2 : 0;
            s.line("seq arm_left_%s fps 4%s", szSuffix, bWait ? "" : " loop");
            for (int i = 0; i < (sfx == "call" ? 6 : 4); ++i) vipArmFrame(s, nPose, false, bWait);
        }
        s.line("seq arm_right_%s fps 4%s", szSuffix, bWait ? "" : " loop");
        for (int i = 0; i < 4; ++i) {
            s.line("add v_arm_right_%d", sfx == "drink" || sfx == "drunk" ? 2 : 1);
            if (bWait) s.line("prop waitfinish true");
        }
        blink(s, "eyes_" + sfx, "v_eyes_1", "v_eyes_2");
        for (const VipPart& part : kVipStill) still(s, std::string(part.szPart) + "_" + sfx, part.szPicture);
    }
    still(s, "head_smile", "v_head_smile");
    return s.text();
}

std::string customerScript(const char* szName, const char* szLetters, const char* szInclude) {
    Script s;
    s.line("# ch_%s.anim: a customer; the letters order the colour channels of the clothes.", szName);
    s.line("param %s", szLetters).line("include %s", szInclude);
    return s.text();
}

}  // namespace

void makeCustomers(Output& out) {
    out.picture("cust_body", guestBody());
    out.picture("cust_clothes", guestClothes());
    out.picture("cust_head", guestHead());
    out.picture("cust_eyes_1", guestEyes(true));
    out.picture("cust_eyes_2", guestEyes(false));
    out.picture("cust_mouth_1", guestMouth(false));
    out.picture("cust_mouth_2", guestMouth(true));
    for (int i = 0; i < 2; ++i) out.picture("cust_arml_" + std::to_string(i + 1), guestArm(kShoulderL, kLeftHands[i], -4));
    for (int i = 0; i < 5; ++i)
        out.picture("cust_armr_" + std::to_string(i + 1), guestArm(kShoulderR, kRightHands[i], i == 1 ? -4.0f : 4.0f));

    for (int i = 0; i < 5; ++i)
        out.picture("vip_arm_left_" + std::to_string(i + 1), seated(vipArm(kVipShoulderL, kVipLeftHands[i], true)));
    for (int i = 0; i < 2; ++i)
        out.picture("vip_arm_right_" + std::to_string(i + 1), seated(vipArm(kVipShoulderR, kVipRightHands[i], false)));
    const VipPicture aPictures[] = {
        {"vip_body", vipBody},           {"vip_head", vipHeadNormal},     {"vip_head_smile", vipHeadSmile},
        {"vip_eyes_1", vipEyesOpen},     {"vip_eyes_2", vipEyesClosed},   {"vip_leg_left", vipLegLeft},
        {"vip_leg_right", vipLegRight},  {"vip_hair", vipHair},           {"vip_hat", vipHat},
        {"vip_cloth_upper", vipClothUpper}, {"vip_cloth_lower", vipClothLower}, {"vip_sleeve_left", vipSleeveLeft},
        {"vip_sleeve_right", vipSleeveRight},
    };
    for (const VipPicture& picture : aPictures) out.picture(picture.szName, seated(picture.draw()));

    out.text(Folder::Data, "customer6.inc", customer6());
    out.text(Folder::Data, "customer17.inc", customer17());
    const char* const aGuests[][2] = {{"ana", "rgb"}, {"bea", "bgr"}, {"cleo", "grb"}};
    for (const auto& guest : aGuests)
        out.text(Folder::Data, std::string("ch_") + guest[0] + ".anim", customerScript(guest[0], guest[1], "customer6.inc"));
    out.text(Folder::Data, "ch_vip_1.anim", customerScript("vip_1", "rgb", "customer17.inc"));
    out.text(Folder::Data, "ch_vip_2.anim", customerScript("vip_2", "brg", "customer17.inc"));
}

}  // namespace cg
