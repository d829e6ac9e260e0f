// The bodies of the customers: each part is one animated sprite playing the
// customer's animation, with a z-order offset from the customer's depth.
//
//   VIP (17 parts):  arm_left -5, leg_left -1, thumb -1, head 5, eyes 6,
//     arm_right 6, leg_right 3, glasses 7, hair 8, hat 9, body 0,
//     cloth_upper 4, cloth_lower 5, necklace 6, underwear 3,
//     arm_left_cloth -2, arm_right_cloth 7;
//   a name whose first six characters are "hombre" (11 parts): body -3,
//     arm_right 4, necklace 0, hair 2, arm_left_cloth 2, arm_right_cloth 5,
//     cloth -1, eyes 2, arm_left 1, head 1, mouth 2;
//   any other name (6 parts): body 0, arm_right 4, arm_left 1, head 1,
//     eyes 2, mouth 2.
//
// The drinking arm drives a customer's state machine: part 1 for the two
// ordinary kinds; parts 0 and 5 for VIPs, part 0 carrying the frame
// properties that are read. A served customer smiles with its head (VIP,
// "head_smile") or its mouth ("mouth_smile").
#pragma once

namespace CharacterBody {

enum Kind { kVip, kHombre, kPlain };

struct Part {
    const char* szName;
    int nZOffset;
};

// A name shorter than six characters is never of the "hombre" kind.
Kind kindOf(const char* szName, bool bVip);
int partCount(Kind eKind);
const Part& part(Kind eKind, int nIndex);
// The part that smiles and the sequence it plays.
int smilePart(Kind eKind);
const char* smileSequence(Kind eKind);

}  // namespace CharacterBody
