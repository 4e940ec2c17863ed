#include "world/TBuilding.h"

#include <algorithm>
#include <cmath>

#include "framework/TFastRandom.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuildingLayer.h"
#include "world/TBuildingPlace.h"
#include "world/TCheat.h"
#include "world/THabitant.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TInfluenceLayer.h"
#include "world/TJob.h"
#include "world/TLayer.h"
#include "world/TRoadLayer.h"
#include "world/TSmoke.h"
#include "world/TTicker.h"
#include "world/TWay.h"

namespace {
TLayer* WorldOf(const TBuildingLayer* bl) { return bl ? bl->layer : nullptr; }

// Ticks per second of an animation whose plugin gives seconds per frame; a speed of 0 or
// less stands still instead of ticking without end.
float FramesPerSecond(float secondsPerFrame) { return secondsPerFrame > 0.0f ? 1.0f / secondsPerFrame : 0.0f; }
}  // namespace

// --- creation ------------------------------------------------------------------------------

std::shared_ptr<TBuilding> TBuilding::Create(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                             TBuildingLayer* buildingLayer) {
    if (!plugin) return nullptr;
    auto b = std::make_shared<TBuilding>();
    b->buildingLayer = buildingLayer;
    b->p = plugin;
    b->Name = plugin->Name;
    b->x = x;
    b->y = y;
    b->mx = float(x) + plugin->mxpos[0];
    b->my = float(y) + plugin->mypos[0];
    b->places = _CreatePlaces(b, x, y, plugin->SizeX[0], plugin->SizeY[0]);

    TLayer* world = WorldOf(buildingLayer);
    const std::shared_ptr<vesko::TFastRandom> random = world ? world->random : nullptr;
    if (plugin->decoframes >= 1 && plugin->deco && random) {
        b->decoframe = random->GetIntIn(0, plugin->decoframes - 1);
    }
    // The smoke only moves as it is drawn, so it draws from the drawing generator.
    for (size_t i = 0; i < plugin->smokehandlerid.size(); ++i) {
        if (!plugin->HasSmokeEmitter(i)) continue;
        auto s = TSmoke::Create(float(plugin->smokehandlerx[i]), float(plugin->smokehandlery[i]),
                                plugin->smokehandlerid[i], float(plugin->smokehandlergeschw[i]),
                                world ? world->drawRandom : nullptr);
        if (s) b->smoke.push_back(s);
    }
    b->animTicker = TTicker::Create(FramesPerSecond(plugin->animspeed));
    b->decoAnimTicker = TTicker::Create(FramesPerSecond(plugin->decoanimspeed));
    b->inBuildMode = 1;
    b->buildingProgress = 0;
    // Drawn even when no stage or crane picture loaded, so that the world's random sequence does
    // not depend on which pictures exist; an index outside the lists then draws nothing.
    if (random) {
        b->buildingKind = random->GetIntIn(0, int32_t(TBuildingLayer::buildingProcessImg.size()) - 1);
        b->buildingCraneKind = random->GetIntIn(0, int32_t(TBuildingLayer::buildingTowerCraneImg.size()) - 1);
        b->updatePart = random->GetFloatIn(0, 1.0f);
    }
    // A negative population in a plugin file means no room at all.
    if (plugin->structure == TPicturePlugin::TStructure::Residential) {
        b->maxHabitans = std::max(plugin->population, 0);
    } else {
        b->maxWorkers = std::max(plugin->population, 0);
    }
    return b;
}

std::vector<std::shared_ptr<TBuildingPlace>> TBuilding::_CreatePlaces(const std::shared_ptr<TBuilding>& building,
                                                                      int32_t x, int32_t y, int32_t width,
                                                                      int32_t depth) {
    std::vector<std::shared_ptr<TBuildingPlace>> out;
    for (int32_t i = 0; i < width; ++i) {
        for (int32_t j = 0; j < depth; ++j) {
            if (i == 0 && j == 0) continue;
            out.push_back(TBuildingPlace::Create(building, x + i, y + j));
        }
    }
    return out;
}

int32_t TBuilding::SizeX() const { return p ? p->SizeX[0] : 1; }

int32_t TBuilding::SizeY() const { return p ? p->SizeY[0] : 1; }

// --- daily life ----------------------------------------------------------------------------

void TBuilding::Update(int32_t day) {
    if (!p) return;
    if (inBuildMode) {
        if (buildStartDay == -1) {
            buildStartDay = day;
            buildingProgress = 0;
        } else {
            buildingProgress = float(day - buildStartDay) / p->constructionTime;
        }
        TLayer* world = WorldOf(buildingLayer);
        if (world && world->cheat && world->cheat->immediatelyBuild) buildingProgress = 1.0f;
        if (buildingProgress >= 1.0f) {
            inBuildMode = 0;
            _recalculateInfluence();
        }
        return;
    }
    // Only here: drawing reads whether the building works but never stores it, so the day's
    // update alone decides when it takes inhabitants, sends cars and spreads its influence.
    work = noneededroad == 0 ? 1 : 0;
    if (work) {
        if (isResidentalBuilding()) {
            UpdateHabitants();
        } else {
            UpdateWorkers();
        }
    }
    _recalculateInfluence();
}

void TBuilding::UpdateHabitants() {
    const float population = p ? float(p->population) : 0.0f;
    const float room = population * ((2.0f * satisfactionAverage - 1.0f) - (2.0f * getTaxes()) * otherFactor());
    const int32_t capacity = static_cast<int32_t>(std::max(room, 0.0f));
    if (isResidentalBuilding()) {
        maxHabitans = capacity;
    } else {
        maxWorkers = capacity;
    }
    TLayer* world = WorldOf(buildingLayer);
    THabitantPool* pool = world ? world->habitantPool.get() : nullptr;

    if (isResidentalBuilding()) emptyReason = habitants.Empty() ? _whyEmpty() : std::string();
    if (maxHabitans > 0) {
        const int32_t n = int32_t(habitants.Count());
        if (n < maxHabitans) {
            if (pool) pool->regHouseForHabitant(shared_from_this());
        } else if (maxHabitans < n) {
            const int32_t k = world && world->random ? world->random->GetIntIn(0, n - 1) : n - 1;
            const std::shared_ptr<THabitant> r = habitants[size_t(k)];
            _delHabitant(r);
            if (r->job) {
                if (r->job->building) r->job->building->_delWorker(r);
                r->job->unuseIt();
                r->job.reset();
            }
            if (pool) pool->kickToPoolHabitant(r);
        }
        for (const auto& h : habitants.Items()) {
            if (h->job) continue;
            _FindJob();
            if (!cJob) continue;
            h->job = cJob;
            if (cJob->building) cJob->building->_regWorker(h);
            cJob.reset();
            h->job->useIt();
        }
    } else if (maxWorkers > 0 && size_t(maxWorkers) < workers.Count()) {
        const std::shared_ptr<THabitant> w = workers[workers.Count() - 1];
        if (w->job) {
            w->job->unuseIt();
            w->job.reset();
        }
        _delWorker(w);
    }
}

std::string TBuilding::_whyEmpty() {
    TLayer* world = WorldOf(buildingLayer);
    THabitantPool* pool = world ? world->habitantPool.get() : nullptr;
    if (maxHabitans <= 0) {
        // Named by what the house lacks most: the service missing or the nuisance too strong.
        int32_t weakest = -1;
        float least = 1.0f;
        for (int32_t k = 0; k < TInfluenceLayer::countInfluences; ++k) {
            const float f = getInfluenceFor(k);
            if (f < least) least = f, weakest = k;
        }
        if (weakest < 0) return Tr("Zu unzufrieden");
        const std::string kind = Tr(TInfluenceLayer::KindName(weakest));
        return weakest >= TInfluenceLayer::infAirPollution ? Tr("Zu viel: %1", kind) : Tr("Es fehlt: %1", kind);
    }
    if (pool && !pool->hbtCrtl->newcomersExpected(*pool)) return Tr("Keine Nachfrage");
    // A job found only to answer the question is not kept: the house has nobody to give it.
    const bool searched = !cJob;
    _FindJob();
    const bool reachable = cJob != nullptr;
    if (searched) cJob.reset();
    return reachable ? Tr("Wartet auf Zuzug") : Tr("Keine Arbeit erreichbar");
}

std::shared_ptr<TWay> TBuilding::_WayToWork() {
    // Tech levels are 1 ... 5; a house of any other level does not look for work (a level
    // of -1 would otherwise ask for candidates of every level).
    const int32_t level = p ? p->techlevel : 0;
    if (level < 1 || level > TPicturePlugin::countTechLevels || !buildingLayer) return nullptr;
    TLayer* world = WorldOf(buildingLayer);
    TRoadLayer* roads = world ? world->RoadLayer.get() : nullptr;
    if (!roads) return nullptr;
    const float cx = float(x) + 0.5f * float(SizeX() - 1);
    const float cy = float(y) + 0.5f * float(SizeY() - 1);
    const auto candidates = buildingLayer->_getPossibleWorkBuildings(cx, cy, level);
    if (candidates.empty()) return nullptr;
    // The nearest candidate with a route wins; one search from the house serves them all,
    // so candidates out of reach cost no search of their own.
    const auto self = shared_from_this();
    TRoadLayer::TRouteSearch search(*roads, self);
    for (const auto& candidate : candidates) {
        const auto route = search.RouteTo(candidate);
        if (!route.empty()) return TWay::Create(route, self, candidate);
    }
    return nullptr;
}

void TBuilding::_FindJob() {
    if (!cJob) {
        const auto way = _WayToWork();
        if (!way) return;
        const auto target = way->target.lock();
        if (!target) return;
        cJob = TJob::Create(target, way, target->workerImg);
    } else {
        const auto& b = cJob->building;
        if (!b || !b->IsValid() || b->workers.Count() >= size_t(std::max(b->maxWorkers, 0))) cJob.reset();
    }
}

void TBuilding::AddHabitantFromPool(const std::shared_ptr<THabitant>& h) {
    if (!h) return;
    TLayer* world = WorldOf(buildingLayer);
    THabitantPool* pool = world ? world->habitantPool.get() : nullptr;
    const bool hadHome = h->home != nullptr;
    if (hadHome) {
        h->home->_delHabitant(h);
        // A mover gives up its job (and the commute that job holds on the roads): its new home
        // may be far from it, and the next job search starts from the new home.
        leaveJob(h);
        if (pool) pool->kickToPoolHabitant(h);
    }
    _regHabitant(h);
    h->home = shared_from_this();
    h->lastMoveHour = getCurrentHour();
    if (!hadHome) h->movedToTownHour = getCurrentHour();
    if (pool) pool->kickToActiveHabitant(h);
}

void TBuilding::leaveJob(const std::shared_ptr<THabitant>& h) {
    if (!h || !h->job) return;
    if (h->job->building) h->job->building->_delWorker(h);
    h->job->unuseIt();
    h->job.reset();
}

void TBuilding::callRoadDeleted(const std::shared_ptr<TRoad>& road) {
    for (const auto& h : habitants.Items()) {
        if (!h->job || !h->job->way) continue;
        if (h->job->way->containsRoad(road)) removeHabitant(h);
    }
}

void TBuilding::removeHabitant(const std::shared_ptr<THabitant>& h) {
    if (!h) return;
    leaveJob(h);
    _delHabitant(h);
    h->home.reset();
    TLayer* world = WorldOf(buildingLayer);
    if (world && world->habitantPool) world->habitantPool->kickToPoolHabitant(h);
}

void TBuilding::Destroy() {
    // The people of a house torn down, and the workers of a work building torn down, lose home
    // and job and wait with the newcomers for a new home (they no longer count as inhabitants).
    for (const auto& h : habitants.Items()) removeHabitant(h);
    for (const auto& w : workers.Items()) {
        if (const auto home = w->home) {
            home->removeHabitant(w);
        } else {
            leaveJob(w);
        }
    }
    alive = 0;
}

// --- satisfaction, money, ratios -----------------------------------------------------------

float TBuilding::getCurrentHour() const {
    TLayer* world = WorldOf(buildingLayer);
    return world ? world->hour : 0.0f;
}

float TBuilding::calcTaxMoney() const {
    TLayer* world = WorldOf(buildingLayer);
    THabitantPool* pool = world ? world->habitantPool.get() : nullptr;
    float money = 0.0f;
    if (!pool) return money;
    for (const auto& h : habitants.Items()) money += pool->calcTaxMoneyForHabitant(*h);
    if (!workers.Empty()) {
        const float perWorker = pool->hbtCrtl->businessTax(*this, *pool);
        money += perWorker * float(workers.Count());
    }
    return money;
}

float TBuilding::_calculateInfluenceFor(int32_t tx, int32_t ty, const std::shared_ptr<TInfluenceMask>& mask) const {
    TLayer* world = WorldOf(buildingLayer);
    // Without an influence map or a mask there is nothing to fall short of.
    if (!world || !world->InfluenceLayer || !mask) return 1.0f;
    return world->InfluenceLayer->GetInfluenceMaskState(tx, ty, mask);
}

void TBuilding::_recalculateInfluence() {
    float s = 1.0f;
    const auto mask = p ? p->defaultInfluenceMask : nullptr;
    for (int32_t ty = y; ty < y + SizeY(); ++ty) {
        for (int32_t tx = x; tx < x + SizeX(); ++tx) s = std::min(_calculateInfluenceFor(tx, ty, mask), s);
    }
    satisfactionAverage = s;
}

float TBuilding::getInfluenceFor(int32_t kind) const {
    if (!p || !p->defaultInfluenceMask) return 1.0f;
    auto mask = p->defaultInfluenceMask->Copy(1);
    for (int32_t i = 0; i < int32_t(mask->ignoredValue.size()); ++i) mask->ignoredValue[size_t(i)] = i != kind ? 1 : 0;
    float s = 1.0f;
    for (int32_t ty = y; ty < y + SizeY(); ++ty) {
        for (int32_t tx = x; tx < x + SizeX(); ++tx) s = std::min(_calculateInfluenceFor(tx, ty, mask), s);
    }
    return s;
}

float TBuilding::getJobPercentage() const {
    const auto list = habitants.Items();
    if (maxHabitans < 1 || list.empty()) return 1.0f;
    int32_t working = 0;
    for (const auto& h : list) working += h->job ? 1 : 0;
    return float(working) / float(list.size());
}

float TBuilding::getPeopleFullness() const {
    if (isResidentalBuilding()) {
        return maxHabitans > 0 ? float(habitants.Count()) / float(maxHabitans) : 1.0f;
    }
    return maxWorkers > 0 ? float(workers.Count()) / float(maxWorkers) : 1.0f;
}

float TBuilding::getMaxCars() const { return getPeopleFullness() * float(p ? p->maxcars : 0); }

int32_t TBuilding::isResidentalBuilding() const {
    return p && p->structure == TPicturePlugin::TStructure::Residential ? 1 : 0;
}

std::shared_ptr<TImage> TBuilding::getWorkerPic() const {
    if (p && p->workerpic) return p->workerpic;
    return TBuildingLayer::defaultWorkerImg;
}

std::string TBuilding::getWorkerName() const { return p ? p->workername : std::string(); }

// --- drawing -------------------------------------------------------------------------------

int32_t TBuilding::getFrame() const {
    using S = TPicturePlugin::TStructure;
    const S t = p ? p->structure : S::Residential;
    if (t == S::Residential) return 0;
    if (t == S::Commercial) return 1;
    if (t == S::Industrial) return 2;
    return 3;
}

int32_t TBuilding::GetCol() {
    if (_col == 0) {
        using S = TPicturePlugin::TStructure;
        const S t = p ? p->structure : S::Other;
        uint32_t rgb = 0xB1B8C8u;
        if (t == S::Residential) {
            rgb = 0x26FF30u;
        } else if (t == S::Commercial) {
            rgb = 0x205CFFu;
        } else if (t == S::Industrial) {
            rgb = 0xFFFC23u;
        } else if (t == S::Award) {
            rgb = 0xFF23FCu;
        }
        _col = static_cast<int32_t>(0xFF000000u | rgb);
    }
    return _col;
}

void TBuilding::Draw(float sx, float sy, uint8_t drawGround, float scaleX, float scaleY, int32_t drawSmoke,
                     float windX) {
    if (!p) return;
    // Read, not stored: the daily update keeps `work`, which the simulation relies on, and a
    // finished building with its road animates from the frame it is finished.
    const bool working = noneededroad == 0 && inBuildMode == 0;
    if (drawGround && inBuildMode == 0) {
        const float a = GetAlpha();
        SetAlpha(1.0f);
        TBuildingLayer::drawBuildingGround(getFrame(), sx, sy, SizeX(), SizeY());
        SetAlpha(a);
    }
    if (working) {
        const int32_t frames = std::max(p->animframes, 1);
        if (animTicker) animFrame = (animTicker->Get() + animFrame) % frames;
        if (p->decoanimframes > 0 && decoAnimTicker) {
            decoAnimFrame = (decoAnimTicker->Get() + decoAnimFrame) % p->decoanimframes;
        }
    }
    if (inBuildMode) {
        const float a0 = GetAlpha();
        SetAlpha(1.0f);
        if (buildingLayer) buildingLayer->_drawBuildingGround(sx, sy, SizeX(), SizeY(), getFrame());
        SetAlpha(a0);
        // The scaffold rises to the building's full height at half-time and comes down again.
        const float full = float(p->Height) * 32.0f / TBuildingLayer::stageSegmentHeight;
        float h = buildingProgress * full;
        if (buildingProgress > 0.5f) h = full - h;
        DrawBackBuildingStage(sx, sy, h);
        if (SizeX() > 1 && SizeY() > 1 && buildingLayer) {
            const int32_t frame = static_cast<int32_t>(std::fmod(h * 74935.0f * updatePart, 2.0f));
            buildingLayer->_DrawTowerCrane(sx, sy, frame, h + 4.0f, buildingCraneKind);
        }
        SetAlpha(buildingProgress * a0);
        DrawImage(p->picture[0], sx, sy, animFrame);
        if (decoframe >= 0) DrawImage(p->deco, sx, sy, decoframe);
        SetAlpha(a0);
        DrawFrontBuildingStage(sx, sy, h);
        return;
    }
    const float a0 = GetAlpha();
    DrawImage(p->picture[0], sx, sy, animFrame);
    if (noneededroad == 1) {
        _DrawNoRoadSymbol(sx, sy, scaleX, scaleY);
    } else if (getSatisfaction() < 0.8f) {
        _DrawIsUnhappy(sx, sy, scaleX, scaleY);
    }
    const float j = getJobPercentage();
    if (j < 1.0f) {
        // The more inhabitants without work, the plainer the symbol.
        SetAlpha(1.0f - j);
        _DrawNoWorkSymbol(sx, sy, scaleX, scaleY);
        SetAlpha(a0);
    }
    if (maxWorkers > int32_t(workers.Count()) && !cJob) _DrawNoWorkersSymbol(sx, sy, scaleX, scaleY);
    if (decoframe >= 0) DrawImage(p->deco, sx, sy, decoframe);
    if (p->decoanim && p->decoanimframes > 0) DrawImage(p->decoanim, sx, sy, decoAnimFrame);
    if (drawSmoke && working && getPeopleFullness() > 0.0f) {
        const float a1 = GetAlpha();
        for (const auto& s : smoke) s->Draw(sx, sy, scaleX, scaleY, a1, windX);
        SetAlpha(a1);
    }
}

void TBuilding::DrawBackBuildingStage(float sx, float sy, float h) {
    if (!buildingLayer) return;
    const int32_t w = SizeX(), d = SizeY();
    auto segment = [&](int32_t i, int32_t j, float height) {
        float px = sx, py = sy;
        buildingLayer->_getDrawPos(px, py, i, j);
        buildingLayer->_drawBuildingStage(px, py, height, buildingKind);
    };
    for (int32_t n = w - 1; n >= 1; --n) segment(n, 0, h + GetRNDAspect(n, 0));
    for (int32_t i = 1; i <= d - 2; ++i) segment(w - 1, i, h + GetRNDAspect(w - 1, i));
}

void TBuilding::DrawFrontBuildingStage(float sx, float sy, float h) {
    if (!buildingLayer) return;
    const int32_t w = SizeX(), d = SizeY();
    const float front = h - 0.5f;
    auto segment = [&](int32_t i, int32_t j, float height) {
        float px = sx, py = sy;
        buildingLayer->_getDrawPos(px, py, i, j);
        buildingLayer->_drawBuildingStage(px, py, height, buildingKind);
    };
    for (int32_t n = w - 1; n >= 1; --n) segment(n, d - 1, front + GetRNDAspect(n, d - 1));
    for (int32_t i = 0; i <= d - 1; ++i) segment(0, i, front + GetRNDAspect(0, i));
}

float TBuilding::GetRNDAspect(int32_t i, int32_t j) const {
    return std::fmod(float(i) * 4.3278899f + float(j) * 8.8902302f + updatePart, 1.0f) * 0.5f * 2.0f;
}

bool TBuilding::PictureCovers(float x, float y, float scaleX, float scaleY, float px, float py) const {
    if (!p) return false;
    using TBL = TBuildingLayer;
    if (TBL::ImageCovers(p->picture[0], animFrame, x, y, scaleX, scaleY, px, py)) return true;
    if (decoframe >= 0 && TBL::ImageCovers(p->deco, decoframe, x, y, scaleX, scaleY, px, py)) return true;
    return p->decoanimframes > 0 && TBL::ImageCovers(p->decoanim, decoAnimFrame, x, y, scaleX, scaleY, px, py);
}

void TBuilding::_GetSymbolPos(float& sx, float& sy, float scaleX, float scaleY) const {
    const float pictureWidth = p && p->picture[0] ? float(p->picture[0]->width) : 0.0f;
    sx = sx + scaleX * (pictureWidth * 0.5f);
    sy = sy - scaleY * (float(p ? p->Height : 0) * 16.0f);
}

void TBuilding::_DrawNoWorkSymbol(float sx, float sy, float scaleX, float scaleY) {
    _GetSymbolPos(sx, sy, scaleX, scaleY);
    DrawImage(TBuildingLayer::noJobImg, sx, sy, 0);
    if (debugSymbols) {
        DrawText("No Work!(" + std::to_string(maxHabitans - int32_t(habitants.Count())) + ")", sx, sy);
    }
}

void TBuilding::_DrawIsUnhappy(float sx, float sy, float scaleX, float scaleY) {
    _GetSymbolPos(sx, sy, scaleX, scaleY);
    DrawImage(TBuildingLayer::unhappyImg, sx, sy, 0);
}

void TBuilding::_DrawNoRoadSymbol(float sx, float sy, float scaleX, float scaleY) {
    _GetSymbolPos(sx, sy, scaleX, scaleY);
    DrawImage(TBuildingLayer::noRoadImg, sx, sy, 0);
}

void TBuilding::_DrawNoWorkersSymbol(float sx, float sy, float scaleX, float scaleY) {
    // No picture: only the debug text shows it.
    if (!debugSymbols) return;
    _GetSymbolPos(sx, sy, scaleX, scaleY);
    DrawText("No Workers!(" + std::to_string(maxWorkers - int32_t(workers.Count())) + ")", sx, sy);
}
