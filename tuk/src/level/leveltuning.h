// Level tuning: the numbers of one level, from its game kind (0 the campaign,
// 1 relax mode, 2 free play), its level index n and the player's difficulty
// D. n is limited to 0..49 and D to 0..2; integer divisions truncate.
//
//                        kind 0                              kinds 1 and 2
//   price of a drink     100                                 100
//   day length           150 s                               90 s
//   day's customers      8 + n / 3                           1000 (the clock ends the day)
//   drinks per customer  1 for n < 25, else 2                the same
//   money goal           100 * (count * drinks * (5 + D) / 10)   0
//   base patience        max(12, 45 - n / 2 + 10 * (1 - D)) s    the same
//   customer pace        max(0.5, 1.5 - 0.02 n)              the same
//   liquids              0 to k - 1, k = min(6, 2 + n / 8)   the same
//   mixed orders         off; due at half the day length when n >= 10
//   harder mode          n >= 30, or n >= 15 with D = 2      the same
//   time bonus, penalty  none                                5 s, 10 s
//   spawning             the first customer after 1 s, then one every
//                        max(2, 6 - 0.08 n) s while a seat is free
#pragma once

#include "level/leveldata.h"

// Fills every tuning field of the level data: those above, with mixed orders
// off until the day clock switches them on.
void tuneLevel(LevelData& data, int nGameKind, int nLevel, int nDifficulty);

// Refuses a level whose customers could not order: its list of available
// liquids is empty or holds a liquid outside 0..5 (Zep::BadStateException
// "No available liquids").
void checkLiquids(const LevelData& data);
