// Ends the process at the first paint of a named top-level window: what the user
// waits for at start-up, measured from outside by the process's lifetime.
#pragma once

#include <QEvent>
#include <QObject>
#include <QWidget>

#include <unistd.h>

class TFirstPaintExit : public QObject {
public:
    explicit TFirstPaintExit(QString windowName) : FName(std::move(windowName)) {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Paint && watched->objectName() == FName)
            _exit(0);  // no teardown: only the time to the first paint counts
        return false;
    }

private:
    QString FName;
};
