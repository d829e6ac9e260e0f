// The sand background's tiles (sandtiles.h).
#include "sandtiles.h"

#include "image.h"

void sandtiles::addTo(GameMode& mode, int nZOrder) {
    const Zep::SmartPtr<Image> pTile = mode.getImage(kTileImage);
    for (int nRow = 0; nRow < kRows; ++nRow)
        for (int nColumn = 0; nColumn < kColumns; ++nColumn)
            mode.addSprite(new Sprite(pTile, nColumn * kStep, nRow * kStep, nZOrder));
}
