#include "app/TEventActionHandler.h"

std::shared_ptr<TEventActionHandler> TEventActionHandler::Create(Function func, void* game) {
    auto handler = std::make_shared<TEventActionHandler>();
    handler->func = func;
    handler->game = game;
    return handler;
}

int32_t TEventActionHandler::Call() const { return func ? func(game) : 0; }
