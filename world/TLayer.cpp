#include "world/TLayer.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "framework/TFastRandom.h"
#include "platform/TCatalogue.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageAtlas.h"
#include "platform/TPaths.h"
#include "platform/TPixmap.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TPlugin.h"
#include "settings/TConfig.h"
#include "settings/TSettingsFiles.h"
#include "world/TAdvisor.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/TEditHistory.h"
#include "world/TGroundLayer.h"
#include "world/THabitant.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TJob.h"
#include "world/TMapColours.h"
#include "world/TMapPainter.h"
#include "world/TMiniMap.h"
#include "world/TOPPanel.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TSmoke.h"
#include "world/TStreet.h"
#include "world/TTicker.h"
#include "world/TTimeSystem.h"
#include "world/TTree.h"
#include "world/TWay.h"
#include "world/TWeatherLayer.h"

namespace {
constexpr float Pi = 3.14159265358979f;

void ResetDrawing(float scaleX, float scaleY) {
    SetAlpha(1.0f);
    SetColor(255, 255, 255);
    SetTransform(0, scaleX, scaleY);
}

using TMoneyParts = std::array<double, size_t(TMoneyKind::count)>;

TMoneyKind UpkeepKind(TPicturePlugin::TStructure structure) {
    using S = TPicturePlugin::TStructure;
    switch (structure) {
        case S::Residential: return TMoneyKind::upkeepResidential;
        case S::Commercial: return TMoneyKind::upkeepCommercial;
        case S::Industrial: return TMoneyKind::upkeepIndustrial;
        case S::Park: return TMoneyKind::upkeepPark;
        case S::Public: return TMoneyKind::upkeepPublic;
        case S::Award: return TMoneyKind::upkeepAward;
        default: return TMoneyKind::other;
    }
}

// The month's upkeep by kind of building, as TBuildingLayer::getAlimony sums it.
TMoneyParts UpkeepParts(const TBuildingLayer* buildings) {
    TMoneyParts parts{};
    if (!buildings) return parts;
    for (const auto& b : buildings->arrBuilding.Items()) {
        if (b->inBuildMode == 0 && b->p) parts[size_t(UpkeepKind(b->p->structure))] -= double(b->p->alimony);
    }
    return parts;
}

// The month's taxes by the inhabitants' levels and the work buildings' business tax, as
// TBuildingLayer::getHabitantTaxes sums them.
TMoneyParts TaxParts(const TBuildingLayer* buildings, const THabitantPool* pool) {
    TMoneyParts parts{};
    if (!buildings || !pool) return parts;
    for (const auto& b : buildings->arrBuilding.Items()) {
        for (const auto& h : b->habitants.Items()) {
            const int32_t level = std::clamp(h->GetLevel(), 1, THabitantPool::countTechlevel);
            parts[size_t(TMoneyKind::taxLevel1) + size_t(level - 1)] += double(pool->calcTaxMoneyForHabitant(*h));
        }
        if (!b->workers.Empty()) {
            const float perWorker = pool->hbtCrtl->businessTax(*b, *pool);
            parts[size_t(TMoneyKind::businessTax)] += double(perWorker * float(b->workers.Count()));
        }
    }
    return parts;
}

// What a closed month keeps of the city besides its money.
TMonthRecord CityState(const TLayer& l) {
    TMonthRecord s;
    s.money = l.getMoney();
    const THabitantPool* pool = l.habitantPool.get();
    if (!pool) return s;
    s.inhabitants = pool->countActiveHabitants();
    s.waiting = pool->countAvailableHabitants();
    for (const auto& h : pool->activeHabitant.Items()) s.employed += h->job ? 1 : 0;
    s.satisfaction = pool->getSatisfaction();
    for (int32_t level = 1; level <= THabitantPool::countTechlevel; ++level)
        s.demand[size_t(level - 1)] = pool->getRequestForLvl(level);
    return s;
}
}  // namespace

// --- set-up --------------------------------------------------------------------------------

void TLayer::LoadSettings() { TSettingsFiles::LoadSettings(TPaths::Places().settingsRead); }

int32_t TLayer::SaveGagdgetSettings() { return TSettingsFiles::SaveGagdgetSettings(TPaths::Places().config); }

void TLayer::Init(int32_t w, int32_t h) {
    defaultViewWidth = w;
    defaultViewHeight = h;
}

void TLayer::SetViewSize(int32_t w, int32_t h) {
    if (w <= 0 || h <= 0 || (w == viewWidth && h == viewHeight)) return;
    // The camera's pan is measured from the view's corner: half the growth keeps the centre.
    if (iso) {
        iso->moveX += 0.5f * float(w - viewWidth);
        iso->moveY += 0.5f * float(h - viewHeight);
    }
    movementStartMS = -1;
    viewWidth = w;
    viewHeight = h;
    if (GroundLayer) GroundLayer->ForgetCache();
}

void TLayer::_EnsureViewSize() {
    if (viewWidth > 0 && viewHeight > 0) return;
    if (defaultViewWidth <= 0 || defaultViewHeight <= 0) Init(TGraphics::GraphicsWidth(), TGraphics::GraphicsHeight());
    viewWidth = defaultViewWidth;
    viewHeight = defaultViewHeight;
}

void TLayer::Prepare(TProgressFunc::Function progressFunc, void* progressObj) {
    // Tile pictures are loaded masked but unfiltered so that tiles join without seams.
    AutoImageFlags(MASKEDIMAGE);
    TPlugin::SetTileSize(TConfig::tilewidth, TConfig::tileheight);
    TPlugin::Init();
    std::vector<std::weak_ptr<TImage>> loaded;
    CollectLoadedImages(&loaded);
    // The street tables come first: street plugins are turned into street types as they load.
    TStreet::Init(TPaths::Resolve("data/gfx/verkehr"), TConfig::tilewidth, TConfig::tileheight);
    TPlugin::ReadIn(TPaths::Resolve("data/plugins"), progressFunc, progressObj);
    TPlugin::LinkCars();
    TGroundLayer::Prepare();
    TRoadLayer::Prepare();
    TBuildingLayer::Prepare();
    TWeatherLayer::Prepare();
    TSmoke::Init(TPaths::Resolve("data/gfx/felder/smoke_"));
    CollectLoadedImages(nullptr);
    // The world's pictures (buildings, trees, cars, roads, symbols) share a few atlas textures,
    // so the sprites of a frame drawn one after another stay in a handful of batches.
    std::vector<std::shared_ptr<TImage>> images;
    for (const auto& weak : loaded) {
        if (auto image = weak.lock()) images.push_back(std::move(image));
    }
    TImageAtlas::Pack(images);
    AutoImageFlags(MASKEDIMAGE | FILTEREDIMAGE);
}

void TLayer::DePrepare() {
    TPlugin::ClearRegistry();
    TStreet::DeInit();
    TGroundLayer::DePrepare();
    TRoadLayer::DePrepare();
    TBuildingLayer::DePrepare();
    TWeatherLayer::DePrepare();
    TSmoke::DeInit();
}

std::shared_ptr<TLayer> TLayer::Create(int32_t width, int32_t height,
                                       const std::shared_ptr<vesko::TFastRandom>& random) {
    if (width <= 0 || height <= 0) {
        Print("Map size " + std::to_string(width) + " x " + std::to_string(height) + " is empty, no world created");
        return nullptr;
    }
    if (int64_t(width) * int64_t(height) > maxMapTiles) {
        Print("Map size " + std::to_string(width) + " x " + std::to_string(height) + " is too large (at most " +
              std::to_string(maxMapTiles) + " tiles), no world created");
        return nullptr;
    }
    auto l = std::make_shared<TLayer>();
    l->_EnsureViewSize();
    l->SetRandomGenerator(random ? random : vesko::TFastRandom::Create(Millisecs()));
    // The frame-time factor of drawing runs on the program's clock.
    l->opt = TTicker::Create(60);
    // What the world makes keeps its times on the world's own clock.
    l->clock = std::make_shared<TManualClock>(clockStart);
    const TClock::TScope onWorldClock(l->clock);
    l->Width = width;
    l->Height = height;
    // A fixed seed, nothing taken from the clock: the animations need no variety from one start
    // to the next.
    constexpr int32_t drawSeed = 0x5EED;
    l->drawRandom = vesko::TFastRandom::Create(drawSeed);
    l->iso = TISO::Create(float(TConfig::tilewidth), float(TConfig::tileheight));
    l->asx = l->asy = l->tsx = l->tsy = 1.0f;
    l->GroundLayer = TGroundLayer::_create(l.get());
    l->RoadLayer = TRoadLayer::_create(l.get());
    l->BuildingLayer = TBuildingLayer::_create(l.get());
    l->InfluenceLayer = TInfluenceLayer::_create(l.get());
    l->WeatherLayer = TWeatherLayer::_create(l.get());
    l->_width = l->getWidth(0);
    l->_height = l->getHeight(0);
    l->mm = TMiniMap::Create(width, height, 2);
    l->habitantPool = THabitantPool::Create(l.get());
    l->editHistory = std::make_shared<TEditHistory>();
    l->advisor = std::make_shared<TAdvisor>();
    l->timeSystem = TTimeSystem::Create(8);
    l->currentDay = -1;
    if (l->timeSystem) l->timeSystem->setSpeedPerSecond(defaultHoursASecond);
    _current = l.get();
    l->setDestroySize(1);
    l->regSomeFuncs();
    l->cheat = TCheat::Create();
    return l;
}

std::shared_ptr<TLayer> TLayer::LoadFromImage(const std::string& url,
                                              const std::shared_ptr<vesko::TFastRandom>& random) {
    auto pix = LoadPixmap(url);
    if (!pix) return nullptr;
    return LoadFromPixmap(*pix, random);
}

std::shared_ptr<TLayer> TLayer::LoadFromMap(const std::string& map, const std::shared_ptr<vesko::TFastRandom>& random,
                                            uint32_t seed) {
    const int32_t size = TMapPainter::SizeOfSpec(map);
    if (size <= 0) return LoadFromImage(TPaths::Resolve(map), random);
    auto pix = TMapPainter::Paint(seed, size);
    return pix ? LoadFromPixmap(*pix, random) : nullptr;
}

std::shared_ptr<TLayer> TLayer::LoadFromPixmap(const TPixmap& pix, const std::shared_ptr<vesko::TFastRandom>& random) {
    if (pix.width <= 0 || pix.height <= 0 || !pix.pixels) return nullptr;
    auto l = Create(pix.width, pix.height, random);
    if (!l) return nullptr;
    vesko::TFastRandom& rnd = *l->random;
    // The tree frames of each tree colour.
    constexpr int32_t treeFrames[4][2] = {{0, 8}, {9, 11}, {12, 13}, {14, 15}};
    const int32_t h = pix.height;
    for (int32_t i = 0; i < h; ++i) {
        for (int32_t j = 0; j < pix.width; ++j) {
            const uint32_t col = pix.ReadPixel(j, h - 1 - i) & 0xFFFFFFu;
            const TMapColours::TKind kind = TMapColours::KindOf(col);
            l->_SetGround(j, i, kind == TMapColours::TKind::Water ? 1 : 0, nullptr);
            if (kind == TMapColours::TKind::Trees) {
                const auto& frames = treeFrames[TMapColours::TreeKind(col)];
                l->_PlantTree(j, i, rnd.GetIntIn(frames[0], frames[1]));
            } else if (kind == TMapColours::TKind::Street) {
                l->_BuildRoad(j, i, col == TMapColours::Street0 ? 0 : 1, 0);
            }
        }
    }
    // Map roads were laid tile by tile, each open to every side: close the sides that lead nowhere.
    if (l->RoadLayer) l->RoadLayer->_garbageCollector();
    return l;
}

float TLayer::smooth(float t) { return 0.5f - 0.5f * std::cos(Pi * t); }

TLayer::~TLayer() {
    if (_current == this) _current = nullptr;
}

void TLayer::Destroy() {
    if (BuildingLayer) BuildingLayer->Destroy();
    if (habitantPool) habitantPool->Destroy();
    if (InfluenceLayer) InfluenceLayer->Destroy();
    if (GroundLayer) GroundLayer->Destroy();
    if (RoadLayer) RoadLayer->Destroy();
    if (mm) mm->Destroy();
    BuildingLayer.reset();
    GroundLayer.reset();
    RoadLayer.reset();
    InfluenceLayer.reset();
    mm.reset();
    habitantPool.reset();
    iso.reset();
    timeSystem.reset();
    if (_current == this) _current = nullptr;
}

// --- frame ---------------------------------------------------------------------------------

void TLayer::Update(int32_t x, int32_t y, int32_t hit, int32_t pointerOverGUI) {
    _EnsureViewSize();
    if (roadmode) {
        _UpdateRoadMode(x, y, hit);
    } else if (buildmode) {
        _UpdateBuildMode(x, y, hit);
    } else if (destroymode) {
        _UpdateDestroyMode(x, y, hit);
    }
    _Draw(pointerOverGUI);
    _updateScale();
    _updateMovement();
}

void TLayer::Simulate() {
    const TClock::TScope onWorldClock(clock);
    clock->Advance(stepMs);
    ++steps;
    if (timeSystem) timeSystem->Advance();
    if (BuildingLayer) BuildingLayer->__UpdateCars();
    if (RoadLayer) RoadLayer->UpdateTrafficLights();
    if (InfluenceLayer) InfluenceLayer->reCalc();
    _Update();
}

void TLayer::_Draw(int32_t pointerOverGUI) {
    pr = opt ? opt->GetF(0) : 0.0f;
    Time = pr;
    optRender = (optRender + 1) % 2;
    if (!iso) return;
    ResetDrawing(iso->ScaleX, iso->ScaleY);
    if (enableRenderOpt == 0 || optRender != 0) {
        if (GroundLayer) GroundLayer->DrawBackground();
        if (BuildingLayer) BuildingLayer->Draw(pointerOverGUI);
    }
    ResetDrawing(iso->ScaleX, iso->ScaleY);
    if (WeatherLayer) WeatherLayer->Draw();
}

void TLayer::_Update() {
    if (BuildingLayer) BuildingLayer->UpdateBuildings(currentDay, currentDayPart);
    if (RoadLayer) RoadLayer->UpdateRoadTraffic();
    _updateTime();
}

void TLayer::_updateTime() {
    if (!timeSystem) return;
    const int32_t oldDay = currentDay;
    hour = timeSystem->GetHour();
    const float d = TTimeSystem::getDay(hour);
    currentDay = static_cast<int32_t>(d);
    currentDayPart = std::fmod(d, 1.0f);
    if (currentDay == oldDay) return;
    const int32_t oldMonth = dateMonth;
    const int32_t oldYear = dateYear;
    dateWeekDay = TTimeSystem::GetDayWeek(hour) + 1;
    dateDay = TTimeSystem::GetDayOfMonth(hour) + 1;
    dateMonth = TTimeSystem::GetDayMonth(hour) + 1;
    dateYear = TTimeSystem::GetDayYear(hour) + 1;
    _updateNewDay();
    if (dateMonth != oldMonth) _updateNewMonth();
    if (dateYear != oldYear) _updateNewYear();
}

void TLayer::_updateNewDay() {
    if (habitantPool) habitantPool->Update();
    if (habitantPool) {
        for (int32_t reached : history.Reach(habitantPool->countActiveHabitants()))
            milestoneFunc(Tr("Meilenstein: %1 Einwohner!", reached));
    }
    if (WeatherLayer) WeatherLayer->nextDay();
}

void TLayer::_updateNewMonth() {
    // Upkeep first, then taxes (a negative spend always succeeds). Upkeep is owed whether or not
    // the city can pay it: what the money does not cover is booked as debt. Both belong to the
    // month that ends, which then closes with the city's state.
    const float upkeep = BuildingLayer ? BuildingLayer->getAlimony() : 0.0f;
    const float beforeUpkeep = money;
    if (!_expendMoneyGameFunc(upkeep)) setMoney(getMoney() - upkeep);
    history.Book(UpkeepParts(BuildingLayer.get()), beforeUpkeep, money);
    const float beforeTaxes = money;
    _expendMoneyGameFunc(-(BuildingLayer ? BuildingLayer->getHabitantTaxes() : 0.0f));
    history.Book(TaxParts(BuildingLayer.get(), habitantPool.get()), beforeTaxes, money);
    history.Close(CityState(*this), dateYear, dateMonth);
    if (!BuildingLayer) return;
    for (const auto& b : BuildingLayer->arrBuilding.Items()) {
        if (b->inBuildMode == 0) _callShowMoneyFunc(b, b->calcTaxMoney() - float(b->p ? b->p->alimony : 0));
    }
}

void TLayer::_updateScale() {
    if (!scaleTicker) return;
    const float p = scaleTicker->GetF(1);
    float c = smooth(std::clamp(p, 0.0f, 1.0f));
    c *= c;
    SetMapScale(asx + c * (tsx - asx), asy + c * (tsy - asy), 1);
    if (p >= 1.0f) scaleTicker.reset();
}

void TLayer::_updateMovement() {
    if (movementStartMS < 0 || !iso) return;
    const float t = float(Millisecs() - movementStartMS) / float(glideTimeMS);
    if (t >= 1.0f) movementStartMS = -1;
    const float s = smooth(std::min(t, 1.0f));
    iso->moveX = startMovementX + s * (targetMovementX - startMovementX);
    iso->moveY = startMovementY + s * (targetMovementY - startMovementY);
}

// --- camera --------------------------------------------------------------------------------

float TLayer::getWidth(int32_t scaled) const {
    const float s = (scaled == 1 && iso) ? iso->ScaleX : 1.0f;
    return 0.5f * float(TConfig::tilewidth) * float(Width + Height) * s;
}

float TLayer::getHeight(int32_t scaled) const {
    const float s = (scaled == 1 && iso) ? iso->ScaleY : 1.0f;
    return 0.5f * float(TConfig::tileheight) * float(Width + Height) * s;
}

void TLayer::SetPosition(float x, float y, int32_t check, int32_t glide) {
    if (!iso) return;
    const float w = getWidth(1);
    const float panX = -0.5f * w + x + 0.5f * float(viewWidth);
    const float panY = y + 0.5f * float(viewHeight);
    if (check == 1 && !_MoveInView(panX, panY)) return;
    if (glide == 1) {
        startMovementX = iso->moveX;
        startMovementY = iso->moveY;
        targetMovementX = panX;
        targetMovementY = panY;
        movementStartMS = Millisecs();
    } else {
        iso->moveX = panX;
        iso->moveY = panY;
    }
}

float TLayer::GetX() const {
    if (!iso) return 0.0f;
    return iso->moveX + 0.5f * getWidth(1) - 0.5f * float(viewWidth);
}

float TLayer::GetY() const {
    if (!iso) return 0.0f;
    return iso->moveY - 0.5f * float(viewHeight);
}

void TLayer::Move(float dx, float dy) {
    if (!iso) return;
    if (_MoveInView(iso->moveX + dx, iso->moveY + dy)) {
        iso->moveX += dx;
        iso->moveY += dy;
    }
}

int32_t TLayer::_MoveInView(float panX, float panY) const {
    if (!iso) return 0;
    TISO probe = *iso;
    probe.moveX = panX;
    probe.moveY = panY;
    float x = 0, y = 0;
    probe.FromIso(0.5f * float(viewWidth), 0.5f * float(viewHeight), x, y);
    // Truncation toward zero: a centre just left of column 0 (x in (-1, 0)) still counts as 0.
    if (!(std::fabs(x) < 1e9f) || !(std::fabs(y) < 1e9f)) return 0;
    return _InField(static_cast<int32_t>(x), static_cast<int32_t>(y));
}

void TLayer::midPosition(int32_t glide) {
    if (!iso) return;
    // The exact middle of the map. For even sizes this is the middle tile's corner; for odd
    // sizes the truncated middle tile would put the view centre half a tile off, and on a map
    // one tile wide off the map altogether, so that the move would be refused.
    float px = 0, py = 0;
    iso->ToIso(0.5f * float(Width), 0.5f * float(Height), px, py, 1);
    SetPosition(px - 0.5f * getWidth(1), -py, 1, glide);
}

int32_t TLayer::getPosOfThis(const TThing& thing, float& x, float& y) const {
    if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&thing)) {
        if (!*t) return 0;
        x = float((*t)->x);
        y = float((*t)->y);
        return 1;
    }
    if (const auto* r = std::get_if<std::shared_ptr<TRoad>>(&thing)) {
        if (!*r) return 0;
        x = float((*r)->x);
        y = float((*r)->y);
        return 1;
    }
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&thing)) {
        if (!*b) return 0;
        x = float((*b)->x) + 0.5f * float((*b)->SizeX());
        y = float((*b)->y) + 0.5f * float((*b)->SizeY());
        return 1;
    }
    // Cars report their positions once they drive.
    return 0;
}

int32_t TLayer::focusOnThis(const TThing& thing, int32_t glide) {
    float mx = 0, my = 0;
    if (!iso || !getPosOfThis(thing, mx, my)) return 0;
    focusOn(mx, my, glide);
    return 1;
}

void TLayer::focusOn(float mx, float my, int32_t glide) {
    if (!iso) return;
    float px = 0, py = 0;
    iso->ToIso(mx, my, px, py, 1);
    SetPosition(0.5f * getWidth(1) - px, -py, 1, glide);
}

void TLayer::zoomIn(float f) { Scale(f * scaleStep, f * scaleStep); }

void TLayer::zoomOut(float f) { Scale(f / scaleStep, f / scaleStep); }

void TLayer::Scale(float fx, float fy) {
    if (!iso) return;
    const float bx = scaleTicker ? tsx : iso->ScaleX;
    const float by = scaleTicker ? tsy : iso->ScaleY;
    tsx = std::clamp(bx * fx, minScale, maxScale);
    tsy = std::clamp(by * fy, minScale, maxScale);
    asx = iso->ScaleX;
    asy = iso->ScaleY;
    // A single sqrt(2) step takes the base time; a larger ratio runs faster.
    const float ratio = std::max(asx / tsx, tsx / asx);
    scaleTicker = TTicker::Create((1000.0f / float(scaleTimeMS)) * ratio / scaleStep);
}

void TLayer::SetMapScale(float sx, float sy, int32_t keepCentre) {
    if (!iso) return;
    sx = std::clamp(sx, minScale, maxScale);
    sy = std::clamp(sy, minScale, maxScale);
    const float oldX = GetX(), oldY = GetY();
    const float osx = iso->ScaleX, osy = iso->ScaleY;
    iso->ScaleX = sx;
    iso->ScaleY = sy;
    if (keepCentre == 1) SetPosition(oldX * sx / osx, oldY * sy / osy, 1, 0);
}

void TLayer::getMapTileSize(int32_t& w, int32_t& h) const {
    w = Width;
    h = Height;
}

// --- queries -------------------------------------------------------------------------------

int32_t TLayer::_InField(int32_t x, int32_t y) const { return (x >= 0 && x < Width && y >= 0 && y < Height) ? 1 : 0; }

int32_t TLayer::_InView(float sx, float sy, float h) const {
    if (!iso) return 0;
    const float tw = float(TConfig::tilewidth), th = float(TConfig::tileheight);
    return (sx + tw * iso->ScaleX >= 0 && sy + 0.5f * th * iso->ScaleY >= 0 && sx <= float(viewWidth) &&
            sy <= float(viewHeight) + 0.5f * th * iso->ScaleY + h * iso->ScaleY)
               ? 1
               : 0;
}

TLayer::TThing TLayer::getThingAtPos(float sx, float sy) const {
    if (!iso || !BuildingLayer) return {};
    // What is seen at the point comes first: a tall building by its walls and roof, a tree by
    // its crown. Through see-through pixels the tile under the point answers.
    const TBuildingLayer::TObject seen = BuildingLayer->_GetPictureAt(sx, sy);
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&seen)) return *b;
    if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&seen)) return *t;
    float mx = 0, my = 0;
    iso->FromIso(sx, sy, mx, my);
    if (!(std::fabs(mx) < 1e9f) || !(std::fabs(my) < 1e9f)) return {};
    const int32_t x = static_cast<int32_t>(mx), y = static_cast<int32_t>(my);
    const TBuildingLayer::TObject o = BuildingLayer->_GetTile(x, y, 1);
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) return *b;
    if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) return *t;
    if (RoadLayer) {
        if (auto r = RoadLayer->_GetTile(x, y)) return r;
    }
    return {};
}

std::shared_ptr<TBuilding> TLayer::getBuildingAtPos(float sx, float sy) const {
    const TThing t = getThingAtPos(sx, sy);
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&t)) return *b;
    return nullptr;
}

int32_t TLayer::IsFree(int32_t x, int32_t y) const {
    if (RoadLayer && RoadLayer->_GetTile(x, y)) return 0;
    if (!BuildingLayer) return 1;
    const TBuildingLayer::TObject o = BuildingLayer->_GetTile(x, y, 1);
    return std::holds_alternative<std::shared_ptr<TBuilding>>(o) ? 0 : 1;
}

// --- display switches ----------------------------------------------------------------------

void TLayer::ShowTrafficColors() {
    if (RoadLayer) RoadLayer->showtrafficcolors = 1;
}

void TLayer::HideSmoke() {
    if (BuildingLayer) BuildingLayer->_bm_hidesmoke = 1;
}

void TLayer::HideCars() {
    if (BuildingLayer) BuildingLayer->hidecars = 1;
}

void TLayer::HideThings(float sx, float sy) {
    if (!BuildingLayer || !iso) return;
    BuildingLayer->transparency = 1;
    iso->FromIso(sx, sy, BuildingLayer->tx, BuildingLayer->ty);
}

void TLayer::hideBuildings(int32_t award, int32_t commercial, int32_t industrial, int32_t publicBuilding, int32_t park,
                           int32_t residential, int32_t trees) {
    if (!BuildingLayer) return;
    using S = TPicturePlugin::TStructure;
    auto& list = BuildingLayer->hideStructureTyp;
    if (award) list.push_back(S::Award);
    if (commercial) list.push_back(S::Commercial);
    if (industrial) list.push_back(S::Industrial);
    if (publicBuilding) list.push_back(S::Public);
    if (park) list.push_back(S::Park);
    if (residential) list.push_back(S::Residential);
    if (trees) BuildingLayer->hidetrees = 1;
}

// --- map editing hand-overs ----------------------------------------------------------------

int32_t TLayer::_SetGround(int32_t x, int32_t y, int32_t water, const std::shared_ptr<TPicturePlugin>& plugin) {
    if (!GroundLayer) return 0;
    return GroundLayer->_SetTile(x, y, water, plugin);
}

void TLayer::_PlantTree(int32_t x, int32_t y, int32_t frame) {
    if (BuildingLayer) BuildingLayer->_PlantTree(x, y, frame);
}

void TLayer::setDestroySize(int32_t size) { dm_size = std::clamp(size, minDestroySize, maxDestroySize); }

// --- minimap -------------------------------------------------------------------------------

void TLayer::_RedrawMM(int32_t x, int32_t y) {
    if (!mm || !_InField(x, y)) return;
    int32_t col = BuildingLayer ? BuildingLayer->_GetCol(x, y) : 0;
    if (col == 0 && RoadLayer) col = RoadLayer->_GetCol(x, y);
    if (col == 0 && GroundLayer) col = GroundLayer->_GetCol(x, y);
    mm->Write(x, y, col, TMiniMap::Layer_Map);
}

std::array<float, 8> TLayer::_GetMiniMapOutline() const {
    if (!mm) return {};
    return mm->_GetOutline(0, 0, 1, 1);
}

int32_t TLayer::_UpdateMiniMap(float x, float y, float w, float h, float px, float py, float& camX, float& camY) {
    if (!mm || !iso) return 0;
    const float iw = float(mm->getWidth()), ih = float(mm->getHeight());
    if (iw <= 0 || ih <= 0) return 0;
    const float a0 = GetAlpha();
    SetAlpha(a0 * TConfig::minimapAlpha);
    if (h < 0) h = w * ih / iw;
    const float sx = w / iw, sy = h / ih;
    SetScale(sx, sy);
    const std::array<float, 8> outline = mm->Draw(x, y, sx, sy, -1);
    SetScale(1, 1);

    const float tw = float(TConfig::tilewidth), th = float(TConfig::tileheight);
    const float left = -2.0f * iso->moveX / (tw * iso->ScaleX);
    const float top = -iso->moveY / (th * iso->ScaleY) + 0.5f * float(Height);
    const float vw = float(viewWidth) / (iso->ScaleX * th);
    const float vh = float(viewHeight) / (iso->ScaleY * th);
    const float l = x + left * sx, t = y + top * sy, r = x + (left + vw) * sx, b = y + (top + vh) * sy;
    DrawLine(l, t, r, t);
    DrawLine(r, t, r, b);
    DrawLine(r, b, l, b);
    DrawLine(l, b, l, t);

    int32_t cr = 0, cg = 0, cb = 0;
    GetColor(cr, cg, cb);
    SetColor(TConfig::minimapScreenBorderColorR, TConfig::minimapScreenBorderColorG,
             TConfig::minimapScreenBorderColorB);
    {
        const float lx = outline[0], ly = outline[1], tx = outline[2], ty = outline[3];
        const float rx = outline[4], ry = outline[5], bx = outline[6], by = outline[7];
        DrawLine(lx, ly, tx, ty);
        DrawLine(lx, ly - 1, tx, ty - 1);
        DrawLine(tx, ty, rx, ry);
        DrawLine(tx, ty - 1, rx, ry - 1);
        DrawLine(rx, ry, bx, by);
        DrawLine(rx, ry + 1, bx, by + 1);
        DrawLine(bx, by, lx, ly);
        DrawLine(bx, by + 1, lx, ly + 1);
    }
    SetColor(cr, cg, cb);
    SetAlpha(a0);

    camX = -((px - x) / sx - 0.5f * iw) / 2.0f * tw * iso->ScaleX;
    camY = -((py - y) / sy - 0.5f * float(Height)) * th * iso->ScaleY;

    auto inside = [px, py](float ax, float ay, float bx, float by, float cx, float cy) {
        const float d1 = (px - bx) * (ay - by) - (ax - bx) * (py - by);
        const float d2 = (px - cx) * (by - cy) - (bx - cx) * (py - cy);
        const float d3 = (px - ax) * (cy - ay) - (cx - ax) * (py - ay);
        const bool neg = d1 < 0 || d2 < 0 || d3 < 0;
        const bool pos = d1 > 0 || d2 > 0 || d3 > 0;
        return !(neg && pos);
    };
    const bool hitTop = inside(outline[0], outline[1], outline[2], outline[3], outline[4], outline[5]);
    const bool hitBottom = inside(outline[0], outline[1], outline[4], outline[5], outline[6], outline[7]);
    return (hitTop || hitBottom) ? 1 : 0;
}

// --- money and text ------------------------------------------------------------------------

int32_t TLayer::enoughMoneyToBuy(float amount) { return _enoughMoneyToBuyGameFunc(amount); }

int32_t TLayer::expendMoney(float amount, TMoneyKind kind) {
    const float before = money;
    const int32_t paid = _expendMoneyGameFunc(amount);
    history.Book(kind, before, money);
    return paid;
}

void TLayer::addMoney(float amount, TMoneyKind kind) {
    const float before = money;
    money += amount;
    history.Book(kind, before, money);
}

std::string TLayer::getRealMoney(float amount) { return _getRealMoneyFunc(amount); }

std::string TLayer::getRealDate(int32_t weekday, int32_t day, int32_t month, int32_t year) {
    return _getRealDateFunc(weekday, day, month, year);
}

std::string TLayer::getRealDateOfDay(float day) {
    const float h = TTimeSystem::GetHourFromDay(day);
    return getRealDate(TTimeSystem::GetDayWeek(h) + 1, TTimeSystem::GetDayOfMonth(h) + 1,
                       TTimeSystem::GetDayMonth(h) + 1, TTimeSystem::GetDayYear(h) + 1);
}

int32_t TLayer::_callShowMoneyFunc(const TThing& thing, float amount) {
    if (!showMoneyFunc.IsSet()) return 0;
    return showMoneyFunc(amount, thing);
}

void TLayer::AddOnRoadDestroyedFunc(TRoadsFunc::Function f, void* obj) { onRoadDestroyedFunc.emplace_back(f, obj); }

void TLayer::_callOnRoadDestroyed(const TRoadList& roads) {
    // A copy: a listener may add listeners.
    const std::vector<TRoadsFunc> listeners = onRoadDestroyedFunc;
    for (const auto& f : listeners) f(roads);
}

void TLayer::regAllowToBuildFunction(TAllowFunc::Function f, void* context) {
    allowToBuildFunctions.emplace_back(f, context);
}

int32_t TLayer::_allowedToBuild(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) {
    for (const auto& f : allowToBuildFunctions) {
        if (!f(plugin, x, y)) return 0;
    }
    return 1;
}

TEditCheck TLayer::RunCommand(std::unique_ptr<TEditCommand> command) {
    const TClock::TScope onWorldClock(clock);
    if (command) Record(command->ScriptLine());
    // The history keeps a command that was carried out as its newest.
    const TEditCommand* run = command.get();
    const TEditCheck check = editHistory->Run(*this, std::move(command));
    if (!check.Ok()) refusedFunc(Tr(check.reason));
    if (check.Ok()) {
        advisor->Forget();
        editedFunc(*run);
    }
    return check;
}

std::string TLayer::UndoCommand() {
    const TClock::TScope onWorldClock(clock);
    Record("undo");
    advisor->Forget();
    return editHistory->Undo(*this);
}

void TLayer::regSomeFuncs() { regAllowToBuildFunction(&TLayer::_ableToBuildBuilding, this); }

int32_t TLayer::_ableToBuildBuilding(void* context, const std::shared_ptr<TPicturePlugin>& plugin, int32_t x,
                                     int32_t y) {
    auto* l = static_cast<TLayer*>(context);
    if (!l || !plugin) return 1;
    return l->_isInfMaskAllowingToBuild(plugin, x, y);
}

void TLayer::markBuilding(const std::shared_ptr<TBuilding>& building, int32_t colour, int32_t flag) {
    if (!building || !BuildingLayer) return;
    BuildingLayer->_addbmthing(building->x, building->y, building->p,
                               colour == TBuildingLayer::previewOwnColour ? building->GetCol() : colour, 0, flag,
                               building->animFrame);
}

void TLayer::_markWay(const std::shared_ptr<TWay>& way, const std::shared_ptr<TBuilding>& building, int32_t flag) {
    if (!way) return;
    const auto start = way->Start.lock();
    const auto target = way->target.lock();
    if (start && start != building) markBuilding(start, TBuildingLayer::previewOwnColour, flag);
    if (target && target != building) markBuilding(target, TBuildingLayer::previewOwnColour, flag);
    // The route takes its target's colour; without a target it leads nowhere worth showing.
    if (target && RoadLayer) RoadLayer->_useWay(way->road, target->GetCol() & 0xFFFFFF);
}

void TLayer::_markBuildingWays(const std::shared_ptr<TBuilding>& building, int32_t flag) {
    if (!building) return;
    auto people = building->habitants.Items();
    if (people.empty()) people = building->workers.Items();
    for (const auto& h : people) {
        if (h && h->job && h->job->way) _markWay(h->job->way, building, flag);
    }
    markBuilding(building, TBuildingLayer::previewOwnColour, flag);
}

void TLayer::setGameSpeed(float s) {
    if (s != speed) Record("speed " + ScriptNumber(s));
    speed = s;
    if (timeSystem) timeSystem->setSpeedPerSecond(s * defaultHoursASecond);
}

std::string TLayer::ScriptNumber(float value) {
    char text[32];
    std::snprintf(text, sizeof text, "%.9g", double(value));
    return text;
}
