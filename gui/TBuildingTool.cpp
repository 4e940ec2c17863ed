#include "gui/TBuildingTool.h"

#include <cmath>
#include <numbers>
#include <string>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "framework/TTouchGUI.h"
#include "gui/TDrawHabitantContainer.h"
#include "gui/TDrawInfluenceContainer.h"
#include "gui/TGUI.h"
#include "platform/TCatalogue.h"
#include "platform/TDraw.h"
#include "platform/TImage.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/THabitant.h"
#include "world/TInfluenceLayer.h"
#include "world/TLayer.h"

namespace {
// The icons of the influence kinds in their index order (the names come from the world).
const std::shared_ptr<TImage> TGUI::*const kindIcons[TBuildingTool::influenceKinds] = {
    &TGUI::infWaterImg,     &TGUI::infEnergyImg,        &TGUI::infSportImg,   &TGUI::infMedicImg,
    &TGUI::infReligionImg,  &TGUI::infPoliceImg,        &TGUI::infFireDepartmentImg, &TGUI::infCultureImg,
    &TGUI::infFreeTimeImg,  &TGUI::infLearnImg,         &TGUI::infRadioImg,   &TGUI::infTVImg,
    &TGUI::infAirPollutionImg, &TGUI::infWaterPollutionImg, &TGUI::infNoiseImg,
};

TBuildingTool* AsTool(void* context) { return static_cast<TBuildingTool*>(context); }

// Whole percent of a 0 … 1 value, truncated (in float, so 0.35 gives 35).
std::string Percent(float value) { return std::to_string(static_cast<int32_t>(value * 100.0f)); }

float Radians(double degrees) { return float(degrees * std::numbers::pi / 180.0); }

// A disabled tab is drawn faint, so it does not look as if it could be chosen.
void Dim(const TGUIGadget& g, bool dim) {
    for (int32_t s = 0; s < 2; ++s) {
        if (const auto group = TGUI::StateGroup(g, s)) {
            for (const auto& c : group->getContents()) c->formation.SetAlpha(dim ? 0.4 : 1.0);
        }
    }
}
}  // namespace

std::shared_ptr<TBuildingTool> TBuildingTool::Create(const std::shared_ptr<TGUI>& gui, float smallButtonRadius,
                                                     float buttonRadius, const std::shared_ptr<TLayer>& layer,
                                                     float viewGadgetRadius) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TBuildingTool>();
    t->generate(gui, smallButtonRadius, buttonRadius, layer, viewGadgetRadius);
    return t;
}

void TBuildingTool::generate(const std::shared_ptr<TGUI>& g, float smallR, float r, const std::shared_ptr<TLayer>& l,
                             float R) {
    gui = g;
    smallButtonRadius = smallR;
    buttonRadius = r;
    layer = l;
    viewGadgetRadius = R;
    const TPreviewWindow view = gui->addPreviewWindow(0, 0, R);
    viewGadget = view.gadget;
    viewGadgetColorLayer = view.colorLayer;
    viewGadgetContentLayer = vesko::TCGroup::Create();
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = TGUI::StateGroup(*viewGadget, s)) group->addContent(viewGadgetContentLayer);
    }
    _mainGadget = viewGadget;

    cmdClose = gui->AddRoundButton(0, 0, r, viewGadget.get());
    cmdClose->setIcon(gui->buttonCloseImg, Tr("Schließen"));
    cmdClose->setGameFunc(_close, this);
    cmdJumpTo = gui->AddRoundButton(0, 0, r, viewGadget.get());
    cmdJumpTo->setIcon(gui->buttonJumpToImg, Tr("Springe zu"));
    cmdJumpTo->setGameFunc(_jumpTo, this);
    // Laid out before the bare parents join the view, so only the two buttons sit on its rim.
    sortChildrenAsCircle(*viewGadget, R, r, 90.0f, 0.5f, 1);

    const auto bare = [&] {
        return TGUIGadget::Create(gui->root->NewGadget(0, 0, viewGadget->gadget.get(), nullptr, nullptr), "");
    };
    prntTab = bare();
    tabInfo = _addTab(gui->buttonInfoImg, Tr("Info"));
    tabInfluence = _addTab(gui->buttonInfluencesImg, Tr("Einflüsse"));
    tabPeople = _addTab(gui->buttonPeopleImg, Tr("Menschen"));
    sortChildrenAsCircle(*prntTab, R, r, 225.0f, 0.5f, 1);
    prntInfluence = bare();
    prntPeople = bare();
    // The rim buttons move with the view; pushing one alone onto the screen would tear it off.
    for (const auto& b : {cmdClose, cmdJumpTo}) b->SetAutoCorrectPositionEnable(0);
    selectTab(tabInfo);
    // The panel starts closed, without the leaping copy a player's closing leaves.
    viewGadget->gadget->HIDE();
    HIDE();
}

std::shared_ptr<TGUIGadget> TBuildingTool::_addTab(const std::shared_ptr<TImage>& image, const std::string& tooltip) {
    auto tab = gui->AddRoundButton(0, 0, buttonRadius, prntTab.get());
    tab->setIcon(image, tooltip);
    tab->gadget->EventFunc = _cmdTabAction;
    tab->setGameFunc(_onTabEvent, this);
    tab->SetAutoCorrectPositionEnable(0);
    return tab;
}

std::shared_ptr<TGUIGadget> TBuildingTool::_addDrawnButton(float x, float y, float r, TGUIGadget& parent,
                                                           const std::shared_ptr<vesko::TCFunc>& func) {
    auto b = gui->AddRoundButton(x, y, r, &parent);
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = TGUI::StateGroup(*b, s)) group->addContent(func);
    }
    b->SetAutoCorrectPositionEnable(0);
    return b;
}

// --- opening and closing -------------------------------------------------------------------

void TBuildingTool::startBuildingTool(const std::shared_ptr<TBuilding>& building) {
    if (!building || !building->IsValid()) return;
    // A second choice while open turns the panel to it: the old building is dropped at once.
    currentBuilding = building;
    if (!isVisible()) showTool();
    Update();
}

void TBuildingTool::endTool() { currentBuilding.reset(); }

void TBuildingTool::showTool() { SHOW(); }

void TBuildingTool::hideTool() {
    HIDE();
    endTool();
}

void TBuildingTool::jumpTo() {
    if (const auto b = getBuilding(); b && layer) layer->focusOnThis(TLayer::TThing{b}, 1);
}

void TBuildingTool::SHOW() {
    TGUIElement::SHOW();
    prntTab->gadget->showChildren();
}

void TBuildingTool::HIDE() {
    TGUIElement::HIDE();
    // Hidden parents still draw their children: those are hidden one by one.
    for (const auto& p : {prntTab, prntInfluence, prntPeople}) p->gadget->hideChildren();
}

void TBuildingTool::Destroy() {
    endTool();
    cmdInfluences.clear();
    cmdPeoples.clear();
    arrPeoples.clear();
    TGUIElement::Destroy();
}

std::shared_ptr<TBuilding> TBuildingTool::getBuilding() const {
    auto b = currentBuilding.lock();
    return b && b->IsValid() ? b : nullptr;
}

// --- per frame -----------------------------------------------------------------------------

void TBuildingTool::Update() {
    const auto b = getBuilding();
    if (!b) {
        // Demolished (or freed) since the last frame: nothing of it is shown again.
        if (!currentBuilding.expired() || isVisible()) hideTool();
        return;
    }
    // A panel put away with all others (HideALL) keeps its building but neither draws nor marks.
    if (!isVisible()) return;
    const bool underConstruction = b->inBuildMode != 0;
    for (const auto& tab : {tabInfluence, tabPeople}) {
        if (underConstruction) {
            tab->gadget->Disable();
        } else {
            tab->gadget->Enable();
        }
        Dim(*tab, underConstruction);
    }
    if (underConstruction) selectTab(tabInfo);
    redrawTool();
    if (layer) {
        layer->markBuilding(b, TBuildingLayer::previewSelected, 1);
        layer->_markBuildingWays(b, 1);
    }
}

void TBuildingTool::redrawTool() {
    prntInfluence->gadget->hideChildren();
    prntPeople->gadget->hideChildren();
    viewGadgetContentLayer->Clear();
    const auto b = getBuilding();
    if (!b) return;
    redrawBorder(b->p);
    const auto tab = getSelectedTab();
    if (tab == tabInfluence) {
        _redrawInfluenceTab(*b);
    } else if (tab == tabPeople) {
        _redrawPeopleTab(*b);
    } else {
        _redrawInfoTab(*b);
    }
}

void TBuildingTool::redrawBorder(const std::shared_ptr<TPicturePlugin>& plugin) {
    using S = TPicturePlugin::TStructure;
    static const std::pair<S, std::shared_ptr<TImage> TGUI::*> borders[] = {
        {S::Award, &TGUI::preview_awardBorderImg},     {S::Commercial, &TGUI::preview_blueBorderImg},
        {S::Industrial, &TGUI::preview_yellowBorderImg}, {S::Public, &TGUI::preview_greyBorderImg},
        {S::Park, &TGUI::preview_parkBorderImg},       {S::Residential, &TGUI::preview_greenBorderImg},
    };
    std::shared_ptr<TImage> image;
    for (const auto& [kind, border] : borders) {
        if (plugin && plugin->structure == kind) image = (*gui).*border;
    }
    setBorderColor(image);
}

void TBuildingTool::setBorderColor(const std::shared_ptr<TImage>& image) {
    viewGadgetColorLayer->img = image;
    if (!image) return;
    viewGadgetColorLayer->Width = float(image->width);
    viewGadgetColorLayer->Height = float(image->height);
    viewGadgetColorLayer->MidHandle();
    viewGadgetColorLayer->FitIn(2 * viewGadgetRadius, 2 * viewGadgetRadius, 1);
}

const vesko::TCRGBA& TBuildingTool::_getSatisfactionColor(float value) const {
    if (value >= 1.0f) return gui->textCol_green;
    return value >= 0.5f ? gui->textCol_yellow : gui->textCol_red;
}

const vesko::TCRGBA& TBuildingTool::_getFullnessColor(float fullness) const {
    if (fullness <= 0.0f) return gui->textCol_red;
    return fullness >= 1.0f ? gui->textCol_green : gui->textCol_yellow;
}

void TBuildingTool::_setInfoText(const std::vector<std::string>& lines, const std::vector<vesko::TCRGBA>& colours) {
    viewGadgetContentLayer->Clear();
    const float n = float(lines.size());
    // A line too wide for the round view takes the small font, and is cut with "…" when even
    // that is too wide; the lines keep the default font's spacing.
    const float room = 1.8f * viewGadgetRadius;
    const float h = TGUI::FontHeight(gui->DefaultFont);
    for (size_t i = 0; i < lines.size(); ++i) {
        const auto font = TGUI::FittingFont({gui->DefaultFont, gui->smallFont}, {lines[i]}, room);
        auto text = vesko::TCText::Create(TGUI::FitText(lines[i], font.get(), room), font);
        const float w = text->getWidth();
        // The block of lines is centred on the view.
        text->SetIntHandle(static_cast<int32_t>(0.5f * w),
                           static_cast<int32_t>(0.5f * text->getHeight() + h * (0.5f * n - 0.5f - float(i))));
        if (i < colours.size()) text->formation.rgba = colours[i];
        viewGadgetContentLayer->addContent(text);
    }
}

// --- tabs ----------------------------------------------------------------------------------

void TBuildingTool::_redrawInfoTab(const TBuilding& b) {
    std::vector<std::string> lines{TrContent(b.Name)};
    std::vector<vesko::TCRGBA> colours{gui->textCol_default};
    const auto add = [&](const std::string& text, const vesko::TCRGBA& colour) {
        lines.push_back(text);
        colours.push_back(colour);
    };
    if (b.inBuildMode) {
        if (b.buildStartDay < 0) {
            add(Tr("Bau wird vorbereitet"), gui->textCol_yellow);
        } else {
            const float days = (1.0f - b.buildingProgress) * (b.p ? b.p->constructionTime : 0.0f);
            add(Tr("Im Bau: %1%", Percent(b.buildingProgress)), gui->textCol_yellow);
            add(Tr("(%1 Tage verbleiben)", static_cast<int32_t>(days)), gui->textCol_yellow);
        }
    } else {
        add(Tr("Zufriedenheit: %1%", Percent(b.getSatisfaction())), _getSatisfactionColor(b.getSatisfaction()));
        const bool house = b.isResidentalBuilding();
        const size_t count = house ? b.habitants.Count() : b.workers.Count();
        add(house ? Tr("Einwohner: %1/%2", count, b.maxHabitans) : Tr("Arbeiter: %1/%2", count, b.maxWorkers),
            _getFullnessColor(b.getPeopleFullness()));
        if (house && count == 0 && !b.emptyReason.empty()) add(b.emptyReason, gui->textCol_red);
        add(Tr("Fahrende Autos: %1", b.car.Count()), gui->textCol_default);
    }
    if (b.buildStartDay >= 0 && layer)
        add(Tr("Bau: %1", layer->getRealDateOfDay(float(b.buildStartDay))), gui->textCol_default);
    _setInfoText(lines, colours);
}

void TBuildingTool::_redrawInfluenceTab(const TBuilding& b) {
    if (cmdInfluences.empty()) {
        const double radius = viewGadgetRadius - smallButtonRadius;
        for (int32_t k = 0; k < influenceKinds; ++k) {
            const double a = Radians(double(k) * 360.0 / influenceKinds);
            auto func = vesko::TCFunc::Load(_drawInfluence);
            func->container = std::make_shared<TDrawInfluenceContainer>(TDrawInfluenceContainer{weak_from_this(), k});
            cmdInfluences.push_back(_addDrawnButton(float(static_cast<int32_t>(std::cos(a) * radius)),
                                                    float(static_cast<int32_t>(std::sin(a) * radius)),
                                                    smallButtonRadius, *prntInfluence, func));
        }
    }
    for (size_t k = 0; k < size_t(influenceKinds); ++k) {
        arrInfluences[k] = b.getInfluenceFor(int32_t(k));
        cmdInfluences[k]->tooltip = {Tr(TInfluenceLayer::KindName(int32_t(k))) + ", ",
                                     Tr("zu %1% erfüllt", Percent(arrInfluences[k]))};
    }
    if (isVisible()) prntInfluence->gadget->showChildren();
    _setInfoText({Tr("Zufriedenheit:"), Percent(b.satisfactionAverage) + "%"},
                 {gui->textCol_default, _getSatisfactionColor(b.satisfactionAverage)});
}

void TBuildingTool::_redrawPeopleTab(const TBuilding& b) {
    const bool house = b.isResidentalBuilding();
    const auto persons = house ? b.habitants.Items() : b.workers.Items();
    bool same = persons.size() == arrPeoples.size();
    for (size_t i = 0; same && i < persons.size(); ++i) same = arrPeoples[i].lock() == persons[i];
    if (!same) {
        for (const auto& g : cmdPeoples) g->remove();
        cmdPeoples.clear();
        arrPeoples.clear();
        const double radius = viewGadgetRadius - buttonRadius;
        // The first person at the top, the others clockwise.
        for (size_t i = 0; i < persons.size(); ++i) {
            const double a = Radians(double(i) * 360.0 / double(persons.size()) - 90.0);
            auto func = vesko::TCFunc::Load(_drawHabitant);
            func->container =
                std::make_shared<TDrawHabitantContainer>(TDrawHabitantContainer{weak_from_this(), persons[i]});
            cmdPeoples.push_back(_addDrawnButton(float(std::lround(std::cos(a) * radius)),
                                                 float(std::lround(std::sin(a) * radius)), buttonRadius, *prntPeople,
                                                 func));
            arrPeoples.push_back(persons[i]);
        }
    }
    for (size_t i = 0; i < persons.size(); ++i) {
        if (const auto& h = persons[i]) {
            cmdPeoples[i]->tooltip = {h->Name + ",", h->getJobName(),
                                      Tr("(%1% Zufriedenheit)", Percent(h->getSatisfaction()))};
        }
    }
    if (isVisible()) prntPeople->gadget->showChildren();
    const vesko::TCRGBA& colour = _getFullnessColor(b.getPeopleFullness());
    _setInfoText({Tr("%1 von max.", persons.size()),
                  house ? Tr("%1 Einwohnern", b.maxHabitans) : Tr("%1 Arbeitern", b.maxWorkers)},
                 {colour, colour});
}

void TBuildingTool::selectTab(const std::shared_ptr<TGUIGadget>& tab) {
    for (const auto& t : {tabInfo, tabInfluence, tabPeople}) {
        t->gadget->State = t == tab ? 1 : 0;
        t->gadget->_RefreshTouchObjects();
    }
}

std::shared_ptr<TGUIGadget> TBuildingTool::getSelectedTab() const {
    for (const auto& t : {tabInfo, tabInfluence, tabPeople}) {
        if (t->gadget->State != 0) return t;
    }
    return nullptr;
}

// --- drawing -------------------------------------------------------------------------------

void TBuildingTool::drawInfluence(int32_t kind, float x, float y) {
    if (kind < 0 || kind >= influenceKinds) return;
    if (const auto& icon = (*gui).*kindIcons[kind]) {
        DrawImage(icon, float(static_cast<int32_t>(x - 0.5f * float(icon->width))),
                  float(static_cast<int32_t>(y - 0.5f * float(icon->height))));
    }
    DrawImage(gui->smileysImg, float(static_cast<int32_t>(x)), float(static_cast<int32_t>(y)),
              gui->getSmileyImgFrame(arrInfluences[size_t(kind)]));
}

void TBuildingTool::drawHabitant(const THabitant& h, float x, float y) {
    const auto image = h.getJobImage();
    if (!image) return;
    const float w = float(image->width), ht = float(image->height);
    DrawImage(image, x, y, 0);
    DrawImage(gui->smileysImg, float(static_cast<int32_t>(x + 0.5f * w - 10.0f)),
              float(static_cast<int32_t>(y - 0.5f * ht - 6.0f)), gui->getSmileyImgFrame(h.getSatisfaction()));
    if (h.wantToLevelUp() && gui->levelUpImg) {
        DrawImage(gui->levelUpImg, float(static_cast<int32_t>(x - 0.5f * w)),
                  float(static_cast<int32_t>(y + 0.5f * ht - float(gui->levelUpImg->height))));
    }
}

// --- callbacks -----------------------------------------------------------------------------

int32_t TBuildingTool::_jumpTo(void* context) {
    if (auto* t = AsTool(context)) t->jumpTo();
    return 0;
}

int32_t TBuildingTool::_close(void* context) {
    if (auto* t = AsTool(context)) t->Close();
    return 0;
}

int32_t TBuildingTool::_onTabEvent(void* context) {
    if (auto* t = AsTool(context)) t->onTabEvent();
    return 0;
}

int32_t TBuildingTool::_cmdTabAction(vesko::TTGUIGadget& gadget) {
    if (gadget.hit && gadget.mode == 0) {
        if (gadget.Parent) {
            for (const auto& sibling : gadget.Parent->children->children) {
                sibling->State = 0;
                sibling->_RefreshTouchObjects();
            }
        }
        gadget.State = 1;
    }
    gadget._RefreshTouchObjects();
    return 0;
}

std::shared_ptr<void> TBuildingTool::_drawInfluence(vesko::TCFunc& func, float x, float y) {
    if (const auto c = std::static_pointer_cast<TDrawInfluenceContainer>(func.container)) {
        if (const auto tool = c->buildingTool.lock()) tool->drawInfluence(c->inf, x, y);
    }
    return nullptr;
}

std::shared_ptr<void> TBuildingTool::_drawHabitant(vesko::TCFunc& func, float x, float y) {
    if (const auto c = std::static_pointer_cast<TDrawHabitantContainer>(func.container)) {
        const auto tool = c->buildingTool.lock();
        const auto h = c->h.lock();
        if (tool && h) tool->drawHabitant(*h, x, y);
    }
    return nullptr;
}
