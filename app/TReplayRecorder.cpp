#include "app/TReplayRecorder.h"

#include "world/TLayer.h"

std::unique_ptr<TReplayRecorder> TReplayRecorder::Open(const std::string& path, const std::vector<std::string>& start,
                                                       std::string& message) {
    auto r = std::make_unique<TReplayRecorder>();
    r->out.open(path, std::ios::binary | std::ios::trunc);
    if (!r->out) {
        message = "The replay cannot be written to " + path;
        return nullptr;
    }
    r->out << firstLine << '\n';
    for (const auto& line : start) r->out << line << '\n';
    r->out.flush();
    return r;
}

void TReplayRecorder::Attach(TLayer& world) {
    Write(world.Steps(), "speed " + TLayer::ScriptNumber(world.getGameSpeed()));
    world.recorder = [this, &world](const std::string& line) { Write(world.Steps(), line); };
}

void TReplayRecorder::Write(int64_t step, const std::string& line) {
    if (ended) return;
    out << step << ' ' << line << '\n';
    out.flush();
}

void TReplayRecorder::End(int64_t step) {
    Write(step, "end");
    ended = true;
}
