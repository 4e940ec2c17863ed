#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class TBuilding;
class TCarVehicle;
class TRoad;
class TRoadLayer;
class TTicker;
namespace vesko {
class TFastRandom;
}

// A car of a building: it stands on one lane position of one road tile and moves lane by lane
// along the road grid with the move table, obeying traffic lights and never entering a lane
// slot another car holds. It fades in when created and fades out over one more move when asked.
class TCar : public std::enable_shared_from_this<TCar> {
public:
    static constexpr int32_t blend_FadeIn = 0, blend_Solid = 1, blend_BeforeFadeOut = 2, blend_FadeOut = 3,
                             blend_InVisible = 4;

    // Null only without a road. frame < 0 picks one of the vehicle's pictures at random.
    static std::shared_ptr<TCar> Create(const std::shared_ptr<TCarVehicle>& vehicle, const std::shared_ptr<TRoad>& road,
                                        const TRoadLayer& grid, const std::shared_ptr<TBuilding>& building,
                                        int32_t frame);
    void SetPosition(const std::shared_ptr<TRoad>& road, const TRoadLayer& grid);
    void Update(const TRoadLayer& grid, int32_t width, int32_t height);
    // Align 0 when it is a candidate, else a random candidate (-1 without candidates).
    int32_t GetAlign(const std::vector<int32_t>& candidates);
    void Draw(float sx, float sy, float scaleX, float scaleY);
    void fadeOut();
    // Gives up the car's slots on its tile.
    void remove();
    // 1 while the car holds its position slot on a road that was not destroyed.
    int32_t IsActive() const;

    // The move table: from lane position p with align a, the step (dx, dy) to a neighbour tile
    // (0, 0 = stay on the tile) and the position g arrived at. 0 for p or a outside 0 ... 3.
    static int32_t _Move(int32_t p, int32_t a, int32_t& dx, int32_t& dy, int32_t& g);

    // The owner; weak, because a building's cars may still fade out after it is gone.
    std::weak_ptr<TBuilding> b;
    std::shared_ptr<TCarVehicle> c;
    int32_t carFrame = 0;
    std::shared_ptr<TTicker> ticker;
    float x = 0, y = 0;
    std::array<int32_t, 4> _frame{2, 1, 0, 3};
    std::shared_ptr<TRoad> _r;
    int32_t _p = 0;
    int32_t _a = 0;
    int32_t __a = 0;
    float _pr = 0;
    int32_t jam = 0;
    int32_t prfALign = 0;
    int32_t blendMode = blend_FadeIn;
    int32_t mustDeleted = 0;

private:
    // Random choices (lane position, align, picture) come from the world's generator, reached
    // through the road layer of the car's tile; null when there is none.
    vesko::TFastRandom* _Random() const;
    // Drops every slot of the car's tile that holds this car.
    void _ReleaseSlots();
    // Takes align a and position p on road t, releasing the slots on the current tile first.
    void _Occupy(const std::shared_ptr<TRoad>& t, int32_t p, int32_t a);
};
