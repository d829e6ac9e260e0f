#include "testkit/testkit_app.h"

#include <algorithm>

namespace testkit {

TestApp::~TestApp() {
    while (!m_vBorrowed.empty()) unstackMode(m_vBorrowed.back());
}

void TestApp::stackMode(GameMode* pMode) {
    m_modeStack.modes().addFirst(pMode);
    m_vBorrowed.push_back(pMode);
}

void TestApp::unstackMode(GameMode* pMode) {
    Zep::List<GameMode*>& lModes = m_modeStack.modes();
    if (const int i = lModes.indexOf(pMode); i >= 0) lModes.removeAt(i);
    std::erase(m_vBorrowed, pMode);
}

void TestApp::setDefaultSettings() {
    GameApp::setDefaultSettings();
    ++m_nDefaultsCalls;
    for (const auto& entry : m_vGameDefaults) setSetting(entry.first.c_str(), entry.second.c_str());
}

AppFiles::AppFiles(const TempDir& dir)
    : m_sLog(dir.file("test.log")), m_sConfig(dir.file("tukconfig.dat")),
      m_sOldConfig(GameApp::getConfigPath().c_str()) {
    GameApp::openLog(m_sLog.c_str());
    GameApp::setConfigPath(m_sConfig.c_str());
}

AppFiles::~AppFiles() {
    GameApp::closeLog();
    GameApp::setConfigPath(m_sOldConfig.c_str());
}

}  // namespace testkit
