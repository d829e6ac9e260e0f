// The notices about the settings file (settingsnotice.h).
#include "screens/settingsnotice.h"

#include <utility>

#include <zep2/platform_fs.h>

#include "application/gameapp.h"
#include "dialogs/ui_dialog.h"

namespace settingsnotice {

namespace {

using Zep::platform_fs::WriteFailure;

// An answer id lets Return answer OK too; with no target nobody hears it.
constexpr int kOkAnswer = 0;

std::unique_ptr<DlgMessage> make(const Zep::String& sFirst, const Zep::String& sPath, const Zep::String& sLast) {
    return std::make_unique<DlgMessage>(nullptr, text(sFirst, sPath, sLast).c_str(), kOkAnswer);
}

// The cause's text and the path it concerns: the folder where the folder is
// at fault, the file itself otherwise.
std::pair<Zep::String, Zep::String> unsavedCause(GameApp& app, int nSystemError) {
    const Zep::String& sFile = GameApp::getConfigPath();
    switch (Zep::platform_fs::writeFailureOf(nSystemError)) {
        case WriteFailure::kNoRoom: return {app.getText("NSD_NoRoom"), folderOf(sFile)};
        case WriteFailure::kFolderInTheWay: return {app.getText("NSD_NameTaken"), sFile};
        case WriteFailure::kNoRight: return {app.getText("NSD_NoRight"), folderOf(sFile)};
        case WriteFailure::kOther: break;
    }
    const Zep::String sWords = Zep::platform_fs::systemErrorText(nSystemError);
    return {Zep::String(app.getText("NSD_Failed")).replaceFirst("%s", sWords.c_str()), sFile};
}

}  // namespace

Zep::String folderOf(const Zep::String& sSettingsPath) {
    const int nSlash = sSettingsPath.findLast('/');
    return nSlash < 0 ? Zep::String() : sSettingsPath.left(nSlash + 1);
}

Zep::String text(const Zep::String& sFirst, const Zep::String& sPath, const Zep::String& sLast) {
    Zep::String s = sFirst;
    if (!sPath.isEmpty()) s += "\n" + sPath;
    return s + "\n" + sLast;
}

std::unique_ptr<DlgMessage> makeUnsaved(GameApp& app, int nSystemError) {
    const auto [sCause, sPath] = unsavedCause(app, nSystemError);
    return make(sCause, sPath, app.getText("NSD_PlayOn"));
}

std::unique_ptr<DlgMessage> makeUnreadable(GameApp& app) {
    const bool bInPlace = app.isSettingsFileKeptInPlace();
    return make(app.getText(bInPlace ? "BSD_LeftAlone" : "BSD_NotRead"), app.getUntoldSettingsCopy(),
                app.getText(bInPlace ? "BSD_NotKept" : "BSD_Defaults"));
}

std::unique_ptr<DlgMessage> makeUnreadableProfiles(GameApp& app, const Zep::String& sKey) {
    const Zep::String sLast = Zep::String(app.getText("BPD_KeptAs")).replaceFirst("%s", sKey.c_str());
    return make(app.getText("BPD_NotRead"), GameApp::getConfigPath(), sLast);
}

}  // namespace settingsnotice
