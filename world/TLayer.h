#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <variant>
#include <vector>

#include "platform/TCallback.h"
#include "world/TCityHistory.h"
#include "world/TEditCheck.h"

namespace vesko {
class TFastRandom;
}
class TAdvisor;
class TBuilding;
class TBuildingLayer;
class TCar;
class TCheat;
struct TCitySummary;
class TEditCommand;
class TEditHistory;
class TGroundLayer;
class THabitantPool;
class TInfluenceLayer;
class TISO;
class TManualClock;
class TMiniMap;
class TPicturePlugin;
class TPixmap;
class TRoad;
class TRoadLayer;
class TStreet;
class TTicker;
class TTimeSystem;
class TTree;
class TWay;
class TWeatherLayer;

// The world: map size, camera, the map layers, minimap, calendar, money and names, and the
// callbacks through which the game supplies money handling and text formatting. The game calls
// Update once per frame; it draws the world and advances the simulation.
class TLayer {
public:
    using TProgressFunc = TCallback<void(const std::string& path)>;
    // Something that stands on the map and can be pointed at, centred on or credited.
    using TThing = std::variant<std::monostate, std::shared_ptr<TBuilding>, std::shared_ptr<TRoad>,
                                std::shared_ptr<TTree>, std::shared_ptr<TCar>>;
    using TRoadList = std::vector<std::shared_ptr<TRoad>>;
    using TMoneyFunc = TCallback<int32_t(float amount)>;
    using TMoneyTextFunc = TCallback<std::string(float amount)>;
    using TDateTextFunc = TCallback<std::string(int32_t weekday, int32_t day, int32_t month, int32_t year)>;
    using TShowMoneyFunc = TCallback<int32_t(float amount, const TThing& thing)>;
    using TRoadsFunc = TCallback<int32_t(const TRoadList& roads)>;
    using TConfirmFunc = TCallback<int32_t()>;
    // A build permission: 0 forbids building the plugin's building now.
    using TAllowFunc = TCallback<int32_t(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y)>;
    // Told why an editing action of the player was refused.
    using TRefusedFunc = TCallback<void(const std::string& reason)>;
    // Told news for the player (a population milestone), in the language in use.
    using TMessageFunc = TCallback<void(const std::string& text)>;
    // Told of an editing command that was carried out (a road, a building, a demolition).
    using TEditedFunc = TCallback<void(const TEditCommand& command)>;
    // Told of a building whose construction finished.
    using TBuildingFunc = TCallback<void(const std::shared_ptr<TBuilding>& building)>;

    static constexpr float minScale = 0.5f;
    static constexpr float maxScale = 4.0f;
    static constexpr float scaleStep = 1.41421356f;
    static constexpr int32_t scaleTimeMS = 500;
    static constexpr int32_t glideTimeMS = 200;
    static constexpr int32_t minDestroySize = 1;
    static constexpr int32_t maxDestroySize = 8;
    // Larger maps are refused: the ground, object grid and outer ring need memory per tile.
    static constexpr int64_t maxMapTiles = int64_t(2048) * 2048;

    // The view size a new world starts with, in pixels (the window's); 0 until Init or the first
    // world takes the graphics size.
    static inline int32_t defaultViewWidth = 0;
    static inline int32_t defaultViewHeight = 0;
    // This world's view size in pixels.
    int32_t viewWidth = 0;
    int32_t viewHeight = 0;

    // --- set-up ---
    // Reads vallmora.cfg, options.cfg and gadgets.cfg from the settings folder (TPaths; cfg/ in
    // the source layout).
    static void LoadSettings();
    // Writes gadgets.cfg into the settings folder.
    static int32_t SaveGagdgetSettings();
    // Format version written into "main"; files of a newer version are refused.
    static constexpr int32_t saveVersion = 3;
    // Writes the whole city to path through a temporary file: the map's size and view ("main"),
    // each layer's sections, then inhabitants, cars, calendar, weather, the random generator and
    // the city's history.
    // 1 on success, 0 when it cannot be written (an older file stays as it was).
    int32_t Save(const std::string& path);
    // The city saved at path, going on exactly where it was saved; null when the file is
    // refused, with the reason for the player (German) in message. Objects whose plugins no
    // longer exist are left out and listed in message, which is empty after a clean load.
    // Nothing of the running world is touched, and the new world is not made current.
    static std::shared_ptr<TLayer> Load(const std::string& path, std::string& message);
    // Reads only the "main" section of the city saved at path into summary; false (summary
    // empty) when the file is no readable save of this or an older version.
    static bool ReadSummary(const std::string& path, TCitySummary& summary);
    static void Init(int32_t viewWidth, int32_t viewHeight);
    // The view took a new size (the window was resized): the camera's centre stays where it
    // is, and the ground cache, laid out for the old size, is drawn again.
    void SetViewSize(int32_t width, int32_t height);
    // Loads the world's content behind the loading screen; progressFunc sees each plugin file's
    // path just before it is read.
    static void Prepare(TProgressFunc::Function progressFunc, void* progressObj);
    // Forgets everything Prepare loaded into the world's shared state (plugins, street types,
    // shared pictures, ground plugins, the block cache), so the next Prepare or test starts clean.
    static void DePrepare();
    // Null (with a line on standard output) for a size the world cannot hold.
    static std::shared_ptr<TLayer> Create(int32_t width, int32_t height,
                                          const std::shared_ptr<vesko::TFastRandom>& random);
    // A world built from a map image (one pixel per tile, bottom row = map row 0); null when
    // the image cannot be loaded or is refused.
    static std::shared_ptr<TLayer> LoadFromImage(const std::string& url,
                                                 const std::shared_ptr<vesko::TFastRandom>& random);
    // A world built from a map pixmap in the colours of TMapColours (one pixel per tile, bottom
    // row = map row 0); null for an empty pixmap or a size the world cannot hold.
    static std::shared_ptr<TLayer> LoadFromPixmap(const TPixmap& pixmap,
                                                  const std::shared_ptr<vesko::TFastRandom>& random);
    // A world from a map named by text: a map image's path, or a map painted from the seed
    // (TMapPainter::Spec). Null when the image cannot be loaded.
    static std::shared_ptr<TLayer> LoadFromMap(const std::string& map,
                                               const std::shared_ptr<vesko::TFastRandom>& random, uint32_t seed);
    // Eases 0 … 1 into 0 … 1 (half a cosine wave).
    static float smooth(float t);
    // The most recently created world (null once it was destroyed).
    static TLayer* Current() { return _current; }
    // Makes this world the current one (a loaded world, once the game takes it).
    void MakeCurrent() { _current = this; }

    ~TLayer();
    void Destroy();

    // --- frame ---
    // A drawn frame: the edit modes follow the pointer, the world is drawn and the view glides
    // and zooms. Drawing only reads the city; the city moves on in Simulate.
    void Update(int32_t x, int32_t y, int32_t hit, int32_t pointerOverGUI);

    // --- simulation ---
    // The world's own clock starts at clockStart when the world is made or loaded and moves
    // stepMs per step, whatever the program's clock says.
    static constexpr uint32_t clockStart = 1000;
    static constexpr int32_t stepMs = 20;
    // One step of the city: the calendar, the cars, the traffic lights, the influence rebuild,
    // the buildings' daily moments and the day, month and year changes, all on the world's clock.
    // A seed and the same commands at the same steps give the same city.
    void Simulate();
    // Steps simulated since the world was made or loaded.
    int64_t Steps() const { return steps; }
    // Every change a player makes to the city (editing commands, undo, speed, taxes, cheats) as a
    // line of the simulator's script, handed to the recorder at the step it takes effect on.
    std::function<void(const std::string& line)> recorder;
    void Record(const std::string& line) const {
        if (recorder) recorder(line);
    }
    // A number as a script line writes it: it reads back as the same float.
    static std::string ScriptNumber(float value);

    // --- camera ---
    float getWidth(int32_t scaled) const;
    float getHeight(int32_t scaled) const;
    void SetPosition(float x, float y, int32_t check, int32_t glide);
    float GetX() const;
    float GetY() const;
    void Move(float dx, float dy);
    void midPosition(int32_t glide);
    int32_t focusOnThis(const TThing& thing, int32_t glide);
    // Puts the map point (in tiles) under the screen centre.
    void focusOn(float mx, float my, int32_t glide);
    int32_t getPosOfThis(const TThing& thing, float& x, float& y) const;
    void zoomIn(float f);
    void zoomOut(float f);
    void Scale(float fx, float fy);
    void SetMapScale(float sx, float sy, int32_t keepCentre);
    void getMapTileSize(int32_t& w, int32_t& h) const;
    // Whether the camera may take this pan: the screen centre must stay on the map.
    int32_t _MoveInView(float panX, float panY) const;

    // --- queries ---
    int32_t _InField(int32_t x, int32_t y) const;
    int32_t _InView(float sx, float sy, float h) const;
    TThing getThingAtPos(float sx, float sy) const;
    std::shared_ptr<TBuilding> getBuildingAtPos(float sx, float sy) const;
    int32_t IsFree(int32_t x, int32_t y) const;

    // --- display switches (set every frame by the GUI when wanted) ---
    void ShowTrafficColors();
    void HideSmoke();
    void HideCars();
    void HideThings(float sx, float sy);
    void hideBuildings(int32_t award, int32_t commercial, int32_t industrial, int32_t publicBuilding, int32_t park,
                       int32_t residential, int32_t trees);

    // --- map editing hand-overs ---
    int32_t _SetGround(int32_t x, int32_t y, int32_t water, const std::shared_ptr<TPicturePlugin>& plugin);
    void _PlantTree(int32_t x, int32_t y, int32_t frame);
    void setDestroySize(int32_t size);
    int32_t getDestroySize() const { return dm_size; }
    int32_t biggerDestroySize();
    int32_t smallerDestroySize();
    float _WaterPercentage(int32_t x, int32_t y, int32_t w, int32_t h) const;
    // One road tile of the street at (level kind, index variant) of the street registry.
    void _BuildRoad(int32_t x, int32_t y, int32_t kind, int32_t variant);
    void ClearField(int32_t x, int32_t y, int32_t w, int32_t h);
    void ClearTile(int32_t x, int32_t y);
    // The one way things leave the map (destroy mode and ClearField alike): removes each thing
    // that is still there, then tells the road-destroyed listeners which roads went.
    void _Demolish(const std::vector<TThing>& things);
    void ShowRoadMask();

    // --- editing modes (one at a time; run by Update with the pointer) ---
    void BeginRoadMode(const std::shared_ptr<TStreet>& street, TConfirmFunc::Function func, void* context);
    void BeginBuildMode(const std::shared_ptr<TPicturePlugin>& plugin, TConfirmFunc::Function func, void* context);
    void BeginDestroyMode(TConfirmFunc::Function func, void* context);
    void EndMode();
    int32_t isRoadMode() const { return roadmode; }
    int32_t isBuildMode() const { return buildmode; }
    int32_t isDestroyMode() const { return destroymode; }
    void _UpdateRoadMode(int32_t x, int32_t y, int32_t hit);
    void _UpdateDestroyMode(int32_t x, int32_t y, int32_t hit);
    void _UpdateBuildMode(int32_t x, int32_t y, int32_t hit);
    // Whether the plugin's building may stand with its origin on tile (x, y): on the map, no
    // water, every tile free, a road along it (unless it needs none).
    int32_t _CanBuild(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y) const;
    void _Build(const std::shared_ptr<TPicturePlugin>& plugin, float x, float y);
    int32_t _isInfMaskAllowingToBuild(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y) const;

    // --- build permissions ---
    void regAllowToBuildFunction(TAllowFunc::Function f, void* context);
    // Whether every build permission lets the plugin's building stand with its origin on (x, y).
    int32_t _allowedToBuild(const std::shared_ptr<TPicturePlugin>& plugin, int32_t x, int32_t y);
    void regSomeFuncs();
    static int32_t _ableToBuildBuilding(void* context, const std::shared_ptr<TPicturePlugin>& plugin, int32_t x,
                                        int32_t y);

    // --- editing commands ---
    // Runs an editing command through the history (so it can be taken back); a refusal goes to
    // the refused callback. The check's answer.
    TEditCheck RunCommand(std::unique_ptr<TEditCommand> command);
    // Takes back the newest editing command of this sitting; what it was, empty when none.
    std::string UndoCommand();
    void setRefusedFunc(TRefusedFunc::Function f, void* obj) { refusedFunc = {f, obj}; }
    void setMilestoneFunc(TMessageFunc::Function f, void* obj) { milestoneFunc = {f, obj}; }
    void setEditedFunc(TEditedFunc::Function f, void* obj) { editedFunc = {f, obj}; }
    void setFinishedFunc(TBuildingFunc::Function f, void* obj) { finishedFunc = {f, obj}; }

    // --- highlighting ---
    // A preview of the building on its own tile this frame in a colour code of
    // TBuildingLayer (previewOwnColour: its minimap colour).
    void markBuilding(const std::shared_ptr<TBuilding>& building, int32_t colour, int32_t flag);
    // Highlights a route in the next frame drawn: its end buildings (except the given one) and
    // its roads in the target building's colour.
    void _markWay(const std::shared_ptr<TWay>& way, const std::shared_ptr<TBuilding>& building, int32_t flag);
    // Highlights the building and the routes to work of its inhabitants, or, for a building
    // without inhabitants, of its workers.
    void _markBuildingWays(const std::shared_ptr<TBuilding>& building, int32_t flag);

    // --- minimap ---
    void _RedrawMM(int32_t x, int32_t y);
    std::array<float, 8> _GetMiniMapOutline() const;
    int32_t _UpdateMiniMap(float x, float y, float w, float h, float px, float py, float& camX, float& camY);

    // --- money and text ---
    // Sets the money without booking it: a new city's start money, a loaded city, and the game's
    // callbacks inside expendMoney, which books their change.
    void setMoney(float m) { money = m; }
    float getMoney() const { return money; }
    int32_t enoughMoneyToBuy(float amount);
    // Pays through the game's callback (a negative amount is income) and books what it changed
    // of the money into the history as kind.
    int32_t expendMoney(float amount, TMoneyKind kind = TMoneyKind::other);
    // Adds to the money without asking the game (cheats) and books it as kind.
    void addMoney(float amount, TMoneyKind kind);
    std::string getRealMoney(float amount);
    std::string getRealDate(int32_t weekday, int32_t day, int32_t month, int32_t year);
    std::string getRealDateOfDay(float day);
    void setCityName(const std::string& n) { cityName = n; }
    const std::string& getCityName() const { return cityName; }
    void setMayorName(const std::string& n) { mayorName = n; }
    const std::string& getMayorName() const { return mayorName; }
    void setEnoughMoneyToBuyFunc(TMoneyFunc::Function f, void* obj) { _enoughMoneyToBuyGameFunc = {f, obj}; }
    void setExpendMoneyFunc(TMoneyFunc::Function f, void* obj) { _expendMoneyGameFunc = {f, obj}; }
    void setGetRealMoneyFunc(TMoneyTextFunc::Function f, void* obj) { _getRealMoneyFunc = {f, obj}; }
    void setGetRealDateFunc(TDateTextFunc::Function f, void* obj) { _getRealDateFunc = {f, obj}; }
    void setShowMoneyFunc(TShowMoneyFunc::Function f, void* obj) { showMoneyFunc = {f, obj}; }
    void setChooseBridgeFunc(TRoadsFunc::Function f, void* obj) { chooseBridgeFunc = {f, obj}; }
    void SetRandomGenerator(const std::shared_ptr<vesko::TFastRandom>& r) { random = r; }
    int32_t _callShowMoneyFunc(const TThing& thing, float amount);
    void AddOnRoadDestroyedFunc(TRoadsFunc::Function f, void* obj);
    void _callOnRoadDestroyed(const TRoadList& roads);
    float getTimeSpeed() const { return Time; }
    float getGameSpeed() const { return speed; }
    void setGameSpeed(float s);

    // --- steps of a frame (public for the tests) ---
    void _Draw(int32_t pointerOverGUI);
    void _Update();
    void _updateScale();
    void _updateMovement();
    void _updateTime();
    void _updateNewDay();
    void _updateNewMonth();
    void _updateNewYear() {}

    std::shared_ptr<TGroundLayer> GroundLayer;
    std::shared_ptr<TRoadLayer> RoadLayer;
    std::shared_ptr<TBuildingLayer> BuildingLayer;
    std::shared_ptr<TInfluenceLayer> InfluenceLayer;
    std::shared_ptr<TWeatherLayer> WeatherLayer;
    int32_t Width = 0, Height = 0;
    float _width = 0, _height = 0;
    std::shared_ptr<TISO> iso;
    float asx = 1, asy = 1;
    float tsx = 1, tsy = 1;
    std::shared_ptr<TTicker> scaleTicker;
    int32_t roadmode = 0;
    int32_t rm_sx = -1, rm_sy = -1;
    std::vector<int32_t> rm_xy;
    int32_t rm_x = -1, rm_y = -1;
    std::shared_ptr<TStreet> rm_s;
    int32_t rm_mode = 0;
    int32_t rm_cost = 0;
    TConfirmFunc rm_func;
    int32_t buildmode = 0;
    int32_t bm_mode = 0;
    std::shared_ptr<TPicturePlugin> bm_p;
    int32_t bm_cost = 0;
    int32_t bm_x = 0, bm_y = 0;
    TConfirmFunc bm_func;
    std::vector<TAllowFunc> allowToBuildFunctions;
    int32_t destroymode = 0;
    std::vector<int32_t> dm_x, dm_y;
    std::vector<TThing> dm_obj;  // dm_size x dm_size, index i * dm_size + j
    int32_t dm_cost = 0;
    int32_t dm_mode = 0;
    int32_t dm_size = 1;
    TConfirmFunc dm_func;
    std::shared_ptr<TMiniMap> mm;
    std::shared_ptr<TTicker> opt;
    float pr = 0;
    float Time = 1.0f;
    TRoadsFunc chooseBridgeFunc;
    float speed = 1.0f;
    TMoneyFunc _enoughMoneyToBuyGameFunc;
    TMoneyFunc _expendMoneyGameFunc;
    float money = 0;
    std::shared_ptr<THabitantPool> habitantPool;
    std::shared_ptr<TTimeSystem> timeSystem;
    float hour = 0;
    int32_t currentDay = -1;
    float currentDayPart = 0;
    int32_t dateWeekDay = 0, dateDay = 0, dateMonth = 0, dateYear = 0;
    static inline float defaultHoursASecond = 4.8f;
    std::string cityName, mayorName;
    TMoneyTextFunc _getRealMoneyFunc;
    TDateTextFunc _getRealDateFunc;
    std::shared_ptr<vesko::TFastRandom> random;
    // Drawing animates from this generator alone (smoke, lightning, changing water pictures), so
    // that what is on screen, and how often it is drawn, never changes the city's future: the
    // generator above decides everything the simulation depends on.
    std::shared_ptr<vesko::TFastRandom> drawRandom;
    // Every time the city reads while it simulates, is edited, saved or loaded comes from here.
    std::shared_ptr<TManualClock> clock;
    int64_t steps = 0;
    std::vector<TRoadsFunc> onRoadDestroyedFunc;
    float startMovementX = 0, startMovementY = 0, targetMovementX = 0, targetMovementY = 0;
    int32_t movementStartMS = -1;
    TShowMoneyFunc showMoneyFunc;
    std::shared_ptr<TCheat> cheat;
    std::shared_ptr<TEditHistory> editHistory;
    // The months' account and state, and the milestones reached.
    TCityHistory history;
    TMessageFunc milestoneFunc;
    TEditedFunc editedFunc;
    TBuildingFunc finishedFunc;
    // The day's advice for the player (what holds the city back most), judged again after each
    // editing command.
    std::shared_ptr<TAdvisor> advisor;
    TRefusedFunc refusedFunc;
    // Why the active editing mode cannot act on the place under the pointer, in the language in
    // use (as the refused callback's reasons); empty when it can.
    std::string modeReason;
    int32_t optRender = 0;
    int32_t enableRenderOpt = 0;

private:
    // Gives a world without a view size the one new worlds start with.
    void _EnsureViewSize();
    // Pointer to map position, and the see-through point of the building layer.
    void _ModeStart(int32_t x, int32_t y, float& fx, float& fy);
    static inline TLayer* _current = nullptr;
};
