// The game's options dialog (gameoptions.h).
#include "screens/gameoptions.h"

#include <cerrno>
#include <climits>
#include <cstdlib>
#include <memory>

#include <zep2/error.h>
#include <zep2/resource.h>

#include "screens/creditslist.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "records/textformat.h"
#include "dialogs/ui_credits.h"

namespace {

constexpr const char* kZepSource = ".\\src\\gameoptions";

constexpr int kSections = 5;  // volumes and the full-screen choice
constexpr int kCentred = 0x24;
constexpr int kOptionAlign = 9;
constexpr int kDifficultyCount = 3;
constexpr const char* kDifficultyKeys[kDifficultyCount] = {"GOD_Easy", "GOD_Medium", "GOD_Hard"};

// The credits' background and column.
constexpr int kTileStep = 44;
constexpr int kTileRight = 836;
constexpr int kTileBottom = 616;
constexpr int kBandTop = 30;
constexpr int kBandBottom = 570;
constexpr int kFadeStrips = 25;
constexpr int kFadeStripHeight = 3;

}  // namespace

TUKGameOptions::TUKGameOptions(ICallbackTarget* pNotify, int nContinueId, int nExitId)
    : GameOptionsDialog(pNotify, nContinueId, nExitId), m_bFromLevel(pNotify != nullptr) {
    setSections(kSections);
}

TUKGameOptions::~TUKGameOptions() = default;

int TUKGameOptions::getDifficultySetting() {
    const char* szValue = GameApp::getInstance()->getSetting(kDifficultyKey).c_str();
    errno = 0;
    const long nValue = std::strtol(szValue, nullptr, 10);
    if (errno == ERANGE || nValue > INT_MAX || nValue < INT_MIN) return nValue < 0 ? INT_MIN : INT_MAX;
    return static_cast<int>(nValue);
}

void TUKGameOptions::onEnter() {
    GameOptionsDialog::onEnter();
    if (m_bFromLevel) return;
    addDifficultyChoice();
    addCreditsButton();
}

void TUKGameOptions::addDifficultyChoice() {
    const Zep::SmartPtr<Image> pUnchecked = getImage("check_empty");
    const Zep::SmartPtr<Image> pChecked = getImage("check_full_noblit");
    const int nDifficulty = getDifficultySetting();
    Zep::SmartPtr<Table> pTable = new Table(this);
    pTable->newCell(kDifficultyCount);
    addText(pTable, getText("GOD_Difficulty"), kCentred);
    pTable->newRow();
    for (int i = 0; i < kDifficultyCount; ++i) {
        Zep::SmartPtr<RadioButton> pOption =
            new RadioButton(this, pUnchecked, pChecked, getText(kDifficultyKeys[i]), kEasyId + i);
        pTable->newCell(1);
        pTable->add(pOption.get(), kOptionAlign);
        m_lDifficulty.add(pOption);
        pOption->setChecked(nDifficulty == i);
    }
    Zep::SmartPtr<Table> pControls = getControlsTable();
    pControls->newRow();
    pControls->newCell(1);
    pControls->add(pTable.get(), kCentred);
}

void TUKGameOptions::addCreditsButton() {
    Zep::SmartPtr<Table> pButtons = getButtonsTable();
    pButtons->newCell(1);
    pButtons->setCellFlags(1);
    Zep::SmartPtr<Button> pCredits = new Button(getText("GOD_Credits"), kCreditsId);
    addControl(pCredits.get());
    pButtons->add(pCredits.get(), kOptionAlign);
}

void TUKGameOptions::onCallback(int nId, void* pData) {
    GameOptionsDialog::onCallback(nId, pData);
    if (nId >= kEasyId && nId <= kHardId) {
        m_lDifficulty.select(nId);
        GameApp::getInstance()->setSetting(kDifficultyKey, Zep::String::format("%d", nId - kEasyId).c_str());
    } else if (nId == kCreditsId) {
        openCredits();
    }
}

// ---- Credits -----------------------------------------------------------------------------

void TUKGameOptions::composeCreditsBackground() {
    GameApp* pApp = getApp();
    if (pApp->imageExists(kCreditsBackground)) return;
    Zep::SmartPtr<Image> pBack = createImage(pApp->getScreenWidth(), pApp->getScreenHeight(), 0);
    const Zep::SmartPtr<Image> pTile = getImage("sand_frame_back");
    for (int y = 0; y < kTileBottom; y += kTileStep)
        for (int x = 0; x < kTileRight; x += kTileStep) pBack->blit(*pTile, x, y);
    pBack->blit(*getImage("loading_back"), -6, -10);
    pApp->addImage(kCreditsBackground, pBack, true);
}

void TUKGameOptions::openCredits() {
    ZEP_TRACE("TUKGameOptions::openCredits");
    composeCreditsBackground();
    auto pCredits = std::make_unique<CreditsMode>();
    pCredits->setBackground(kCreditsBackground);
    pCredits->setFadeStrips(kFadeStrips, kFadeStripHeight);
    pCredits->setScrollBand(kBandTop, kBandBottom);
    pCredits->addImage("menu_isologo_chico", true);
    const Zep::String sVersion = formatText(getText("AboutVerFmt"), kVersion[0], kVersion[1], kVersion[2]);
    pCredits->addText(sVersion.c_str(), true);
    creditslist::addTo(*pCredits, creditslist::read(getApp()->getResource(creditslist::kResource)->asString()));
    getApp()->pushMode(pCredits.release());
}
