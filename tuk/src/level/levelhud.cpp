// The level's money and clock on their plates, and its options button (levelhud.h).
#include "level/levelhud.h"

#include <algorithm>
#include <cmath>

#include "application/gameapp.h"

namespace {

constexpr int kMoneyX = 10, kMoneyY = 8;
constexpr int kTimeX = 700, kTimeY = 8;
// A label's plate reaches this far left of it and above it.
constexpr int kPlateLeft = 6, kPlateAbove = 5;
constexpr const char* kMoneyPlate = "hud_plate_money";
constexpr const char* kTimePlate = "hud_plate_clock";
constexpr int kSecondsPerMinute = 60;
constexpr const char* kFont = "Sand::LabelText";

Zep::String moneyText(const LevelData& data) {
    if (data.m_nGameKind == 0) return Zep::String::format("$%d / $%d", data.m_nDayMoney, data.m_nMoneyGoal);
    return Zep::String::format("$%d", data.m_nDayMoney);
}

Zep::String timeText(const LevelData& data) {
    const float fLeft = std::max(0.0f, data.m_fDayLength - data.m_fTimePlayed);
    const int nSeconds = static_cast<int>(std::trunc(fLeft));
    return Zep::String::format("%d:%02d", nSeconds / kSecondsPerMinute, nSeconds % kSecondsPerMinute);
}

}  // namespace

LevelHud::LevelHud(GameMode& mode) {
    m_pMoneyPlate = addPlate(mode, kMoneyPlate, kMoneyX, kMoneyY);
    m_pMoney = addLabel(mode, kMoneyX, kMoneyY);
    m_pTimePlate = addPlate(mode, kTimePlate, kTimeX, kTimeY);
    m_pTime = addLabel(mode, kTimeX, kTimeY);
    m_pOptions = new Button(mode.getText("HUD_Options"), kOptionsId);
    mode.addControl(m_pOptions.get());
    placeOptions(mode);
    m_pOptions->setZOrder(kZOrder);
}

Zep::SmartPtr<Sprite> LevelHud::addPlate(GameMode& mode, const char* szPicture, int x, int y) {
    GameApp* pApp = mode.getApp();
    if (!pApp || !pApp->imageExists(szPicture)) return Zep::SmartPtr<Sprite>();
    Zep::SmartPtr<Sprite> pPlate = new Sprite(pApp->getImage(szPicture), x - kPlateLeft, y - kPlateAbove, kZOrder - 1);
    mode.addSprite(pPlate.get());
    return pPlate;
}

// Centred in the top row, from the size of its picture (made when it joined
// the mode), level with the plates.
void LevelHud::placeOptions(GameMode& mode) {
    const GameApp* pApp = mode.getApp();
    const int nScreenW = pApp ? pApp->getScreenWidth() : 0;
    m_pOptions->setPosition((nScreenW - m_pOptions->getWidth()) / 2, kMoneyY - kPlateAbove);
}

Zep::SmartPtr<Label> LevelHud::addLabel(GameMode& mode, int x, int y) {
    Zep::SmartPtr<Label> pLabel = new Label("", x, y, kZOrder);
    pLabel->setFont(mode.getFont(kFont));
    mode.addSprite(pLabel.get());
    return pLabel;
}

void LevelHud::update(const LevelData& data) {
    m_pMoney->setText(moneyText(data).c_str());
    m_pTime->setText(timeText(data).c_str());
}
