#include "ui/TDatabaseEditor.h"

#include <QCloseEvent>
#include <QPushButton>

#include "data/TErrorGuard.h"
#include "data/TTableSet.h"
#include "ui/TDBGrid.h"

namespace {

Qt::WindowFlags EditorFlags(bool sizeable)
{
    if (sizeable)
        return Qt::Window;
    // A fixed dialog frame with no close box and no system menu.
    return Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint | Qt::WindowTitleHint;
}

}  // namespace

TDatabaseEditor::TDatabaseEditor(TLanguage Language, const TDatabaseEditorLayout& Layout, QWidget* parent)
    : QWidget(parent, EditorFlags(Layout.Sizeable)), FTables(new TTableSet(Language, this)),
      FSizeable(Layout.Sizeable)
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
        auto* grid = new TDBGrid(this);
        grid->setObjectName(QStringLiteral("DBGrid%1").arg(i + 1));
        grid->setGeometry(Layout.Grids[i]);
        grid->SetDataSource(FTables->DataSource(i + 1));
        FGrids[i] = grid;
        tabOrder[Layout.GridTabs[i]] = grid;
    }
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

void TDatabaseEditor::Button1Click()
{
    Guarded([this] { hide(); });
}

void TDatabaseEditor::closeEvent(QCloseEvent* event)
{
    // The close box hides the window like its button; the Swedish editor has no close
    // box, so a close request from elsewhere (a window manager key) is refused there.
    event->ignore();
    if (FSizeable)
        hide();
}
