// UpgradeConditionalSprite: a sprite of the purchase dialog's bar preview
// tied to the variant choices and upgrade levels at which it belongs to the
// bar. A value record, kept by copy in a Zep::List: a copy shares the sprite
// (one more reference) and copies both lists.
#pragma once

#include <zep2/list.h>
#include <zep2/refcount.h>

#include "sprite/sprite.h"

struct UpgradeConditionalSprite {
    // The variant ids (the dialog's radio choices) whose choice previews it.
    Zep::List<int> m_lVariantIds;
    // A Sprite or an AnimSprite.
    Zep::SmartPtr<Sprite> m_pSprite;
    // Visible with the bar's levels as the dialog starts.
    bool m_bShown = false;
    // The levels of the variant's upgrade kind at which it belongs to the bar.
    Zep::List<int> m_lLevels;
};
