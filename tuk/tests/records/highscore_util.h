// Helpers of the highscore tests: rows as text, and stored bytes built by hand.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "records/highscorelists.h"
#include "records/records_util.h"

namespace highscoretest {

using Rows = std::initializer_list<std::pair<const char*, int32_t>>;

inline std::string rowOf(const HighscoreEntry& e) {
    return std::string(e.getName().c_str()).append(" ").append(std::to_string(e.getScore()));
}

inline std::string rowsOf(const HighscoreList& list) {
    std::string s;
    for (const HighscoreEntry& e : list) s += (s.empty() ? "" : ", ") + rowOf(e);
    return s;
}

inline HighscoreList listOf(Rows rows) {
    HighscoreList list;
    for (const auto& [szName, nScore] : rows) list.add(HighscoreEntry(szName, nScore));
    return list;
}

// One list as stored: 00 14 <count>, per row 00, the name, the score, an empty second text.
inline std::string listBytes(Rows rows) {
    std::string s = std::string("\x00\x14", 2) + static_cast<char>(rows.size());
    for (const auto& [szName, nScore] : rows)
        s.append(1, '\0').append(recordtest::str(szName)).append(recordtest::le32(nScore)).append(recordtest::str(""));
    return s;
}

inline std::string storedBytes(const GameApp& app) {
    auto pBytes = Zep::String::unescapeBinary(app.getSetting(HighscoreLists::kSettingKey).c_str());
    return std::string(static_cast<const char*>(pBytes->getBuffer()), pBytes->length());
}

inline void storeBytes(GameApp& app, const std::string& s) {
    const Zep::String sText = Zep::String::escapeBinary(s.data(), static_cast<int>(s.size()));
    app.setSetting(HighscoreLists::kSettingKey, sText.c_str());
}

}  // namespace highscoretest
