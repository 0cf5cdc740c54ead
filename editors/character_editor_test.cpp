#include "editors/character_editor.h"

#include <gtest/gtest.h>

#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

struct CharacterEditorObject : ::testing::Test {
    CharacterEditorObject() {
        demo.start();
        demo.ui.clear();
    }
    DemoWorkspace demo;
    CharacterEditor editor{demo.ws, demo.ui};
};

TEST_F(CharacterEditorObject, EntriesCarryTheirIdsAndTheFirstIsShown) {
    ASSERT_TRUE(editor.list(2000001));
    ASSERT_EQ(editor.count(), 2u);
    EXPECT_EQ(editor.entries()[1].id, "150001");
    EXPECT_EQ(editor.chosen(), std::optional<std::size_t>(0));
    EXPECT_EQ(editor.view(), std::optional<CharacterView>(CharacterView::Stats));
    ASSERT_TRUE(editor.sheet());
    EXPECT_TRUE(editor.sheet()->profile.starts_with("Character ID: 150000\tChar Slot #: 0\r\n"));

    // An account without characters lists none and shows nothing.
    ASSERT_TRUE(editor.list(2000004));
    EXPECT_EQ(editor.count(), 0u);
    EXPECT_FALSE(editor.chosen());
    EXPECT_FALSE(editor.sheet());
}

TEST_F(CharacterEditorObject, UnsavedChangesAreKeptOnNoAndDroppedOnYes) {
    ASSERT_TRUE(editor.list(2000001));
    std::vector<bool> heard;
    editor.unsaved().observe([&heard](bool unsaved) { heard.push_back(unsaved); });
    editor.mark_changed();
    demo.ui.answer({false});
    EXPECT_FALSE(editor.choose(1));
    EXPECT_EQ(demo.ui.questions(), std::vector<std::string>{kDiscardCharacterQuestion});
    EXPECT_EQ(editor.chosen(), std::optional<std::size_t>(0));
    EXPECT_EQ(demo.ws.characters.current.name, "Kaelen");
    EXPECT_TRUE(editor.unsaved().get());

    demo.ui.answer({true});
    EXPECT_TRUE(editor.choose(1));
    EXPECT_EQ(editor.chosen(), std::optional<std::size_t>(1));
    EXPECT_EQ(demo.ws.characters.current.name, "Kaelbrew");
    EXPECT_FALSE(editor.unsaved().get());
    EXPECT_EQ(heard, (std::vector<bool>{true, false}));

    // Without unsaved work nothing is asked.
    EXPECT_TRUE(editor.choose(0));
}

TEST_F(CharacterEditorObject, SavingWritesTheChosenCharacterAndAFailedWriteKeepsTheChanges) {
    ASSERT_TRUE(editor.list(2000001));
    ASSERT_TRUE(editor.choose(1));
    demo.ws.characters.current.name = "Kaelbrau";
    editor.mark_changed();
    demo.ws.app.files = FileWriter([](int, const char*, std::size_t) -> ssize_t {
        errno = ENOSPC;
        return -1;
    });
    EXPECT_FALSE(editor.save());
    EXPECT_TRUE(editor.unsaved().get());
    EXPECT_EQ(demo.ui.messages().size(), 1u);
    EXPECT_EQ(demo.save("athena.txt").find("Kaelbrau"), std::string::npos);
    demo.ui.clear();

    demo.ws.app.files = FileWriter();
    EXPECT_TRUE(editor.save());
    EXPECT_FALSE(editor.unsaved().get());
    EXPECT_NE(demo.save("athena.txt").find("150001\t2000001,1\tKaelbrau\t"), std::string::npos);
}

}  // namespace
}  // namespace tavo
