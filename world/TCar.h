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
//
// No car waits for good. Cars wait for slots other cars hold, so full lanes that run in a
// circle (around a block, through a crossing, along a dead end's turn) can wait on each other
// in a ring that no move of theirs can break. A car that has stood detourAfter seconds takes
// any way on that is open, not only the one it prefers; one that has stood giveUpAfter seconds
// leaves the road and frees its slots (its building starts it again later where there is room).
// In a ring of waiting cars every car waits, so one of them leaves within giveUpAfter and the
// others move up: every jam clears at the latest then, and sooner once its cause is gone.
class TCar : public std::enable_shared_from_this<TCar> {
public:
    static constexpr int32_t blend_FadeIn = 0, blend_Solid = 1, blend_BeforeFadeOut = 2, blend_FadeOut = 3,
                             blend_InVisible = 4;
    // Seconds of standing (program clock) after which a car takes any open way on, and after
    // which it leaves the road. Longer than any red light (6 s at most).
    static constexpr float detourAfter = 10.0f, giveUpAfter = 30.0f;

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
    // Seconds the car has stood on its lane position since its last move was done.
    float Waited() const;

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
    // Progress of the current move, 0 ... 1. Past 1 it goes on counting while the car stands,
    // so that _pr - 1 is its wait in moves (saved with the car, so a loaded car waits on).
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
    // The road a move with align a leads to (the car's own tile for a move within it) and the
    // position g it arrives at; null beyond the grid, without a road or against a red light.
    std::shared_ptr<TRoad> _Target(const TRoadLayer& grid, int32_t width, int32_t height, int32_t a, int32_t& g) const;
    // Moves to position g of t with the align idx there; used = the align of this move.
    void _MoveTo(const std::shared_ptr<TRoad>& t, int32_t g, int32_t used, int32_t idx);
    // A car that has stood long: one of the open ways on (every align of its position, every
    // align where it arrives, slots shared as a jammed car may), chosen at random. False when
    // none is open.
    bool _Detour(const TRoadLayer& grid, int32_t width, int32_t height);
};
