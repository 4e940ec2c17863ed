#pragma once
#include <cstdint>
#include <memory>
#include <string>

#include "gui/TGUIElement.h"
#include "gui/TGameCommands.h"

class TGUI;
class TLayer;
class TTextFieldTool;
struct TChangeTaxContainer;

namespace vesko {
class TCFunc;
}

// The tax panel: one inhabitant level at a time, shown as its tech-level picture and its rate
// in whole percent, changed a point at a time or by typing a number in the text field.
// Rates live in the inhabitant pool, which books them monthly. Whatever comes in, a rate is a
// whole percent from 0 to 100: typed text that is no number is refused (the field stays open),
// an emptied field keeps the rate, numbers beyond the range are clamped to it (above 100 with a
// message), and the steps stop at both ends.
class TTaxTool : public TGUIElement {
public:
    static constexpr int32_t maxPercent = 100;
    // The field keeps no more digits than this (a confirmed rate is clamped to 100 anyway).
    static constexpr size_t maxTypedDigits = 9;

    static std::shared_ptr<TTaxTool> Create(const std::shared_ptr<TGUI>& gui, float buttonRadius,
                                            const std::shared_ptr<TLayer>& layer,
                                            const std::shared_ptr<TTextFieldTool>& tft, const TGameCommands& game = {});
    // Keeps the buttons in step with the pool's rate while the panel is shown.
    void Update();
    void SHOW() override;
    // Hides the panel; a rate still being typed is cancelled and keeps its value.
    void hideTool() override;
    void Destroy() override;

    // Levels 1 … 5 of the pool. A rate outside 0 … 1 is clamped; one that is not a number is ignored.
    float getTaxes(int32_t level) const;
    void setTaxes(int32_t level, float rate);
    // The rate of a level in whole percent (rounded, so a rate set as p / 100 reads back as p).
    int32_t _getPercent(int32_t level) const;
    static int32_t _getMaxLevel() { return 5; }

    void onCmdOk() { hideTool(); }
    void cmdLevelUp();
    void cmdLevelDown();
    void onCmdEdit();
    void onCmdTaxesUp();
    void onCmdTaxesDown();
    // The typed rate of a level: 1 and the clamped rate set when the text is a number (an
    // optional "%" after it; a number above 100 is set as 100 and the message line says so);
    // 1 and the rate unchanged for an empty text; else 0 and nothing changes.
    int32_t onEditCallback(const std::string& text, int32_t techlevel);
    // The text field's edit hook: only the digits stay (at most maxTypedDigits, without leading
    // zeros), followed by "%" ("%" alone without any), and the cursor stays before the "%".
    static int32_t txtEditFunc(void* context, std::string& text, int32_t& cursor);
    // Draws the level's picture at the left and the rate at the right of the panel centred on (x, y).
    void drawPanel(float x, float y);
    // The number a text stands for, clamped to 0 … maxPercent and truncated; false when it is
    // none. above tells whether the number was beyond maxPercent.
    static bool _parsePercent(const std::string& text, int32_t& percent, bool* above = nullptr);

    static int32_t _onCmdOk(void* context);
    static int32_t _cmdLevelUp(void* context);
    static int32_t _cmdLevelDown(void* context);
    static int32_t _onCmdEdit(void* context);
    static int32_t _onCmdTaxesUp(void* context);
    static int32_t _onCmdTaxesDown(void* context);
    static int32_t _onEditCallback(void* context, const std::string& text);
    static std::shared_ptr<void> _drawPanel(vesko::TCFunc& content, float x, float y);

    std::shared_ptr<TGUI> gui;
    float buttonRadius = 0;
    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TTextFieldTool> tft;
    // Where the panel's messages for the player go.
    TGameCommands game;
    std::shared_ptr<TGUIGadget> cmdMove, cmdOk, cmdDown, cmdEdit, cmdUp, cmdLvlUp, cmdLvlDown;
    float panelWidth = 0, panelHeight = 0;
    int32_t currentLevel = 0;
    // The bar the panel is drawn on.
    std::shared_ptr<TGUIGadget> panelGadget;

private:
    void generate(const std::shared_ptr<TGUI>& gui, float buttonRadius, const std::shared_ptr<TLayer>& layer,
                  const std::shared_ptr<TTextFieldTool>& tft);
    void _updateLevelButtons();
    void _updateTaxButtons();
    void _stepTaxes(int32_t points);
    // Whether the text field is editing a rate for this panel now.
    bool _isEditing() const;

    std::shared_ptr<TChangeTaxContainer> _editing;
};
