#include "ui/TDBGrid.h"

#include <QApplication>
#include <QFocusEvent>
#include <QHeaderView>
#include <QItemSelectionModel>
#include <QKeyEvent>
#include <QLineEdit>
#include <QMouseEvent>
#include <QPainter>
#include <QStyleOptionHeader>
#include <QStyledItemDelegate>
#include <QTimer>

#include <algorithm>
#include <utility>
#include <vector>

#include "data/TDataSource.h"
#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableModel.h"
#include "ui/ConfirmDelete.h"

namespace {

constexpr int IndicatorWidth = 14;
constexpr int MinColumnWidth = 36;
constexpr int MaxColumnWidth = 220;
constexpr int RowsMeasured = 64;  // enough rows to size a column by its contents

// The row marks at the left: a triangle on the current row, an I-beam while it is
// being edited, an asterisk while it is a new row.
class TIndicatorHeader : public QHeaderView {
public:
    explicit TIndicatorHeader(QWidget* parent) : QHeaderView(Qt::Vertical, parent) {}

protected:
    void paintSection(QPainter* painter, const QRect& rect, int logicalIndex) const override
    {
        painter->save();
        QStyleOptionHeader option;
        option.initFrom(this);
        option.rect = rect;
        option.section = logicalIndex;
        option.orientation = Qt::Vertical;
        option.position = QStyleOptionHeader::Middle;
        style()->drawControl(QStyle::CE_HeaderSection, &option, painter, this);
        const int indicator = model() ? model()->headerData(logicalIndex, Qt::Vertical, TTableModel::IndicatorRole).toInt()
                                      : int(TTableModel::NoIndicator);
        painter->setRenderHint(QPainter::Antialiasing);
        const QPointF c = QRectF(rect).center();
        const QColor ink = palette().color(QPalette::WindowText);
        switch (indicator) {
        case TTableModel::BrowseIndicator:
            painter->setPen(Qt::NoPen);
            painter->setBrush(ink);
            painter->drawPolygon(QPolygonF({c + QPointF(-2.5, -4), c + QPointF(-2.5, 4), c + QPointF(2.5, 0)}));
            break;
        case TTableModel::EditIndicator:
            painter->setPen(QPen(ink, 1.2));
            painter->drawLine(c + QPointF(0, -4), c + QPointF(0, 4));
            painter->drawLine(c + QPointF(-2, -4.5), c + QPointF(2, -4.5));
            painter->drawLine(c + QPointF(-2, 4.5), c + QPointF(2, 4.5));
            break;
        case TTableModel::InsertIndicator:
            painter->setPen(QPen(ink, 1.3));
            painter->drawLine(c + QPointF(0, -4), c + QPointF(0, 4));
            painter->drawLine(c + QPointF(-3.5, -2), c + QPointF(3.5, 2));
            painter->drawLine(c + QPointF(-3.5, 2), c + QPointF(3.5, -2));
            break;
        default:
            break;
        }
        painter->restore();
    }
};

bool WithinRange(int value, int first, int last)
{
    return value >= first && value <= last;
}

}  // namespace

// Makes the cell editors and hands their keys and focus changes to the grid, which
// decides when a typed text is stored.
class TDBGridDelegate : public QStyledItemDelegate {
public:
    explicit TDBGridDelegate(TDBGrid* Grid) : QStyledItemDelegate(Grid), FGrid(Grid) {}

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem&, const QModelIndex& index) const override
    {
        auto* editor = new QLineEdit(parent);
        editor->setFrame(false);
        editor->setAlignment(Qt::Alignment(index.data(Qt::TextAlignmentRole).toInt()));
        FGrid->EditorCreated(editor, index);
        return editor;
    }
    void setModelData(QWidget*, QAbstractItemModel*, const QModelIndex&) const override {}

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        auto* editor = qobject_cast<QLineEdit*>(watched);
        return editor ? FGrid->EditorEvent(editor, event) : false;
    }

private:
    TDBGrid* FGrid;
};

TDBGrid::TDBGrid(QWidget* parent) : QTableView(parent)
{
    setVerticalHeader(new TIndicatorHeader(this));
    setItemDelegate(new TDBGridDelegate(this));
    setSelectionBehavior(QAbstractItemView::SelectItems);
    setSelectionMode(QAbstractItemView::SingleSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);  // the grid opens its editors itself
    setTabKeyNavigation(true);
    setCornerButtonEnabled(false);
    setWordWrap(false);
    setShowGrid(true);
    QHeaderView* titles = horizontalHeader();
    titles->setSectionsMovable(true);
    titles->setSectionsClickable(false);
    titles->setHighlightSections(false);
    titles->setMinimumSectionSize(8);
    QHeaderView* marks = verticalHeader();
    marks->setSectionsClickable(false);
    marks->setSectionResizeMode(QHeaderView::Fixed);
    marks->setDefaultSectionSize(fontMetrics().height() + 5);
    marks->setFixedWidth(IndicatorWidth);
    marks->viewport()->installEventFilter(this);
    connect(titles, &QHeaderView::sectionMoved, this, &TDBGrid::OnSectionMoved);
    connect(titles, &QHeaderView::sectionResized, this, &TDBGrid::OnSectionResized);
}

void TDBGrid::SetDataSource(TDataSource* Source)
{
    HideEditor();
    if (TTable* old = Table())
        disconnect(old, nullptr, this, nullptr);
    FSource = Source;
    delete FModel;
    FModel = nullptr;
    // Ten grids exist from start-up, hidden; laying out their headers and columns is
    // left until a grid is first shown (or its model is asked for), which costs the
    // chooser's first paint nothing. The table keeps the current row meanwhile.
    if (isVisible())
        Bind();
}

void TDBGrid::Bind()
{
    if (FModel || !FSource)
        return;
    FModel = new TTableModel(FSource->DataSet(), this);
    // Connected before the view's own slots, so that an open editor is closed by the
    // grid before the view would drop it.
    connect(FModel, &QAbstractItemModel::modelAboutToBeReset, this, [this] {
        HideEditor();
        ++FModelChanging;
    });
    connect(FModel, &QAbstractItemModel::modelReset, this, [this] { --FModelChanging; });
    connect(FModel, &QAbstractItemModel::rowsAboutToBeRemoved, this, [this](const QModelIndex&, int first, int last) {
        if (FEditorIndex.isValid() && WithinRange(FEditorIndex.row(), first, last))
            HideEditor();
        ++FModelChanging;
    });
    connect(FModel, &QAbstractItemModel::rowsRemoved, this, [this] { --FModelChanging; });
    connect(FModel, &QAbstractItemModel::rowsAboutToBeInserted, this, [this] { ++FModelChanging; });
    connect(FModel, &QAbstractItemModel::rowsInserted, this, [this] { --FModelChanging; });
    connect(FModel, &QAbstractItemModel::columnsAboutToBeMoved, this, [this] { ++FModelChanging; });
    connect(FModel, &QAbstractItemModel::columnsMoved, this, [this] { --FModelChanging; });
    setModel(FModel);
    connect(FModel, &TTableModel::ErrorOccurred, this, [](const QString& message) { ReportError(message); });

    TTable* table = FSource->DataSet();
    connect(table, &TTable::CurrentRowChanged, this, &TDBGrid::FollowCurrentRow);
    connect(table, &TTable::Reset, this, [this] {
        FitColumns();
        FollowCurrentRow();
    });
    connect(table, &TTable::RowsInserted, this, &TDBGrid::FollowCurrentRow);
    connect(table, &TTable::RowsRemoved, this, &TDBGrid::FollowCurrentRow);
    FitColumns();
    FollowCurrentRow();
}

TTable* TDBGrid::Table() const
{
    return FSource ? FSource->DataSet() : nullptr;
}

TTableModel* TDBGrid::TableModel()
{
    Bind();
    return FModel;
}

void TDBGrid::showEvent(QShowEvent* event)
{
    Bind();
    QTableView::showEvent(event);
}

// --- the selected cell --------------------------------------------------------------

int TDBGrid::SelectedIndex() const
{
    const int count = Table() ? Table()->FieldCount() : 0;
    const QModelIndex current = currentIndex();
    const int column = current.isValid() ? current.column() : FColumn;
    return std::clamp(column, 0, std::max(0, count - 1));
}

void TDBGrid::SetSelectedIndex(int Position)
{
    TTable* table = Table();
    const int count = table ? table->FieldCount() : 0;
    FColumn = std::clamp(Position, 0, std::max(0, count - 1));
    if (!table || table->RecNo() < 0 || count == 0)
        return;
    const QModelIndex target = FModel->index(table->RecNo(), FColumn);
    FSyncing = true;
    selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
    FSyncing = false;
    scrollTo(target);
}

void TDBGrid::FollowCurrentRow()
{
    TTable* table = Table();
    if (!table || !FModel)
        return;
    const int row = table->RecNo();
    // An editor belongs to its row: a move made elsewhere closes it.
    if (Editing() && FEditorIndex.row() != row)
        HideEditor();
    if (row < 0 || table->FieldCount() == 0) {
        FSyncing = true;
        selectionModel()->clear();
        FSyncing = false;
        return;
    }
    const QModelIndex target = FModel->index(row, SelectedIndex());
    if (currentIndex() != target) {
        FSyncing = true;
        // The highlight follows moves made anywhere, also while the window is hidden.
        selectionModel()->setCurrentIndex(target, QItemSelectionModel::ClearAndSelect);
        FSyncing = false;
    }
    scrollTo(target);
}

void TDBGrid::currentChanged(const QModelIndex& current, const QModelIndex& previous)
{
    QTableView::currentChanged(current, previous);
    TTable* table = Table();
    if (FSyncing || FModelChanging > 0 || !current.isValid() || !table)
        return;
    if (current.row() == table->RecNo()) {
        FColumn = current.column();
        return;
    }
    // A move the view made on its own: the table's current row follows.
    GoToRow(current.row());
}

// --- the cell editor ------------------------------------------------------------------

bool TDBGrid::Editing() const
{
    return FEditor && FEditorIndex.isValid();
}

QLineEdit* TDBGrid::CellEditor() const
{
    return Editing() ? FEditor.data() : nullptr;
}

void TDBGrid::ShowEditor()
{
    TTable* table = Table();
    if (!table || !table->Active() || !table->CanModify() || Editing() || table->FieldCount() == 0)
        return;
    // In an empty table the editor starts a new row, as Edit does there.
    if (table->RecNo() < 0 && !Guarded([&] { table->Edit(); }))
        return;
    const QModelIndex target = FModel->index(table->RecNo(), SelectedIndex());
    if (!target.isValid() || !(FModel->flags(target) & Qt::ItemIsEditable))
        return;
    if (currentIndex() != target)
        SetSelectedIndex(target.column());
    scrollTo(target);
    edit(target, QAbstractItemView::AllEditTriggers, nullptr);
}

void TDBGrid::EditorCreated(QLineEdit* Editor, const QModelIndex& Index)
{
    FEditor = Editor;
    FEditorIndex = Index;
    connect(Editor, &QLineEdit::textEdited, this, [this] {
        // The first change puts a browsed row into editing.
        TTable* table = Table();
        if (table && table->State() == TDataSetState::Browse)
            Guarded([&] { table->Edit(); });
    });
    // A press anywhere else in the window first stores the typed text.
    qApp->installEventFilter(this);
}

void TDBGrid::StoreEditorText()
{
    TTable* table = Table();
    if (!Editing() || !table || FStoring)
        return;
    const int row = FEditorIndex.row();
    const int column = FEditorIndex.column();
    const QString text = FEditor->text();
    if (row != table->RecNo() || text == table->CellText(row, column))
        return;
    FStoring = true;
    try {
        table->SetFieldText(column, text);
    } catch (...) {
        FStoring = false;
        throw;
    }
    FStoring = false;
}

bool TDBGrid::StoreEditorReporting()
{
    if (!Editing())
        return true;
    const bool wasActive = window()->isActiveWindow();
    if (Guarded([this] { StoreEditorText(); }))
        return true;
    // The typed text stays for correction, and the focus with it.
    if (wasActive && !window()->isActiveWindow())
        window()->activateWindow();
    if (FEditor) {
        FEditor->setFocus();
        FEditor->selectAll();
    }
    return false;
}

void TDBGrid::HideEditor()
{
    QLineEdit* editor = FEditor.data();
    const QPersistentModelIndex index = FEditorIndex;
    FEditor = nullptr;
    FEditorIndex = QPersistentModelIndex();
    if (!editor)
        return;
    qApp->removeEventFilter(this);
    const bool wasWindowFocus = window()->focusWidget() == editor;
    if (index.isValid())
        closeEditor(editor, QAbstractItemDelegate::NoHint);
    if (wasWindowFocus && !hasFocus())
        setFocus();  // in an inactive window this only marks where the focus returns
}

void TDBGrid::commitData(QWidget*) {}

bool TDBGrid::EditorEvent(QLineEdit* Editor, QEvent* Event)
{
    if (Editor != FEditor)
        return false;
    switch (Event->type()) {
    case QEvent::KeyPress:
        return HandleKey(static_cast<QKeyEvent*>(Event), true);
    case QEvent::FocusOut:
        FocusLeft(static_cast<QFocusEvent*>(Event));
        return false;
    default:
        return false;
    }
}

// --- keys -------------------------------------------------------------------------------

bool TDBGrid::HandleKey(QKeyEvent* Event, bool InEditor)
{
    TTable* table = Table();
    if (!table || !table->Active())
        return false;
    const int key = Event->key();
    const Qt::KeyboardModifiers mods = Event->modifiers() & ~Qt::KeypadModifier;
    const bool plain = mods == Qt::NoModifier;
    const bool ctrl = mods == Qt::ControlModifier;
    // A key that leaves the cell stores its typed text first; a refusal keeps the cell.
    auto leaveCell = [this] {
        if (!StoreEditorReporting())
            return false;
        HideEditor();
        return true;
    };

    switch (key) {
    case Qt::Key_Up:
    case Qt::Key_Down:
        if (!plain)
            return false;
        if (leaveCell())
            Guarded([&] { key == Qt::Key_Up ? PriorRow() : NextRow(true); });
        return true;
    case Qt::Key_PageUp:
    case Qt::Key_PageDown:
        if (!plain)
            return false;
        if (leaveCell())
            Guarded([&] { table->MoveBy(key == Qt::Key_PageUp ? -PageRows() : PageRows()); });
        return true;
    case Qt::Key_Home:
    case Qt::Key_End:
        if (ctrl) {
            if (leaveCell())
                Guarded([&] { key == Qt::Key_Home ? table->First() : table->Last(); });
            return true;
        }
        if (!plain || InEditor)
            return false;  // in an open cell they move the text cursor
        SetSelectedIndex(key == Qt::Key_Home ? 0 : table->FieldCount() - 1);
        return true;
    case Qt::Key_Left:
    case Qt::Key_Right: {
        if (!plain)
            return false;
        if (InEditor) {
            // The text cursor moves until it stands at the edge of the text.
            const bool atEdge = !FEditor->hasSelectedText() &&
                                (key == Qt::Key_Left ? FEditor->cursorPosition() == 0
                                                     : FEditor->cursorPosition() == FEditor->text().size());
            if (!atEdge)
                return false;
        }
        if (!leaveCell())
            return true;
        SetSelectedIndex(SelectedIndex() + (key == Qt::Key_Left ? -1 : 1));
        if (InEditor)
            ShowEditor();
        return true;
    }
    case Qt::Key_Tab:
    case Qt::Key_Backtab: {
        const bool backward = key == Qt::Key_Backtab || mods.testFlag(Qt::ShiftModifier);
        if (mods.testFlag(Qt::ControlModifier)) {
            // Ctrl+Tab leaves the grid, which takes plain Tab for its cells.
            if (leaveCell())
                QWidget::focusNextPrevChild(!backward);
            return true;
        }
        if ((mods & ~Qt::ShiftModifier) != Qt::NoModifier)
            return false;
        TabToCell(!backward);
        return true;
    }
    case Qt::Key_Escape:
        if (!plain)
            return false;
        EscapeKey(InEditor);
        return true;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        if (!plain)
            return false;
        if (InEditor)
            leaveCell();
        else
            ShowEditor();
        return true;
    case Qt::Key_F2:
        if (!plain)
            return false;
        if (!InEditor)
            ShowEditor();
        return true;
    case Qt::Key_Insert:
        if (!plain)
            return false;
        if (table->CanModify() && leaveCell())
            Guarded([&] { table->Insert(); });
        return true;
    case Qt::Key_Delete:
        if (!ctrl)
            return false;
        ConfirmAndDelete();
        return true;
    default:
        break;
    }
    const QString text = Event->text();
    if (!InEditor && (mods & ~Qt::ShiftModifier) == Qt::NoModifier && !text.isEmpty() && text.at(0).isPrint()) {
        // Typing opens the cell with the typed text in place of the old.
        if (!Editing()) {
            ShowEditor();
            if (Editing())
                FEditor->selectAll();
        }
        if (Editing())
            QCoreApplication::sendEvent(FEditor, Event);
        return true;
    }
    return false;
}

void TDBGrid::keyPressEvent(QKeyEvent* event)
{
    if (HandleKey(event, false))
        return;
    if (event->matches(QKeySequence::Copy)) {
        QTableView::keyPressEvent(event);
        return;
    }
    event->ignore();
}

void TDBGrid::PriorRow()
{
    TTable* table = Table();
    // A new row at the end that was never changed is dropped again.
    if (table->State() == TDataSetState::Insert && !table->Modified() && table->Eof())
        table->Cancel();
    else
        table->MoveBy(-1);
}

void TDBGrid::NextRow(bool Appending)
{
    TTable* table = Table();
    if (table->State() == TDataSetState::Insert && !table->Modified()) {
        // An unchanged new row is dropped, except at the end, where there is nothing below.
        if (!table->Eof())
            table->Cancel();
        return;
    }
    if (table->MoveBy(1) == 0 && Appending && table->CanModify())
        table->Append();
}

int TDBGrid::PageRows() const
{
    const int rowHeight = std::max(1, verticalHeader()->defaultSectionSize());
    return std::max(1, viewport()->height() / rowHeight);
}

void TDBGrid::TabToCell(bool Forward)
{
    TTable* table = Table();
    const bool wasEditing = Editing();
    if (!StoreEditorReporting())
        return;
    HideEditor();
    const int count = table->FieldCount();
    const int column = SelectedIndex();
    if (Forward && column < count - 1) {
        SetSelectedIndex(column + 1);
    } else if (!Forward && column > 0) {
        SetSelectedIndex(column - 1);
    } else {
        // Past the last column to the next row's first, before the first to the previous row's last.
        const int row = table->RecNo();
        const int rows = table->RecordCount();
        if (!Guarded([&] { Forward ? NextRow(true) : PriorRow(); }))
            return;
        if (table->RecNo() != row || table->RecordCount() != rows)
            SetSelectedIndex(Forward ? 0 : count - 1);
    }
    if (wasEditing)
        ShowEditor();
}

void TDBGrid::EscapeKey(bool InEditor)
{
    TTable* table = Table();
    if (InEditor && Editing()) {
        // First the typing in the cell is undone; with none, the row's changes go.
        const QString stored = table->CellText(FEditorIndex.row(), FEditorIndex.column());
        if (FEditor->text() != stored) {
            FEditor->setText(stored);
            FEditor->selectAll();
            return;
        }
        HideEditor();
    }
    if (table->State() != TDataSetState::Browse)
        Guarded([&] { table->Cancel(); });
}

void TDBGrid::ConfirmAndDelete()
{
    TTable* table = Table();
    if (!table->CanModify() || table->IsEmpty())
        return;
    if (!ConfirmDeleteRecord(window()))
        return;
    HideEditor();
    Guarded([&] { table->Delete(); });
}

void TDBGrid::GoToRow(int Row)
{
    TTable* table = Table();
    if (!StoreEditorReporting()) {
        FollowCurrentRow();
        return;
    }
    HideEditor();
    // A refused post keeps the row where it was; the highlight goes back to it.
    Guarded([&] { table->MoveTo(Row); });
    FollowCurrentRow();
}

// --- mouse and focus ------------------------------------------------------------------------

void TDBGrid::mousePressEvent(QMouseEvent* event)
{
    const bool focusJustCame = std::exchange(FFocusByClick, false);
    TTable* table = Table();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || !table)
        return;
    // A click on the current cell of a grid that already had the focus opens it.
    const bool onCurrentCell = !focusJustCame && index.row() == table->RecNo() && index.column() == SelectedIndex();
    if (Editing()) {
        if (index == QModelIndex(FEditorIndex))
            return;
        if (!StoreEditorReporting())
            return;
        HideEditor();
    }
    if (index.row() != table->RecNo()) {
        const int rows = table->RecordCount();
        const int before = table->RecNo();
        GoToRow(index.row());
        if (table->RecNo() == before && table->RecordCount() == rows)
            return;  // the move was refused
    }
    SetSelectedIndex(index.column());
    if (onCurrentCell)
        ShowEditor();
}

void TDBGrid::mouseMoveEvent(QMouseEvent* event)
{
    // Dragging over the cells selects nothing: the current row moves only by a click.
    if (event->buttons() != Qt::NoButton)
        return;
    QTableView::mouseMoveEvent(event);
}

void TDBGrid::mouseDoubleClickEvent(QMouseEvent* event)
{
    TTable* table = Table();
    const QModelIndex index = indexAt(event->position().toPoint());
    if (event->button() != Qt::LeftButton || !index.isValid() || !table)
        return;
    if (!Editing() && index.row() == table->RecNo() && index.column() == SelectedIndex())
        ShowEditor();
}

void TDBGrid::focusInEvent(QFocusEvent* event)
{
    FFocusByClick = event->reason() == Qt::MouseFocusReason;
    QTableView::focusInEvent(event);
}

void TDBGrid::focusOutEvent(QFocusEvent* event)
{
    FFocusByClick = false;
    QTableView::focusOutEvent(event);
    FocusLeft(event);
}

void TDBGrid::FocusLeft(QFocusEvent* Event)
{
    TTable* table = Table();
    if (!table || !table->Active() || Event->reason() == Qt::PopupFocusReason)
        return;
    QWidget* now = QApplication::focusWidget();
    if (now && (now == this || isAncestorOf(now)))
        return;
    if (Event->reason() == Qt::ActiveWindowFocusReason || !now || now->window() != window()) {
        // Another window: the cell stays open; what the column can take is in the
        // row already, for a calculation made meanwhile.
        if (Editing()) {
            try {
                StoreEditorText();
            } catch (...) {
            }
        }
        return;
    }
    if (Editing()) {
        try {
            StoreEditorText();
        } catch (...) {
            // The focus comes back to the cell, and the press that took it away (the
            // toolkit moves the focus before it delivers the press) is not made.
            const QString message = CurrentExceptionMessage();
            FSwallowPress = true;
            QTimer::singleShot(0, this, [this, message] {
                FSwallowPress = false;
                const bool wasActive = window()->isActiveWindow();
                ReportError(message);
                if (wasActive && !window()->isActiveWindow())
                    window()->activateWindow();
                if (FEditor)
                    FEditor->setFocus();
            });
            return;
        }
        HideEditor();
    }
    if (table->State() == TDataSetState::Insert && !table->Modified())
        Guarded([&] { table->Cancel(); });
}

bool TDBGrid::eventFilter(QObject* watched, QEvent* event)
{
    const QEvent::Type type = event->type();
    const bool press = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonDblClick;
    if (watched == verticalHeader()->viewport()) {
        // A click on a row mark makes that row current, keeping the selected column.
        if (press) {
            const auto* mouse = static_cast<QMouseEvent*>(event);
            const int row = verticalHeader()->logicalIndexAt(mouse->position().toPoint());
            if (mouse->button() == Qt::LeftButton && row >= 0 && Table()) {
                if (!hasFocus() && !Editing())
                    setFocus(Qt::MouseFocusReason);
                FFocusByClick = false;
                if (row != Table()->RecNo())
                    GoToRow(row);
            }
            return true;
        }
        if (type == QEvent::MouseMove)
            return true;
    }
    if (press && (Editing() || FSwallowPress)) {
        // A press elsewhere in this window first stores the typed text; a refusal
        // swallows the press and the focus stays in the cell.
        auto* widget = qobject_cast<QWidget*>(watched);
        if (widget && widget->window() == window() && widget != this && !isAncestorOf(widget) &&
            (FSwallowPress || !StoreEditorReporting()))
            return true;
    }
    return QTableView::eventFilter(watched, event);
}

// --- columns -----------------------------------------------------------------------------

void TDBGrid::OnSectionMoved(int, int OldVisualIndex, int NewVisualIndex)
{
    // The table owns the column order: undo the header's own move, move the
    // table's column and show the table's order again.
    QHeaderView* header = horizontalHeader();
    header->blockSignals(true);
    header->moveSection(NewVisualIndex, OldVisualIndex);
    header->blockSignals(false);
    Guarded([&] { Table()->MoveField(OldVisualIndex, NewVisualIndex); });
}

void TDBGrid::OnSectionResized(int LogicalIndex, int, int NewSize)
{
    TTable* table = Table();
    if (FFittingColumns || FModelChanging > 0 || !table)
        return;
    FWidths.insert(table->FieldName(LogicalIndex), NewSize);
    if (Editing()) {
        try {
            StoreEditorText();
        } catch (...) {
        }
    }
    // A width change is a layout change: the lookup boxes of the table look again.
    Guarded([&] { table->NotifyLayoutChanged(); });
}

void TDBGrid::FitColumns()
{
    TTable* table = Table();
    if (!table)
        return;
    // Each column wide enough for its title and its texts (up to a limit); the first
    // column, the name, leaves room for the whole of the second, so that no number
    // stands cut at the grid's edge. A width the user set stays.
    const QFontMetrics titleMetrics(horizontalHeader()->font());
    const QFontMetrics cellMetrics(font());
    auto fitted = [&](int position, int textLimit) {
        const QString name = table->FieldName(position);
        if (FWidths.contains(name))
            return FWidths.value(name);
        int textWidth = 0;
        const int rows = std::min(table->RecordCount(), RowsMeasured);
        for (int row = 0; row < rows; ++row)
            textWidth = std::max(textWidth, cellMetrics.horizontalAdvance(table->CellText(row, position)) + 10);
        return std::max({titleMetrics.horizontalAdvance(name) + 12, std::min(textWidth, textLimit), MinColumnWidth});
    };
    const int visibleWidth = width() - IndicatorWidth - 2 * frameWidth() - style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    std::vector<int> widths;
    for (int position = 0; position < table->FieldCount(); ++position)
        widths.push_back(fitted(position, MaxColumnWidth));
    if (widths.size() >= 2)
        widths[0] = fitted(0, std::clamp(visibleWidth - widths[1], MinColumnWidth, MaxColumnWidth));
    FFittingColumns = true;
    for (int position = 0; position < int(widths.size()); ++position)
        horizontalHeader()->resizeSection(position, widths[position]);
    FFittingColumns = false;
}
