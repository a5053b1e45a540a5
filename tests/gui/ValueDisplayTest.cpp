#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "gui/Bitmap.h"
#include "gui/DrawContext.h"
#include "gui/ValueDisplay.h"
#include "gui/platform/headless/HeadlessControl.h"

namespace wrenfold {
namespace {

constexpr Rect box(10, 20, 60, 30);

// A display drawn into a headless surface with the drawing record on.
class ValueDisplayTest : public ::testing::Test {
 protected:
  void SetUp() override {
    headless::reset();
    surface = headless::createSurface(100, 100, greenColor);
  }
  void TearDown() override {
    for (ValueDisplay* display : displays) display->release();
    platform::destroySurface(surface);
  }

  ValueDisplay* make(int32_t style, Bitmap* background = nullptr) {
    displays.push_back(new ValueDisplay(box, background, style));
    return displays.back();
  }
  // Draws the display and returns the drawing record; `fontId` receives the selected font id.
  std::vector<std::string> drawingOf(ValueDisplay& display, int32_t* fontId = nullptr,
                                     int32_t* fontSize = nullptr) {
    headless::clearDrawingLog();
    headless::recordDrawing(true);
    {
      DrawContext context(nullptr, surface, nullptr);
      display.draw(&context);
      if (fontId != nullptr) *fontId = context.getFontId();
      if (fontSize != nullptr) *fontSize = context.getFontSize();
    }
    headless::recordDrawing(false);
    return headless::drawingLog();
  }

  platform::Surface* surface = nullptr;
  std::vector<ValueDisplay*> displays;
};

const std::vector<std::string> blackFrame = {
    "line 10,20 60,20 #000000 solid",
    "line 60,20 60,30 #000000 solid",
    "line 60,30 10,30 #000000 solid",
    "line 10,30 10,20 #000000 solid",
};

std::vector<std::string> joined(std::vector<std::vector<std::string>> parts) {
  std::vector<std::string> all;
  for (const auto& part : parts) all.insert(all.end(), part.begin(), part.end());
  return all;
}

TEST_F(ValueDisplayTest, WithoutConverterShowsTwoDecimalsAtLeastTwoWide) {
  const struct {
    float value;
    const char* expected;
  } cases[] = {
      {0.5f, "0.50"},    {3.0f, "3.00"},       {0.0f, "0.00"},
      {-1.25f, "-1.25"}, {123.456f, "123.46"}, {0.004f, "0.00"},
  };
  ValueDisplay* display = make(styleHorizontal);
  for (const auto& c : cases) {
    SCOPED_TRACE(c.expected);
    display->setValue(c.value);
    char text[valueTextSize];
    display->formatValue(text);
    EXPECT_STREQ(text, c.expected);
  }
}

struct ConverterCalls {
  int plain = 0;
  int withData = 0;
  bool bufferStartedEmpty = true;
};
ConverterCalls calls;

void plainConverter(float, char* text) {
  calls.plain++;
  calls.bufferStartedEmpty = calls.bufferStartedEmpty && text[0] == '\0';
  std::strcpy(text, "plain");
}

void dataConverter(float value, char* text, void* userData) {
  calls.withData++;
  calls.bufferStartedEmpty = calls.bufferStartedEmpty && text[0] == '\0';
  // The whole buffer is ours to write.
  std::memset(text, 'x', valueTextSize - 1);
  text[valueTextSize - 1] = '\0';
  std::snprintf(text, valueTextSize, "%s %.1f", static_cast<const char*>(userData),
                static_cast<double>(value));
}

void overrunningConverter(float, char* text) { std::memset(text, 'y', valueTextSize); }

TEST_F(ValueDisplayTest, ConverterWithDataWinsOverThePlainConverter) {
  calls = ConverterCalls();
  ValueDisplay* display = make(styleHorizontal);
  display->setValue(0.25f);
  display->setConverter(plainConverter);
  char text[valueTextSize];
  display->formatValue(text);
  EXPECT_STREQ(text, "plain");

  char label[] = "gain";
  display->setConverterWithData(dataConverter, label);
  display->formatValue(text);
  EXPECT_STREQ(text, "gain 0.2");
  EXPECT_EQ(calls.plain, 1);
  EXPECT_EQ(calls.withData, 1);
  EXPECT_TRUE(calls.bufferStartedEmpty);

  EXPECT_EQ(drawingOf(*display).back(),
            "text \"gain 0.2\" 10,20,60,30 flags=2085 #ffffff transparent");
  EXPECT_EQ(calls.plain, 1);
}

TEST_F(ValueDisplayTest, TextOfAConverterThatForgetsTheTerminatorIsCutAtTheBuffer) {
  ValueDisplay* display = make(styleHorizontal);
  display->setConverter(overrunningConverter);
  char text[valueTextSize];
  display->formatValue(text);
  EXPECT_EQ(std::strlen(text), static_cast<std::size_t>(valueTextSize - 1));
}

TEST_F(ValueDisplayTest, SettersMarkDirtyOnlyWhenWhatIsDrawnChanges) {
  Color almostBlack = blackColor;
  almostBlack.unused = 9;
  const struct {
    const char* name;
    void (*change)(ValueDisplay&, Color);
    bool dirty;
  } cases[] = {
      {"same font", [](ValueDisplay& d, Color) { d.setFont(3); }, false},
      {"other font", [](ValueDisplay& d, Color) { d.setFont(6); }, true},
      {"font colour, fourth byte only",
       [](ValueDisplay& d, Color) {
         Color c = whiteColor;
         c.unused = 7;
         d.setFontColor(c);
       },
       false},
      {"back colour, fourth byte only", [](ValueDisplay& d, Color c) { d.setBackColor(c); }, false},
      {"frame colour", [](ValueDisplay& d, Color) { d.setFrameColor(cyanColor); }, true},
      {"same alignment", [](ValueDisplay& d, Color) { d.setHorizontalAlign(alignCenter); }, false},
      {"other style", [](ValueDisplay& d, Color) { d.setStyle(styleHorizontal | styleShadowText); },
       true},
      {"other face", [](ValueDisplay& d, Color) { d.setTextFace(faceBold); }, true},
      {"converter", [](ValueDisplay& d, Color) { d.setConverter(plainConverter); }, false},
      {"text transparency", [](ValueDisplay& d, Color) { d.setTextTransparency(false); }, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ValueDisplay* display = make(styleHorizontal);
    display->setDirty(false);
    c.change(*display, almostBlack);
    EXPECT_EQ(display->isDirty(), c.dirty);
  }
  ValueDisplay* display = make(styleHorizontal);
  Color tinted = whiteColor;
  tinted.unused = 7;
  display->setFontColor(tinted);
  EXPECT_EQ(display->getFontColor().unused, 7);
}

TEST_F(ValueDisplayTest, DrawsBoxFrameAndCentredTextByDefault) {
  ValueDisplay* display = make(styleHorizontal);
  display->setValue(0.5f);
  int32_t fontId = -1;
  int32_t fontSize = -1;
  const std::vector<std::string> expected = joined({
      {"fill 11,21,60,30 #000000"},
      blackFrame,
      {"text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"},
  });
  EXPECT_EQ(drawingOf(*display, &fontId, &fontSize), expected);
  EXPECT_EQ(fontId, 3);
  EXPECT_EQ(fontSize, 12);
  EXPECT_FALSE(display->isDirty());
}

TEST_F(ValueDisplayTest, StyleBitsShapeWhatIsDrawn) {
  const struct {
    const char* name;
    int32_t style;
    bool transparent;
    std::vector<std::string> expected;
  } cases[] = {
      {"shadow text", styleShadowText, false,
       joined({{"fill 11,21,60,30 #0000ff"},
               {"line 10,20 60,20 #00ff00 solid", "line 60,20 60,30 #00ff00 solid",
                "line 60,30 10,30 #00ff00 solid", "line 10,30 10,20 #00ff00 solid"},
               {"text \"0.50\" 11,21,61,31 flags=2085 #ff0000 transparent",
                "text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"}})},
      {"bevel back top-left",
       styleBevelBackTopLeft,
       false,
       {"fill 11,21,60,30 #0000ff", "line 10,30 10,20 #0000ff solid",
        "line 10,20 61,20 #0000ff solid", "line 60,21 60,30 #00ff00 solid",
        "line 60,30 10,30 #00ff00 solid",
        "text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"}},
      {"bevel frame top-left",
       styleBevelFrameTopLeft,
       false,
       {"fill 11,21,60,30 #0000ff", "line 10,30 10,20 #00ff00 solid",
        "line 10,20 61,20 #00ff00 solid", "line 60,21 60,30 #0000ff solid",
        "line 60,30 10,30 #0000ff solid",
        "text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"}},
      {"no text", styleNoText, false,
       joined({{"fill 11,21,60,30 #0000ff"},
               {"line 10,20 60,20 #00ff00 solid", "line 60,20 60,30 #00ff00 solid",
                "line 60,30 10,30 #00ff00 solid", "line 10,30 10,20 #00ff00 solid"}})},
      {"no text with bevel",
       styleNoText | styleBevelBackTopLeft,
       false,
       {"fill 11,21,60,30 #0000ff", "line 10,30 10,20 #0000ff solid",
        "line 10,20 61,20 #0000ff solid", "line 60,21 60,30 #00ff00 solid",
        "line 60,30 10,30 #00ff00 solid"}},
      {"transparent without bitmap",
       0,
       true,
       {"text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"}},
      {"transparent with bevel",
       styleBevelFrameTopLeft,
       true,
       {"line 10,30 10,20 #00ff00 solid", "line 10,20 61,20 #00ff00 solid",
        "line 60,21 60,30 #0000ff solid", "line 60,30 10,30 #0000ff solid",
        "text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent"}},
      {"no draw", styleNoDraw | styleBevelBackTopLeft | styleShadowText, false, {}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ValueDisplay* display = make(c.style);
    display->setValue(0.5f);
    display->setBackColor(blueColor);
    display->setFrameColor(greenColor);
    display->setTransparent(c.transparent);
    EXPECT_EQ(drawingOf(*display), c.expected);
    EXPECT_FALSE(display->isDirty());
  }
}

TEST_F(ValueDisplayTest, NoDrawDisplayStartsCleanAndLeavesPixelsAlone) {
  ValueDisplay* hidden = make(styleNoDraw);
  ValueDisplay* shown = make(styleHorizontal);
  EXPECT_FALSE(hidden->isDirty());
  EXPECT_TRUE(shown->isDirty());
  drawingOf(*hidden);
  EXPECT_EQ(headless::pixel(surface, Point(30, 25)), greenColor);
}

TEST_F(ValueDisplayTest, AlignmentOpacityAndFontReachTheText) {
  ValueDisplay* display = make(styleHorizontal);
  display->setValue(3.0f);
  display->setHorizontalAlign(alignLeft);
  display->setTextTransparency(false);
  display->setFont(6);
  display->setFontColor(Color(51, 51, 51));
  int32_t fontId = -1;
  int32_t fontSize = -1;
  EXPECT_EQ(drawingOf(*display, &fontId, &fontSize).back(),
            "text \"3.00\" 11,20,60,30 flags=2084 #333333 opaque");
  EXPECT_EQ(fontId, 6);
  EXPECT_EQ(fontSize, 9);
  display->setHorizontalAlign(alignRight);
  EXPECT_EQ(drawingOf(*display).back(), "text \"3.00\" 10,20,60,30 flags=2086 #333333 opaque");
}

TEST_F(ValueDisplayTest, BackgroundOrReplacementBitmapReplacesTheBox) {
  Bitmap* face = new Bitmap(128);
  ValueDisplay* display = make(styleHorizontal, face);
  face->release();
  display->alignBackgroundToPosition();
  display->setValue(0.5f);
  EXPECT_EQ(drawingOf(*display), (std::vector<std::string>{
                                     "copy 10,20,60,30 from 10,20",
                                     "text \"0.50\" 10,20,60,30 flags=2085 #ffffff transparent",
                                 }));
  display->setTransparent(true);
  EXPECT_EQ(drawingOf(*display).front(), "copyKeyed 10,20,60,30 from 10,20 key #ffffff");

  ValueDisplay* plain = make(styleHorizontal);
  Bitmap* replacement = new Bitmap(128);
  headless::clearDrawingLog();
  headless::recordDrawing(true);
  {
    DrawContext context(nullptr, surface, nullptr);
    plain->drawText(&context, "hello", replacement);
    plain->drawText(&context, nullptr, nullptr);
  }
  headless::recordDrawing(false);
  replacement->release();
  const std::vector<std::string> expected = joined({
      {"copy 10,20,60,30 from 0,0", "text \"hello\" 10,20,60,30 flags=2085 #ffffff transparent"},
      {"fill 11,21,60,30 #000000"},
      blackFrame,
  });
  EXPECT_EQ(headless::drawingLog(), expected);
}

}  // namespace
}  // namespace wrenfold
