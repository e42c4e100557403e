// A lookup box over one table's name column. It keeps only the name last picked
// in it; every pick, search or scroll moves the table's shared current row.
#pragma once

#include <QComboBox>
#include <QElapsedTimer>
#include <QPointer>
#include <QString>

class QStringListModel;
class TDataSource;
class TTable;

class TDBLookupComboBox : public QComboBox {
    Q_OBJECT
public:
    // An unbound, empty box.
    explicit TDBLookupComboBox(QWidget* parent = nullptr);

    // Binds the box to Source's table; ListField is both its key and its list column.
    void SetListSource(TDataSource* Source, const QString& ListField);
    // The bound table, or null before binding.
    TTable* Table() const;
    // The name the box shows (the last pick), empty when it shows nothing.
    QString ShownName() const;
    // The text the closed box paints: the shown name, elided to fit its field.
    QString PaintedText() const;

    // Opening the list first makes the shown name's row current (else the first row).
    void showPopup() override;
    void hidePopup() override;

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;
    void wheelEvent(QWheelEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PickName(const QString& Name);
    void PickCurrentRow();
    void StepRow(bool Down);
    void SearchTyped(const QString& Text);
    void OnHighlighted(int Row);
    void OnActivated(int Row);
    void OnLayoutChanged();

    QPointer<TDataSource> FSource;
    QString FListField;
    QString FShownName;
    QStringListModel* FList;
    QString FSearch;              // letters typed so far in the closed box
    QElapsedTimer FSearchClock;   // a pause starts a new search
    bool FFilling = false;        // the list is being filled, highlights are not moves
    bool FHoverOnly = false;      // the highlight follows a pointer with no button held
    bool FViewWatched = false;
};
