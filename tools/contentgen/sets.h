// The content sets: each writes its pictures and generated scripts.
#pragma once

#include "output.h"

namespace cg {

void makeBar(Output& out);        // the bar scene, its fixtures and their scripts
void makeWaitress(Output& out);   // "char0_odile.template" and its 60 pictures
void makeCustomers(Output& out);  // "ch_*.anim", the include files and their pictures
void makeMugs(Output& out);       // glasses, liquids, shines, straws, decorations
void makeBalloons(Output& out);   // balloons, meters and order icons
void makeFigures(Output& out);    // barman, bongo player, dancer, parrot
void makeSounds(Output& out);     // the samples and the music
void makeStartup(Output& out);    // icon, splash logos, menu logos, loading screen, clock
void makeMenu(Output& out);       // the main menu's layers, decorations, panel frame and greeting
void makeStore(Output& out);      // the store, its salesman and parrot, the purchase dialog
void makeTheme(Output& out);      // the theme's buttons, frames, cursor, separators, slider, checks
void makeDayEnd(Output& out);     // the statistics' banners and separator, the congratulation, its flowers
void makeRecords(Output& out);    // the records screen's picture
void makeHowTo(Output& out);      // the three instruction pages
void makeCutScenes(Output& out);  // the ten story panels
void makeMap(Output& out);        // the campaign map, its place marker and current-place ring

}  // namespace cg
