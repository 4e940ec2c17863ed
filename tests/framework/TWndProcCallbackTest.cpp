#include <SDL.h>
#include <gtest/gtest.h>

#include <string>

#include "framework/TWndProcCallback.h"
#include "platform/TEvent.h"

using vesko::TWndProcCallback;

namespace {

struct TRecorder {
    std::string calls;
    int result = 1;
};

int RecordA(void* context, const SDL_Event&) {
    auto* r = static_cast<TRecorder*>(context);
    r->calls += "A";
    return r->result;
}

int RecordB(void* context, const SDL_Event&) {
    static_cast<TRecorder*>(context)->calls += "B";
    return 1;
}

// Unregisters itself while the functions run; the running pass still reaches B.
int RemoveSelf(void* context, const SDL_Event&) {
    static_cast<TRecorder*>(context)->calls += "R";
    TWndProcCallback::UnRegProcFunc(&RemoveSelf, context);
    return 1;
}

class WndProcCallbackTest : public ::testing::Test {
protected:
    void SetUp() override {
        TEventHooks::RemoveAllHooks();
        TWndProcCallback::Deinit();
    }
    void TearDown() override {
        TWndProcCallback::UnRegProcFunc(&RecordA, &rec);
        TWndProcCallback::UnRegProcFunc(&RecordB, &rec);
        TWndProcCallback::UnRegProcFunc(&RemoveSelf, &rec);
        TWndProcCallback::Deinit();
        TEventHooks::RemoveAllHooks();
    }
    bool Send() {
        SDL_Event ev{};
        ev.type = SDL_USEREVENT;
        return TEventHooks::RunRawHooks(ev);
    }
    TRecorder rec;
};

TEST_F(WndProcCallbackTest, HookingTheSameWindowTwiceIsRefused) {
    EXPECT_EQ(TWndProcCallback::run(), 0);
    EXPECT_EQ(TWndProcCallback::Init(5), 1);
    EXPECT_EQ(TWndProcCallback::Init(5), 0);
    EXPECT_EQ(TWndProcCallback::run(), 1);
    // Another window moves the one hook over.
    EXPECT_EQ(TWndProcCallback::Init(6), 1);
    TWndProcCallback::RegProcFunc(&RecordA, &rec);
    Send();
    EXPECT_EQ(rec.calls, "A");
    EXPECT_EQ(TWndProcCallback::Deinit(), 1);
    EXPECT_EQ(TWndProcCallback::Deinit(), 0);
    Send();
    EXPECT_EQ(rec.calls, "A") << "no functions run while unhooked";
}

TEST_F(WndProcCallbackTest, FirstFunctionReturningZeroHandlesTheEvent) {
    TWndProcCallback::Init(1);
    TWndProcCallback::RegProcFunc(&RecordA, &rec);
    TWndProcCallback::RegProcFunc(&RecordB, &rec);
    EXPECT_FALSE(Send());
    EXPECT_EQ(rec.calls, "AB");
    rec.calls.clear();
    rec.result = 0;
    EXPECT_TRUE(Send());
    EXPECT_EQ(rec.calls, "A");
}

TEST_F(WndProcCallbackTest, UnregisteringRemovesEveryRegistration) {
    TWndProcCallback::Init(1);
    TWndProcCallback::RegProcFunc(&RecordA, &rec);
    TWndProcCallback::RegProcFunc(&RecordB, &rec);
    TWndProcCallback::RegProcFunc(&RecordA, &rec);
    Send();
    EXPECT_EQ(rec.calls, "ABA");
    rec.calls.clear();
    TWndProcCallback::UnRegProcFunc(&RecordA, &rec);
    Send();
    EXPECT_EQ(rec.calls, "B");
}

TEST_F(WndProcCallbackTest, FunctionMayUnregisterItselfWhileRunning) {
    TWndProcCallback::Init(1);
    TWndProcCallback::RegProcFunc(&RemoveSelf, &rec);
    TWndProcCallback::RegProcFunc(&RecordB, &rec);
    Send();
    Send();
    EXPECT_EQ(rec.calls, "RBB");
}

}  // namespace
