#include "gui/THideTool.h"

#include <cmath>
#include <numbers>

#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "world/TLayer.h"

std::shared_ptr<THideTool> THideTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const std::shared_ptr<TLayer>& layer) {
    auto t = std::make_shared<THideTool>();
    t->generate(gui, buttonRadius, layer);
    return t;
}

void THideTool::generate(const std::shared_ptr<TGUI>& g, float r, const std::shared_ptr<TLayer>& l) {
    gui = g;
    buttonRadius = r;
    layer = l;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;
    struct TToggle {
        std::shared_ptr<TGUIGadget>* gadget;
        std::shared_ptr<TImage> TGUI::*icon;
        const char* tooltip;
    };
    const TToggle toggles[] = {
        {&cmdResidental, &TGUI::buttonHideResidentalImg, TrNoop("Wohngebäude ausblenden")},
        {&cmdComercial, &TGUI::buttonHideComercialImg, TrNoop("Geschäftsgebäude ausblenden")},
        {&cmdIndustrial, &TGUI::buttonHideIndustrialImg, TrNoop("Industriegebäude ausblenden")},
        {&cmdPark, &TGUI::buttonHideParkImg, TrNoop("Öffentliche Parks ausblenden")},
        {&cmdPublic, &TGUI::buttonHidePublicImg, TrNoop("Öffentliche Gebäude ausblenden")},
        {&cmdAward, &TGUI::buttonHideAwardImg, TrNoop("Preisgebäude ausblenden")},
        {&cmdTree, &TGUI::buttonHideForestImg, TrNoop("Bäume ausblenden")},
        {&cmdCar, &TGUI::buttonHideCarsImg, TrNoop("Autos ausblenden")},
        {&cmdSmoke, &TGUI::buttonHideSmokeImg, TrNoop("Qualm ausblenden")},
    };
    // The nine toggles on a ring about the move button, touching each other.
    const float ring = r / std::sin(std::numbers::pi_v<float> / 9.0f) + 1.0f;
    for (size_t i = 0; i < std::size(toggles); ++i) {
        const float a = -0.5f * std::numbers::pi_v<float> + float(i) * 2.0f * std::numbers::pi_v<float> / 9.0f;
        auto b = gui->AddRoundButton(std::round(ring * std::cos(a)), std::round(ring * std::sin(a)), r, cmdMove.get());
        b->setIcon((*gui).*toggles[i].icon, Tr(toggles[i].tooltip));
        b->gadget->EventFunc = _cmdAction;
        *toggles[i].gadget = b;
    }
}

int32_t THideTool::_cmdAction(vesko::TTGUIGadget& gadget) {
    // Each press turns the toggle over; it stays so after the release.
    if (gadget.hit && gadget.mode == 0) gadget.State = 1 - gadget.State;
    gadget._RefreshTouchObjects();
    return 0;
}

void THideTool::Update() {
    if (!layer) return;
    const auto on = [](const std::shared_ptr<TGUIGadget>& g) { return g->gadget->State != 0 ? 1 : 0; };
    layer->hideBuildings(on(cmdAward), on(cmdComercial), on(cmdIndustrial), on(cmdPublic), on(cmdPark),
                         on(cmdResidental), on(cmdTree));
    if (on(cmdCar)) layer->HideCars();
    if (on(cmdSmoke)) layer->HideSmoke();
}
