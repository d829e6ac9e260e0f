// The highscore lists, their default tables and their stored form
// (highscorelists.h).
#include "records/highscorelists.h"

#include <zep2/error.h>
#include <zep2/memstream.h>
#include <zep2/objectstreamer.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\highscorelists";

struct DefaultRow {
    const char* szName;
    int32_t nScore;
};

constexpr DefaultRow kDefaults[HighscoreLists::kListCount][HighscoreLists::kRowCount] = {
    {{"Odile", 450000}, {"Pella", 445000}, {"Tamsa", 440000}, {"Brumo", 435000}, {"Vesko", 430000},
     {"Ombo", 425000}, {"Luzz", 420000}, {"Draskina", 415000}, {"Quimby", 410000}, {"Zigzagga", 400000}},
    {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Fenna", 12000}, {"Spokella", 10000},
     {"Kelpin", 8000}, {"Trekka", 6000}, {"Ulmar", 4000}, {"Medda", 2000}, {"Rusk", 1000}},
    {{"Odile", 18000}, {"Pella", 16000}, {"Tamsa", 14000}, {"Tibbo", 12000}, {"Roddo", 10000},
     {"Zorr", 8000}, {"Oriba", 6000}, {"Barnak", 4000}, {"Quillo", 2000}, {"Halvorn", 1000}},
};

bool higherFirst(HighscoreEntry a, HighscoreEntry b, void*) { return a.isHigherThan(b); }

// The message without its closing line break.
Zep::String reasonOf(const char* szMessage) { return Zep::String(szMessage).trimRight(); }

}  // namespace

// ---- One list -------------------------------------------------------------------

HighscoreList HighscoreLists::defaultList(int nList) {
    HighscoreList list;
    if (nList < 0 || nList >= kListCount) return list;
    for (const DefaultRow& row : kDefaults[nList]) list.add(HighscoreEntry(row.szName, row.nScore));
    return list;
}

void HighscoreLists::sortList(HighscoreList& list) { list.sort(higherFirst, nullptr); }

bool HighscoreLists::insertScore(HighscoreList& list, int nScore, const char* szName) {
    int nFound = -1;
    for (int i = 0; i < list.getCount() && nFound < 0; ++i)
        if (list[i].getScore() < nScore) nFound = i;
    if (nFound < 0) return false;
    const Zep::String sSecondText = list[nFound].getSecondText();
    sortList(list);
    if (list.getCount() >= kRowCount) list.removeAt(kRowCount - 1);
    list.add(HighscoreEntry(szName, nScore, sSecondText.c_str()));
    return true;
}

// ---- Stored form ------------------------------------------------------------------

Zep::String HighscoreLists::encode(const Zep::List<HighscoreList>& lLists) {
    Zep::MemStream bytes;
    {
        Zep::ObjectStreamer streamer(&bytes, false);
        for (const HighscoreList& list : lLists) {
            streamer.writeByte(0);
            list.persistTo(streamer);
        }
    }
    return Zep::String::escapeBinary(bytes.getBuffer(), bytes.length());
}

Zep::String HighscoreLists::appendStored(const Zep::String& sValue) {
    try {
        Zep::SmartPtr<Zep::MemStream> pBytes = Zep::String::unescapeBinary(sValue.c_str());
        Zep::SmartPtr<Zep::MemStream> pView = pBytes->clone();
        Zep::ObjectStreamer streamer(pView.get(), false);
        for (int i = 0; i < kListCount; ++i) {
            uint8_t nMark = 0;
            streamer.readByte(nMark);
            HighscoreList list;
            list.persistFrom(streamer);
            m_lLists.add(list);
        }
    } catch (const Zep::Exception& e) {
        return reasonOf(e.getMessage());
    } catch (const std::exception& e) {
        return reasonOf(e.what());
    }
    return Zep::String();
}

bool HighscoreLists::completeFrom(int nFirst) {
    bool bMissing = false;
    for (int i = 0; i < kListCount; ++i) {
        if (nFirst + i >= m_lLists.getCount()) {
            m_lLists.add(HighscoreList());
            bMissing = true;
        }
        HighscoreList& list = m_lLists[nFirst + i];
        const HighscoreList defaults = defaultList(i);
        for (int nRow = list.getCount(); nRow < kRowCount; ++nRow) {
            list.add(defaults[nRow]);
            bMissing = true;
        }
    }
    return bMissing;
}

// ---- The setting ------------------------------------------------------------------

void HighscoreLists::appendDefaults() {
    for (int i = 0; i < kListCount; ++i) m_lLists.add(defaultList(i));
}

void HighscoreLists::load() {
    ZEP_TRACE("HighscoreLists::load");
    GameApp* pApp = GameApp::getInstance();
    const Zep::String sValue = pApp ? pApp->getSetting(kSettingKey) : Zep::String();
    if (sValue.length() == 0) {
        appendDefaults();
        save();
        return;
    }
    const int nFirst = m_lLists.getCount();
    Zep::String sReason = appendStored(sValue);
    Zep::String sRows;
    for (int i = nFirst; i < nFirst + kListCount; ++i)
        sRows += i < m_lLists.getCount() ? Zep::String::format(" %d", m_lLists[i].getCount()) : Zep::String(" none");
    if (!completeFrom(nFirst)) return;
    if (sReason.length() == 0) sReason = "lists too short";
    GameApp::log("B: ** Highscores setting damaged : %s; rows read%s, the rest taken from the default tables **\n",
                 sReason.c_str(), sRows.c_str());
}

void HighscoreLists::save() const {
    if (GameApp* pApp = GameApp::getInstance()) pApp->setSetting(kSettingKey, encode(m_lLists).c_str());
}

bool HighscoreLists::addScore(int nScore, const char* szName, int nList) {
    load();
    if (nList < 0 || nList >= m_lLists.getCount()) return false;
    if (!insertScore(m_lLists[nList], nScore, szName)) return false;
    save();
    return true;
}
