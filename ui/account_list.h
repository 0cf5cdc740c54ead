#pragma once
// List1: a list view over the account table (list index = table index), so that a busy server's
// hundreds of thousands of accounts need no widget item each.

#include <QAbstractListModel>
#include <QItemSelectionModel>
#include <functional>
#include <optional>
#include <vector>

namespace tavo {
struct AccountTable;
}

namespace tavo::ui {

// The account names of the table. The model keeps its own row count and is told of every change
// right after the table changed, so that the view never asks for a row that is not there.
class AccountListModel : public QAbstractListModel {
    Q_OBJECT
public:
    explicit AccountListModel(const AccountTable& table, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;

    void reload();  // the table was read anew
    // Shows only these table indexes (in table order), or every account.
    void show_only(const std::optional<std::vector<std::size_t>>& shown);
    bool narrowed() const { return shown_.has_value(); }
    // The table index of a list row, and the row of a table index (-1 when not shown).
    std::size_t table_index(int row) const;
    int row_of(std::size_t table_index) const;
    void appended();  // one account was added at the end
    void changed(int row);
    void removed(int row);

private:
    const AccountTable& table_;
    int rows_ = 0;
    std::optional<std::vector<std::size_t>> shown_;
};

// Every change of the selected account, by mouse, keys or the find box, first asks the gate
// (List1_MouseDown's question about unsaved character or storage changes); on No the selection
// stays where it was. Changes made by the program itself pass through `ungated`.
class AccountSelectionModel : public QItemSelectionModel {
    Q_OBJECT
public:
    AccountSelectionModel(QAbstractItemModel* model, std::function<bool()> gate,
                          QObject* parent = nullptr);

    void setCurrentIndex(const QModelIndex& index, SelectionFlags command) override;
    void select(const QModelIndex& index, SelectionFlags command) override;
    void select(const QItemSelection& selection, SelectionFlags command) override;

    // Selects the row without asking.
    void select_ungated(int row);

private:
    bool may_move_to(const QModelIndex& index);

    std::function<bool()> gate_;
    QPersistentModelIndex refused_;
    bool ungated_ = false;
};

}  // namespace tavo::ui
