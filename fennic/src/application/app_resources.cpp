// The application's registry operations, each forwarding to its resource
// registry (registry.h).
#include <memory>
#include <utility>

#include <zep2/resource.h>

#include "application/gameapp.h"
#include "application/registry.h"

Zep::List<Zep::ResourceProvider*>::Node* GameApp::addResourceProvider(
    std::unique_ptr<Zep::ResourceProvider> pProvider, bool bAtFront) {
    return m_registry.addProvider(std::move(pProvider), bAtFront);
}

void GameApp::addResourceFile(const char* szFileName, bool bAtFront) { m_registry.addFile(szFileName, bAtFront); }

void GameApp::addResourceFolder(const char* szFolder, bool bAtFront) { m_registry.addFolder(szFolder, bAtFront); }

Zep::String GameApp::findResourceProvider(const char* szName, Zep::ResourceProvider** ppProvider,
                                          const char* const* pSuffixes) {
    return m_registry.findProvider(szName, ppProvider, pSuffixes);
}

Zep::String GameApp::findResource(const char* szName, const char* const* pSuffixes) {
    return m_registry.find(szName, pSuffixes);
}

bool GameApp::resourceExists(const char* szName) { return m_registry.exists(szName); }

Zep::SmartPtr<Zep::Resource> GameApp::getResource(const char* szName) { return m_registry.get(szName); }

Zep::List<Zep::String> GameApp::getResourceNames() { return m_registry.getNames(); }

void GameApp::dumpResourceNames() { logNameListing("Resource names", getResourceNames()); }

void GameApp::readAliasLists(Zep::ResourceProvider* pProvider) { m_registry.readAliasLists(pProvider); }

void GameApp::readAliasList(Zep::Resource* pText, Zep::Hash<Zep::String, Zep::String>& hTable) {
    ResourceRegistry::readAliasList(pText, hTable);
}
