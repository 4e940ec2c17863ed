// The road layer's part of a saved city: one section per road with its street, tile, open
// sides, bridge, frames, traffic and traffic light. Cars in the road's slots are saved with the
// cars.
#include <algorithm>

#include "persistence/TDataFile.h"
#include "platform/TCatalogue.h"
#include "plugins/TStreetPlugin.h"
#include "world/TRoad.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"
#include "world/TTicker.h"
#include "world/TWorldFile.h"

namespace {
std::shared_ptr<TStreet> StreetOf(const std::string& id) {
    for (const auto& s : TStreet::streets) {
        if (s->plugin && s->plugin->id == id) return s;
    }
    return nullptr;
}
}  // namespace

void TRoadLayer::_onSave(TWorldFile& wf) {
    wf.file.addHeader("road");
    wf.AddFlag("count", int64_t(arrRoad.size()));
    for (size_t i = 0; i < arrRoad.size(); ++i) {
        const TRoad& r = *arrRoad[i];
        wf.file.addHeader("road" + std::to_string(i));
        wf.file.addFlag("street", r.s && r.s->plugin ? r.s->plugin->id : std::string());
        wf.AddFlag("x", r.x);
        wf.AddFlag("y", r.y);
        TRecord ign;
        for (int32_t side : r.getIgn()) ign.AddInt(side);
        wf.AddRecord("ign", ign);
        const auto parent = r.b_parent.lock();
        wf.AddRecord("bridge", TRecord()
                                   .AddInt(r.bridge)
                                   .AddInt(r.bridgeKind)
                                   .AddInt(parent ? wf.IndexOf(parent.get()) : TWorldFile::none)
                                   .AddInt(r.b_frame)
                                   .AddInt(r.b_sframe));
        wf.AddRecord("frame", TRecord().AddInt(r.Frame).AddInt(r.maskframe));
        TRecord traffic;
        traffic.AddFloat(r.traffic).AddInt(wf.Rel(r.lastTrafficCheck)).AddInt(r.useLevel);
        for (int32_t c : r.checkFor) traffic.AddInt(c);
        wf.AddRecord("traffic", traffic);
        TRecord lights;
        lights.AddInt(r._tfcounter).AddInt(r._tfframe);
        wf.AddTicker(lights, r._tfticker.get());
        wf.AddRecord("lights", lights);
    }
}

void TRoadLayer::_onLoad(TWorldFile& wf) {
    const auto section = wf.Section("road");
    const int32_t count =
        wf.IntFlag(section, "count", 0, int32_t(std::min<int64_t>(int64_t(Width) * Height, TWorldFile::maxObjects)));
    std::vector<int32_t> parents(size_t(count), TWorldFile::none);
    for (int32_t i = 0; i < count && !wf.Failed(); ++i) {
        const std::string name = "road" + std::to_string(i);
        const auto rs = wf.Section(name);
        if (!rs) break;
        const auto streetFlag = rs->findFlag("street");
        const std::string id = streetFlag ? streetFlag->value : std::string();
        const int32_t x = wf.IntFlag(rs, "x", 0, Width - 1), y = wf.IntFlag(rs, "y", 0, Height - 1);
        auto flag = [&](const char* f) { return TRecord(rs->findFlag(f) ? rs->findFlag(f)->value : std::string()); };
        TRecord ignR = flag("ign"), bridgeR = flag("bridge"), frameR = flag("frame"), trafficR = flag("traffic"),
                lightsR = flag("lights");
        TIgn ign(4, 0);
        for (auto& side : ign) ignR.Int(side, 0, 1);
        int32_t bridge = 0, kind = 0, parent = 0, bframe = 0, bsframe = 0, frame = 0, mask = 0, last = 0, use = 0;
        float traffic = 0;
        std::array<int32_t, 4> checkFor{};
        bridgeR.Int(bridge, 0, 1);
        bridgeR.Int(kind, 0, 1 << 16);
        bridgeR.Int(parent, TWorldFile::none, count - 1);
        bridgeR.Int(bframe, -1, 1 << 16);
        bridgeR.Int(bsframe, -1, 1 << 16);
        frameR.Int(frame, 0, TStreet::frameCount - 1);
        frameR.Int(mask, 0, 1 << 16);
        trafficR.Float(traffic);
        trafficR.Int(last, INT32_MIN, INT32_MAX);
        trafficR.Int(use, -(1 << 30), 1 << 30);
        for (auto& c : checkFor) trafficR.Int(c, INT32_MIN, INT32_MAX);
        int32_t tfcounter = 0, tfframe = 0;
        lightsR.Int(tfcounter, 0, 1 << 16);
        lightsR.Int(tfframe, 0, 1 << 16);
        std::shared_ptr<TTicker> ticker;
        const bool tickerOk = wf.ReadTicker(lightsR, ticker, 1.0f);
        if (!ignR.Ok() || !bridgeR.Ok() || !frameR.Ok() || !trafficR.Ok() || !tickerOk) return wf.Broken(name);
        if (wf.Failed()) return;
        wf.roads.push_back(nullptr);
        const auto street = StreetOf(id);
        if (!street) {
            wf.Missing(id);
            continue;
        }
        if (arr[_Index(x, y)]) return wf.Fail(Tr("Zwei Straßen auf dem Feld %1, %2", x, y));
        auto road = TRoad::Create(street, x, y, ign, this);
        road->bridge = bridge;
        road->bridgeKind = kind;
        road->b_frame = bframe;
        road->b_sframe = bsframe;
        road->Frame = frame;
        road->maskframe = mask;
        road->traffic = traffic;
        road->lastTrafficCheck = wf.Abs(last);
        road->useLevel = use;
        road->checkFor = checkFor;
        road->_tfcounter = tfcounter;
        road->_tfframe = tfframe;
        road->_tfticker = ticker;
        parents[size_t(i)] = parent;
        wf.roads.back() = road;
        _AddRoad_(road);
    }
    // Bridge pieces join their head in list order, as they were laid.
    for (int32_t i = 0; i < count && !wf.Failed(); ++i) {
        const auto& road = wf.roads[size_t(i)];
        if (!road || parents[size_t(i)] == TWorldFile::none) continue;
        const auto head = wf.roads[size_t(parents[size_t(i)])];
        if (!head || !road->bridge || head == road) return wf.Broken("road" + std::to_string(i));
        head->_AddBridgeChild(road);
    }
}
