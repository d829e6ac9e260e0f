// The checked formatter: texts of the string tables that take values
// ("PLY_Bonus", "PLY_Penalty", "UPG_Price", "StatTimePlayed", "AboutVerFmt",
// the map's texts) are formats written by translators, not by the program,
// so one is used as a format only when its conversions are exactly the ones
// the values need, in order:
//   an int    takes %d or %i;
//   a double  takes %f, %F, %e, %E, %g or %G (also with l: %lf).
// Each conversion may carry the flags "-+ 0#", a width and a precision of up
// to two digits each; no '*', no '$', no other length. "%%" is a percent sign
// and no conversion.
//
// Any other text (a %s, a conversion too many or too few, a trailing %) is
// returned as it stands, unformatted, and logged once per text (the first
// 256 texts refused are remembered; later ones are logged at every use):
// "B: ** Text shown as it is, no format for %d %d : <text> **\n" names the
// conversions the values needed ("%d" an int, "%f" a double).
#pragma once

#include <type_traits>

#include <zep2/str.h>

namespace textformat {

// True when the conversions of szFormat are exactly szKinds, in order: 'd'
// for an int, 'f' for a double.
bool matches(const char* szFormat, const char* szKinds);
// Logs the refusal of szFormat, the first time only.
void reportRefused(const char* szFormat, const char* szKinds);

template <class T>
constexpr char kindOf() {
    static_assert(std::is_same_v<T, int> || std::is_same_v<T, double>, "formats take int or double values");
    return std::is_same_v<T, int> ? 'd' : 'f';
}

}  // namespace textformat

template <class... Args>
Zep::String formatText(const char* szFormat, Args... args) {
    const char szKinds[] = {textformat::kindOf<Args>()..., '\0'};
    if (!textformat::matches(szFormat, szKinds)) {
        textformat::reportRefused(szFormat, szKinds);
        return Zep::String(szFormat);
    }
    return Zep::String::format(szFormat, args...);
}
