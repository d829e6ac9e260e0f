// Table: the grid layout of dialogs and forms.
//
// A table arranges visual objects (sprites, labels, buttons, other tables) in
// rows of cells, measures column widths and row heights from its contents,
// spreads a requested extra size over the columns that take it and over every
// row, places each content in its cell by alignment flags (2 right, 4
// centred, 0x10 bottom, 0x20 centred vertically; otherwise left and top) with
// rising z-orders, and can wear a frame that the current theme builds. It
// draws nothing itself: its sprites live in the owner mode's layers.
//
// Measuring is lazy (only when the layout is invalid); adding contents or
// changing the requested size does not lay out, setting the position, the
// z-order or a spacing does. The frame is rebuilt only when its description
// text (border and fitted size) changes; moving the table moves it.
#pragma once

#include <memory>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

#include "base/rect.h"
#include "sprite/visualobject.h"

class GameMode;
#include "sprite/sprite.h"

class Table : public IVisualObject {
public:
    // Cell flags.
    static constexpr int kNoExtraWidth = 1;
    static constexpr int kUseInsPoint = 2;

    explicit Table(GameMode* pOwner);
    ~Table() override;
    Table(const Table&) = delete;
    Table& operator=(const Table&) = delete;

    // ---- IVisualObject ----
    Point getSize() const override;
    void getSize(int* pWidth, int* pHeight) const override;
    void setSize(const Point& size) override;
    void setSize(int nWidth, int nHeight) override;
    int getWidth() const override;
    int getHeight() const override;
    Point getPosition() const override { return m_position; }
    void getPosition(float* pX, float* pY) const override;
    void getPosition(int* pX, int* pY) const override;
    void setPosition(const Point& p) override;
    void setPosition(float x, float y) override { setPosition(Point(x, y)); }
    void setPosition(int x, int y) override;
    int getZOrder() const override { return m_nZOrder; }
    void setZOrder(int nZOrder) override;
    bool isVisible() const override { return m_bVisible; }
    void setVisible(bool bVisible) override;
    void setClipRect(const Rect& rect) override;
    void clearClipRect() override;

    // ---- Members ----
    void setName(const char* szName) { m_sName = szName; }
    const Zep::String& getName() const { return m_sName; }
    GameMode* getOwner() const { return m_pOwner; }
    void setResizeFlags(int nFlags) { m_nResizeFlags = nFlags; }
    int getResizeFlags() const { return m_nResizeFlags; }
    void setRemoveOnDestroy(bool bRemove) { m_bRemoveOnDestroy = bRemove; }
    void setFramed(bool bFramed) { m_bFramed = bFramed; }
    void setFrameStyle(const char* szStyle);
    void setInset(Rect rInset) { m_rInset = rInset; }
    void setLayerZ(int nBase, int nStep);
    Zep::SmartPtr<Table> getFrame() const { return m_pFrameTable; }

    // ---- Building the grid ----
    void newRow();
    void newCell(int nSpan = 1);
    void add(const Zep::SmartPtr<IVisualObject>& pObject, int nAlign);
    void setCellFlags(int nFlags);
    void setContentName(const char* szName);
    Zep::SmartPtr<IVisualObject> findContent(const char* szName) const;
    int getRowCount() const { return m_lRows.getCount(); }
    int getCellCount(int nRow) const;
    int getLayerCount(int nRow, int nCell) const;
    Zep::SmartPtr<IVisualObject> getContent(int nRow, int nCell, int nLayer) const;

    // ---- Sprites ----
    void getSprites(Zep::List<Zep::SmartPtr<Sprite>>& lOut, bool bRecursive) const;
    // Anchored at the table's corners, edges or centre by the flags; z above the table by nZOffset.
    void attachSprite(const Zep::SmartPtr<Sprite>& pSprite, int nAlign, int nZOffset);
    void getAttachedSprites(Zep::List<Zep::SmartPtr<Sprite>>& lOut) const;

    // ---- Layout ----
    void measure();
    void arrange();
    void updateLayout();
    void setSpacing(int n);
    void setRowSpacing(int n);
    void setColumnSpacing(int n);
    void getOuterSize(int* pW, int* pH, bool bWithFrame);
    void setOuterSize(int w, int h, bool bWithFrame);
    void setOuterPosition(int x, int y, bool bWithFrame);

    // ---- Removing ----
    void clear();
    void removeContents();
    void removeAll();

private:
    struct CellLayer {
        Zep::SmartPtr<IVisualObject> pObject;
        int32_t nAlign = 0;
    };
    struct Cell : Zep::RefCountedObject {
        Zep::List<CellLayer> lLayers;
        int32_t nSpan = 1;
        int32_t nWidth = 0;
        int32_t nHeight = 0;
        int32_t nFlags = 0;
    };
    using Row = Zep::List<Zep::SmartPtr<Cell>>;
    struct AttachedSprite {
        Zep::SmartPtr<Sprite> pSprite;
        int32_t nAlign = 0;
        int32_t nZOffset = 0;
    };

    Cell& currentCell();
    void updateFrame();
    void placeAttachedSprites();
    void detachAttachedSprites();
    // Empties every cell; nested tables get removeAll when bAll, else removeContents.
    void removeLayers(bool bAll);
    Rect frameBorder() const;
    template <class Fn>
    void forEachContent(Fn fn) const;

    Zep::List<std::shared_ptr<Row>> m_lRows;
    Point m_position;
    bool m_bVisible = true;
    int32_t m_nWidth = 0;
    int32_t m_nHeight = 0;
    bool m_bLayoutValid = false;
    int32_t m_nRequestedWidth = 0;
    int32_t m_nRequestedHeight = 0;
    int32_t m_nColumnSpacing = 0;
    int32_t m_nRowSpacing = 0;
    bool m_bFramed = false;
    int32_t m_nZOrder = 0;
    bool m_bRemoveOnDestroy = false;
    Zep::SmartPtr<Table> m_pFrameTable;
    Zep::String m_sFrameStyle;
    Zep::String m_sOldFrameSpec;
    Zep::List<AttachedSprite> m_lAttachedSprites;
    GameMode* m_pOwner;
    int32_t m_nResizeFlags = 3;
    Rect m_rInset;
    Zep::Hash<Zep::String, Zep::SmartPtr<IVisualObject>> m_hNamedContents{97};
    Zep::List<Zep::SmartPtr<Table>> m_lSubTables;
    int32_t m_nLayerZBase = 3;
    int32_t m_nLayerZStep = 10;
    Zep::String m_sName;
};
