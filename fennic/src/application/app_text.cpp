// The application's text operations, each forwarding to its string tables
// (stringtable.h); the tables themselves come from the resource registry.
#include <zep2/resource.h>

#include "application/gameapp.h"
#include "application/registry.h"
#include "base/stringtable.h"

void GameApp::loadStringTable(const char* szName) { m_strings.add(szName, getResource(szName)->asString()); }

const char* GameApp::getText(const char* szKey) { return m_strings.getText(szKey); }

bool GameApp::hasText(const char* szKey) { return m_strings.hasText(szKey); }

Zep::List<Zep::String> GameApp::getStringNames() { return m_strings.getNames(); }

void GameApp::dumpStringNames() { logNameListing("String names", getStringNames()); }

Zep::String GameApp::selectLanguage(const Zep::List<Zep::String>& lPreferred) {
    return StringTables::selectLanguage(lPreferred);
}

Zep::List<Zep::String> GameApp::getLanguageFiles(const Zep::List<Zep::String>& lPreferred) {
    return StringTables::getLanguageFiles(lPreferred);
}

Zep::String GameApp::getLanguage(const Zep::List<Zep::String>& lPreferred) {
    return StringTables::getLanguage(lPreferred);
}
