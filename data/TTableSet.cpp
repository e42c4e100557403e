#include "data/TTableSet.h"

#include "calc/numtext.h"
#include "calc/slab.h"
#include "data/TAlias.h"
#include "data/TDataSource.h"
#include "data/TTable.h"

#include <stdexcept>

TTableSet::TTableSet(TLanguage Language, QObject* parent) : QObject(parent), FLanguage(Language)
{
    for (int i = 0; i < 5; ++i) {
        FTables[i] = new TTable(this);
        FTables[i]->setObjectName(QStringLiteral("Table%1").arg(i + 1));
        FDataSources[i] = new TDataSource(FTables[i], this);
        FDataSources[i]->setObjectName(QStringLiteral("DataSource%1").arg(i + 1));
    }
}

TLanguage TTableSet::Language() const
{
    return FLanguage;
}

void TTableSet::Open()
{
    // The alias is resolved once for the five files.
    const QString directory = TAlias::Directory(QString::fromLatin1(TAlias::DefaultAliasName));
    for (int number = 1; number <= 5; ++number)
        Table(number)->OpenFile(directory + u'/' + FileName(FLanguage, number));
}

TTable* TTableSet::Table(int Number) const
{
    if (Number < 1 || Number > 5)
        throw std::out_of_range("table number outside 1..5");
    return FTables[Number - 1];
}

TDataSource* TTableSet::DataSource(int Number) const
{
    if (Number < 1 || Number > 5)
        throw std::out_of_range("data source number outside 1..5");
    return FDataSources[Number - 1];
}

QString TTableSet::FileName(TLanguage Language, int Number)
{
    static const char* const swedish[] = {"City.db", "Concrete.db", "INSULAT.DB", "SOIL.DB", "Floor.db"};
    static const char* const english[] = {"CityEng.DB", "ConcreteEng.DB", "INSULATEng.DB", "SOILEng.DB", "FloorEng.DB"};
    if (Number < 1 || Number > 5)
        throw std::out_of_range("table number outside 1..5");
    return QString::fromLatin1(Language == TLanguage::Swedish ? swedish[Number - 1] : english[Number - 1]);
}

float TTableSet::ReadCell(int Number, int Position, char decimalSeparator) const
{
    return ReadNumber(Table(Number)->FieldText(Position).toStdString(), decimalSeparator);
}

void TTableSet::ReadSlabRecords(TSlabInput& Input, char decimalSeparator) const
{
    enum { City = 1, Concrete = 2, Insulation = 3, Soil = 4, Floor = 5 };
    // This order decides which bad cell a user hears about first.
    TCityRecord city = Input.City;
    TConcreteRecord concrete = Input.Concrete;
    TInsulationRecord insulation = Input.Insulation;
    TSoilRecord soil = Input.Soil;
    TFloorRecord floor = Input.Floor;
    concrete.Conductivity = ReadCell(Concrete, 1, decimalSeparator);
    soil.Conductivity = ReadCell(Soil, 1, decimalSeparator);
    insulation.Conductivity = ReadCell(Insulation, 1, decimalSeparator);
    city.Temperature = ReadCell(City, 1, decimalSeparator);
    concrete.Permeability = ReadCell(Concrete, 2, decimalSeparator);
    insulation.Permeability = ReadCell(Insulation, 2, decimalSeparator);
    floor.VapourResistance = ReadCell(Floor, 1, decimalSeparator);
    city.VapourContent = ReadCell(City, 2, decimalSeparator);
    city.Column3 = ReadCell(City, 3, decimalSeparator);
    city.JulyVapourContent = ReadCell(City, 4, decimalSeparator);
    Input.City = city;
    Input.Concrete = concrete;
    Input.Insulation = insulation;
    Input.Soil = soil;
    Input.Floor = floor;
}

float TTableSet::ReadFloorHeatResistance(char decimalSeparator) const
{
    return ReadCell(5, 2, decimalSeparator);
}
