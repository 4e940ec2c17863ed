#pragma once
#include <memory>
#include <string>

#include "framework/TContent.h"

class TImageFont;

namespace vesko {

// A line of text in an image font.
class TCText : public TContent {
public:
    // Width and height follow the text in that font (0 without a font).
    static std::shared_ptr<TCText> Create(const std::string& text, std::shared_ptr<TImageFont> font,
                                          int32_t useInt = -1);
    // Class-wide whole-pixel setting for texts with useInt = -1.
    static void setUseIntPosition(bool on) { useIntPosition = on; }
    static bool getUseIntPosition() { return useIntPosition; }

    // Replaces the text and measures it again in the font.
    void SetText(const std::string& text);
    void _Draw(float x, float y) override;
    std::shared_ptr<TContent> _Copy() const override { return std::make_shared<TCText>(*this); }

    std::string str;
    std::shared_ptr<TImageFont> imgfont;
    int32_t useInt = -1;

private:
    static inline bool useIntPosition = false;
};

}  // namespace vesko
