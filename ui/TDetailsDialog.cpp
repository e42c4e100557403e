#include "ui/TDetailsDialog.h"

#include "data/TErrorGuard.h"

#include <QLabel>
#include <QLineEdit>
#include <QPlainTextDocumentLayout>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTextBlock>
#include <QTextLayout>

namespace {

constexpr int CaptionFontPx = 16;
constexpr int BoxFontPx = 11;

QFont FontOfHeight(const QWidget* widget, int pixels) {
    QFont font = widget->font();
    font.setPixelSize(pixels);
    return font;
}

}  // namespace

TDetailsDialog::TDetailsDialog(const TDetailsTexts& Texts, Qt::WindowFlags flags, QWidget* parent)
    : QWidget(parent, flags),
      Label1(new QLabel(Texts.NameCaption, this)),
      Label2(new QLabel(Texts.ProjectCaption, this)),
      Label3(new QLabel(Texts.ContactCaption, this)),
      Edit1(new QLineEdit(this)),
      Edit2(new QLineEdit(this)),
      Memo1(new QPlainTextEdit(this)),
      Button1(new QPushButton(QStringLiteral("OK"), this)) {
    setWindowTitle(QStringLiteral("Info"));
    const auto place = [this](QWidget* w, const char* name, int left, int top, int width,
                              int height, int fontPx) {
        w->setObjectName(QString::fromLatin1(name));
        w->setFont(FontOfHeight(this, fontPx));
        if (width > 0) w->setGeometry(left, top, width, height);
        else w->move(left, top);
    };
    for (auto [label, name, top] : {std::tuple{Label1, "Label1", 16}, {Label2, "Label2", 40},
                                    {Label3, "Label3", 64}}) {
        place(label, name, 32, top, 0, 0, CaptionFontPx);
        label->adjustSize();
        label->resize(label->width(), 20);
    }
    place(Edit1, "Edit1", 144, 16, 241, 21, BoxFontPx);
    place(Edit2, "Edit2", 144, 40, 241, 21, BoxFontPx);
    place(Memo1, "Memo1", 144, 64, 241, 145, BoxFontPx);
    place(Button1, "Button1", 176, 232, 75, 25, BoxFontPx);

    Memo1->setLineWrapMode(QPlainTextEdit::WidgetWidth);
    Memo1->setWordWrapMode(QTextOption::WrapAtWordBoundaryOrAnywhere);
    Memo1->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    Memo1->setTabChangesFocus(true);
    // A plain window has no default button: Enter never confirms.
    Button1->setAutoDefault(false);
    Button1->setDefault(false);
    setTabOrder(Edit1, Edit2);
    setTabOrder(Edit2, Memo1);
    setTabOrder(Memo1, Button1);

    connect(Button1, &QPushButton::clicked, this, [this] { Guarded([this] { Button1Click(); }); });
}

void TDetailsDialog::Button1Click() {
    hide();
    if (FReportAction) FReportAction();
}

void TDetailsDialog::SetReportAction(std::function<void()> action) { FReportAction = std::move(action); }

QString TDetailsDialog::Name() const { return Edit1->text(); }

QString TDetailsDialog::Project() const { return Edit2->text(); }

QStringList TDetailsDialog::ContactLines() const {
    QStringList lines;
    const QTextDocument* document = Memo1->document();
    const auto* layout = qobject_cast<QPlainTextDocumentLayout*>(document->documentLayout());
    for (QTextBlock block = document->begin(); block.isValid(); block = block.next()) {
        if (layout) layout->ensureBlockLayout(block);
        const QString text = block.text();
        const QTextLayout* blockLayout = block.layout();
        if (!blockLayout || blockLayout->lineCount() == 0) {
            lines << text;
            continue;
        }
        for (int i = 0; i < blockLayout->lineCount(); ++i) {
            const QTextLine line = blockLayout->lineAt(i);
            lines << text.mid(line.textStart(), line.textLength());
        }
    }
    if (!lines.isEmpty() && lines.last().isEmpty()) lines.removeLast();
    return lines;
}
