#pragma once
#include <cstdint>
#include <iosfwd>
#include <memory>
#include <string>
#include <vector>

class TEditCommand;
class TLayer;
class TManualClock;
class TRecordingBackend;

// The city without a window: a world from a map image and a seed, driven by a script through
// the same editing modes a player uses, advanced in the world's fixed steps, reporting
// one line per game day. The same seed and script give the same lines, byte for byte.
class TSimulator {
public:
    static constexpr float defaultSpeed = 4.0f;
    static inline const char* const header =
        "day money inhabitants waiting employed satisfaction buildings finished cars";

    // Exit codes of Main: 0 done, 1 no world (no data folder, map or content missing), 2 bad script or arguments.
    static int32_t Main(int32_t argc, char** argv);

    ~TSimulator();
    // Headless: the settings and content behind a recording back end, then the world.
    // rules: the rule set's id ("classic", as a pool is made, or "growth").
    // firstStep: run the first step (the first day change) at once, as scripts expect.
    bool Init(const std::string& mapPath, int32_t seed, const std::string& rules = "classic", bool firstStep = true);
    // The world from the map on the content already loaded (by Init, or by a program with a
    // window, which draws frames itself); false (with a message) when there is no world.
    bool InitWorld(const std::string& mapPath, int32_t seed, const std::string& rules = "classic",
                   bool firstStep = true);
    // Runs a script text; lines go to out, refusals to err. Returns 0, or 2 at a line that
    // cannot be parsed (with its number on err).
    int32_t RunScript(const std::string& text, std::ostream& out, std::ostream& err);
    // One command line (already stripped of its comment); false when it cannot be parsed.
    bool RunCommand(const std::vector<std::string>& words, std::ostream& out, std::ostream& err);

    // Plays a replay the game recorded (TReplayRecorder) and prints the day lines its --daily
    // printed; refusals go to err as the script's do. 2 (with one line on err) for a file that
    // is no replay of this version, is truncated, or names plugins this content does not have.
    static int32_t Replay(const std::string& path, std::ostream& out, std::ostream& err);

    // Advances whole game days, printing each day's line after its update.
    void Days(int32_t n, std::ostream& out);
    void Step();
    std::string DayLine() const;

    // The editing commands, as the game's editing modes run them; each returns an empty text
    // when done, else why it was refused (the player's German reason for what the map refuses).
    std::string Road(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& streetId);
    std::string Build(const std::string& pluginId, int32_t x, int32_t y);
    // The square of size × size tiles with its corner on (x, y).
    std::string Destroy(int32_t x, int32_t y, int32_t size);
    // Takes back the newest editing command.
    std::string Undo();
    // Replaces the world by the city saved at path; refused (the world stays) with the reason.
    // A city loaded without objects whose plugins are gone is reported the same way.
    std::string Load(const std::string& path);
    // The world's closed months as CSV: a header line, then one line per row of the history.
    std::string StatsTable() const;

    std::shared_ptr<TLayer> world;
    // The clock every time of the run comes from.
    TManualClock* GetClock() const { return clock.get(); }

private:
    // Runs the command in the world, then one step, as a click in the game would (a replay
    // takes its steps from the recording instead).
    std::string _Run(std::unique_ptr<TEditCommand> command);
    bool stepAfterCommand = true;
    // The world's money callbacks answered by this simulator.
    void _Attach();
    static int32_t _Enough(void* context, float amount);
    static int32_t _Expend(void* context, float amount);

    std::shared_ptr<TManualClock> clock;
    std::shared_ptr<TRecordingBackend> backend;
};
