#pragma once

#include "Records.h"

#include <QAbstractItemModel>

#include <vector>

class AddWebsiteModel;
class QTreeView;

// The engine variants chosen in the wizard, at most one per engine, in the order in which
// their engines were first chosen. Column 3 holds each variant's delay between queries.
class SelectedebsiteModel : public QAbstractItemModel
{
    friend class AddWebsiteModel;

public:
    SelectedebsiteModel(QTreeView* view, const WEBSITE* edited);

    QModelIndex index(int row, int column,
                      const QModelIndex& parent = QModelIndex()) const override;
    QModelIndex parent(const QModelIndex& child) const override;
    int rowCount(const QModelIndex& parent = QModelIndex()) const override;
    int columnCount(const QModelIndex& parent = QModelIndex()) const override;
    QVariant data(const QModelIndex& index, int role = Qt::DisplayRole) const override;
    bool setData(const QModelIndex& index, const QVariant& value, int role = Qt::EditRole) override;
    Qt::ItemFlags flags(const QModelIndex& index) const override;

    // Row of the pick list and pick-list model behind a chosen row.
    int SourceRow(int row) const { return m_vSourceRows.at(std::size_t(row)); }
    AddWebsiteModel* SourceModel(int row) const { return m_vSourceModels.at(std::size_t(row)); }
    // Position of the chosen row that belongs to a pick-list model; -1 when none.
    int PositionOf(const AddWebsiteModel* model) const;

    std::vector<long> m_vecUserSEInterval;

private:
    void repaint();

    std::vector<int> m_vSourceRows;
    std::vector<AddWebsiteModel*> m_vSourceModels;
    const WEBSITE* m_pEdited;
    QTreeView* m_pView;
};
