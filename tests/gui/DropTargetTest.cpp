// The portable drop logic that every window system's drag-and-drop adaptor feeds, on a headless
// window whose drop callback records what reaches it.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "editor/Skin.h"
#include "gui/platform/headless/HeadlessControl.h"
#include "gui/platform/shared/DropTarget.h"
#include "gui/platform/shared/UriList.h"

namespace wrenfold {
namespace {

struct ReceivedDrop {
  std::vector<std::string> items;
  int32_t count = -1;
  int32_t type = -1;
  Point where;
};

ReceivedDrop received;

bool recordDrop(platform::Window*, void*, void** items, int32_t count, int32_t type, Point where) {
  received = ReceivedDrop();
  received.count = count;
  received.type = type;
  received.where = where;
  const int32_t itemCount = type == dropTypeText ? 1 : count;
  for (int32_t i = 0; i < itemCount; ++i)
    received.items.emplace_back(static_cast<const char*>(items[i]));
  return false;
}

const platform::WindowHandler recordingHandler = {nullptr, nullptr, nullptr, &recordDrop, nullptr};

// Data that offers what the row says.
class ScriptedData : public DropData {
 public:
  ScriptedData(std::string text, std::vector<std::string> files)
      : text(std::move(text)), files(std::move(files)) {}
  bool offersText() override { return !text.empty(); }
  bool offersFiles() override { return !files.empty(); }
  bool readText(std::string& bytes) override {
    bytes = text;
    return true;
  }
  bool readFiles(std::vector<std::string>& names) override {
    names = files;
    return true;
  }

 private:
  std::string text;
  std::vector<std::string> files;
};

struct DropCase {
  const char* name;
  std::string text;
  std::vector<std::string> files;
  bool control;
  int32_t effect;
  int32_t type;  // -1: nothing reaches the window
  std::vector<std::string> items;
  int32_t count;
};

TEST(DropTargetTest, PrefersTextOverFilesAndShowsCopyWithControlElseMove) {
  const std::string longName(1500, 'x');
  const DropCase cases[] = {
      {"text and files",
       "some text",
       {"/a"},
       false,
       dropEffectMove,
       dropTypeText,
       {"some text"},
       9},
      {"text with Control", "abc", {}, true, dropEffectCopy, dropTypeText, {"abc"}, 3},
      {"files", "", {"/a b", "/c"}, false, dropEffectMove, dropTypeFiles, {"/a b", "/c"}, 2},
      {"over-long file name",
       "",
       {longName},
       true,
       dropEffectCopy,
       dropTypeFiles,
       {longName.substr(0, 1023)},
       1},
      {"neither", "", {}, true, dropEffectNone, -1, {}, -1},
  };
  headless::reset();
  platform::Window* host = headless::createHostWindow(Rect(100, 200, 500, 700));
  platform::Window* window =
      platform::createChildWindow(host, Rect(0, 0, skin::editorWidth, skin::editorHeight), "Window",
                                  &recordingHandler, nullptr);
  headless::setInput(headless::InputState{0, Point(130, 250)});
  for (const DropCase& row : cases) {
    SCOPED_TRACE(row.name);
    received = ReceivedDrop();
    DropTarget target(window, &recordingHandler, nullptr);
    ScriptedData data(row.text, row.files);
    EXPECT_EQ(target.dragEnter(&data, row.control), row.effect);
    EXPECT_EQ(target.dragOver(!row.control), row.effect == dropEffectNone ? dropEffectNone
                                             : row.control                ? dropEffectMove
                                                                          : dropEffectCopy);
    EXPECT_FALSE(target.drop(&data));
    EXPECT_EQ(received.type, row.type);
    EXPECT_EQ(received.items, row.items);
    EXPECT_EQ(received.count, row.count);
    if (row.type >= 0) {
      EXPECT_EQ(received.where, Point(30, 50)) << "the cursor relative to the window";
    }
  }
  headless::destroyHostWindow(host);
}

TEST(DropTargetTest, UriListsGiveTheLocalPathsOfTheirFileUris) {
  const std::pair<std::string, std::vector<std::string>> cases[] = {
      {"file:///tmp/a%20b\r\nfile://host/etc/x\r\n", {"/tmp/a b", "/etc/x"}},
      {"# comment\nhttp://example.invalid/a\nfile:///c%2", {"/c%2"}},
      {"", {}},
  };
  for (const auto& row : cases) {
    SCOPED_TRACE(row.first);
    EXPECT_EQ(filePathsOfUriList(row.first), row.second);
  }
}

}  // namespace
}  // namespace wrenfold
