// What the fuzz targets that read through the application share: a headless
// application (no log, no settings file) whose files come from memory, and
// the copy of an input into such a file.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <memory>

#include <zep2/resource.h>

#include "application/gameapp.h"
#include "driver/platform.h"

namespace fuzz {

struct App {
    GameApp* pApp = nullptr;  // lives until exit, like the targets' inputs
    Zep::MemoryResourceProvider* pFiles = nullptr;
};

// With a platform when the target needs one (it is set before the files).
inline App makeApp(std::unique_ptr<IPlatform> pPlatform = nullptr) {
    GameApp::disableLog();
    GameApp::disableSettingsSaving();
    App app;
    app.pApp = new GameApp();
    if (pPlatform) app.pApp->setPlatform(std::move(pPlatform));
    auto pProvider = std::make_unique<Zep::MemoryResourceProvider>();
    app.pFiles = pProvider.get();
    app.pApp->addResourceProvider(std::move(pProvider), false);
    return app;
}

// The bytes as a file of that name; with bTerminate a '\0' is stored after
// them, as part of the file.
inline void addFile(const App& app, const char* szName, const void* data, size_t size, bool bTerminate = false) {
    Zep::SmartPtr<Zep::Resource> p = new Zep::Resource(static_cast<int>(size + (bTerminate ? 1 : 0)), nullptr, true);
    if (size > 0) std::memcpy(p->getData(), data, size);
    if (bTerminate) static_cast<char*>(p->getData())[size] = '\0';
    app.pFiles->add(szName, p);
}

inline void addFile(const App& app, const char* szName, const char* szText) {
    addFile(app, szName, szText, std::strlen(szText));
}

}  // namespace fuzz
