// The glass of a seated guest of the demo content is drawn in her hand,
// facing right at one table chair and mirrored at the other, in every frame
// of every sequence of her drinking arm.
//
// The hand is found in the pictures themselves: the arm's painted pixel
// farthest from where the arm meets the painted body is the tip of the hand,
// and the hand is the arm's painted pixels near that tip.
#include <cmath>
#include <string>
#include <vector>

#include <zep2/str.h>

#include "level/levelplay_util.h"
#include "actors/mug.h"

namespace {

using leveltest::DemoLevel;

// The seated guest's drinking arm and her body (the figure's body parts).
constexpr int kArmPart = 0;
constexpr int kBodyPart = 10;
// The arm's pixels this close to its tip make the hand.
constexpr float kHandReach = 8.0f;

struct Box {
    float left = 1e9f, top = 1e9f, right = -1e9f, bottom = -1e9f;
    void add(const Point& p) {
        left = std::min(left, p.x);
        top = std::min(top, p.y);
        right = std::max(right, p.x + 1);
        bottom = std::max(bottom, p.y + 1);
    }
    Point centre() const { return Point((left + right) / 2, (top + bottom) / 2); }
    bool contains(const Point& p) const { return p.x >= left && p.x < right && p.y >= top && p.y < bottom; }
};

// The screen pixels (their top-left corners) where the sprite paints.
std::vector<Point> painted(const Sprite& sprite) {
    std::vector<Point> v;
    const Rect r = sprite.getBoundingRect();
    for (int y = r.getTop(); y < r.getBottom(); ++y)
        for (int x = r.getLeft(); x < r.getRight(); ++x)
            if (sprite.hitTestPixel(Point(x + 0.5f, y + 0.5f), 0)) v.emplace_back(static_cast<float>(x), static_cast<float>(y));
    return v;
}

float distance(const Point& a, const Point& b) { return std::hypot(a.x - b.x, a.y - b.y); }

Box handBox(const Sprite& arm, const Sprite& body) {
    const std::vector<Point> vArm = painted(arm);
    Point shoulder;
    int nShoulder = 0;
    for (const Point& p : vArm)
        if (body.hitTestPixel(Point(p.x + 0.5f, p.y + 0.5f), 0)) {
            shoulder += p;
            ++nShoulder;
        }
    Box hand;
    if (nShoulder == 0) return hand;
    shoulder /= static_cast<float>(nShoulder);
    Point tip = shoulder;
    for (const Point& p : vArm)
        if (distance(p, shoulder) > distance(tip, shoulder)) tip = p;
    for (const Point& p : vArm)
        if (distance(p, tip) <= kHandReach) hand.add(p);
    return hand;
}

Box glassBox(const Mug& mug) {
    const Rect r = mug.getSprite()->getDrawRect();
    Box box;
    box.add(Point(static_cast<float>(r.getLeft()), static_cast<float>(r.getTop())));
    box.add(Point(static_cast<float>(r.getRight() - 1), static_cast<float>(r.getBottom() - 1)));
    return box;
}

std::string describe(const Box& b) {
    return Zep::String::format("(%d,%d)-(%d,%d)", static_cast<int>(b.left), static_cast<int>(b.top),
                               static_cast<int>(b.right), static_cast<int>(b.bottom))
        .c_str();
}

}  // namespace

// The two table chairs of the demo scene: the left one faces right, the right
// one faces left.
TEST_F(DemoLevel, ASeatedGuestHoldsHerGlassInHerHandFacingEitherWayInEveryFrameOfHerArm) {
    PlayMode& level = enter();
    frames(2);
    struct Chair {
        int nSpot, x, y, nDirection;
    };
    const Chair aChairs[] = {{4, 520, 566, 1}, {5, 680, 566, -1}};
    int nChecked = 0;
    for (const char* szGuest : {"vip_1", "vip_2"})
        for (const Chair& chair : aChairs) {
            Zep::SmartPtr<Character> pGuest =
                new Character(&level, szGuest, chair.nSpot, chair.x, chair.y, 300, true, chair.nDirection, 0);
            const Zep::SmartPtr<Mug> pMug = Mug::create(&level, "vaso");
            AnimSprite& arm = *pGuest->getBodySprites()[kArmPart];
            const Sprite& body = *pGuest->getBodySprites()[kBodyPart];
            for (const Zep::String& sName : arm.getAnimation()->getSequenceNames()) {
                const std::string sSequence = sName.c_str();
                if (sSequence.rfind("arm_left_", 0) != 0 || sSequence.rfind("arm_left_cloth", 0) == 0) continue;
                for (int nFrame = 0; nFrame < arm.getFrameCount(sSequence.c_str()); ++nFrame) {
                    if (pGuest->hasMug()) pGuest->takeMug();
                    arm.play(sSequence.c_str(), 0.0f, -1);
                    arm.setFrame(nFrame, -1.0f);
                    pGuest->serveMug(pMug);  // places the glass at the hand of this frame
                    const Box hand = handBox(arm, body), glass = glassBox(*pMug);
                    const std::string sWhere = std::string(szGuest) + " facing " + std::to_string(chair.nDirection) +
                                               " " + sSequence + " frame " + std::to_string(nFrame) +
                                               ": hand " + describe(hand) + " glass " + describe(glass);
                    ASSERT_LT(hand.left, hand.right) << sWhere;
                    EXPECT_TRUE(glass.contains(hand.centre())) << sWhere;
                    // Held upright in the hand's middle, not at its edge.
                    EXPECT_LE(std::abs(glass.centre().x - hand.centre().x), 5.0f) << sWhere;
                    ++nChecked;
                }
            }
            pGuest->takeMug();
            pMug->detach();
            pGuest->detach();
        }
    // Four guests, each with the six sequences of the arm.
    EXPECT_GE(nChecked, 4 * 6);
}
