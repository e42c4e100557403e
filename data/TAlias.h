// Where the database alias points: the engine's own settings, else the user's data
// directory, which is filled with the default tables the first time it is needed.
#pragma once

#include <QString>
#include <QStringList>

class TAlias {
public:
    // The only alias the program uses.
    static constexpr const char* DefaultAliasName = "Vilo";

    // The directory behind AliasName. Reads "Aliases/<AliasName>" from the engine's INI
    // settings (organisation "Vilo", application "engine", user scope); without that key
    // "Vilo" stands for AppDataLocation + "/tables", seeded on first use. Throws
    // TDatabaseError for an unknown alias or a seeding failure. Never checks the files.
    static QString Directory(const QString& AliasName = DefaultAliasName);

    // Path of the engine's settings file that holds the aliases (may not exist yet).
    static QString SettingsFilePath();

    // Creates Directory with the ten default tables, atomically (temporary directory
    // beside it, then rename). Does nothing when Directory exists. Throws TDatabaseError.
    static void SeedDefaultTables(const QString& Directory);

    // The ten file names of the default tables, in the order they are seeded.
    static QStringList DefaultFileNames();
};
