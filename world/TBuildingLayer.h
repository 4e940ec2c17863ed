#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/TCowList.h"
#include "plugins/TPicturePlugin.h"

class TBuilding;
class TBuildingPlace;
class TCar;
class TCarVehicle;
class TImage;
class TLayer;
class TPicturePlugin;
class TRoad;
class TTree;
class TWorldFile;

// The world's layer of objects that stand on tiles (buildings, their footprint placeholders,
// trees, cars). It draws the whole visible map in one diagonal back-to-front walk: the black
// ring and the ground through the block cache, then per cell the ground tile ahead of the
// objects, the objects, roads and build previews, so that nothing needs sorting.

class TBuildingLayer {
public:
    // One cell of the object grid: empty, a tree, a building on its origin tile, or a
    // placeholder on another footprint tile.
    using TObject = std::variant<std::monostate, std::shared_ptr<TTree>, std::shared_ptr<TBuilding>,
                                 std::shared_ptr<TBuildingPlace>>;

    // Fixed margins of the drawing walk, in tiles and lines (see Draw).
    static constexpr int32_t walkColumnMargin = 14 + 3;
    static constexpr int32_t walkRowOffset = -2 + 3;
    static constexpr int32_t walkAcrossMargin = 8;
    static constexpr int32_t walkExtraLines = 52 + 1;
    // Ground tiles are drawn this many cells ahead (down the screen) of the objects.
    static constexpr int32_t groundLead = 5;

    static std::shared_ptr<TBuildingLayer> _create(TLayer* layer);
    // Loads the images shared by all buildings and trees, once after the plugins are loaded.
    static void Prepare();
    // Drops the shared images and the plugin lists (tests, and the end of the program).
    static void DePrepare();
    // The building layer's parts of a saved city (TBuildingLayerSave.cpp): "buildung" with the
    // trees and buildings, and "cars" with the cars, each building's cars and the road slots.
    void _onSave(TWorldFile& file);
    void _onLoad(TWorldFile& file);
    void _onSaveCars(TWorldFile& file);
    void _onLoadCars(TWorldFile& file);

    // The building plugins by structure type, in load order; the build tool offers them.
    static void _addAward(const std::shared_ptr<TPicturePlugin>& plugin) { arrAward.push_back(plugin); }
    static void _addComercialBuilding(const std::shared_ptr<TPicturePlugin>& plugin) {
        arrComercialBuilding.push_back(plugin);
    }
    static void _addIndustrialBuilding(const std::shared_ptr<TPicturePlugin>& plugin) {
        arrIndustrialBuilding.push_back(plugin);
    }
    static void _addPublicBuilding(const std::shared_ptr<TPicturePlugin>& plugin) {
        arrPublicBuilding.push_back(plugin);
    }
    static void _addPublicPark(const std::shared_ptr<TPicturePlugin>& plugin) { arrPublicPark.push_back(plugin); }
    static void _addResidentalBuilding(const std::shared_ptr<TPicturePlugin>& plugin) {
        arrResidentalBuilding.push_back(plugin);
    }
    static inline std::vector<std::shared_ptr<TPicturePlugin>> arrAward, arrComercialBuilding, arrIndustrialBuilding,
        arrPublicBuilding, arrPublicPark, arrResidentalBuilding;

    // --- object grid ---
    TObject _GetTile(int32_t x, int32_t y, int32_t resolvePlace) const;
    void _SetTile_(int32_t x, int32_t y, const TObject& object);
    void _PlantTree(int32_t x, int32_t y, int32_t frame);
    void _Clear(int32_t x, int32_t y);
    void _delTree(const std::shared_ptr<TTree>& tree);
    std::shared_ptr<TTree> _GetTree(int32_t x, int32_t y) const;
    int32_t _OnMap(int32_t x, int32_t y, int32_t width, int32_t depth) const;
    int32_t _IsFree(int32_t x, int32_t y, int32_t width, int32_t depth, int32_t treesBlock) const;
    int32_t _GetCol(int32_t x, int32_t y) const;

    // --- pointing at pictures ---
    // Whether an image frame drawn at (x, y) at that scale shows a mostly opaque pixel at the
    // screen point (px, py).
    static bool ImageCovers(const std::shared_ptr<TImage>& image, int32_t frame, float x, float y, float scaleX,
                            float scaleY, float px, float py);
    // The building or tree whose picture, as the map walk draws it, shows at the screen point;
    // of several the front-most (drawn last). Empty where only see-through pixels, ground or
    // roads lie; hidden kinds are looked through.
    TObject _GetPictureAt(float px, float py) const;

    // --- buildings ---
    // Places a new building with its origin at (x, y) (null without a plugin or when its
    // footprint leaves the map); whether the footprint is free is the caller's question.
    std::shared_ptr<TBuilding> _SetTile(int32_t x, int32_t y, const std::shared_ptr<TPicturePlugin>& plugin);
    void _addbuild(const std::shared_ptr<TBuilding>& b);
    void _delBuild(const std::shared_ptr<TBuilding>& b);
    // Puts a removed building back on its tiles as it was (finished or under construction), at
    // entry index of the building list; it stands empty until the pool fills it again.
    void _Revive(const std::shared_ptr<TBuilding>& b, size_t index);
    void _removebuildplaces(const std::shared_ptr<TBuilding>& b);
    int32_t _PicturePluginOnMap(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) const;
    int32_t _PicturePluginIsFree(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y,
                                 int32_t treesBlock) const;

    // --- daily work ---
    // Each building takes its daily update once per game day, when the day has passed its own
    // moment (updatePart); one that missed a whole day is updated at once.
    void UpdateBuildings(int32_t day, float dayPart);
    void _UpdateBuild(const std::shared_ptr<TBuilding>& b, int32_t day);
    void _CheckBuildingForRoad(const std::shared_ptr<TBuilding>& b);
    int32_t _BuildingHasRoad(const std::shared_ptr<TBuilding>& b) const;
    // Finished work buildings of the level (-1: any) with a free job and no missing road,
    // within the road layer's way_radius of (x, y), nearest first.
    std::vector<std::shared_ptr<TBuilding>> _getPossibleWorkBuildings(float x, float y, int32_t level) const;
    void _callRoadDeleted(const std::shared_ptr<TRoad>& road);

    // --- cars ---
    // Starts cars for a working building as its people fill it (once a day, after its update).
    void _UpdateCars(const std::shared_ptr<TBuilding>& b);
    // The vehicle kinds of the building: its plugin's, else its tech level's, else all.
    static std::vector<std::shared_ptr<TCarVehicle>> _CarKinds(const TBuilding& b);
    std::vector<std::shared_ptr<TCar>> _AddCars(int32_t count, const std::vector<std::shared_ptr<TCarVehicle>>& kinds,
                                                int32_t x, int32_t y, const std::shared_ptr<TBuilding>& b);
    std::shared_ptr<TCar> _AddCar(const std::shared_ptr<TCarVehicle>& kind, int32_t x, int32_t y,
                                  const std::shared_ptr<TBuilding>& b);
    std::shared_ptr<TCar> _AddCar_(const std::shared_ptr<TCarVehicle>& kind, int32_t x, int32_t y,
                                   const std::shared_ptr<TBuilding>& b);
    // The road tile with room for a car nearest to (x, y) (a random one for -1, -1); false when
    // no road has room.
    bool _GetPlaceForCar(int32_t x, int32_t y, int32_t& px, int32_t& py) const;
    // Once per frame: active cars move, the others are dropped.
    void __UpdateCars();
    void _removecars(const std::shared_ptr<TBuilding>& b, int32_t fade);
    void _delCar(const std::shared_ptr<TCar>& car);

    // --- money sums the world books once a month ---
    float getAlimony() const;
    float getHabitantTaxes() const;

    // --- drawing ---
    void BeginDraw();
    void RenderInfluenceMiniMap();
    void Draw(int32_t previewFlag);
    void EndDraw();
    // The colour codes of a preview: green where it may be built, red where not, blue, white for
    // the building whose info is open; a building's own minimap colour where marked with
    // previewOwnColour; any other code is an RGB colour (0xRRGGBB).
    static constexpr int32_t previewPlaceable = 0, previewRefused = 1, previewBlue = 2, previewSelected = 3,
                             previewOwnColour = -1;
    // Queues a build preview for this frame; 0 when one is already queued for the tile.
    int32_t _addbmthing(int32_t x, int32_t y, const std::shared_ptr<TPicturePlugin>& plugin, int32_t colourCode,
                        int32_t isTree, int32_t ignVirtual, int32_t animFrame);
    // The screen position (x, y) moved to footprint cell (i, j).
    void _getDrawPos(float& x, float& y, int32_t i, int32_t j) const;
    // The zone ground under a finished footprint, at the current drawing scale.
    static void drawBuildingGround(int32_t kindFrame, float x, float y, int32_t width, int32_t depth);
    // The construction-site ground under a footprint.
    void _drawBuildingGround(float x, float y, int32_t width, int32_t depth, int32_t kindFrame) const;
    void _drawBuildingGroundTile(float x, float y, int32_t kindFrame) const;
    // A scaffold column of `height` segments (the last one partial) standing at (x, y).
    void _drawBuildingStage(float x, float y, float height, int32_t kind) const;
    void _drawBuildingStageSegment(float x, float y, float height, int32_t kind) const;
    void _DrawTowerCrane(float x, float y, int32_t frame, float height, int32_t kind) const;
    void _drawTowerCraneTower(float x, float y, int32_t frame, float height, int32_t kind) const;
    void _DrawTowerCraneTop(float x, float y, int32_t frame, float height, int32_t kind) const;
    void _drawTowerCraneSegment(float x, float y, int32_t frame, int32_t kind) const;
    // A building preview tinted by colour code (0 green, 1 red, 2 blue, 3 white, else 0xRRGGBB).
    void _drawYNPicture(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y, int32_t colourCode,
                        int32_t faded, int32_t animFrame) const;
    // The picture plain, then tinted, then brightened in the current colour.
    static void _drawColoredImage(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame);
    // The image's outline in black at the given alpha, drawn before the image itself.
    void _drawOutline(const std::shared_ptr<TImage>& image, float x, float y, int32_t frame, float alpha) const;

    // Takes the cars off their roads (a car and its road tile hold each other) so the world can be
    // freed.
    void Destroy();

    TLayer* layer = nullptr;
    int32_t transparency = 0;
    float tx = 0, ty = 0;
    int32_t Width = 0, Height = 0;
    std::vector<TObject> arr;  // column-major: index x * Height + y
    TCowList<std::shared_ptr<TCar>> arrCar;
    TCowList<std::shared_ptr<TBuilding>> arrBuilding;
    int32_t _bm_a = 0;
    std::vector<int32_t> _bm_x, _bm_y;
    std::vector<std::shared_ptr<TPicturePlugin>> _bm_p;
    std::vector<int32_t> _bm_t;
    std::vector<int32_t> _bm_frame;
    int32_t _bm_hidesmoke = 0;
    float _bm_windx = 0.5f;
    std::vector<int32_t> _bm_ignVirtual;
    std::vector<int32_t> _bm_animFrame;
    int32_t hidecars = 0;
    std::vector<TPicturePlugin::TStructure> hideStructureTyp;
    int32_t hidetrees = 0;

    // Shared images, loaded by Prepare.
    static inline std::shared_ptr<TImage> treeImg;
    static inline std::array<std::shared_ptr<TImage>, 4> groundImg;
    static inline std::shared_ptr<TImage> noRoadImg, unhappyImg, noJobImg;
    static inline std::array<std::shared_ptr<TImage>, 4> buildGroundImg;
    static inline float stageSegmentHeight = 8;
    static inline int32_t stageFrameCount = 6;
    static inline std::vector<std::shared_ptr<TImage>> buildingProcessImg;
    static inline std::vector<std::shared_ptr<TImage>> buildingTowerCraneImg;
    static inline std::shared_ptr<TImage> defaultWorkerImg;

    static int32_t _addBuildingProcessImg(const std::string& path);
    static int32_t _addBuildingTowerCraneImg(const std::string& path);

private:
    bool _InField(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    size_t _Index(int32_t x, int32_t y) const { return size_t(x) * size_t(Height) + size_t(y); }
    // One line of the drawing walk at (c, r): the cells (g, h) handed to visit.
    template <typename Visit>
    void _WalkLine(int32_t c, int32_t r, float across, Visit visit) const;
    void _DrawCell(int32_t g, int32_t h, int32_t previewFlag);
    void _DrawPreviewAt(int32_t g, int32_t h, int32_t previewFlag);
    // The alternation of the walk's two kinds of step; it carries on from the black pass
    // into the object pass.
    int32_t _walkStep = 0;
};
