// The waitress's hand slots and the layout of what she carries (waitress.h).
#include <cstdlib>

#include <zep2/error.h>
#include <zep2/str.h>

#include "actors/mug.h"
#include "actors/waitress.h"

namespace {

constexpr const char* kZepSource = ".\\src\\waitress_hands";

// The held item's point in the body image, by the arm frame's "position".
constexpr int kMugX[Waitress::kMugTableSize] = {
    59,  57,  162, 140, 64,  91,  134, 129, 123, 118, 124, 129, 134, 141, 148, 141, 135, 121, 132, 135, 139, 144,
    138, 129, 126, 121, 116, 120, 126, 129, 23,  23,  23,  23,  23,  23,  97,  97,  97,  97,  97,  97,  93,  93,
    93,  93,  93,  93,  23,  23,  23,  23,  23,  23,  93,  93,  93,  93,  93,  23,  23,  23,  23,  23,  95,  92,
    88,  83,  89,  98,  101, 106, 111, 107, 101, 98,  93,  98,  104, 109, 103, 98,  93,  86,  79,  86,  92,  106};
constexpr int kMugY[Waitress::kMugTableSize] = {
    111, 145, 129, 130, 129, 130, 130, 127, 123, 119, 123, 127, 129, 131, 132, 131, 130, 130, 137, 135, 138, 139,
    138, 135, 134, 130, 126, 131, 134, 136, 127, 125, 122, 119, 116, 115, 127, 125, 122, 119, 116, 115, 154, 151,
    149, 146, 144, 144, 154, 156, 158, 161, 163, 166, 156, 158, 161, 163, 166, 151, 149, 146, 144, 144, 137, 135,
    138, 139, 138, 135, 134, 130, 126, 131, 134, 136, 130, 127, 123, 119, 123, 127, 129, 131, 132, 131, 130, 130};

// z-order offset of the item in each hand from its arm, per heading (n, e, s, w).
constexpr int kHandItemZ[2][4] = {{-4, 4, 4, -2}, {-4, -2, 4, 4}};

struct TrayPlace {
    int dx, dy, dz;
};

constexpr TrayPlace kTray4[4][4] = {
    {{8, 0, -4}, {0, -8, -4}, {-8, 0, -4}, {0, 8, -4}},
    {{3, 5, 7}, {11, 0, 5}, {3, -5, 3}, {-5, 0, 5}},
    {{-13, 6, 4}, {0, 11, 6}, {13, 6, 4}, {0, 0, 2}},
    {{-3, -5, 3}, {-11, 0, 5}, {-3, 5, 7}, {5, 0, 5}},
};

constexpr TrayPlace kTray6[4][6] = {
    {{0, -18, -4}, {19, -10, -4}, {19, 4, -4}, {0, 8, -4}, {-19, 4, -4}, {-19, -10, -4}},
    {{20, 2, 6}, {8, 19, 8}, {-8, 19, 8}, {-20, 2, 6}, {-8, -8, 4}, {8, -8, 4}},
    {{0, 18, 8}, {-19, 10, 6}, {-19, -4, 4}, {0, -8, 4}, {19, -4, 4}, {19, 10, 6}},
    {{-20, 2, 6}, {-8, -8, 4}, {8, -8, 4}, {20, 2, 6}, {8, 19, 8}, {-8, 19, 8}},
};

void place(Mug& mug, int x, int y, int z, float fScale) {
    mug.setPosition(x, y, z);
    mug.refresh();
    mug.setScale(fScale);
}

}  // namespace

// ---- Slots ----------------------------------------------------------------------

int Waitress::countCarriedItems() const {
    int nCount = 0;
    for (const Zep::SmartPtr<Mug>& pItem : m_lSlots)
        if (pItem.notNULL()) ++nCount;
    return nCount;
}

Zep::SmartPtr<Mug> Waitress::getHandContents(int n) const {
    if (n < 0 || n >= m_lSlots.getCount()) return Zep::SmartPtr<Mug>();
    return m_lSlots.get(n);
}

void Waitress::setHandContents(const Zep::SmartPtr<Mug>& pMug) {
    const int nFree = m_lSlots.indexOf(Zep::SmartPtr<Mug>());
    if (nFree < 0) ZEP_THROW(Zep::FatalErrorException, "setHandContents() illegally called. Tray is full.");
    m_lSlots[nFree] = pMug;
    layoutItems();
}

Zep::SmartPtr<Mug> Waitress::takeHandContents(int n) {
    const Zep::SmartPtr<Mug> pItem = getHandContents(n);
    if (pItem.isNULL()) return pItem;
    m_lSlots[n] = nullptr;
    layoutItems();
    return pItem;
}

Zep::List<Zep::SmartPtr<Mug>> Waitress::takeEmptyItems() {
    Zep::List<Zep::SmartPtr<Mug>> lEmpty;
    for (Zep::SmartPtr<Mug>& pItem : m_lSlots) {
        if (pItem.isNULL() || !pItem->isEmpty()) continue;
        lEmpty.add(pItem);
        pItem = nullptr;
    }
    if (!lEmpty.isEmpty()) layoutItems();
    return lEmpty;
}

Zep::List<Zep::SmartPtr<Mug>> Waitress::getFilledItems() const {
    Zep::List<Zep::SmartPtr<Mug>> lFilled;
    for (const Zep::SmartPtr<Mug>& pItem : m_lSlots)
        if (pItem.notNULL() && !pItem->isEmpty()) lFilled.add(pItem);
    return lFilled;
}

bool Waitress::canTakeWith(int nHand) const {
    if (m_bTray) return countCarriedItems() < m_nCapacity;
    for (int i = 0; i < getSlotCount(); ++i)
        if (isHandEmpty(i)) return i == nHand;
    return false;
}

// ---- Layout ----------------------------------------------------------------------

// The leading digits of the arm frame's "position", checked against the tables.
int Waitress::armPosition(int nArm) const {
    const AnimSprite& arm = *m_apArms[nArm];
    const Zep::SmartPtr<Animation> pAnimation = arm.getAnimation();
    const Zep::String sSequence = arm.getSequenceName();
    if (!pAnimation->hasSequence(sSequence.c_str())) return 0;
    const Zep::String sValue = arm.getFrameProp("position");
    const long nValue = std::strtol(sValue.c_str(), nullptr, 10);
    if (nValue < 0 || nValue >= kMugTableSize)
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Waitress : position '%s' is not 0 to 87 (animation %s, sequence %s, frame %d)",
                                      sValue.c_str(), pAnimation->getName().c_str(), sSequence.c_str(),
                                      arm.getFrame())
                      .c_str());
    return static_cast<int>(nValue);
}

void Waitress::mapArmPoint(int nArm, float fScale, float* pX, float* pY) const {
    const int nPosition = armPosition(nArm);
    const Zep::SmartPtr<Image> pBody = m_pBody->getImage();
    const int w = pBody.notNULL() ? pBody->getWidth() : 0, h = pBody.notNULL() ? pBody->getHeight() : 0;
    float fBodyX = 0.0f, fBodyY = 0.0f;
    m_pBody->getPosition(&fBodyX, &fBodyY);
    const float fLeft = fBodyX - static_cast<float>(pBody.notNULL() ? pBody->getInsPointX() : 0);
    const float fTop = fBodyY - static_cast<float>(pBody.notNULL() ? pBody->getInsPointY() : 0);
    *pX = static_cast<float>(kMugX[nPosition] - w / 2) * fScale + static_cast<float>(w / 2) + fLeft;
    *pY = static_cast<float>(h) - static_cast<float>(h - kMugY[nPosition]) * fScale + fTop;
}

void Waitress::layoutItems() {
    if (countCarriedItems() == 0) return;
    if (m_bTray) layoutTray(m_fDepthScale);
    else layoutHands(m_fDepthScale);
}

void Waitress::layoutHands(float fScale) {
    for (int i = 0; i < 2; ++i) {
        const Zep::SmartPtr<Mug> pItem = getHandContents(i);
        if (pItem.isNULL()) continue;
        if (kMugY[armPosition(i)] == 0)
            ZEP_THROW(Zep::AssertFailException,
                      "Assertion failed : n_lMugYValues[atoi(m_pArmSprites[i]->getFrameProp(\"position\"))] != 0");
        float fX = 0.0f, fY = 0.0f;
        mapArmPoint(i, fScale, &fX, &fY);
        place(*pItem, truncToInt(fX), truncToInt(fY), m_apArms[i]->getZOrder() + kHandItemZ[i][m_nHeading], fScale);
    }
}

void Waitress::layoutTray(float fScale) {
    const bool bSmall = m_nCapacity <= 4;
    float fTrayX = 0.0f, fTrayY = 0.0f;
    mapArmPoint(bSmall ? kRightHand : kLeftHand, fScale, &fTrayX, &fTrayY);
    const int nPlaces = bSmall ? 4 : 6;
    const int nArmZ = m_apArms[m_nHeading == kEast ? kRightHand : kLeftHand]->getZOrder();
    for (int i = 0; i < m_lSlots.getCount() && i < nPlaces; ++i) {
        const Zep::SmartPtr<Mug> pItem = m_lSlots.get(i);
        if (pItem.isNULL()) continue;
        const TrayPlace& at = bSmall ? kTray4[m_nHeading][i] : kTray6[m_nHeading][i];
        place(*pItem, truncToInt(static_cast<float>(at.dx) * fScale + fTrayX),
              truncToInt(static_cast<float>(at.dy) * fScale + fTrayY), at.dz + nArmZ, fScale);
    }
}
