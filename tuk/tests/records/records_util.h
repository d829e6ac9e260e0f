// Byte helpers of the game's record tests: little-endian words, stream
// strings, and the profiles setting as raw object-stream bytes.
#pragma once

#include <cstdint>
#include <initializer_list>
#include <string>

#include <zep2/memstream.h>

#include "application/gameapp.h"
#include "application/profiles.h"

namespace recordtest {

inline std::string le32(int32_t nValue) {
    const auto n = static_cast<uint32_t>(nValue);
    return {static_cast<char>(n & 0xFF), static_cast<char>((n >> 8) & 0xFF), static_cast<char>((n >> 16) & 0xFF),
            static_cast<char>(n >> 24)};
}

inline std::string le32s(std::initializer_list<int32_t> lValues) {
    std::string s;
    for (int32_t n : lValues) s += le32(n);
    return s;
}

// The current string form: 12, a one-byte length, the bytes.
inline std::string str(const std::string& sText) {
    return std::string("\x12", 1) + static_cast<char>(sText.size()) + sText;
}

inline std::string settingBytes(const GameApp& app) {
    Zep::SmartPtr<Zep::MemStream> pBytes =
        Zep::String::unescapeBinary(app.getSetting(ProfileManager::kSettingKey).c_str());
    return std::string(static_cast<const char*>(pBytes->getBuffer()), pBytes->length());
}

inline void setSettingBytes(GameApp& app, const std::string& sBytes) {
    app.setSetting(ProfileManager::kSettingKey,
                   Zep::String::escapeBinary(sBytes.data(), static_cast<int>(sBytes.size())).c_str());
}

// The profiles setting of the given records: the header, the count, then
// per record its name, the marker 00 and the record itself.
inline std::string profilesStream(std::initializer_list<std::pair<std::string, std::string>> lRecords) {
    std::string s = std::string("\x05", 1) + le32(static_cast<int32_t>(lRecords.size()));
    for (const auto& [sName, sRecord] : lRecords) s += str(sName) + std::string(1, '\0') + str(sName) + sRecord;
    return s;
}

}  // namespace recordtest
