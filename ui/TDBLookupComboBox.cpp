#include "ui/TDBLookupComboBox.h"

#include <QAbstractItemView>
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QStringListModel>
#include <QStyleOptionComboBox>
#include <QStylePainter>

#include "data/TDataSource.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"

TDBLookupComboBox::TDBLookupComboBox(QWidget* parent)
    : QComboBox(parent), FList(new QStringListModel(this))
{
    setModel(FList);
    setEditable(false);
    setFocusPolicy(Qt::StrongFocus);
    setMaxVisibleItems(12);
    connect(this, &QComboBox::highlighted, this, &TDBLookupComboBox::OnHighlighted);
    connect(this, &QComboBox::activated, this, &TDBLookupComboBox::OnActivated);
}

void TDBLookupComboBox::SetListSource(TDataSource* Source, const QString& ListField)
{
    if (FSource && FSource->DataSet())
        disconnect(FSource->DataSet(), nullptr, this, nullptr);
    FSource = Source;
    FListField = ListField;
    if (TTable* table = Table())
        connect(table, &TTable::LayoutChanged, this, &TDBLookupComboBox::OnLayoutChanged);
}

TTable* TDBLookupComboBox::Table() const
{
    return FSource ? FSource->DataSet() : nullptr;
}

QString TDBLookupComboBox::ShownName() const
{
    return FShownName;
}

void TDBLookupComboBox::showPopup()
{
    TTable* table = Table();
    if (!table)
        return;
    const bool ready = Guarded([&] {
        if (FShownName.isEmpty() || !table->Locate(FListField, FShownName))
            table->First();
        // The list's view is made on first use: ten boxes exist from start-up.
        if (!FViewWatched) {
            view()->installEventFilter(this);
            view()->viewport()->installEventFilter(this);
            FViewWatched = true;
        }
        FFilling = true;
        FList->setStringList(table->ColumnValues(FListField));
        setCurrentIndex(table->RecNo());
        FFilling = false;
    });
    FFilling = false;
    FSearch.clear();
    if (ready)
        QComboBox::showPopup();
}

void TDBLookupComboBox::hidePopup()
{
    QComboBox::hidePopup();
    FHoverOnly = false;
}

void TDBLookupComboBox::OnHighlighted(int Row)
{
    if (FFilling || FHoverOnly || !Table())
        return;
    Guarded([&] { Table()->MoveTo(Row); });
}

void TDBLookupComboBox::OnActivated(int Row)
{
    const QStringList names = FList->stringList();
    if (Row < 0 || Row >= names.size())
        return;
    Guarded([&] {
        // The release or Enter lands on the highlighted row; make sure it is current
        // even if a hover highlight was not followed.
        if (Table() && Table()->RecNo() != Row)
            Table()->MoveTo(Row);
        PickName(names.at(Row));
    });
}

void TDBLookupComboBox::PickName(const QString& Name)
{
    if (Name == FShownName)
        return;
    TTable* table = Table();
    // Locate ends a pending edit first; a refused post leaves the box as it was.
    const bool found = table->Locate(FListField, Name);
    FShownName = found ? table->DisplayText(FListField) : QString();
    update();
}

void TDBLookupComboBox::PickCurrentRow()
{
    PickName(Table()->DisplayText(FListField));
}

void TDBLookupComboBox::StepRow(bool Down)
{
    TTable* table = Table();
    if (!FShownName.isEmpty() && table->Locate(FListField, FShownName)) {
        if (Down)
            table->Next();
        else
            table->Prior();
    } else {
        table->First();
    }
    if (!table->IsEmpty())
        PickCurrentRow();
}

void TDBLookupComboBox::SearchTyped(const QString& Text)
{
    if (!FSearchClock.isValid() || FSearchClock.elapsed() > QApplication::keyboardInputInterval())
        FSearch.clear();
    FSearchClock.restart();
    const QString wanted = FSearch + Text;
    // A key that finds nothing is dropped; the letters before it still count.
    if (Table()->Locate(FListField, wanted, TLocateOption::CaseInsensitive | TLocateOption::PartialKey)) {
        FSearch = wanted;
        PickCurrentRow();
    }
}

void TDBLookupComboBox::keyPressEvent(QKeyEvent* event)
{
    if (!Table()) {
        event->ignore();
        return;
    }
    const int key = event->key();
    const Qt::KeyboardModifiers mods = event->modifiers() & ~Qt::KeypadModifier;
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && mods == Qt::AltModifier) {
        showPopup();
        return;
    }
    if (key == Qt::Key_F4 && mods == Qt::NoModifier) {
        showPopup();
        return;
    }
    if ((key == Qt::Key_Up || key == Qt::Key_Down) && mods == Qt::NoModifier) {
        FSearch.clear();
        Guarded([&] { StepRow(key == Qt::Key_Down); });
        return;
    }
    const QString text = event->text();
    if (!text.isEmpty() && text.at(0).isPrint() && !(mods & (Qt::ControlModifier | Qt::AltModifier))) {
        Guarded([&] { SearchTyped(text); });
        return;
    }
    // Enter, Tab and the rest belong to the window (Enter may press its default button).
    event->ignore();
}

void TDBLookupComboBox::paintEvent(QPaintEvent*)
{
    // The box shows its own last pick, not whatever row the list model holds.
    QStylePainter painter(this);
    QStyleOptionComboBox option;
    initStyleOption(&option);
    option.currentText = PaintedText();
    option.currentIcon = QIcon();
    painter.drawComplexControl(QStyle::CC_ComboBox, option);
    painter.drawControl(QStyle::CE_ComboBoxLabel, option);
}

QString TDBLookupComboBox::PaintedText() const
{
    // A name longer than the field ends in an ellipsis rather than being cut mid-letter.
    QStyleOptionComboBox option;
    initStyleOption(&option);
    const QRect field = style()->subControlRect(QStyle::CC_ComboBox, &option, QStyle::SC_ComboBoxEditField, this);
    return fontMetrics().elidedText(FShownName, Qt::ElideRight, field.width() - 2);
}

void TDBLookupComboBox::wheelEvent(QWheelEvent* event)
{
    // Scrolling over a closed box would silently change the calculation's row.
    event->ignore();
}

void TDBLookupComboBox::focusOutEvent(QFocusEvent* event)
{
    FSearch.clear();
    QComboBox::focusOutEvent(event);
}

bool TDBLookupComboBox::eventFilter(QObject* watched, QEvent* event)
{
    if (FViewWatched && watched == view() && event->type() == QEvent::KeyPress)
        FHoverOnly = false;
    if (FViewWatched && watched == view()->viewport()) {
        // The list follows the pointer only while a button is held, as a drag does.
        if (event->type() == QEvent::MouseMove)
            FHoverOnly = static_cast<QMouseEvent*>(event)->buttons() == Qt::NoButton;
        else if (event->type() == QEvent::MouseButtonPress)
            FHoverOnly = false;
    }
    return QComboBox::eventFilter(watched, event);
}

void TDBLookupComboBox::OnLayoutChanged()
{
    if (FShownName.isEmpty())
        return;
    Guarded([&] { Table()->Locate(FListField, FShownName); });
}
