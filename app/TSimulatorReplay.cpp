// vallmora-sim --replay: a game recorded with vallmora --record played again step by step.
#include <cstdlib>
#include <iostream>
#include <sstream>
#include <string>
#include <vector>

#include "app/TReplayRecorder.h"
#include "app/TSimulator.h"
#include "app/TMenu.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "world/THabitantControl.h"
#include "world/TLayer.h"
#include "world/TStreet.h"
#include "plugins/TStreetPlugin.h"

namespace {

struct TEvent {
    int64_t step = 0;
    std::vector<std::string> words;
    int32_t line = 0;
};

struct TReplay {
    std::string map = TNewGame::startMap, load, rules = THabitantControl::growthId;
    int32_t seed = 1;
    std::vector<TEvent> events;
};

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

bool ParseStep(const std::string& text, int64_t& step) {
    if (text.empty() || text.size() > 15 || text.find_first_not_of("0123456789") != std::string::npos) return false;
    step = std::stoll(text);
    return true;
}

// The replay's header and events; an empty text, else why the file cannot be played.
std::string Parse(const std::string& text, TReplay& replay) {
    std::istringstream lines(text);
    std::string line;
    if (!std::getline(lines, line) || line != TReplayRecorder::firstLine)
        return "is no replay of this version (its first line must be \"" + std::string(TReplayRecorder::firstLine) +
               "\")";
    bool ended = false;
    for (int32_t number = 2; std::getline(lines, line); ++number) {
        const auto w = Words(line);
        if (w.empty()) continue;
        const std::string where = "line " + std::to_string(number);
        if (ended) return where + " follows the end line";
        int64_t step = 0;
        if (ParseStep(w[0], step)) {
            if (w.size() < 2) return where + " has a step but no command";
            if (!replay.events.empty() && step < replay.events.back().step) return where + " goes back in steps";
            replay.events.push_back({step, {w.begin() + 1, w.end()}, number});
            ended = w[1] == "end";
        } else if (!replay.events.empty() || w.size() != 2) {
            return where + " cannot be read: " + line;
        } else if (w[0] == "map") {
            replay.map = w[1];
        } else if (w[0] == "load") {
            replay.load = w[1];
        } else if (w[0] == "seed") {
            char* end = nullptr;
            const long v = std::strtol(w[1].c_str(), &end, 10);
            if (!end || *end || v < INT32_MIN || v > INT32_MAX) return where + " has no seed: " + line;
            replay.seed = int32_t(v);
        } else if (w[0] == "rules" && THabitantControl::Create(w[1])) {
            replay.rules = w[1];
        } else {
            return where + " cannot be read: " + line;
        }
    }
    if (!ended) return "ends before its end line (truncated?)";
    return {};
}

// The plugin a command names when this content does not have it, else empty.
std::string UnknownPlugin(const std::vector<std::string>& w) {
    if (w[0] == "build" && w.size() == 4) {
        auto p = std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(w[1]));
        if (!p || !p->picture[0]) return w[1];
    }
    if (w[0] == "road" && w.size() == 6) {
        for (const auto& s : TStreet::streets) {
            if (s->plugin && s->plugin->id == w[5]) return {};
        }
        return w[5];
    }
    return {};
}

}  // namespace

int32_t TSimulator::Replay(const std::string& path, std::ostream& out, std::ostream& err) {
    std::string text;
    if (!LoadBytes(path, text)) {
        err << "Replay could not be read: " << path << '\n';
        return 2;
    }
    TReplay replay;
    if (const std::string fault = Parse(text, replay); !fault.empty()) {
        err << "Replay " << path << ' ' << fault << '\n';
        return 2;
    }
    TSimulator sim;
    if (!sim.Init(replay.map, replay.seed, replay.rules, false)) return 1;
    if (!replay.load.empty()) {
        if (const std::string refusal = sim.Load(replay.load); !refusal.empty()) {
            err << "Replay " << path << ": the city " << replay.load << " cannot be loaded: " << refusal << '\n';
            return 2;
        }
    }
    for (const auto& e : replay.events) {
        if (const std::string unknown = UnknownPlugin(e.words); !unknown.empty()) {
            err << "Replay " << path << " line " << e.line << " names a plugin this game does not have: " << unknown
                << '\n';
            return 2;
        }
    }
    sim.stepAfterCommand = false;
    out << header << '\n';
    // As the game's --daily: a line whenever a step (or the load) brought a new day.
    int32_t printed = -1;
    const auto dayLine = [&] {
        if (sim.world->currentDay == printed) return;
        printed = sim.world->currentDay;
        out << sim.DayLine() << '\n';
    };
    dayLine();
    for (const auto& e : replay.events) {
        while (sim.world->Steps() < e.step) {
            sim.Step();
            dayLine();
        }
        if (e.words[0] == "end") break;
        if (!sim.RunCommand(e.words, out, err)) {
            err << "Replay " << path << " line " << e.line << " cannot be read\n";
            return 2;
        }
    }
    return 0;
}
