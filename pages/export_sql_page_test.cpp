#include "pages/export_sql_page.h"

#include <gtest/gtest.h>

#include "app/text_file.h"
#include "testsupport/demo_workspace.h"

namespace tavo {
namespace {

using testing::DemoWorkspace;

struct ExportSqlPageTest : ::testing::Test {
    ExportSqlPageTest() {
        demo.start();
        page = std::make_unique<ExportSqlPage>(demo.ws.app);
    }
    fs::path target() const { return demo.dir.path() / "out.sql"; }

    DemoWorkspace demo;
    std::unique_ptr<ExportSqlPage> page;
};

TEST_F(ExportSqlPageTest, OffersTheExportOnceAFileIsChosenAndEndsWithTheRows) {
    EXPECT_FALSE(page->offered(ExportSqlButton::Export));
    EXPECT_EQ(page->press(ExportSqlButton::Export, demo.ui), ExportSqlPage::Mode::Choosing);
    page->choose_schema(SqlEra::Y2013);
    EXPECT_NE(page->suggested_file().find("ragnarok-2013.sql"), std::string::npos);
    page->set_file(target().string());
    ASSERT_TRUE(page->offered(ExportSqlButton::Export));
    EXPECT_EQ(page->press(ExportSqlButton::Export, demo.ui), ExportSqlPage::Mode::Exported);
    EXPECT_NE(page->summary().find("  char: 11\n"), std::string::npos) << page->summary();
    EXPECT_NE(read_file(target()).find("`last_map` varchar(11)"), std::string::npos);
}

TEST_F(ExportSqlPageTest, ARefusalWritesNothingAndOffersExportAnyway) {
    std::string athena = demo.save("athena.txt");
    athena += athena.substr(0, athena.find('\n') + 1);  // the first character twice
    demo.dir.write("server/save/athena.txt", athena);
    page->set_file(target().string());
    EXPECT_EQ(page->press(ExportSqlButton::Export, demo.ui), ExportSqlPage::Mode::Refused);
    EXPECT_FALSE(fs::exists(target()));
    EXPECT_TRUE(page->offered(ExportSqlButton::ExportAnyway));
    EXPECT_NE(page->summary().find("is taken by an earlier character"), std::string::npos);
    EXPECT_EQ(page->press(ExportSqlButton::ExportAnyway, demo.ui), ExportSqlPage::Mode::Exported);
    EXPECT_NE(page->summary().find("Left out"), std::string::npos) << page->summary();
    EXPECT_TRUE(fs::exists(target()));
    EXPECT_FALSE(page->offered(ExportSqlButton::ExportAnyway));
}

}  // namespace
}  // namespace tavo
