#pragma once
// The item census's table of holders over the Overview page: a common item may be held a
// million times, so rows are made by the page as the view shows them, never all at once.

#include <QAbstractTableModel>

#include "pages/overview_page.h"

namespace tavo::ui {

class HoldersModel : public QAbstractTableModel {
    Q_OBJECT
public:
    explicit HoldersModel(const OverviewPage& page, QObject* parent = nullptr);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role) const override;
    QVariant headerData(int section, Qt::Orientation orientation, int role) const override;

    // The page holds other holders now.
    void reload();

private:
    const HolderRow& row(int index) const;

    const OverviewPage& page_;
    int rows_ = 0;
    // The row asked for last: a view asks for every column of a row in turn.
    mutable int cached_ = -1;
    mutable HolderRow cached_row_;
};

}  // namespace tavo::ui
