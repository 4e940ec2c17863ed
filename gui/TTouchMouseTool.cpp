#include "gui/TTouchMouseTool.h"

#include "framework/TCFunc.h"
#include "framework/TTouchGUI.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"

namespace {
constexpr float spotArm = 10.0f, spotGap = 3.0f;

// Cross hairs with an open centre, drawn dark under light so they show on any ground.
std::shared_ptr<void> DrawSpot(vesko::TCFunc&, float x, float y) {
    SetBlend(ALPHABLEND);
    SetAlpha(1.0f);
    for (int32_t pass = 0; pass < 2; ++pass) {
        const float d = pass == 0 ? 1.0f : 0.0f;
        const int32_t c = pass == 0 ? 0 : 255;
        SetColor(c, c, c);
        for (const float sign : {-1.0f, 1.0f}) {
            DrawLine(x + sign * spotGap + d, y + d, x + sign * spotArm + d, y + d);
            DrawLine(x + d, y + sign * spotGap + d, x + d, y + sign * spotArm + d);
        }
    }
    SetColor(255, 255, 255);
    return nullptr;
}
}  // namespace

std::shared_ptr<TTouchMouseTool> TTouchMouseTool::Create(const std::shared_ptr<TGUI>& gui, float r) {
    auto t = std::make_shared<TTouchMouseTool>();
    t->generate(gui, r);
    return t;
}

void TTouchMouseTool::generate(const std::shared_ptr<TGUI>& gui, float r) {
    yDif = -2.0f * r;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;
    cmdOk = gui->AddRoundButton(2.0f * r + 2.0f, 0, r, cmdMove.get());
    cmdOk->setIcon(gui->buttonOkImg, Tr("Ok"));
    cmdOk->setGameFunc(_initClickEvent, this);
    cmdCancel = gui->AddRoundButton(4.0f * r + 4.0f, 0, r, cmdMove.get());
    cmdCancel->setIcon(gui->buttonCloseImg, Tr("Abbrechen"));
    cmdCancel->setGameFunc(TGUIElement::_hideTool, this);
    // The spot itself takes no touches: a tap there would land on the map beneath.
    gui->root->NewGadget(cmdOk->gadget->x, yDif, cmdMove->gadget.get(), nullptr, vesko::TCFunc::Load(DrawSpot));
}

void TTouchMouseTool::SetPosition(float x, float y) {
    cmdMove->gadget->SetPosition(x - cmdOk->gadget->x, y - (cmdOk->gadget->y + yDif), 1);
}

void TTouchMouseTool::GetPosition(float& x, float& y) const {
    x = GetX();
    y = GetY();
}

float TTouchMouseTool::GetX() const { return cmdOk->gadget->GetX(1); }

float TTouchMouseTool::GetY() const { return cmdOk->gadget->GetY(1) + yDif; }

std::vector<float> TTouchMouseTool::getArrPosition() const {
    if (!isVisible()) return {};
    return {GetX(), GetY()};
}

int32_t TTouchMouseTool::hitEvent() {
    const int32_t c = clickEvent;
    clickEvent = 0;
    return c;
}

int32_t TTouchMouseTool::_initClickEvent(void* context) {
    if (auto* t = static_cast<TTouchMouseTool*>(context)) t->initClickEvent();
    return 0;
}
