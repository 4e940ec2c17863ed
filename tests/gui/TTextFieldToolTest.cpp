#include <gtest/gtest.h>

#include <set>
#include <stdexcept>

#include "framework/TTouchObject.h"
#include "framework/TTouchPoint.h"
#include "gui/TGUI.h"
#include "gui/TInputSnapshot.h"
#include "gui/TKeyboardKey.h"
#include "gui/TTextFieldTool.h"
#include "platform/TCharset.h"
#include "platform/TClock.h"
#include "platform/TGraphics.h"
#include "platform/TImage.h"
#include "platform/TImageFont.h"
#include "platform/TRecordingBackend.h"

namespace {

// Keys and typed text of one frame, as the game's input receiver hands them over.
class FakeInput : public TInputSnapshot {
public:
    int32_t KeyHit(int32_t key) const override { return hits.count(key) ? 1 : 0; }
    const std::string& GetChar() const override { return chars; }
    const vesko::TMultiTouch::TTouchPointList& TouchPoints() const override { return points; }
    void FlushKeys() override { hits.clear(); }
    void enableActions() override { actions = 1; }
    void disableActions() override { actions = 0; }
    std::set<int32_t> hits;
    std::string chars;
    vesko::TMultiTouch::TTouchPointList points;
    int32_t actions = 1;
};

class TextFieldTest : public testing::Test {
protected:
    void SetUp() override {
        TClock::SetSource(clock);
        backend = TGraphics::HeadlessGraphics(800, 600);
        gui = TGUI::Create(800, 600);
        for (auto f : {&TGUI::buttonImg, &TGUI::moveImg, &TGUI::button_BarImg}) (*gui).*f = TImage::Create(40, 40);
        gui->textfieldImg = TImage::Create(240, 36);
        gui->bigFont = gui->largeFont = font = TImageFont::Load("data/gfx/gui/font.ttf", 14, SMOOTHFONT);
        ASSERT_TRUE(font);
        TGUIGadget::Init(gui);
        tool = TTextFieldTool::Create(gui, 20, 12, &input);
        tool->SetPosition(300, 100);
    }
    void TearDown() override {
        TGUIGadget::Clear();
        vesko::TTouchObject::ResetRegistry();
        TGraphics::EndGraphics();
        TClock::SetSource(nullptr);
    }
    // The game's order: panels, touch objects, gadgets; then the snapshot is used up.
    void Frame() {
        clock->Advance(17);
        input.points = vesko::TMultiTouch::TTouchPointList(std::make_shared<const decltype(touch)>(touch));
        tool->Update();
        vesko::TTouchObject::Update(touch, 1.0f);
        gui->updateAll({});
        for (auto& p : touch) p->lastx = p->x, p->lasty = p->y, p->_n = 0;
        std::erase_if(touch, [](const auto& p) { return !p->Active; });
        input.chars.clear();
        input.hits.clear();
    }
    // Down, up, and the frame in which the gadget fires.
    void Tap(const TGUIGadget& g) {
        auto p = touch.emplace_back(vesko::TTouchPoint::Create(g.gadget->GetX(1), g.gadget->GetY(1)));
        p->Active = 1;
        Frame();
        p->Active = 0;
        Frame();
        Frame();
    }
    void Type(const std::string& s) { input.chars = s, Frame(); }
    void Start(const std::string& text, int32_t pw = 0) {
        tool->startTool(text, "Stadtname", "", "", OnOk, this, OnCancel, this, pw);
        Frame();
    }
    TKeyboardKey& Key(const std::string& label, int32_t shift) {
        for (auto& k : tool->keyboardKeys)
            if (k->cmd->tooltip.at(0) == label && k->shift == shift) return *k;
        throw std::runtime_error("no key " + label);
    }
    static int32_t OnOk(void* c, const std::string& text) {
        auto* t = static_cast<TextFieldTest*>(c);
        t->oks.push_back(text);
        return t->accept;
    }
    static int32_t OnCancel(void* c) { return ++static_cast<TextFieldTest*>(c)->cancels; }

    std::shared_ptr<TManualClock> clock = std::make_shared<TManualClock>(5000);
    std::shared_ptr<TRecordingBackend> backend;
    std::shared_ptr<TGUI> gui;
    std::shared_ptr<TImageFont> font;
    std::shared_ptr<TTextFieldTool> tool;
    FakeInput input;
    std::vector<std::shared_ptr<vesko::TTouchPoint>> touch;
    std::vector<std::string> oks;
    int32_t accept = 1, cancels = 0;
};

TEST_F(TextFieldTest, KeyboardKeysSitInHalfShiftedRowsWithTheirShiftedFaces) {
    struct Row {
        const char *label, *normal, *shifted;
        int32_t column, row;
    } rows[] = {{"1", "1", "!", 0, 0},  {"0", "0", "=", 9, 0},  {"ß", "ß", "?", 10, 0}, {"´", "´", "`", 11, 0},
                {"~", "~", "|", 12, 0}, {"^", "^", "°", -1, 1}, {"Ü", "ü", "Ü", 10, 1}, {"@", "@", "\\", 12, 1},
                {"A", "a", "A", 1, 2},  {"Ä", "ä", "Ä", 11, 2}, {"Y", "y", "Y", 0, 3},  {";", ",", ";", 7, 3},
                {"'", "#", "'", 10, 3}, {"<", "<", ">", 11, 3}};
    for (const Row& r : rows) {
        // Radius 20: columns 40 apart, each row 20 further right; rows from 74 below the keyboard button.
        const float x = float(-60 + 40 * r.column + 20 * r.row), y = float(74 + 40 * r.row);
        for (const auto& [shift, action] : {std::pair{0, r.normal}, std::pair{1, r.shifted}}) {
            const TKeyboardKey& k = Key(r.label, shift);
            EXPECT_EQ(k.action, action) << r.label;
            EXPECT_EQ(k.cmd->gadget->x, x) << r.label;
            EXPECT_EQ(k.cmd->gadget->y, y) << r.label;
        }
    }
    for (const char* single : {"Backspace", "ShiftLock", "Shift", "Space"}) EXPECT_NO_THROW(Key(single, -1));
    EXPECT_EQ(Key("Space", -1).action, " ");
    EXPECT_EQ(tool->keyboardKeys.size(), 104u);
}

TEST_F(TextFieldTest, ShiftTypesOneCapitalShiftLockKeepsThem) {
    Start("");
    tool->setKeyboardVisible(1);
    EXPECT_TRUE(Key("A", 0).cmd->isShowed());
    EXPECT_FALSE(Key("A", 1).cmd->isShowed());
    Tap(*tool->cmdShift);
    EXPECT_TRUE(Key("A", 1).cmd->isShowed());
    Tap(*Key("A", 1).cmd);
    Tap(*Key("B", 0).cmd);
    Tap(*tool->cmdShiftLock);
    Tap(*Key("C", 1).cmd);
    Tap(*Key("Ö", 1).cmd);
    EXPECT_TRUE(Key("7", 1).cmd->isShowed());
    Tap(*tool->cmdShiftLock);
    Tap(*Key("D", 0).cmd);
    EXPECT_EQ(tool->currentText, "AbCÖd");
    EXPECT_FALSE(Key("7", 1).cmd->isShowed());
}

TEST_F(TextFieldTest, CursorCountsCharactersAndNeverSplitsUmlauts) {
    Start("Grün");
    Type("x");  // the field takes the keyboard the moment it opens
    EXPECT_EQ(tool->currentText, "Grünx");
    for (int32_t i = 0; i < 3; ++i) tool->onKeyHit(Key("Backspace", -1));
    EXPECT_EQ(tool->currentText, "Gr");
    Type("äß");
    EXPECT_EQ(tool->currentCursor, 4);
    Type("\x02\x02\b");  // left, left, backspace
    EXPECT_EQ(tool->currentText, "Gäß");
    Type("\x7f");  // delete
    EXPECT_EQ(tool->currentText, "Gß");
    Type("\x02\x02\b");  // at 0
    EXPECT_EQ(tool->currentText, "Gß");
    Type("\x06\x06\x7f");  // at the end
    EXPECT_EQ(tool->currentText, "Gß");
    EXPECT_EQ(tool->currentCursor, 2);
}

// A slow frame receives all a fast typist typed: characters and keys act in the order typed.
TEST_F(TextFieldTest, KeysAndCharactersOfOneFrameActInTheOrderTyped) {
    Start("");
    Type("Oxst\x02\x02\x02\x7f\x06\x06\x06\b\bst\rzoom");
    EXPECT_EQ(oks, std::vector<std::string>{"Ost"});
    EXPECT_FALSE(tool->isVisible());
    Start("alt");
    Type("abc\x1b\r");  // Escape closes the field; the Return after it confirms nothing
    EXPECT_EQ(cancels, 1);
    EXPECT_EQ(oks.size(), 1u);
    EXPECT_FALSE(tool->isVisible());
}

TEST_F(TextFieldTest, ControlAndNonLatin1CharactersAreNotInserted) {
    Start("");
    Tap(*tool->cmdTextField);
    Type("a\tb\x01\x7f\xC2\x80\xC5\x81\xE2\x82\xAC\xFF");  // tab, SOH, DEL, U+0080, Ł, €, a stray byte
    EXPECT_EQ(tool->currentText, "ab\xC3\xBF");            // the stray byte read as Latin-1 ÿ
}

// The text the field draws (the white copy over the shadow) and where it begins and ends.
struct Drawn {
    std::string text;
    float left = 0, right = 0;
};

TEST_F(TextFieldTest, APasteOfTenThousandCharactersIsCutToTheLongestNameAtOnce) {
    Start("");
    Tap(*tool->cmdTextField);
    Type(std::string(10000, 'W'));
    EXPECT_EQ(tool->currentText, std::string(TTextFieldTool::maxChars, 'W'));
    EXPECT_EQ(tool->currentCursor, int32_t(TTextFieldTool::maxChars));
    Type("X\b");  // nothing more goes in; Backspace takes the last W
    EXPECT_EQ(tool->currentText.size(), TTextFieldTool::maxChars - 1);
}

TEST_F(TextFieldTest, ALongTextScrollsWithTheCursorAndKeepsItsStartWhileTheCursorIsThere) {
    const std::string name = "Sankt Johann im Pongau an der Salzach";
    const auto drawn = [&] {
        tool->IsActive = 1;
        backend->ClearLog();
        tool->drawTextField(500, 100);  // the field's centre
        Drawn d;
        for (const auto& c : backend->calls) {
            if (c.kind != TDrawCall::Text) continue;
            d = {c.text, c.x, c.x + font->TextWidth(c.text)};
        }
        return d;
    };
    const float fieldLeft = 500 - 0.5f * tool->textfield_Width, fieldRight = 500 + 0.5f * tool->textfield_Width;
    Start("");
    Tap(*tool->cmdTextField);
    Type(name);
    ASSERT_EQ(tool->currentText, name);  // wider than the field, and nothing dropped
    ASSERT_GT(font->TextWidth(name), tool->textfield_Width);
    // Keys typed, then whether the shown part begins with the text's start or ends with its end.
    const struct {
        std::string keys;
        bool start, end;
    } steps[] = {
        {"", false, true},                       // typed: the end with the cursor
        {std::string(10, '\x02'), false, true},  // a few characters back: no need to move
        {std::string(40, '\x02'), true, false},  // at the start: the start shows
        {std::string(5, '\x06'), true, false},   // a little to the right: it stays
        {std::string(40, '\x06'), false, true},
        {std::string(40, '\x02') + "Alt ", true, false},  // typing at the start
    };
    for (const auto& s : steps) {
        Type(s.keys);
        const Drawn d = drawn();
        EXPECT_EQ(name.starts_with(d.text) || ("Alt " + name).starts_with(d.text), s.start) << d.text;
        EXPECT_EQ(name.ends_with(d.text), s.end) << d.text;
        EXPECT_GE(d.left, fieldLeft) << d.text;
        EXPECT_LE(d.right, fieldRight) << d.text;
        float cx = 0, cy = 0;
        tool->_transformCursorToPos(tool->currentCursor, cx, cy);
        EXPECT_GE(500 + cx, d.left - 0.5f) << d.text;  // the cursor lies on the shown part
        EXPECT_LE(500 + cx, d.right + 0.5f) << d.text;
        // A touch at a shown character's place puts the cursor before it.
        EXPECT_EQ(tool->_transformPosToCursor(d.left - 500 + 0.1f), int32_t(tool->currentText.find(d.text)));
    }
}

TEST_F(TextFieldTest, TheKeyboardStaysOnScreenWhereverThePanelStands) {
    // A screen of 800 × 450 units (1600 × 900 pixels at interface scale 2); the panel's move
    // button at x, y. Only where the keyboard fits neither below nor above the panel is the panel
    // moved (up, as the tool set pushes every panel on screen).
    gui->ymax = 450;
    Start("");
    clock->Advance(600);  // the panel's show spiral is over
    Frame();
    const struct {
        float x, y;
        bool moves;
    } places[] = {{300, 100, false}, {40, 60, false},   {500, 60, false}, {480, 200, false},
                  {40, 420, false},  {500, 430, false}, {200, 250, true}};
    for (const auto& p : places) {
        tool->SetPosition(p.x, p.y);
        tool->setKeyboardVisible(1);
        Frame();
        tool->KeepOnScreen(800, 450);
        Frame();
        EXPECT_EQ(tool->GetX(), p.x);
        EXPECT_EQ(tool->GetY() != p.y, p.moves) << p.x << "," << p.y;
        float l = 1e9f, t = 1e9f, r = -1e9f, b = -1e9f;
        for (const auto& k : tool->keyboardKeys) {
            const auto& g = *k->cmd->gadget;
            if (!g.isShowed()) continue;
            for (const auto& poly : g.getCurrentTouchObject()->GetPolygons()) {
                for (const auto& q : poly) {
                    l = std::min(l, g.GetX(1) + q[0]);
                    r = std::max(r, g.GetX(1) + q[0]);
                    t = std::min(t, g.GetY(1) + q[1]);
                    b = std::max(b, g.GetY(1) + q[1]);
                }
            }
        }
        EXPECT_TRUE(l >= 0 && r <= 800 && t >= 0 && b <= 450)
            << p.x << "," << p.y << ": " << l << "," << t << " – " << r << "," << b;
        // The keys leave the panel's buttons and its text field free.
        const float pt = tool->cmdKeyboard->gadget->GetY(1) - tool->buttonRadius;
        const float pb = tool->cmdTextField->gadget->GetY(1) + 0.5f * tool->textfield_Height;
        EXPECT_TRUE(b <= pt || t >= pb) << p.x << "," << p.y;
        tool->setKeyboardVisible(0);
    }
}

TEST_F(TextFieldTest, OkRefusedByTheCallbackKeepsThePanelOpen) {
    Start("");
    Tap(*tool->cmdTextField);
    accept = 0;
    Type("\r");  // an empty name goes to the callback, which refuses it
    EXPECT_TRUE(tool->isVisible());
    accept = 1;
    Type("Ost");
    Type("\r");
    EXPECT_FALSE(tool->isVisible());
    tool->onCmdOk();  // the edit is over: nothing calls back again
    EXPECT_EQ(oks, (std::vector<std::string>{"", "Ost"}));
}

TEST_F(TextFieldTest, PasswordShowsStarsButHandsOverTheText) {
    Start("geheim", 1);
    Tap(*tool->cmdTextField);
    tool->startMS = Millisecs() - 180;  // the cursor at full brightness
    backend->ClearLog();
    gui->Draw();
    std::vector<std::string> texts;
    float cursorAlpha = -1;
    for (const auto& c : backend->calls) {
        if (c.kind == TDrawCall::Text) texts.push_back(c.text);
        if (c.kind == TDrawCall::Line) cursorAlpha = c.alpha;
    }
    EXPECT_EQ(texts, (std::vector<std::string>{"******", "******"}));  // shadow, then the text
    EXPECT_NEAR(cursorAlpha, 1.0f, 1e-4f);
    tool->onCmdOk();
    EXPECT_EQ(oks, std::vector<std::string>{"geheim"});
}

TEST_F(TextFieldTest, KeysGoToThePanelOnlyWhileItLiesInFront) {
    Start("abc");
    Tap(*tool->cmdTextField);
    Type("d");
    EXPECT_EQ(input.actions, 0);  // game shortcuts stay quiet while typing
    TGUIElement other;
    other._mainGadget = gui->AddRoundButton(600, 500, 20);
    other.SHOW();
    Type("e");
    EXPECT_EQ(input.actions, 1);
    EXPECT_EQ(tool->IsActive, 0);
    Tap(*tool->cmdTextField);  // touching the field brings the panel back to the front
    Type("f");
    EXPECT_EQ(TCharset::Length(tool->currentText), 5u);
    EXPECT_EQ(tool->currentText.find('e'), std::string::npos);
}

TEST_F(TextFieldTest, ANewEditOrEscapeCancelsTheRunningOne) {
    Start("alt");
    Start("neu");
    EXPECT_EQ(cancels, 1);
    EXPECT_TRUE(tool->isVisible());
    EXPECT_EQ(tool->currentText, "neu");
    Tap(*tool->cmdTextField);
    Type("x");
    Type("\x1b");
    EXPECT_EQ(cancels, 2);
    EXPECT_FALSE(tool->isVisible());
    tool->onCmdOk();
    tool->onCmdCancel();
    EXPECT_EQ(cancels, 2);
    EXPECT_TRUE(oks.empty());
}

}  // namespace
