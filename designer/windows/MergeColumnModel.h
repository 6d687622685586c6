#pragma once
// The items of the editor's merge column lists, "[列を選択してください]" and
// "[k列目]" for each column of the merge table, made when shown: one model
// serves all the lists, so a table of a million columns costs nothing.
#include <QAbstractListModel>

namespace lx {

class MergeColumnModel : public QAbstractListModel {
public:
    using QAbstractListModel::QAbstractListModel;

    // Item 0 is "no column"; items 1 to columnCount the columns.
    void SetColumnCount(int columnCount);

    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;

private:
    int columnCount_ = 0;
};

} // namespace lx
