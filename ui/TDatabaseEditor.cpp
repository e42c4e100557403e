#include "ui/TDatabaseEditor.h"

#include <QAbstractButton>
#include <QCloseEvent>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

#include "data/TErrorGuard.h"
#include "data/TTable.h"
#include "data/TTableSet.h"
#include "ui/TDBGrid.h"
#include "ui/TDBNavigator.h"

namespace {

Qt::WindowFlags EditorFlags(bool sizeable)
{
    if (sizeable)
        return Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint | Qt::WindowMinMaxButtonsHint |
               Qt::WindowCloseButtonHint;
    // A fixed dialog frame with no close box and no system menu.
    return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

}  // namespace

TDatabaseEditor::TDatabaseEditor(TLanguage Language, const TDatabaseEditorLayout& Layout, QWidget* parent)
    : QWidget(parent, EditorFlags(Layout.Sizeable)), FTables(new TTableSet(Language, this)), FLayout(Layout)
{
    setWindowTitle(Layout.Caption);
    if (Layout.Sizeable)
        resize(Layout.ClientSize);
    else
        setFixedSize(Layout.ClientSize);
    move(Layout.Position);

    FTables->Open();

    std::array<QWidget*, 11> tabOrder{};
    for (int i = 0; i < 5; ++i) {
        auto* navigator = new TDBNavigator(this);
        navigator->setObjectName(QStringLiteral("DBNavigator%1").arg(i + 1));
        navigator->setGeometry(Layout.Navigators[i]);
        navigator->SetDataSource(FTables->DataSource(i + 1));
        FNavigators[i] = navigator;
        tabOrder[Layout.NavigatorTabs[i]] = navigator;

        auto* grid = new TDBGrid(this);
        grid->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        grid->setGeometry(Layout.Grids[i]);
        grid->SetDataSource(FTables->DataSource(i + 1));
        FGrids[i] = grid;
        tabOrder[Layout.GridTabs[i]] = grid;
    }
    // Each navigator sits above its grid and overlaps the grid's top edge.
    for (TDBNavigator* navigator : FNavigators)
        navigator->raise();
    Button1 = new QPushButton(Layout.ButtonCaption, this);
    Button1->setObjectName(QStringLiteral("Button1"));
    Button1->setGeometry(Layout.Button);
    Button1->setAutoDefault(false);
    tabOrder[10] = Button1;
    connect(Button1, &QPushButton::clicked, this, [this] { Button1Click(); });

    QWidget* previous = nullptr;
    for (QWidget* w : tabOrder) {
        if (!w)
            continue;
        if (previous)
            setTabOrder(previous, w);
        previous = w;
    }
}

TDatabaseEditor::~TDatabaseEditor() = default;

TTableSet* TDatabaseEditor::Tables() const
{
    return FTables;
}

TDBGrid* TDatabaseEditor::Grid(int Number) const
{
    return FGrids.at(Number - 1);
}

TDBNavigator* TDatabaseEditor::Navigator(int Number) const
{
    return FNavigators.at(Number - 1);
}

void TDatabaseEditor::Button1Click()
{
    Guarded([this] { hide(); });
}

void TDatabaseEditor::closeEvent(QCloseEvent* event)
{
    // The close box hides the window like its button; the Swedish editor has no close
    // box, so a close request from elsewhere (a window manager key) is refused there.
    event->ignore();
    if (FLayout.Sizeable)
        hide();
}

bool TDatabaseEditor::EndPendingEdits(bool Interactive)
{
    bool allEnded = true;
    for (int number = 1; number <= 5; ++number) {
        TDBGrid* grid = Grid(number);
        TTable* table = FTables->Table(number);
        if (!table->Active())
            continue;
        TEndStep step = TEndStep::Done;
        if (grid->Editing()) {
            step = EndStep(
                table, Interactive,
                [grid] {
                    grid->StoreEditorText();
                    grid->HideEditor();
                },
                [grid] { grid->HideEditor(); });
        }
        if (step == TEndStep::Done && table->State() != TDataSetState::Browse) {
            step = EndStep(
                table, Interactive,
                [table] {
                    // An unchanged new row is dropped, as any move drops it.
                    if (table->State() == TDataSetState::Insert && !table->Modified())
                        table->Cancel();
                    else
                        table->Post();
                },
                [table] { table->Cancel(); });
        }
        if (step == TEndStep::GoBack) {
            GoBackTo(grid);
            return false;
        }
        allEnded = allEnded && step == TEndStep::Done;
    }
    return allEnded;
}

TDatabaseEditor::TEndStep TDatabaseEditor::EndStep(const TTable* Table, bool Interactive, const std::function<void()>& Write,
                                                   const std::function<void()>& Discard)
{
    try {
        Write();
        return TEndStep::Done;
    } catch (...) {
        const QString message = CurrentExceptionMessage();
        if (!Interactive)
            return TEndStep::Refused;
        if (AskAboutRefusal(message, Table) == TRefusalAnswer::GoBack)
            return TEndStep::GoBack;
        Discard();
        return TEndStep::Done;
    }
}

TDatabaseEditor::TRefusalAnswer TDatabaseEditor::AskAboutRefusal(const QString& Message, const TTable* Table)
{
    QMessageBox box(QMessageBox::Warning, FLayout.Caption,
                    FLayout.UnsavedQuestion.arg(ErrorBoxText(Message), Table->TableName()),
                    QMessageBox::Cancel | QMessageBox::Discard, isVisible() ? this : nullptr);
    box.button(QMessageBox::Cancel)->setText(FLayout.GoBackCaption);
    box.button(QMessageBox::Discard)->setText(FLayout.DiscardCaption);
    // Going back loses nothing, so it is what Enter and Escape choose.
    box.setDefaultButton(QMessageBox::Cancel);
    box.setEscapeButton(QMessageBox::Cancel);
    return box.exec() == QMessageBox::Discard ? TRefusalAnswer::Discard : TRefusalAnswer::GoBack;
}

void TDatabaseEditor::GoBackTo(TDBGrid* Grid)
{
    show();
    raise();
    activateWindow();
    if (QLineEdit* editor = Grid->CellEditor())
        editor->setFocus();
    else
        Grid->setFocus();
}
