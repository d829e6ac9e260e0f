// Helpers of the highscore tests: lists written as text, and the stored
// form's bytes built by hand.
#pragma once

#include <initializer_list>
#include <string>
#include <utility>

#include "gameapp.h"
#include "highscorelists.h"
#include "records_util.h"

namespace highscoretest {

using Rows = std::initializer_list<std::pair<const char*, int32_t>>;

// "Name score"
inline std::string rowOf(const HighscoreEntry& e) {
    return std::string(e.getName().c_str()) + " " + std::to_string(e.getScore());
}

// "Name score, Name score, ..."
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

// One list as stored: 00 14 <count> and per row 00, name, score, empty second text.
inline std::string listBytes(Rows rows) {
    std::string s = std::string("\x00\x14", 2) + static_cast<char>(rows.size());
    for (const auto& [szName, nScore] : rows)
        s += std::string(1, '\0') + recordtest::str(szName) + recordtest::le32(nScore) + recordtest::str("");
    return s;
}

inline std::string storedBytes(const GameApp& app) {
    Zep::SmartPtr<Zep::MemStream> pBytes =
        Zep::String::unescapeBinary(app.getSetting(HighscoreLists::kSettingKey).c_str());
    return std::string(static_cast<const char*>(pBytes->getBuffer()), pBytes->length());
}

inline void storeBytes(GameApp& app, const std::string& sBytes) {
    app.setSetting(HighscoreLists::kSettingKey,
                   Zep::String::escapeBinary(sBytes.data(), static_cast<int>(sBytes.size())).c_str());
}

}  // namespace highscoretest
