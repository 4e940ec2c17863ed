#include "world/TInfluenceLayer.h"

#include <algorithm>
#include <cmath>
#include <span>

#include "persistence/TDataFile.h"
#include "platform/TCatalogue.h"
#include "platform/TClock.h"
#include "plugins/BColor.h"
#include "plugins/TInfluenceContainer.h"
#include "plugins/TInfluenceMask.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TLayer.h"
#include "world/TMiniMap.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TWorldFile.h"

namespace {
constexpr size_t touchedByte = 15;
}

std::shared_ptr<TInfluenceLayer> TInfluenceLayer::_create(TLayer* layer) {
    auto il = std::make_shared<TInfluenceLayer>();
    il->layer = layer;
    il->Clear();
    return il;
}

std::vector<TInfluenceLayer::TCell> TInfluenceLayer::_generateEmptyArray() const {
    const int32_t w = layer ? std::max(layer->Width, 0) : 0;
    const int32_t h = layer ? std::max(layer->Height, 0) : 0;
    return std::vector<TCell>(size_t(w) * size_t(h), TCell{});
}

void TInfluenceLayer::Clear() {
    arr = _generateEmptyArray();
    appliedSpreads.clear();
    Width = layer ? std::max(layer->Width, 0) : 0;
    Height = layer ? std::max(layer->Height, 0) : 0;
    ++generation;
}

void TInfluenceLayer::reCalc() {
    if (!rebuilding) {
        const int32_t now = Millisecs();
        // Unsigned difference, so the wrap of the 32-bit clock still counts as time passing.
        const int32_t elapsed = static_cast<int32_t>(static_cast<uint32_t>(now) - static_cast<uint32_t>(lastCheck));
        if (elapsed < waitTime) return;
        _startRebuild(now);
    }
    _continueRebuild();
}

void TInfluenceLayer::_startRebuild(int32_t now) {
    pendingSpreads.clear();
    if (layer && layer->BuildingLayer) {
        for (const auto& b : layer->BuildingLayer->arrBuilding.Items()) {
            if (b) _collectBuilding(*b, pendingSpreads);
        }
    }
    if (layer && layer->RoadLayer) {
        for (const auto& r : layer->RoadLayer->arrRoad) {
            if (r) _collectRoad(*r, pendingSpreads);
        }
    }
    pendingNext = 0;
    pendingArr = _generateEmptyArray();
    rebuilding = true;
    lastCheck = now;
}

void TInfluenceLayer::_continueRebuild() {
    // The grid may belong to a world of another size by now: start from the current one.
    if (pendingArr.size() != size_t(Width) * size_t(Height)) pendingArr = _generateEmptyArray();
    int64_t visited = 0;
    while (pendingNext < pendingSpreads.size() && visited < rebuildTilesPerCall) {
        visited += _spread(pendingArr, pendingSpreads[pendingNext++]);
    }
    if (pendingNext < pendingSpreads.size()) return;
    arr.swap(pendingArr);
    pendingArr.clear();
    appliedSpreads.swap(pendingSpreads);
    pendingSpreads.clear();
    rebuilding = false;
    bRendered = 0;
    ++generation;
}

void TInfluenceLayer::_collectBuilding(const TBuilding& building, std::vector<TSpread>& out) {
    // Only finished buildings with their road spread anything.
    if (building.work != 1 || !building.p || !building.p->influences) return;
    const TInfluenceContainer& inf = *building.p->influences;
    const float cx = float(building.x) + float(building.p->SizeX[0] - 1) * 0.5f;
    const float cy = float(building.y) + float(building.p->SizeY[0] - 1) * 0.5f;
    for (int32_t kind = 0; kind < countInfluences; ++kind) {
        const int32_t value = inf.influenceValue[size_t(kind)];
        if (value > 0) out.push_back({cx, cy, kind, value, float(inf.influenceRadius[size_t(kind)])});
    }
}

void TInfluenceLayer::_collectRoad(const TRoad& road, std::vector<TSpread>& out) {
    if (!road.s) return;
    const TStreet& s = *road.s;
    const float t = road.traffic;
    const float x = float(road.x), y = float(road.y);
    const int32_t air = static_cast<int32_t>(t * float(s.airPollutionValue));
    const int32_t noise = static_cast<int32_t>(t * float(s.noiseValue));
    if (air > 0) out.push_back({x, y, infAirPollution, air, float(s.airPollutionRadius)});
    if (noise > 0) out.push_back({x, y, infNoise, noise, float(s.noiseRadius)});
}

void TInfluenceLayer::useBuilding(const TBuilding& building) {
    std::vector<TSpread> spreads;
    _collectBuilding(building, spreads);
    for (const TSpread& s : spreads) _spread(arr, s);
    ++generation;
}

void TInfluenceLayer::useRoad(const TRoad& road) {
    std::vector<TSpread> spreads;
    _collectRoad(road, spreads);
    for (const TSpread& s : spreads) _spread(arr, s);
    ++generation;
}

void TInfluenceLayer::addValue(float x, float y, int32_t kind, int32_t value, float radius) {
    _spread(arr, {x, y, kind, value, radius});
    ++generation;
}

int64_t TInfluenceLayer::_spread(std::vector<TCell>& grid, const TSpread& s) const {
    // A value of 0 or less can never raise a stored byte; a NaN radius reaches nothing.
    if (!_infExist(s.kind) || s.value <= 0 || !(s.radius >= 0.0f) || grid.size() != size_t(Width) * size_t(Height) ||
        grid.empty())
        return 0;
    // The bounding square of the circle with one tile of margin, clipped to the map: tiles off
    // the map are skipped anyway.
    // The bounds are clamped as floats first: a centre read from a damaged file may lie far
    // beyond what an int holds.
    if (!std::isfinite(s.x) || !std::isfinite(s.y)) return 0;
    const auto tile = [](float v, int32_t last) {
        return static_cast<int32_t>(std::clamp(v, -1.0f, float(last) + 1.0f));
    };
    const int32_t y0 = std::max(tile(s.y - s.radius - 1.0f, Height - 1), 0);
    const int32_t y1 = std::min(tile(s.y + s.radius + 1.0f, Height - 1), Height - 1);
    const int32_t x0 = std::max(tile(s.x - s.radius - 1.0f, Width - 1), 0);
    const int32_t x1 = std::min(tile(s.x + s.radius + 1.0f, Width - 1), Width - 1);
    // Busy roads can exceed a byte: the strongest nuisance stays the strongest.
    const uint8_t value = static_cast<uint8_t>(std::min(s.value, 255));
    const size_t kind = size_t(s.kind);
    int64_t visited = 0;
    for (int32_t ty = y0; ty <= y1; ++ty) {
        const float dy = float(ty) - s.y;
        TCell* row = grid.data() + size_t(ty) * size_t(Width);
        for (int32_t tx = x0; tx <= x1; ++tx) {
            const float dx = float(tx) - s.x;
            if (std::sqrt(dy * dy + dx * dx) > s.radius) continue;
            TCell& cell = row[tx];
            if (cell[kind] < value) cell[kind] = value;
            cell[touchedByte] = 1;
        }
        visited += x1 - x0 + 1;
    }
    return visited;
}

void TInfluenceLayer::_addToField(int32_t x, int32_t y, int32_t kind, int32_t value) {
    if (!_infExist(kind) || !layer || !layer->_InField(x, y)) return;
    if (x >= Width || y >= Height) return;  // the grid is older than a resized world
    if (arr[size_t(y) * size_t(Width) + size_t(x)][size_t(kind)] < value) _setValue(x, y, kind, value);
}

void TInfluenceLayer::_setValue(int32_t x, int32_t y, int32_t kind, int32_t value) {
    if (!_infExist(kind) || x < 0 || y < 0 || x >= Width || y >= Height) return;
    TCell& cell = arr[size_t(y) * size_t(Width) + size_t(x)];
    // Busy roads can exceed a byte: the strongest nuisance stays the strongest.
    cell[size_t(kind)] = static_cast<uint8_t>(std::clamp(value, 0, 255));
    cell[touchedByte] = 1;
    ++generation;
}

const char* TInfluenceLayer::KindName(int32_t kind) {
    static constexpr const char* names[countInfluences] = {TrNoop("Wasser"),
                                                           TrNoop("Energie"),
                                                           TrNoop("Sport"),
                                                           TrNoop("Medizin"),
                                                           TrNoop("Religion"),
                                                           TrNoop("Polizei"),
                                                           TrNoop("Feuerwehr"),
                                                           TrNoop("Kultur"),
                                                           TrNoop("Freizeit"),
                                                           TrNoop("Lernmöglichkeiten"),
                                                           TrNoop("Radio"),
                                                           TrNoop("Fernsehen"),
                                                           TrNoop("Luftverschmutzung"),
                                                           TrNoop("Wasserverschmutzung"),
                                                           TrNoop("Lärm")};
    return _infExist(kind) ? names[kind] : "";
}

int32_t TInfluenceLayer::getValue(int32_t x, int32_t y, int32_t kind) const {
    if (!_infExist(kind) || x < 0 || y < 0 || x >= Width || y >= Height) return -1;
    return arr[size_t(y) * size_t(Width) + size_t(x)][size_t(kind)];
}

float TInfluenceLayer::GetInfluenceMaskState(int32_t x, int32_t y, const std::shared_ptr<TInfluenceMask>& mask) const {
    if (!mask || x < 0 || y < 0 || x >= Width || y >= Height) return 0.0f;
    const TCell& cell = arr[size_t(y) * size_t(Width) + size_t(x)];
    return mask->GetState(std::span<const uint8_t>(cell.data(), cell.size()));
}

std::shared_ptr<BColor> TInfluenceLayer::GetGroundColor(int32_t x, int32_t y,
                                                        const std::shared_ptr<TInfluenceMask>& mask) {
    if (!mask || x < 0 || y < 0 || x >= Width || y >= Height) return nullptr;
    if (arr[size_t(y) * size_t(Width) + size_t(x)][touchedByte] == 1) {
        return mask->GetColorOfState(GetInfluenceMaskState(x, y, mask));
    }
    // Untouched tiles all hold zeros, so one colour serves them all for the frame.
    if (!defaultGroundColor || defaultGroundMask != mask) {
        defaultGroundColor = mask->GetColorOfState(GetInfluenceMaskState(x, y, mask));
        defaultGroundMask = mask;
    }
    return defaultGroundColor;
}

const std::vector<uint32_t>& TInfluenceLayer::GroundColours(const std::shared_ptr<TInfluenceMask>& mask) {
    std::vector<uint32_t>& out = colours;
    const size_t tiles = size_t(Width) * size_t(Height);
    if (mask == coloursMask && generation == coloursGeneration && out.size() == tiles && mask) return out;
    coloursMask = mask;
    coloursGeneration = generation;
    out.assign(tiles, 0);
    if (!mask) return out;
    bool haveUntouched = false;
    uint32_t untouchedColour = 0;
    for (size_t i = 0; i < out.size(); ++i) {
        const int32_t tx = int32_t(i % size_t(Width)), ty = int32_t(i / size_t(Width));
        if (arr[i][touchedByte] == 1) {
            out[i] = uint32_t(GetGroundColor(tx, ty, mask)->toARGB());
        } else {
            if (!haveUntouched) {
                untouchedColour = uint32_t(mask->GetColorOfState(GetInfluenceMaskState(tx, ty, mask))->toARGB());
                haveUntouched = true;
            }
            out[i] = untouchedColour;
        }
    }
    return out;
}

void TInfluenceLayer::renderMiniMap(TMiniMap& minimap, const std::shared_ptr<TInfluenceMask>& mask,
                                    int32_t minimapLayer) {
    if (!mask) return;
    if (bRendered == 1 && mask == lastRenderedMask) return;
    const std::vector<uint32_t>& colours = GroundColours(mask);
    for (size_t i = 0; i < colours.size(); ++i) {
        minimap.Write(int32_t(i % size_t(Width)), int32_t(i / size_t(Width)), int32_t(colours[i]), minimapLayer);
    }
    bRendered = 1;
    lastRenderedMask = mask;
}

void TInfluenceLayer::Destroy() {
    arr.clear();
    arr.shrink_to_fit();
    Width = Height = 0;
    layer = nullptr;
    defaultGroundColor.reset();
    defaultGroundMask.reset();
    lastRenderedMask.reset();
    colours.clear();
    coloursMask.reset();
}

void TInfluenceLayer::_onSave(TWorldFile& wf) {
    wf.file.addHeader("influence");
    wf.AddRecord("state", TRecord().AddInt(wf.Rel(lastCheck)).AddInt(rebuilding ? 1 : 0).AddInt(rebuilding ? int64_t(pendingNext) : 0));
    // Between rebuilds nothing is pending.
    for (const auto& [name, list] : {std::pair{"a", &appliedSpreads}, std::pair{"p", &pendingSpreads}}) {
        for (const TSpread& s : *list) wf.AddRecord(name, TRecord().AddFloat(s.x).AddFloat(s.y).AddInt(s.kind).AddInt(s.value).AddFloat(s.radius));
    }
}

void TInfluenceLayer::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("influence");
    int32_t last = 0, busy = 0, next = 0;
    bool stateRead = false;
    std::vector<TSpread> applied, pending;
    wf.EachFlag(section, [&](const std::string& name, TRecord& r) {
        if (name == "state") {
            if (!r.Int(last, INT32_MIN, INT32_MAX) || !r.Int(busy, 0, 1) || !r.Int(next, 0, TWorldFile::maxObjects))
                return wf.Broken("influence");
            stateRead = true;
        } else if (name == "a" || name == "p") {
            TSpread s{};
            if (!r.Float(s.x) || !r.Float(s.y) || !r.Int(s.kind, 0, countInfluences - 1) || !r.Int(s.value, 0, 1 << 30) ||
                !r.Float(s.radius) || !r.AtEnd())
                return wf.Broken("influence");
            // A radius beyond the map's diagonal reaches no further than the map.
            s.radius = std::min(s.radius, float(Width + Height));
            (name == "a" ? applied : pending).push_back(s);
        }
    });
    if (wf.Failed()) return;
    if (!stateRead || size_t(next) > pending.size()) return wf.Broken("influence");
    Clear();
    for (const TSpread& s : applied) _spread(arr, s);
    appliedSpreads = std::move(applied);
    lastCheck = wf.Abs(last);
    rebuilding = busy != 0;
    pendingSpreads = std::move(pending);
    pendingNext = size_t(next);
    pendingArr = _generateEmptyArray();
    for (size_t i = 0; i < pendingNext; ++i) _spread(pendingArr, pendingSpreads[i]);
    bRendered = 0;
    ++generation;
}
