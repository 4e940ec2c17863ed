#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

class TGUIGadget;
class TTextFieldTool;

namespace vesko {
class TCGroup;
}

// One button of the on-screen keyboard: the text it types, or one of the control actions
// "update" (the keyboard toggle), "Shift", "ShiftLock" and "<-" (delete before the cursor).
class TKeyboardKey {
public:
    // Which face a key is: shown only without shift, only with shift, or always.
    static constexpr int32_t unshifted = 0, shifted = 1, always = -1;

    static std::shared_ptr<TKeyboardKey> Create(TTextFieldTool* owner, const std::string& action, int32_t shift,
                                                const std::shared_ptr<TGUIGadget>& cmd);
    // Whether this face belongs on the keyboard while shift is s (0 or 1).
    bool ShownWith(int32_t s) const { return shift == always || shift == s; }

    TTextFieldTool* textFieldTool = nullptr;
    std::string action;
    int32_t shift = always;
    std::shared_ptr<TGUIGadget> cmd;
    // The key's lettering, unpressed and pressed; the keyboard draws all letterings after all
    // key faces, so the glyphs of one font go to the device together.
    std::array<std::shared_ptr<vesko::TCGroup>, 2> label;
    int32_t wide = 0;
};
