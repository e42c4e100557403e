#include "ui/TDBNavigator.h"

#include <QAbstractButton>
#include <QFocusEvent>
#include <QKeyEvent>
#include <QPainter>
#include <QPainterPath>
#include <QStyleOptionButton>
#include <QStylePainter>

#include "data/TDataSource.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "ui/ConfirmDelete.h"

namespace {

const char* const ButtonNames[TDBNavigator::ButtonCount] = {"First",  "Prior", "Next", "Last",   "Insert",
                                                            "Delete", "Edit",  "Post", "Cancel", "Refresh"};

// One button of the bar: a raised panel with a glyph drawn in a 12 x 12 box.
class TNavigatorButton : public QAbstractButton {
public:
    TNavigatorButton(TDBNavigator::TButton Kind, TDBNavigator* Bar) : QAbstractButton(Bar), FKind(Kind), FBar(Bar)
    {
        setFocusPolicy(Qt::NoFocus);
    }
    // Set by the bar: this button carries the bar's keyboard focus mark.
    bool FocusMark = false;

protected:
    void paintEvent(QPaintEvent*) override
    {
        QStylePainter painter(this);
        QStyleOptionButton option;
        option.initFrom(this);
        option.state |= isDown() ? QStyle::State_Sunken : QStyle::State_Raised;
        painter.drawPrimitive(QStyle::PE_PanelButtonCommand, option);
        if (FocusMark && FBar->hasFocus()) {
            QStyleOptionFocusRect focus;
            focus.initFrom(this);
            focus.rect = rect().adjusted(3, 3, -3, -3);
            painter.drawPrimitive(QStyle::PE_FrameFocusRect, focus);
        }
        painter.setRenderHint(QPainter::Antialiasing);
        const int shift = isDown() ? 1 : 0;
        painter.translate((width() - 12) / 2 + shift, (height() - 12) / 2 + shift);
        DrawGlyph(painter);
    }

private:
    QColor GlyphColor(const QColor& enabledColor) const
    {
        return isEnabled() ? enabledColor : palette().color(QPalette::Disabled, QPalette::ButtonText);
    }

    void DrawGlyph(QPainter& p) const
    {
        const QColor ink = GlyphColor(palette().color(QPalette::Active, QPalette::ButtonText));
        auto fill = [&](const QPolygonF& shape, const QColor& color) {
            p.setPen(Qt::NoPen);
            p.setBrush(color);
            p.drawPolygon(shape);
        };
        auto stroke = [&](const QColor& color, qreal width) {
            QPen pen(color, width, Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin);
            p.setPen(pen);
            p.setBrush(Qt::NoBrush);
        };
        switch (FKind) {
        case TDBNavigator::First:
            fill(QPolygonF({QPointF(10, 1.5), QPointF(10, 10.5), QPointF(4.5, 6)}), ink);
            p.drawRect(QRectF(2, 1.5, 1.8, 9));
            break;
        case TDBNavigator::Prior:
            fill(QPolygonF({QPointF(8.5, 1.5), QPointF(8.5, 10.5), QPointF(3, 6)}), ink);
            break;
        case TDBNavigator::Next:
            fill(QPolygonF({QPointF(3.5, 1.5), QPointF(3.5, 10.5), QPointF(9, 6)}), ink);
            break;
        case TDBNavigator::Last:
            fill(QPolygonF({QPointF(2, 1.5), QPointF(2, 10.5), QPointF(7.5, 6)}), ink);
            p.drawRect(QRectF(8.2, 1.5, 1.8, 9));
            break;
        case TDBNavigator::Insert:
            fill(QPolygonF(QRectF(1.5, 5, 9, 2)), ink);
            p.drawRect(QRectF(5, 1.5, 2, 9));
            break;
        case TDBNavigator::Delete:
            fill(QPolygonF(QRectF(1.5, 5, 9, 2)), ink);
            break;
        case TDBNavigator::Edit: {
            // A pencil writing towards the lower left.
            fill(QPolygonF({QPointF(1.5, 10.5), QPointF(2.3, 7.4), QPointF(8, 1.7), QPointF(10.3, 4), QPointF(4.6, 9.7)}), ink);
            stroke(palette().color(QPalette::Button), 0.8);
            p.drawLine(QPointF(2.3, 7.4), QPointF(4.6, 9.7));
            break;
        }
        case TDBNavigator::Post:
            stroke(GlyphColor(QColor(0, 120, 0)), 2.0);
            p.drawPolyline(QPolygonF({QPointF(1.8, 6.2), QPointF(4.8, 9.3), QPointF(10.3, 2.5)}));
            break;
        case TDBNavigator::Cancel:
            stroke(GlyphColor(QColor(170, 0, 0)), 2.0);
            p.drawLine(QPointF(2.5, 2.5), QPointF(9.5, 9.5));
            p.drawLine(QPointF(9.5, 2.5), QPointF(2.5, 9.5));
            break;
        case TDBNavigator::Refresh: {
            stroke(ink, 1.6);
            QPainterPath arc;
            arc.arcMoveTo(QRectF(1.5, 1.5, 9, 9), 80);
            arc.arcTo(QRectF(1.5, 1.5, 9, 9), 80, 290);
            p.drawPath(arc);
            fill(QPolygonF({QPointF(5.2, -0.2), QPointF(9.2, 1.7), QPointF(5.6, 4.6)}), ink);
            break;
        }
        }
    }

    TDBNavigator::TButton FKind;
    TDBNavigator* FBar;
};

}  // namespace

TDBNavigator::TDBNavigator(QWidget* parent) : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    for (int i = 0; i < ButtonCount; ++i) {
        auto* button = new TNavigatorButton(TButton(i), this);
        button->setObjectName(QLatin1String(ButtonNames[i]));
        button->setToolTip(Hint(TButton(i)));
        button->setAccessibleName(Hint(TButton(i)));
        button->setEnabled(false);
        button->installEventFilter(this);
        connect(button, &QAbstractButton::clicked, this, [this, i] { Act(TButton(i)); });
        FButtons[i] = button;
    }
    SetFocusedButton(0);
}

QString TDBNavigator::Hint(TButton Kind)
{
    static const char* const hints[ButtonCount] = {"First record",  "Prior record",  "Next record", "Last record",
                                                   "Insert record", "Delete record", "Edit record", "Post edit",
                                                   "Cancel edit",   "Refresh data"};
    return QLatin1String(hints[Kind]);
}

void TDBNavigator::SetDataSource(TDataSource* Source)
{
    if (TTable* old = Table())
        disconnect(old, nullptr, this, nullptr);
    FSource = Source;
    if (TTable* table = Table()) {
        connect(table, &TTable::CurrentRowChanged, this, &TDBNavigator::UpdateButtons);
        connect(table, &TTable::StateChanged, this, &TDBNavigator::UpdateButtons);
        connect(table, &TTable::Reset, this, &TDBNavigator::UpdateButtons);
        connect(table, &TTable::RowsInserted, this, &TDBNavigator::UpdateButtons);
        connect(table, &TTable::RowsRemoved, this, &TDBNavigator::UpdateButtons);
    }
    UpdateButtons();
}

TTable* TDBNavigator::Table() const
{
    return FSource ? FSource->DataSet() : nullptr;
}

QAbstractButton* TDBNavigator::Button(TButton Kind) const
{
    return FButtons.at(Kind);
}

void TDBNavigator::Click(TButton Kind)
{
    if (Button(Kind)->isEnabled())
        Button(Kind)->click();
}

void TDBNavigator::UpdateButtons()
{
    const TTable* table = Table();
    const bool active = table && table->Active();
    const bool canModify = active && table->CanModify();
    const bool browsing = active && table->State() == TDataSetState::Browse;
    const bool atBeginning = !active || table->Bof();
    const bool atEnd = !active || table->Eof();
    const bool enabled[ButtonCount] = {
        !atBeginning, !atBeginning, !atEnd, !atEnd,
        canModify,                             // Insert
        canModify && !table->IsEmpty(),        // Delete
        canModify && browsing,                 // Edit (inserts in an empty table)
        canModify && !browsing,                // Post
        canModify && !browsing,                // Cancel
        canModify,                             // Refresh
    };
    for (int i = 0; i < ButtonCount; ++i)
        FButtons[i]->setEnabled(enabled[i]);
}

void TDBNavigator::Act(TButton Kind)
{
    Guarded([&] {
        TTable* table = Table();
        if (!table)
            return;
        switch (Kind) {
        case First:
            table->First();
            break;
        case Prior:
            table->Prior();
            break;
        case Next:
            table->Next();
            break;
        case Last:
            table->Last();
            break;
        case Insert:
            table->Insert();
            break;
        case Delete:
            if (ConfirmDeleteRecord(window()))
                table->Delete();
            break;
        case Edit:
            table->Edit();
            break;
        case Post:
            table->Post();
            break;
        case Cancel:
            table->Cancel();
            break;
        case Refresh:
            table->Refresh();
            break;
        }
    });
}

void TDBNavigator::SetFocusedButton(int Index)
{
    FFocusedButton = qBound(0, Index, ButtonCount - 1);
    for (int i = 0; i < ButtonCount; ++i) {
        static_cast<TNavigatorButton*>(FButtons[i])->FocusMark = i == FFocusedButton;
        FButtons[i]->update();
    }
}

void TDBNavigator::keyPressEvent(QKeyEvent* event)
{
    switch (event->key()) {
    case Qt::Key_Left:
        SetFocusedButton(FFocusedButton - 1);
        break;
    case Qt::Key_Right:
        SetFocusedButton(FFocusedButton + 1);
        break;
    case Qt::Key_Space:
        Click(TButton(FFocusedButton));
        break;
    default:
        QWidget::keyPressEvent(event);
    }
}

void TDBNavigator::focusInEvent(QFocusEvent* event)
{
    SetFocusedButton(FFocusedButton);
    QWidget::focusInEvent(event);
}

void TDBNavigator::focusOutEvent(QFocusEvent* event)
{
    SetFocusedButton(FFocusedButton);
    QWidget::focusOutEvent(event);
}

void TDBNavigator::resizeEvent(QResizeEvent*)
{
    // Ten equal buttons across the bar (24 pixels each on a 240-pixel bar).
    for (int i = 0; i < ButtonCount; ++i) {
        const int left = i * width() / ButtonCount;
        const int right = (i + 1) * width() / ButtonCount;
        FButtons[i]->setGeometry(left, 0, right - left, height());
    }
}

bool TDBNavigator::eventFilter(QObject* watched, QEvent* event)
{
    // A click on a button focuses the bar, as a tab stop of its own.
    if (event->type() == QEvent::MouseButtonPress) {
        for (int i = 0; i < ButtonCount; ++i) {
            if (watched == FButtons[i] && FButtons[i]->isEnabled()) {
                setFocus(Qt::MouseFocusReason);
                SetFocusedButton(i);
            }
        }
    }
    return QWidget::eventFilter(watched, event);
}
