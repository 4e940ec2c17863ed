#pragma once
#include <cstdint>

class TEvent;

// The platform's polled input state. Window-system events are turned into TEvents,
// applied to this state and then sent through the event hooks (PostSystemEvent), so tests
// can inject events without a window.
namespace TInput {
// Pumps the window system's events (no-op without a window) and the timer ticks.
void PollSystem();
// Applies one event to the polled state, then emits it through the hooks.
void PostSystemEvent(TEvent& event);
// The same for an event made of its id and values.
void PostSystemEvent(int32_t id, int32_t data = 0, int32_t x = 0, int32_t y = 0);

int32_t MouseX();
int32_t MouseY();
int32_t MouseZ();
// Buttons: 1 left, 2 right, 3 middle, 4 and 5 the side buttons.
int32_t MouseDown(int32_t button);
// Presses since the last call for this button; reading resets the count.
int32_t MouseHit(int32_t button);
int32_t KeyDown(int32_t key);
int32_t KeyHit(int32_t key);
// Next typed character code from the queue, 0 when it is empty. Editing keys without a
// character of their own are queued among the characters as control codes, so a reader sees
// characters and keys in the order they were typed, however few frames it gets.
int32_t GetChar();
constexpr int32_t charLeft = 2, charRight = 6, charBackspace = 8, charTab = 9, charReturn = 13, charCtrlZ = 26,
                  charEscape = 27, charDelete = 127;
// The window was asked to close since the last call; reading resets it.
int32_t AppTerminate();
void FlushKeys();
void FlushMouse();
// Forgets all state (tests).
void Reset();
}  // namespace TInput
