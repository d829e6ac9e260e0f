// Reloading the theme: a new theme read from the file becomes the current one,
// and every control of every mode on the stack rebuilds its picture from it.
#include "sprite/control.h"
#include "application/gameapp.h"
#include "sprite/gamemode.h"
#include "theme/theme.h"

// Modes from the top of the stack down; each mode's sprites in draw order,
// taken as a list first so that a refresh may change the layers safely.
void GameApp::reloadTheme(const char* szThemeFile) {
    Zep::SmartPtr<Theme> pTheme = new Theme();
    pTheme->load(szThemeFile);
    setTheme(pTheme);
    for (int i = 0; i < getModeCount(); ++i)
        for (const Zep::SmartPtr<Sprite>& pSprite : getModeAt(i)->getAllSprites())
            if (Control* pControl = dynamic_cast<Control*>(pSprite.get())) pControl->refresh();
}
