#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TCar;
class TRoadLayer;
class TStreet;
class TTicker;

// One road tile of a street type on the road layer's grid. Bridge tiles belong to a head tile
// (on the shore before the water) that lists the others as children.
class TRoad : public std::enable_shared_from_this<TRoad> {
public:
    using TIgn = std::vector<int32_t>;

    // ign: per side 1 = do not connect to the neighbour there; empty = connect everywhere.
    static std::shared_ptr<TRoad> Create(const std::shared_ptr<TStreet>& street, int32_t x, int32_t y, const TIgn& ign,
                                         TRoadLayer* roadLayer);
    // A bridge along the points (flat x, y list, at least two points, each one step from the
    // previous): the head at the first point and one child per further point. Null for fewer
    // than two points, steps that are not one tile, or a street without bridge images.
    static std::shared_ptr<TRoad> CreateBridge(const std::shared_ptr<TStreet>& street,
                                               const std::vector<int32_t>& points, int32_t bridgeKind,
                                               TRoadLayer* roadLayer);
    void _AddBridgeChild(const std::shared_ptr<TRoad>& road);

    const TIgn& getIgn() const { return ign; }
    void setIgn(const TIgn& list);
    // Each side becomes the smaller of old and new; an empty list changes nothing.
    void addIgn(const TIgn& list);
    int32_t getFrame(int32_t c0, int32_t c1, int32_t c2, int32_t c3, int32_t typ) const;
    int32_t GetMaskFrame() const;
    const std::vector<int32_t>& GetAlign(int32_t position) const;
    float Speed() const;
    int32_t IsValid() const { return destroyed ? 0 : 1; }
    void Destroy() { destroyed = 1; }

    // --- traffic lights (crossings of streets with a traffic light image) ---
    bool HasTrafficLights() const;
    void InitTrafficLights();
    void UpdateTrafficLights();
    // Whether a car entering with step (dx, dy) may go now.
    int32_t AllowToDrive(int32_t dx, int32_t dy) const;
    int32_t JamPos() const { return Frame > 7 ? 1 : 0; }

    // --- cars (TRoadCars.cpp) ---
    // 1 when fewer other cars on the tile hold the align than the frame allows (0 for an align
    // outside 0 ... 3).
    int32_t AlignAvailable(const TCar* car, int32_t align) const;
    // 1 when no lane position is occupied.
    int32_t CarFree() const;
    int32_t CountCars() const;
    // The tile's cars, back to front.
    void DrawCars(float sx, float sy, float scaleX, float scaleY);
    // A car's offset in tile pixels from the tile's draw point, for its lane position, the align
    // of its current move and the move's progress; raised on bridges.
    void GetPosition(int32_t position, int32_t previousAlign, float progress, float& ox, float& oy) const;
    // The direction from a bridge ramp toward its span; -1 on other tiles.
    int32_t RampDirection() const;

    // --- drawing ---
    // The street frame (through the ground cache unless direct) or, for a bridge, its main frame.
    // tint != 0 draws in the traffic colour, directly only.
    void Draw(float sx, float sy, int32_t tint, int32_t direct, float planeX, float planeY, int32_t onScreen);
    void DrawBridge(float sx, float sy, int32_t tint);
    void DrawTrafficLights(float sx, float sy);
    void DrawMask(float sx, float sy);
    void drawPath(float sx, float sy);
    void useTraffiLightColor() const;
    int32_t getCol();

    std::vector<int32_t> way_path_frame, way_path_col;
    TRoadLayer* roadLayer = nullptr;
    std::shared_ptr<TStreet> s;
    int32_t x = 0, y = 0;
    int32_t bridge = 0;
    int32_t bridgeKind = 0;
    std::weak_ptr<TRoad> b_parent;
    std::vector<std::shared_ptr<TRoad>> b_childs;
    int32_t b_frame = -1, b_sframe = -1;
    int32_t Frame = 20;
    int32_t maskframe = 0;
    std::array<std::shared_ptr<TCar>, 4> car;
    std::array<std::shared_ptr<TCar>, 4> carpos;
    int32_t _col = 0;
    std::shared_ptr<TTicker> _tfticker;
    int32_t _tfcounter = 0;
    int32_t _tfframe = 0;
    float traffic = 0;
    int32_t lastTrafficCheck = 0;
    std::array<int32_t, 4> checkFor{};
    TIgn ign{0, 0, 0, 0};
    int32_t destroyed = 0;
    int32_t useLevel = 0;

    // The bridge's head: the parent, or the tile itself.
    std::shared_ptr<TRoad> BridgeHead();

private:
    // Draws a frame only when the image has it (plugin images may be short).
    static bool _HasFrame(const std::shared_ptr<class TImage>& img, int32_t frame);
};
