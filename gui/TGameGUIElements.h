#pragma once
#include <cstdint>
#include <map>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "gui/TGUIGadget.h"
#include "gui/TGameCommands.h"

class TBridgeTool;
class TBuilding;
class TBuildingTool;
class TBuildTool;
class TGUI;
class TGUIElement;
class TInputSnapshot;
class TLoadTool;
class TMainTool;
class TSettingsTool;
class TStatisticsTool;
class TTaxTool;
class TTextFieldTool;
class TRoad;
class TStartBuildTool;
class TStartRoadTool;
class THideTool;
class TLayer;
class TMiniMapTool;
class TMultiFunctionalTool;
class TTouchMouseTool;
class TTutorialTool;

namespace vesko {
class TTouchPoint;
}

// The game's tool set: creates every panel, places them from the gadget records, drives them
// each frame and writes their places back at the end.
class TGameGUIElements {
public:
    using TTouchPoints = std::span<const std::shared_ptr<vesko::TTouchPoint>>;

    // The text field reads the keyboard from event (none: typing is off).
    static std::shared_ptr<TGameGUIElements> Create(const TGameCommands& game, const std::shared_ptr<TLayer>& layer,
                                                    const std::shared_ptr<TGUI>& gui, TInputSnapshot* event = nullptr);
    ~TGameGUIElements();
    // Draws the GUI with the tooltip at tooltipPos (the alternate lines when no gadget there has
    // one), runs the panels, feeds the touch points to the touch objects and the key hits to the
    // gadgets.
    void Update(TTouchPoints touchPoints, const std::vector<int32_t>& tooltipPos, const std::vector<std::string>& lines,
                const std::string& id, TGUIGadget::TKeyHits keyHits);
    void Destroy();
    // Places and shows the panels as their records say, each kept inside the screen.
    void _setConfigs();
    // Moves shown panels that meet one placed before them to the nearest free place on screen.
    void _keepApart(float w, float h);
    // Copies every panel's place and visibility into its record.
    void _getConfigs();
    // The screen changed size from oldW x oldH to the GUI's size: every panel keeps its place
    // relative to the screen, is pushed fully on screen and kept apart from the others; what is
    // shown and open stays so (a road being laid, a text being typed).
    void Relayout(float oldW, float oldH);

    // The menu's build entries open the build tool with their category.
    void runBuildRoad();
    void runBuildResidentalBuilding();
    void runBuildComercialBuilding();
    void runBuildIndustrialBuilding();
    void runBuildParkBuilding();
    void runBuildPublicBuilding();
    void runBuildAwardBuilding();
    void runDestroyMode();
    static int32_t _runBuildRoad(void* context);
    static int32_t _runBuildResidentalBuilding(void* context);
    static int32_t _runBuildComercialBuilding(void* context);
    static int32_t _runBuildIndustrialBuilding(void* context);
    static int32_t _runBuildParkBuilding(void* context);
    static int32_t _runBuildPublicBuilding(void* context);
    static int32_t _runBuildAwardBuilding(void* context);
    static int32_t _runDestroyMode(void* context);
    // Opens the building info for a building chosen on the map (or turns it to that building).
    void runBuildingInfoTool(const std::shared_ptr<TBuilding>& building);
    // The world's bridge choice after a road crossed water, and its report of removed roads.
    void runChooseBridge(const std::vector<std::shared_ptr<TRoad>>& roads);
    void callRoadRemoved(const std::vector<std::shared_ptr<TRoad>>& roads);
    static int32_t _runChooseBridge(void* context, const std::vector<std::shared_ptr<TRoad>>& roads);
    static int32_t _callRoadRemoved(void* context, const std::vector<std::shared_ptr<TRoad>>& roads);
    static int32_t _toggleMiniMap(void* context);
    static int32_t _miniMapVisible(void* context);
    static int32_t _toggleHideTool(void* context);
    static int32_t _hideToolVisible(void* context);
    // "Speichern": the text field asks for the name, with the city's name as the default; the
    // cursor stands at its end, so Return saves at once.
    void runSaveTool();
    static int32_t _runSaveTool(void* context);
    // The text field's answer. A name of blanks only is refused, and so is at first a name whose
    // save exists (the field stays open and the message line says why; OK again with the same
    // name writes over it). Otherwise the game saves under that name and the field closes, the
    // game telling how it went.
    int32_t saveWithName(const std::string& name);
    static int32_t _saveWithName(void* context, const std::string& name);

    // The panels with their gadget record names, in placing order.
    std::vector<std::pair<std::string, TGUIElement*>> Panels() const;
    // Whether a panel is shown at start as its record says (the others start hidden).
    static bool ShownFromRecord(const std::string& name);

    TGameCommands game;
    std::shared_ptr<TGUI> gui;
    std::shared_ptr<TLayer> layer;
    TInputSnapshot* event = nullptr;
    float smallButton_Radius = 12.0f;
    float button_Radius = 20.0f;
    float viewGadget_Radius = 70.0f;
    std::shared_ptr<TTextFieldTool> textFieldTool;
    std::shared_ptr<TMultiFunctionalTool> mft;
    std::shared_ptr<TMiniMapTool> mmt;
    std::shared_ptr<TTouchMouseTool> tmt;
    std::shared_ptr<TBuildTool> buildTool;
    std::shared_ptr<TMainTool> mainTool;
    std::shared_ptr<THideTool> hideTool;
    std::shared_ptr<TBridgeTool> bridgeTool;
    std::shared_ptr<TBuildingTool> buildingTool;
    std::shared_ptr<TTutorialTool> tutorialTool;
    std::shared_ptr<TTaxTool> taxTool;
    std::shared_ptr<TLoadTool> loadTool;
    std::shared_ptr<TSettingsTool> settingsTool;
    std::shared_ptr<TStatisticsTool> statisticsTool;
    std::shared_ptr<TStartRoadTool> startRoad;
    std::shared_ptr<TStartBuildTool> startResidental, startComercial, startIndustrial, startPark, startPublic,
        startAward;

private:
    // Each shown panel's place, as fractions of the screen, from before the first of a run of new
    // sizes; forgotten when the panel is dragged or closed.
    std::map<std::string, std::pair<float, float>> relayoutPlaces;
    // The save (its file name) the player was asked about writing over in this edit.
    std::string _overwriteAsked;
    void generate();
    void _prepareBuildObjects();
    void _fillMenu();
};
