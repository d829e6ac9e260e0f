// Table: measuring, arranging, the frame and the attached sprites.
//
// All arithmetic is on 32-bit integers with divisions truncating toward
// zero; remainders of shared extra space are not handed out.
#include <algorithm>
#include <vector>

#include <zep2/error.h>

#include "application/gameapp.h"
#include "image/image.h"
#include "sprite/sprite.h"
#include "theme/theme.h"
#include "ui/ui_table.h"

namespace {

constexpr const char* kZepSource = ".\\src\\ui_table_layout";

// Content operations: tables by their outer size and position, with frame.
void contentSize(IVisualObject& o, int* pW, int* pH) {
    if (Table* pTable = dynamic_cast<Table*>(&o)) {
        pTable->getOuterSize(pW, pH, true);
    } else {
        o.getSize(pW, pH);
    }
}

void setContentSize(IVisualObject& o, int w, int h) {
    if (Table* pTable = dynamic_cast<Table*>(&o)) {
        pTable->setOuterSize(w, h, true);
    } else {
        o.setSize(w, h);
    }
}

void setContentPosition(IVisualObject& o, int x, int y) {
    if (Table* pTable = dynamic_cast<Table*>(&o)) {
        pTable->setOuterPosition(x, y, true);
    } else {
        o.setPosition(x, y);
    }
}

struct Constraint {
    int nFirst, nLast, nWidth;
};

// A spanning cell's width spread over its columns.
void applyConstraint(std::vector<int>& vWidths, const Constraint& c) {
    int nSum = 0;
    std::vector<int> vZero;
    for (int i = c.nFirst; i <= c.nLast; ++i) {
        nSum += vWidths[i];
        if (vWidths[i] == 0) vZero.push_back(i);
    }
    if (c.nWidth <= nSum) return;
    if (vZero.empty()) {
        int nNew = 0;
        for (int i = c.nFirst; i <= c.nLast; ++i) nNew += vWidths[i] = c.nWidth * vWidths[i] / nSum;
        vWidths[c.nLast] += c.nWidth - nNew;
        return;
    }
    const int nCount = static_cast<int>(vZero.size());
    for (int i : vZero) vWidths[i] = c.nWidth / nCount;
    vWidths[vZero.back()] += c.nWidth - nCount * (c.nWidth / nCount);
}

int sum(const std::vector<int>& v) {
    int n = 0;
    for (int x : v) n += x;
    return n;
}

}  // namespace

// Kept apart from the grid operations, which drop sub-table references. A
// content that fails while it leaves the mode is logged, never thrown on.
Table::~Table() {
    if (!m_bRemoveOnDestroy) return;
    try {
        removeAll();
    } catch (const Zep::Exception& e) {
        GameApp::log("G: ** Table freed with an error : %s **\n", e.getMessage());
    } catch (...) {
        GameApp::log("G: ** Table freed with an error **\n");
    }
}

void Table::getOuterSize(int* pW, int* pH, bool bWithFrame) {
    getSize(pW, pH);
    if (!bWithFrame || !m_bFramed) return;
    const Rect b = frameBorder();
    *pW += b.getLeft() + b.getRight();
    *pH += b.getTop() + b.getBottom();
}

void Table::setOuterSize(int w, int h, bool bWithFrame) {
    if (bWithFrame && m_bFramed) {
        const Rect b = frameBorder();
        w -= b.getLeft() + b.getRight();
        h -= b.getTop() + b.getBottom();
    }
    setSize(w, h);
}

void Table::setOuterPosition(int x, int y, bool bWithFrame) {
    if (bWithFrame && m_bFramed) {
        const Rect b = frameBorder();
        x += b.getLeft();
        y += b.getTop();
    }
    setPosition(x, y);
}

Rect Table::frameBorder() const {
    GameApp* pApp = GameApp::getInstance();
    if (!pApp || pApp->getTheme().isNULL()) return Rect();
    return pApp->getTheme()->getFrameBorder(m_sFrameStyle.c_str());
}

void Table::measure() {
    m_nWidth = m_nHeight = 0;
    std::vector<int> vWidths, vHeights;
    std::vector<bool> vStretch;
    std::vector<Constraint> vConstraints;
    // Cells, columns and rows from the contents.
    for (const std::shared_ptr<Row>& pRow : m_lRows) {
        int nColumn = 0, nRowHeight = 0;
        for (const Zep::SmartPtr<Cell>& pCell : *pRow) {
            int cw = 0, ch = 0;
            for (const CellLayer& layer : pCell->lLayers) {
                if (layer.pObject.isNULL()) continue;
                int w = 0, h = 0;
                contentSize(*layer.pObject, &w, &h);
                cw = std::max(cw, w);
                ch = std::max(ch, h);
            }
            nRowHeight = std::max(nRowHeight, ch);
            while (static_cast<int>(vWidths.size()) < nColumn + pCell->nSpan) {
                vWidths.push_back(0);
                vStretch.push_back(false);
            }
            if (!(pCell->nFlags & kNoExtraWidth))
                for (int i = nColumn; i < nColumn + pCell->nSpan; ++i) vStretch[i] = true;
            if (pCell->nSpan == 1) {
                vWidths[nColumn] = std::max(vWidths[nColumn], cw);
            } else {
                vConstraints.push_back({nColumn, nColumn + pCell->nSpan - 1, cw});
            }
            nColumn += pCell->nSpan;
        }
        vHeights.push_back(nRowHeight);
    }
    for (const Constraint& c : vConstraints) applyConstraint(vWidths, c);

    // Extra width to the stretchable columns, extra height to every row.
    const int nColumns = static_cast<int>(vWidths.size()), nRows = static_cast<int>(vHeights.size());
    const int nFlagged = static_cast<int>(std::count(vStretch.begin(), vStretch.end(), true));
    const int nExtraW = m_nRequestedWidth - (nColumns - 1) * m_nColumnSpacing - sum(vWidths);
    if (nExtraW > 0 && nColumns > 0 && nFlagged > 0)
        for (int i = 0; i < nColumns; ++i) vWidths[i] += vStretch[i] ? nExtraW / nFlagged : 0;
    const int nExtraH = m_nRequestedHeight - (nRows - 1) * m_nRowSpacing - sum(vHeights);
    if (nExtraH > 0 && nRows > 0)
        for (int& h : vHeights) h += nExtraH / nRows;

    // Cell sizes, then the contents take them.
    int nRow = 0;
    for (const std::shared_ptr<Row>& pRow : m_lRows) {
        int nColumn = 0;
        for (const Zep::SmartPtr<Cell>& pCell : *pRow) {
            pCell->nHeight = vHeights[nRow];
            pCell->nWidth = 0;
            for (int i = nColumn; i < nColumn + pCell->nSpan; ++i) pCell->nWidth += vWidths[i];
            nColumn += pCell->nSpan;
            for (const CellLayer& layer : pCell->lLayers)
                if (layer.pObject.notNULL()) setContentSize(*layer.pObject, pCell->nWidth, pCell->nHeight);
        }
        ++nRow;
    }
    m_nWidth = std::max(0, sum(vWidths) + (nColumns - 1) * m_nColumnSpacing);
    m_nHeight = nRows == 0 ? 0 : sum(vHeights) + (nRows - 1) * m_nRowSpacing;
    m_bLayoutValid = true;
}

void Table::arrange() {
    if (!m_bLayoutValid) measure();
    updateFrame();
    float y = m_position.y;
    for (const std::shared_ptr<Row>& pRow : m_lRows) {
        if (pRow->isEmpty()) continue;
        float x = m_position.x;
        int nRowHeight = 0;
        for (const Zep::SmartPtr<Cell>& pCell : *pRow) {
            int z = getZOrder() + m_nLayerZBase;
            for (const CellLayer& layer : pCell->lLayers) {
                if (layer.pObject.isNULL()) continue;
                IVisualObject& o = *layer.pObject;
                int w = 0, h = 0;
                contentSize(o, &w, &h);
                int dx = (layer.nAlign & 2) ? pCell->nWidth - w : (layer.nAlign & 4) ? (pCell->nWidth - w) / 2 : 0;
                int dy = (layer.nAlign & 0x10) ? pCell->nHeight - h : (layer.nAlign & 0x20) ? (pCell->nHeight - h) / 2 : 0;
                Sprite* pSprite = dynamic_cast<Sprite*>(&o);
                if ((pCell->nFlags & kUseInsPoint) && pSprite && pSprite->getImage().notNULL()) {
                    dx += pSprite->getImage()->getInsPointX();
                    dy += pSprite->getImage()->getInsPointY();
                }
                setContentPosition(o, static_cast<int>(x + dx), static_cast<int>(y + dy));
                o.setZOrder(z);
                z += m_nLayerZStep;
            }
            x += static_cast<float>(pCell->nWidth + m_nColumnSpacing);
            nRowHeight = pCell->nHeight;
        }
        y += static_cast<float>(nRowHeight + m_nRowSpacing);
    }
    placeAttachedSprites();
}

void Table::updateFrame() {
    if (!m_bFramed) {
        if (m_pFrameTable.notNULL()) m_pFrameTable->removeContents();
        m_pFrameTable = nullptr;
        m_sOldFrameSpec = "";
        return;
    }
    Zep::SmartPtr<Theme> pTheme = GameApp::getInstance()->getTheme();
    const Rect border = pTheme->getFrameBorder(m_sFrameStyle.c_str());
    const int w = m_nWidth + border.getLeft() + border.getRight() + m_rInset.getLeft() + m_rInset.getRight();
    const int h = m_nHeight + border.getTop() + border.getBottom() + m_rInset.getTop() + m_rInset.getBottom();
    int nFitW = w, nFitH = h;
    pTheme->fitFrameSize(nFitW, nFitH, m_sFrameStyle.c_str());
    const Zep::String sSpec = border.toString() + Zep::String::format(" %d %d", nFitW, nFitH);
    ZEP_ASSERT(notNULL(m_pFrameTable) || m_sOldFrameSpec == "");
    const Point at(m_position.x - static_cast<float>(m_rInset.getLeft() + (nFitW - w) / 2 + border.getLeft()),
                   m_position.y - static_cast<float>(m_rInset.getTop() + (nFitH - h) / 2 + border.getTop()));
    if (sSpec != m_sOldFrameSpec) {
        if (m_pFrameTable.notNULL()) m_pFrameTable->removeContents();
        m_pFrameTable = pTheme->makeFrameTable(m_pOwner, nFitW, nFitH, m_sFrameStyle.c_str());
    }
    if (m_pFrameTable->getPosition().x != at.x || m_pFrameTable->getPosition().y != at.y) m_pFrameTable->setPosition(at);
    if (m_pFrameTable->getZOrder() != getZOrder()) m_pFrameTable->setZOrder(getZOrder());
    m_sOldFrameSpec = sSpec;
    placeAttachedSprites();
}

void Table::placeAttachedSprites() {
    int tx = 0, ty = 0, tw = 0, th = 0;
    getPosition(&tx, &ty);
    getSize(&tw, &th);
    for (const AttachedSprite& a : m_lAttachedSprites) {
        const int x = tx + ((a.nAlign & 2) ? tw : (a.nAlign & 4) ? tw / 2 : 0);
        const int y = ty + ((a.nAlign & 0x10) ? th : (a.nAlign & 0x20) ? th / 2 : 0);
        a.pSprite->setPosition(x, y);
        a.pSprite->setZOrder(getZOrder() + a.nZOffset);
    }
}
