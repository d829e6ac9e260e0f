// The resource registry of the application: providers in lookup order, the
// image and resource alias tables, lookups by name and the name listings.
#include <cerrno>
#include <cstdlib>
#include <memory>
#include <string>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/resource.h>
#include <zep2/resourcefile.h>
#include <zep2/tokenfilereader.h>

#include "gameapp.h"
#include "registry.h"

namespace {

constexpr const char* kZepSource = ".\\src\\app_resources";

const char* const kDefaultSuffixes[] = {"", nullptr};

}  // namespace

Zep::List<Zep::ResourceProvider*>::Node* GameApp::addResourceProvider(
    std::unique_ptr<Zep::ResourceProvider> pProvider, bool bAtFront) {
    ZEP_TRACE("GameApp::addResourceProvider");
    if (!pProvider) ZEP_THROW(Zep::BadParmException, "GameApp::addResourceProvider : no provider");
    // The list owns the provider from here on, even when its alias lists fail.
    Zep::ResourceProvider* pOwned = pProvider.get();
    Zep::List<Zep::ResourceProvider*>::Node* pNode =
        bAtFront ? m_lResourceProviders.addFirst(pOwned) : m_lResourceProviders.add(pOwned);
    pProvider.release();
    readAliasLists(pOwned);
    return pNode;
}

void GameApp::addResourceFile(const char* szFileName, bool bAtFront) {
    ZEP_TRACE("GameApp::addResourceFile");
    const char* szName = szFileName ? szFileName : "";
    log("G: +%s\n", szName);
    errno = 0;
    if (!Zep::File::exists(szName))
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Resource file %s not found [%d]", szName, errno).c_str());
    addResourceProvider(std::make_unique<Zep::ResourceFile>(szName), bAtFront);
}

void GameApp::addResourceFolder(const char* szFolder, bool bAtFront) {
    ZEP_TRACE("GameApp::addResourceFolder");
    const char* szName = szFolder ? szFolder : "";
    log("G: +%s\n", szName);
    addResourceProvider(std::make_unique<Zep::FilesystemResourceProvider>(szName), bAtFront);
}

Zep::String GameApp::findResourceProvider(const char* szName, Zep::ResourceProvider** ppProvider,
                                          const char* const* pSuffixes) {
    ZEP_TRACE("GameApp::findResourceProvider");
    if (!ppProvider) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pResFile");
    *ppProvider = nullptr;

    // One alias step, for the name exactly as asked (alias keys are lower case).
    Zep::String sName(szName);
    if (m_hResourceAliases.contains(sName)) sName = m_hResourceAliases.get(sName);
    if (!pSuffixes || !pSuffixes[0]) pSuffixes = kDefaultSuffixes;

    // Providers outside, suffixes inside: an earlier provider wins even over
    // an earlier suffix in a later one.
    for (Zep::ResourceProvider* pProvider : m_lResourceProviders) {
        *ppProvider = pProvider;
        for (const char* const* pSuffix = pSuffixes; *pSuffix; ++pSuffix) {
            const Zep::String sCandidate = sName + *pSuffix;
            if (pProvider->exists(sCandidate.c_str())) return pProvider->getPath(sCandidate.c_str());
        }
    }
    return Zep::String();
}

Zep::String GameApp::findResource(const char* szName, const char* const* pSuffixes) {
    Zep::ResourceProvider* pProvider = nullptr;
    return findResourceProvider(szName, &pProvider, pSuffixes);
}

bool GameApp::resourceExists(const char* szName) {
    return !findResource(szName, nullptr).isEmpty();
}

Zep::SmartPtr<Zep::Resource> GameApp::getResource(const char* szName) {
    ZEP_TRACE("GameApp::getResource");
    Zep::ResourceProvider* pProvider = nullptr;
    const Zep::String sPath = findResourceProvider(szName, &pProvider, nullptr);
    Zep::SmartPtr<Zep::Resource> pResource;
    if (!sPath.isEmpty() && pProvider) pResource = pProvider->load(sPath.c_str());
    if (pResource.isNULL())
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("GameApp::getResource() : Resource '%s' not found", szName ? szName : "")
                      .c_str());
    return pResource;
}

Zep::List<Zep::String> GameApp::getResourceNames() {
    ZEP_TRACE("GameApp::getResourceNames");
    Zep::List<Zep::String> lNames;
    for (Zep::ResourceProvider* pProvider : m_lResourceProviders) lNames.addAll(pProvider->listNames());
    return lNames;
}

void GameApp::dumpResourceNames() {
    ZEP_TRACE("GameApp::dumpResourceNames");
    logNameListing("Resource names", getResourceNames());
}

void GameApp::readAliasLists(Zep::ResourceProvider* pProvider) {
    ZEP_TRACE("GameApp::readAliasLists");
    if (pProvider->exists("image-alias.txt")) {
        Zep::SmartPtr<Zep::Resource> pText = pProvider->load("image-alias.txt");
        readAliasList(pText.get(), m_hImageAliases);
    }
    if (pProvider->exists("resource-alias.txt")) {
        Zep::SmartPtr<Zep::Resource> pText = pProvider->load("resource-alias.txt");
        readAliasList(pText.get(), m_hResourceAliases);
    }
}

void GameApp::readAliasList(Zep::Resource* pText, Zep::Hash<Zep::String, Zep::String>& hTable) {
    ZEP_TRACE("GameApp::readAliasList");
    if (!pText) return;
    // Names and aliases alike are lower case.
    const Zep::String sText = pText->asString().toLower();
    Zep::TokenFileReader reader(sText.c_str());
    const Zep::Hash<Zep::String, Zep::String> hEntries = reader.readKeyValueTable();
    hTable.addAll(hEntries);
    hTable.rehash();
}

void logNameListing(const char* szTitle, const Zep::List<Zep::String>& lNames) {
    const std::string sHeader = std::string("----- ") + szTitle + " -----";
    GameApp::log("U: %s\n", sHeader.c_str());
    for (const Zep::String& sName : lNames) {
        GameApp::log("U: ");
        GameApp::log("%s", sName.c_str());
        GameApp::log("\n");
    }
    GameApp::log("U: %s\n", std::string(sHeader.size(), '-').c_str());
}

bool listResourcesIfRequested(GameApp& app) {
    const char* szValue = std::getenv("TUK_LIST_RESOURCES");
    if (!szValue || Zep::String(szValue) != "TRUE") return false;
    app.dumpResourceNames();
    app.dumpStringNames();
    return true;
}
