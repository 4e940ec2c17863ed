#include "gui/TGUIGadget.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TTouchObject.h"
#include "gui/TEscapingGadget.h"
#include "gui/TGUI.h"
#include "gui/TGadgetAnimator.h"
#include "gui/TImageRect.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TScreenSpace.h"

namespace {
// Repeats of a held button: three 800 ms apart, four 300 ms apart, then every 100 ms.
constexpr int32_t repeatFirstMs = 800;
constexpr int32_t repeatStepMs = 500;
constexpr int32_t repeatMaxCutMs = 700;

// The content whose colour shows the state: a group's first picture (the button face), else
// the content itself.
std::shared_ptr<vesko::TContent> Face(const std::shared_ptr<vesko::TContent>& c) {
    if (auto group = std::dynamic_pointer_cast<vesko::TCGroup>(c)) return group->getContent(0);
    return c;
}

bool SameColour(const vesko::TCRGBA& c, double grey) {
    return c.getRed() == grey && c.getGreen() == grey && c.getBlue() == grey;
}
}  // namespace

void TGUIGadget::Init(const std::shared_ptr<TGUI>& g) {
    gui = g;
    screenWidth = g ? g->xmax : 0;
    screenHeight = g ? g->ymax : 0;
    gadgets.clear();
    escaping.clear();
    tooltipId.clear();
    tipStyle.textColor.SetColor(30, 30, 30);
}

void TGUIGadget::LoadToopTipImg(const std::string& path) { tipStyle.image = TImageRect::Load(path); }

std::shared_ptr<TGUIGadget> TGUIGadget::Create(const std::shared_ptr<vesko::TTGUIGadget>& touchGadget,
                                               const std::string& tooltipText, std::vector<float> iconPosition) {
    if (!touchGadget) return nullptr;
    auto g = std::make_shared<TGUIGadget>();
    g->gadget = touchGadget;
    g->SetTooltip(tooltipText);
    if (iconPosition.size() >= 2) g->_icoPosition = {iconPosition[0], iconPosition[1]};
    gadgets.push_back(g);
    return g;
}

void TGUIGadget::Clear() {
    gadgets.clear();
    escaping.clear();
    tooltipId.clear();
}

std::shared_ptr<TGUIGadget> TGUIGadget::FindByTouchObject(const vesko::TTouchObject* object) {
    if (!object) return nullptr;
    for (const auto& g : gadgets) {
        if (g->gadget->getCurrentTouchObject().get() == object) return g;
    }
    return nullptr;
}

void TGUIGadget::SetTooltip(const std::string& text) {
    tooltip.clear();
    if (text.empty()) return;
    size_t start = 0;
    for (size_t at = text.find(nextLine); at != std::string::npos; at = text.find(nextLine, start)) {
        tooltip.push_back(text.substr(start, at - start));
        start = at + nextLine.size();
    }
    tooltip.push_back(text.substr(start));
}

void TGUIGadget::callFunc() {
    if (func) func(*this);
}

void TGUIGadget::callGameFunc() {
    if (gameFunc) gameFunc(gameObj);
}

// --- per frame -----------------------------------------------------------------------------

void TGUIGadget::updateAll(TKeyHits keyHits) {
    // A gadget's function may create or remove gadgets: walk the list as it was.
    const auto list = gadgets;
    for (const auto& g : list) g->Update(keyHits);
    std::erase_if(escaping, [](const auto& e) { return !e->isValid(); });
}

void TGUIGadget::Update(TKeyHits keyHits) {
    hit = gadget->released ? 1 : 0;
    if (enableMultipleCalls) _updateRepetition();
    if (!hit && actionKeyId >= 1 && size_t(actionKeyId) <= keyHits.size() &&
        (alsoDoActionIfHided || gadget->isShowed()) && keyHits[size_t(actionKeyId - 1)]) {
        // A shortcut acts like a touch on the gadget.
        gadget->hit = 1;
        if (gadget->EventFunc) gadget->EventFunc(*gadget);
        gadget->_RefreshTouchObjects();
        hit = 1;
    }
    if (hit) {
        fired();
        callFunc();
        callGameFunc();
        if (gameFunc && gadget->EventFunc == vesko::TTGUIGadget::DefaultEventAction && !enableMultipleCalls)
            addAnimator(500, 3.0f, 1.0f);
    }
    if (bCorrectPosition && gadget->isShowed() && gadget->getCurrentContent()) _keepOnScreen();
    _runAnimators();
}

void TGUIGadget::_updateRepetition() {
    hit = 0;
    if (gadget->State != 0 && gadget->isShowed()) {
        const int32_t now = Millisecs();
        const int32_t c = static_cast<int32_t>(float(callSpeedLevel) / 4.0f);
        // The first frame of a press fires at once (callStart 0 lies far back).
        if (callStart == 0 || now - callStart > repeatFirstMs - std::min(c * repeatStepMs, repeatMaxCutMs)) {
            hit = 1;
            callStart = now;
            ++callSpeedLevel;
        }
    } else {
        callStart = 0;
        callSpeedLevel = 0;
    }
}

void TGUIGadget::_keepOnScreen() {
    const float x = gadget->GetX(1), y = gadget->GetY(1);
    const float cx = std::clamp(x, 0.0f, float(screenWidth));
    const float cy = std::clamp(y, 0.0f, float(screenHeight));
    if (cx != x || cy != y) gadget->SetPosition(cx, cy, 1);
}

void TGUIGadget::_runAnimators() {
    float sx = 0, sy = 0;
    for (const auto& a : gadgetAnimatorList) {
        float dx = 0, dy = 0;
        a->Step(dx, dy);
        sx += dx;
        sy += dy;
    }
    if (sx != 0 || sy != 0) gadget->move(sx, sy);
    std::erase_if(gadgetAnimatorList, [](const auto& a) { return !a->isValid(); });
}

void TGUIGadget::addAnimator(int32_t durationMs, float angle, float strength) {
    gadgetAnimatorList.push_back(TGadgetAnimator::Create(durationMs, angle, strength));
}

void TGUIGadget::addAsEscapingGadget() {
    if (gadget) escaping.push_back(TEscapingGadget::Create(*gadget));
}

void TGUIGadget::remove() {
    // The gadgets of the children leave the list with this one.
    std::vector<const vesko::TTGUIGadget*> subtree{gadget.get()};
    for (size_t i = 0; i < subtree.size(); ++i) {
        for (const auto& c : subtree[i]->children->children) subtree.push_back(c.get());
    }
    gadget->remove();
    std::erase_if(gadgets, [&](const auto& g) {
        return std::find(subtree.begin(), subtree.end(), g->gadget.get()) != subtree.end();
    });
}

// --- looks ---------------------------------------------------------------------------------

void TGUIGadget::setIcon(const std::shared_ptr<TImage>& image, const std::string& tooltipText) {
    if (!tooltipText.empty()) SetTooltip(tooltipText);
    if (!image) return;
    const bool whole = gui && gui->useInt;
    for (int32_t s = 0; s < 2; ++s) {
        auto group = std::dynamic_pointer_cast<vesko::TCGroup>(s == 0 ? gadget->getState0Content()
                                                                       : gadget->getState1Content());
        if (!group) continue;
        if (_iconPics[s]) group->removeContent(_iconPics[s]);
        auto pic = vesko::TCPicture::FromImage(image);
        float hx = float(image->width) * 0.5f - _icoPosition[0];
        float hy = float(image->height) * 0.5f - _icoPosition[1];
        if (whole) {
            hx = float(static_cast<int32_t>(hx));
            hy = float(static_cast<int32_t>(hy));
        }
        // A pressed button's icon sits one pixel lower and to the right.
        if (s == 1) {
            hx -= 1;
            hy -= 1;
        }
        pic->SetHandle(hx, hy);
        group->addContent(pic);
        _iconPics[s] = pic;
    }
    icon = image;
}

void TGUIGadget::updateHover(const vesko::TTouchObject* underPointer) {
    if (!gui) return;
    const bool over = tipStyle.showHover && underPointer && gadget->getCurrentTouchObject().get() == underPointer;
    for (int32_t s = 0; s < 2; ++s) {
        auto face = Face(s == 0 ? gadget->getState0Content() : gadget->getState1Content());
        if (!face) continue;
        vesko::TCRGBA& c = face->formation.rgba;
        const vesko::TCRGBA& active = gui->activeColor[size_t(s)];
        if (!SameColour(c, active.getRed()) && !SameColour(c, hoverColor[s])) continue;
        const double grey = over ? hoverColor[s] : active.getRed();
        c.SetColor(grey, grey, grey);
    }
}

int32_t TGUIGadget::RingEventAction(vesko::TTGUIGadget& g) {
    if (g.mode == 0) {
        if (g.hit) {
            if (g.State == 0) {
                if (g.Parent) {
                    for (const auto& sibling : g.Parent->children->children) {
                        sibling->State = 0;
                        sibling->hideChildren();
                        sibling->_RefreshTouchObjects();
                    }
                }
                g.State = 1;
            } else {
                g.State = 0;
            }
            g._RefreshTouchObjects();
        }
        if (g.State == 1) {
            g.showChildren();
        } else {
            g.hideChildren();
        }
    }
    g.SetInFront();
    return 0;
}

// --- drawing -------------------------------------------------------------------------------

void TGUIGadget::drawAll(const std::vector<int32_t>& tooltipPos, const std::vector<std::string>& lines,
                         const std::string& id) {
    for (const auto& e : escaping) e->Draw();
    std::shared_ptr<TGUIGadget> under;
    if (tooltipPos.size() >= 2) {
        const auto object = vesko::TTouchObject::getTouchObjectAtPos(float(tooltipPos[0]), float(tooltipPos[1]));
        under = FindByTouchObject(object.get());
    }
    const vesko::TTouchObject* underObject = under ? under->gadget->getCurrentTouchObject().get() : nullptr;
    for (const auto& g : gadgets) g->updateHover(underObject);
    if (tooltipPos.size() < 2) {
        tooltipId.clear();
        return;
    }
    if (under && !under->tooltip.empty()) {
        drawtooltip(under->tooltip, tooltipPos[0], tooltipPos[1], 0, "gadget " + std::to_string(uintptr_t(under.get())));
    } else if (!under && !lines.empty()) {
        drawtooltip(lines, tooltipPos[0], tooltipPos[1], 1, id);
    } else {
        // Nothing to show: the next tooltip waits again.
        tooltipId.clear();
    }
}

void TGUIGadget::drawtooltip(const std::vector<std::string>& lines, int32_t x, int32_t y, int32_t immediate,
                             const std::string& id) {
    if (!tipStyle.enabled) return;
    const int32_t now = Millisecs();
    if (id != tooltipId) {
        tooltipProgress = 0;
        tooltipShowMs = immediate ? now : now + tipStyle.waitTime;
        tooltipId = id;
    }
    if (now < tooltipShowMs || lines.empty()) return;

    TScreenSpace screen;
    SetImageFont(tipStyle.font);
    const int32_t b = tipStyle.borderWidth;
    float widest = 0;
    for (const auto& line : lines) widest = std::max(widest, TextWidth(line));
    const float lineHeight = TextHeight("Ag");
    const float W = widest + 2.0f * float(b);
    const float H = float(lines.size()) * lineHeight + 2.0f * float(b);
    float bx = float(x), by = float(y + tooltipOffsetY);
    const float w = tipStyle.animEnabled ? W * tooltipProgress : W;
    if (bx + w > float(screenWidth)) bx -= bx + w - float(screenWidth);
    if (by + H > float(screenHeight)) by = float(screenHeight) - H;
    bx = std::max(bx, 0.0f);
    by = std::max(by, 0.0f);

    int32_t vx = 0, vy = 0, vw = 0, vh = 0;
    GetViewport(vx, vy, vw, vh);
    // The box is revealed from left to right.
    SetViewport(int32_t(bx), int32_t(by), int32_t(w), int32_t(H) + 1);
    SetBlend(ALPHABLEND);
    SetColor(255, 255, 255);
    SetAlpha(tipStyle.alpha * tooltipProgress);
    if (tipStyle.image) tipStyle.image->Draw(bx, by, W, H);
    tipStyle.textColor.Use(1, 0);
    SetAlpha(tooltipProgress);
    for (size_t i = 0; i < lines.size(); ++i) DrawText(lines[i], bx + float(b), by + float(b) + float(i) * lineHeight);
    SetViewport(vx, vy, vw, vh);
    SetColor(255, 255, 255);
    SetAlpha(1);
    const float speed = float(std::max(tipStyle.animSpeed, 1));
    tooltipProgress = std::min(tooltipProgress + float(now - tooltipShowMs) / speed, 1.0f);
}
