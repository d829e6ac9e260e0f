// Textures of the render device and the registry of texture slots.
//
// A texture is a power-of-two block of 32-bit A8R8G8B8 texels, zero-filled
// when made, so texels nothing was copied to are transparent black. An
// opaque texture keeps the same layout (X8R8G8B8): its alpha byte is not
// read, every texel counts as alpha 255.
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
    void unlock() {}
    const uint32_t* texels() const { return m_vTexels.data(); }
    uint32_t* texels() { return m_vTexels.data(); }
    // Copies column w - 1 into the columns right of it and row h - 1 into
    // the rows below it, so filtering at the copied edge meets its own
    // texels and not padding.
    void replicateEdges(int nCopiedWidth, int nCopiedHeight);

private:
    int m_nWidth;
    int m_nHeight;
    bool m_bAlpha;
    std::vector<uint32_t> m_vTexels;
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
