// The settings panel: its buttons and bars step the rows and tell the shell which key changed, the
// bars show the values (also ones changed elsewhere, and in a language chosen in it), and a short
// screen gets the rows a page at a time with the whole panel on screen.
#include <functional>

#include "../support/TempDir.h"
#include "GUIFixture.h"
#include "framework/TCGroup.h"
#include "framework/TCText.h"
#include "gui/TSettingsTool.h"
#include "platform/TCatalogue.h"
#include "platform/TImageFont.h"
#include "platform/TStream.h"
#include "settings/TSettings.h"

namespace {

using TRow = TSettingsChoices::TRow;

class SettingsToolTest : public GUITest {
protected:
    void SetUp() override {
        GUITest::SetUp();
        TSettings::SetDefaults();
        TCatalogue::Reset();
        std::string shipped;
        ASSERT_TRUE(LoadBytes("cfg/options.cfg", shipped));
        auto s = TStream::WriteFile(dir.File("options.cfg"));
        s->WriteString(shipped);
        ASSERT_TRUE(s->Close());
        Build();
    }
    void TearDown() override {
        tool->Destroy();
        TSettings::SetDefaults();
        TCatalogue::Reset();
        GUITest::TearDown();
    }
    // The panel on the current GUI, shown, with its changes reported to changed().
    void Build() {
        gui->smallFont = TImageFont::Load("data/gfx/gui/font.ttf", 12, SMOOTHFONT);
        gui->DefaultFont = TImageFont::Load("data/gfx/gui/font.ttf", 14, SMOOTHFONT);
        TSettingsCommands commands;
        commands.context = this;
        commands.changed = [](void* context, const std::string& key) {
            auto* test = static_cast<SettingsToolTest*>(context);
            test->keys.push_back(key);
            if (test->onChange) test->onChange(key);
        };
        tool = TSettingsTool::Create(gui, 20, commands);
        tool->choices.optionsPath = dir.File("options.cfg");
        tool->SHOW();
        Frame();  // the touch objects take their places
    }
    // Each frame the panel runs as the game runs it.
    void Step() override {
        GUITest::Step();
        if (tool) tool->Update();
    }
    void TapOn(const std::shared_ptr<TGUIGadget>& g) {
        Tap(g->gadget->GetX(1), g->gadget->GetY(1));
        Frame();
    }
    // The texts a bar draws, top first.
    static std::vector<std::string> Texts(const TGUIGadget& bar) {
        std::vector<std::string> texts;
        std::function<void(const vesko::TContent&)> walk = [&](const vesko::TContent& c) {
            if (const auto* t = dynamic_cast<const vesko::TCText*>(&c)) texts.push_back(t->str);
            if (const auto* g = dynamic_cast<const vesko::TCGroup*>(&c)) {
                for (const auto& child : g->getContents()) walk(*child);
            }
        };
        if (auto group = TGUI::StateGroup(bar, 0)) walk(*group);
        return texts;
    }
    // The slot that shows a row on the current page.
    size_t SlotOf(TRow row) const {
        const std::vector<TRow> rows = tool->shownRows();
        return size_t(std::find(rows.begin(), rows.end(), row) - rows.begin());
    }

    TempDir dir;
    std::shared_ptr<TSettingsTool> tool;
    std::vector<std::string> keys;
    std::function<void(const std::string&)> onChange;
};

}  // namespace

TEST_F(SettingsToolTest, ButtonsAndBarsStepTheirOwnRowAndTellTheShellItsKey) {
    // At 640 × 480 the rows take two pages: a row not on this page is on the next.
    ASSERT_EQ(tool->pageCount(), 2);
    for (int32_t r = 0; r < TSettingsChoices::RowCount; ++r) {
        const TRow row = TRow(r);
        if (SlotOf(row) == tool->shownRows().size()) {
            tool->nextPage();
        }
        const size_t slot = SlotOf(row);
        ASSERT_LT(slot, tool->shownRows().size()) << r;
        const auto& bar = *tool->cmdBars[slot];
        EXPECT_EQ(Texts(bar), (std::vector<std::string>{TSettingsChoices::Name(row), tool->choices.ValueText(row)}));
        // The next-value button up to the last value, where it hides; then a tap on the bar goes
        // round to the first, where the previous-value button hides.
        for (int32_t taps = 0; tool->cmdUp[slot]->isShowed(); ++taps) {
            ASSERT_LT(taps, 20) << r;
            keys.clear();
            const std::string before = Texts(bar).back();
            TapOn(tool->cmdUp[slot]);
            EXPECT_EQ(keys, std::vector<std::string>{TSettingsChoices::Key(row)}) << r;
            EXPECT_NE(Texts(bar).back(), before) << r;
            EXPECT_EQ(tool->cmdDown[slot]->isShowed() != 0, tool->choices.CanStep(row, -1)) << r;
        }
        EXPECT_FALSE(tool->choices.CanStep(row, +1)) << r;
        TapOn(tool->cmdBars[slot]);
        EXPECT_EQ(tool->choices.Current(row), 0u) << r;
        EXPECT_EQ(std::make_pair(tool->cmdDown[slot]->isShowed(), tool->cmdUp[slot]->isShowed()), std::make_pair(0, 1))
            << r;
        EXPECT_EQ(Texts(bar).back(), tool->choices.ValueText(row)) << r;
    }
}

TEST_F(SettingsToolTest, ValuesChangedElsewhereAndANewLanguageShowAtOnce) {
    // F11 and a dragged window change TSettings behind the panel's back.
    const size_t slot = SlotOf(TSettingsChoices::FullScreen);
    const std::string windowed = Texts(*tool->cmdBars[slot]).back();
    TSettings::GraphicMode = 1;
    tool->Update();
    EXPECT_NE(Texts(*tool->cmdBars[slot]).back(), windowed);

    // The shell turns to English when told; the panel's own texts follow in the same tap.
    TempDir lang;
    auto po = TStream::WriteFile(lang.File("en.po"));
    po->WriteString("msgid \"Sprache\"\nmsgstr \"Language\"\n");
    ASSERT_TRUE(po->Close());
    onChange = [&](const std::string& key) {
        if (key == "Language") TCatalogue::Use(TSettings::Language, lang.path);
    };
    const size_t language = SlotOf(TSettingsChoices::Language);
    TapOn(tool->cmdUp[language]);
    EXPECT_EQ(Texts(*tool->cmdBars[language]), (std::vector<std::string>{"Language", "English"}));
}

TEST_F(SettingsToolTest, AShortScreenShowsTheRowsAPageAtATimeWithThePanelOnScreen) {
    for (const auto& [w, h] : {std::pair{640, 480}, std::pair{400, 300}, std::pair{320, 240}}) {
        tool->Destroy();
        Open(w, h);
        TGUIGadget::SetScreenSize(w, h);
        Build();
        for (int32_t i = 0; i < 40; ++i) Frame();  // the opening spiral is over
        // Every row once, in order, over the pages; the page buttons where there is a page to go to.
        std::vector<TRow> seen;
        for (int32_t p = 0; p < tool->pageCount(); ++p) {
            EXPECT_EQ(tool->cmdPrvPage->isShowed(), p > 0) << h;
            EXPECT_EQ(tool->cmdNextPage->isShowed(), p + 1 < tool->pageCount()) << h;
            const std::vector<TRow> rows = tool->shownRows();
            EXPECT_LE(rows.size(), tool->rowsPerPage()) << h;
            for (size_t i = 0; i < tool->cmdBars.size(); ++i) EXPECT_EQ(tool->cmdBars[i]->isShowed(), i < rows.size());
            seen.insert(seen.end(), rows.begin(), rows.end());
            float l = 0, t = 0, r = 0, b = 0;
            ASSERT_TRUE(tool->GetBounds(l, t, r, b));
            EXPECT_GE(l, 0) << h;
            EXPECT_GE(t, 0) << h;
            EXPECT_LE(r, float(w)) << h;
            EXPECT_LE(b, float(h)) << h;
            if (tool->cmdNextPage->isShowed()) TapOn(tool->cmdNextPage);
        }
        ASSERT_EQ(seen.size(), size_t(TSettingsChoices::RowCount)) << h;
        for (size_t i = 0; i < seen.size(); ++i) EXPECT_EQ(seen[i], TRow(i)) << h;
        EXPECT_EQ(tool->page, tool->pageCount() - 1);
    }
}
