#include "framework/TCText.h"

#include "platform/TDraw.h"
#include "platform/TDrawState.h"
#include "platform/TImageFont.h"

namespace vesko {

std::shared_ptr<TCText> TCText::Create(const std::string& text, std::shared_ptr<TImageFont> font, int32_t useInt) {
    auto t = std::make_shared<TCText>();
    t->str = text;
    t->imgfont = std::move(font);
    t->useInt = useInt;
    t->SetText(text);
    return t;
}

void TCText::SetText(const std::string& text) {
    str = text;
    if (imgfont) {
        Width = imgfont->TextWidth(text);
        Height = float(imgfont->Height());
    }
}

void TCText::_Draw(float x, float y) {
    if (imgfont) SetImageFont(imgfont);
    if (_IntPosition(useInt, useIntPosition)) {
        x = float(static_cast<int32_t>(x));
        y = float(static_cast<int32_t>(y));
    }
    DrawText(str, x, y);
}

}  // namespace vesko
