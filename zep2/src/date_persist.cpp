// The persisted form of Zep::Date: int16 year, month byte, day byte.
#include "zep2/date.h"
#include "zep2/objectstreamer.h"

namespace {
constexpr const char* kZepSource = ".\\src\\date";
}  // namespace

namespace Zep {

void Date::persistTo(ObjectStreamer& streamer) const {
    ZEP_TRACE("Date::persistTo");
    // Wider values are cut to the widths of the record.
    streamer.writeInt16(static_cast<int16_t>(getYear()));
    streamer.writeChar(static_cast<char>(getMonth()));
    streamer.writeChar(static_cast<char>(getDay()));
}

void Date::persistFrom(ObjectStreamer& streamer) {
    ZEP_TRACE("Date::persistFrom");
    int16_t nYear = 0;
    char cMonth = 0;
    char cDay = 0;
    streamer.readInt16(nYear);
    streamer.readChar(cMonth);
    streamer.readChar(cDay);
    *this = Date(static_cast<uint8_t>(cDay), static_cast<uint8_t>(cMonth), nYear);
    normalize();
}

}  // namespace Zep

IMPLEMENT_STREAMABLE(::Zep::Date)
