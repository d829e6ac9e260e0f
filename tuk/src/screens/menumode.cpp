// The main menu's screen, its frames and its coming back (menumode.h).
#include "screens/menumode.h"

#include <algorithm>

#include <zep2/error.h>

#include "text/font.h"
#include "application/gameapp.h"
#include "image/image.h"
#include "base/keys.h"
#include "records/profileaccess.h"
#include "screens/sandtiles.h"
#include "screens/settingsnotice.h"
#include "records/tukplayer.h"
#include "ui/ui_button.h"
#include "dialogs/ui_dialog.h"
#include "dialogs/ui_profiledialogs.h"

namespace {

constexpr const char* kZepSource = ".\\src\\menumode";

constexpr const char* kCurrentPlayerKey = "CurrentPlayerName";
constexpr const char* kWelcomeDoneKey = "DoneWelcome";
constexpr const char* kMenuMusic = "ms_menu";
constexpr const char* kIntroMusic = "st_intro";
constexpr const char* kPartnerLogo = "3p_main";
constexpr int kScreenCentreX = 215;
constexpr int kGreetingY = 315;
constexpr int kNameY = 310;
constexpr int kNotMeY = 300;
// The greeting sign's room: "Welcome," and the name together, centred on x 215.
constexpr int kGreetingWidth = 350;
constexpr const char* kNameFont = "Sand::TitleBold";
constexpr const char* kSmallNameFont = "Sand::TitleSmall";

// The shadow's rectangle, and the coordinate each state moves towards.
constexpr float kShadowLeft = 10.0f, kShadowRight = 15.0f, kShadowTop = 3.0f, kShadowBottom = 8.0f;

// One fade step of a group: true while the group was still below full alpha.
bool fadeGroup(const Zep::List<Zep::SmartPtr<Sprite>>& lGroup, float fDelta) {
    if (lGroup.isEmpty() || lGroup.getFirst()->getAlpha() >= 1.0f) return false;
    float fAlpha = lGroup.getFirst()->getAlpha() + fDelta;
    if (fAlpha > 1.0f) fAlpha = 1.0f;
    for (const Zep::SmartPtr<Sprite>& pSprite : lGroup) pSprite->setAlpha(fAlpha);
    return true;
}

}  // namespace

MenuMode::MenuMode() = default;

MenuMode::~MenuMode() = default;

// ---- The screen ------------------------------------------------------------------------

void MenuMode::onEnter() {
    ZEP_TRACE("MenuMode::onEnter");
    GameApp* pApp = getApp();
    pApp->setFrameRate(ScreenReturn::kFrameRate);
    pApp->preloadAnimation("clock.anim");
    addPicture("menu_isologo", 10, 3, 2, &m_lLogos);
    m_pShadowLogo = addPicture("menu_sombralogo", 15, 8, 1, &m_lLogos);
    sandtiles::addScreenTiles(*this, -3);
    addPictures();
    addPlayerName();
    addButtons();
    addLogos();
    addSprite(new Label(kNotice, 200, 560, 10));
    for (const SpriteList* pGroup : {&m_lBackgrounds, &m_lMainPanel, &m_lLogos})
        for (const Zep::SmartPtr<Sprite>& pSprite : *pGroup) pSprite->setAlpha(0.0f);
    m_nShadowState = 1;
    m_nGameKind = -1;
}

Zep::SmartPtr<Sprite> MenuMode::addPicture(const char* szImage, int x, int y, int nZOrder, SpriteList* pGroup) {
    Zep::SmartPtr<Sprite> pSprite = new Sprite(getImage(szImage), x, y, nZOrder);
    addSprite(pSprite);
    if (pGroup) pGroup->add(pSprite);
    return pSprite;
}

void MenuMode::addPictures() {
    addPicture("menu_vetas", 0, 0, -2, nullptr);
    for (int i = 0; i <= 3; ++i)
        addPicture(Zep::String::format("menu_fondo_%d", i).c_str(), 0, 0, -1, &m_lBackgrounds);
    for (int i = 1; i <= 7; ++i)
        addPicture(Zep::String::format("menu_estatico_%d", i).c_str(), 0, 3, 0, &m_lMainPanel);
    const int nFrameWidth = getImage("menu_select")->getWidth();
    addPicture("menu_select", 214 - nFrameWidth / 2, 378, 0, &m_lMainPanel);
    m_pWelcome = addPicture("menu_welcome", 215, 160, 2, &m_lMainPanel);
}

// The name takes clicks anywhere in its box; the not-me sign shows over it.
void MenuMode::addPlayerName() {
    m_pNameLabel = new Label("", 0, 0, 2);
    m_pNameLabel->setThemeFont(kNameFont);
    m_pNameLabel->setHitTestMode(Sprite::kHitBox);
    addControl(m_pNameLabel.get());
    m_lMainPanel.add(m_pNameLabel.get());
    m_pNotMe = addPicture("menu_notme", (getApp()->getScreenWidth() + 225) / 2 - 50, 40, 4, &m_lMainPanel);
    m_pNotMe->setVisible(false);
}

void MenuMode::addButton(const char* szCaption, const char* szStyle, int nId, int x, int y) {
    Zep::SmartPtr<Button> pButton = new Button(szCaption, nId);
    if (*szStyle) pButton->setStyle(szStyle);
    pButton->setPosition(x, y);
    pButton->setZOrder(0);
    addControl(pButton.get());
    m_lMainPanel.add(pButton.get());
}

void MenuMode::addButtons() {
    addButton(getText("MNM_Adventure"), "", kAdventure, 43, 430);
    addButton(getText("MNM_Free_Play"), "", kFreePlay, 213, 430);
    addButton(getText("MNM_Relax_Mode"), "", kRelaxMode, 123, 490);
    addButton("", "OptionsBtn", kOptions, 620, 150);
    addButton("", "HowToBtn", kHowto, 600, 305);
    addButton("", "HighBtn", kHighscores, 550, 0);
    addButton("", "QuitBtn", kQuit, 660, 467);
}

void MenuMode::addLogos() {
    if (!getApp()->imageExists(kPartnerLogo)) return;
    Zep::SmartPtr<Sprite> pPartner = addPicture(kPartnerLogo, 72, 545, 2, &m_lLogos);
    addPicture("halv_small_ban", 87 + pPartner->getWidth(), 545, 2, &m_lLogos);
}

// ---- Each frame --------------------------------------------------------------------------

void MenuMode::onUpdate(float fDelta) {
    m_return.update(*getApp());
    followHover();
    driftShadow(fDelta);
    fadeIn(fDelta);
    getApp()->continuePreload();
}

void MenuMode::followHover() {
    const Zep::SmartPtr<Sprite> pHover = getHoverSprite();
    if (pHover == m_pHover) return;
    m_pHover = pHover;
    m_pNotMe->setVisible(pHover.get() == m_pNameLabel.get());
}

// State 0 right along the bottom, 1 up the right side, 2 left along the top,
// 3 down the left side; past its target a coordinate stops there and the
// next state begins.
void MenuMode::driftShadow(float fDelta) {
    float x = 0.0f, y = 0.0f;
    m_pShadowLogo->getPosition(&x, &y);
    const float fStep = kShadowSpeed * fDelta;
    switch (m_nShadowState) {
        case 0:
            x += fStep;
            if (x >= kShadowRight) x = kShadowRight, m_nShadowState = 1;
            break;
        case 1:
            y -= fStep;
            if (y <= kShadowTop) y = kShadowTop, m_nShadowState = 2;
            break;
        case 2:
            x -= fStep;
            if (x <= kShadowLeft) x = kShadowLeft, m_nShadowState = 3;
            break;
        default:
            y += fStep;
            if (y >= kShadowBottom) y = kShadowBottom, m_nShadowState = 0;
            break;
    }
    m_pShadowLogo->setPosition(x, y);
}

void MenuMode::fadeIn(float fDelta) {
    if (!fadeGroup(m_lBackgrounds, fDelta) && !fadeGroup(m_lMainPanel, fDelta)) fadeGroup(m_lLogos, fDelta);
}

// ---- Coming back ---------------------------------------------------------------------------

void MenuMode::onResume() {
    ZEP_TRACE("MenuMode::onResume");
    GameApp* pApp = getApp();
    m_return.cameBack(*pApp);
    pApp->showCursor(true);
    if (pApp->getConfirmQuit()) startMenuMusic();
    if (tellUnreadableSettings() || tellUnreadableProfiles() || !chooseCurrentPlayer()) return;
    TUKPlayerManager* pManager = getProfileManager();
    m_sPlayerName = pApp->getSetting(kCurrentPlayerKey);
    m_pPlayer = static_cast<TUKPlayer*>(pManager->getProfile(m_sPlayerName.c_str()));
    showPlayerName(m_pPlayer->getName());
    layOutGreeting();
    m_pPlayer->commitScores(m_nGameKind);
    pManager->save();
    if (pApp->getSetting(kWelcomeDoneKey) != "YES") pApp->setSetting(kWelcomeDoneKey, "YES");
    pApp->trySaveSettingsFile();
}

// Only the sample cache is asked to let the previous track go; the music
// cache keeps it.
void MenuMode::startMenuMusic() {
    GameApp* pApp = getApp();
    const Zep::String sPrevious = pApp->getCurrentMusicName();
    if (!sPrevious.isEmpty() && sPrevious != kIntroMusic) pApp->releaseSample(sPrevious.c_str());
    pApp->playMusic(kMenuMusic, true);
}

// Settings that could not be read took every profile with them: the player
// is told once, before she is asked for a name, also when the start that
// found them failed before this screen came. True when the notice is up.
bool MenuMode::tellUnreadableSettings() {
    GameApp* pApp = getApp();
    if (m_bUnreadableTold || pApp->getUntoldSettingsCopy().isEmpty()) return false;
    m_bUnreadableTold = true;
    pApp->pushMode(settingsnotice::makeUnreadable(*pApp).release());
    pApp->forgetUntoldSettingsCopy();
    return true;
}

// A profile set that could not be read is put aside under a key of its own
// in the settings file and the file saved, so the player is told once, at
// this start, where it is. Where the save fails, the file still holds it
// under its own key (and the next start tells again). True when the notice
// is up.
bool MenuMode::tellUnreadableProfiles() {
    GameApp* pApp = getApp();
    TUKPlayerManager* pManager = getProfileManager();
    if (!pManager->hasUnreadableData()) return false;
    const Zep::String sKey = pManager->keepUnreadableAside();
    const bool bSaved = pApp->trySaveSettingsFile();
    pApp->pushMode(
        settingsnotice::makeUnreadableProfiles(*pApp, bSaved ? sKey : Zep::String(ProfileManager::kSettingKey))
            .release());
    return true;
}

// False when no profile exists: the creation dialog, without cancel, is
// pushed and the menu waits for its own next resume.
bool MenuMode::chooseCurrentPlayer() {
    GameApp* pApp = getApp();
    TUKPlayerManager* pManager = getProfileManager();
    const Zep::String sCurrent = pApp->getSetting(kCurrentPlayerKey);
    if (!sCurrent.isEmpty() && pManager->hasProfile(sCurrent.c_str())) return true;
    const Zep::List<Zep::String> lNames = pManager->getProfileNames();
    if (lNames.isEmpty()) {
        CreateProfileDialog* pDialog = new CreateProfileDialog(pManager, nullptr);
        pDialog->setCancelAllowed();
        pApp->pushMode(pDialog);
        return false;
    }
    pApp->setSetting(kCurrentPlayerKey, lNames.getFirst().c_str());
    return true;
}

// A name too long for the sign in the title font is shown in the smaller
// one, and cut with the font's ellipsis when even that is too wide; the
// profile keeps its name.
void MenuMode::showPlayerName(const Zep::String& sName) {
    int nRoom = 0;
    m_nNameDrop = 0;
    int nTitleHeight = 0;
    for (const char* szFont : {kNameFont, kSmallNameFont}) {
        m_pNameLabel->setThemeFont(szFont);
        m_pNameLabel->setText(sName.c_str());
        nRoom = kGreetingWidth - m_pWelcome->getWidth() - nameGap();
        if (nTitleHeight == 0) nTitleHeight = m_pNameLabel->getHeight();
        // The smaller letters stand on the middle of the title font's line.
        m_nNameDrop = (nTitleHeight - m_pNameLabel->getHeight()) / 2;
        if (m_pNameLabel->getWidth() <= nRoom) return;
    }
    Zep::SmartPtr<Font> pFont = m_pNameLabel->getFont();
    const int nMargins = m_pNameLabel->getWidth() - pFont->getTextWidth(sName.c_str());
    m_pNameLabel->setText(pFont->fitText(sName.c_str(), nRoom - nMargins).c_str());
}

int MenuMode::nameGap() const {
    Zep::SmartPtr<Font> pFont = m_pNameLabel->getFont();
    return pFont.notNULL() ? std::max(pFont->getTextWidth(" ") - m_pNameLabel->getTextMargin(), 0) : 0;
}

void MenuMode::layOutGreeting() {
    const int nWelcomeWidth = m_pWelcome->getWidth() + nameGap(), nNameWidth = m_pNameLabel->getWidth();
    const int nWelcomeX = kScreenCentreX - (nWelcomeWidth + nNameWidth) / 2;
    m_pWelcome->setPosition(nWelcomeX, kGreetingY);
    const int nNameX = nWelcomeX + nWelcomeWidth;
    m_pNameLabel->setPosition(nNameX, kNameY + m_nNameDrop);
    // The sign is hidden, so its size is its picture's.
    m_pNotMe->setPosition(nNameX + nNameWidth / 2 - m_pNotMe->getImage()->getWidth() / 2, kNotMeY);
    m_pNotMe->setVisible(false);
}

void MenuMode::onEnd() {
    TUKMode::onEnd();
    m_pPlayer = nullptr;
    releaseProfileManager();
}

// ---- Input ---------------------------------------------------------------------------------

bool MenuMode::onKeyDown(int nKey, int nModifiers) {
    if (nKey != Key::Escape) return TUKMode::onKeyDown(nKey, nModifiers);
    onCommand(kQuit);
    return true;
}

bool MenuMode::onMouseUp(int, int, int) {
    if (getHoverSprite().notNULL() && getHoverSprite().get() == m_pNameLabel.get())
        onCallback(kSelectProfile, nullptr);
    return true;
}

void MenuMode::onCallback(int nId, void*) { onCommand(nId); }
