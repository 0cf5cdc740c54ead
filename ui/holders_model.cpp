#include "ui/holders_model.h"

#include "ui/latin1.h"

namespace tavo::ui {

constexpr int kCountColumn = 3;

HoldersModel::HoldersModel(const OverviewPage& page, QObject* parent)
    : QAbstractTableModel(parent), page_(page) {}

int HoldersModel::rowCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : rows_;
}

int HoldersModel::columnCount(const QModelIndex& parent) const {
    return parent.isValid() ? 0 : static_cast<int>(page_.holder_headings().size());
}

const HolderRow& HoldersModel::row(int index) const {
    if (index != cached_) {
        cached_row_ = page_.holder_row(static_cast<std::size_t>(index));
        cached_ = index;
    }
    return cached_row_;
}

QVariant HoldersModel::data(const QModelIndex& index, int role) const {
    if (!index.isValid() || index.row() >= rows_) return {};
    if (role == Qt::TextAlignmentRole && index.column() == kCountColumn) {
        return QVariant(Qt::AlignRight | Qt::AlignVCenter);
    }
    if (role != Qt::DisplayRole) return {};
    const std::vector<std::string>& cells = row(index.row()).cells;
    const auto column = static_cast<std::size_t>(index.column());
    return column < cells.size() ? qs(cells[column]) : QString();
}

QVariant HoldersModel::headerData(int section, Qt::Orientation orientation, int role) const {
    const std::vector<std::string>& headings = page_.holder_headings();
    if (orientation != Qt::Horizontal || role != Qt::DisplayRole || section < 0 ||
        section >= static_cast<int>(headings.size())) {
        return QAbstractTableModel::headerData(section, orientation, role);
    }
    return qs(headings[static_cast<std::size_t>(section)]);
}

void HoldersModel::reload() {
    beginResetModel();
    rows_ = static_cast<int>(page_.holder_count());
    cached_ = -1;
    endResetModel();
}

}  // namespace tavo::ui
