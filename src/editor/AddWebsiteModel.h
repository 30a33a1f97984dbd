#pragma once

#include "Records.h"

#include <QAbstractItemModel>
#include <QMap>
#include <QPair>
#include <QString>
#include <QVector>

#include <vector>

class QTreeView;
class SelectedebsiteModel;

using CountryLanguageList = QVector<QPair<QString, QString>>;

// The pick list of one engine: one row per country and language of the engine's list,
// with a check box in column 0. Checking a row chooses it as the engine's variant in the
// wizard's list of chosen engines; an engine has at most one chosen row.
class AddWebsiteModel : public QAbstractItemModel
{
public:
    AddWebsiteModel(QTreeView* view, const QMap<QString, QString>* areaDomains,
                    const CountryLanguageList* countryLanguages, EnuSearchEngineType kind,
                    const QMap<QString, QString>* flags, SelectedebsiteModel* selected);

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // The engine host of a row, built from the row's country.
    QString GetSearchEngineUrl(int row) const;
    QString Country(int row) const;
    QString Language(int row) const;
    // The flag of a country; a null icon for a country without a flag row.
    QIcon FlagIcon(const QString& country) const;
    Qt::CheckState CheckState(int row) const;

private:
    void repaint();

    QTreeView* m_pView;
    const QMap<QString, QString>* m_pAreaDomains;
    const CountryLanguageList* m_pCountryLanguages;
    EnuSearchEngineType m_eKind;
    std::vector<Qt::CheckState> m_vCheckStates;
    const QMap<QString, QString>* m_pFlags;
    SelectedebsiteModel* m_pSelected;
};

// Column 0 of the first row that shows this host (column 0), language (column 2) and
// country (column 1); without such a row, the first with this host and language (some
// countries share a host and language, e.g. Yahoo's United Kingdom and Ireland); the
// invalid index when there is none.
QModelIndex FindModelIndex(QAbstractItemModel* model, const QString& host, const QString& language,
                           const QString& country = QString());
