// The main tool: the speed buttons as a radio group that sets the world's speed, renaming the
// city through the text field (cleaned, capped, empty refused), and bars whose texts keep within
// them (a smaller font, then a cut with "…"), and the advice line that centres the map on its place.
#include <cmath>

#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "framework/TFastRandom.h"
#include "gui/TMainTool.h"
#include "gui/TTextFieldTool.h"
#include "platform/TImageFont.h"
#include "plugins/TPicturePlugin.h"
#include "world/TBuildingLayer.h"
#include "world/TISO.h"
#include "world/TLayer.h"

namespace {

class MainToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        gui->textfieldImg = TImage::Create(240, 36);
        gui->bigFont = gui->DefaultFont = TImageFont::Load("data/gfx/gui/font.ttf", 14, SMOOTHFONT);
        TLayer::Init(640, 480);
        layer = TLayer::Create(32, 32, vesko::TFastRandom::Create(1));
        layer->setCityName("Vallmora");
        tft = TTextFieldTool::Create(gui, 20, 12, nullptr);
        tool = TMainTool::Create(gui, 20, layer, tft);
        tool->SetPosition(100, 100);
        Frame();  // the touch objects take their places
    }
    void Step() override {
        tft->Update();
        tool->Update();
        GUITest::Step();
    }
    void TearDown() override {
        tool->Destroy();
        tft->Destroy();
        layer->Destroy();
        TLayer::DePrepare();
        TLayer::Init(0, 0);
        GUITest::TearDown();
    }
    // Tapped, and the frame in which it fires.
    void TapGadget(const TGUIGadget& g) {
        Tap(g.gadget->GetX(1), g.gadget->GetY(1));
        Frame();
    }
    static std::string TextAt(const vesko::TCGroup& group, int32_t i) {
        auto t = std::dynamic_pointer_cast<vesko::TCText>(group.getContent(i));
        return t ? t->str : "<none>";
    }

    std::shared_ptr<TLayer> layer;
    std::shared_ptr<TTextFieldTool> tft;
    std::shared_ptr<TMainTool> tool;
};

TEST_F(MainToolTest, SpeedButtonsAreARadioGroupStartingOnNormal) {
    EXPECT_EQ(tool->getSelectedSpeedButton(), 2);
    EXPECT_EQ(layer->getGameSpeed(), 1.0f);
    const TGUIGadget* buttons[] = {tool->cmdSpeedPause.get(), tool->cmdSpeedSlow.get(), tool->cmdSpeedDefault.get(),
                                   tool->cmdSpeedFast.get(), tool->cmdSpeedHyper.get()};
    for (int32_t i : {4, 0, 1, 1, 3}) {  // 1 twice: hitting the selected button keeps it
        TapGadget(*buttons[i]);
        int32_t selected = 0;
        for (const auto* b : buttons) selected += b->gadget->State;
        EXPECT_EQ(selected, 1) << i;
        EXPECT_EQ(tool->getSelectedSpeedButton(), i);
        EXPECT_EQ(layer->getGameSpeed(), TMainTool::gameSpeeds[size_t(i)]);
    }
    tool->selectSpeedButton(7);  // index mod 5
    EXPECT_EQ(layer->getGameSpeed(), 1.0f);
}

TEST_F(MainToolTest, TheNameBarRenamesTheCityThroughTheTextField) {
    TapGadget(*tool->cmdName);
    ASSERT_TRUE(tft->isVisible());
    EXPECT_EQ(tft->currentText, "Vallmora");
    tft->currentText = "";
    tft->onCmdOk();
    EXPECT_TRUE(tft->isVisible());  // refused: the field stays open for a correction
    EXPECT_EQ(layer->getCityName(), "Vallmora");
    tft->currentText = "Neustadt";
    tft->onCmdOk();
    EXPECT_FALSE(tft->isVisible());
    EXPECT_EQ(layer->getCityName(), "Neustadt");
    Frame();
    EXPECT_EQ(TextAt(*tool->layerName, 4), "Neustadt");  // the white line over its outline
}

TEST_F(MainToolTest, CityNamesAreCleanedCappedOrRefused) {
    const std::string a63(63, 'a');
    const struct {
        std::string in;
        int32_t accepted;
        std::string stored;
    } cases[] = {
        {"  Ost  ", 1, "Ost"},
        {"", 0, ""},
        {" \t\n\xC2\xA0 ", 0, ""},  // only blanks and control characters
        {"A\x01"
         "b\tc\x7f\r\n",
         1, "Abc"},                                     // control characters dropped
        {"Gr\xC3\xBCn\xE2\x82\xAC", 1, "Gr\xC3\xBCn"},  // ü kept, € has no 8-bit code
        {std::string(10000, 'x'), 1, std::string(64, 'x')},
        {a63 + " bcd", 1, a63},  // cut at 64, then the end trimmed
    };
    for (const auto& c : cases) {
        layer->setCityName("Alt");
        EXPECT_EQ(tool->setCityName(c.in), c.accepted) << c.in.size();
        EXPECT_EQ(layer->getCityName(), c.accepted ? c.stored : "Alt") << c.in.size();
    }
}

TEST_F(MainToolTest, InhabitantsBarShowsCountAndWholePercent) {
    const std::tuple<int32_t, float, std::string> cases[] = {
        {12, 0.756f, "Zufriedenheit: 75%"}, {0, NAN, "Zufriedenheit: 0%"}, {3, 7.0f, "Zufriedenheit: 100%"}};
    for (const auto& [count, satisfaction, line] : cases) {
        tool->setLayerHabitantsText(count, satisfaction);
        EXPECT_EQ(TextAt(*tool->layerHabitants, 1), "Einwohner: " + std::to_string(count));
        EXPECT_EQ(TextAt(*tool->layerHabitants, 2), line);
    }
}

TEST_F(MainToolTest, MoneyInDebtShowsInTheGuisRed) {
    gui->textCol_default.Set(40, 40, 40, 1.0);
    gui->textCol_red.Set(100, 40, 40, 1.0);
    // One text for every amount: a change of sign alone must rebuild the bar.
    layer->setGetRealMoneyFunc([](void*, float) { return std::string("Geld"); }, nullptr);
    const auto red = [](const vesko::TCGroup& group, int32_t i) {
        auto t = std::dynamic_pointer_cast<vesko::TCText>(group.getContent(i));
        return t ? t->formation.rgba.getRed() : -1.0;
    };
    const struct {
        float money;
        double moneyRed;
    } cases[] = {{100000.0f, 40}, {0.0f, 40}, {-0.01f, 100}, {-250000.0f, 100}, {0.01f, 40}, {-1.0f, 100}};
    for (const auto& c : cases) {
        layer->setMoney(c.money);
        tool->updateTool();
        EXPECT_EQ(TextAt(*tool->layerMoney, 1), "Geld") << c.money;
        EXPECT_EQ(red(*tool->layerMoney, 1), c.moneyRed) << c.money;
        EXPECT_EQ(red(*tool->layerMoney, 2), 40) << c.money;  // the date keeps its colour
    }
}

TEST_F(MainToolTest, BarTextsKeepWithinTheirBarsInASmallerFontOrCut) {
    gui->bigFont = TImageFont::Load("data/gfx/gui/font.ttf", 18, SMOOTHFONT);
    gui->smallFont = TImageFont::Load("data/gfx/gui/font.ttf", 12, SMOOTHFONT);
    const auto text = [](const vesko::TCGroup& group, int32_t i) {
        return std::dynamic_pointer_cast<vesko::TCText>(group.getContent(i));
    };
    // Everything within the bar's 6-unit padding; the inhabitants' lines also clear of the
    // smiley at the bar's right end (its picture a gap narrower than the bar is high).
    const float bar = float(tool->layerWidth) - 12, beforePicture = bar - float(tool->layerHeight);
    const struct {
        std::string city;
        TImageFont* font;
        bool cut;
    } names[] = {
        {"Vallmora City", gui->bigFont.get(), false},
        {"Sankt Johann im Pongau", gui->DefaultFont.get(), false},
        {"Sankt Johann im Pongau an", gui->smallFont.get(), false},
        {std::string(64, 'W'), gui->smallFont.get(), true},
    };
    for (const auto& n : names) {
        tool->setLayerNameText(n.city, std::string(40, 'M'));
        const auto city = text(*tool->layerName, 4), mayor = text(*tool->layerName, 5);
        ASSERT_TRUE(city && mayor);
        EXPECT_EQ(city->imgfont.get(), n.font) << n.city;
        // A cut keeps the name's start.
        EXPECT_EQ(city->str, n.cut ? n.city.substr(0, city->str.size() - 3) + "…" : n.city);
        EXPECT_LE(city->Width + 2, bar) << n.city;  // with the outline a pixel off at either end
        EXPECT_TRUE(mayor->str.ends_with("…"));
        EXPECT_LE(mayor->Width, bar);
    }
    const struct {
        int32_t count;
        TImageFont* font;
    } counts[] = {{0, gui->DefaultFont.get()}, {1234567, gui->DefaultFont.get()}, {16777216, gui->smallFont.get()}};
    for (const auto& c : counts) {
        tool->setLayerHabitantsText(c.count, 1.0f);
        for (int32_t i : {1, 2}) {
            EXPECT_EQ(text(*tool->layerHabitants, i)->imgfont.get(), c.font) << c.count;
            EXPECT_LE(text(*tool->layerHabitants, i)->Width, beforePicture) << c.count;
        }
    }
    tool->setLayerMoneyText("-1.234.567.890,00", "So. 31.12. Jahr 1000", 0.5f);
    for (int32_t i : {1, 2}) EXPECT_LE(text(*tool->layerMoney, i)->Width, beforePicture);
}

TEST_F(MainToolTest, TheAdviceLineFollowsTheAdviceAndATapCentresTheMapOnItsPlace) {
    const auto centre = [&] {
        float x = 0, y = 0;
        layer->iso->FromIso(0.5f * float(layer->viewWidth), 0.5f * float(layer->viewHeight), x, y);
        return std::make_pair(x, y);
    };
    const auto tapAdvice = [&] {
        TapGadget(*tool->cmdAdvice);
        Frame(TLayer::glideTimeMS + 50);
        layer->_updateMovement();
    };
    // The advice's lines joined.
    const auto shown = [&] {
        std::string joined;
        for (const auto& c : tool->layerAdvice->getContents()) {
            if (auto t = std::dynamic_pointer_cast<vesko::TCText>(c)) joined += (joined.empty() ? "" : " ") + t->str;
        }
        return joined;
    };
    gui->smallFont = TImageFont::Load("data/gfx/gui/font.ttf", 12, SMOOTHFONT);
    layer->midPosition(0);
    const auto middle = centre();
    EXPECT_EQ(shown(), "Bauen Sie eine Straße und Wohnhäuser");
    tapAdvice();  // no place: the map stays
    EXPECT_EQ(centre(), middle);
    // A home of 2 × 2 tiles without a road, seen the next day, and the pin beside its advice.
    auto kind = std::make_shared<TPicturePlugin>();
    kind->SetStructure("residentalbuilding");
    kind->SizeX[0] = kind->SizeY[0] = 2;
    ASSERT_TRUE(layer->BuildingLayer->_SetTile(20, 6, kind));
    ++layer->currentDay;
    Frame();
    EXPECT_TRUE(std::dynamic_pointer_cast<vesko::TCGroup>(tool->layerAdvice->getContent(0)));  // the pin
    EXPECT_EQ(shown(), "Wohnhaus ohne Straße: niemand zieht ein");
    tapAdvice();
    EXPECT_NEAR(centre().first, 21.0f, 0.01f);
    EXPECT_NEAR(centre().second, 7.0f, 0.01f);
}

}  // namespace
