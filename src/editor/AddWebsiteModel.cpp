#include "AddWebsiteModel.h"

#include "SelectedebsiteModel.h"

#include <QIcon>
#include <QTreeView>

namespace {
const char kGoogleHostPrefix[] = "www.google.";
const char kBingDomain[] = "bing.com";
} // namespace

AddWebsiteModel::AddWebsiteModel(QTreeView* view, const QMap<QString, QString>* areaDomains,
                                 const CountryLanguageList* countryLanguages,
                                 EnuSearchEngineType kind, const QMap<QString, QString>* flags,
                                 SelectedebsiteModel* selected)
    : m_pView(view), m_pAreaDomains(areaDomains), m_pCountryLanguages(countryLanguages),
      m_eKind(kind), m_vCheckStates(std::size_t(countryLanguages->size()), Qt::Unchecked),
      m_pFlags(flags), m_pSelected(selected)
{}

QModelIndex AddWebsiteModel::index(int row, int column, const QModelIndex& parent) const
{
    if (!hasIndex(row, column, parent))
        return QModelIndex();
    return createIndex(row, column);
}

QModelIndex AddWebsiteModel::parent(const QModelIndex&) const
{
    return QModelIndex();
}

int AddWebsiteModel::rowCount(const QModelIndex& parent) const
{
    if (parent.isValid())
        return 0;
    return int(m_pCountryLanguages->size());
}

int AddWebsiteModel::columnCount(const QModelIndex&) const
{
    return 3;
}

QVariant AddWebsiteModel::data(const QModelIndex& index, int role) const
{
    if (!index.isValid() || index.row() >= rowCount())
        return QVariant();
    const int row = index.row();
    switch (index.column()) {
    case 0:
        if (role == Qt::DisplayRole)
            return GetSearchEngineUrl(row);
        if (role == Qt::DecorationRole) {
            const QIcon icon = FlagIcon(Country(row));
            return icon.isNull() ? QVariant() : QVariant(icon);
        }
        if (role == Qt::CheckStateRole)
            return int(m_vCheckStates[std::size_t(row)]);
        break;
    case 1:
        if (role == Qt::DisplayRole)
            return Country(row);
        break;
    case 2:
        if (role == Qt::DisplayRole)
            return Language(row);
        break;
    default:
        break;
    }
    return QVariant();
}

bool AddWebsiteModel::setData(const QModelIndex& index, const QVariant& value, int role)
{
    if (role != Qt::CheckStateRole || !index.isValid() || index.column() != 0 ||
        index.row() >= rowCount())
        return false;
    const int row = index.row();
    const auto state = Qt::CheckState(value.toInt());
    m_vCheckStates[std::size_t(row)] = state;

    SelectedebsiteModel* selected = m_pSelected;
    const int position = selected->PositionOf(this);

    if (state != Qt::Checked) {
        if (position >= 0 && selected->m_vSourceRows[std::size_t(position)] == row) {
            // The later rows move up, and so do their delays.
            std::vector<long>& delays = selected->m_vecUserSEInterval;
            const std::size_t count = selected->m_vSourceRows.size();
            for (std::size_t slot = std::size_t(position); slot + 1 < count; ++slot)
                delays[slot] = delays[slot + 1];
            delays[count - 1] = 0;
            selected->beginRemoveRows(QModelIndex(), position, position);
            selected->m_vSourceRows.erase(selected->m_vSourceRows.begin() + position);
            selected->m_vSourceModels.erase(selected->m_vSourceModels.begin() + position);
            selected->endRemoveRows();
        }
        repaint();
        return true;
    }

    if (position >= 0) {
        // Another variant of this engine replaces the chosen one in place, keeping its delay.
        const int previous = selected->m_vSourceRows[std::size_t(position)];
        selected->m_vSourceRows[std::size_t(position)] = row;
        selected->repaint();
        // Choosing the chosen row again must not uncheck it.
        if (previous != row)
            m_vCheckStates[std::size_t(previous)] = Qt::Unchecked;
        repaint();
        return true;
    }

    const int count = int(selected->m_vSourceRows.size());
    selected->beginInsertRows(QModelIndex(), count, count);
    const EnuSearchEngineType kind = FindSearchEngineType(GetSearchEngineUrl(row));
    selected->m_vecUserSEInterval[std::size_t(count)] = GetSearchEngineDefaultInterval(kind);
    selected->m_vSourceRows.push_back(row);
    selected->m_vSourceModels.push_back(this);
    selected->endInsertRows();
    repaint();
    return true;
}

Qt::ItemFlags AddWebsiteModel::flags(const QModelIndex& index) const
{
    Qt::ItemFlags result = Qt::ItemIsSelectable | Qt::ItemIsEnabled;
    if (index.column() == 0)
        result |= Qt::ItemIsUserCheckable;
    return result;
}

QString AddWebsiteModel::GetSearchEngineUrl(int row) const
{
    const auto it = m_pAreaDomains->constFind(Country(row));
    if (it == m_pAreaDomains->constEnd())
        return QString();
    switch (m_eKind) {
    case SE_Google:
        return QLatin1String(kGoogleHostPrefix) + it.value();
    case SE_Bing:
        return it.value() + QLatin1Char('.') + QLatin1String(kBingDomain);
    case SE_Yahoo:
        return it.value();
    default:
        break;
    }
    return QString();
}

QString AddWebsiteModel::Country(int row) const
{
    return m_pCountryLanguages->at(row).first;
}

QString AddWebsiteModel::Language(int row) const
{
    return m_pCountryLanguages->at(row).second;
}

QIcon AddWebsiteModel::FlagIcon(const QString& country) const
{
    const auto it = m_pFlags->constFind(country);
    if (it == m_pFlags->constEnd())
        return QIcon();
    return QIcon(QStringLiteral(":/country/") + it.value());
}

Qt::CheckState AddWebsiteModel::CheckState(int row) const
{
    return m_vCheckStates.at(std::size_t(row));
}

void AddWebsiteModel::repaint()
{
    if (m_pView)
        m_pView->viewport()->update();
}

QModelIndex FindModelIndex(QAbstractItemModel* model, const QString& host, const QString& language,
                           const QString& country)
{
    QModelIndex fallback;
    const int rows = model->rowCount();
    for (int row = 0; row < rows; ++row) {
        if (model->index(row, 0).data(Qt::DisplayRole).toString() != host ||
            model->index(row, 2).data(Qt::DisplayRole).toString() != language)
            continue;
        if (model->index(row, 1).data(Qt::DisplayRole).toString() == country)
            return model->index(row, 0);
        if (!fallback.isValid())
            fallback = model->index(row, 0);
    }
    return fallback;
}
