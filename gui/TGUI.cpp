#include "gui/TGUI.h"

#include "framework/TCText.h"

#include <algorithm>
#include <cmath>

#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TTouchGUI.h"
#include "framework/TTouchObject.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TScreenSpace.h"

namespace {
float Whole(float v, int32_t useInt) { return useInt ? std::trunc(v) : v; }
}  // namespace

std::shared_ptr<TGUI> TGUI::Create(int32_t w, int32_t h) {
    auto gui = std::make_shared<TGUI>();
    gui->xmax = w;
    gui->ymax = h;
    gui->activeColor[0].Set(225, 225, 225, 1.0);
    gui->activeColor[1].Set(150, 150, 150, 1.0);
    gui->root = vesko::TTouchGUI::Create();
    return gui;
}

void TGUI::drawAll(const std::vector<int32_t>& tooltipPos, const std::vector<std::string>& lines,
                   const std::string& id) {
    TScreenSpace screen;
    root->Draw();
    TGUIGadget::drawAll(tooltipPos, lines, id);
}

void TGUI::updateAll(TGUIGadget::TKeyHits keyHits) {
    TGUIGadget::updateAll(keyHits);
    root->Update();
}

void TGUI::Update() { root->Update(); }

void TGUI::Draw() {
    TScreenSpace screen;
    root->Draw();
}

std::shared_ptr<TGUIGadget> TGUI::_AddFacedButton(float x, float y, TGUIGadget* parent,
                                                  std::shared_ptr<vesko::TTouchObject> shape,
                                                  const std::shared_ptr<TImage>& image, float w, float h,
                                                  int32_t keepAspect) {
    std::shared_ptr<vesko::TCGroup> states[2];
    for (int32_t s = 0; s < 2; ++s) {
        states[s] = vesko::TCGroup::Create();
        if (auto face = vesko::TCPicture::FromImage(image)) {
            face->MidHandle();
            face->FitIn(w, h, keepAspect);
            face->formation.rgba = activeColor[size_t(s)];
            states[s]->addContent(face);
        }
    }
    auto tg = root->NewGadget(Whole(x, useInt), Whole(y, useInt), parent ? parent->gadget.get() : nullptr,
                              std::move(shape), states[0]);
    tg->setContent(states[1], 0, 1);
    // Pressed while held: the darker face shows.
    tg->EventFunc = vesko::TTGUIGadget::DefaultEventAction;
    return TGUIGadget::Create(tg, "");
}

std::shared_ptr<TGUIGadget> TGUI::AddRoundButton(float x, float y, float r, TGUIGadget* parent, int32_t move,
                                                 int32_t scale, int32_t rotation, std::shared_ptr<TImage> image) {
    auto to = vesko::TTouchObject::Create(move, scale, rotation, 0);
    to->addCircle(r);
    return _AddFacedButton(x, y, parent, to, image ? image : buttonImg, 2 * r, 2 * r, 1);
}

std::shared_ptr<TGUIGadget> TGUI::AddPanelAnchor(float r) {
    auto g = AddRoundButton(0, 0, r, nullptr, 1);
    g->setIcon(moveImg, Tr("Verschieben"));
    return g;
}

std::shared_ptr<TGUIGadget> TGUI::AddMoveButton(float x, float y, TGUIGadget* parent, std::shared_ptr<TImage> image,
                                                float scale) {
    if (!image) image = circleImg;
    const float r = image ? float(image->width) * 0.5f * scale : 20.0f * scale;
    auto g = AddRoundButton(x, y, r, parent, 1, 0, 0, image);
    g->setIcon(moveImg);
    return g;
}

std::shared_ptr<TGUIGadget> TGUI::AddRectButton(float x, float y, float w, float h, TGUIGadget* parent,
                                                std::shared_ptr<TImage> image) {
    auto to = vesko::TTouchObject::Create(0, 0, 0, 0);
    to->addRect(w, h);
    auto group = vesko::TCGroup::Create();
    if (auto face = image ? vesko::TCPicture::FromImage(image) : nullptr) {
        face->FitIn(w, h, 0);
        group->addContent(face);
    }
    auto tg = root->NewGadget(Whole(x, useInt), Whole(y, useInt), parent ? parent->gadget.get() : nullptr, to, group);
    return TGUIGadget::Create(tg, "");
}

std::shared_ptr<TGUIGadget> TGUI::AddBarButton(float x, float y, TGUIGadget* parent, std::shared_ptr<TImage> image,
                                               float w, float h) {
    if (!image) image = button_BarImg;
    if (w <= 0) w = image ? float(image->width) : 0;
    if (h <= 0) h = image ? float(image->height) : 0;
    auto to = vesko::TTouchObject::Create(0, 0, 0, 0);
    to->AddPolygon({{-w / 2, -h / 2}, {w / 2, -h / 2}, {w / 2, h / 2}, {-w / 2, h / 2}});
    return _AddFacedButton(x, y, parent, to, image, w, h, 0);
}

TPreviewWindow TGUI::addPreviewWindow(float x, float y, float r, TGUIGadget* parent) {
    TPreviewWindow w;
    w.gadget = AddRoundButton(x, y, r, parent, 1, 0, 0, previewImg);
    w.colorLayer = std::make_shared<vesko::TCPicture>();
    w.imageLayer = std::make_shared<vesko::TCPicture>();
    // Both states show the same layers: the window does not look pressed.
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = StateGroup(*w.gadget, s)) {
            group->addContent(w.colorLayer);
            group->addContent(w.imageLayer);
        }
    }
    return w;
}

std::shared_ptr<TGUIGadget> TGUI::addInfoWindow(float x, float y, float r, TGUIGadget* parent) {
    auto g = AddRoundButton(x, y, r, parent, 0, 0, 0, previewImg);
    // One look whatever the state, so the bubble's texts live in one group.
    g->gadget->setContent(g->gadget->getState0Content(), 0, 1);
    return g;
}

int32_t TGUI::getSmileyImgFrame(float value) const {
    const int32_t frames = smileysImg ? smileysImg->FrameCount() : 5;
    if (!(value > 0)) return 0;  // also a value that is not a number
    return std::min(static_cast<int32_t>(value * float(frames)), frames - 1);
}

std::shared_ptr<vesko::TCText> TGUI::PlacedText(const std::string& text, const std::shared_ptr<TImageFont>& font,
                                                const vesko::TCRGBA& colour, float left, float top) {
    auto t = vesko::TCText::Create(text, font, 1);
    t->SetIntHandle(int32_t(-left), int32_t(-top));
    t->formation.rgba = colour;
    return t;
}

float TGUI::FontHeight(const std::shared_ptr<TImageFont>& font) { return font ? float(font->Height()) : 0.0f; }

std::string TGUI::FitText(const std::string& text, TImageFont* font, float room) {
    static const std::string ellipsis = "…";
    if (!font || font->TextWidth(text) <= room) return text;
    // The longest start that fits with the ellipsis, in whole characters.
    size_t lo = 0, hi = TCharset::Length(text);
    while (lo < hi) {
        const size_t mid = (lo + hi + 1) / 2;
        if (font->TextWidth(TCharset::Mid(text, 0, mid) + ellipsis) <= room) {
            lo = mid;
        } else {
            hi = mid - 1;
        }
    }
    return TCharset::Mid(text, 0, lo) + ellipsis;
}

std::shared_ptr<TImageFont> TGUI::FittingFont(const std::vector<std::shared_ptr<TImageFont>>& fonts,
                                              const std::vector<std::string>& texts, float room) {
    std::shared_ptr<TImageFont> last;
    for (const auto& font : fonts) {
        if (!font) continue;
        if (std::all_of(texts.begin(), texts.end(), [&](const std::string& t) { return font->TextWidth(t) <= room; }))
            return font;
        last = font;
    }
    return last;
}

std::shared_ptr<vesko::TCGroup> TGUI::StateGroup(const TGUIGadget& gadget, int32_t state) {
    return std::dynamic_pointer_cast<vesko::TCGroup>(state == 0 ? gadget.gadget->getState0Content()
                                                                : gadget.gadget->getState1Content());
}
