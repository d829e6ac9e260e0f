// The credits list (creditslist.h).
#include "screens/creditslist.h"

#include <cstring>

#include "application/gameapp.h"
#include "dialogs/ui_credits.h"
#include "ui/ui_label.h"

namespace {

bool isItemLine(const Zep::String& sLine) {
    return sLine.length() > 2 && std::strchr("=+-", sLine[0]) && sLine[1] == ' ';
}

void logLeftOut(const Zep::String& sLine) {
    GameApp::log("B: ** Credits line left out : %.*s **\n", creditslist::kMaxLoggedBytes, sLine.c_str());
}

}  // namespace

Zep::List<creditslist::Item> creditslist::read(const Zep::String& sText) {
    Zep::List<Item> lItems;
    for (const Zep::String& sLine : sText.split("\r\n")) {
        if (sLine[0] == '#' || sLine.trim().isEmpty()) continue;
        if (!isItemLine(sLine)) {
            logLeftOut(sLine);
            continue;
        }
        if (lItems.getCount() == kMaxItems) {
            GameApp::log("B: ** Credits list cut after %d items **\n", kMaxItems);
            break;
        }
        Item item;
        item.cKind = sLine[0];
        item.sText = sLine.mid(2);
        lItems.add(item);
    }
    return lItems;
}

void creditslist::addTo(CreditsMode& credits, const Zep::List<Item>& lItems) {
    for (const Item& item : lItems) {
        if (item.cKind == '=') {
            credits.addGap(kHeadingGap);
            credits.addText(item.sText.c_str(), true)->setFont(credits.getFont(kHeadingFont));
        } else {
            credits.addText(item.sText.c_str(), item.cKind == '+');
        }
    }
}
