#pragma once
// Form1: the main window. It composes the account list, the four tabs and the floating panels
// over the pages of one workspace, runs the start-up sequence, and shows the documents'
// unsaved state in its title.

#include <QList>
#include <QMainWindow>
#include <memory>

#include "app/settings.h"
#include "check/finding_target.h"
#include "pages/pages.h"
#include "workspace/startup.h"

class QComboBox;
class QLabel;
class QLineEdit;
class QListView;
class QPushButton;
class QSplitter;
class QTabWidget;

namespace tavo {
struct Workspace;
class Ui;
}  // namespace tavo

namespace tavo::ui {

class BasicInfoPanel;
class CheckFilesDialog;
class AccountListModel;
class AccountSelectionModel;
class CharProfileTab;
class ItemPanel;
class MapsPanel;
class MemoQuestPanel;
class MemoSkillQuestPanel;
class OptionsAboutTab;
class OverviewTab;
class StorageTab;
class UserInfoTab;

class Form1 : public QMainWindow {
    Q_OBJECT
public:
    Form1(Workspace& ws, Ui& ui, QWidget* parent = nullptr);
    ~Form1() override;

    // Form_Load: the start-up sequence, widgets refreshed after each step.
    void form_load(const StartOptions& options = {});

    QTabWidget* tabs() const { return tabs_; }
    Pages& pages() { return pages_; }
    QLineEdit* find_box() const { return find_box_; }
    QComboBox* find_by() const { return find_by_; }
    QListView* account_list() const { return account_list_; }
    UserInfoTab* user_info() const { return user_info_; }
    CharProfileTab* char_profile() const { return char_profile_; }
    StorageTab* storage() const { return storage_; }
    OverviewTab* overview() const { return overview_; }
    ItemPanel* item_panel() const { return item_panel_; }
    BasicInfoPanel* basic_info_panel() const { return basic_info_; }
    MapsPanel* maps_panel() const { return maps_; }
    MemoQuestPanel* memo_quest_panel() const { return memo_quest_; }
    MemoSkillQuestPanel* memo_skill_quest_panel() const { return memo_panel_; }

    // List1_Click: shows the selected account and reads its store and characters; with nothing
    // selected, the first entry is selected.
    void list1_click();
    // Selects the account at a table index as the program does (no question) and shows it.
    void select_account(int row);

protected:
    void closeEvent(QCloseEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fit_screen();
    void make_room_beside(const QRect& panel);
    void choose_finding(const FindingTarget& target);
    void after_step(StartupStep step);
    void press_visible_save();
    void refresh_status();
    void find_next();
    void narrow();
    // Shows every account again, so that a table index the narrowing hides can be selected.
    void end_narrowing();
    void refresh_title();
    void hide_editing_panels();
    // The character panels drawn from their pages: shown or hidden, and while the "Add / Edit
    // Memo Point / Quest" frame is open, the account list and the tabs unavailable.
    void render_editors();
    void open_editor(CharacterButton button);
    // What a press on the "User Info" tab did to the account list.
    void account_pressed(const AccountOutcome& outcome);
    // The pages of the chosen account drawn again.
    void render_account_pages();
    // "Server Wipes": the Server Wipe dialog, modal.
    void open_wipes();
    // After a wipe: the account list, the character and the store read again from the files, so
    // that nothing held from before is saved back over them.
    void reload_after_wipe();
    void connect_overview();

    Workspace& ws_;
    Ui& ui_;
    Pages pages_;
    QLineEdit* find_box_;
    QComboBox* find_by_;
    QListView* account_list_;
    AccountListModel* model_;
    AccountSelectionModel* selection_;
    bool quiet_selection_ = false;  // the program moves the selection and shows it itself
    QSplitter* splitter_;
    QList<int> sizes_before_panel_;  // the account list's width before a panel took it
    QTabWidget* tabs_;
    UserInfoTab* user_info_;
    CheckFilesDialog* check_files_ = nullptr;  // made at the first "Check Files"
    CharProfileTab* char_profile_;
    StorageTab* storage_;
    OptionsAboutTab* about_;
    OverviewTab* overview_;
    ItemPanel* item_panel_;
    BasicInfoPanel* basic_info_;
    MapsPanel* maps_;
    MemoQuestPanel* memo_quest_;
    MemoSkillQuestPanel* memo_panel_;
    QLabel* status_;
    QLabel* find_count_;  // "556 of 200,000 accounts match" while a find is on
};

}  // namespace tavo::ui
