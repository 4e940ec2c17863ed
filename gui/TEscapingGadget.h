#pragma once
#include <cstdint>
#include <memory>
#include <vector>

namespace vesko {
class TContent;
class TTGUIGadget;
}  // namespace vesko

// A drawn copy of a gadget that is being hidden: it leaps up, falls and fades out. The copy
// takes no touches.
class TEscapingGadget {
public:
    static std::shared_ptr<TEscapingGadget> Create(const vesko::TTGUIGadget& gadget, float startSpeed = 200.0f,
                                                   float acc = 1500.0f, int32_t lifeTime = 500);
    void Draw();
    bool isValid() const;

    std::shared_ptr<vesko::TTGUIGadget> GadgetCopy;
    float start_x = 0, start_y = 0;
    int32_t start_ms = 0;
    float start_speed = 0, acc = 0;
    int32_t lifeTime = 1;

private:
    // Every content of the copy with its own alpha, so the fade scales what each had.
    std::vector<std::pair<std::shared_ptr<vesko::TContent>, double>> faded;
};
