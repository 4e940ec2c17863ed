#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

class TBuilding;
class TImage;
class TLayer;
class TRoad;
class TStreet;
class TWay;
class TWorldFile;

// The world's road tiles: one road per map tile, the list of all roads, the removal and plan
// marks of the editing modes, and the drawing hooks the map walk calls per tile.
class TRoadLayer {
public:
    using TRoadList = std::vector<std::shared_ptr<TRoad>>;
    using TIgn = std::vector<int32_t>;

    static std::shared_ptr<TRoadLayer> _create(TLayer* layer);
    // Loads the route overlay image (once at start, after the plugins).
    static void Prepare();
    static void DePrepare();
    void Destroy();

    // Lays roads along the points (flat x, y list); one result entry per point (null where no
    // road was laid). Water crossed by a street with bridge images becomes a bridge.
    TRoadList BuildRoad(const std::shared_ptr<TStreet>& street, const std::vector<int32_t>& points, int32_t straight,
                        int32_t bridgeKind);
    std::shared_ptr<TRoad> _SetTile(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y, const TIgn& ign);
    std::shared_ptr<TRoad> _GetTile(int32_t x, int32_t y) const;
    void _AddRoad_(const std::shared_ptr<TRoad>& road);
    void _DelRoad_(const std::shared_ptr<TRoad>& road);
    void _UpdateTile(int32_t x, int32_t y);
    void _UpdateFrame(int32_t x, int32_t y, const TIgn& ign);
    int32_t _RoadPossible(int32_t x, int32_t y, int32_t bridgeAble, int32_t nearWater) const;
    int32_t _Cost(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y) const;
    TRoadList _RoadEnclosed(int32_t x, int32_t y, int32_t w, int32_t h, int32_t corners) const;
    int32_t _Clear(int32_t x, int32_t y, int32_t clearIgn);
    void _delTile(const std::shared_ptr<TRoad>& road);
    // Puts a removed road tile (a piece of a bridge too) back where it lay, at entry index of
    // the road list, as it was; its neighbours are framed again.
    void _Revive(const std::shared_ptr<TRoad>& road, size_t index);
    int32_t _MarkTile(int32_t x, int32_t y, int32_t markKind);
    void _delIgnTo(int32_t x, int32_t y);
    void _garbageCollector();
    // Adds a tile to the plan preview with its kind (0 impossible, 1 possible, 2 end marker);
    // the tile needs no road.
    void _AddPreview(int32_t x, int32_t y, int32_t kind);
    // The mark kind of a tile, or false when it is not marked.
    bool _GetMark(int32_t x, int32_t y, int32_t& kind) const;

    // --- routes between buildings ---
    // A route from the roads beside the start building to those beside the target; null when
    // no road connects them within way_radius of the start.
    std::shared_ptr<TWay> findWay(const std::shared_ptr<TBuilding>& start, const std::shared_ptr<TBuilding>& target);
    // Searches the way's route again (after road changes); 1 when one was found, 0 also for null.
    int32_t recalculateWay(const std::shared_ptr<TWay>& way);
    // The route's roads from the target end to the start end; empty when there is none.
    TRoadList _findWay(const std::shared_ptr<TBuilding>& start, const std::shared_ptr<TBuilding>& target);
    // Roads within the radius of (x, y), row by row.
    TRoadList _getArea(float x, float y, float radius) const;
    // Breadth-first search over the area's roads, each leaving only through sides it does not
    // ignore, from any start road to the nearest target road.
    static TRoadList _findRoad(int32_t width, int32_t height, const TRoadList& startRoads, const TRoadList& targetRoads,
                               const TRoadList& area);

    // The routes from one start building to several targets in turn (a house trying its
    // candidate work places): each RouteTo gives exactly what _findWay(start, target) gives, but
    // all share one breadth-first search over the start's area that goes only as far as the
    // targets asked so far need, so trying many targets costs at most one full search. The
    // roads must not change while it is in use.
    class TRouteSearch {
    public:
        TRouteSearch(const TRoadLayer& roads, const std::shared_ptr<TBuilding>& start);
        TRoadList RouteTo(const std::shared_ptr<TBuilding>& target);

    private:
        struct TNode {
            int32_t x, y, parent;
        };
        // One search step: the next node of the frontier is looked at and its open neighbours
        // are added, in the order of TJump. False when the search is exhausted.
        bool _Step();
        // The first time the search reaches a cell (as TJump would return there, were it a
        // target) is remembered with the node it came from.
        void _Reach(size_t cell, int32_t via);
        bool _Cell(int32_t x, int32_t y, size_t& cell) const;

        const TRoadLayer& layer;
        bool valid = false;
        int32_t x0 = 0, y0 = 0, w = 0, h = 0;  // the cells the search can reach (area and starts, one around)
        std::vector<uint8_t> open, inArea, sides;
        std::vector<int32_t> reached, via, targetOf;
        std::vector<TNode> nodes;
        std::vector<int32_t> frontier, next;
        size_t position = 0;
        int32_t events = 0, asked = 0;
        bool hit = false;
    };

    // --- route overlay (TRoadLayerOverlay.cpp) ---
    // Queues the route's pieces on its roads in the colour (0xRRGGBB); each road draws its
    // pieces once, in the next mask pass.
    void _useWay(const TRoadList& roads, int32_t colour);
    // The piece of cur joining it to prev and next (either may be null).
    void _setTileWayFrame(const std::shared_ptr<TRoad>& prev, const std::shared_ptr<TRoad>& cur,
                          const std::shared_ptr<TRoad>& next, int32_t colour);
    // Offset from a to b; 0, 0 when either is missing.
    static void _getTileDxDy(const std::shared_ptr<TRoad>& a, const std::shared_ptr<TRoad>& b, int32_t& dy,
                             int32_t& dx);
    void _setWayPathTileFrame(const std::shared_ptr<TRoad>& road, int32_t dy1, int32_t dx1, int32_t dy2, int32_t dx2,
                              int32_t colour);
    // The overlay frame for the offsets to the previous and next route tile; -1 for offsets
    // beyond the neighbouring tiles.
    static int32_t _getWayPathTileFrame(int32_t dy1, int32_t dx1, int32_t dy2, int32_t dx2);

    // --- traffic value ---
    // Smooths the road's traffic towards the number of cars standing on it.
    static void _UpdateRoadTraffic(const std::shared_ptr<TRoad>& road);
    // Every road whose last check is at least trafficCheckMS old takes one smoothing step.
    void UpdateRoadTraffic();
    static constexpr int32_t trafficCheckMS = 1000;

    void UpdateTrafficLights();
    // The road part of a ground tile (non-bridge roads), drawn with the ground and cached with it.
    void Draw(int32_t x, int32_t y, float sx, float sy, int32_t direct, float planeX, float planeY, int32_t onScreen);
    void DrawMask(int32_t x, int32_t y, float sx, float sy, int32_t dim);
    void EndDraw();
    int32_t _GetCol(int32_t x, int32_t y) const;
    // The road sections of a saved city (TRoadLayerSave.cpp): "road" with the count, then one
    // section per road in list order.
    void _onSave(TWorldFile& file);
    void _onLoad(TWorldFile& file);

    TLayer* layer = nullptr;
    int32_t Width = 0, Height = 0;
    TRoadList arr;  // index x * Height + y
    TRoadList arrRoad;
    int32_t mask = 0;
    float mx = 0, my = 0;
    int32_t _rm_u = 0;
    std::vector<int32_t> _rm_x, _rm_y, _rm_a;
    int32_t showtrafficcolors = 0;
    float way_radius = 35.0f;
    TRoadList destroyedRoad;

    static inline std::shared_ptr<TImage> wayPathImg;
    static constexpr int32_t wayPathFrames = 12;

private:
    bool _InField(int32_t x, int32_t y) const { return x >= 0 && y >= 0 && x < Width && y < Height; }
    size_t _Index(int32_t x, int32_t y) const { return size_t(x) * size_t(Height) + size_t(y); }
    int64_t _Key(int32_t x, int32_t y) const { return (int64_t(x) << 32) | int64_t(uint32_t(y)); }
    void _MarkGround(int32_t x, int32_t y) const;
    float _Water(int32_t x, int32_t y) const;
    void _AddMark(int32_t x, int32_t y, int32_t kind);
    // Drops overlay pieces that the mask pass did not draw (tiles off screen, removed roads).
    void _clearWayPaths();
    // Roads holding overlay pieces since the last mask pass.
    TRoadList _wayPathRoads;
    std::unordered_map<int64_t, int32_t> _marks;
};
