#include "gui/TMultiFunctionalTool.h"

#include "framework/TTGUIGadget.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TImage.h"

std::shared_ptr<TMultiFunctionalTool> TMultiFunctionalTool::Create(float x, float y, const std::shared_ptr<TGUI>& gui,
                                                                   float smallRadius, float radius) {
    auto t = std::make_shared<TMultiFunctionalTool>();
    // The anchor is a small drag handle above the column, the panel's position.
    const float handleScale = gui->circleImg ? 2.0f * smallRadius / float(gui->circleImg->width) : 1.0f;
    t->moveButton = gui->AddMoveButton(x, y, nullptr, gui->circleImg, handleScale);
    t->moveButton->SetTooltip(Tr("Verschieben"));
    t->_mainGadget = t->moveButton;
    t->smallRadius = smallRadius;
    t->generate(gui, radius);
    return t;
}

void TMultiFunctionalTool::generate(const std::shared_ptr<TGUI>& g, float r) {
    gui = g;
    buttonRadius = r;
    const std::shared_ptr<TImage> icons[3] = {gui->buttonBuildImg, gui->buttonViewImg, gui->buttonSettingsImg};
    const char* const tips[3] = {TrNoop("Bauen"), TrNoop("Anzeige"), TrNoop("Optionen")};
    std::shared_ptr<TGUIGadget>* mains[3] = {&cmdBuild, &cmdView, &cmdOptions};
    for (int32_t i = 0; i < 3; ++i) {
        // The column hangs below the handle, centred under it.
        const float y = smallRadius + 2.0f + float(2 * i + 1) * r;
        auto b = gui->AddRoundButton(0, y, r, moveButton.get(), 0, 0, 0, gui->sidebarButtonImg);
        b->setIcon(icons[i], Tr(tips[i]));
        b->gadget->EventFunc = TGUIGadget::RingEventAction;
        *mains[i] = b;
    }
}

std::shared_ptr<TGUIGadget> TMultiFunctionalTool::addChild(const std::shared_ptr<TImage>& image,
                                                           const std::string& tooltip, TGUIGadget::TGameFunc action,
                                                           void* actionContext, TGUIGadget& parent,
                                                           TGUIGadget::TGameFunc stateFunc, void* stateContext) {
    const int32_t n = parent.gadget->children->CountChildren() + 1;
    auto child = gui->AddRoundButton(2.0f * float(n) * buttonRadius, 0, buttonRadius, &parent);
    child->setIcon(image, tooltip);
    child->setGameFunc(action, actionContext);
    // A row follows its main button; it is laid out towards the side with room instead.
    child->SetAutoCorrectPositionEnable(0);
    if (stateFunc) {
        stateButtons.push_back(child);
        child->gadget->EventFunc = _cmdStateAction;
        auto c = std::make_shared<TStateFuncContainer>();
        c->func = stateFunc;
        c->obj = stateContext;
        child->container = c;
    }
    if (parent.gadget->State == 0) child->gadget->HIDE();
    for (int32_t i = 0; i < 3; ++i) {
        if (MainButtons()[size_t(i)] == &parent) rows[i].push_back(child);
    }
    return child;
}

std::shared_ptr<TGUIGadget> TMultiFunctionalTool::addBuildChild(const std::shared_ptr<TImage>& image,
                                                                const std::string& tooltip,
                                                                TGUIGadget::TGameFunc action, void* actionContext) {
    return addChild(image, tooltip, action, actionContext, *cmdBuild);
}

std::shared_ptr<TGUIGadget> TMultiFunctionalTool::addViewChild(const std::shared_ptr<TImage>& image,
                                                               const std::string& tooltip, TGUIGadget::TGameFunc action,
                                                               void* actionContext, TGUIGadget::TGameFunc stateFunc,
                                                               void* stateContext) {
    return addChild(image, tooltip, action, actionContext, *cmdView, stateFunc, stateContext);
}

std::shared_ptr<TGUIGadget> TMultiFunctionalTool::addOptionsChild(const std::shared_ptr<TImage>& image,
                                                                  const std::string& tooltip,
                                                                  TGUIGadget::TGameFunc action, void* actionContext) {
    return addChild(image, tooltip, action, actionContext, *cmdOptions);
}

int32_t TMultiFunctionalTool::_cmdStateAction(vesko::TTGUIGadget& gadget) {
    if (gadget.hit && gadget.mode == 0) gadget.State = 1 - gadget.State;
    return vesko::TTGUIGadget::DefaultEventAction(gadget);
}

void TMultiFunctionalTool::Update() {
    if (!isVisible()) return;
    for (const auto& b : stateButtons) {
        b->gadget->State = std::static_pointer_cast<TStateFuncContainer>(b->container)->Call() ? 1 : 0;
        b->gadget->_RefreshTouchObjects();
    }
    const float screenWidth = float(gui->xmax);
    for (int32_t i = 0; i < 3; ++i) {
        TGUIGadget& main = *MainButtons()[size_t(i)];
        bool chosen = false;
        for (const auto& c : rows[i]) chosen = chosen || c->hit;
        if (chosen) {
            main.gadget->State = 0;
            main.gadget->hideChildren();
            main.gadget->_RefreshTouchObjects();
        }
        // A row that would leave the screen on the right unfolds to the left.
        const float n = float(rows[i].size());
        const float side = main.gadget->GetX(1) + (2.0f * n + 1.0f) * buttonRadius > screenWidth ? -1.0f : 1.0f;
        for (size_t k = 0; k < rows[i].size(); ++k) rows[i][k]->gadget->x = side * 2.0f * float(k + 1) * buttonRadius;
    }
}

void TMultiFunctionalTool::SHOW() {
    TGUIElement::SHOW();
    for (TGUIGadget* main : MainButtons()) {
        if (main->gadget->State == 1) {
            main->gadget->showChildren();
        } else {
            main->gadget->hideChildren();
        }
    }
}

void TMultiFunctionalTool::HIDE() {
    TGUIElement::HIDE();
    for (TGUIGadget* main : MainButtons()) main->gadget->hideChildren();
}
