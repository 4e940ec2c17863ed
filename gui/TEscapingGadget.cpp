#include "gui/TEscapingGadget.h"

#include <algorithm>

#include "framework/TCGroup.h"
#include "framework/TTGUIGadget.h"
#include "platform/TClock.h"

namespace {
void Collect(const std::shared_ptr<vesko::TContent>& c, std::vector<std::pair<std::shared_ptr<vesko::TContent>, double>>& out) {
    if (!c) return;
    out.emplace_back(c, c->formation.GetAlpha());
    if (auto group = std::dynamic_pointer_cast<vesko::TCGroup>(c)) {
        for (const auto& child : group->getContents()) Collect(child, out);
    }
}

// The copy is only drawn: its touch objects leave the registry, and what it shows is frozen.
void Detach(vesko::TTGUIGadget& g, std::vector<std::pair<std::shared_ptr<vesko::TContent>, double>>& out) {
    for (const auto& t : g.touchobject) {
        if (t) t->remove();
    }
    Collect(g.getCurrentContent(), out);
    for (const auto& child : g.children->children) {
        if (child->isShowed()) Detach(*child, out);
    }
}
}  // namespace

std::shared_ptr<TEscapingGadget> TEscapingGadget::Create(const vesko::TTGUIGadget& gadget, float startSpeed, float acc,
                                                         int32_t lifeTime) {
    auto e = std::make_shared<TEscapingGadget>();
    e->GadgetCopy = gadget._CopyUnder(nullptr);
    e->start_x = gadget.GetX(1);
    e->start_y = gadget.GetY(1);
    e->GadgetCopy->SetPosition(e->start_x, e->start_y);
    e->start_ms = Millisecs();
    e->start_speed = startSpeed;
    e->acc = acc;
    e->lifeTime = std::max(lifeTime, 1);
    Detach(*e->GadgetCopy, e->faded);
    return e;
}

bool TEscapingGadget::isValid() const { return Millisecs() - start_ms <= lifeTime; }

void TEscapingGadget::Draw() {
    const float t = float(Millisecs() - start_ms) * 0.001f;
    const double fade = std::clamp(1.0 - double(t) * 1000.0 / double(lifeTime), 0.0, 1.0);
    for (const auto& [content, alpha] : faded) content->formation.SetAlpha(alpha * fade);
    GadgetCopy->SetPosition(start_x, start_y - start_speed * t + 0.5f * acc * t * t);
    GadgetCopy->Draw();
}
