// The notices about the settings file (settingsnotice.h).
#include "screens/settingsnotice.h"

#include "application/gameapp.h"
#include "dialogs/ui_dialog.h"

namespace settingsnotice {

namespace {

// An answer id lets Return answer OK too; with no target nobody hears it.
constexpr int kOkAnswer = 0;

std::unique_ptr<DlgMessage> make(GameApp& app, const char* szFirstKey, const Zep::String& sPath,
                                 const char* szLastKey) {
    const Zep::String sText = text(app, szFirstKey, sPath, szLastKey);
    return std::make_unique<DlgMessage>(nullptr, sText.c_str(), kOkAnswer);
}

}  // namespace

Zep::String folderOf(const Zep::String& sSettingsPath) {
    const int nSlash = sSettingsPath.findLast('/');
    return nSlash < 0 ? Zep::String() : sSettingsPath.left(nSlash + 1);
}

Zep::String text(GameApp& app, const char* szFirstKey, const Zep::String& sPath, const char* szLastKey) {
    Zep::String s = app.getText(szFirstKey);
    if (!sPath.isEmpty()) s += "\n" + sPath;
    return s + "\n" + app.getText(szLastKey);
}

std::unique_ptr<DlgMessage> makeUnsaved(GameApp& app) {
    return make(app, "NSD_NotSaved", folderOf(GameApp::getConfigPath()), "NSD_PlayOn");
}

std::unique_ptr<DlgMessage> makeUnreadable(GameApp& app) {
    return make(app, "BSD_NotRead", app.getSettingsKeptCopy(), "BSD_Defaults");
}

}  // namespace settingsnotice
