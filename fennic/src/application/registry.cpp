// The resource registry: providers, alias tables, lookups and listings.
#include "application/registry.h"

#include <cerrno>
#include <cstdlib>
#include <string>

#include <zep2/error.h>
#include <zep2/file.h>
#include <zep2/resource.h>
#include <zep2/resourcefile.h>
#include <zep2/tokenfilereader.h>

#include "application/gameapp.h"

namespace {

constexpr const char* kZepSource = ".\\src\\registry";

const char* const kDefaultSuffixes[] = {"", nullptr};

}  // namespace

ResourceRegistry::~ResourceRegistry() { clear(); }

ResourceRegistry::ProviderList::Node* ResourceRegistry::addProvider(std::unique_ptr<Zep::ResourceProvider> pProvider,
                                                                    bool bAtFront) {
    ZEP_TRACE("ResourceRegistry::addProvider");
    if (!pProvider) ZEP_THROW(Zep::BadParmException, "GameApp::addResourceProvider : no provider");
    // The list owns the provider from here on, even when its alias lists fail.
    Zep::ResourceProvider* pOwned = pProvider.get();
    ProviderList::Node* pNode = bAtFront ? m_lProviders.addFirst(pOwned) : m_lProviders.add(pOwned);
    pProvider.release();
    readAliasLists(pOwned);
    return pNode;
}

void ResourceRegistry::addFile(const char* szFileName, bool bAtFront) {
    ZEP_TRACE("ResourceRegistry::addFile");
    const char* szName = szFileName ? szFileName : "";
    GameApp::log("G: +%s\n", szName);
    errno = 0;
    if (!Zep::File::exists(szName))
        ZEP_THROW(Zep::FatalErrorException,
                  Zep::String::format("Resource file %s not found [%d]", szName, errno).c_str());
    addProvider(std::make_unique<Zep::ResourceFile>(szName), bAtFront);
}

void ResourceRegistry::addFolder(const char* szFolder, bool bAtFront) {
    ZEP_TRACE("ResourceRegistry::addFolder");
    const char* szName = szFolder ? szFolder : "";
    GameApp::log("G: +%s\n", szName);
    addProvider(std::make_unique<Zep::FilesystemResourceProvider>(szName), bAtFront);
}

void ResourceRegistry::clear() { m_lProviders.deleteAll(); }

Zep::String ResourceRegistry::findProvider(const char* szName, Zep::ResourceProvider** ppProvider,
                                           const char* const* pSuffixes) const {
    ZEP_TRACE("ResourceRegistry::findProvider");
    if (!ppProvider) throw Zep::AssertFailException(kZepSource, __LINE__, "Assertion failed : pResFile");
    *ppProvider = nullptr;

    // One alias step, for the name exactly as asked (alias keys are lower case).
    Zep::String sName(szName);
    if (const auto* pAlias = m_hResourceAliases.findNode(sName)) sName = pAlias->value;
    if (!pSuffixes || !pSuffixes[0]) pSuffixes = kDefaultSuffixes;

    // Providers outside, suffixes inside: an earlier provider wins even over
    // an earlier suffix in a later one.
    for (Zep::ResourceProvider* pProvider : m_lProviders) {
        *ppProvider = pProvider;
        for (const char* const* pSuffix = pSuffixes; *pSuffix; ++pSuffix) {
            const Zep::String sCandidate = sName + *pSuffix;
            if (pProvider->exists(sCandidate.c_str())) return pProvider->getPath(sCandidate.c_str());
        }
    }
    return Zep::String();
}

Zep::String ResourceRegistry::find(const char* szName, const char* const* pSuffixes) const {
    Zep::ResourceProvider* pProvider = nullptr;
    return findProvider(szName, &pProvider, pSuffixes);
}

bool ResourceRegistry::exists(const char* szName) const { return !find(szName, nullptr).isEmpty(); }

Zep::SmartPtr<Zep::Resource> ResourceRegistry::get(const char* szName) const {
    ZEP_TRACE("ResourceRegistry::get");
    Zep::ResourceProvider* pProvider = nullptr;
    const Zep::String sPath = findProvider(szName, &pProvider, nullptr);
    Zep::SmartPtr<Zep::Resource> pResource;
    if (!sPath.isEmpty() && pProvider) pResource = pProvider->load(sPath.c_str());
    if (pResource.isNULL())
        ZEP_THROW(Zep::ResourceException,
                  Zep::String::format("GameApp::getResource() : Resource '%s' not found", szName ? szName : "")
                      .c_str());
    return pResource;
}

Zep::List<Zep::String> ResourceRegistry::getNames() const {
    ZEP_TRACE("ResourceRegistry::getNames");
    Zep::List<Zep::String> lNames;
    for (Zep::ResourceProvider* pProvider : m_lProviders) lNames.addAll(pProvider->listNames());
    return lNames;
}

void ResourceRegistry::readAliasLists(Zep::ResourceProvider* pProvider) {
    ZEP_TRACE("ResourceRegistry::readAliasLists");
    if (pProvider->exists("image-alias.txt")) {
        Zep::SmartPtr<Zep::Resource> pText = pProvider->load("image-alias.txt");
        readAliasList(pText.get(), m_hImageAliases);
    }
    if (pProvider->exists("resource-alias.txt")) {
        Zep::SmartPtr<Zep::Resource> pText = pProvider->load("resource-alias.txt");
        readAliasList(pText.get(), m_hResourceAliases);
    }
}

void ResourceRegistry::readAliasList(Zep::Resource* pText, AliasTable& hTable) {
    ZEP_TRACE("ResourceRegistry::readAliasList");
    if (!pText) return;
    // Names and aliases alike are lower case.
    const Zep::String sText = pText->asString().toLower();
    Zep::TokenFileReader reader(sText.c_str());
    const AliasTable hEntries = reader.readKeyValueTable();
    hTable.addAll(hEntries);
    hTable.rehash();
}

// ---- Listings ------------------------------------------------------------------

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
