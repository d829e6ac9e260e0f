// The resource registry: the providers in lookup order, the image and
// resource alias tables their alias lists fill, lookups by name and the name
// listings.
//
// A name is looked up in one alias step (resource aliases, the name exactly
// as asked: alias keys are lower case), then provider by provider, each with
// every suffix in turn, so an earlier provider wins over an earlier suffix in
// a later one. The image aliases are only collected here: the image cache
// applies them (app_caches.h).
//
// The registry owns its providers: once handed over, a provider stays in the
// list even when its alias lists fail to read, and is deleted by clear or the
// destructor.
#pragma once

#include <memory>

#include <zep2/hash.h>
#include <zep2/list.h>
#include <zep2/refcount.h>
#include <zep2/str.h>

class GameApp;

namespace Zep {
class Resource;
class ResourceProvider;
}  // namespace Zep

class ResourceRegistry {
public:
    using AliasTable = Zep::Hash<Zep::String, Zep::String>;
    using ProviderList = Zep::List<Zep::ResourceProvider*>;

    ResourceRegistry() = default;
    ~ResourceRegistry();
    ResourceRegistry(const ResourceRegistry&) = delete;
    ResourceRegistry& operator=(const ResourceRegistry&) = delete;

    // Takes ownership, then reads the provider's "image-alias.txt" and
    // "resource-alias.txt" when it has them.
    ProviderList::Node* addProvider(std::unique_ptr<Zep::ResourceProvider> pProvider, bool bAtFront);
    // Logs "G: +<name>" first; a missing archive throws before anything is added.
    void addFile(const char* szFileName, bool bAtFront);
    void addFolder(const char* szFolder, bool bAtFront);
    // Deletes the providers; the alias tables stay.
    void clear();

    // The found provider's path of the name, or empty; the out-parameter
    // holds the provider it was found in, or the last one asked. Suffix lists
    // are null-terminated; null means the name as it is.
    Zep::String findProvider(const char* szName, Zep::ResourceProvider** ppProvider,
                             const char* const* pSuffixes) const;
    Zep::String find(const char* szName, const char* const* pSuffixes) const;
    bool exists(const char* szName) const;
    // Throws ResourceException when no provider has the name.
    Zep::SmartPtr<Zep::Resource> get(const char* szName) const;
    // Provider after provider, in lookup order; duplicates stay.
    Zep::List<Zep::String> getNames() const;
    int getProviderCount() const { return m_lProviders.getCount(); }

    const AliasTable& getImageAliases() const { return m_hImageAliases; }
    const AliasTable& getResourceAliases() const { return m_hResourceAliases; }
    void readAliasLists(Zep::ResourceProvider* pProvider);
    // Adds the lower-cased list's pairs to the table; later entries win.
    static void readAliasList(Zep::Resource* pText, AliasTable& hTable);

private:
    ProviderList m_lProviders;  // owned, lookup order
    AliasTable m_hImageAliases;
    AliasTable m_hResourceAliases;
};

// Writes the resource and string-name listings into the log when the
// environment variable TUK_LIST_RESOURCES is exactly "TRUE"; true when it did.
bool listResourcesIfRequested(GameApp& app);

// Logs "U: ----- <title> -----", then "U: <name>" for each name, then "U: "
// and a rule of dashes as long as the title line.
void logNameListing(const char* szTitle, const Zep::List<Zep::String>& lNames);
