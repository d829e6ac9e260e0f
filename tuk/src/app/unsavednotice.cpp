// The notice that progress can't be kept (unsavednotice.h).
#include "app/unsavednotice.h"

#include "application/gameapp.h"
#include "dialogs/ui_dialog.h"

namespace unsavednotice {

namespace {

// An answer id lets Return answer OK too; with no target nobody hears it.
constexpr int kOkAnswer = 0;

}  // namespace

Zep::String folderOf(const Zep::String& sSettingsPath) {
    const int nSlash = sSettingsPath.findLast('/');
    return nSlash < 0 ? Zep::String() : sSettingsPath.left(nSlash + 1);
}

Zep::String text(GameApp& app, const Zep::String& sFolder) {
    Zep::String s = app.getText("NSD_NotSaved");
    if (!sFolder.isEmpty()) s += "\n" + sFolder;
    return s + "\n" + app.getText("NSD_PlayOn");
}

std::unique_ptr<DlgMessage> make(GameApp& app) {
    const Zep::String sText = text(app, folderOf(GameApp::getConfigPath()));
    return std::make_unique<DlgMessage>(nullptr, sText.c_str(), kOkAnswer);
}

}  // namespace unsavednotice
