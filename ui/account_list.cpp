#include "ui/account_list.h"

#include <algorithm>

#include "accounts/account_table.h"
#include "ui/latin1.h"

namespace tavo::ui {

AccountListModel::AccountListModel(const AccountTable& table, QObject* parent)
    : QAbstractListModel(parent), table_(table) {}

int AccountListModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

QVariant AccountListModel::data(const QModelIndex& index, int role) const {
    if (role != Qt::DisplayRole || !index.isValid()) return {};
    const std::size_t row = table_index(index.row());
    if (row >= table_.records.size()) return {};
    return qs(std::string(table_.records[row].userid()));
}

void AccountListModel::reload() {
    beginResetModel();
    shown_.reset();
    rows_ = static_cast<int>(table_.records.size());
    endResetModel();
}

void AccountListModel::show_only(const std::optional<std::vector<std::size_t>>& shown) {
    beginResetModel();
    shown_ = shown;
    rows_ = static_cast<int>(shown_ ? shown_->size() : table_.records.size());
    endResetModel();
}

std::size_t AccountListModel::table_index(int row) const {
    const auto at = static_cast<std::size_t>(row);
    if (!shown_) return at;
    return at < shown_->size() ? (*shown_)[at] : table_.records.size();
}

int AccountListModel::row_of(std::size_t table_index) const {
    if (!shown_) return table_index < table_.records.size() ? static_cast<int>(table_index) : -1;
    const auto at = std::lower_bound(shown_->begin(), shown_->end(), table_index);
    if (at == shown_->end() || *at != table_index) return -1;
    return static_cast<int>(at - shown_->begin());
}

void AccountListModel::appended() {
    beginInsertRows(QModelIndex(), rows_, rows_);
    ++rows_;
    endInsertRows();
}

void AccountListModel::changed(int row) {
    const QModelIndex at = index(row);
    emit dataChanged(at, at, {Qt::DisplayRole});
}

void AccountListModel::removed(int row) {
    beginRemoveRows(QModelIndex(), row, row);
    --rows_;
    endRemoveRows();
}

AccountSelectionModel::AccountSelectionModel(QAbstractItemModel* model, std::function<bool()> gate,
                                             QObject* parent)
    : QItemSelectionModel(model, parent), gate_(std::move(gate)) {}

// A view moves the current index first and selects afterwards: the question is asked once, at
// the move, and a refused move also refuses the selection that follows it.
bool AccountSelectionModel::may_move_to(const QModelIndex& index) {
    if (ungated_ || !index.isValid() || index.row() == currentIndex().row()) return true;
    if (!gate_ || gate_()) return true;
    refused_ = index;
    return false;
}

void AccountSelectionModel::setCurrentIndex(const QModelIndex& index, SelectionFlags command) {
    refused_ = QPersistentModelIndex();
    if (!may_move_to(index)) return;
    QItemSelectionModel::setCurrentIndex(index, command);
}

void AccountSelectionModel::select(const QModelIndex& index, SelectionFlags command) {
    QItemSelectionModel::select(QItemSelection(index, index), command);
}

void AccountSelectionModel::select(const QItemSelection& selection, SelectionFlags command) {
    if (!ungated_ && !selection.isEmpty()) {
        const QModelIndex target = selection.indexes().constFirst();
        if (refused_.isValid() && target == refused_) return;
        if (target.row() != currentIndex().row()) return;  // only the current row is selected
    }
    QItemSelectionModel::select(selection, command);
}

void AccountSelectionModel::select_ungated(int row) {
    ungated_ = true;
    const QModelIndex at = model()->index(row, 0);
    QItemSelectionModel::setCurrentIndex(at, ClearAndSelect);
    ungated_ = false;
}

}  // namespace tavo::ui
