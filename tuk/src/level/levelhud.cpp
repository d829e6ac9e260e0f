// The level's money, clock and options button (levelhud.h).
#include "level/levelhud.h"

#include <algorithm>
#include <cmath>

namespace {

constexpr int kMoneyX = 10, kMoneyY = 8;
constexpr int kTimeX = 700, kTimeY = 8;
constexpr int kOptionsX = 700, kOptionsY = 560;
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
    m_pMoney = addLabel(mode, kMoneyX, kMoneyY);
    m_pTime = addLabel(mode, kTimeX, kTimeY);
    m_pOptions = new Button(mode.getText("HUD_Options"), kOptionsId);
    mode.addControl(m_pOptions.get());
    m_pOptions->setPosition(kOptionsX, kOptionsY);
    m_pOptions->setZOrder(kZOrder);
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
