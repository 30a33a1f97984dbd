#include "SelectedebsiteModel.h"

#include "AddWebsiteModel.h"

#include <QCursor>
#include <QToolTip>
#include <QTreeView>

namespace {
const char kDelayTip[] = "Here you can set the delay between each query. This helps increase the "
                         "success rate especially when you do not have proxies.";
} // namespace

SelectedebsiteModel::SelectedebsiteModel(QTreeView* view, const WEBSITE* edited)
    : m_vecUserSEInterval(3, 0), m_pEdited(edited), m_pView(view)
{}

QModelIndex SelectedebsiteModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex SelectedebsiteModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int SelectedebsiteModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_vSourceRows.size());
}

int SelectedebsiteModel::columnCount(const QModelIndex&) const
{
    return 4;
}

QVariant SelectedebsiteModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const int row = index.row();
    const AddWebsiteModel* source = SourceModel(row);
    const int sourceRow = SourceRow(row);
    switch (index.column()) {
    case 0:
        if (role == Qt::DisplayRole)
            return source->GetSearchEngineUrl(sourceRow);
        if (role == Qt::DecorationRole) {
            const QIcon icon = source->FlagIcon(source->Country(sourceRow));
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        if (role == Qt::CheckStateRole)
            return int(Qt::Checked);
        break;
    case 1:
        if (role == Qt::DisplayRole)
            return source->Country(sourceRow);
        break;
    case 2:
        if (role == Qt::DisplayRole)
            return source->Language(sourceRow);
        break;
    case 3:
        if (role == Qt::DisplayRole || role == Qt::EditRole)
            return int(m_vecUserSEInterval[std::size_t(row)]);
        if (role == Qt::ToolTipRole)
            QToolTip::showText(QCursor::pos(), QLatin1String(kDelayTip));
        break;
    default:
        break;
    }
    return QVariant();
}

bool SelectedebsiteModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (!index.isValid() || index.row() >= rowCount())
        return false;
    const int row = index.row();
    if (role == Qt::CheckStateRole && index.column() == 0) {
        // Any click on a chosen row's box unchooses it in its pick list.
        AddWebsiteModel* source = SourceModel(row);
        source->setData(source->index(SourceRow(row), 0), int(Qt::Unchecked), Qt::CheckStateRole);
    } else if (role == Qt::EditRole && index.column() == 3) {
        Q_ASSERT_X(std::size_t(row) < m_vecUserSEInterval.size(), "SelectedebsiteModel::setData",
                   "index.row() < m_vecUserSEInterval.size()");
        m_vecUserSEInterval[std::size_t(row)] = value.toInt();
        repaint();
    }
    return false;
}

Qt::ItemFlags SelectedebsiteModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    else if (index.column() == 3)
        result |= Qt::ItemIsEditable;
    return result;
}

int SelectedebsiteModel::PositionOf(const AddWebsiteModel* model) const
{
    for (std::size_t i = 0; i < m_vSourceModels.size(); ++i) {
        if (m_vSourceModels[i] == model)
            return int(i);
    }
    return -1;
}

void SelectedebsiteModel::repaint()
{
    if (m_pView)
        m_pView->viewport()->update();
}
