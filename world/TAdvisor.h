#pragma once
#include <cstdint>
#include <string>

class TLayer;

// One piece of advice for the player: what holds the city back most, in a short German text
// (the key of its translation), and the place it is about, when there is one.
struct TAdvice {
    enum class TReason { Nothing, NoRoad, NoJobs, MissingService, Pollution, HighTaxes, Jam };

    TReason reason = TReason::Nothing;
    // German, marked with TrNoop; "%1" stands for the influence's name where one is named.
    const char* text = "";
    // The influence kind named (a service or a nuisance of TInfluenceLayer); -1 for none.
    int32_t kind = -1;
    // The place: a building's origin tile and footprint, or a road tile (1 × 1).
    bool hasPlace = false;
    int32_t x = 0, y = 0, w = 0, h = 0;

    // The text in the language in use, the influence's name filled in.
    std::string Shown() const;
    // The map point the camera centres on: the middle of the place.
    float CentreX() const { return float(x) + 0.5f * float(w); }
    float CentreY() const { return float(y) + 0.5f * float(h); }
    bool operator==(const TAdvice& o) const;
};

// Judges the city and names the biggest thing holding it back. Judging reads the world and
// changes nothing; the world keeps the day's advice and judges again on the next day or after
// an editing command, so asking every frame costs nothing.
class TAdvisor {
public:
    // A car standing this long (seconds) or a road tile whose smoothed traffic (cars on the tile,
    // four lanes at most) reaches jamTraffic counts as a jam.
    static constexpr float jamTraffic = 2.0f;
    static constexpr float jamWaitSeconds = 10.0f;
    // Houses with jobless inhabitants whose way to work is searched at most per judgement.
    static constexpr int32_t maxJobSearches = 16;

    static TAdvice Judge(const TLayer& world);

    // The advice of the world's current day, judged when first asked that day.
    const TAdvice& Current(const TLayer& world);
    // The city changed: the next question judges again.
    void Forget() { judged = false; }

private:
    TAdvice advice;
    bool judged = false;
    int32_t day = 0;
};
