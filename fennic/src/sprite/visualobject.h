// IVisualObject: what a table layout can hold and place, a sprite or a table.
#pragma once

#include <zep2/refcount.h>

#include "base/rect.h"

class IVisualObject : public Zep::RefCountedObject {
public:
    ~IVisualObject() override = default;

    virtual Point getSize() const = 0;
    virtual void getSize(int* pWidth, int* pHeight) const = 0;
    virtual void setSize(const Point& size) = 0;
    virtual void setSize(int nWidth, int nHeight) = 0;
    virtual int getWidth() const = 0;
    virtual int getHeight() const = 0;
    virtual Point getPosition() const = 0;
    virtual void getPosition(float* pX, float* pY) const = 0;
    virtual void getPosition(int* pX, int* pY) const = 0;
    virtual void setPosition(const Point& p) = 0;
    virtual void setPosition(float x, float y) = 0;
    virtual void setPosition(int x, int y) = 0;
    virtual int getZOrder() const = 0;
    virtual void setZOrder(int nZOrder) = 0;
    virtual bool isVisible() const = 0;
    virtual void setVisible(bool bVisible) = 0;
    virtual void setClipRect(const Rect& rect) = 0;
    virtual void clearClipRect() = 0;
};
