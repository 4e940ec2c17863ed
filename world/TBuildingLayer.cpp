#include "world/TBuildingLayer.h"

#include <algorithm>
#include <cmath>

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "settings/TConfig.h"
#include "world/TBuildingPlace.h"
#include "world/TGroundLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"
#include "world/TMiniMap.h"
#include "world/TOPPanel.h"
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
    const float tw = float(TConfig::tilewidth);
    const float th = float(TConfig::tileheight);
    treeImg = TImage::LoadAnim("data/gfx/natur/trees.png", int32_t(tw), int32_t(2 * th), 0, TTree::frameCount);
    if (treeImg) treeImg->SetHandle(0, float(treeImg->height) - th * 0.5f);
    static const char* const zones[] = {"Res", "Com", "Ind", "Def"};
    for (size_t i = 0; i < groundImg.size(); ++i) {
        groundImg[i] = LoadWithHandle(std::string("data/gfx/felder/") + zones[i] + ".png", 0, 0.5f, 0);
    }
    noRoadImg = LoadMidHandled("data/gfx/felder/no_road.png");
    unhappyImg = LoadMidHandled("data/gfx/felder/unhappy.png");
    noJobImg = LoadMidHandled("data/gfx/felder/nojob.png");
    static const char* const sites[] = {"build_res", "build_com", "build_ind", "build_def"};
    for (size_t i = 0; i < buildGroundImg.size(); ++i) {
        buildGroundImg[i] =
            LoadWithHandle(std::string("data/gfx/felder/building/") + sites[i] + ".png", 0, 1.0f, -th * 0.5f);
    }
    stageSegmentHeight = 8;
    stageFrameCount = 6;
    buildingProcessImg.clear();
    buildingTowerCraneImg.clear();
    for (const char* name : {"progress", "progress_blue", "progress_yellow", "progress_red", "progress_grey"}) {
        _addBuildingProcessImg(std::string("data/gfx/felder/building/") + name + ".png");
    }
    for (const char* name : {"crane", "crane_blue", "crane_yellow", "crane_green", "crane_gray"}) {
        _addBuildingTowerCraneImg(std::string("data/gfx/felder/building/") + name + ".png");
    }
    defaultWorkerImg = LoadMidHandled("data/gfx/felder/defaultworkerpic.png");
}

void TBuildingLayer::DePrepare() {
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
    } else if (!std::holds_alternative<std::monostate>(o)) {
        // Buildings are removed whole with all their footprint cells; that belongs to the
        // building code, which does not exist yet. Until then only the cell is emptied.
        _SetTile_(x, y, TObject{});
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
    // Buildings and their placeholders report their colour once buildings exist.
    return 0;
}

// --- money sums ----------------------------------------------------------------------------

// Buildings do not exist yet: nothing is charged or credited until they do.
float TBuildingLayer::getAlimony() const { return 0.0f; }

float TBuildingLayer::getHabitantTaxes() const { return 0.0f; }

// --- drawing -------------------------------------------------------------------------------

void TBuildingLayer::BeginDraw() { RenderInfluenceMiniMap(); }

void TBuildingLayer::RenderInfluenceMiniMap() {
    if (!layer || !layer->mm) return;
    // The influence layer that renders a selected mask comes later; until then the minimap's
    // influence layer stays hidden.
    layer->mm->setVisible(0, TMiniMap::Layer_Influence);
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
    const int32_t rows = tileH > 0 ? static_cast<int32_t>(2.0f * float(TLayer::viewHeight) / tileH) : 0;
    const float across = tileW > 0 ? float(TLayer::viewWidth) / tileW : 0.0f;
    const int32_t lines = rows + walkExtraLines;

    // The block cache is laid out at scale 1 around the camera; its origin on screen keeps the
    // centre of the view fixed while zooming and makes up for the tiles' half-height handle.
    const float cacheX = layer->GetX() + 0.5f * float(TLayer::viewWidth) * (1.0f - iso.ScaleX);
    const float cacheY = layer->GetY() + 0.5f * float(TLayer::viewHeight) * (1.0f - iso.ScaleY) -
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
    TOPPanel::Draw(cacheX, cacheY, 0);
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

    TOPPanel::Draw(cacheX, cacheY, 1);
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
    // Its influence tint comes from the influence layer, which does not exist yet: no overlay.
    if (layer->GroundLayer) layer->GroundLayer->Draw(g + groundLead, h - groundLead, nullptr, previewFlag);

    const TObject o = _GetTile(g, h, 0);
    TRoadLayer* roads = layer->RoadLayer.get();
    const std::shared_ptr<TRoad> road = roads ? roads->_GetTile(g, h) : nullptr;
    if (!std::holds_alternative<std::monostate>(o) || road) {
        float alpha = 1.0f;
        if (transparency) {
            float px = 0, py = 0;
            if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) {
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
        if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&o)) {
            if (!hidetrees && layer->_InView(sx, sy, 32.0f)) {
                SetAlpha(alpha);
                (*t)->Draw(sx, sy);
            }
        }
        // Buildings are drawn by the building code once it exists.
        if (road) {
            // The flat road lies in the ground cache; a bridge stands above the water and is drawn
            // here, then the traffic lights, the cars (which come with the traffic) and the part
            // of the bridge in front of the cars.
            SetAlpha(alpha);
            const int32_t tint = roads->showtrafficcolors;
            if (road->bridge) road->Draw(sx, sy, tint, 1, 0, 0, 1);
            road->DrawTrafficLights(sx, sy);
            road->DrawBridge(sx, sy, tint);
        }
        SetAlpha(1.0f);
    }
    if (_bm_a) _DrawPreviewAt(g, h, previewFlag);
}

void TBuildingLayer::_DrawPreviewAt(int32_t g, int32_t h, int32_t /*previewFlag*/) {
    for (size_t i = 0; i < _bm_x.size(); ++i) {
        if (_bm_x[i] != g || _bm_y[i] != h + groundLead) continue;
        float sx = 0, sy = 0;
        layer->iso->ToIso(float(g), float(h + groundLead), sx, sy);
        if (_bm_t[i]) {
            if (layer->_InView(sx, sy, 32.0f)) DrawImage(treeImg, sx, sy, _bm_frame[i]);
        }
        // Building previews are drawn by the build mode's picture drawing, which comes with
        // the buildings.
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
