// The customers' body kinds (characterbody.h).
#include "actors/characterbody.h"

#include <cstring>
#include <iterator>

namespace CharacterBody {

namespace {

constexpr Part kVipParts[] = {
    {"arm_left", -5}, {"leg_left", -1},   {"thumb", -1},       {"head", 5},      {"eyes", 6},
    {"arm_right", 6}, {"leg_right", 3},   {"glasses", 7},      {"hair", 8},      {"hat", 9},
    {"body", 0},      {"cloth_upper", 4}, {"cloth_lower", 5},  {"necklace", 6},  {"underwear", 3},
    {"arm_left_cloth", -2}, {"arm_right_cloth", 7},
};
constexpr Part kHombreParts[] = {
    {"body", -3}, {"arm_right", 4}, {"necklace", 0}, {"hair", 2},     {"arm_left_cloth", 2}, {"arm_right_cloth", 5},
    {"cloth", -1}, {"eyes", 2},     {"arm_left", 1}, {"head", 1},     {"mouth", 2},
};
constexpr Part kPlainParts[] = {
    {"body", 0}, {"arm_right", 4}, {"arm_left", 1}, {"head", 1}, {"eyes", 2}, {"mouth", 2},
};

constexpr const char* kHombrePrefix = "hombre";
constexpr int kVipHead = 3;
constexpr int kHombreMouth = 10;
constexpr int kPlainMouth = 5;

}  // namespace

Kind kindOf(const char* szName, bool bVip) {
    if (bVip) return kVip;
    return std::strncmp(szName, kHombrePrefix, std::strlen(kHombrePrefix)) == 0 ? kHombre : kPlain;
}

int partCount(Kind eKind) {
    switch (eKind) {
        case kVip: return static_cast<int>(std::size(kVipParts));
        case kHombre: return static_cast<int>(std::size(kHombreParts));
        default: return static_cast<int>(std::size(kPlainParts));
    }
}

const Part& part(Kind eKind, int nIndex) {
    switch (eKind) {
        case kVip: return kVipParts[nIndex];
        case kHombre: return kHombreParts[nIndex];
        default: return kPlainParts[nIndex];
    }
}

int smilePart(Kind eKind) {
    switch (eKind) {
        case kVip: return kVipHead;
        case kHombre: return kHombreMouth;
        default: return kPlainMouth;
    }
}

const char* smileSequence(Kind eKind) { return eKind == kVip ? "head_smile" : "mouth_smile"; }

}  // namespace CharacterBody
