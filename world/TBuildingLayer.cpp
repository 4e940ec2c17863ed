#include "world/TBuildingLayer.h"

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TPaths.h"
#include "platform/TPixmap.h"
#include "plugins/TPicturePlugin.h"
#include "settings/TConfig.h"
#include "world/TBuilding.h"
#include "world/TBuildingPlace.h"
#include "world/TCar.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TMiniMap.h"
#include "world/TOPPanel.h"
#include "world/TPosBuilding.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTree.h"

namespace {
std::shared_ptr<TImage> LoadWithHandle(const std::string& path, float handleX, float handleYFromHeight,
                                       float handleYOffset) {
    auto img = TImage::Load(path);
    if (img) img->SetHandle(handleX, float(img->height) * handleYFromHeight + handleYOffset);
    return img;
}

std::shared_ptr<TImage> LoadMidHandled(const std::string& path) {
    auto img = TImage::Load(path);
    if (img) img->MidHandle();
    return img;
}
}  // namespace

std::shared_ptr<TBuildingLayer> TBuildingLayer::_create(TLayer* layer) {
    auto bl = std::make_shared<TBuildingLayer>();
    bl->layer = layer;
    bl->Width = layer ? layer->Width : 0;
    bl->Height = layer ? layer->Height : 0;
    const size_t cells = size_t(std::max(bl->Width, 0)) * size_t(std::max(bl->Height, 0));
    bl->arr.assign(cells, TObject{});
    return bl;
}

void TBuildingLayer::Prepare() {
    DePrepare();
    for (const auto& plugin : TPlugin::PluginList()) {
        auto pp = std::dynamic_pointer_cast<TPicturePlugin>(plugin);
        if (!pp || !pp->picture[0]) continue;
        using S = TPicturePlugin::TStructure;
        switch (pp->structure) {
            case S::Award: _addAward(pp); break;
            case S::Commercial: _addComercialBuilding(pp); break;
            case S::Industrial: _addIndustrialBuilding(pp); break;
            case S::Public: _addPublicBuilding(pp); break;
            case S::Park: _addPublicPark(pp); break;
            case S::Residential: _addResidentalBuilding(pp); break;
            default: break;
        }
    }
    const float tw = float(TConfig::tilewidth);
    const float th = float(TConfig::tileheight);
    treeImg = TImage::LoadAnim(TPaths::Resolve("data/gfx/natur/trees.png"), int32_t(tw), int32_t(2 * th), 0,
                               TTree::frameCount);
    if (treeImg) treeImg->SetHandle(0, float(treeImg->height) - th * 0.5f);
    static const char* const zones[] = {"Res", "Com", "Ind", "Def"};
    for (size_t i = 0; i < groundImg.size(); ++i) {
        groundImg[i] = LoadWithHandle(TPaths::Resolve(std::string("data/gfx/felder/") + zones[i] + ".png"), 0, 0.5f, 0);
    }
    noRoadImg = LoadMidHandled(TPaths::Resolve("data/gfx/felder/no_road.png"));
    unhappyImg = LoadMidHandled(TPaths::Resolve("data/gfx/felder/unhappy.png"));
    noJobImg = LoadMidHandled(TPaths::Resolve("data/gfx/felder/nojob.png"));
    static const char* const sites[] = {"build_res", "build_com", "build_ind", "build_def"};
    for (size_t i = 0; i < buildGroundImg.size(); ++i) {
        buildGroundImg[i] = LoadWithHandle(
            TPaths::Resolve(std::string("data/gfx/felder/building/") + sites[i] + ".png"), 0, 1.0f, -th * 0.5f);
    }
    stageSegmentHeight = 8;
    stageFrameCount = 6;
    for (const char* name : {"progress", "progress_blue", "progress_yellow", "progress_red", "progress_grey"}) {
        _addBuildingProcessImg(TPaths::Resolve(std::string("data/gfx/felder/building/") + name + ".png"));
    }
    for (const char* name : {"crane", "crane_blue", "crane_yellow", "crane_green", "crane_gray"}) {
        _addBuildingTowerCraneImg(TPaths::Resolve(std::string("data/gfx/felder/building/") + name + ".png"));
    }
    defaultWorkerImg = LoadMidHandled(TPaths::Resolve("data/gfx/felder/defaultworkerpic.png"));
}

void TBuildingLayer::DePrepare() {
    arrAward.clear();
    arrComercialBuilding.clear();
    arrIndustrialBuilding.clear();
    arrPublicBuilding.clear();
    arrPublicPark.clear();
    arrResidentalBuilding.clear();
    treeImg.reset();
    groundImg = {};
    noRoadImg.reset();
    unhappyImg.reset();
    noJobImg.reset();
    buildGroundImg = {};
    buildingProcessImg.clear();
    buildingTowerCraneImg.clear();
    defaultWorkerImg.reset();
}

int32_t TBuildingLayer::_addBuildingProcessImg(const std::string& path) {
    const int32_t tw = TConfig::tilewidth;
    const int32_t th = TConfig::tileheight;
    const int32_t frameHeight = th + int32_t(stageSegmentHeight);
    auto img = TImage::LoadAnim(path, tw, frameHeight, 0, stageFrameCount);
    if (!img) return 0;
    img->SetHandle(0, float(frameHeight) - float(th) * 0.5f);
    buildingProcessImg.push_back(img);
    return 1;
}

int32_t TBuildingLayer::_addBuildingTowerCraneImg(const std::string& path) {
    const int32_t tw = TConfig::tilewidth;
    const int32_t th = TConfig::tileheight;
    auto whole = TImage::Load(path);
    if (!whole) return 0;
    const int32_t h = whole->height;
    auto img = TImage::LoadAnim(path, 2 * tw, h, 0, 4);
    if (!img) return 0;
    img->SetHandle(0, float(h - th));
    buildingTowerCraneImg.push_back(img);
    return 1;
}

// --- object grid ---------------------------------------------------------------------------

TBuildingLayer::TObject TBuildingLayer::_GetTile(int32_t x, int32_t y, int32_t resolvePlace) const {
    if (!_InField(x, y)) return {};
    const TObject& o = arr[_Index(x, y)];
    if (const auto* place = std::get_if<std::shared_ptr<TBuildingPlace>>(&o)) {
        if (resolvePlace && *place) {
            if (auto b = (*place)->b.lock()) return b;
        }
        return {};
    }
    return o;
}

bool TBuildingLayer::ImageCovers(const std::shared_ptr<TImage>& image, int32_t frame, float x, float y, float scaleX,
                                 float scaleY, float px, float py) {
    if (!image || frame < 0 || frame >= image->FrameCount() || scaleX <= 0 || scaleY <= 0) return false;
    const auto& pixmap = image->pixmaps[size_t(frame)];
    if (!pixmap) return false;
    // The drawing places the image's handle on (x, y) and scales about it.
    const float u = std::floor((px - x) / scaleX + image->handle_x);
    const float v = std::floor((py - y) / scaleY + image->handle_y);
    if (!(u >= 0 && v >= 0 && u < float(image->width) && v < float(image->height))) return false;
    return (pixmap->ReadPixel(int32_t(u), int32_t(v)) >> 24) >= 128;
}

TBuildingLayer::TObject TBuildingLayer::_GetPictureAt(float px, float py) const {
    if (!layer || !layer->iso) return {};
    const TISO& iso = *layer->iso;
    // The map walk draws its lines down the screen (g - h growing) and each line from the left
    // (g growing): of the pictures under the point, the one with the greatest pair is in front.
    TObject front;
    std::pair<int32_t, int32_t> frontOrder{INT32_MIN, INT32_MIN};
    const auto inFront = [&](int32_t g, int32_t h) { return std::pair{g - h, g} > frontOrder; };
    for (const auto& b : arrBuilding.Items()) {
        if (!b->p || !inFront(b->x, b->y)) continue;
        if (std::find(hideStructureTyp.begin(), hideStructureTyp.end(), b->p->structure) != hideStructureTyp.end())
            continue;
        float sx = 0, sy = 0;
        iso.ToIso(float(b->x), float(b->y), sx, sy);
        if (!b->PictureCovers(sx, sy, iso.ScaleX, iso.ScaleY, px, py)) continue;
        front = b;
        frontOrder = {b->x - b->y, b->x};
    }
    if (!hidetrees && treeImg) {
        float mx = 0, my = 0;
        iso.FromIso(px, py, mx, my);
        if (!(std::fabs(mx) < 1e6f) || !(std::fabs(my) < 1e6f)) return front;
        // A tree stands on its tile and reaches up the screen by its picture's height, which is
        // two map rows (g - h) per tile height.
        const int32_t reach = 2 + 2 * treeImg->height / std::max(TConfig::tileheight, 1);
        const int32_t cg = int32_t(std::floor(mx)), ch = int32_t(std::floor(my));
        for (int32_t g = cg - reach; g <= cg + reach; ++g) {
            for (int32_t h = ch - reach; h <= ch + reach; ++h) {
                const auto tree = _GetTree(g, h);
                if (!tree || !inFront(g, h)) continue;
                float sx = 0, sy = 0;
                iso.ToIso(float(g), float(h), sx, sy);
                if (!ImageCovers(treeImg, tree->Frame, sx, sy, iso.ScaleX, iso.ScaleY, px, py)) continue;
                front = tree;
                frontOrder = {g - h, g};
            }
        }
    }
    return front;
}

std::shared_ptr<TTree> TBuildingLayer::_GetTree(int32_t x, int32_t y) const {
    if (!_InField(x, y)) return nullptr;
    const auto* t = std::get_if<std::shared_ptr<TTree>>(&arr[_Index(x, y)]);
    return t ? *t : nullptr;
}

void TBuildingLayer::_SetTile_(int32_t x, int32_t y, const TObject& object) {
    if (!_InField(x, y)) return;
    arr[_Index(x, y)] = object;
    if (layer) layer->_RedrawMM(x, y);
}

void TBuildingLayer::_PlantTree(int32_t x, int32_t y, int32_t frame) {
    if (!_InField(x, y)) return;
    _SetTile_(x, y, TTree::Create(x, y, frame, layer ? layer->random.get() : nullptr));
}

void TBuildingLayer::_Clear(int32_t x, int32_t y) {
    if (!_InField(x, y)) return;
    const TObject& o = arr[_Index(x, y)];
    if (std::holds_alternative<std::shared_ptr<TTree>>(o)) {
        _SetTile_(x, y, TObject{});
        return;
    }
    const TObject resolved = _GetTile(x, y, 1);
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&resolved); b && *b) {
        // A building goes whole, whichever of its cells was asked for.
        _removebuildplaces(*b);
        _delBuild(*b);
    } else if (!std::holds_alternative<std::monostate>(o)) {
        _SetTile_(x, y, TObject{});  // a placeholder whose building is gone
    }
}

void TBuildingLayer::_delTree(const std::shared_ptr<TTree>& tree) {
    if (!tree || !_InField(tree->x, tree->y)) return;
    _SetTile_(tree->x, tree->y, TObject{});
}

int32_t TBuildingLayer::_OnMap(int32_t x, int32_t y, int32_t width, int32_t depth) const {
    return (x >= 0 && y >= 0 && int64_t(x) + width <= Width && int64_t(y) + depth <= Height) ? 1 : 0;
}

int32_t TBuildingLayer::_IsFree(int32_t x, int32_t y, int32_t width, int32_t depth, int32_t treesBlock) const {
    if (!_OnMap(x, y, width, depth)) return 0;
    for (int32_t i = x; i < x + width; ++i) {
        for (int32_t j = y; j < y + depth; ++j) {
            const TObject& o = arr[_Index(i, j)];
            if (std::holds_alternative<std::monostate>(o)) continue;
            if (std::holds_alternative<std::shared_ptr<TTree>>(o) && !treesBlock) continue;
            return 0;
        }
    }
    return 1;
}

int32_t TBuildingLayer::_GetCol(int32_t x, int32_t y) const {
    if (!_InField(x, y)) return 0;
    if (auto t = _GetTree(x, y)) return t->GetCol();
    const TObject o = _GetTile(x, y, 1);
    if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) return *b ? (*b)->GetCol() : 0;
    return 0;
}

// --- buildings -----------------------------------------------------------------------------

std::shared_ptr<TBuilding> TBuildingLayer::_SetTile(int32_t x, int32_t y,
                                                    const std::shared_ptr<TPicturePlugin>& plugin) {
    if (!plugin || !_PicturePluginOnMap(plugin, x, y)) return nullptr;
    auto b = TBuilding::Create(plugin, x, y, this);
    if (!b) return nullptr;
    _SetTile_(x, y, b);
    for (const auto& place : b->places) _SetTile_(place->X, place->Y, place);
    _addbuild(b);
    return b;
}

void TBuildingLayer::_addbuild(const std::shared_ptr<TBuilding>& b) {
    if (b) arrBuilding.Append(b);
}

void TBuildingLayer::_delBuild(const std::shared_ptr<TBuilding>& b) {
    if (!b) return;
    b->Destroy();
    _removebuildplaces(b);
    _removecars(b, 1);
    arrBuilding.Remove(b);
}

void TBuildingLayer::_Revive(const std::shared_ptr<TBuilding>& b, size_t index) {
    if (!b || b->IsValid() || !b->p || !_PicturePluginOnMap(b->p, b->x, b->y)) return;
    // Only onto its own tiles as they were left: nothing else may have come there since.
    for (int32_t i = b->x; i < b->x + b->SizeX(); ++i) {
        for (int32_t j = b->y; j < b->y + b->SizeY(); ++j) {
            if (!std::holds_alternative<std::monostate>(arr[_Index(i, j)]) || (layer && !layer->IsFree(i, j))) return;
        }
    }
    b->alive = 1;
    _SetTile_(b->x, b->y, b);
    for (const auto& place : b->places) _SetTile_(place->X, place->Y, place);
    arrBuilding.Insert(index, b);
}

void TBuildingLayer::_removebuildplaces(const std::shared_ptr<TBuilding>& b) {
    if (!b) return;
    _SetTile_(b->x, b->y, TObject{});
    for (const auto& place : b->places) _SetTile_(place->X, place->Y, TObject{});
}

int32_t TBuildingLayer::_PicturePluginOnMap(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) const {
    return plugin ? _OnMap(x, y, plugin->SizeX[0], plugin->SizeY[0]) : 0;
}

int32_t TBuildingLayer::_PicturePluginIsFree(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                             int32_t treesBlock) const {
    return plugin ? _IsFree(x, y, plugin->SizeX[0], plugin->SizeY[0], treesBlock) : 0;
}

void TBuildingLayer::Destroy() {
    // A car and the road tile it stands on hold each other: the car leaves its slots.
    for (const auto& car : arrCar.Items()) car->remove();
    arrCar.Clear();
    for (const auto& b : arrBuilding.Items()) b->car.Clear();
}

// --- daily work ----------------------------------------------------------------------------

void TBuildingLayer::UpdateBuildings(int32_t day, float dayPart) {
    for (const auto& b : arrBuilding.Items()) {
        if (b->lastUpdateDay < day && (day - b->lastUpdateDay > 1 || dayPart > b->updatePart)) {
            _UpdateBuild(b, day);
            b->lastUpdateDay = day;
        }
    }
}

void TBuildingLayer::_UpdateBuild(const std::shared_ptr<TBuilding>& b, int32_t day) {
    _CheckBuildingForRoad(b);
    const bool building = b->inBuildMode != 0;
    b->Update(day);
    if (building && !b->inBuildMode && layer) layer->finishedFunc(b);
    _UpdateCars(b);
}

void TBuildingLayer::_CheckBuildingForRoad(const std::shared_ptr<TBuilding>& b) {
    b->haveroad = _BuildingHasRoad(b);
    b->noneededroad = (b->haveroad || (b->p && b->p->noroadneeded)) ? 0 : 1;
}

int32_t TBuildingLayer::_BuildingHasRoad(const std::shared_ptr<TBuilding>& b) const {
    if (!b || !layer || !layer->RoadLayer) return 0;
    return layer->RoadLayer->_RoadEnclosed(b->x, b->y, b->SizeX(), b->SizeY(), 0).empty() ? 0 : 1;
}

std::vector<std::shared_ptr<TBuilding>> TBuildingLayer::_getPossibleWorkBuildings(float x, float y,
                                                                                  int32_t level) const {
    const float radius = layer && layer->RoadLayer ? layer->RoadLayer->way_radius : 0.0f;
    std::vector<std::shared_ptr<TPosBuilding>> sorted;
    for (const auto& s : arrBuilding.Items()) {
        if (s->inBuildMode != 0 || s->noneededroad != 0 || !s->p) continue;
        if (level != -1 && s->p->techlevel != level) continue;
        if (s->maxWorkers <= 0 || int64_t(s->workers.Count()) >= int64_t(s->maxWorkers)) continue;
        // The candidate's origin tile, in whole tiles toward zero.
        const int32_t dx = static_cast<int32_t>(x - float(s->x));
        const int32_t dy = static_cast<int32_t>(y - float(s->y));
        const float d = std::sqrt(float(dx * dx + dy * dy));
        if (d <= radius) TPosBuilding::AddSortedToList(TPosBuilding::Create(s, d), sorted);
    }
    std::vector<std::shared_ptr<TBuilding>> out;
    out.reserve(sorted.size());
    for (const auto& e : sorted) out.push_back(e->building);
    return out;
}

void TBuildingLayer::_callRoadDeleted(const std::shared_ptr<TRoad>& road) {
    for (const auto& b : arrBuilding.Items()) b->callRoadDeleted(road);
}

// --- money sums ----------------------------------------------------------------------------

float TBuildingLayer::getAlimony() const {
    float sum = 0.0f;
    for (const auto& b : arrBuilding.Items()) {
        if (b->inBuildMode == 0 && b->p) sum += float(b->p->alimony);
    }
    return sum;
}

float TBuildingLayer::getHabitantTaxes() const {
    float sum = 0.0f;
    for (const auto& b : arrBuilding.Items()) {
        if (!b->habitants.Empty() || !b->workers.Empty()) sum += b->calcTaxMoney();
    }
    return sum;
}

// --- drawing -------------------------------------------------------------------------------

void TBuildingLayer::BeginDraw() {
    RenderInfluenceMiniMap();
    if (layer && layer->InfluenceLayer) layer->InfluenceLayer->startNewGroundDrawing();
}

void TBuildingLayer::RenderInfluenceMiniMap() {
    if (!layer || !layer->mm) return;
    const auto mask = layer->GroundLayer ? layer->GroundLayer->infMask : nullptr;
    if (mask && layer->InfluenceLayer) {
        layer->InfluenceLayer->renderMiniMap(*layer->mm, mask, TMiniMap::Layer_Influence);
        layer->mm->SetBlendMode(LIGHTBLEND, TMiniMap::Layer_Influence);
        layer->mm->setVisible(1, TMiniMap::Layer_Influence);
    } else {
        layer->mm->setVisible(0, TMiniMap::Layer_Influence);
    }
}

void TBuildingLayer::drawBuildingGround(int32_t kindFrame, float x, float y, int32_t width, int32_t depth) {
    if (kindFrame < 0 || size_t(kindFrame) >= groundImg.size()) return;
    const auto& img = groundImg[size_t(kindFrame)];
    float sx = 1, sy = 1;
    GetScale(sx, sy);
    const float w = float(TConfig::tilewidth), h = float(TConfig::tileheight);
    for (int32_t i = 0; i < depth; ++i) {
        for (int32_t j = 0; j < width; ++j) {
            DrawImage(img, x + float(j) * 0.5f * w * sx + float(i) * 0.5f * w * sy,
                      y + sx * float(j) * 0.5f * h - sy * float(i) * 0.5f * h, 0);
        }
    }
}

void TBuildingLayer::_drawBuildingGround(float x, float y, int32_t width, int32_t depth, int32_t kindFrame) const {
    for (int32_t c = width - 1; c >= 0; --c) {
        for (int32_t i = 0; i < depth; ++i) {
            float px = x, py = y;
            _getDrawPos(px, py, c, i);
            _drawBuildingGroundTile(px, py, kindFrame);
        }
    }
}

void TBuildingLayer::_drawBuildingGroundTile(float x, float y, int32_t kindFrame) const {
    if (kindFrame < 0 || size_t(kindFrame) >= buildGroundImg.size()) return;
    DrawImage(buildGroundImg[size_t(kindFrame)], x, y, 0);
}

void TBuildingLayer::_drawBuildingStage(float x, float y, float height, int32_t kind) const {
    const float sy = layer && layer->iso ? layer->iso->ScaleY : 1.0f;
    for (float e = std::max(height, 0.0f); e > 0.0f; e -= 1.0f) {
        _drawBuildingStageSegment(x, y, e, kind);
        y -= stageSegmentHeight * sy;
    }
}

void TBuildingLayer::_drawBuildingStageSegment(float x, float y, float height, int32_t kind) const {
    if (kind < 0 || size_t(kind) >= buildingProcessImg.size()) return;
    // A whole segment shows the last frame; a partial one an earlier, lower frame.
    const int32_t frame = static_cast<int32_t>(std::min(height, 1.0f) * float(stageFrameCount) - 1.0f);
    DrawImage(buildingProcessImg[size_t(kind)], x, y, frame);
}

void TBuildingLayer::_DrawTowerCrane(float x, float y, int32_t frame, float height, int32_t kind) const {
    _drawTowerCraneTower(x, y, frame, height, kind);
    _DrawTowerCraneTop(x, y, frame, height, kind);
}

void TBuildingLayer::_drawTowerCraneTower(float x, float y, int32_t frame, float height, int32_t kind) const {
    const float sy = layer && layer->iso ? layer->iso->ScaleY : 1.0f;
    for (int32_t t = static_cast<int32_t>(height); t >= 0; --t) {
        _drawTowerCraneSegment(x, y, frame, kind);
        y -= stageSegmentHeight * sy;
    }
}

void TBuildingLayer::_DrawTowerCraneTop(float x, float y, int32_t frame, float height, int32_t kind) const {
    if (kind < 0 || size_t(kind) >= buildingTowerCraneImg.size()) return;
    const float sy = layer && layer->iso ? layer->iso->ScaleY : 1.0f;
    DrawImage(buildingTowerCraneImg[size_t(kind)], x, y - height * stageSegmentHeight * sy, frame + 2);
}

void TBuildingLayer::_drawTowerCraneSegment(float x, float y, int32_t frame, int32_t kind) const {
    if (kind < 0 || size_t(kind) >= buildingTowerCraneImg.size()) return;
    DrawImage(buildingTowerCraneImg[size_t(kind)], x, y, frame);
}

void TBuildingLayer::_drawYNPicture(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y, int32_t colourCode,
                                    int32_t faded, int32_t animFrame) const {
    if (!plugin) return;
    int32_t r0 = 255, g0 = 255, b0 = 255;
    GetColor(r0, g0, b0);
    const float a0 = GetAlpha();
    SetAlpha(faded == 1 ? 0.2f : 1.0f);
    switch (colourCode) {
        case previewPlaceable: SetColor(0, 255, 0); break;
        case previewRefused: SetColor(255, 0, 0); break;
        case previewBlue: SetColor(0, 0, 255); break;
        case previewSelected: SetColor(255, 255, 255); break;
        default: SetColor((colourCode >> 16) & 0xFF, (colourCode >> 8) & 0xFF, colourCode & 0xFF); break;
    }
    _drawColoredImage(plugin->picture[0], x, y, animFrame);
    SetBlend(ALPHABLEND);
    SetColor(r0, g0, b0);
    SetAlpha(a0);
}

void TBuildingLayer::_drawColoredImage(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame) {
    const float a = GetAlpha();
    int32_t r = 255, g = 255, b = 255;
    GetColor(r, g, b);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(a);
    DrawImage(image, x, y, frame);
    SetBlend(ALPHABLEND);
    SetColor(r, g, b);
    SetAlpha(0.5f * a);
    DrawImage(image, x, y, frame);
    SetBlend(LIGHTBLEND);
    SetColor(r, g, b);
    SetAlpha(a);
    DrawImage(image, x, y, frame);
}

void TBuildingLayer::_drawOutline(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame,
                                  float alpha) const {
    if (!image) return;
    int32_t r = 255, g = 255, b = 255;
    GetColor(r, g, b);
    const float a = GetAlpha();
    // The picture's shape in black, a screen pixel (more when zoomed in) to each side.
    const float d = std::max(1.0f, std::round(layer && layer->iso ? layer->iso->ScaleX : 1.0f));
    SetBlend(ALPHABLEND);
    SetColor(0, 0, 0);
    SetAlpha(alpha);
    for (const auto& [dx, dy] : {std::pair{-d, 0.0f}, std::pair{d, 0.0f}, std::pair{0.0f, -d}, std::pair{0.0f, d}})
        DrawImage(image, x + dx, y + dy, frame);
    SetColor(r, g, b);
    SetAlpha(a);
}

void TBuildingLayer::_getDrawPos(float& x, float& y, int32_t i, int32_t j) const {
    const float sx = layer && layer->iso ? layer->iso->ScaleX : 1.0f;
    const float sy = layer && layer->iso ? layer->iso->ScaleY : 1.0f;
    x += float(i + j) * 0.5f * float(TConfig::tilewidth) * sx;
    y += float(j - i) * 0.5f * float(TConfig::tileheight) * sy;
}

int32_t TBuildingLayer::_addbmthing(int32_t x, int32_t y, const std::shared_ptr<TPicturePlugin>& plugin,
                                    int32_t colourCode, int32_t isTree, int32_t ignVirtual, int32_t animFrame) {
    for (size_t i = 0; i < _bm_x.size(); ++i) {
        if (_bm_x[i] == x && _bm_y[i] == y) return 0;
    }
    _bm_a = 1;
    _bm_x.push_back(x);
    _bm_y.push_back(y);
    _bm_p.push_back(plugin);
    _bm_t.push_back(isTree);
    _bm_frame.push_back(colourCode);
    _bm_ignVirtual.push_back(ignVirtual);
    _bm_animFrame.push_back(animFrame);
    return 1;
}

template <typename Visit>
void TBuildingLayer::_WalkLine(int32_t c, int32_t r, float across, Visit visit) const {
    int32_t g = c;
    int32_t h = r;
    const float end = float(c) + across + float(walkAcrossMargin);
    while (float(g) < end) {
        ++g;
        ++h;
        visit(g, h);
    }
}

void TBuildingLayer::Draw(int32_t previewFlag) {
    BeginDraw();
    if (!layer || !layer->iso) {
        EndDraw();
        return;
    }
    const TISO& iso = *layer->iso;
    float mx = 0, my = 0;
    iso.FromIso(0, 0, mx, my);
    const int32_t sx0 = static_cast<int32_t>(mx);
    const int32_t sy0 = static_cast<int32_t>(my);
    const float tileH = iso.Height * iso.ScaleY;
    const float tileW = iso.width * iso.ScaleX;
    const int32_t rows = tileH > 0 ? static_cast<int32_t>(2.0f * float(layer->viewHeight) / tileH) : 0;
    const float across = tileW > 0 ? float(layer->viewWidth) / tileW : 0.0f;
    const int32_t lines = rows + walkExtraLines;

    // The block cache is laid out at scale 1 around the camera; its origin on screen keeps the
    // centre of the view fixed while zooming and makes up for the tiles' half-height handle.
    const float cacheX = layer->GetX() + 0.5f * float(layer->viewWidth) * (1.0f - iso.ScaleX);
    const float cacheY = layer->GetY() + 0.5f * float(layer->viewHeight) * (1.0f - iso.ScaleY) -
                         0.5f * iso.ScaleY * float(TConfig::tileheight);

    // The alternation of steps runs on from the black pass into the object pass.
    int32_t step = 0;
    auto advance = [&step](int32_t& c, int32_t& r) {
        if (step == 0) {
            c += 1;
        } else {
            r -= 1;
        }
        step = 1 - step;
    };

    TGroundLayer* ground = layer->GroundLayer.get();
    if (ground) ground->cache.Draw(cacheX, cacheY, 0);
    int32_t c = sx0 - walkColumnMargin;
    int32_t r = sy0 + walkRowOffset;
    if (ground) {
        for (int32_t line = 0; line < lines; ++line) {
            _WalkLine(c, r, across, [ground](int32_t g, int32_t h) { ground->drawBlackTile(g, h, 0); });
            advance(c, r);
        }
    } else {
        for (int32_t line = 0; line < lines; ++line) advance(c, r);
    }

    if (ground) {
        ground->UpdateTint();
        ground->cache.Draw(cacheX, cacheY, 1);
    }
    c = sx0 - walkColumnMargin;
    r = sy0 + walkRowOffset;
    for (int32_t line = 0; line < lines; ++line) {
        _WalkLine(c, r, across, [this, previewFlag](int32_t g, int32_t h) { _DrawCell(g, h, previewFlag); });
        advance(c, r);
    }
    EndDraw();
}

void TBuildingLayer::_DrawCell(int32_t g, int32_t h, int32_t previewFlag) {
    // The ground ahead of the objects, so that ground always lies under what is drawn after it.
    if (layer->GroundLayer) layer->GroundLayer->Draw(g + groundLead, h - groundLead, previewFlag);

    const TObject o = _GetTile(g, h, 0);
    TRoadLayer* roads = layer->RoadLayer.get();
    const std::shared_ptr<TRoad> road = roads ? roads->_GetTile(g, h) : nullptr;
    if (!std::holds_alternative<std::monostate>(o) || road) {
        float alpha = 1.0f;
        if (transparency) {
            float px = 0, py = 0;
            if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) {
                px = (*b)->mx;
                py = (*b)->my;
            } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) {
                px = float((*t)->x);
                py = float((*t)->y);
            } else if (road) {
                px = float(road->x);
                py = float(road->y);
            }
            const float d = std::sqrt((px - tx) * (px - tx) + (py - ty) * (py - ty));
            alpha = 1.0f - std::min(2.0f / (d + 1.0f), 0.75f);
        }
        float sx = 0, sy = 0;
        layer->iso->ToIso(float(g), float(h), sx, sy);
        if (const auto* b = std::get_if<std::shared_ptr<TBuilding>>(&o)) {
            const TBuilding& building = **b;
            const bool hidden = building.p && std::find(hideStructureTyp.begin(), hideStructureTyp.end(),
                                                        building.p->structure) != hideStructureTyp.end();
            // A hidden kind shows only faintly, over its zone ground so its footprint stays clear.
            SetAlpha(hidden ? 0.1f : alpha);
            (*b)->Draw(sx, sy, uint8_t(hidden ? 1 : transparency), layer->iso->ScaleX, layer->iso->ScaleY,
                       _bm_hidesmoke ? 0 : 1, _bm_windx);
        } else if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) {
            if (!hidetrees && layer->_InView(sx, sy, 32.0f)) {
                SetAlpha(alpha);
                (*t)->Draw(sx, sy);
            }
        }
        if (road) {
            // The flat road lies in the ground cache; a bridge stands above the water and is drawn
            // here, then the traffic lights, the cars and the part of the bridge in front of them.
            SetAlpha(alpha);
            const int32_t tint = roads->showtrafficcolors;
            if (road->bridge) road->Draw(sx, sy, tint, 1, 0, 0, 1);
            road->DrawTrafficLights(sx, sy);
            if (!hidecars) road->DrawCars(sx, sy, layer->iso->ScaleX, layer->iso->ScaleY);
            road->DrawBridge(sx, sy, tint);
        }
        SetAlpha(1.0f);
    }
    if (_bm_a) _DrawPreviewAt(g, h, previewFlag);
}

void TBuildingLayer::_DrawPreviewAt(int32_t g, int32_t h, int32_t previewFlag) {
    for (size_t i = 0; i < _bm_x.size(); ++i) {
        if (_bm_x[i] != g || _bm_y[i] != h + groundLead) continue;
        float sx = 0, sy = 0;
        layer->iso->ToIso(float(g), float(h + groundLead), sx, sy);
        if (_bm_t[i]) {
            if (layer->_InView(sx, sy, 32.0f)) DrawImage(treeImg, sx, sy, _bm_frame[i]);
        } else {
            const int32_t faded = (previewFlag && !_bm_ignVirtual[i]) ? 1 : 0;
            // Over the influence colours of the ground a green or red building would melt into
            // the tint: a dark outline keeps the placed building's shape readable.
            const bool tinted = layer->GroundLayer && layer->GroundLayer->infMask;
            if (tinted && !_bm_ignVirtual[i] && _bm_p[i]) {
                _drawOutline(_bm_p[i]->picture[0], sx, sy, _bm_animFrame[i], faded ? 0.2f : 1.0f);
            }
            _drawYNPicture(_bm_p[i], sx, sy, _bm_frame[i], faded, _bm_animFrame[i]);
        }
        return;
    }
}

void TBuildingLayer::EndDraw() {
    SetAlpha(1.0f);
    _bm_a = 0;
    _bm_x.clear();
    _bm_y.clear();
    _bm_p.clear();
    _bm_t.clear();
    _bm_frame.clear();
    _bm_ignVirtual.clear();
    _bm_animFrame.clear();
    transparency = 0;
    hidecars = 0;
    _bm_hidesmoke = 0;
    hideStructureTyp.clear();
    hidetrees = 0;
    if (layer && layer->GroundLayer) layer->GroundLayer->EndDraw();
    if (layer && layer->RoadLayer) layer->RoadLayer->EndDraw();
}
