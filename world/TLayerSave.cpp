// Saving and loading the whole city. "main" holds the map size and view, the format version,
// money, names, speed, the day and the random generator; then each layer writes its sections,
// and loading reads them in the same order, each after the ones it refers to.
#include <algorithm>

#include "framework/TFastRandom.h"
#include "persistence/TDataFile.h"
#include "persistence/TFile.h"
#include "platform/TCatalogue.h"
#include "platform/TClock.h"
#include "platform/TNumberText.h"
#include "platform/TStream.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/TCitySummary.h"
#include "world/TGroundLayer.h"
#include "world/THabitantPool.h"
#include "world/TISO.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"
#include "world/TRoadLayer.h"
#include "world/TTimeSystem.h"
#include "world/TWeatherLayer.h"
#include "world/TWorldFile.h"

namespace {
// Tells a saved city from other data files.
const char* const gameName = "Vallmora";
// "main" comes first and takes well under a kilobyte, so the list of saves reads only the start
// of each file (and the whole file only when its "main" is larger).
constexpr size_t summaryPrefixBytes = 16 * 1024;
// Files of this format on hold the city's history.
constexpr int32_t firstVersionWithHistory = 3;
}  // namespace

int32_t TLayer::Save(const std::string& path) {
    auto d = vesko::TDataFile::Create(path);
    if (!d || !iso) return 0;
    // Times are saved relative to the world's clock.
    const TClock::TScope onWorldClock(clock);
    TWorldFile wf(*d, Millisecs());
    wf.Collect(*this);
    d->addHeader("main");
    d->addFlag("width", TNumberText::FromInt(Width));
    d->addFlag("height", TNumberText::FromInt(Height));
    d->addFlag("camx", TNumberText::FromFloat(iso->moveX));
    d->addFlag("camy", TNumberText::FromFloat(iso->moveY));
    d->addFlag("scalex", TNumberText::FromFloat(iso->ScaleX));
    d->addFlag("scaley", TNumberText::FromFloat(iso->ScaleY));
    d->addFlag("game", gameName);
    wf.AddFlag("version", saveVersion);
    d->addFlag("city", cityName);
    d->addFlag("mayor", mayorName);
    wf.AddRecord("money", TRecord().AddFloat(money));
    wf.AddRecord("speed", TRecord().AddFloat(speed));
    wf.AddRecord("day", TRecord()
                            .AddInt(currentDay)
                            .AddFloat(currentDayPart)
                            .AddFloat(hour)
                            .AddInt(dateWeekDay)
                            .AddInt(dateDay)
                            .AddInt(dateMonth)
                            .AddInt(dateYear));
    // The generator's two 32-bit words, written as signed numbers.
    wf.AddRecord("random",
                 TRecord().AddInt(int32_t(random ? random->a_seed : 0)).AddInt(int32_t(random ? random->b_seed : 0)));
    wf.AddFlag("destroysize", dm_size);
    wf.AddFlag("notime", cheat ? cheat->immediatelyBuild : 0);
    // Read only by the list of saves (older files lack it); loading counts the inhabitants itself.
    wf.AddFlag("inhabitants", habitantPool ? habitantPool->countActiveHabitants() : 0);
    if (GroundLayer) GroundLayer->_onSave(wf);
    if (RoadLayer) RoadLayer->_onSave(wf);
    if (BuildingLayer) BuildingLayer->_onSave(wf);
    if (habitantPool) habitantPool->_onSave(wf);
    if (BuildingLayer) BuildingLayer->_onSaveCars(wf);
    if (InfluenceLayer) InfluenceLayer->_onSave(wf);
    if (WeatherLayer) WeatherLayer->_onSave(wf);
    if (timeSystem) timeSystem->_onSave(wf);
    history._onSave(wf);
    return d->WriteOut() && d->Save() ? 1 : 0;
}

namespace {
// Reads "main" into the new world and the generator's saved state into a and b; false after a
// fault.
bool LoadMain(TLayer& l, TWorldFile& wf, const std::shared_ptr<vesko::TFileHeader>& main, int32_t& a, int32_t& b) {
    auto text = [&](const char* name) {
        const auto f = main->findFlag(name);
        return f ? f->value : std::string();
    };
    auto record = [&](const char* name) { return TRecord(text(name)); };
    float camx = 0, camy = 0, sx = 1, sy = 1, money = 0, speed = 0;
    for (const auto& [name, v] : {std::pair{"camx", &camx}, std::pair{"camy", &camy}, std::pair{"scalex", &sx},
                                  std::pair{"scaley", &sy}, std::pair{"money", &money}, std::pair{"speed", &speed}}) {
        TRecord r = record(name);
        if (!r.Float(*v) || !r.AtEnd()) {
            wf.Broken("main");
            return false;
        }
    }
    TRecord day = record("day");
    TRecord rnd = record("random");
    const int32_t big = 1 << 30;
    day.Int(l.currentDay, -1, big);
    day.Float(l.currentDayPart);
    day.Float(l.hour);
    day.Int(l.dateWeekDay, 0, 7);
    day.Int(l.dateDay, 0, 31);
    day.Int(l.dateMonth, 0, 12);
    day.Int(l.dateYear, 0, big);
    rnd.Int(a, INT32_MIN, INT32_MAX);
    rnd.Int(b, INT32_MIN, INT32_MAX);
    if (!day.Ok() || !day.AtEnd() || !rnd.Ok() || !rnd.AtEnd() || speed < 0) {
        wf.Broken("main");
        return false;
    }
    l.setDestroySize(wf.IntFlag(main, "destroysize", TLayer::minDestroySize, TLayer::maxDestroySize));
    if (l.cheat) l.cheat->immediatelyBuild = wf.IntFlag(main, "notime", 0, 1);
    l.setCityName(text("city"));
    l.setMayorName(text("mayor"));
    l.setMoney(money);
    l.setGameSpeed(speed);
    l.SetMapScale(sx, sy, 0);
    l.asx = l.tsx = l.iso->ScaleX;
    l.asy = l.tsy = l.iso->ScaleY;
    l.iso->moveX = camx;
    l.iso->moveY = camy;
    return !wf.Failed();
}
}  // namespace

std::shared_ptr<TLayer> TLayer::Load(const std::string& path, std::string& message) {
    message.clear();
    auto d = vesko::TDataFile::Load(path);
    if (!d) {
        message = Tr("Die Datei kann nicht gelesen werden: %1", path);
        return nullptr;
    }
    if (!d->ReadIn()) {
        message = Tr("Die Datei ist beschädigt oder unvollständig.");
        return nullptr;
    }
    const auto main = d->findHeader("main", 0);
    const auto game = main ? main->findFlag("game") : nullptr;
    if (!main || !game || game->value != gameName) {
        message = Tr("Die Datei ist kein Spielstand von Vallmora.");
        return nullptr;
    }
    // A loaded world's clock starts where a new world's does; the saved times are relative.
    const TClock::TScope onFreshClock(std::make_shared<TManualClock>(clockStart));
    TWorldFile wf(*d, Millisecs());
    const int32_t version = wf.IntFlag(main, "version", 1, INT32_MAX);
    if (!wf.Failed() && version > saveVersion) {
        message = Tr("Der Spielstand stammt aus einer neueren Version (Format %1).", version);
        return nullptr;
    }
    const int32_t width = wf.IntFlag(main, "width", 1, int32_t(maxMapTiles));
    const int32_t height = wf.IntFlag(main, "height", 1, int32_t(maxMapTiles));
    if (!wf.Failed() && int64_t(width) * height > maxMapTiles) wf.Fail(Tr("Die Karte ist zu groß"));
    if (wf.Failed()) {
        message = Tr("Der Spielstand ist beschädigt: %1.", wf.error);
        return nullptr;
    }
    TLayer* const previous = _current;
    auto l = Create(width, height, vesko::TFastRandom::Create(0));
    _current = previous;
    if (!l) {
        message = Tr("Die Karte dieses Spielstands kann nicht angelegt werden.");
        return nullptr;
    }
    int32_t seedA = 0, seedB = 0;
    if (LoadMain(*l, wf, main, seedA, seedB)) {
        l->GroundLayer->_onLoad(wf);
        l->RoadLayer->_onLoad(wf);
        l->BuildingLayer->_onLoad(wf);
        l->habitantPool->_onLoad(wf);
        l->BuildingLayer->_onLoadCars(wf);
        l->InfluenceLayer->_onLoad(wf);
        l->WeatherLayer->_onLoad(wf);
        if (l->timeSystem) l->timeSystem->_onLoad(wf);
    }
    // The history is no part of what the city needs to go on: a damaged one never refuses the
    // file. A city saved before it was kept (or whose running month was damaged) begins it at
    // the load, and milestones its inhabitants have passed are not announced again.
    std::string historyNote;
    if (!wf.Failed()) {
        TMonthRecord now;
        now.money = l->money, now.year = l->dateYear, now.month = l->dateMonth;
        if (!l->history._onLoad(wf, version >= firstVersionWithHistory, now, historyNote))
            l->history.Reach(l->habitantPool->countActiveHabitants());
        l->history.Begin(l->money, l->dateYear, l->dateMonth);
    }
    if (wf.Failed()) {
        l->Destroy();
        _current = previous;
        message = Tr("Der Spielstand ist beschädigt: %1.", wf.error);
        return nullptr;
    }
    // The generator's state is set last: making the objects drew from it.
    l->random->a_seed = uint32_t(seedA);
    l->random->b_seed = uint32_t(seedB);
    if (!wf.missing.empty()) {
        message = Tr("Nicht mehr vorhanden, ausgelassen:");
        for (const auto& id : wf.missing) message += " " + (id.empty() ? Tr("(ohne Namen)") : id);
    }
    if (!historyNote.empty()) message += (message.empty() ? "" : "\n") + historyNote;
    return l;
}

namespace {
// The "main" section at the start of bytes, or null when the bytes do not begin with one.
std::shared_ptr<vesko::TFileHeader> ReadMain(const std::string& path, const std::string& bytes) {
    auto d = vesko::TDataFile::Create(path);
    if (!d) return nullptr;
    d->File->setByteArray(std::vector<uint8_t>(bytes.begin(), bytes.end()));
    d->_seekFile(0);
    int32_t error = 0;
    if (d->_readBigShort() < 1 || d->_readString(error) != "main" || error) return nullptr;
    auto main = std::make_shared<vesko::TFileHeader>();
    main->Name = "main";
    return main->_readFrom(*d) ? main : nullptr;
}
}  // namespace

bool TLayer::ReadSummary(const std::string& path, TCitySummary& summary) {
    summary = TCitySummary();
    std::string bytes(summaryPrefixBytes, '\0');
    {
        auto in = TStream::ReadFile(path);
        if (!in) return false;
        bytes.resize(in->Read(bytes.data(), bytes.size()));
        in->Close();
    }
    auto main = ReadMain(path, bytes);
    if (!main && bytes.size() == summaryPrefixBytes && LoadBytes(path, bytes)) main = ReadMain(path, bytes);
    const auto text = [&](const char* name) {
        const auto f = main ? main->findFlag(name) : nullptr;
        return f ? f->value : std::string();
    };
    TRecord version(text("version"));
    int32_t v = 0;
    if (!main || text("game") != gameName || !version.Int(v, 1, saveVersion) || !version.AtEnd()) return false;
    TCitySummary s;
    s.city = text("city");
    s.mayor = text("mayor");
    TRecord money(text("money"));
    TRecord day(text("day"));
    int32_t currentDay = 0;
    float dayPart = 0, hour = 0;
    const int32_t big = 1 << 30;
    money.Float(s.money);
    day.Int(currentDay, -1, big);
    day.Float(dayPart);
    day.Float(hour);
    day.Int(s.dateWeekDay, 0, 7);
    day.Int(s.dateDay, 0, 31);
    day.Int(s.dateMonth, 0, 12);
    day.Int(s.dateYear, 0, big);
    if (!money.Ok() || !money.AtEnd() || !day.Ok() || !day.AtEnd()) return false;
    if (main->findFlag("inhabitants")) {
        TRecord count(text("inhabitants"));
        if (!count.Int(s.inhabitants, 0, TWorldFile::maxObjects) || !count.AtEnd()) return false;
    }
    summary = std::move(s);
    return true;
}
