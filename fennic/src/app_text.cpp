// Text lookup: the application's string table and the installed languages.
#include <algorithm>
#include <string>
#include <vector>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/resource.h>

#include "gameapp.h"
#include "registry.h"
#include "stringtable.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_text";

// Language code to its archives, from the ".dat" files of the program's
// folder whose names hold a "_": the code is the part after the last "_"
// ("lang_en.dat" is "en"); archives of one code in name order.
Zep::Hash<Zep::String, Zep::List<Zep::String>> installedLanguages() {
    std::vector<std::string> lFiles;
    Zep::Directory folder(".");
    for (int i = 0; i < folder.getEntryCount(); ++i) {
        Zep::SmartPtr<Zep::DirEntry> pEntry = folder.getEntry(i);
        if (pEntry.isNULL() || pEntry->isFolder()) continue;
        const Zep::String sName = pEntry->getName();
        if (sName.length() > 4 && sName.right(4).toLower() == ".dat" && sName.find('_') >= 0)
            lFiles.push_back(sName.c_str());
    }
    std::sort(lFiles.begin(), lFiles.end());
    Zep::Hash<Zep::String, Zep::List<Zep::String>> hLanguages;
    for (const std::string& sFile : lFiles) {
        const Zep::String sName(sFile.c_str());
        const Zep::String sBase = sName.left(sName.length() - 4);
        const Zep::String sCode = sBase.mid(sBase.findLast('_') + 1);
        if (sCode.isEmpty()) continue;
        hLanguages[sCode].add(sName);
    }
    return hLanguages;
}

}  // namespace

void GameApp::loadStringTable(const char* szName) {
    ZEP_TRACE("GameApp::loadStringTable");
    Zep::SmartPtr<Zep::Resource> pResource = getResource(szName);
    const Zep::String sText = pResource->asString();
    const Zep::String sName = Zep::String(szName).toLower();
    if (sName.length() >= 4 && sName.right(4) == ".xml")
        readStringTableXml(sText, m_hStringTable);
    else
        readStringTableText(sText, m_hStringTable);
}

const char* GameApp::getText(const char* szKey) {
    if (!szKey) return szKey;
    const Zep::String sKey = Zep::String(szKey).toUpper();
    if (!m_hStringTable.contains(sKey)) return szKey;
    return m_hStringTable.get(sKey).c_str();
}

bool GameApp::hasText(const char* szKey) {
    return szKey && m_hStringTable.contains(Zep::String(szKey).toUpper());
}

Zep::List<Zep::String> GameApp::getStringNames() {
    return m_hStringTable.getKeys();
}

void GameApp::dumpStringNames() {
    ZEP_TRACE("GameApp::dumpStringNames");
    logNameListing("String names", getStringNames());
}

Zep::String GameApp::selectLanguage(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("GameApp::selectLanguage");
    const Zep::Hash<Zep::String, Zep::List<Zep::String>> hLanguages = installedLanguages();
    for (const Zep::String& sCode : lPreferred)
        if (hLanguages.contains(sCode)) return sCode;
    const Zep::List<Zep::String> lCodes = hLanguages.getKeys();
    return lCodes.isEmpty() ? Zep::String() : lCodes.getFirst();
}

Zep::List<Zep::String> GameApp::getLanguageFiles(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("GameApp::getLanguageFiles");
    const Zep::String sCode = selectLanguage(lPreferred);
    if (sCode.isEmpty()) ZEP_THROW(Zep::FatalErrorException, "No installed languages found");
    return installedLanguages().get(sCode);
}

Zep::String GameApp::getLanguage(const Zep::List<Zep::String>& lPreferred) {
    ZEP_TRACE("GameApp::getLanguage");
    const Zep::String sCode = selectLanguage(lPreferred);
    if (sCode.isEmpty()) ZEP_THROW(Zep::FatalErrorException, "No installed languages found");
    return sCode;
}
