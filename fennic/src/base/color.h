// Color: red, green, blue and alpha bytes. Alpha 255 is opaque.
//
// Also a hash key (hashed and compared through its packed value, printed with
// toString in "key not found" messages) and a value of object streams.
#pragma once

#include <cstdint>

#include <zep2/objectstreamer.h>
#include <zep2/str.h>

class Color {
public:
    // Opaque black.
    Color() = default;
    Color(uint8_t nRed, uint8_t nGreen, uint8_t nBlue, uint8_t nAlpha)
        : m_nRed(nRed), m_nGreen(nGreen), m_nBlue(nBlue), m_nAlpha(nAlpha) {}
    Color(const Color& other) = default;
    Color& operator=(const Color& other) = default;
    virtual ~Color() = default;

    uint8_t getRed() const { return m_nRed; }
    uint8_t getGreen() const { return m_nGreen; }
    uint8_t getBlue() const { return m_nBlue; }
    uint8_t getAlpha() const { return m_nAlpha; }
    void setRed(uint8_t n) { m_nRed = n; }
    void setGreen(uint8_t n) { m_nGreen = n; }
    void setBlue(uint8_t n) { m_nBlue = n; }
    void setAlpha(uint8_t n) { m_nAlpha = n; }
    void set(uint8_t nRed, uint8_t nGreen, uint8_t nBlue, uint8_t nAlpha) {
        m_nRed = nRed;
        m_nGreen = nGreen;
        m_nBlue = nBlue;
        m_nAlpha = nAlpha;
    }

    // The 32-bit key: red in bits 24-31, alpha 16-23, blue 8-15, green 0-7.
    uint32_t pack() const {
        return static_cast<uint32_t>(m_nRed) << 24 | static_cast<uint32_t>(m_nAlpha) << 16 |
               static_cast<uint32_t>(m_nBlue) << 8 | static_cast<uint32_t>(m_nGreen);
    }
    // The name under which the hash table asks for the key.
    uint32_t getPackedValue() const { return pack(); }

    bool operator==(const Color& other) const { return pack() == other.pack(); }
    bool operator!=(const Color& other) const { return pack() != other.pack(); }

    // "(r, g, b, a)"
    Zep::String toString() const;

    // Four single bytes, red, green, blue, alpha; no record header.
    void persistTo(Zep::ObjectStreamer& streamer) const;
    void persistFrom(Zep::ObjectStreamer& streamer);

private:
    uint8_t m_nRed = 0;
    uint8_t m_nGreen = 0;
    uint8_t m_nBlue = 0;
    uint8_t m_nAlpha = 255;
};

// By value: tag 00 and the four bytes. Through a pointer: 00 <id> and the
// bytes the first time, 01 <id> after that, 02 for null.
DECLARE_STREAMABLE(Color)
