#pragma once
#include <cstdint>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

class TLayer;

// Writes a played game as a replay for vallmora-sim --replay: a header saying how the city
// began, then every change the player made as "<step> <script line>", and "<step> end" when
// the game ends. Each line is flushed as it is written, so a game that crashes leaves what it did.
//
//   vallmora-replay 1
//   map data/maps/128/001r.png     (or: load saves/city.sav)
//   seed 1234
//   rules growth
//   0 speed 1
//   412 road 30 64 32 64 street_town
//   9650 end
class TReplayRecorder {
public:
    static constexpr const char* firstLine = "vallmora-replay 1";

    // Null when the file cannot be written (the reason in message). start holds the header's
    // lines after the first.
    static std::unique_ptr<TReplayRecorder> Open(const std::string& path, const std::vector<std::string>& start,
                                                 std::string& message);
    // Records the world's changes from now on, starting with its speed.
    void Attach(TLayer& world);
    void Write(int64_t step, const std::string& line);
    // Writes the end line; the recorder writes nothing after it.
    void End(int64_t step);

private:
    std::ofstream out;
    bool ended = false;
};
