#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"
#include "platform/TCatalogue.h"

class TGUI;
class TLayer;
class TPicturePlugin;
class TStreet;
class TTouchMouseTool;

namespace vesko {
class TCFunc;
class TCPicture;
class TCText;
class TTGUIGadget;
}  // namespace vesko

// The panel to choose what to build: a round preview of the chosen road or building, an info
// bubble with its price and properties, five tech-level buttons, previous and next. While it
// is open the world stays in the matching editing mode, so touching the map builds the choice.
// In demolition, previous and next change the size of the area. A category opens on the tech
// level nearest the selected one that offers something; a level chosen by its button is shown
// even when empty, so the lit button always tells what the bubble lists.
class TBuildTool : public TGUIElement {
public:
    static constexpr int32_t RoadToolMode = 0, BuildToolMode = 1, DestroyToolMode = 2;
    static constexpr int32_t Color_Default = 0, Color_Light = 1, Color_Dark = 2, Color_Red = 3, Color_Green = 4,
                             Color_Yellow = 5, Color_Blue = 6;
    static constexpr int32_t infoLines = 9;
    using TRoadLevels = std::array<std::vector<std::shared_ptr<TStreet>>, 5>;
    using TBuildingLevels = std::array<std::vector<std::shared_ptr<TPicturePlugin>>, 5>;

    static std::shared_ptr<TBuildTool> Create(const std::shared_ptr<TGUI>& gui, float r,
                                              const std::shared_ptr<TLayer>& layer,
                                              const std::shared_ptr<TTouchMouseTool>& tmt, float viewRadius);

    void startRoadTool(const TRoadLevels& lists);
    void startBuildTool(const TBuildingLevels& lists, int32_t colour);
    void startDestroyTool();
    // Context: a TStartRoadTool, a TStartBuildTool, the tool itself.
    static int32_t _startRoadTool(void* starter);
    static int32_t _startBuildTool(void* starter);
    static int32_t _startDestroyTool(void* tool);

    void showTool() override;
    void hideTool() override;
    void HIDE() override;
    void changeState() override;
    void endTool();
    void Update();
    void updateTool();

    void setRoad(int32_t index);
    int32_t findRoadIndex(const std::shared_ptr<TStreet>& street) const;
    void setBuilding(int32_t index);
    int32_t findBuildingIndex(const std::shared_ptr<TPicturePlugin>& plugin) const;
    void nextBuilding();
    void prevBuilding();
    void techlevelEvent() { updateTool(); }
    static int32_t _nextBuilding(void* tool);
    static int32_t _prevBuilding(void* tool);
    static int32_t _techlevelEvent(void* tool);
    static int32_t _closeTool(void* tool);
    static int32_t _showTouchMouseTool(void* tool);
    static int32_t _cmdTechlevelAction(vesko::TTGUIGadget& gadget);

    void selectTechlevel(int32_t n);
    int32_t getSelectedTechlevel() const;
    void SetViewGadgetColor(int32_t n);
    void setIcon(const std::shared_ptr<TImage>& image);
    void clearInfoText();
    void SetInfoText(const std::string& text, int32_t line, int32_t colour);
    void updateRoadGraphic();
    void updateBuildingGraphic();
    void updateDestroyGraphic();
    void updateRoadInfo(int32_t index);
    void updateBuildingInfo(int32_t index);
    void updateDestroyInfo();

    // While a building is being placed the ground shows its influence mask: green where every
    // need of the building is met, yellow to orange where the needs are met in part (a house
    // there is less content and holds fewer people), red where a service is missing or a
    // nuisance is too strong (a house there stays empty; where the nuisance is too strong
    // nothing may be built). The legend beside the bubble says so, one line per colour.
    struct TLegendLine {
        uint8_t r, g, b;
        const char* text;
    };
    static constexpr std::array<TLegendLine, 3> influenceLegend{{{0, 255, 0, TrNoop("Versorgt")},
                                                                 {255, 210, 0, TrNoop("Teilweise versorgt")},
                                                                 {255, 0, 0, TrNoop("Unversorgt oder verschmutzt")}}};
    // Whether the ground shows the chosen building's influence colours now.
    bool influenceLegendShown() const;
    // The legend above the bubble centred on (x, y), or below it where the screen's top is too near.
    void drawInfluenceLegend(float x, float y) const;
    static std::shared_ptr<void> _drawInfluenceLegend(vesko::TCFunc& content, float x, float y);

    std::shared_ptr<TGUI> gui;
    std::shared_ptr<TTouchMouseTool> tmt;
    std::shared_ptr<TGUIGadget> viewGadget;
    std::shared_ptr<vesko::TCPicture> viewGadgetColorLayer, viewGadgetImageLayer;
    float viewGadgetRadius = 70;
    // The radius of the round buttons on the preview and the bubble.
    float buttonRadius = 20;
    std::shared_ptr<TGUIGadget> techLevelParent, infoGadget;
    // Large enough for nine lines of the small font; the lines keep this far from its rim.
    float infoGadgetRadius = 90;
    static constexpr float infoTextPadding = 2;
    std::array<std::shared_ptr<TGUIGadget>, 5> cmdTechlevel;
    std::shared_ptr<TGUIGadget> cmdNext, cmdPrv, cmdBuild, cmdClose, cmdUndo;
    std::shared_ptr<TLayer> layer;
    int32_t activeTouchMouseTool = 0;
    std::array<std::shared_ptr<vesko::TCText>, infoLines> infoTextLines;
    int32_t currentMode = RoadToolMode;
    TRoadLevels currentTechlevelRoadList;
    std::vector<std::shared_ptr<TStreet>> currentRoadList;
    std::shared_ptr<TStreet> currentRoad;
    TBuildingLevels currentTechlevelBuildingList;
    std::vector<std::shared_ptr<TPicturePlugin>> currentBuildingList;
    std::shared_ptr<TPicturePlugin> currentBuilding;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float r, const std::shared_ptr<TLayer>& layer,
                  const std::shared_ptr<TTouchMouseTool>& tmt, float viewRadius);
    const vesko::TCRGBA& _textColour(int32_t colour) const;
    // Shows or hides the buttons that sit on the preview's children (tech levels, bubble buttons).
    void _showInnerButtons(bool techLevels, bool bubbleButtons);
};
