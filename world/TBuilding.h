#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/TCowList.h"

class TBuildingLayer;
class TBuildingPlace;
class TCar;
class THabitant;
class TImage;
class TInfluenceMask;
class TJob;
class TPicturePlugin;
class TRoad;
class TSmoke;
class TTicker;
class TWay;

// One placed building: a house, shop, factory, public building, park or award, made from a
// building picture plugin. It is built over game days, then once a day judges its satisfaction
// from the influence layer, takes in or sends away inhabitants and finds them jobs in work
// buildings reachable by road; every frame it draws itself with scaffolds, crane, animation,
// smoke and status symbols.
class TBuilding : public std::enable_shared_from_this<TBuilding> {
public:
    static std::shared_ptr<TBuilding> Create(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                             TBuildingLayer* buildingLayer);
    // Every footprint tile but the origin, columns outer and rows inner.
    static std::vector<std::shared_ptr<TBuildingPlace>> _CreatePlaces(const std::shared_ptr<TBuilding>& building,
                                                                      int32_t x, int32_t y, int32_t width,
                                                                      int32_t depth);

    // --- daily life ---
    void Update(int32_t day);
    void UpdateHabitants();
    // The reason an empty house gives: too unhappy to take anyone, nobody coming to town, no
    // work within reach by road, or waiting for the next newcomers.
    std::string _whyEmpty();
    void UpdateWorkers() {}
    void _FindJob();
    // The road route from this house to the nearest work building of its level with an open
    // job within reach; null when there is none. Changes nothing.
    std::shared_ptr<TWay> _WayToWork();
    void AddHabitantFromPool(const std::shared_ptr<THabitant>& h);
    void poolCallbackFuncRegHabitant(const std::shared_ptr<THabitant>& h) { AddHabitantFromPool(h); }
    // The inhabitant gives up its job: its work building lets go of it, the commute leaves the roads.
    static void leaveJob(const std::shared_ptr<THabitant>& h);
    // The inhabitant loses its job and this home and waits with the newcomers for a new one.
    void removeHabitant(const std::shared_ptr<THabitant>& h);
    void callRoadDeleted(const std::shared_ptr<TRoad>& road);
    void Destroy();
    int32_t IsValid() const { return alive; }

    void _regHabitant(const std::shared_ptr<THabitant>& h) { habitants.Append(h); }
    void _regWorker(const std::shared_ptr<THabitant>& h) { workers.Append(h); }
    void _delHabitant(const std::shared_ptr<THabitant>& h) { habitants.Remove(h); }
    void _delWorker(const std::shared_ptr<THabitant>& h) { workers.Remove(h); }

    // --- satisfaction, money, ratios ---
    float getSatisfaction() const { return satisfactionAverage; }
    float getTaxes() const { return 0.0f; }
    float otherFactor() const { return 1.0f; }
    float getCurrentHour() const;
    float calcTaxMoney() const;
    float getInfluenceFor(int32_t kind) const;
    void _recalculateInfluence();
    float _calculateInfluenceFor(int32_t x, int32_t y, const std::shared_ptr<TInfluenceMask>& mask) const;
    float getJobPercentage() const;
    float getPeopleFullness() const;
    float getMaxCars() const;
    int32_t isResidentalBuilding() const;
    std::shared_ptr<TImage> getWorkerPic() const;
    std::string getWorkerName() const;
    const std::string& GetName() const { return Name; }
    void setName(const std::string& n) { Name = n; }
    int32_t SizeX() const;
    int32_t SizeY() const;

    // --- drawing ---
    int32_t getFrame() const;
    int32_t GetCol();
    void Draw(float x, float y, uint8_t drawGround, float scaleX, float scaleY, int32_t drawSmoke, float windX);
    void DrawBackBuildingStage(float x, float y, float h);
    void DrawFrontBuildingStage(float x, float y, float h);
    float GetRNDAspect(int32_t i, int32_t j) const;
    void _GetSymbolPos(float& x, float& y, float scaleX, float scaleY) const;
    // Whether the building drawn at (x, y) at that scale shows its picture or decoration at the
    // screen point (px, py), not a see-through pixel.
    bool PictureCovers(float x, float y, float scaleX, float scaleY, float px, float py) const;
    void _DrawNoWorkSymbol(float x, float y, float scaleX, float scaleY);
    void _DrawIsUnhappy(float x, float y, float scaleX, float scaleY);
    void _DrawNoRoadSymbol(float x, float y, float scaleX, float scaleY);
    void _DrawNoWorkersSymbol(float x, float y, float scaleX, float scaleY);

    TBuildingLayer* buildingLayer = nullptr;
    std::shared_ptr<TPicturePlugin> p;
    std::string Name;
    int32_t x = 0, y = 0;
    float mx = 0, my = 0;
    std::vector<std::shared_ptr<TBuildingPlace>> places;
    TCowList<std::shared_ptr<TCar>> car;
    int32_t maxcars = 0;
    int32_t decoframe = -1;
    int32_t animFrame = 0;
    int32_t decoAnimFrame = 0;
    std::shared_ptr<TTicker> animTicker;
    std::shared_ptr<TTicker> decoAnimTicker;
    int32_t _col = 0;
    std::vector<std::shared_ptr<TSmoke>> smoke;
    int32_t haveroad = 0;
    int32_t noneededroad = 0;
    int32_t lastUpdateDay = 0;
    int32_t work = 0;
    float updatePart = 0;
    int32_t alive = 1;
    int32_t buildStartDay = -1;
    int32_t inBuildMode = 0;
    float buildingProgress = 0;
    int32_t buildingKind = 0;
    int32_t buildingCraneKind = 0;
    float satisfactionAverage = 0;
    TCowList<std::shared_ptr<THabitant>> habitants;
    std::shared_ptr<TJob> cJob;
    // Why a finished house stands empty (for the building info, in the language in use when it
    // was found); empty while people live in it. Renewed by its daily update.
    std::string emptyReason;
    int32_t maxHabitans = 0;
    TCowList<std::shared_ptr<THabitant>> workers;
    std::shared_ptr<TImage> workerImg;
    int32_t maxWorkers = 0;

    // A build-time debug switch: texts beside the no-work and no-workers symbols.
    static constexpr bool debugSymbols = false;
};
