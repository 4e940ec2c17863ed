#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "gui/TGUIElement.h"
#include "platform/TCallback.h"

class TGUI;
class TImageFont;
class TInputSnapshot;
class TKeyboardKey;

namespace vesko {
class TCFunc;
}

// The game's one text-entry panel: a text field with OK and cancel buttons around a move
// button, and an on-screen German keyboard that folds out of its keyboard button. A tool that
// needs a line of text opens it with startTool; the physical keyboard types into it from the
// moment it opens (the cursor stands after the text) while the panel lies in front.
//
// The text is UTF-8 and holds printable ISO-8859-1 characters only (32–126, 160–255) that the
// font can draw: the game's files are 8-bit, so anything beyond Latin-1 could not be saved as
// typed, and control characters are never inserted. Text wider than the field scrolls with the
// cursor (its start shows while the cursor is near it); at most maxChars characters are kept.
class TTextFieldTool : public TGUIElement {
public:
    using TOkFunc = TCallback<int32_t(const std::string& text)>;
    using TCancelFunc = TCallback<int32_t()>;
    // May rewrite the text and the cursor after every change.
    using TEditFunc = TCallback<int32_t(std::string& text, int32_t& cursor)>;

    // The longest text a field takes (a city's or a save's name, a rate, a console word).
    static constexpr size_t maxChars = 64;

    static std::shared_ptr<TTextFieldTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                                  float smallButtonRadius, TInputSnapshot* event);

    // Cancels a running edit through its cancel callback, then opens the panel for a new one.
    // Empty OK and cancel tooltips become "Ok" and "Abbrechen". The edit hook is cleared.
    void startTool(const std::string& text, const std::string& tooltip, const std::string& okTooltip,
                   const std::string& cancelTooltip, TOkFunc::Function gameFunc, void* gameObj,
                   TCancelFunc::Function cancelFunc = nullptr, void* cancelObj = nullptr, int32_t isPW = 0,
                   float align = 0);
    void setEditFunc(TEditFunc::Function f, void* context) { editFunc = TEditFunc(f, context); }

    void Update() { updateTool(); }
    void updateTool();
    void SHOW() override;
    void HIDE() override;
    int32_t isKeyboardVisible() const;
    void setKeyboardVisible(int32_t visible);
    // A cursor is placed, the panel is shown and it is the front-most panel.
    int32_t haveToGrabKeys() const;

    // OK hides the panel when the callback accepts the text (non-zero, or no callback).
    void onCmdOk();
    void onCmdCancel();
    void onKeyHit(const TKeyboardKey& key);
    // Draws the shown text centred on (x, y) as the field's content, with the blinking cursor.
    void drawTextField(float x, float y);

    void _addText(const std::string& s);
    // Direction ≤ 0 deletes before the cursor, > 0 after it; 0 when the cursor stood at 0.
    int32_t _removeText(int32_t direction);
    void _moveCursor(int32_t offset);
    // Runs the edit hook, then cuts the text to maxChars and scrolls the cursor into view.
    void _trimText();
    std::string _getShowedText() const;
    // Where the cursor before character i lies, relative to the field's centre.
    void _transformCursorToPos(int32_t i, float& x, float& y);
    // The cursor index nearest to x, relative to the field's centre.
    int32_t _transformPosToCursor(float x);

    static int32_t _onCmdOk(void* context);
    static int32_t _onCmdCancel(void* context);
    static int32_t _onKeyHit(void* context);
    static std::shared_ptr<void> _drawTextField(vesko::TCFunc& content, float x, float y);
    // Toggle buttons: each press turns the state over.
    // Draws the lettering of every shown key, after all key faces.
    static std::shared_ptr<void> _drawKeyLabels(vesko::TCFunc& content, float x, float y);
    static int32_t _shiftFunc(vesko::TTGUIGadget& gadget);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0, smallButtonRadius = 0;
    TInputSnapshot* event = nullptr;
    TOkFunc gameFunc;
    TCancelFunc cancelFunc;
    TEditFunc editFunc;
    std::shared_ptr<TGUIGadget> cmdMove, cmdTextField;
    float textfield_Width = 0, textfield_Height = 0;
    std::shared_ptr<TGUIGadget> cmdOK, cmdCancel, cmdKeyboard;
    std::shared_ptr<TImageFont> currentFont;
    std::string currentText;
    int32_t currentCursor = 0;  // characters before the cursor; −1 = none placed yet
    int32_t startMS = 0;
    int32_t IsActive = 0;
    int32_t isPW = 0;
    std::vector<std::shared_ptr<TKeyboardKey>> keyboardKeys;
    std::shared_ptr<TGUIGadget> cmdShift, cmdShiftLock;
    float align = 0;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float r, float smallR, TInputSnapshot* event);
    void _generateKeyboard();
    // A key of `span` columns (wide keys are bars) at column c of row w; one gadget when
    // both characters are the same, else one per shift state. Returns the last gadget.
    std::shared_ptr<TGUIGadget> _addKey(const std::string& label, const std::string& normal, const std::string& shifted,
                                        int32_t c, int32_t w, int32_t span = 1);
    void updateCursorPos();
    void updateKeys();
    int32_t _getShift() const;
    void _updateShift();
    void _showShiftButtons(int32_t s);
    int32_t _callGameFunc(const std::string& text);
    int32_t _callCancelFunc();
    void _endEdit();

    // How wide the shown text may be.
    float _room() const;
    // Moves the shown part of a text wider than the field just as far as the cursor needs.
    void _scrollToCursor();
    // Where the shown text begins, relative to the field's centre, for a text of that width.
    float _textLeft(float shownWidth) const;
    // Puts the keys where the whole keyboard lies on screen: below the panel, shifted sideways
    // as far as needed, or above the panel when there is no room below.
    void _placeKeyboard();

    std::shared_ptr<TKeyboardKey> _keyboardToggle;
    // How far a text wider than the field is scrolled to the left.
    float _scroll = 0;
    // Each key's place under the keyboard button (parallel to keyboardKeys), the box around
    // all of them there, and how far the keys are moved from it now.
    std::vector<std::array<float, 2>> _keyPlaces;
    float _keysLeft = 0, _keysTop = 0, _keysRight = 0, _keysBottom = 0;
    float _keysDx = 0, _keysDy = 0;
    int32_t _shownShift = -1;
    // Counts the edits started, so a callback that starts a new edit is not closed after it.
    uint32_t _edit = 0;
};
