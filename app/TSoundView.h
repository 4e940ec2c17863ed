#pragma once
#include <cstdint>

class TLayer;

// What of the world in view the ambience follows: nature (forest and water) as a share of the
// view, finished buildings and cars on screen, the weather, and whether the city is paused.
struct TSoundView {
    // Points sampled across the view for the nature share (columns × rows).
    static constexpr int32_t sampleColumns = 16, sampleRows = 12;

    float nature = 0;
    int32_t buildings = 0;
    int32_t cars = 0;
    float rain = 0;
    float storm = 0;
    bool paused = false;

    // The census of the world's current view. Reads the world only; nothing in it changes.
    static TSoundView Of(const TLayer& world);
};
