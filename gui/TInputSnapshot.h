#pragma once
#include <cstdint>
#include <string>

#include "framework/TMultiTouch.h"

// What a panel reads of the frame's input: key hits, the typed text, the touch points, and
// whether the game's key actions may run. The shell's input receiver provides it; the GUI
// sees only this, so it never depends on the shell.
class TInputSnapshot {
public:
    virtual ~TInputSnapshot() = default;
    // Windows virtual-key codes 1 … 256; others read 0.
    virtual int32_t KeyHit(int32_t key) const = 0;
    // The characters typed since the last frame, UTF-8, in the order typed; editing keys come
    // among them as the control codes of TInput (Backspace 8, Return 13, Escape 27, …).
    virtual const std::string& GetChar() const = 0;
    virtual const vesko::TMultiTouch::TTouchPointList& TouchPoints() const = 0;
    // Clears the snapshot's key states, so no later reader in the frame sees those hits.
    virtual void FlushKeys() = 0;
    virtual void enableActions() = 0;
    virtual void disableActions() = 0;
};
