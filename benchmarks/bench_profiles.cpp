// Reading a stored player list of 2,000 and 20,000 profiles, beside a plain
// reader doing the same work:
//   ProfilesLoad vs PlainProfilesRead: the escaped setting unescaped, each
//   profile read, its name trimmed and lower-cased as its key, a name met
//   before dropped, the first hundred listed and the others kept aside.
// The time grows with the number of profiles: ten times as many take about
// ten times as long.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_set>
#include <vector>

#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "application/gameapp.h"
#include "application/profiles.h"
#include "bench_reporting.h"

namespace {

using Manager = ProfileManagerImpl<ProfileData>;

// The setting's text for nCount profiles "Player <n>", as the game saves it.
std::string storedProfiles(int nCount) {
    Zep::SmartPtr<Zep::MemStream> pBytes(new Zep::MemStream());
    {
        Zep::ObjectStreamer streamer(pBytes.get(), false);
        streamer.writeInt32(nCount);
        for (int i = 0; i < nCount; ++i) {
            const Zep::String sName = Zep::String::format("Player %d", i);
            streamer.writeString(sName);
            streamer.writeByte(0);
            ProfileData profile;
            profile.setName(sName.c_str());
            profile.write(streamer);
        }
    }
    return Zep::String::escapeBinary(pBytes->getBuffer(), pBytes->length()).c_str();
}

// The application that holds the setting: no log, no settings file.
GameApp& app() {
    static const bool s_bQuiet = (GameApp::disableLog(), GameApp::disableSettingsSaving(), true);
    static GameApp s_app;
    (void)s_bQuiet;
    return s_app;
}

void ProfilesLoad(benchmark::State& state) {
    const int nCount = static_cast<int>(state.range(0));
    app().setSetting(ProfileManager::kSettingKey, storedProfiles(nCount).c_str());
    bench::reporting(state, [&] {
        Manager manager;
        for (auto _ : state) {
            manager.load();
            benchmark::DoNotOptimize(manager.getKeptAsideCount());
        }
        if (manager.getProfileCount() + manager.getKeptAsideCount() != nCount) state.SkipWithError("profiles lost");
        app().setSetting(ProfileManager::kSettingKey, "");  // the destructor's save stays small
        manager.load();
    });
    state.SetItemsProcessed(state.iterations() * nCount);
}
BENCHMARK(ProfilesLoad)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

// ---- The plain reader -------------------------------------------------------------

class PlainReader {
public:
    explicit PlainReader(const std::string& sEscaped) {
        m_sBytes.reserve(sEscaped.size());
        for (size_t i = 0; i < sEscaped.size(); ++i) {
            const bool bEscape = sEscaped[i] == 1 && i + 1 < sEscaped.size();
            m_sBytes += bEscape ? static_cast<char>(sEscaped[++i] - 1) : sEscaped[i];
        }
    }
    uint8_t byte() { return m_nAt < m_sBytes.size() ? static_cast<uint8_t>(m_sBytes[m_nAt++]) : 0; }
    int32_t int32() {
        uint32_t n = 0;
        for (int i = 0; i < 4; ++i) n |= static_cast<uint32_t>(byte()) << (8 * i);
        return static_cast<int32_t>(n);
    }
    // The tag byte, the length in groups of seven bits, the bytes.
    std::string text() {
        byte();
        size_t nLength = 0;
        for (int nShift = 0;; nShift += 7) {
            const uint8_t b = byte();
            nLength |= static_cast<size_t>(b & 0x7F) << nShift;
            if (!(b & 0x80)) break;
        }
        nLength = std::min(nLength, m_sBytes.size() - m_nAt);
        std::string s = m_sBytes.substr(m_nAt, nLength);
        m_nAt += nLength;
        return s;
    }

private:
    std::string m_sBytes;
    size_t m_nAt = 0;
};

std::string keyOf(const std::string& sName) {
    const size_t nFirst = sName.find_first_not_of(" \t\r\n");
    if (nFirst == std::string::npos) return std::string();
    std::string sKey = sName.substr(nFirst, sName.find_last_not_of(" \t\r\n") - nFirst + 1);
    for (char& c : sKey) c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
    return sKey;
}

void PlainProfilesRead(benchmark::State& state) {
    const int nCount = static_cast<int>(state.range(0));
    const std::string sStored = storedProfiles(nCount);
    size_t nRead = 0;
    for (auto _ : state) {
        PlainReader reader(sStored);
        reader.byte();
        const int32_t nStored = reader.int32();
        std::vector<std::unique_ptr<std::string>> vListed, vAside;
        std::unordered_set<std::string> setKeys;
        for (int32_t i = 0; i < nStored; ++i) {
            reader.text();
            reader.byte();
            auto pName = std::make_unique<std::string>(reader.text());
            if (!setKeys.insert(keyOf(*pName)).second) continue;
            (vListed.size() < ProfileManager::kMaxProfiles ? vListed : vAside).push_back(std::move(pName));
        }
        nRead = vListed.size() + vAside.size();
        benchmark::DoNotOptimize(nRead);
    }
    if (nRead != static_cast<size_t>(nCount)) state.SkipWithError("profiles lost");
    state.SetItemsProcessed(state.iterations() * nCount);
}
BENCHMARK(PlainProfilesRead)->Arg(2000)->Arg(20000)->Unit(benchmark::kMillisecond);

}  // namespace
