#include "app/TSimulator.h"

#include "app/TDayLine.h"

#include <cmath>
#include <cstdio>
#include <iostream>
#include <sstream>

#include "app/TFileLayout.h"
#include "app/TGame.h"
#include "framework/TFastRandom.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
#include "platform/TNumberText.h"
#include "platform/TRecordingBackend.h"
#include "platform/TStream.h"
#include "plugins/TPicturePlugin.h"
#include "plugins/TStreetPlugin.h"
#include "world/TBuildCommand.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/TCheat.h"
#include "world/TDestroyCommand.h"
#include "world/THabitant.h"
#include "world/THabitantControl.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"
#include "world/TRoadCommand.h"
#include "world/TRoadLayer.h"
#include "world/TStreet.h"

namespace {

constexpr const char* usage =
    "Usage: vallmora-sim [--map PNG] [--seed N] [--rules classic|growth] [--script FILE] | --replay FILE";

bool ParseInt(const std::string& text, int32_t& value) {
    if (text.empty()) return false;
    size_t i = (text[0] == '-' || text[0] == '+') ? 1 : 0;
    if (i == text.size()) return false;
    for (size_t k = i; k < text.size(); ++k) {
        if (text[k] < '0' || text[k] > '9') return false;
    }
    const long long v = std::stoll(text.size() > 12 ? text.substr(0, 12) : text);
    if (v < INT32_MIN || v > INT32_MAX) return false;
    value = int32_t(v);
    return true;
}

bool ParseFloat(const std::string& text, float& value) {
    if (text.empty()) return false;
    char* end = nullptr;
    value = std::strtof(text.c_str(), &end);
    return end && *end == '\0' && std::isfinite(value);
}

std::vector<std::string> Words(const std::string& line) {
    std::vector<std::string> words;
    std::istringstream in(line);
    for (std::string w; in >> w;) words.push_back(w);
    return words;
}

std::string Join(const std::vector<std::string>& words) {
    std::string line;
    for (const auto& w : words) line += (line.empty() ? "" : " ") + w;
    return line;
}


}  // namespace

int32_t TSimulator::Main(int32_t argc, char** argv) {
    if (!TFileLayout::ForSimulator(TPaths::TSituation::Current(), std::cerr)) return 1;
    std::string mapPath = "data/maps/128/001r.png", scriptPath, rules = THabitantControl::growthId;
    int32_t seed = 1;
    for (int32_t i = 1; i < argc; ++i) {
        const std::string arg = argv[i];
        const bool hasValue = i + 1 < argc;
        if (arg == "--map" && hasValue) {
            mapPath = argv[++i];
        } else if (arg == "--script" && hasValue) {
            scriptPath = argv[++i];
        } else if (arg == "--replay" && hasValue && argc == 3) {
            return Replay(argv[++i], std::cout, std::cerr);
        } else if (arg == "--seed" && hasValue && ParseInt(argv[i + 1], seed)) {
            ++i;
        } else if (arg == "--rules" && hasValue && THabitantControl::Create(argv[i + 1])) {
            rules = argv[++i];
        } else {
            std::cerr << usage << '\n';
            return 2;
        }
    }
    std::string script;
    if (!scriptPath.empty() && !LoadBytes(scriptPath, script)) {
        std::cerr << "Script could not be read: " << scriptPath << '\n';
        return 2;
    }
    TSimulator sim;
    if (!sim.Init(mapPath, seed, rules)) return 1;
    std::cout << header << '\n';
    const int32_t rc = sim.RunScript(script, std::cout, std::cerr);
    std::cout.flush();
    return rc;
}

TSimulator::~TSimulator() {
    if (world) world->Destroy();
    world.reset();
    // Content and graphics of a headless run are the simulator's own.
    if (backend) {
        TLayer::DePrepare();
        TGraphics::EndGraphics();
    }
    if (clock) TClock::SetSource(nullptr);
}

bool TSimulator::Init(const std::string& mapPath, int32_t seed, const std::string& rules, bool firstStep) {
    backend = TGraphics::HeadlessGraphics(640, 480);
    TLayer::Init(640, 480);
    TLayer::LoadSettings();
    TLayer::Prepare(nullptr, nullptr);
    return InitWorld(mapPath, seed, rules, firstStep);
}

bool TSimulator::InitWorld(const std::string& mapPath, int32_t seed, const std::string& rules, bool firstStep) {
    // Every time comes from this clock: the run does not depend on the machine's speed.
    clock = std::make_shared<TManualClock>(1000);
    TClock::SetSource(clock);
    world = TLayer::LoadFromMap(mapPath, vesko::TFastRandom::Create(seed), uint32_t(seed));
    if (!world) {
        std::cerr << "No world could be made from the map " << mapPath << '\n';
        return false;
    }
    world->setCityName("Vallmora City");
    world->setMayorName("Vesko");
    world->midPosition(0);
    _Attach();
    world->setMoney(TGame::startMoney);
    world->setGameSpeed(defaultSpeed);
    if (auto control = THabitantControl::Create(rules)) world->habitantPool->hbtCrtl = control;
    // The first step runs the first day change, as the game's first frame does.
    if (firstStep) Step();
    return true;
}

void TSimulator::_Attach() {
    world->setEnoughMoneyToBuyFunc(_Enough, this);
    world->setExpendMoneyFunc(_Expend, this);
}

std::string TSimulator::Load(const std::string& path) {
    std::string message;
    auto loaded = TLayer::Load(path, message);
    if (!loaded) return message;
    world->Destroy();
    world = loaded;
    world->MakeCurrent();
    _Attach();
    return message;
}

int32_t TSimulator::_Enough(void* context, float amount) {
    auto* sim = static_cast<TSimulator*>(context);
    return (sim && sim->world && (sim->world->getMoney() - amount >= 0.0f || amount <= 0.0f)) ? 1 : 0;
}

int32_t TSimulator::_Expend(void* context, float amount) {
    if (!_Enough(context, amount)) return 0;
    auto* sim = static_cast<TSimulator*>(context);
    sim->world->setMoney(sim->world->getMoney() - amount);
    return 1;
}

int32_t TSimulator::RunScript(const std::string& text, std::ostream& out, std::ostream& err) {
    std::istringstream lines(text);
    std::string line;
    for (int32_t number = 1; std::getline(lines, line); ++number) {
        const size_t hash = line.find('#');
        if (hash != std::string::npos) line.erase(hash);
        const std::vector<std::string> words = Words(line);
        if (words.empty()) continue;
        if (!RunCommand(words, out, err)) {
            err << "Script line " << number << " cannot be read: " << line << '\n';
            return 2;
        }
    }
    return 0;
}

bool TSimulator::RunCommand(const std::vector<std::string>& w, std::ostream& out, std::ostream& err) {
    const std::string& cmd = w[0];
    const size_t n = w.size();
    int32_t a = 0, b = 0, c = 0, d = 0;
    float f = 0;
    std::string refusal;
    if (cmd == "road" && n == 6 && ParseInt(w[1], a) && ParseInt(w[2], b) && ParseInt(w[3], c) && ParseInt(w[4], d)) {
        refusal = Road(a, b, c, d, w[5]);
    } else if (cmd == "build" && n == 4 && ParseInt(w[2], a) && ParseInt(w[3], b)) {
        refusal = Build(w[1], a, b);
    } else if (cmd == "destroy" && n == 4 && ParseInt(w[1], a) && ParseInt(w[2], b) && ParseInt(w[3], c)) {
        refusal = Destroy(a, b, c);
    } else if (cmd == "tax" && n == 3 && ParseInt(w[1], a) && ParseFloat(w[2], f)) {
        if (a < 1 || a > THabitantPool::countTechlevel) {
            refusal = "no tax level " + w[1] + " (levels are 1 to 5)";
        } else {
            world->habitantPool->setTaxes(a, f);
        }
    } else if (cmd == "speed" && n == 2 && ParseFloat(w[1], f) && f >= 0.0f) {
        world->setGameSpeed(f);
    } else if (cmd == "cheat" && n == 2 && w[1] == "notime") {
        world->cheat->immediatelyBuild = 1;
    } else if (cmd == "days" && n == 2 && ParseInt(w[1], a) && a >= 0) {
        Days(a, out);
    } else if (cmd == "save" && n == 2) {
        if (!world->Save(w[1])) refusal = "the city could not be written to " + w[1];
    } else if (cmd == "load" && n == 2) {
        refusal = Load(w[1]);
    } else if (cmd == "stats" && n == 2) {
        auto file = TStream::WriteFile(w[1]);
        if (!file || !file->WriteString(StatsTable()) || !file->Close())
            refusal = "the history could not be written to " + w[1];
    } else if (cmd == "rules" && n == 2 && THabitantControl::Create(w[1])) {
        world->habitantPool->hbtCrtl = THabitantControl::Create(w[1]);
    } else if (cmd == "undo" && n == 1) {
        refusal = Undo();
    } else {
        return false;
    }
    if (!refusal.empty()) err << Join(w) << ": refused, " << refusal << '\n';
    return true;
}

void TSimulator::Step() {
    // The program's clock keeps pace with the world's, so nothing outside the world sees time
    // stand still.
    clock->Advance(TLayer::stepMs);
    world->Simulate();
}

void TSimulator::Days(int32_t n, std::ostream& out) {
    for (int32_t i = 0; i < n; ++i) {
        const int32_t day = world->currentDay;
        // At speed 0 time stands still: the day's line is printed without waiting forever.
        if (world->getGameSpeed() > 0.0f) {
            while (world->currentDay == day) Step();
        }
        out << DayLine() << '\n';
    }
}

std::string TSimulator::DayLine() const { return TDayLine::Of(*world); }

std::string TSimulator::StatsTable() const {
    std::string table = "year,month,inhabitants,employed,waiting,satisfaction,money,demand1,demand2,demand3,demand4,"
                        "demand5,income,expenses";
    for (int32_t k = 0; k < int32_t(TMoneyKind::count); ++k)
        table += std::string(",") + TCityHistory::KindId(TMoneyKind(k));
    table += '\n';
    // Amounts to a hundredth of a cent, so that a row's income and expenses are seen to add up
    // to its change of money to the cent.
    const auto amount = [](double value) { return "," + TDayLine::Fixed(value, 4); };
    for (const TMonthRecord& m : world->history.Months()) {
        table += std::to_string(m.year) + ',' + std::to_string(m.month) + ',' + std::to_string(m.inhabitants) + ',' +
                 std::to_string(m.employed) + ',' + std::to_string(m.waiting) + ',';
        table += TDayLine::Fixed(m.satisfaction, 3) + amount(m.money);
        for (float d : m.demand) table += "," + TDayLine::Fixed(d, 3);
        table += amount(m.Income()) + amount(m.Expenses());
        for (double f : m.flow) table += amount(f);
        table += '\n';
    }
    return table;
}

std::string TSimulator::_Run(std::unique_ptr<TEditCommand> command) {
    const std::string refusal = world->RunCommand(std::move(command)).reason;
    if (stepAfterCommand) Step();
    return refusal;
}

std::string TSimulator::Road(int32_t x1, int32_t y1, int32_t x2, int32_t y2, const std::string& streetId) {
    std::shared_ptr<TStreet> street;
    for (const auto& s : TStreet::streets) {
        if (s->plugin && s->plugin->id == streetId) street = s;
    }
    if (!street) return "unknown street id " + streetId;
    // The game's road tool may lay a road around a corner; a script's roads are straight.
    if (stepAfterCommand && x1 != x2 && y1 != y2) return "not a straight road";
    return _Run(std::make_unique<TRoadCommand>(street, x1, y1, x2, y2));
}

std::string TSimulator::Build(const std::string& pluginId, int32_t x, int32_t y) {
    auto plugin = std::dynamic_pointer_cast<TPicturePlugin>(TPlugin::Get(pluginId));
    if (!plugin || !plugin->IsBuilding() || !plugin->picture[0])
        return "unknown building id " + pluginId;
    return _Run(std::make_unique<TBuildCommand>(plugin, x, y));
}

std::string TSimulator::Destroy(int32_t x, int32_t y, int32_t size) {
    if (size < TLayer::minDestroySize || size > TLayer::maxDestroySize) return "size must be 1 to 8";
    return _Run(std::make_unique<TDestroyCommand>(x, y, size));
}

std::string TSimulator::Undo() {
    const std::string what = world->UndoCommand();
    if (stepAfterCommand) Step();
    return what.empty() ? "nothing to take back" : std::string();
}
