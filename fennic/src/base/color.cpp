#include "base/color.h"

namespace {
constexpr const char* kZepSource = ".\\src\\color";
}  // namespace

Zep::String Color::toString() const {
    return Zep::String::format("(%d, %d, %d, %d)", m_nRed, m_nGreen, m_nBlue, m_nAlpha);
}

void Color::persistTo(Zep::ObjectStreamer& streamer) const {
    ZEP_TRACE("Color::persistTo");
    streamer.writeUInt8(m_nRed);
    streamer.writeUInt8(m_nGreen);
    streamer.writeUInt8(m_nBlue);
    streamer.writeUInt8(m_nAlpha);
}

void Color::persistFrom(Zep::ObjectStreamer& streamer) {
    ZEP_TRACE("Color::persistFrom");
    streamer.readUInt8(m_nRed);
    streamer.readUInt8(m_nGreen);
    streamer.readUInt8(m_nBlue);
    streamer.readUInt8(m_nAlpha);
}

IMPLEMENT_STREAMABLE(Color)
