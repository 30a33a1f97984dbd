#pragma once

#include <QTreeView>

// A pick list: selecting a row chooses its variant (checks it); selecting never unchooses.
class AddWebsiteTreeView : public QTreeView
{
    Q_OBJECT

public:
    explicit AddWebsiteTreeView(QWidget* parent = nullptr);

protected:
    void selectionChanged(const QItemSelection& selected,
                          const QItemSelection& deselected) override;
};
