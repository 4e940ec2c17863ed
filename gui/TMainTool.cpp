#include "gui/TMainTool.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <utility>
#include <vector>

#include "framework/TCAnimation.h"
#include "framework/TCGroup.h"
#include "framework/TCPicture.h"
#include "framework/TCText.h"
#include "gui/TGUI.h"
#include "gui/TTextFieldTool.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "world/THabitantPool.h"
#include "world/TLayer.h"

namespace {
TMainTool* AsTool(void* context) { return static_cast<TMainTool*>(context); }

constexpr float gap = 4.0f;         // between the move button, the bars and the speed row
constexpr float barPadding = 6.0f;  // texts from the bar's left end, pictures from its right end

bool Printable(uint32_t cp) { return (cp >= 32 && cp < 127) || (cp >= 160 && cp <= 255); }
bool Blank(uint32_t cp) { return cp == 32 || cp == 160; }


// A group whose centred pictures are drawn at (x, 0) from the bar's centre.
std::shared_ptr<vesko::TCGroup> PictureSlot(float x) {
    auto slot = vesko::TCGroup::Create();
    slot->SetIntHandle(int32_t(-x), 0);
    return slot;
}

// The text's words up to the last that fits in room, and the rest (empty when all of it fits,
// or when not even the first word does).
std::pair<std::string, std::string> BreakLine(const std::string& text, TImageFont& font, float room) {
    if (font.TextWidth(text) <= room) return {text, {}};
    size_t cut = std::string::npos;
    for (size_t space = text.find(' '); space != std::string::npos; space = text.find(' ', space + 1)) {
        if (font.TextWidth(text.substr(0, space)) > room) break;
        cut = space;
    }
    if (cut == std::string::npos) return {text, {}};
    return {text.substr(0, cut), text.substr(cut + 1)};
}

void Fit(const std::shared_ptr<vesko::TContent>& picture, float size) {
    if (!picture) return;
    // Centred, so the needle turns about the clock's middle.
    picture->MidHandle();
    picture->FitIn(size, size, 1);
}
}  // namespace

std::shared_ptr<TMainTool> TMainTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                             const std::shared_ptr<TLayer>& layer,
                                             const std::shared_ptr<TTextFieldTool>& tft) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TMainTool>();
    t->generate(gui, buttonRadius, layer, tft);
    return t;
}

void TMainTool::generate(const std::shared_ptr<TGUI>& g, float r, const std::shared_ptr<TLayer>& l,
                         const std::shared_ptr<TTextFieldTool>& t) {
    gui = g;
    buttonRadius = r;
    layer = l;
    tft = t;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    cmdName = _addBar(0, Tr("Stadtname und Bürgermeister"), _onCmdName, layerName);
    cmdMoney = _addBar(1, Tr("Geld und Datum"), _onCmdMoney, layerMoney);
    cmdMFT = gui->AddRoundButton(0, float(layerHeight) + gap, r, cmdMove.get());
    cmdMFT->setIcon(gui->infFireDepartmentImg, Tr("Nonsense"));
    cmdHabitants = _addBar(2, Tr("Einwohner und Co"), _onCmdHabitants, layerHabitants);
    cmdAdvice = _addBar(3, Tr("Rat für die Stadt: ein Klick zeigt den Ort"), _onCmdAdvice, layerAdvice);

    const float pictureSize = float(layerHeight) - gap;
    const float pictureX = 0.5f * float(layerWidth) - barPadding - 0.5f * pictureSize;
    _clockFace = vesko::TCPicture::FromImage(gui->clockFaceImg);
    _clockNeedle = vesko::TCPicture::FromImage(gui->clockNeedleImg);
    _smiley = vesko::TCAnimation::FromImage(gui->smileysImg, 0, vesko::TCAnimation::kindManual);
    Fit(_clockFace, pictureSize);
    Fit(_clockNeedle, pictureSize);
    if (_smiley) {
        // The small smiley pixel art grows by whole pixels only, so it stays sharp.
        const float s = std::max(1.0f, std::floor(pictureSize / std::max(_smiley->Height, 1.0f)));
        _smiley->MidHandle();
        _smiley->formation.SetScale(s, s);
    }
    _clock = PictureSlot(pictureX);
    _clock->addContent(_clockFace);
    _clock->addContent(_clockNeedle);
    _smileySlot = PictureSlot(pictureX);
    _smileySlot->addContent(_smiley);
    _pinSlot = PictureSlot(pictureX);
    if (auto pin = vesko::TCPicture::FromImage(gui->buttonJumpToImg)) {
        Fit(pin, pictureSize);
        _pinSlot->addContent(pin);
    }

    struct TSpeed {
        std::shared_ptr<TGUIGadget>* gadget;
        std::shared_ptr<TImage> TGUI::*icon;
        const char* tooltip;
    };
    const TSpeed speeds[] = {
        {&cmdSpeedPause, &TGUI::speedPauseImg, TrNoop("Pause")},
        {&cmdSpeedSlow, &TGUI::speedSlowImg, TrNoop("Langsam")},
        {&cmdSpeedDefault, &TGUI::speedDefaultImg, TrNoop("Normal")},
        {&cmdSpeedFast, &TGUI::speedFastImg, TrNoop("Schnell")},
        {&cmdSpeedHyper, &TGUI::speedVerryFastImg, TrNoop("Sehr schnell")},
    };
    // A row under the four bars, from the bars' left end.
    const float rowY = 3.5f * float(layerHeight) + 4 * gap + r;
    for (size_t i = 0; i < std::size(speeds); ++i) {
        auto b = gui->AddRoundButton(2 * r + gap + 2 * r * float(i), rowY, r, cmdMove.get());
        b->setIcon((*gui).*speeds[i].icon, Tr(speeds[i].tooltip));
        b->gadget->EventFunc = _cmdSpeedAction;
        b->setGameFunc(_SpeedEvent, this);
        *speeds[i].gadget = b;
    }
    // A loaded city goes on at the speed it was saved at; a new one starts at the default.
    const auto saved =
        layer ? std::find(gameSpeeds.begin(), gameSpeeds.end(), layer->getGameSpeed()) : gameSpeeds.end();
    selectSpeedButton(saved != gameSpeeds.end() ? int32_t(saved - gameSpeeds.begin()) : defaultSpeedButton);
    updateTool();
}

std::shared_ptr<TGUIGadget> TMainTool::_addBar(int32_t row, const std::string& tooltip, TGUIGadget::TGameFunc action,
                                               std::shared_ptr<vesko::TCGroup>& group) {
    if (layerWidth <= 0) {
        // Wider than the bar picture: the longest texts of money, date and satisfaction fit
        // beside the clock and the smiley in the default font.
        const auto& image = gui->button_BarImg;
        layerWidth = int32_t(10 * buttonRadius);
        layerHeight = image ? image->height : int32_t(2 * buttonRadius);
    }
    const float x = buttonRadius + gap + 0.5f * float(layerWidth);
    auto bar = gui->AddBarButton(x, float(row) * (float(layerHeight) + gap), cmdMove.get(), gui->button_BarImg,
                                 float(layerWidth), float(layerHeight));
    bar->SetTooltip(tooltip);
    bar->setGameFunc(action, this);
    group = vesko::TCGroup::Create();
    for (int32_t s = 0; s < 2; ++s) {
        if (auto state = TGUI::StateGroup(*bar, s)) state->addContent(group);
    }
    return bar;
}

void TMainTool::Destroy() {
    // The text field may outlive this panel: a rename still open must not call back into it.
    if (tft && tft->gameFunc.function == _setCityName && tft->gameFunc.context == this) {
        tft->gameFunc = {};
        tft->editFunc = {};
    }
    TGUIElement::Destroy();
}

// --- bars ----------------------------------------------------------------------------------

void TMainTool::updateTool() {
    if (!layer) return;
    setLayerNameText(layer->getCityName(), layer->getMayorName());
    setLayerMoneyText(GetMoney(), GetDate(), layer->currentDayPart, layer->getMoney() < 0.0f);
    const THabitantPool* pool = layer->habitantPool.get();
    setLayerHabitantsText(pool ? pool->countActiveHabitants() : 0, pool ? pool->getSatisfaction() : 0.0f);
    if (layer->advisor) setAdviceText(layer->advisor->Current(*layer));
}

std::string TMainTool::GetMoney() const { return layer ? layer->getRealMoney(layer->getMoney()) : std::string(); }

std::string TMainTool::GetDate() const {
    return layer ? layer->getRealDate(layer->dateWeekDay, layer->dateDay, layer->dateMonth, layer->dateYear)
                 : std::string();
}

void TMainTool::setLayerNameText(const std::string& city, const std::string& mayor) {
    if (_namesShown && city == _shownCity && mayor == _shownMayor) return;
    _namesShown = true;
    _shownCity = city;
    _shownMayor = mayor;
    layerName->Clear();
    // A long name takes a smaller font and, when even that is too wide, is cut with "…", so
    // it never reaches over the move button; its outline needs a pixel at either end.
    const float room = _textRoom(0) - 2;
    const auto font = TGUI::FittingFont({gui->bigFont, gui->DefaultFont, gui->smallFont}, {city}, room);
    const std::string shownCity = TGUI::FitText(city, font.get(), room);
    auto mayorText =
        TGUI::PlacedText(TGUI::FitText(mayor, gui->DefaultFont.get(), room), gui->DefaultFont, gui->textCol_light, 0, 0);
    const float cityWidth = vesko::TCText::Create(shownCity, font)->Width;
    const float cityHeight = TGUI::FontHeight(font);
    // Both lines together centred on the bar; the city name in white over four outline copies
    // a pixel off diagonally.
    const float top = -0.5f * (cityHeight + mayorText->Height);
    constexpr int32_t offsets[5][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, 0}};
    for (const auto& o : offsets) {
        const auto& colour = (o[0] == 0) ? gui->textCol_white : gui->textCol_default;
        layerName->addContent(TGUI::PlacedText(shownCity, font, colour, -0.5f * cityWidth + float(o[0]), top + float(o[1])));
    }
    mayorText->SetIntHandle(int32_t(0.5f * mayorText->Width), int32_t(-(top + cityHeight)));
    layerName->addContent(mayorText);
}

void TMainTool::setLayerMoneyText(const std::string& money, const std::string& date, float dayPart, bool inDebt) {
    if (_clockNeedle) _clockNeedle->formation.SetRotation(std::isfinite(dayPart) ? dayPart * 360.0f : 0.0f);
    if (_moneyShown && money == _shownMoney && date == _shownDate && inDebt == _shownInDebt) return;
    _moneyShown = true;
    _shownMoney = money;
    _shownDate = date;
    _shownInDebt = inDebt;
    layerMoney->Clear();
    layerMoney->addContent(_clock);
    _addTwoLines(*layerMoney, money, date, inDebt ? &gui->textCol_red : nullptr);
}

void TMainTool::setLayerHabitantsText(int32_t count, float satisfaction) {
    // A satisfaction that is not a number reads as 0, and the smiley's frame follows it.
    const float s = std::isfinite(satisfaction) ? std::clamp(satisfaction, 0.0f, 1.0f) : 0.0f;
    const int32_t percent = static_cast<int32_t>(s * 100.0f);
    if (_smiley) _smiley->setFrame(gui->getSmileyImgFrame(s));
    if (count == _shownCount && percent == _shownPercent) return;
    _shownCount = count;
    _shownPercent = percent;
    layerHabitants->Clear();
    layerHabitants->addContent(_smileySlot);
    _addTwoLines(*layerHabitants, Tr("Einwohner: %1", count), Tr("Zufriedenheit: %1%", percent));
}

void TMainTool::setAdviceText(const TAdvice& advice) {
    if (_adviceShown && advice == _shownAdvice) return;
    _adviceShown = true;
    _shownAdvice = advice;
    layerAdvice->Clear();
    if (advice.hasPlace) layerAdvice->addContent(_pinSlot);
    const float room = _textRoom(advice.hasPlace ? 1 : 0);
    const std::string text = advice.Shown();
    // The default font while the text fits on two lines in it, else the small one; what is too
    // long even then is cut with "…".
    std::shared_ptr<TImageFont> font;
    std::pair<std::string, std::string> lines;
    for (const auto& f : {gui->DefaultFont, gui->smallFont}) {
        if (!f) continue;
        font = f;
        lines = BreakLine(text, *f, room);
        if (f->TextWidth(lines.first) <= room && f->TextWidth(lines.second) <= room) break;
    }
    if (!font) return;
    const float left = -0.5f * float(layerWidth) + barPadding, lineHeight = TGUI::FontHeight(font);
    // One line stands in the bar's middle, two as on the other bars.
    const float top = lines.second.empty() ? -0.5f * lineHeight : -lineHeight;
    layerAdvice->addContent(
        TGUI::PlacedText(TGUI::FitText(lines.first, font.get(), room), font, gui->textCol_default, left, top));
    if (lines.second.empty()) return;
    layerAdvice->addContent(
        TGUI::PlacedText(TGUI::FitText(lines.second, font.get(), room), font, gui->textCol_default, left, 0));
}

void TMainTool::onCmdAdvice() {
    if (layer && _shownAdvice.hasPlace) layer->focusOn(_shownAdvice.CentreX(), _shownAdvice.CentreY(), 1);
}

float TMainTool::_textRoom(int32_t pictureAtRight) const {
    const float bar = float(layerWidth) - 2 * barPadding;
    return pictureAtRight ? bar - (float(layerHeight) - gap) - gap : bar;
}

void TMainTool::_addTwoLines(vesko::TCGroup& group, const std::string& upper, const std::string& lower,
                             const vesko::TCRGBA* upperColour) {
    // Both lines in one font, the default one while they fit before the picture at the right.
    const float room = _textRoom(1);
    const auto font = TGUI::FittingFont({gui->DefaultFont, gui->smallFont}, {upper, lower}, room);
    const float left = -0.5f * float(layerWidth) + barPadding;
    const vesko::TCRGBA& upperCol = upperColour ? *upperColour : gui->textCol_default;
    group.addContent(
        TGUI::PlacedText(TGUI::FitText(upper, font.get(), room), font, upperCol, left, -TGUI::FontHeight(font)));
    group.addContent(TGUI::PlacedText(TGUI::FitText(lower, font.get(), room), font, gui->textCol_default, left, 0));
}

// --- game speed ----------------------------------------------------------------------------

std::array<TGUIGadget*, 5> TMainTool::_speedButtons() const {
    return {cmdSpeedPause.get(), cmdSpeedSlow.get(), cmdSpeedDefault.get(), cmdSpeedFast.get(), cmdSpeedHyper.get()};
}

void TMainTool::selectSpeedButton(int32_t index) {
    const int32_t n = int32_t(gameSpeeds.size());
    const int32_t chosen = ((index % n) + n) % n;
    const auto buttons = _speedButtons();
    for (int32_t i = 0; i < n; ++i) {
        auto& g = *buttons[size_t(i)]->gadget;
        g.State = i == chosen ? 1 : 0;
        g._RefreshTouchObjects();
    }
    speedEvent();
}

int32_t TMainTool::getSelectedSpeedButton() const {
    const auto buttons = _speedButtons();
    for (size_t i = 0; i < buttons.size(); ++i) {
        if (buttons[i] && buttons[i]->gadget->State) return int32_t(i);
    }
    return -1;
}

void TMainTool::speedEvent() {
    const int32_t i = getSelectedSpeedButton();
    if (layer) layer->setGameSpeed(i < 0 ? 0.0f : gameSpeeds[size_t(i)]);
}

int32_t TMainTool::_cmdSpeedAction(vesko::TTGUIGadget& gadget) {
    if (gadget.hit && gadget.mode == 0) {
        if (gadget.Parent) {
            for (const auto& sibling : gadget.Parent->children->children) {
                if (sibling->EventFunc != _cmdSpeedAction) continue;
                sibling->State = 0;
                sibling->_RefreshTouchObjects();
            }
        }
        gadget.State = 1;
    }
    gadget.SetInFront();
    gadget._RefreshTouchObjects();
    return 0;
}

// --- city name -----------------------------------------------------------------------------

std::string TMainTool::getCityName() const { return layer ? layer->getCityName() : std::string(); }

int32_t TMainTool::setCityName(const std::string& name) {
    std::vector<uint32_t> kept;
    for (uint32_t cp : TCharset::Decode(name)) {
        if (Printable(cp)) kept.push_back(cp);
    }
    const auto first = std::find_if_not(kept.begin(), kept.end(), Blank);
    const auto last = std::find_if_not(kept.rbegin(), std::make_reverse_iterator(first), Blank).base();
    if (first == last || !layer) return 0;
    std::vector<uint32_t> clean(first, first + std::min(last - first, std::ptrdiff_t(maxCityNameLength)));
    // A cut may leave a space at the new end.
    while (Blank(clean.back())) clean.pop_back();
    layer->setCityName(TCharset::Encode(clean));
    return 1;
}

void TMainTool::onCmdName() {
    if (!tft) return;
    tft->startTool(getCityName(), Tr("Stadtnamen verändern"), "", "", _setCityName, this, nullptr, nullptr, 0, 0.0f);
}

int32_t TMainTool::_onCmdName(void* context) {
    if (auto* t = AsTool(context)) t->onCmdName();
    return 0;
}

int32_t TMainTool::_onCmdMoney(void* context) {
    if (auto* t = AsTool(context)) t->onCmdMoney();
    return 0;
}

int32_t TMainTool::_onCmdHabitants(void* context) {
    if (auto* t = AsTool(context)) t->onCmdHabitants();
    return 0;
}

int32_t TMainTool::_onCmdAdvice(void* context) {
    if (auto* t = AsTool(context)) t->onCmdAdvice();
    return 0;
}

int32_t TMainTool::_SpeedEvent(void* context) {
    if (auto* t = AsTool(context)) t->speedEvent();
    return 0;
}

int32_t TMainTool::_setCityName(void* context, const std::string& name) {
    auto* t = AsTool(context);
    return t ? t->setCityName(name) : 0;
}
