#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/TCowList.h"

class TBuilding;
class TBuildingPlace;
class TCar;
class TImage;
class TLayer;
class TPicturePlugin;
class TTree;

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
    // Drops the shared images (tests, and the end of the program).
    static void DePrepare();

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

    // --- money sums the world books once a month ---
    float getAlimony() const;
    float getHabitantTaxes() const;

    // --- drawing ---
    void BeginDraw();
    void RenderInfluenceMiniMap();
    void Draw(int32_t previewFlag);
    void EndDraw();
    // Queues a build preview for this frame; 0 when one is already queued for the tile.
    int32_t _addbmthing(int32_t x, int32_t y, const std::shared_ptr<TPicturePlugin>& plugin, int32_t colourCode,
                        int32_t isTree, int32_t ignVirtual, int32_t animFrame);
    // The screen position (x, y) moved to footprint cell (i, j).
    void _getDrawPos(float& x, float& y, int32_t i, int32_t j) const;

    void Destroy() {}

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
    std::vector<std::string> hideStructureTyp;
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
