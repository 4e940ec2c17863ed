#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "app/TSoundView.h"
#include "platform/TAudioBackend.h"

// Decides what is heard when: the interface's and the city's event sounds (panned to their
// place on screen, softer the further the view is zoomed out) and the ambience loops that follow
// what is in view. At "Pause" only the interface and the weather sound. Reads "Sound", "Sound
// volume" and "Ambience volume" from TSettings on every call, so the settings panel acts at once.
// It draws no numbers from the world's generator: thunder's timing has a generator of its own.
class TSoundDirector {
public:
    enum TSoundId : int32_t {
        Click,
        Road,
        Build,
        Demolish,
        Refused,
        Money,
        Finished,
        Milestone,
        Thunder,
        // The ambience loops, in the order of AmbienceLevels.
        Birds,
        Wind,
        Hum,
        Traffic,
        Rain,
        SoundCount
    };
    static constexpr int32_t firstLoop = Birds;
    static constexpr int32_t loopCount = SoundCount - Birds;
    using TLevels = std::array<float, loopCount>;
    // The file names (without ".wav") under folder.
    static const std::array<const char*, SoundCount> names;
    static constexpr const char* folder = "data/sounds";
    // Finished buildings and cars on screen at which the hum and the traffic are at their loudest.
    static constexpr float fullCity = 60.0f, fullTraffic = 25.0f;
    // The view scale below which event sounds soften, and the least they soften to.
    static constexpr float softestScale = 0.25f;
    // A pan never goes fully to one side: a sound at the screen's edge is heard on both.
    static constexpr float widestPan = 0.8f;

    // The device's director, or a silent one (with one line saying so) when there is no device.
    static std::unique_ptr<TSoundDirector> Open();
    // A director over a back end (null: silent) and the sounds by TSoundId (null: that one silent).
    TSoundDirector(std::unique_ptr<TAudioBackend> backend, std::vector<std::shared_ptr<const TSound>> sounds);
    ~TSoundDirector();

    // An interface sound: in the middle, at the sound volume, also at "Pause".
    void Interface(TSoundId id);
    // A sound of the city from screen x in a view of that width, at the view's scale; not at "Pause".
    void AtPlace(TSoundId id, float screenX, float viewWidth, float scale, bool paused);
    // Once a frame: the loops glide to what the view asks for; in a storm, thunder now and then
    // (nowMs: a clock in milliseconds).
    void Frame(const TSoundView& view, int32_t nowMs);
    // Every loop stops (the game ended).
    void Silence();

    // The loops' levels for a view, 0 … 1 before the ambience volume (birds, wind, hum,
    // traffic, rain).
    static TLevels AmbienceLevels(const TSoundView& view);
    static float PanAt(float screenX, float viewWidth);
    // The volume factor of the view's scale: 1 from scale 1 on, less as the view zooms out.
    static float Softening(float scale);

    TAudioBackend* Backend() const { return backend.get(); }

private:
    void _play(TSoundId id, float volume, float pan);
    uint32_t _random();

    std::unique_ptr<TAudioBackend> backend;
    std::vector<std::shared_ptr<const TSound>> sounds;
    std::array<TAudioBackend::TVoice, loopCount> loops{};
    int32_t nextThunderMs = -1;
    uint32_t thunderState = 0x9E3779B9u;
};
