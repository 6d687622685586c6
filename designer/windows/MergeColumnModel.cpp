#include "designer/windows/MergeColumnModel.h"

#include <algorithm>

namespace lx {

void MergeColumnModel::SetColumnCount(int columnCount)
{
    beginResetModel();
    columnCount_ = std::max(columnCount, 0);
    endResetModel();
}

int MergeColumnModel::rowCount(const QModelIndex& parent) const
{
    // A list has no children; a million and one items fit an int.
    return parent.isValid() ? 0 : columnCount_ + 1;
}

QVariant MergeColumnModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() > columnCount_ || (role != Qt::DisplayRole && role != Qt::EditRole))
        return {};
    if (index.row() == 0)
        return QStringLiteral("[列を選択してください]");
    return QStringLiteral("[%1列目]").arg(index.row());
}

} // namespace lx
