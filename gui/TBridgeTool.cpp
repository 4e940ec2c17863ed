#include "gui/TBridgeTool.h"

#include <cmath>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "settings/TConfig.h"
#include "world/TRoad.h"
#include "world/TStreet.h"

namespace {
TBridgeTool* AsTool(void* context) { return static_cast<TBridgeTool*>(context); }

// The short bridge of the preview: (frame, step) from the left ramp over the span to the right
// ramp; the span's pieces come in pairs (deck and its side).
constexpr std::pair<int32_t, int32_t> previewSteps[] = {{3, -3},  {14, -2}, {18, -2}, {12, -1}, {17, -1}, {13, 0},
                                                       {16, 0},  {12, 1},  {17, 1},  {14, 2},  {18, 2},  {2, 3}};
}  // namespace

std::shared_ptr<TBridgeTool> TBridgeTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                 float viewRadius) {
    auto t = std::make_shared<TBridgeTool>();
    t->generate(gui, buttonRadius, viewRadius);
    return t;
}

void TBridgeTool::generate(const std::shared_ptr<TGUI>& g, float r, float R) {
    gui = g;
    buttonRadius = r;
    viewGadgetRadius = R;
    const TPreviewWindow view = gui->addPreviewWindow(0, 0, R);
    viewGadget = view.gadget;
    _mainGadget = viewGadget;
    viewGadgetBorderLayer = view.colorLayer;
    if (const auto& border = gui->preview_bridgeBorderImg) {
        viewGadgetBorderLayer->img = border;
        viewGadgetBorderLayer->Width = float(border->width);
        viewGadgetBorderLayer->Height = float(border->height);
        viewGadgetBorderLayer->MidHandle();
        viewGadgetBorderLayer->FitIn(2 * R, 2 * R, 1);
    }
    viewGadgetImageLayer = vesko::TCGroup::Create();
    viewGadgetTextLayer = vesko::TCGroup::Create();
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = TGUI::StateGroup(*viewGadget, s)) {
            group->addContent(viewGadgetImageLayer);
            group->addContent(viewGadgetTextLayer);
        }
    }
    cmdNext = gui->AddRoundButton(R + r, 0, r, viewGadget.get());
    cmdNext->setIcon(gui->buttonRightImg, Tr("Nächste Brücke"));
    cmdNext->setGameFunc(_callNext, this);
    cmdPrv = gui->AddRoundButton(-(R + r), 0, r, viewGadget.get());
    cmdPrv->setIcon(gui->buttonLeftImg, Tr("Vorherige Brücke"));
    cmdPrv->setGameFunc(_callPrv, this);
    cmdOk = gui->AddRoundButton(0, r + R, r, viewGadget.get());
    cmdOk->setIcon(gui->buttonOkImg, Tr("Brücke anwenden"));
    cmdOk->setGameFunc(_callOk, this);
}

void TBridgeTool::startTool(const TRoadList& pieces) {
    HIDE();
    currentBridge = pieces;
    currentBridgeKind = 0;
    currentStreet = pieces.empty() || !pieces.front() ? nullptr : pieces.front()->s;
    countBridgeKinds = currentStreet ? int32_t(currentStreet->bridgeImages.size()) : 0;
    if (_bridgeAble()) {
        Redraw();
        SHOW();
    }
}

bool TBridgeTool::_bridgeAble() const {
    if (!currentStreet || !currentStreet->bridgeAble || countBridgeKinds < 2) return false;
    for (const auto& r : currentBridge) {
        if (r && r->bridge) return true;
    }
    return false;
}

void TBridgeTool::roadRemoved(const TRoadList&) {
    for (const auto& r : currentBridge) {
        if (r && !r->IsValid()) {
            endTool();
            return;
        }
    }
}

void TBridgeTool::callNext() {
    if (countBridgeKinds <= 0) return;
    currentBridgeKind = currentBridgeKind + 1 >= countBridgeKinds ? 0 : currentBridgeKind + 1;
    _useBridge();
    Redraw();
}

void TBridgeTool::callPrv() {
    if (countBridgeKinds <= 0) return;
    currentBridgeKind = currentBridgeKind - 1 < 0 ? countBridgeKinds - 1 : currentBridgeKind - 1;
    _useBridge();
    Redraw();
}

void TBridgeTool::callOk() {
    if (currentBridge.empty()) return;
    _useBridge();
    HIDE();
    currentBridge.clear();
    currentStreet.reset();
    countBridgeKinds = 0;
}

int32_t TBridgeTool::_callNext(void* tool) {
    if (auto* t = AsTool(tool)) t->callNext();
    return 0;
}

int32_t TBridgeTool::_callPrv(void* tool) {
    if (auto* t = AsTool(tool)) t->callPrv();
    return 0;
}

int32_t TBridgeTool::_callOk(void* tool) {
    if (auto* t = AsTool(tool)) t->callOk();
    return 0;
}

void TBridgeTool::_useBridge() {
    for (const auto& r : currentBridge) {
        if (r && r->bridge && r->IsValid()) r->bridgeKind = currentBridgeKind;
    }
}

void TBridgeTool::Redraw() {
    _redrawPreview();
    std::string name;
    if (currentStreet && size_t(currentBridgeKind) < currentStreet->bridgeNames.size())
        name = TrContent(currentStreet->bridgeNames[size_t(currentBridgeKind)]);
    _drawText(name + " (" + std::to_string(currentBridgeKind + 1) + "/" + std::to_string(countBridgeKinds) + ")");
}

void TBridgeTool::_redrawPreview() {
    viewGadgetImageLayer->Clear();
    if (!currentStreet || size_t(currentBridgeKind) >= currentStreet->bridgeImages.size()) return;
    auto preview = vesko::TCFunc::Load(_drawPreview);
    preview->container = std::shared_ptr<void>(std::shared_ptr<void>(), this);
    viewGadgetImageLayer->addContent(preview);
}

std::shared_ptr<void> TBridgeTool::_drawPreview(vesko::TCFunc& content, float cx, float cy) {
    auto* t = static_cast<TBridgeTool*>(content.container.get());
    if (!t || !t->currentStreet || size_t(t->currentBridgeKind) >= t->currentStreet->bridgeImages.size()) return nullptr;
    TImage& image = *t->currentStreet->bridgeImages[size_t(t->currentBridgeKind)];
    const float sx = 0.5f * float(TConfig::tilewidth), sy = 0.5f * float(TConfig::tileheight);
    const float s = t->viewGadgetRadius / (4.9f * std::sqrt(sx * sx + sy * sy));
    // The street's picture is shared with the map: its anchor is set aside while the pieces are
    // drawn from their top left corners, and put back.
    const float hx = image.handle_x, hy = image.handle_y;
    image.SetHandle(0, 0);
    float scaleX = 1, scaleY = 1;
    GetScale(scaleX, scaleY);
    SetScale(s, s);
    for (const auto& [frame, k] : previewSteps) {
        if (frame >= image.FrameCount()) continue;
        const float x = cx + s * (float(k) * sx - 0.5f * float(image.width));
        const float y = cy - 0.15f * t->viewGadgetRadius + s * (float(k) * sy - hy);
        DrawImage(t->currentStreet->bridgeImages[size_t(t->currentBridgeKind)], x, y, frame);
    }
    SetScale(scaleX, scaleY);
    image.SetHandle(hx, hy);
    return nullptr;
}

void TBridgeTool::_drawText(const std::string& text) {
    viewGadgetTextLayer->Clear();
    auto caption = vesko::TCText::Create(text, gui->DefaultFont);
    caption->formation.rgba = gui->textCol_default;
    // Below the bridge, inside the window.
    caption->SetIntHandle(int32_t(caption->Width * 0.5f), int32_t(-0.3f * viewGadgetRadius));
    viewGadgetTextLayer->addContent(caption);
}
