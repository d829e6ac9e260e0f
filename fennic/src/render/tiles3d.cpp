#include "render/tiles3d.h"

namespace {

int s_nTextureResetFrame = -1;
uint64_t s_nNextImageSerial = 1;

// Padded length of an axis cut into tiles of side nTile.
int paddedLength(int nLength, int nTile) {
    const int nRest = nLength % nTile;
    return (nLength / nTile) * nTile + (nRest < 2 ? 1 : nextPowerOfTwo(nRest));
}

}  // namespace

int nextPowerOfTwo(int n) {
    int nPower = 1;
    while (nPower < n) nPower *= 2;
    return nPower;
}

int chooseTileSize(int nLength, int nStart, int nMax) {
    int nBest = nStart;
    int nBestCost = paddedLength(nLength, nStart);
    for (int nTile = nStart * 2; nTile <= nMax && nTile <= nLength; nTile *= 2) {
        const int nCost = paddedLength(nLength, nTile);
        if (nCost <= nBestCost) {
            nBest = nTile;
            nBestCost = nCost;
        }
    }
    return nBest;
}

int textureResetFrame() { return s_nTextureResetFrame; }
void setTextureResetFrame(int nFrame) { s_nTextureResetFrame = nFrame; }

void Drv3DTileData::allocate(int nCount) {
    m_nCount = nCount;
    for (std::vector<float>* pArray : {&m_vU, &m_vV, &m_vX, &m_vY}) pArray->assign(static_cast<size_t>(nCount) * 4, 0.0f);
}

void Drv3DTileData::free() {
    for (std::vector<float>* pArray : {&m_vU, &m_vV, &m_vX, &m_vY}) pArray->clear();
    m_nCount = 0;
    m_nGridWidth = 0;
    m_nGridHeight = 0;
    m_nStamp = -1;
}

bool Drv3DTileData::isCurrent(int nChangeStamp) const {
    return nChangeStamp <= m_nStamp && m_nStamp > s_nTextureResetFrame;
}

Drv3DImageData::Drv3DImageData(std::unique_ptr<Drv3DTileData> pTiles)
    : m_pTiles(std::move(pTiles)), m_nSerial(s_nNextImageSerial++) {}
