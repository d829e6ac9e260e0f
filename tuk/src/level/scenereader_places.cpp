// The scene's walk areas, seat classes, backdrop, music, random points, paths
// and emitters, and the checks after the last line (scenereader.h).
#include "level/scenereader.h"

#include <cmath>
#include <cstdlib>

#include "actors/figures.h"
#include "level/playmode.h"

namespace {

constexpr const char* kZepSource = ".\\src\\scenereader_places";

using scenelines::token;

}  // namespace

// ---- Walking and seats -------------------------------------------------------------

void SceneReader::walkArea(const Line& line) { m_mode.addWalkArea(rect(line, 1), number(line, 5)); }

void SceneReader::preferredLine(const Line& line) {
    const Zep::String& sDirection = token(line, 1);
    if (sDirection != "h" && sDirection != "v")
        fail(line.nNumber, Zep::String::format("unknown line direction %s", sDirection.c_str()));
    const int nMask = WalkAreas::headingMask(token(line, 7).c_str());
    if (nMask < 0) fail(line.nNumber, Zep::String::format("unknown heading %s", line.lTokens[7].c_str()));
    m_mode.addPreferredLine(sDirection == "v", number(line, 2), rect(line, 3), nMask);
}

void SceneReader::charSpots(const Line& line) {
    LevelData& data = m_mode.getLevelData();
    data.m_nCustomerY = number(line, 1);
    data.m_nCustomerDepth = number(line, 2);
    data.m_nVipY = number(line, 3);
    data.m_nVipDepth = number(line, 4);
}

// ---- Backdrop and music ---------------------------------------------------------------

void SceneReader::background(const Line& line) {
    requireRoom(1);
    m_mode.getScene().pBackground = addSprite(new Sprite(picture(token(line, 1)), 0, 0, kBackgroundDepth));
}

void SceneReader::soundtrack(const Line& line) { m_mode.getScene().sSoundtrack = token(line, 1); }

// ---- Random points --------------------------------------------------------------------

void SceneReader::randomPoint(const Line& line) {
    RandomPoint point;
    point.x = number(line, 1);
    point.y = number(line, 2);
    if (line.lTokens.getCount() >= 4) point.sName = line.lTokens[3];
    m_mode.getScene().lRandomPoints.add(point);
}

void SceneReader::randomSprite(const Line& line) {
    const Zep::String& sImage = token(line, 1);
    const int nDepth = number(line, 2);
    Zep::List<RandomPoint>& lPoints = m_mode.getScene().lRandomPoints;
    if (lPoints.isEmpty()) fail(line.nNumber, "randomsprite before any randompoint");
    RandomPoint& point = lPoints.getTail()->data;
    requireRoom(1);
    Zep::SmartPtr<Sprite> pSprite = addSprite(new Sprite(picture(sImage), point.x, point.y, nDepth));
    pSprite->setVisible(false);
    point.lSprites.add(pSprite);
}

void SceneReader::showRandomSprites() {
    for (const RandomPoint& point : m_mode.getScene().lRandomPoints)
        if (!point.lSprites.isEmpty()) point.lSprites.get(std::rand() % point.lSprites.getCount())->setVisible(true);
}

// ---- Paths ----------------------------------------------------------------------------

void SceneReader::path(const Line& line) {
    const Zep::String& sName = token(line, 1);
    Zep::List<ScenePath>& lPaths = m_mode.getScene().lPaths;
    for (const ScenePath& other : lPaths)
        if (other.sName == sName) fail(line.nNumber, Zep::String::format("path %s defined twice", sName.c_str()));
    ScenePath path;
    path.sName = sName;
    m_pPath = &lPaths.add(path)->data;
}

void SceneReader::waypoint(const Line& line) {
    const int x = number(line, 1), y = number(line, 2);
    if (!m_pPath) fail(line.nNumber, "waypoint before any path");
    m_pPath->lWaypoints.add(PathWaypoint(x, y));
}

void SceneReader::pathSprite(const Line& line) {
    ZEP_TRACE("SceneReader::pathSprite");
    const Zep::String& sPath = token(line, 2);
    const float fSpeed = scenelines::readFloat(token(line, 3));
    if (!(std::fabs(fSpeed) <= kMaxCoordinate))
        fail(line.nNumber, Zep::String::format("number %s out of range", line.lTokens[3].c_str()));
    const int nDepth = number(line, 4);
    const ScenePath* pPath = nullptr;
    for (const ScenePath& path : m_mode.getScene().lPaths)
        if (path.sName == sPath) pPath = &path;
    if (!pPath) fail(line.nNumber, Zep::String::format("unknown path %s", sPath.c_str()));
    Zep::SmartPtr<Animation> pAnimation = m_names.definedAnimation(token(line, 1));
    Zep::List<Point> lPoints;
    for (const PathWaypoint& waypoint : pPath->lWaypoints) lPoints.add(Point(waypoint.getX(), waypoint.getY()));
    requireRoom(1);
    Zep::SmartPtr<PathSprite> pWalker = new PathSprite(pAnimation, lPoints, fSpeed, nDepth);
    addSprite(pWalker->getSprite().get());
    m_mode.addFigure(pWalker.get());
}

// ---- Emitters -------------------------------------------------------------------------

void SceneReader::emitter(const Line& line) {
    ZEP_TRACE("SceneReader::emitter");
    const Zep::String& sFile = token(line, 1);
    const int x = number(line, 2), y = number(line, 3), nDepth = number(line, 4);
    Zep::SmartPtr<ParticleEmitter> pEmitter = new ParticleEmitter(&m_mode);
    pEmitter->load(sFile.c_str());
    pEmitter->setPosition(x, y);
    pEmitter->setZOrder(nDepth);
    m_mode.getScene().lEmitters.add(pEmitter);
}

// ---- Checks ---------------------------------------------------------------------------

void SceneReader::check(int nLastLine) {
    const WalkAreas& areas = m_mode.getWalkAreas();
    if (areas.getCount() == 0) fail(nLastLine, "no walk area");
    if (areas.getBandBottom() <= areas.getBandTop()) fail(nLastLine, "the walk band's bottom is not below its top");
    if (areas.find(kStartX, kStartY) < 0)
        fail(nLastLine, Zep::String::format("the waitress's start (%d, %d) lies in no walk area", kStartX, kStartY));
    int nOrdinary = 0;
    for (const Seat& seat : m_lSeats) nOrdinary += seat.nKind == 0 ? 1 : 0;
    if (nOrdinary == 0) fail(nLastLine, "no ordinary seat");
    if (nOrdinary > kMaxOrdinarySeats)
        fail(nLastLine, Zep::String::format("more than %d ordinary seats", kMaxOrdinarySeats));
    if (m_nSinks == 0) fail(nLastLine, "no sink");
}
