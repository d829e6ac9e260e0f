// The sand background's tiles (sandtiles.h).
#include "screens/sandtiles.h"

#include "application/gameapp.h"
#include "image/image.h"

void sandtiles::addTo(GameMode& mode, int nZOrder) {
    const Zep::SmartPtr<Image> pTile = mode.getImage(kTileImage);
    for (int nRow = 0; nRow < kRows; ++nRow)
        for (int nColumn = 0; nColumn < kColumns; ++nColumn)
            mode.addSprite(new Sprite(pTile, nColumn * kStep, nRow * kStep, nZOrder));
}

void sandtiles::addScreenTiles(GameMode& mode, int nZOrder) {
    const Zep::SmartPtr<Image> pTile = mode.getImage(kTileImage);
    const int nStepX = pTile->getWidth(), nStepY = pTile->getHeight();
    if (nStepX <= 0 || nStepY <= 0) return;
    const GameApp* pApp = mode.getApp();
    const int nWidth = pApp->getScreenWidth(), nHeight = pApp->getScreenHeight();
    for (int y = 0; y < nHeight; y += nStepY)
        for (int x = 0; x < nWidth; x += nStepX) mode.addSprite(new Sprite(pTile, x, y, nZOrder));
}
