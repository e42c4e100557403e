// Shared by the window tests: a private home for the tables, and an answerer that
// records and answers every modal box so that no test can hang on one.
#pragma once

#include <QApplication>
#include <QDir>
#include <QAbstractButton>

#include <utility>
#include <QList>
#include <QLocale>
#include <QMessageBox>
#include <QPushButton>
#include <QSettings>
#include <QSqlDatabase>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QString>
#include <QStringList>
#include <QTemporaryDir>
#include <QTimer>
#include <QVariant>
#include <QWidget>

#include <linux/capability.h>
#include <sys/syscall.h>
#include <unistd.h>

#include "data/TAlias.h"
#include "support/PlainConnection.h"
#include "ui/ProgramFont.h"

namespace ViloTest {

// Points the alias "Vilo" at a fresh copy of the default tables in a temporary
// directory; nothing of the real user's settings or data is read or written.
class TTestHome {
public:
    TTestHome()
    {
        QCoreApplication::setOrganizationName(QStringLiteral("Vilo"));
        QCoreApplication::setApplicationName(QStringLiteral("vilo"));
        QSettings::setPath(QSettings::IniFormat, QSettings::UserScope, FDir.filePath(QStringLiteral("config")));
        qputenv("XDG_DATA_HOME", FDir.filePath(QStringLiteral("data")).toUtf8());
        TAlias::SeedDefaultTables(TablesDir());
        QSettings engine(QSettings::IniFormat, QSettings::UserScope, QStringLiteral("Vilo"), QStringLiteral("engine"));
        engine.setValue(QStringLiteral("Aliases/Vilo"), TablesDir());
        engine.sync();
    }
    QString TablesDir() const { return FDir.filePath(QStringLiteral("tables")); }
    QString TablePath(const QString& file) const { return QDir(TablesDir()).filePath(file); }

private:
    QTemporaryDir FDir;
};

struct TBoxSeen {
    QString Title;
    QString Text;
    QMessageBox::Icon Icon = QMessageBox::NoIcon;
};

// Answers each modal box as it opens: message boxes with the queued button (OK or the
// box's default when nothing is queued), other modal windows by closing them.
class TBoxAnswerer : public QObject {
public:
    TBoxAnswerer()
    {
        FTimer.setInterval(5);
        QObject::connect(&FTimer, &QTimer::timeout, [this] { Poll(); });
        FTimer.start();
    }
    // The next boxes are answered with these buttons, in order.
    void Queue(QMessageBox::StandardButton button) { FAnswers << button; }
    // Boxes seen since the last Take(), and forgets them.
    QList<TBoxSeen> Take() { return std::exchange(FSeen, {}); }
    QStringList TakeTexts()
    {
        QStringList texts;
        for (const TBoxSeen& box : Take())
            texts << box.Text;
        return texts;
    }

private:
    void Poll()
    {
        QWidget* modal = QApplication::activeModalWidget();
        // A box is answered once; a later box may reuse the same address.
        if (!modal || modal->property("viloAnswered").toBool())
            return;
        modal->setProperty("viloAnswered", true);
        if (auto* box = qobject_cast<QMessageBox*>(modal)) {
            FSeen << TBoxSeen{box->windowTitle(), box->text(), box->icon()};
            QMessageBox::StandardButton answer = FAnswers.isEmpty() ? QMessageBox::Ok : FAnswers.takeFirst();
            QAbstractButton* button = box->button(answer);
            if (!button)
                button = box->defaultButton() ? box->defaultButton() : box->buttons().value(0);
            QTimer::singleShot(0, button, [button] { button->click(); });
        } else {
            FSeen << TBoxSeen{modal->windowTitle(), QStringLiteral("<unexpected modal window>"), QMessageBox::NoIcon};
            QTimer::singleShot(0, modal, [modal] { modal->close(); });
        }
    }

    QTimer FTimer;
    QList<QMessageBox::StandardButton> FAnswers;
    QList<TBoxSeen> FSeen;
};

// As root, file modes would not hold: the capabilities that override them go for the
// whole of the calling test program (call it first in main).
inline void DropFileModeOverride()
{
    if (::geteuid() != 0)
        return;
    __user_cap_header_struct header{_LINUX_CAPABILITY_VERSION_3, 0};
    __user_cap_data_struct data[2]{};
    if (::syscall(SYS_capget, &header, data) != 0)
        qFatal("capget failed");
    const unsigned drop = (1u << CAP_DAC_OVERRIDE) | (1u << CAP_DAC_READ_SEARCH) | (1u << CAP_FOWNER);
    data[0].effective &= ~drop;
    data[0].permitted &= ~drop;
    data[0].inheritable &= ~drop;
    if (::syscall(SYS_capset, &header, data) != 0)
        qFatal("capset failed");
}

// The program's font, so that layouts are checked as the user sees them.
inline void UseProgramFont()
{
    QApplication::setFont(ProgramFont());
}

}  // namespace ViloTest
