#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <vector>

#include "framework/TCRGBA.h"
#include "gui/TGUIElement.h"

class TBuilding;
class TGUI;
class THabitant;
class TImage;
class TLayer;
class TPicturePlugin;

namespace vesko {
class TCFunc;
class TCGroup;
class TCPicture;
class TTGUIGadget;
}  // namespace vesko

// The round panel about one building chosen on the map: a view with a border in the colour of
// the building's kind and its info lines, three tabs (info, influences, people), a close and a
// jump-to button. While open, the world marks the building and its commuter routes. The
// building is held weakly and asked IsValid before every use: a demolished building closes the
// panel at the next update and is never shown nor kept alive by it.
class TBuildingTool : public TGUIElement, public std::enable_shared_from_this<TBuildingTool> {
public:
    static constexpr int32_t influenceKinds = 15;

    static std::shared_ptr<TBuildingTool> Create(const std::shared_ptr<TGUI>& gui, float smallButtonRadius,
                                                 float buttonRadius, const std::shared_ptr<TLayer>& layer,
                                                 float viewGadgetRadius);

    // Opens the panel for the building; an open panel turns to it. A null or demolished building
    // changes nothing.
    void startBuildingTool(const std::shared_ptr<TBuilding>& building);
    void endTool();
    void showTool() override;
    void hideTool() override;
    void Close() { hideTool(); }
    void jumpTo();
    void SHOW() override;
    void HIDE() override;
    void Destroy() override;
    // Once per frame: closes the panel for a demolished building, otherwise redraws it and marks
    // the building and its routes.
    void Update();

    void redrawTool();
    void redrawBorder(const std::shared_ptr<TPicturePlugin>& plugin);
    void setBorderColor(const std::shared_ptr<TImage>& image);
    // Selects the tab and clears the others.
    void selectTab(const std::shared_ptr<TGUIGadget>& tab);
    // The first selected of info, influences and people; null when none is.
    std::shared_ptr<TGUIGadget> getSelectedTab() const;
    const vesko::TCRGBA& _getSatisfactionColor(float value) const;
    // Red when empty, green when full (or without room), yellow between.
    const vesko::TCRGBA& _getFullnessColor(float fullness) const;
    void drawInfluence(int32_t kind, float x, float y);
    void drawHabitant(const THabitant& h, float x, float y);
    void onTabEvent() {}
    // The building shown while it stands; null otherwise.
    std::shared_ptr<TBuilding> getBuilding() const;

    static int32_t _jumpTo(void* context);
    static int32_t _close(void* context);
    static int32_t _onTabEvent(void* context);
    // Radio tabs: a touched tab is selected and its siblings cleared.
    static int32_t _cmdTabAction(vesko::TTGUIGadget& gadget);
    static std::shared_ptr<void> _drawInfluence(vesko::TCFunc& func, float x, float y);
    static std::shared_ptr<void> _drawHabitant(vesko::TCFunc& func, float x, float y);

    std::shared_ptr<TGUI> gui;
    float smallButtonRadius = 0;
    float buttonRadius = 0;
    std::shared_ptr<TGUIGadget> viewGadget;
    std::shared_ptr<vesko::TCPicture> viewGadgetColorLayer;
    std::shared_ptr<vesko::TCGroup> viewGadgetContentLayer;
    float viewGadgetRadius = 0;
    std::shared_ptr<TGUIGadget> prntTab;
    std::shared_ptr<TGUIGadget> cmdClose, cmdJumpTo;
    std::shared_ptr<TGUIGadget> tabInfo, tabInfluence, tabPeople;
    std::shared_ptr<TGUIGadget> prntInfluence, prntPeople;
    std::vector<std::shared_ptr<TGUIGadget>> cmdInfluences;
    std::array<float, influenceKinds> arrInfluences{};
    std::vector<std::shared_ptr<TGUIGadget>> cmdPeoples;
    std::vector<std::weak_ptr<THabitant>> arrPeoples;
    std::shared_ptr<TLayer> layer;
    std::weak_ptr<TBuilding> currentBuilding;
    std::shared_ptr<TGUIGadget> currentTab;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float smallButtonRadius, float buttonRadius,
                  const std::shared_ptr<TLayer>& layer, float viewGadgetRadius);
    std::shared_ptr<TGUIGadget> _addTab(const std::shared_ptr<TImage>& image, const std::string& tooltip);
    // A round button under parent whose normal and pressed looks draw through func.
    std::shared_ptr<TGUIGadget> _addDrawnButton(float x, float y, float r, TGUIGadget& parent,
                                                const std::shared_ptr<vesko::TCFunc>& func);
    void _redrawInfoTab(const TBuilding& b);
    void _redrawInfluenceTab(const TBuilding& b);
    void _redrawPeopleTab(const TBuilding& b);
    void _setInfoText(const std::vector<std::string>& lines, const std::vector<vesko::TCRGBA>& colours);
};
