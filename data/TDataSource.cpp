#include "data/TDataSource.h"

TDataSource::TDataSource(TTable* Table, QObject* parent) : QObject(parent), FDataSet(Table) {}

TTable* TDataSource::DataSet() const
{
    return FDataSet;
}
