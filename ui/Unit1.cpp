#include "ui/Unit1.h"

#include <QCloseEvent>
#include <QLabel>
#include <QMouseEvent>

#include "data/TErrorGuard.h"
#include "ui/TFlagPicture.h"

TFormLanguage::TFormLanguage(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::MSWindowsFixedSizeDialogHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("FormLanguage"));
    setWindowTitle(QStringLiteral("Vilo"));
    setFixedSize(256, 97);

    // Mouse only: the flags take no focus and have no key.
    Image1 = new QLabel(this);
    Image1->setObjectName(QStringLiteral("Image1"));
    Image1->setGeometry(64, 5, 57, 41);
    const QPixmap uk = FlagPicture(TFlag::UnitedKingdom);
    Image1->setPixmap(uk.scaled(Image1->size(), Qt::KeepAspectRatio, Qt::SmoothTransformation));
    Image1->setAlignment(Qt::AlignCenter);
    Image1->setAccessibleName(QStringLiteral("English"));
    Image1->setCursor(Qt::PointingHandCursor);

    Image2 = new QLabel(this);
    Image2->setObjectName(QStringLiteral("Image2"));
    Image2->setGeometry(135, 5, 57, 41);
    Image2->setPixmap(FlagPicture(TFlag::Sweden));
    Image2->setScaledContents(true);
    Image2->setAccessibleName(QString::fromUtf8("Svenska"));
    Image2->setCursor(Qt::PointingHandCursor);

    auto line = [this](const char* name, const QString& text, int y) {
        auto* label = new QLabel(text, this);
        label->setObjectName(QLatin1String(name));
        label->setGeometry(0, y, 256, 15);
        label->setAlignment(Qt::AlignCenter);
        return label;
    };
    Label1 = line("Label1", QString::fromUtf8("Vilo \u00a9 2005, written by the Vilo authors"), 49);
    Label2 = line("Label2", QStringLiteral("After the earlier hand method for slabs on ground"), 64);
    Label3 = line("Label3", QStringLiteral("v. 2009-04-29"), 79);
    for (QLabel* label : {Label1, Label2, Label3}) {
        QFont small = label->font();
        if (small.pixelSize() > 0)
            small.setPixelSize(small.pixelSize() - 1);
        else
            small.setPointSizeF(small.pointSizeF() * 0.9);
        label->setFont(small);
    }

    Image1->installEventFilter(this);
    Image2->installEventFilter(this);
    setFocusPolicy(Qt::NoFocus);
}

void TFormLanguage::Image1Click()
{
    Guarded([this] { if (OnEnglish) OnEnglish(); });
}

void TFormLanguage::Image2Click()
{
    Guarded([this] { if (OnSwedish) OnSwedish(); });
}

bool TFormLanguage::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::MouseButtonRelease &&
        static_cast<QMouseEvent*>(event)->button() == Qt::LeftButton) {
        auto* picture = static_cast<QWidget*>(watched);
        if (picture->rect().contains(static_cast<QMouseEvent*>(event)->position().toPoint())) {
            if (watched == Image1)
                Image1Click();
            else if (watched == Image2)
                Image2Click();
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void TFormLanguage::closeEvent(QCloseEvent* event)
{
    event->ignore();
    Guarded([this] { if (OnClose) OnClose(); });
}
