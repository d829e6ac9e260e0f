// Textures of the render device and the registry of texture slots.
//
// A texture is a power-of-two block of 32-bit A8R8G8B8 texels, zero-filled
// when made, so texels nothing was copied to are transparent black. An
// opaque texture keeps the same layout (X8R8G8B8): its alpha byte is not
// read, every texel counts as alpha 255.
//
// A texture with alpha also answers, per texel row, the columns whose alpha
// is not 0 and its longest opaque run, so that the rasteriser skips pixels
// that read only clear texels and copies opaque ones; and every texture
// answers whether all its texels are alike (filled without sampling) and
// where its texels that are not clear lie.
// The answers are remade on the first call after any writable access (lock,
// the writable texels(), replicateEdges): write texels between such an
// access and the next draw.
//
// A texture slot is the cell through which tiles reach their texture. Every
// slot registers itself while it lives and leaves the registry when it is
// destroyed, so the registry never holds a freed slot; releaseAll drops the
// texture of every living slot at once (a mode change).
#pragma once

#include <cstdint>
#include <memory>
#include <vector>

namespace render {

// Largest side the device makes, far above any tile (512).
constexpr int kMaxTextureSide = 4096;

// Columns nFirst..nLast of one texel row hold every texel whose alpha is
// not 0 (nFirst > nLast when the row has none); nSolidFirst..nSolidLast is
// the row's longest run of texels of alpha 255 (empty the same way).
struct TexelSpan {
    int nFirst;
    int nLast;
    int nSolidFirst;
    int nSolidLast;
};

// The smallest rectangle of texels (inclusive) holding every texel whose
// alpha is not 0; empty (x0 > x1) when there is none.
struct TexelBounds {
    int x0, y0, x1, y1;
    bool isEmpty() const { return x0 > x1 || y0 > y1; }
};

// What a lock hands out: the memory and its layout.
struct LockedTexels {
    uint8_t* pPixels = nullptr;
    int nPitch = 0;
    int nBitsPerPixel = 32;
    uint32_t nAlphaMask = 0;
    uint32_t nRedMask = 0x00FF0000u;
    uint32_t nGreenMask = 0x0000FF00u;
    uint32_t nBlueMask = 0x000000FFu;
};

class Texture {
public:
    // Sizes are powers of two from 1 to kMaxTextureSide (the caller's job).
    Texture(int nWidth, int nHeight, bool bAlpha);

    int width() const { return m_nWidth; }
    int height() const { return m_nHeight; }
    bool hasAlpha() const { return m_bAlpha; }
    LockedTexels lock();
    void unlock() { m_bSpansStale = true; }
    const uint32_t* texels() const { return m_vTexels.data(); }
    uint32_t* texels() {
        m_bSpansStale = true;
        return m_vTexels.data();
    }
    // One span per texel row (height() of them); every texel counts for an
    // opaque texture.
    const TexelSpan* alphaSpans() const;
    // Every texel of alpha 255 (always so without alpha).
    bool isOpaque() const;
    // Every texel the same value (alpha included).
    bool isUniform() const;
    // Where the texels that are not clear lie (all of them without alpha).
    TexelBounds contentBounds() const;
    // Copies column w - 1 into the columns right of it and row h - 1 into
    // the rows below it, so filtering at the copied edge meets its own
    // texels and not padding.
    void replicateEdges(int nCopiedWidth, int nCopiedHeight);

private:
    int m_nWidth;
    int m_nHeight;
    bool m_bAlpha;
    std::vector<uint32_t> m_vTexels;
    mutable std::vector<TexelSpan> m_vSpans;
    mutable bool m_bUniform = false;
    mutable TexelBounds m_content{0, 0, -1, -1};
    mutable bool m_bSpansStale = true;
};

class TextureSlot {
public:
    TextureSlot();
    ~TextureSlot();
    TextureSlot(const TextureSlot&) = delete;
    TextureSlot& operator=(const TextureSlot&) = delete;

    Texture* get() const { return m_pTexture.get(); }
    void set(std::unique_ptr<Texture> pTexture) { m_pTexture = std::move(pTexture); }
    void release() { m_pTexture.reset(); }

    // Drops the texture of every living slot.
    static void releaseAll();
    static int registeredCount();

private:
    std::unique_ptr<Texture> m_pTexture;
};

}  // namespace render
