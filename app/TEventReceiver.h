#pragma once
#include <array>
#include <cstdint>
#include <memory>
#include <string>

#include "app/TEventActionHandler.h"
#include "framework/TMultiTouch.h"
#include "gui/TInputSnapshot.h"
#include "platform/TCowList.h"
#include "platform/TKeyMap.h"

class TEvent;

// One snapshot of all user input per frame, so that every reader in the frame sees the same
// state. A hook on the platform's event stream notes which groups of input changed; Update()
// polls only those. Key actions run during the update that records their key's hit.
class TEventReceiver : public TInputSnapshot {
public:
    static constexpr int32_t keyCount = 256;
    static constexpr int32_t buttonCount = 3;
    using TActionList = TCowList<std::shared_ptr<TEventActionHandler>>;

    static std::shared_ptr<TEventReceiver> Create();
    TEventReceiver() = default;
    ~TEventReceiver() override;
    TEventReceiver(const TEventReceiver&) = delete;
    TEventReceiver& operator=(const TEventReceiver&) = delete;

    int32_t generate();
    // Takes the snapshot; once per frame, after the flip.
    void Update();

    int32_t MouseX() const { return _mx; }
    int32_t MouseY() const { return _my; }
    int32_t MouseZ() const { return _mz; }
    int32_t MouseXSpeed() const { return _mx - _amx; }
    int32_t MouseYSpeed() const { return _my - _amy; }
    int32_t MouseZSpeed() const { return _mz - _amz; }
    // Buttons 1 left, 2 right, 3 middle; others read 0.
    int32_t MouseDown(int32_t button) const;
    int32_t MouseHit(int32_t button) const;
    // Windows virtual-key codes 1 … 256; others read 0.
    int32_t KeyDown(int32_t key) const;
    int32_t KeyHit(int32_t key) const override;
    const std::string& GetChar() const override { return _getChar; }
    int32_t AppTerminate() const { return _appTermin; }
    // The window's newest size since the last call, once; false when it did not change.
    bool TakeWindowSize(int32_t& width, int32_t& height);
    int32_t EscapeEvent() const { return (AppTerminate() || KeyHit(KEY_ESCAPE)) ? 1 : 0; }
    const vesko::TMultiTouch::TTouchPointList& TouchPoints() const override { return _tp; }

    // Clears the snapshot's keys; the platform's own key state is left alone.
    void FlushKeys() override;

    // Returns 1 when added; 0 for a key outside 1 … 256.
    int32_t AddAction(int32_t key, TEventActionHandler::Function func, void* obj);
    // Removes every handler of the key with this function and object; returns how many.
    int32_t RemoveAction(int32_t key, TEventActionHandler::Function func, void* obj);
    void RemoveAllActions();
    void enableActions() override { _actionsEnable = 1; }
    void disableActions() override { _actionsEnable = 0; }
    int32_t actionsEnabled() const { return _actionsEnable; }

    // The platform event hook: notes what changed and passes the event on.
    static TEvent* _EventHookFunc(int32_t hookId, TEvent* data, void* context);
    void _handleEvent(const TEvent& event);
    void _regHookFunc();

    vesko::TMultiTouch::TTouchPointList _tp;
    int32_t _mx = 0, _my = 0, _mz = 0;
    std::array<uint8_t, buttonCount> _md{}, _mh{};
    std::array<uint8_t, keyCount> _kd{}, _kh{};
    uint8_t _appTermin = 0;
    int32_t _amx = 0, _amy = 0, _amz = 0;
    std::array<uint8_t, buttonCount> _amd{}, _amh{};
    std::array<uint8_t, keyCount> _akd{}, _akh{};
    uint8_t _aappTermin = 0;
    std::string _getChar;
    std::array<TActionList, keyCount> _arrEventActionHandler;
    int32_t _updateMousePos = 0;
    int32_t _updateMouseKeys = 0;
    int32_t _updateKeys = 0;
    int32_t _updateKeyChar = 0;
    int32_t _updateAppTermin = 0;
    int32_t _newWidth = 0, _newHeight = 0;
    int32_t _actionsEnable = 0;

private:
    bool hooked = false;
};
