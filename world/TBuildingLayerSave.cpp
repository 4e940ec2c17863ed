// The building layer's part of a saved city: trees, buildings (those on the map in list order,
// then those gone from it that inhabitants or cars still refer to) and the cars with their
// owners and the road slots they hold.
#include <unordered_map>

#include "persistence/TDataFile.h"
#include "platform/TCatalogue.h"
#include "plugins/TCarPlugin.h"
#include "plugins/TCarVehicle.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TBuildingPlace.h"
#include "world/TCar.h"
#include "world/TLayer.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TTicker.h"
#include "world/TTree.h"
#include "world/TWorldFile.h"

void TBuildingLayer::_onSave(TWorldFile& wf) {
    wf.file.addHeader("buildung");
    wf.AddFlag("count", wf.placedBuildings);
    wf.AddFlag("gone", int64_t(wf.buildings.size()) - wf.placedBuildings);
    for (const auto& cell : arr) {
        if (const auto* t = std::get_if<std::shared_ptr<TTree>>(&cell); t && *t)
            wf.AddRecord("tree", TRecord().AddInt((*t)->x).AddInt((*t)->y).AddInt((*t)->Frame));
    }
    for (const auto& b : wf.buildings) {
        TRecord r;
        r.AddWord(b->p ? b->p->id : std::string()).AddInt(b->x).AddInt(b->y);
        r.AddInt(b->decoframe).AddInt(b->haveroad).AddInt(b->noneededroad).AddInt(b->lastUpdateDay).AddInt(b->work);
        r.AddFloat(b->updatePart).AddInt(b->alive).AddInt(b->buildStartDay).AddInt(b->inBuildMode).AddFloat(b->buildingProgress);
        r.AddInt(b->buildingKind).AddInt(b->buildingCraneKind).AddFloat(b->satisfactionAverage);
        r.AddInt(b->maxHabitans).AddInt(b->maxWorkers).AddInt(b->maxcars).AddInt(b->animFrame).AddInt(b->decoAnimFrame);
        wf.AddTicker(r, b->animTicker.get());
        wf.AddTicker(r, b->decoAnimTicker.get());
        wf.AddRecord("b", r.AddRest(b->Name));
    }
}

void TBuildingLayer::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("buildung");
    const int32_t placed = wf.IntFlag(section, "count", 0, TWorldFile::maxObjects);
    const int32_t gone = wf.IntFlag(section, "gone", 0, TWorldFile::maxObjects);
    wf.EachFlag(section, [&](const std::string& name, TRecord& r) {
        if (name == "tree") {
            int32_t x = 0, y = 0, frame = 0;
            if (!r.Int(x, 0, Width - 1) || !r.Int(y, 0, Height - 1) || !r.Int(frame, 0, TTree::frameCount - 1))
                return wf.Broken("buildung");
            if (!std::holds_alternative<std::monostate>(arr[_Index(x, y)])) return wf.Broken("buildung");
            _SetTile_(x, y, TTree::Create(x, y, frame, nullptr));
            return;
        }
        if (name != "b") return;
        const bool onMap = int32_t(wf.buildings.size()) < placed;
        if (!onMap && int32_t(wf.buildings.size()) >= placed + gone) return wf.Broken("buildung");
        std::string id;
        int32_t x = 0, y = 0;
        if (!r.Word(id) || !r.Int(x, 0, Width - 1) || !r.Int(y, 0, Height - 1)) return wf.Broken("buildung");
        auto plugin = std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(id));
        if (plugin && !plugin->picture[0]) plugin.reset();
        std::shared_ptr<TBuilding> b = plugin ? TBuilding::Create(plugin, x, y, this) : nullptr;
        // The words are read into a stand-in when the plugin is gone, so the record is still checked.
        TBuilding scratch;
        TBuilding& t = b ? *b : scratch;
        const int32_t big = 1 << 30;
        r.Int(t.decoframe, -1, big);
        r.Int(t.haveroad, 0, 1);
        r.Int(t.noneededroad, 0, 1);
        r.Int(t.lastUpdateDay, -big, big);
        r.Int(t.work, 0, 1);
        r.Float(t.updatePart);
        r.Int(t.alive, 0, 1);
        r.Int(t.buildStartDay, -1, big);
        r.Int(t.inBuildMode, 0, 1);
        r.Float(t.buildingProgress);
        r.Int(t.buildingKind, -1, big);
        r.Int(t.buildingCraneKind, -1, big);
        r.Float(t.satisfactionAverage);
        r.Int(t.maxHabitans, -big, big);
        r.Int(t.maxWorkers, -big, big);
        r.Int(t.maxcars, -big, big);
        r.Int(t.animFrame, 0, big);
        r.Int(t.decoAnimFrame, 0, big);
        const bool tickers = wf.ReadTicker(r, t.animTicker, 0.0f) && wf.ReadTicker(r, t.decoAnimTicker, 0.0f);
        if (!tickers || !r.Rest(t.Name)) return wf.Broken("buildung");
        wf.buildings.push_back(b);
        if (!b) return wf.Missing(id);
        if (!onMap) return;
        if (!_PicturePluginOnMap(plugin, x, y)) return wf.Fail(Tr("Gebäude %1 liegt außerhalb der Karte", id));
        for (int32_t i = x; i < x + b->SizeX(); ++i) {
            for (int32_t j = y; j < y + b->SizeY(); ++j) {
                if (!std::holds_alternative<std::monostate>(arr[_Index(i, j)]))
                    return wf.Fail(Tr("Zwei Gebäude auf dem Feld %1, %2", i, j));
            }
        }
        _SetTile_(x, y, b);
        for (const auto& place : b->places) _SetTile_(place->X, place->Y, place);
        _addbuild(b);
    });
    if (!wf.Failed() && int32_t(wf.buildings.size()) != placed + gone) wf.Broken("buildung");
}

void TBuildingLayer::_onSaveCars(TWorldFile& wf) {
    std::unordered_map<const TCarVehicle*, std::string> vehicleIds;
    for (const auto& p : TPlugin::PluginList()) {
        if (const auto cp = std::dynamic_pointer_cast<TCarPlugin>(p); cp && cp->carVehicle)
            vehicleIds[cp->carVehicle.get()] = cp->id;
    }
    wf.file.addHeader("cars");
    wf.AddFlag("listed", wf.listedCars);
    for (const auto& c : wf.cars) {
        const auto it = vehicleIds.find(c->c.get());
        const auto owner = c->b.lock();
        TRecord r;
        r.AddWord(it != vehicleIds.end() ? it->second : std::string()).AddInt(owner ? wf.IndexOf(owner.get()) : TWorldFile::none);
        r.AddInt(c->carFrame).AddFloat(c->x).AddFloat(c->y);
        for (int32_t f : c->_frame) r.AddInt(f);
        r.AddInt(c->_r ? wf.IndexOf(c->_r.get()) : TWorldFile::none).AddInt(c->_p).AddInt(c->_a).AddInt(c->__a).AddFloat(c->_pr);
        r.AddInt(c->jam).AddInt(c->prfALign).AddInt(c->blendMode).AddInt(c->mustDeleted);
        wf.AddTicker(r, c->ticker.get());
        wf.AddRecord("c", r);
    }
    for (const auto& b : wf.buildings) {
        if (b->car.Empty()) continue;
        TRecord r;
        r.AddInt(wf.IndexOf(b.get()));
        for (const auto& c : b->car.Items()) r.AddInt(wf.IndexOf(c.get()));
        wf.AddRecord("fleet", r);
    }
    for (const auto& road : wf.roads) {
        TRecord r;
        bool any = false;
        r.AddInt(wf.IndexOf(road.get()));
        for (const auto* slots : {&road->car, &road->carpos}) {
            for (const auto& c : *slots) {
                r.AddInt(c ? wf.IndexOf(c.get()) : TWorldFile::none);
                any = any || c;
            }
        }
        if (any) wf.AddRecord("slots", r);
    }
}

void TBuildingLayer::_onLoadCars(TWorldFile& wf) {
    const auto section = wf.Section("cars");
    const int32_t listed = wf.IntFlag(section, "listed", 0, TWorldFile::maxObjects);
    const int32_t big = 1 << 30;
    wf.EachFlag(section, [&](const std::string& name, TRecord& r) {
        if (name == "c") {
            std::string id;
            int32_t owner = 0, road = 0;
            auto car = std::make_shared<TCar>();
            TCar& c = *car;
            r.Word(id);
            r.Int(owner, TWorldFile::none, big);
            r.Int(c.carFrame, -1, big);
            r.Float(c.x);
            r.Float(c.y);
            for (auto& f : c._frame) r.Int(f, -1, big);
            r.Int(road, TWorldFile::none, big);
            r.Int(c._p, -1, 3);
            r.Int(c._a, -1, 3);
            r.Int(c.__a, -1, 3);
            r.Float(c._pr);
            r.Int(c.jam, 0, 1);
            r.Int(c.prfALign, -1, 3);
            r.Int(c.blendMode, TCar::blend_FadeIn, TCar::blend_InVisible);
            r.Int(c.mustDeleted, 0, 1);
            if (!wf.ReadTicker(r, c.ticker, 60.0f) || !r.AtEnd()) return wf.Broken("cars");
            const auto plugin = std::dynamic_pointer_cast<TCarPlugin>(TPlugin::Get(id));
            c.c = plugin ? plugin->carVehicle : nullptr;
            c.b = wf.Building(owner);
            c._r = wf.Road(road);
            const bool keep = c.c != nullptr;
            if (!keep) wf.Missing(id);
            wf.cars.push_back(keep ? car : nullptr);
            if (keep && int32_t(wf.cars.size()) <= listed) arrCar.Append(car);
        } else if (name == "fleet" || name == "slots") {
            int32_t i = 0;
            if (!r.Int(i, 0, big)) return wf.Broken("cars");
            std::vector<std::shared_ptr<TCar>> list;
            for (int32_t k = 0; !r.AtEnd() && r.Int(k, TWorldFile::none, big);) list.push_back(wf.Car(k));
            if (!r.Ok()) return wf.Broken("cars");
            if (name == "fleet") {
                const auto b = wf.Building(i);
                for (const auto& c : list) {
                    if (b && c) b->car.Append(c);
                }
                return;
            }
            const auto road = wf.Road(i);
            if (list.size() != 8) return wf.Broken("cars");
            if (!road) return;
            for (size_t k = 0; k < 4; ++k) {
                road->car[k] = list[k];
                road->carpos[k] = list[k + 4];
            }
        }
    });
}
