#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"

class TGUI;
class TImage;

// A state button's question: is the thing it switches on?
class TStateFuncContainer {
public:
    int32_t Call() const { return func ? func(obj) : 0; }
    TGUIGadget::TGameFunc func = nullptr;
    void* obj = nullptr;
};

// The main menu: three round buttons in a column (build, view, options), each folding out a
// row of child buttons to its right. One row is unfolded at a time, and choosing a child
// folds its row in again.
class TMultiFunctionalTool : public TGUIElement {
public:
    static std::shared_ptr<TMultiFunctionalTool> Create(float x, float y, const std::shared_ptr<TGUI>& gui,
                                                        float smallRadius, float radius);
    std::shared_ptr<TGUIGadget> addChild(const std::shared_ptr<TImage>& image, const std::string& tooltip,
                                         TGUIGadget::TGameFunc action, void* actionContext, TGUIGadget& parent,
                                         TGUIGadget::TGameFunc stateFunc = nullptr, void* stateContext = nullptr);
    std::shared_ptr<TGUIGadget> addBuildChild(const std::shared_ptr<TImage>& image, const std::string& tooltip,
                                              TGUIGadget::TGameFunc action, void* actionContext);
    std::shared_ptr<TGUIGadget> addViewChild(const std::shared_ptr<TImage>& image, const std::string& tooltip,
                                             TGUIGadget::TGameFunc action, void* actionContext,
                                             TGUIGadget::TGameFunc stateFunc = nullptr, void* stateContext = nullptr);
    std::shared_ptr<TGUIGadget> addOptionsChild(const std::shared_ptr<TImage>& image, const std::string& tooltip,
                                                TGUIGadget::TGameFunc action, void* actionContext);
    void Update();
    void SHOW() override;
    void HIDE() override;
    // The state flips on a hit, then the usual event action runs.
    static int32_t _cmdStateAction(vesko::TTGUIGadget& gadget);
    // The three main buttons, in column order.
    std::vector<TGUIGadget*> MainButtons() const { return {cmdBuild.get(), cmdView.get(), cmdOptions.get()}; }

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    float smallRadius = 0;
    std::shared_ptr<TGUIGadget> moveButton;
    std::shared_ptr<TGUIGadget> cmdBuild, cmdView, cmdOptions;
    std::vector<std::shared_ptr<TGUIGadget>> stateButtons;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float radius);
    // Children of each main button, to fold a row in when one of them fired.
    std::vector<std::shared_ptr<TGUIGadget>> rows[3];
};
