// A bar of ten buttons over one table: First, Prior, Next, Last, Insert, Delete,
// Edit, Post, Cancel, Refresh. The bar is one tab stop; Left and Right choose a
// button, Space or Enter presses it.
#pragma once

#include <QPointer>
#include <QString>
#include <QWidget>

#include <array>

class QAbstractButton;
class TDataSource;
class TTable;

class TDBNavigator : public QWidget {
    Q_OBJECT
public:
    enum TButton { First, Prior, Next, Last, Insert, Delete, Edit, Post, Cancel, Refresh };
    static constexpr int ButtonCount = 10;

    // An unbound bar with all ten buttons, disabled until bound.
    explicit TDBNavigator(QWidget* parent = nullptr);

    // Binds the bar to Source's table and follows its moves and states.
    void SetDataSource(TDataSource* Source);
    // The bound table, or null.
    TTable* Table() const;
    // The button of Kind; its objectName is the button's name ("First" ... "Refresh").
    QAbstractButton* Button(TButton Kind) const;
    // Presses Kind as a click does (nothing when it is disabled).
    void Click(TButton Kind);
    // The hint of Kind ("First record" ...).
    static QString Hint(TButton Kind);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    void focusInEvent(QFocusEvent* event) override;
    void focusOutEvent(QFocusEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void UpdateButtons();
    void Act(TButton Kind);
    void SetFocusedButton(int Index);

    QPointer<TDataSource> FSource;
    std::array<QAbstractButton*, ButtonCount> FButtons{};
    int FFocusedButton = 0;
};
