// Turns SIGTERM (a logout or a shutdown asking the program to end) into a Qt signal on
// the user-interface thread, so that the program ends as its Exit button ends it.
#pragma once

#include <QObject>

class QSocketNotifier;

class TTerminationSignal : public QObject {
    Q_OBJECT
public:
    // Installs the SIGTERM handler; one object per program.
    explicit TTerminationSignal(QObject* parent = nullptr);
    // Restores the default handling of SIGTERM.
    ~TTerminationSignal() override;

signals:
    // SIGTERM arrived; emitted from the event loop.
    void Received();

private:
    void Drain();

    QSocketNotifier* FNotifier = nullptr;
};
