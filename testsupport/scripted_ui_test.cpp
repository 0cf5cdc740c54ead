#include "testsupport/scripted_ui.h"

#include <gtest/gtest.h>

namespace tavo::testing {
namespace {

// The double must catch what a test forgot: each case counts the failures it reports.
struct Strictness : ::testing::Test {
    Strictness() {
        ui.on_failure = [this](const std::string& what) { failures.push_back(what); };
    }
    std::vector<std::string> failures;
    ScriptedUi ui;
};

TEST_F(Strictness, AQuestionNobodyScriptedFailsAtOnceAndIsAnsweredNo) {
    EXPECT_FALSE(ui.ask_yes_no("Are you sure?", "Tavo", Icon::None));
    EXPECT_EQ(failures, std::vector<std::string>{"nobody scripted the question: Are you sure?"});
    EXPECT_EQ(ui.browse_for_folder("Pick the server"), "");
    EXPECT_EQ(failures.size(), 2u);
    ui.questions();
}

TEST_F(Strictness, AMessageTheTestNeverLookedAtFailsAtTheEnd) {
    ui.message("Error 53, File not found", "Tavo", Icon::None);
    ui.finish();
    EXPECT_EQ(failures,
              std::vector<std::string>{"a message nobody expected: Error 53, File not found"});
    // Once read, a message is expected; so is one that came before a look at the questions.
    failures.clear();
    ui.message("Saved.", "Tavo", Icon::None);
    EXPECT_EQ(ui.messages().size(), 2u);
    ui.message("Again.", "Tavo", Icon::None);
    ui.clear();
    ui.finish();
    EXPECT_TRUE(failures.empty());
}

TEST_F(Strictness, ScriptedAnswersAndFoldersLeftUnusedFail) {
    ui.answer({true, false});
    ui.pick({"/srv"});
    EXPECT_TRUE(ui.ask_yes_no("Delete?", "Tavo", Icon::None));
    ui.finish();
    EXPECT_EQ(failures, (std::vector<std::string>{"a scripted answer left unused: No",
                                                  "a scripted folder left unused: /srv"}));
    // What finish() reported is not reported again when the double goes away.
    failures.clear();
    ui.finish();
    EXPECT_TRUE(failures.empty());
}

}  // namespace
}  // namespace tavo::testing
