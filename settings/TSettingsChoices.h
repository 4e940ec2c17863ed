#pragma once
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

#include "platform/TPaths.h"

// The options the settings panel offers, one row each: the values a row steps through, the text
// each value shows, and the keys it writes into options.cfg. A row's current value comes from
// TSettings (the shell keeps the window's size and full screen there while the game runs); a
// value the list lacks (a window dragged to its own size, a gamma typed into the file) is put
// into the list in its place, so stepping goes on from it. Stepping sets TSettings and writes the
// row's keys at once, keeping every other line of the file.
class TSettingsChoices {
public:
    enum TRow : int32_t {
        WindowSize,
        FullScreen,
        InterfaceScale,
        FPSLine,
        Gamma,
        ScrollSpeed,
        Autosave,
        Language,
        Sound,
        SoundVolume,
        AmbienceVolume,
        RowCount
    };
    using TValues = std::vector<std::pair<std::string, std::string>>;

    // One value of a row: its place in the row's order, the text it shows and what it writes.
    struct TChoice {
        double number = 0;
        std::string text;
        TValues values;
    };

    // The options file is the settings folder's (TPaths::Config).
    TSettingsChoices() : optionsPath(TPaths::Config("options.cfg")) {}
    explicit TSettingsChoices(std::string optionsPath) : optionsPath(std::move(optionsPath)) {}

    // The row's name and a line about it for its tooltip, in the language in use.
    static std::string Name(TRow row);
    static std::string Note(TRow row);
    // The key that names the row: the first it writes ("Resolution horizontal" for the window size).
    static std::string Key(TRow row);

    // The row's values in order, its current one among them.
    std::vector<TChoice> Choices(TRow row) const;
    // Where the current value stands in Choices.
    size_t Current(TRow row) const;
    std::string ValueText(TRow row) const;
    // Whether there is a value before (−1) or after (+1) the current one.
    bool CanStep(TRow row, int32_t direction) const;
    // Goes to the value before (−1) or after (+1) the current one, staying at the ends; false
    // when there is none. The new value is set in TSettings and written to options.cfg (a file
    // that cannot be written is reported on standard output; the value is used all the same).
    bool Step(TRow row, int32_t direction);
    // The next value, after the last the first; false only for a row of one value.
    bool Cycle(TRow row);

    std::string optionsPath;

private:
    bool _choose(TRow row, size_t index);
};
