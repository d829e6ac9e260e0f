// Table: members, the visual-object operations, building and reading the
// grid, sprites and removal. Measuring and arranging are in ui_table_layout.cpp.
#include "ui/ui_table.h"

#include <zep2/error.h>

#include "anim/animsprite.h"
#include "sprite/gamemode.h"
#include "effects/sc_playanim.h"
#include "sprite/sprite.h"

namespace {
constexpr const char* kZepSource = ".\\src\\ui_table";
}

Table::Table(GameMode* pOwner) : m_pOwner(pOwner) {}


// ---- IVisualObject ----------------------------------------------------------------

Point Table::getSize() const {
    int w = 0, h = 0;
    getSize(&w, &h);
    return Point(static_cast<float>(w), static_cast<float>(h));
}

void Table::getSize(int* pWidth, int* pHeight) const {
    if (!m_bLayoutValid) const_cast<Table*>(this)->measure();
    *pWidth = m_nWidth;
    *pHeight = m_nHeight;
}

void Table::setSize(const Point& size) { setSize(static_cast<int>(size.x), static_cast<int>(size.y)); }

void Table::setSize(int nWidth, int nHeight) {
    if (m_nResizeFlags & 1) m_nWidth = m_nRequestedWidth = nWidth;
    m_bLayoutValid = false;
    if (m_nResizeFlags & 2) m_nHeight = m_nRequestedHeight = nHeight;
}

int Table::getWidth() const {
    int w = 0, h = 0;
    getSize(&w, &h);
    return w;
}

int Table::getHeight() const {
    int w = 0, h = 0;
    getSize(&w, &h);
    return h;
}

void Table::getPosition(float* pX, float* pY) const {
    *pX = m_position.x;
    *pY = m_position.y;
}

void Table::getPosition(int* pX, int* pY) const {
    *pX = static_cast<int>(m_position.x);
    *pY = static_cast<int>(m_position.y);
}

void Table::setPosition(const Point& p) {
    m_position = p;
    arrange();
}

void Table::setPosition(int x, int y) { setPosition(Point(static_cast<float>(x), static_cast<float>(y))); }

void Table::setZOrder(int nZOrder) {
    m_nZOrder = nZOrder;
    arrange();
}

template <class Fn>
void Table::forEachContent(Fn fn) const {
    for (const std::shared_ptr<Row>& pRow : m_lRows)
        for (const Zep::SmartPtr<Cell>& pCell : *pRow)
            for (const CellLayer& layer : pCell->lLayers)
                if (layer.pObject.notNULL()) fn(*layer.pObject);
}

void Table::setVisible(bool bVisible) {
    m_bVisible = bVisible;
    forEachContent([&](IVisualObject& o) { o.setVisible(bVisible); });
    if (m_pFrameTable.notNULL()) m_pFrameTable->setVisible(bVisible);
    for (const AttachedSprite& a : m_lAttachedSprites) a.pSprite->setVisible(bVisible);
}

void Table::setClipRect(const Rect& rect) {
    forEachContent([&](IVisualObject& o) { o.setClipRect(rect); });
    if (m_pFrameTable.notNULL()) m_pFrameTable->setClipRect(rect);
}

void Table::clearClipRect() {
    forEachContent([](IVisualObject& o) { o.clearClipRect(); });
    if (m_pFrameTable.notNULL()) m_pFrameTable->clearClipRect();
}

// ---- Members ----------------------------------------------------------------------

void Table::setFrameStyle(const char* szStyle) {
    m_bFramed = true;
    m_sFrameStyle = szStyle;
}

void Table::setLayerZ(int nBase, int nStep) {
    m_nLayerZBase = nBase;
    m_nLayerZStep = nStep;
}

// ---- The grid ---------------------------------------------------------------------

void Table::newRow() { m_lRows.add(std::make_shared<Row>()); }

void Table::newCell(int nSpan) {
    ZEP_ASSERT(nSpan >= 1);
    if (m_lRows.isEmpty()) newRow();
    Zep::SmartPtr<Cell> pCell = new Cell();
    pCell->nSpan = nSpan;
    m_lRows.getLast()->add(pCell);
}

Table::Cell& Table::currentCell() {
    if (m_lRows.isEmpty()) newRow();
    if (m_lRows.getLast()->isEmpty()) newCell(1);
    return *m_lRows.getLast()->getLast();
}

void Table::add(const Zep::SmartPtr<IVisualObject>& pObject, int nAlign) {
    currentCell().lLayers.add(CellLayer{pObject, nAlign});
    Sprite* pSprite = dynamic_cast<Sprite*>(pObject.get());
    if (pSprite && !pSprite->getMode() && m_pOwner) m_pOwner->addSprite(Zep::SmartPtr<Sprite>(pSprite));
    if (Table* pTable = dynamic_cast<Table*>(pObject.get())) m_lSubTables.add(Zep::SmartPtr<Table>(pTable));
    m_bLayoutValid = false;
}

void Table::setCellFlags(int nFlags) { currentCell().nFlags = nFlags; }

void Table::setContentName(const char* szName) {
    m_hNamedContents.set(Zep::String(szName), currentCell().lLayers.getLast().pObject);
}

Zep::SmartPtr<IVisualObject> Table::findContent(const char* szName) const {
    const Zep::String sName(szName);
    if (m_hNamedContents.contains(sName)) return m_hNamedContents.get(sName);
    for (const Zep::SmartPtr<Table>& pSub : m_lSubTables) {
        Zep::SmartPtr<IVisualObject> p = pSub->findContent(szName);
        if (p.notNULL()) return p;
    }
    return Zep::SmartPtr<IVisualObject>();
}

int Table::getCellCount(int nRow) const { return m_lRows.get(nRow)->getCount(); }

int Table::getLayerCount(int nRow, int nCell) const { return m_lRows.get(nRow)->get(nCell)->lLayers.getCount(); }

Zep::SmartPtr<IVisualObject> Table::getContent(int nRow, int nCell, int nLayer) const {
    return m_lRows.get(nRow)->get(nCell)->lLayers.get(nLayer).pObject;
}

// ---- Sprites ----------------------------------------------------------------------

void Table::getSprites(Zep::List<Zep::SmartPtr<Sprite>>& lOut, bool bRecursive) const {
    lOut.clear();
    if (bRecursive && m_bFramed && m_pFrameTable.notNULL()) m_pFrameTable->getSprites(lOut, true);
    forEachContent([&](IVisualObject& o) {
        if (Sprite* pSprite = dynamic_cast<Sprite*>(&o)) {
            lOut.add(Zep::SmartPtr<Sprite>(pSprite));
        } else if (Table* pTable = dynamic_cast<Table*>(&o); pTable && bRecursive) {
            Zep::List<Zep::SmartPtr<Sprite>> lSub;
            pTable->getSprites(lSub, true);
            for (const Zep::SmartPtr<Sprite>& p : lSub) lOut.add(p);
        }
    });
}

// An animated sprite gets a player so that it plays where it is attached.
void Table::attachSprite(const Zep::SmartPtr<Sprite>& pSprite, int nAlign, int nZOffset) {
    m_lAttachedSprites.add(AttachedSprite{pSprite, nAlign, nZOffset});
    if (dynamic_cast<AnimSprite*>(pSprite.get()))
        pSprite->addController(std::make_unique<SCPlayAnimation>(false, false));
    placeAttachedSprites();
}

void Table::getAttachedSprites(Zep::List<Zep::SmartPtr<Sprite>>& lOut) const {
    lOut.clear();
    for (const AttachedSprite& a : m_lAttachedSprites) lOut.add(a.pSprite);
}

// ---- Layout switches --------------------------------------------------------------

void Table::updateLayout() {
    m_bLayoutValid = false;
    arrange();
}

void Table::setSpacing(int n) {
    m_nRowSpacing = m_nColumnSpacing = n;
    updateLayout();
}

void Table::setRowSpacing(int n) {
    m_nRowSpacing = n;
    updateLayout();
}

void Table::setColumnSpacing(int n) {
    m_nColumnSpacing = n;
    updateLayout();
}

// ---- Removing ---------------------------------------------------------------------

void Table::clear() {
    removeContents();
    m_lRows.clear();
}

void Table::removeContents() { removeLayers(false); }

// Sprites leave the owner's mode; nested tables empty themselves the same way.
void Table::removeLayers(bool bAll) {
    for (const std::shared_ptr<Row>& pRow : m_lRows)
        for (const Zep::SmartPtr<Cell>& pCell : *pRow)
            for (CellLayer& layer : pCell->lLayers) {
                if (Sprite* pSprite = dynamic_cast<Sprite*>(layer.pObject.get()); pSprite && m_pOwner) {
                    m_pOwner->removeSprite(Zep::SmartPtr<Sprite>(pSprite));
                } else if (Table* pTable = dynamic_cast<Table*>(layer.pObject.get())) {
                    if (bAll) {
                        pTable->removeAll();
                    } else {
                        pTable->removeContents();
                    }
                }
                layer.pObject = nullptr;
            }
    detachAttachedSprites();
}

void Table::removeAll() {
    removeLayers(true);
    if (m_pFrameTable.notNULL()) {
        m_bFramed = false;
        m_pFrameTable->removeAll();
        m_pFrameTable = nullptr;
    }
}

void Table::detachAttachedSprites() {
    for (const AttachedSprite& a : m_lAttachedSprites)
        if (m_pOwner) m_pOwner->removeSprite(a.pSprite);
    m_lAttachedSprites.clear();
}
