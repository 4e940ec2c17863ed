#pragma once
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class TImageFont;

// The message line at the top centre of the screen: a few lines for the player (saved, loaded,
// refused, taken back) over a dark box, shown for a few seconds and fading out at the end.
class TMessageLine {
public:
    // How long a message stays on screen; it fades out over its last fadeMS.
    static constexpr int32_t lifeMS = 3000;
    static constexpr int32_t fadeMS = 500;

    // Shows the text (lines split at '\n') in place of the one before and prints it.
    void Show(const std::string& text);
    // Draws the message in interface units, if one is due.
    void Draw(const std::shared_ptr<TImageFont>& font);

    std::vector<std::string> lines;
    // When the message was first drawn; −1 until then, so it counts from the first frame that
    // shows it (a new game's first frames may take a while).
    int32_t shownMS = -1;
};
