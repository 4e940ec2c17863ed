#include "gui/TTextFieldTool.h"

#include <algorithm>
#include <cmath>
#include <numbers>
#include <utility>

#include "framework/TCFunc.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TTouchGUI.h"
#include "framework/TTouchObject.h"
#include "gui/TGUI.h"
#include "gui/TInputSnapshot.h"
#include "gui/TKeyboardKey.h"
#include "platform/TCatalogue.h"
#include "platform/TCharset.h"
#include "platform/TClock.h"
#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TInput.h"

namespace {
// Between the panel and a keyboard folded out above it.
constexpr float keyboardGap = 4.0f;

bool Printable(uint32_t cp) { return (cp >= 32 && cp < 127) || (cp >= 160 && cp <= 255); }

// The printable characters of s that the font can draw, as valid UTF-8 (a malformed byte
// counts as the Latin-1 character of its value).
std::string Clean(std::string_view s, TImageFont* font) {
    std::string out;
    out.reserve(s.size());
    for (uint32_t cp : TCharset::Decode(s)) {
        if (Printable(cp) && (!font || font->Glyph(cp))) out += TCharset::Encode(cp);
    }
    return out;
}

// Byte offset of character i in valid UTF-8 (the end when i is past it).
size_t ByteAt(const std::string& s, int32_t i) {
    size_t at = 0;
    for (; at < s.size(); ++at) {
        if ((uint8_t(s[at]) & 0xC0) != 0x80 && i-- == 0) break;
    }
    return at;
}

float Advance(TImageFont& font, uint32_t cp) {
    const TImageFont::TGlyph* g = font.Glyph(cp);
    return g ? g->advance : 0.0f;
}

// Text in white over four dark copies a pixel off diagonally; the pressed state sits one
// pixel lower and to the right, like an icon.
// White lettering over four dark copies a pixel off diagonally; pressed, it sits a pixel lower
// and to the right like the button's icon.
std::array<std::shared_ptr<vesko::TCGroup>, 2> Lettering(const std::string& text,
                                                         const std::shared_ptr<TImageFont>& font,
                                                         const vesko::TCRGBA& light, const vesko::TCRGBA& dark) {
    std::array<std::shared_ptr<vesko::TCGroup>, 2> faces;
    constexpr int32_t offsets[5][2] = {{-1, -1}, {1, -1}, {-1, 1}, {1, 1}, {0, 0}};
    for (int32_t s = 0; s < 2; ++s) {
        faces[size_t(s)] = vesko::TCGroup::Create();
        if (!font) continue;
        for (const auto& o : offsets) {
            auto t = vesko::TCText::Create(text, font, 1);
            t->SetHandle(std::trunc(t->Width * 0.5f) - float(o[0] + s), std::trunc(t->Height * 0.5f) - float(o[1] + s));
            t->formation.rgba = (o[0] == 0) ? light : dark;
            faces[size_t(s)]->addContent(t);
        }
    }
    return faces;
}

}  // namespace

std::shared_ptr<TTextFieldTool> TTextFieldTool::Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                       float smallButtonRadius, TInputSnapshot* event) {
    if (!gui) return nullptr;
    auto t = std::make_shared<TTextFieldTool>();
    t->generate(gui, buttonRadius, smallButtonRadius, event);
    return t;
}

void TTextFieldTool::generate(const std::shared_ptr<TGUI>& g, float r, float smallR, TInputSnapshot* e) {
    gui = g;
    buttonRadius = r;
    smallButtonRadius = smallR;
    event = e;
    cmdMove = gui->AddPanelAnchor(r);
    _mainGadget = cmdMove;

    cmdTextField = gui->AddBarButton(0, 0, cmdMove.get(), gui->textfieldImg);
    if (gui->textfieldImg) {
        textfield_Width = float(gui->textfieldImg->width);
        textfield_Height = float(gui->textfieldImg->height);
    }
    cmdTextField->gadget->SetPosition(std::trunc(0.5f * textfield_Width + r), 0);
    auto draw = vesko::TCFunc::Load(_drawTextField);
    // A plain pointer back to the tool, which outlives its gadgets.
    draw->container = std::shared_ptr<void>(std::shared_ptr<void>(), this);
    for (int32_t s = 0; s < 2; ++s) {
        if (auto group = TGUI::StateGroup(*cmdTextField, s)) group->addContent(draw);
    }

    const float up = -std::numbers::sqrt3_v<float> * r;
    cmdOK = gui->AddRoundButton(textfield_Width + 2 * r, 0, r, cmdMove.get());
    cmdOK->setIcon(gui->buttonOkImg, Tr("Anwenden"));
    cmdOK->setGameFunc(_onCmdOk, this);
    cmdCancel = gui->AddRoundButton(-r, up, r, cmdMove.get());
    cmdCancel->setIcon(gui->buttonCloseImg, Tr("Abbrechen"));
    cmdCancel->setGameFunc(_onCmdCancel, this);
    cmdKeyboard = gui->AddRoundButton(r, up, r, cmdMove.get());
    cmdKeyboard->setIcon(gui->buttonKeyboardImg, Tr("Keyboard"));
    cmdKeyboard->gadget->EventFunc = _shiftFunc;
    _keyboardToggle = TKeyboardKey::Create(this, "update", TKeyboardKey::always, cmdKeyboard);
    cmdKeyboard->setGameFunc(_onKeyHit, _keyboardToggle.get());
    _generateKeyboard();

    // The panel waits hidden for its first edit.
    cmdKeyboard->gadget->hideChildren();
    cmdMove->gadget->HIDE();
    cmdMove->gadget->hideChildren();
}

void TTextFieldTool::_generateKeyboard() {
    const char* const digits[] = {"1", "2", "3", "4", "5", "6", "7", "8", "9", "0"};
    const char* const digitsShifted[] = {"!", "\"", "§", "$", "%", "&", "/", "(", ")", "="};
    for (int32_t i = 0; i < 10; ++i) _addKey(digits[i], digits[i], digitsShifted[i], i, 0);
    struct TSign {
        const char *label, *normal, *shifted;
        int32_t column, row;
    };
    const TSign signs[] = {
        {"ß", "ß", "?", 10, 0},  {"´", "´", "`", 11, 0},
        {"~", "~", "|", 12, 0},  {TrNoop("Backspace"), "<-", "<-", 13, 0},
        {"^", "^", "°", -1, 1},  {"+", "+", "*", 11, 1},
        {"@", "@", "\\", 12, 1}, {";", ",", ";", 7, 3},
        {":", ".", ":", 8, 3},   {"-", "-", "_", 9, 3},
        {"'", "#", "'", 10, 3},  {"<", "<", ">", 11, 3},
    };
    for (const TSign& s : signs) _addKey(Tr(s.label), s.normal, s.shifted, s.column, s.row);
    struct TLetters {
        std::vector<std::string> labels;
        int32_t firstColumn, row;
    };
    const TLetters letters[] = {
        {{"Q", "W", "E", "R", "T", "Z", "U", "I", "O", "P", "Ü"}, 0, 1},
        {{"A", "S", "D", "F", "G", "H", "J", "K", "L", "Ö", "Ä"}, 1, 2},
        {{"Y", "X", "C", "V", "B", "N", "M"}, 0, 3},
    };
    for (const TLetters& row : letters) {
        for (size_t i = 0; i < row.labels.size(); ++i) {
            const std::string& l = row.labels[i];
            _addKey(l, TCharset::ToLower(l), l, row.firstColumn + int32_t(i), row.row);
        }
    }
    cmdShiftLock = _addKey(Tr("ShiftLock"), "ShiftLock", "ShiftLock", -1, 2, 2);
    cmdShift = _addKey(Tr("Shift"), "Shift", "Shift", -2, 3, 2);
    for (const auto& toggle : {cmdShiftLock, cmdShift}) toggle->gadget->EventFunc = _shiftFunc;
    _addKey(Tr("Space"), " ", " ", 3, 4, 5);
    // Last child of the keyboard button: drawn after every key face.
    auto lettering = vesko::TCFunc::Load(_drawKeyLabels);
    lettering->container = std::shared_ptr<void>(std::shared_ptr<void>(), this);
    gui->root->NewGadget(0, 0, cmdKeyboard->gadget.get(), nullptr, lettering);
}

std::shared_ptr<void> TTextFieldTool::_drawKeyLabels(vesko::TCFunc& content, float, float) {
    auto* t = static_cast<TTextFieldTool*>(content.container.get());
    if (!t) return nullptr;
    // Round keys first, then the wide ones: one run of glyphs per font.
    for (int32_t wide = 0; wide < 2; ++wide) {
        for (const auto& key : t->keyboardKeys) {
            const auto& g = *key->cmd->gadget;
            if (key->wide != wide || !g.isShowed()) continue;
            if (const auto& face = key->label[g.State ? 1 : 0]) face->Draw(g.GetX(1), g.GetY(1));
        }
    }
    return nullptr;
}

std::shared_ptr<TGUIGadget> TTextFieldTool::_addKey(const std::string& label, const std::string& normal,
                                                    const std::string& shifted, int32_t c, int32_t w, int32_t span) {
    const float r = buttonRadius;
    // Each row lies half a key right of the one above; a wide key reaches over `span` columns.
    const float x = -3 * r + 2 * r * (float(c) + 0.5f * float(w)) + r * float(span - 1);
    const float y = r * (std::numbers::sqrt3_v<float> + 2) + 2 * r * float(w);
    std::vector<std::pair<std::string, int32_t>> faces;
    if (normal == shifted) {
        faces.emplace_back(normal, TKeyboardKey::always);
    } else {
        faces.emplace_back(normal, TKeyboardKey::unshifted);
        faces.emplace_back(shifted, TKeyboardKey::shifted);
    }
    std::shared_ptr<TGUIGadget> g;
    const float halfWidth = span > 1 ? r * float(span) - 1 : r, halfHeight = span > 1 ? r - 1 : r;
    if (keyboardKeys.empty()) {
        _keysLeft = _keysRight = x;
        _keysTop = _keysBottom = y;
    }
    _keysLeft = std::min(_keysLeft, x - halfWidth);
    _keysRight = std::max(_keysRight, x + halfWidth);
    _keysTop = std::min(_keysTop, y - halfHeight);
    _keysBottom = std::max(_keysBottom, y + halfHeight);
    for (const auto& [action, shift] : faces) {
        if (span > 1) {
            g = gui->AddBarButton(x, y, cmdKeyboard.get(), gui->button_BarImg, 2 * halfWidth, 2 * halfHeight);
        } else {
            g = gui->AddRoundButton(x, y, r, cmdKeyboard.get());
        }
        _keyPlaces.push_back({x, y});
        g->SetTooltip(label);
        // The keys follow the keyboard button; pushing single keys on screen would break the rows.
        g->SetAutoCorrectPositionEnable(0);
        auto key = TKeyboardKey::Create(this, action, shift, g);
        key->wide = span > 1 ? 1 : 0;
        key->label = span > 1 ? Lettering(label, gui->bigFont, gui->textCol_white, gui->textCol_dark)
                              : Lettering(action, gui->largeFont, gui->textCol_white, gui->textCol_dark);
        g->setGameFunc(_onKeyHit, key.get());
        keyboardKeys.push_back(key);
    }
    return g;
}

// --- opening and closing -------------------------------------------------------------------

void TTextFieldTool::startTool(const std::string& text, const std::string& tooltip, const std::string& okTooltip,
                               const std::string& cancelTooltip, TOkFunc::Function okFunc, void* okObj,
                               TCancelFunc::Function cancelF, void* cancelObj, int32_t pw, float a) {
    onCmdCancel();
    ++_edit;
    // The field takes the keyboard at once: typed keys never reach the game's shortcuts.
    currentCursor = int32_t(TCharset::Length(Clean(text, gui->bigFont.get())));
    currentFont = gui->bigFont;
    currentText = Clean(text, currentFont.get());
    cmdTextField->SetTooltip(tooltip);
    cmdOK->SetTooltip(okTooltip.empty() ? Tr("Ok") : okTooltip);
    cmdCancel->SetTooltip(cancelTooltip.empty() ? Tr("Abbrechen") : cancelTooltip);
    gameFunc = TOkFunc(okFunc, okObj);
    cancelFunc = TCancelFunc(cancelF, cancelObj);
    editFunc = TEditFunc();
    align = a;
    isPW = pw;
    _trimText();
    startMS = Millisecs();
    showTool();
}

void TTextFieldTool::_endEdit() {
    gameFunc = TOkFunc();
    cancelFunc = TCancelFunc();
    editFunc = TEditFunc();
}

int32_t TTextFieldTool::_callGameFunc(const std::string& text) {
    if (!gameFunc.IsSet()) return 1;
    const uint32_t edit = _edit;
    // A copy: the callback may start a new edit, which replaces the text and the callbacks.
    const int32_t result = TOkFunc(gameFunc)(std::string(text));
    if (result != 0 && edit == _edit) _endEdit();
    return result;
}

int32_t TTextFieldTool::_callCancelFunc() {
    const TCancelFunc cancel = cancelFunc;
    _endEdit();
    return cancel.IsSet() ? cancel() : 0;
}

void TTextFieldTool::onCmdOk() {
    const uint32_t edit = _edit;
    if (_callGameFunc(currentText) != 0 && edit == _edit) hideTool();
}

void TTextFieldTool::onCmdCancel() {
    const uint32_t edit = _edit;
    _callCancelFunc();
    if (edit == _edit) hideTool();
}

int32_t TTextFieldTool::_onCmdOk(void* context) {
    if (auto* t = static_cast<TTextFieldTool*>(context)) t->onCmdOk();
    return 0;
}

int32_t TTextFieldTool::_onCmdCancel(void* context) {
    if (auto* t = static_cast<TTextFieldTool*>(context)) t->onCmdCancel();
    return 0;
}

int32_t TTextFieldTool::_onKeyHit(void* context) {
    auto* key = static_cast<TKeyboardKey*>(context);
    if (key && key->textFieldTool) key->textFieldTool->onKeyHit(*key);
    return 0;
}

// --- visibility and shift ------------------------------------------------------------------

void TTextFieldTool::SHOW() {
    TGUIElement::SHOW();
    _updateShift();
}

void TTextFieldTool::HIDE() {
    if (cmdKeyboard) cmdKeyboard->gadget->hideChildren();
    TGUIElement::HIDE();
}

int32_t TTextFieldTool::isKeyboardVisible() const { return cmdKeyboard && cmdKeyboard->gadget->State ? 1 : 0; }

void TTextFieldTool::setKeyboardVisible(int32_t visible) {
    cmdKeyboard->gadget->State = visible ? 1 : 0;
    cmdKeyboard->gadget->_RefreshTouchObjects();
    _updateShift();
}

int32_t TTextFieldTool::_getShift() const {
    const auto& shift = *cmdShift->gadget;
    return (shift.down || shift.State || cmdShiftLock->gadget->State) ? 1 : 0;
}

void TTextFieldTool::_updateShift() {
    if (isKeyboardVisible() && isVisible()) {
        cmdKeyboard->gadget->showChildren();
        _placeKeyboard();
        _showShiftButtons(_getShift());
    } else {
        cmdKeyboard->gadget->hideChildren();
    }
}

void TTextFieldTool::_showShiftButtons(int32_t s) {
    for (const auto& key : keyboardKeys) {
        if (key->ShownWith(s)) {
            key->cmd->gadget->SHOW();
        } else {
            key->cmd->gadget->HIDE();
        }
    }
    _shownShift = s;
}

int32_t TTextFieldTool::_shiftFunc(vesko::TTGUIGadget& gadget) {
    if (gadget.hit) gadget.State = 1 - gadget.State;
    gadget._RefreshTouchObjects();
    return 0;
}

void TTextFieldTool::onKeyHit(const TKeyboardKey& key) {
    if (key.action == "update" || key.action == "Shift") {
        _updateShift();
        return;
    }
    if (key.action == "ShiftLock") {
        cmdShift->gadget->State = 0;
        cmdShift->gadget->_RefreshTouchObjects();
        _updateShift();
        return;
    }
    if (key.action == "<-") {
        _removeText(-1);
    } else {
        _addText(key.action);
        // Shift holds for one character; Shift Lock stays.
        cmdShift->gadget->State = 0;
        cmdShift->gadget->_RefreshTouchObjects();
        _updateShift();
    }
    startMS = Millisecs();
}

// --- editing -------------------------------------------------------------------------------

void TTextFieldTool::_addText(const std::string& s) {
    if (currentCursor < 0) currentCursor = int32_t(TCharset::Length(currentText));
    const std::string clean = Clean(s, currentFont.get());
    currentText.insert(ByteAt(currentText, currentCursor), clean);
    currentCursor += int32_t(TCharset::Length(clean));
    _trimText();
}

int32_t TTextFieldTool::_removeText(int32_t direction) {
    const int32_t length = int32_t(TCharset::Length(currentText));
    if (currentCursor < 0) currentCursor = length;
    if (direction <= 0) {
        if (currentCursor == 0) return 0;
        --currentCursor;
    } else if (currentCursor >= length) {
        _trimText();
        return 1;
    }
    const size_t from = ByteAt(currentText, currentCursor);
    currentText.erase(from, ByteAt(currentText, currentCursor + 1) - from);
    _trimText();
    return 1;
}

void TTextFieldTool::_moveCursor(int32_t offset) {
    currentCursor = std::clamp(currentCursor + offset, 0, int32_t(TCharset::Length(currentText)));
    _scrollToCursor();
}

void TTextFieldTool::_trimText() {
    if (editFunc.IsSet()) {
        editFunc(currentText, currentCursor);
        currentText = Clean(currentText, currentFont.get());
    }
    // Text wider than the field scrolls with the cursor; only its length is bounded, so a
    // long paste is cut at once.
    const size_t length = std::min(TCharset::Length(currentText), maxChars);
    currentText.resize(ByteAt(currentText, int32_t(length)));
    currentCursor = std::clamp(currentCursor, -1, int32_t(length));
    _scrollToCursor();
}

float TTextFieldTool::_room() const { return textfield_Width - buttonRadius; }

void TTextFieldTool::_scrollToCursor() {
    if (!currentFont) return;
    const std::string shown = _getShowedText();
    const float width = currentFont->TextWidth(shown), room = _room();
    if (width <= room) {
        _scroll = 0;
        return;
    }
    // The shown part moves only as far as the cursor needs, so the start stays in view until
    // the cursor leaves it, and no empty room opens after the end.
    const float at = currentFont->TextWidth(TCharset::Mid(shown, 0, size_t(std::max(currentCursor, 0))));
    _scroll = std::clamp(std::clamp(_scroll, at - room, at), 0.0f, width - room);
}

float TTextFieldTool::_textLeft(float shownWidth) const {
    const float start = -0.5f * textfield_Width + 0.5f * buttonRadius;
    return shownWidth <= _room() ? start + align * (_room() - shownWidth) : start - _scroll;
}

std::string TTextFieldTool::_getShowedText() const {
    return isPW ? std::string(TCharset::Length(currentText), '*') : currentText;
}

// --- geometry and drawing ------------------------------------------------------------------

void TTextFieldTool::_transformCursorToPos(int32_t i, float& x, float& y) {
    x = y = 0;
    if (!currentFont) return;
    const std::string shown = _getShowedText();
    const float prefix = currentFont->TextWidth(TCharset::Mid(shown, 0, size_t(std::max(i, 0))));
    x = _textLeft(currentFont->TextWidth(shown)) + prefix;
    y = -0.5f * float(currentFont->Height());
}

int32_t TTextFieldTool::_transformPosToCursor(float x) {
    if (!currentFont) return 0;
    const std::string shown = _getShowedText();
    const float target = x - _textLeft(currentFont->TextWidth(shown));
    const std::vector<uint32_t> cps = TCharset::Decode(shown);
    float prefix = 0;
    for (size_t i = 0; i < cps.size(); ++i) {
        const float advance = Advance(*currentFont, cps[i]);
        if (prefix + 0.5f * advance >= target) return int32_t(i);
        prefix += advance;
    }
    return int32_t(cps.size());
}

std::shared_ptr<void> TTextFieldTool::_drawTextField(vesko::TCFunc& content, float x, float y) {
    if (auto* tool = static_cast<TTextFieldTool*>(content.container.get())) tool->drawTextField(x, y);
    return nullptr;
}

void TTextFieldTool::drawTextField(float x, float y) {
    if (!currentFont) return;
    const float alpha = GetAlpha();
    SetImageFont(currentFont);
    SetTransform(0, 1, 1);
    SetBlend(ALPHABLEND);
    float tx = 0, ty = 0;
    _transformCursorToPos(0, tx, ty);
    std::string shown = _getShowedText();
    // Of a scrolled text only the characters wholly inside the field are drawn.
    float skipped = 0;
    if (currentFont->TextWidth(shown) > _room()) {
        const std::vector<uint32_t> cps = TCharset::Decode(shown);
        size_t first = 0, end = 0;
        float at = 0;
        for (size_t i = 0; i < cps.size(); ++i) {
            const float next = at + Advance(*currentFont, cps[i]);
            if (at < _scroll - 0.01f) {
                first = i + 1;
                skipped = next;
            } else if (next <= _scroll + _room() + 0.01f) {
                end = i + 1;
            }
            at = next;
        }
        shown = TCharset::Mid(shown, first, std::max(end, first) - first);
    }
    const float px = std::trunc(x + tx + skipped), py = std::trunc(y + ty);
    SetColor(0, 0, 0);
    DrawText(shown, px + 0.5f, py + 0.5f);
    SetColor(255, 255, 255);
    DrawText(shown, px, py);
    if (currentCursor >= 0 && IsActive) {
        float cx = 0, cy = 0;
        _transformCursorToPos(currentCursor, cx, cy);
        // Blinks every 720 ms, starting at half brightness and rising after each edit.
        const float degrees = 0.5f * float(Millisecs() - startMS);
        SetAlpha((0.5f * std::sin(degrees * std::numbers::pi_v<float> / 180.0f) + 0.5f) * alpha);
        DrawLine(x + cx, y - cy, x + cx, y + cy);
        SetAlpha(alpha);
    }
}

// --- per frame -----------------------------------------------------------------------------

int32_t TTextFieldTool::haveToGrabKeys() const {
    if (currentCursor < 0 || !isVisible()) return 0;
    const vesko::TTGUIGadget* parent = cmdMove->gadget->Parent;
    return parent && parent->children->children.back() == cmdMove->gadget ? 1 : 0;
}

void TTextFieldTool::updateTool() {
    if (event) event->enableActions();
    if (!isVisible()) {
        IsActive = 0;
        return;
    }
    updateCursorPos();
    if (event && haveToGrabKeys()) {
        // Game shortcuts stay quiet while the player types.
        event->disableActions();
        updateKeys();
        IsActive = 1;
    } else {
        IsActive = 0;
    }
    if (isVisible() && isKeyboardVisible()) {
        // The panel may have been dragged.
        _placeKeyboard();
        // A finger held on Shift changes the faces while it is held.
        if (_getShift() != _shownShift) _showShiftButtons(_getShift());
    }
}

void TTextFieldTool::_placeKeyboard() {
    if (keyboardKeys.empty()) return;
    const float w = float(gui->xmax), h = float(gui->ymax);
    const float ox = cmdKeyboard->gadget->GetX(1), oy = cmdKeyboard->gadget->GetY(1);
    // Sideways as little as needed; when wider than the screen, its left end shows.
    const float dx = std::round(std::max(std::min(0.0f, w - (ox + _keysRight)), -(ox + _keysLeft)));
    // Above the panel, whose top is the keyboard button's, when there is no room below but
    // room there; when there is neither, below, and the tool set moves the whole panel up.
    const float above = -buttonRadius - keyboardGap - _keysBottom;
    const float dy = std::round(oy + _keysBottom > h && oy + _keysTop + above >= 0 ? above : 0.0f);
    if (dx == _keysDx && dy == _keysDy) return;
    _keysDx = dx;
    _keysDy = dy;
    for (size_t i = 0; i < keyboardKeys.size(); ++i) {
        keyboardKeys[i]->cmd->gadget->SetPosition(_keyPlaces[i][0] + _keysDx, _keyPlaces[i][1] + _keysDy);
    }
}

void TTextFieldTool::updateCursorPos() {
    if (!event) return;
    const auto field = cmdTextField->gadget->getCurrentTouchObject();
    for (const auto& p : event->TouchPoints()) {
        if (!p || !p->getActive()) continue;
        if (vesko::TTouchObject::getTouchObjectAtPos(p->GetX(), p->GetY()) != field) continue;
        currentCursor = _transformPosToCursor(p->GetX() - cmdTextField->gadget->GetX(1));
        startMS = Millisecs();
        // Touching the field takes the keyboard back from a panel in front.
        cmdMove->gadget->SetInFront();
        _trimText();
        return;
    }
}

void TTextFieldTool::updateKeys() {
    bool changed = false;
    // Characters and editing keys in the order typed; printable characters go in as runs, so a
    // pasted text is inserted and cut once.
    std::string run;
    const auto flush = [&] {
        if (!run.empty()) _addText(std::exchange(run, std::string()));
    };
    for (uint32_t cp : TCharset::Decode(event->GetChar())) {
        if (Printable(cp)) {
            run += TCharset::Encode(cp);
            changed = true;
            continue;
        }
        flush();
        const int32_t code = int32_t(cp);
        if (code == TInput::charEscape || code == TInput::charReturn) {
            // What was typed after these keys belongs to no field.
            event->FlushKeys();
            const uint32_t edit = _edit;
            code == TInput::charEscape ? onCmdCancel() : onCmdOk();
            // A refused text stays open for correction.
            if (edit != _edit || !isVisible()) return;
            continue;
        }
        changed = true;
        if (code == TInput::charLeft) {
            _moveCursor(-1);
        } else if (code == TInput::charRight) {
            _moveCursor(1);
        } else if (code == TInput::charDelete) {
            _removeText(1);
        } else if (code == TInput::charBackspace) {
            if (currentCursor > 0) _removeText(-1);
        } else {
            changed = false;
        }
    }
    flush();
    event->FlushKeys();
    if (changed) {
        cmdTextField->gadget->SetInFront();
        _trimText();
        startMS = Millisecs();
    }
}
