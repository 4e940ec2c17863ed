// The tax tool: steps of one point that stop at 0 and 100 %, levels one at a time, typed rates
// refused or clamped (never a broken rate, the player told of a clamp), the field emptied and
// typed anew, and the rate reaching the monthly tax booking.
#include <cmath>

#include "GUIFixture.h"
#include "framework/TFastRandom.h"
#include "gui/TTaxTool.h"
#include "gui/TTextFieldTool.h"
#include "platform/TImageFont.h"
#include "platform/TRecordingBackend.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuilding.h"
#include "world/TBuildingLayer.h"
#include "world/THabitant.h"
#include "world/THabitantPool.h"
#include "world/TJob.h"
#include "world/TLayer.h"

namespace {

int32_t Book(void* amounts, float amount) {
    static_cast<std::vector<float>*>(amounts)->push_back(amount);
    return 1;
}

void Note(void* messages, const std::string& text) {
    static_cast<std::vector<std::string>*>(messages)->push_back(text);
}

class TaxToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        gui->textfieldImg = TImage::Create(240, 36);
        gui->bigFont = TImageFont::Load("data/gfx/gui/font.ttf", 14, SMOOTHFONT);
        TLayer::Init(640, 480);
        layer = TLayer::Create(32, 32, vesko::TFastRandom::Create(1));
        pool = layer->habitantPool.get();
        tft = TTextFieldTool::Create(gui, 20, 12, nullptr);
        TGameCommands game;
        game.game = &messages;
        game.showMessage = Note;
        tool = TTaxTool::Create(gui, 20, layer, tft, game);
        tool->SHOW();
        Frame();  // the touch objects take their places
    }
    void TearDown() override {
        tool->Destroy();
        tft->Destroy();
        layer->Destroy();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        GUITest::TearDown();
    }
    // The rate of the panel's level in percent and which of its buttons show.
    std::tuple<int32_t, bool, bool> Rate() const {
        return {tool->_getPercent(tool->currentLevel + 1), tool->cmdDown->isShowed(), tool->cmdUp->isShowed()};
    }

    std::shared_ptr<TLayer> layer;
    THabitantPool* pool = nullptr;
    std::shared_ptr<TTextFieldTool> tft;
    std::shared_ptr<TTaxTool> tool;
    std::vector<std::string> messages;
};

TEST_F(TaxToolTest, StepsMoveOnePointAndStopAtBothEnds) {
    Tap(tool->cmdUp->gadget->GetX(1), tool->cmdUp->gadget->GetY(1));
    Frame();
    EXPECT_EQ(Rate(), std::make_tuple(21, true, true));
    for (int32_t i = 0; i < 30; ++i) tool->onCmdTaxesDown();
    EXPECT_EQ(Rate(), std::make_tuple(0, false, true));
    EXPECT_EQ(pool->getTaxes(1), 0.0f);
    for (int32_t i = 0; i < 120; ++i) tool->onCmdTaxesUp();
    EXPECT_EQ(Rate(), std::make_tuple(100, true, false));
    EXPECT_EQ(pool->getTaxes(1), 1.0f);
    for (int32_t i = 0; i < 47; ++i) tool->onCmdTaxesDown();
    EXPECT_EQ(Rate(), std::make_tuple(53, true, true));  // 0.53f × 100 is just under 53
    EXPECT_EQ(pool->getTaxes(2), THabitantPool::defaultTaxes);
}

TEST_F(TaxToolTest, LevelsGoOneAtATimeAndHideTheirButtonsAtTheEnds) {
    EXPECT_EQ(std::make_pair(tool->cmdLvlDown->isShowed(), tool->cmdLvlUp->isShowed()), std::make_pair(0, 1));
    for (int32_t i = 0; i < 4; ++i) tool->cmdLevelUp();
    EXPECT_EQ(std::make_pair(tool->cmdLvlDown->isShowed(), tool->cmdLvlUp->isShowed()), std::make_pair(1, 0));
    tool->onCmdTaxesUp();
    EXPECT_EQ(std::make_pair(tool->_getPercent(5), tool->_getPercent(4)), std::make_pair(21, 20));
    tool->cmdLevelUp();  // past the last only by the arithmetic
    EXPECT_EQ(tool->currentLevel, 0);
    tool->cmdLevelDown();
    EXPECT_EQ(tool->currentLevel, 4);
}

TEST_F(TaxToolTest, TypedRatesAreRefusedOrClampedNeverBroken) {
    const std::tuple<std::string, int32_t, float> cases[] = {
        {"12", 1, 0.12f}, {"abc", 0, 0.33f},   {"-5", 1, 0.0f},    {"150", 1, 1.0f},  {"1e30", 1, 1.0f},
        {"", 1, 0.33f},   {" 7 %", 1, 0.07f},  {"12.9", 1, 0.12f}, {"nan", 0, 0.33f}, {"1e999", 1, 1.0f},
        {"5x", 0, 0.33f}, {"-1e999", 1, 0.0f}, {"%", 1, 0.33f},    {"100", 1, 1.0f},
    };
    for (const auto& [text, accepted, rate] : cases) {
        pool->setTaxes(2, 0.33f);
        EXPECT_EQ(tool->onEditCallback(text, 2), accepted) << text;
        EXPECT_FLOAT_EQ(pool->getTaxes(2), rate) << text;
    }
}

TEST_F(TaxToolTest, TheFieldKeepsDigitsAndConfirmsForTheLevelItWasOpenedFor) {
    const std::tuple<std::string, int32_t, std::string, int32_t> hooks[] = {
        {"abc", 3, "%", 0},    {"-12%", 2, "12%", 1},  {"0%7", 3, "7%", 1},
        {"007%", 3, "7%", 1},  {"000%", 2, "0%", 0},   {"0%", 1, "0%", 1},
        {"1ä2%", 2, "12%", 1}, {"20%", -1, "20%", -1}, {std::string(30, '9'), 30, "999999999%", 9}};
    for (auto [text, cursor, shown, cursorAfter] : hooks) {
        TTaxTool::txtEditFunc(nullptr, text, cursor);
        EXPECT_EQ(std::make_pair(text, cursor), std::make_pair(shown, cursorAfter));
    }
    tool->cmdLevelUp();
    tool->onCmdEdit();
    ASSERT_TRUE(tft->isVisible());
    EXPECT_EQ(std::make_pair(tft->currentText, tft->align), std::make_pair(std::string("20%"), 1.0f));
    tft->currentCursor = 0;
    tft->_addText("-4");  // the minus goes, the digits stay before the "%"
    EXPECT_EQ(tft->currentText, "420%");
    tool->cmdLevelUp();
    tft->onCmdOk();  // 420 % clamped to 100 % for level 2, where the edit began
    EXPECT_FALSE(tft->isVisible());
    EXPECT_EQ(std::make_pair(pool->getTaxes(2), pool->getTaxes(3)), std::make_pair(1.0f, 0.2f));
}

TEST_F(TaxToolTest, TheFieldEmptiesWithBackspaceAndTakesTheRateTypedAnew) {
    // Typed into the field opened on 20 % ('<' is Backspace): what it shows, the confirmed rate
    // and what the message line says.
    const struct {
        const char* keys;
        const char* shown;
        int32_t percent;
        const char* message;
    } cases[] = {
        {"<<", "%", 20, "Steuersatz bleibt bei 20 %"},
        {"<<<<", "%", 20, "Steuersatz bleibt bei 20 %"},
        {"<<7", "7%", 7, ""},
        {"<<07", "7%", 7, ""},
        {"<<0", "0%", 0, ""},
        {"<", "2%", 2, ""},
        {"<<-4x2", "42%", 42, ""},
        {"<<100", "100%", 100, ""},
        {"<<150", "150%", 100, "Steuersatz auf 100 % begrenzt"},
        {"5", "205%", 100, "Steuersatz auf 100 % begrenzt"},
    };
    for (const auto& c : cases) {
        pool->setTaxes(1, 0.2f);
        messages.clear();
        tool->onCmdEdit();
        for (const char* k = c.keys; *k; ++k) {
            if (*k == '<') {
                tft->_removeText(-1);
            } else {
                tft->_addText(std::string(1, *k));
            }
        }
        EXPECT_EQ(tft->currentText, c.shown) << c.keys;
        tft->onCmdOk();
        EXPECT_FALSE(tft->isVisible()) << c.keys;
        EXPECT_EQ(tool->_getPercent(1), c.percent) << c.keys;
        EXPECT_EQ(messages, *c.message ? std::vector<std::string>{c.message} : std::vector<std::string>{}) << c.keys;
    }
}

TEST_F(TaxToolTest, ThePanelShowsTheLevelPictureLeftAndTheRateRightAligned) {
    for (auto& picture : gui->techlevelImg) picture = TImage::Create(30, 30);
    tool->cmdLevelUp();
    tool->onCmdTaxesDown();
    backend->ClearLog();
    tool->drawPanel(200, 100);  // panel 160 × 40 at radius 20
    ASSERT_EQ(backend->calls.size(), 2u);
    const auto &picture = backend->calls[0], &text = backend->calls[1];
    EXPECT_EQ(picture.source, gui->techlevelImg[1].get());
    EXPECT_EQ(std::make_pair(picture.x, picture.y), std::make_pair(130.0f, 85.0f));
    EXPECT_EQ(text.text, "19%");
    EXPECT_FLOAT_EQ(text.x + gui->bigFont->TextWidth("19%"), 270.0f);
    EXPECT_FLOAT_EQ(text.y, 100.0f - 0.5f * float(gui->bigFont->Height()));
}

TEST_F(TaxToolTest, ClosingThePanelCancelsTheEditAndKeepsTheRate) {
    tool->onCmdEdit();
    tft->currentText = "90%";
    tool->onCmdOk();
    EXPECT_FALSE(tool->isVisible());
    EXPECT_FALSE(tft->isVisible());
    tft->onCmdOk();  // the edit is over: nothing reaches the pool
    EXPECT_EQ(pool->getTaxes(1), THabitantPool::defaultTaxes);
}

TEST_F(TaxToolTest, TheRateReachesTheMonthlyTaxBooking) {
    auto house = std::make_shared<TBuilding>();
    house->p = std::make_shared<TPicturePlugin>();
    house->p->techlevel = 2;
    house->buildingLayer = layer->BuildingLayer.get();
    auto worker = std::make_shared<THabitant>();
    worker->home = house;
    worker->job = TJob::Create(house, nullptr, nullptr);
    house->_regHabitant(worker);
    layer->BuildingLayer->arrBuilding.Append(house);
    std::vector<float> booked;
    layer->setExpendMoneyFunc(Book, &booked);
    layer->_updateNewMonth();
    tool->onEditCallback("50", 2);
    layer->_updateNewMonth();
    // Upkeep, then taxes credited as a negative spend: level 2 pays rate × 3 × 3 a month.
    ASSERT_EQ(booked.size(), 4u);
    EXPECT_FLOAT_EQ(booked[1], -1.8f);
    EXPECT_FLOAT_EQ(booked[3], -4.5f);
    layer->BuildingLayer->arrBuilding.Remove(house);
    house->_delHabitant(worker);
}

}  // namespace
