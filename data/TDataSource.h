// Binds views (grids, navigators, lookup boxes) to one table.
#pragma once

#include <QObject>

class TTable;

class TDataSource : public QObject {
    Q_OBJECT
public:
    // A data source for Table (not owned); objectName is set by the owner.
    explicit TDataSource(TTable* Table, QObject* parent = nullptr);

    // The table that every bound view works on.
    TTable* DataSet() const;

private:
    TTable* FDataSet;
};
