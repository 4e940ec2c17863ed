// The main menu's rows (unfolding one at a time, folding after a choice, the side they unfold
// to) and the touch pointer's spot and clicks, driven by taps as the game feeds them.
#include "GUIFixture.h"
#include "gui/TMultiFunctionalTool.h"
#include "gui/TTouchMouseTool.h"

namespace {

class MenuTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        mft = TMultiFunctionalTool::Create(100, 50, gui, 12, 20);
        for (int32_t& n : fired) build.push_back(mft->addBuildChild(nullptr, "Bauen", Count, &n));
        mft->addViewChild(nullptr, "Anzeige", nullptr, nullptr);
        mft->addOptionsChild(nullptr, "Speichern", nullptr, nullptr);
        Frame();
    }
    void Step() override {
        mft->Update();
        GUITest::Step();
    }
    void TapOn(const TGUIGadget& g) { Tap(g.gadget->GetX(1), g.gadget->GetY(1)); }
    // Per main button: 1 unfolded (active, children shown), 0 folded (inactive, children hidden), -1 mixed.
    std::vector<int32_t> Rows() const {
        std::vector<int32_t> out;
        for (TGUIGadget* main : mft->MainButtons()) {
            int32_t shown = 0;
            for (const auto& c : main->gadget->children->children) shown += c->isShowed();
            const int32_t all = main->gadget->children->CountChildren();
            out.push_back(main->gadget->State == 1 && shown == all ? 1 : main->gadget->State == 0 && !shown ? 0 : -1);
        }
        return out;
    }
    std::shared_ptr<TMultiFunctionalTool> mft;
    int32_t fired[3] = {};
    std::vector<std::shared_ptr<TGUIGadget>> build;
};

TEST_F(MenuTest, AClickUnfoldsOneRowAtATimeAndASecondClickFoldsIt) {
    EXPECT_EQ(Rows(), (std::vector<int32_t>{0, 0, 0}));
    const std::pair<TGUIGadget*, std::vector<int32_t>> taps[] = {{mft->cmdBuild.get(), {1, 0, 0}},
                                                                 {mft->cmdView.get(), {0, 1, 0}},
                                                                 {mft->cmdOptions.get(), {0, 0, 1}},
                                                                 {mft->cmdOptions.get(), {0, 0, 0}},
                                                                 {mft->cmdBuild.get(), {1, 0, 0}}};
    for (const auto& [main, rows] : taps) {
        TapOn(*main);
        Frame();
        EXPECT_EQ(Rows(), rows);
    }
}

TEST_F(MenuTest, ChoosingAChildFiresItAndFoldsItsRowOnTheNextUpdate) {
    TapOn(*mft->cmdBuild);
    TapOn(*build[1]);
    Frame();  // the release is seen: the child fires, its row is still out
    EXPECT_EQ(std::vector<int32_t>(fired, fired + 3), (std::vector<int32_t>{0, 1, 0}));
    EXPECT_EQ(Rows(), (std::vector<int32_t>{1, 0, 0}));
    Frame();
    EXPECT_EQ(Rows(), (std::vector<int32_t>{0, 0, 0}));
    // A key fires a folded child and leaves the row folded.
    build[2]->setKeyAction(51, 1);
    keys = Key(51);
    Frame();
    Frame();
    EXPECT_EQ(std::vector<int32_t>(fired, fired + 3), (std::vector<int32_t>{0, 1, 1}));
    EXPECT_EQ(Rows(), (std::vector<int32_t>{0, 0, 0}));
}

TEST_F(MenuTest, RowsUnfoldToTheLeftWhenTheRightSideLacksRoom) {
    // Three build children of radius 20 need 140 px right of the main button's centre.
    const std::pair<float, float> rows[] = {{100, 1}, {500, 1}, {501, -1}, {620, -1}};
    for (const auto& [x, side] : rows) {
        mft->SetPosition(x, 50);
        Frame();
        for (size_t k = 0; k < build.size(); ++k)
            EXPECT_EQ(build[k]->gadget->GetX(1), x + side * 40.0f * float(k + 1)) << x << " child " << k;
    }
    TapOn(*mft->cmdBuild);  // unfolded to the left, the row still takes taps
    TapOn(*build[0]);
    Frame();
    EXPECT_EQ(fired[0], 1);
}

TEST_F(GUITest, TouchPointerSpotClickAndCancel) {
    auto tmt = TTouchMouseTool::Create(gui, 20);
    const std::pair<float, float> spots[] = {{300, 200}, {0, 0}, {639.5f, 479}, {-50, 20}};
    for (const auto& [x, y] : spots) {
        tmt->SetPosition(x, y);
        float gx = 0, gy = 0;
        tmt->GetPosition(gx, gy);
        EXPECT_EQ(std::make_pair(gx, gy), std::make_pair(x, y));
        EXPECT_EQ(tmt->getArrPosition(), (std::vector<float>{x, y}));
    }
    tmt->SetX(111);
    tmt->SetY(222);
    EXPECT_EQ(tmt->getArrPosition(), (std::vector<float>{111, 222}));
    tmt->SetPosition(300, 200);
    Frame();
    // OK lies two radii below the spot, cancel 42 px right of OK.
    for (int32_t press = 0; press < 2; ++press) {
        Tap(300, 240);
        Frame();
        EXPECT_EQ(tmt->hitEvent(), 1) << press;
        EXPECT_EQ(tmt->hitEvent(), 0) << press;
        Frame();
        EXPECT_EQ(tmt->hitEvent(), 0) << press;
    }
    Tap(342, 240);
    Frame();
    EXPECT_EQ(std::make_pair(tmt->isVisible(), tmt->getArrPosition()), std::make_pair(0, std::vector<float>{}));
    EXPECT_EQ(tmt->hitEvent(), 0);
}

}  // namespace
