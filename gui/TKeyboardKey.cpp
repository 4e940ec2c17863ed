#include "gui/TKeyboardKey.h"

#include "gui/TGUIGadget.h"

std::shared_ptr<TKeyboardKey> TKeyboardKey::Create(TTextFieldTool* owner, const std::string& action, int32_t shift,
                                                   const std::shared_ptr<TGUIGadget>& cmd) {
    auto k = std::make_shared<TKeyboardKey>();
    k->textFieldTool = owner;
    k->action = action;
    k->shift = shift;
    k->cmd = cmd;
    return k;
}
