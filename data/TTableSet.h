// One language's five reference tables with their data sources, and the two reads
// that fill the reference records of a calculation from the current rows.
#pragma once

#include "data/TLanguage.h"

#include <QObject>
#include <QString>

#include <array>

class TDataSource;
class TTable;
struct TSlabInput;

class TTableSet : public QObject {
    Q_OBJECT
public:
    // Five closed tables Table1..Table5 and their sources DataSource1..DataSource5.
    explicit TTableSet(TLanguage Language, QObject* parent = nullptr);

    // The language whose files this set opens.
    TLanguage Language() const;

    // Opens Table1..Table5 in that order under alias "Vilo"; the first failure throws
    // TDatabaseError and leaves the later tables closed.
    void Open();

    // Table Number (1 cities, 2 concretes, 3 insulations, 4 soils, 5 floor constructions).
    // Throws std::out_of_range outside 1..5.
    TTable* Table(int Number) const;
    // Data source Number, bound to Table(Number).
    TDataSource* DataSource(int Number) const;

    // The file name of table Number for Language ("City.db", "CityEng.DB", ...).
    static QString FileName(TLanguage Language, int Number);

    // Fills the numeric fields of the five records (HeatResistance excepted) from the
    // current rows, by position in each table's current column order, in this order:
    // concrete 1, soil 1, insulation 1, city 1, concrete 2, insulation 2, floor 1,
    // city 2, city 3, city 4. Stops at the first cell that is not a number with
    // ConversionError (from calc), or TDatabaseError for a position past the last column.
    void ReadSlabRecords(TSlabInput& Input, char decimalSeparator) const;

    // The floor construction's HeatResistance (floor column 2), read the same way.
    float ReadFloorHeatResistance(char decimalSeparator) const;

private:
    float ReadCell(int Number, int Position, char decimalSeparator) const;

    TLanguage FLanguage;
    std::array<TTable*, 5> FTables{};
    std::array<TDataSource*, 5> FDataSources{};
};
