#include "res/DialogBuilder.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFontMetricsF>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStyle>
#include <algorithm>

namespace {

const char* const kIdProperty = "zq708CtrlId";

QWidget* CreateControl(const ControlTemplate& c, QWidget* parent,
                       const CDialogBuilder::CustomFactory& factory)
{
    const QString text = QString::fromStdString(c.text);
    switch (c.kind) {
    case ControlKind::Static:
    case ControlKind::StaticCenter: {
        auto* label = new QLabel(text, parent);
        label->setAlignment((c.kind == ControlKind::StaticCenter ? Qt::AlignHCenter : Qt::AlignLeft) |
                            Qt::AlignVCenter);
        label->setWordWrap(true);
        return label;
    }
    case ControlKind::Icon: {
        auto* label = new QLabel(parent);
        label->setAlignment(Qt::AlignCenter);
        return label;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::PushButton:
    case ControlKind::DefPushButton: {
        auto* button = new QPushButton(text, parent);
        button->setDefault(c.kind == ControlKind::DefPushButton);
        return button;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioButton:
        return new QRadioButton(text, parent);
    case ControlKind::Edit: {
        auto* edit = new QLineEdit(text, parent);
        edit->setReadOnly(c.style & CS_READONLY);
        if (c.style & CS_PASSWORD)
            edit->setEchoMode(QLineEdit::Password);
        return edit;
    }
    case ControlKind::ComboList:
        return new QComboBox(parent);
    case ControlKind::ListBox:
        return new QListWidget(parent);
    case ControlKind::ScrollBarH:
        return new QScrollBar(Qt::Horizontal, parent);
    case ControlKind::Progress: {
        auto* bar = new QProgressBar(parent);
        bar->setTextVisible(false);
        return bar;
    }
    case ControlKind::Custom:
        return factory ? factory(c.id, parent) : new QWidget(parent);
    }
    return new QWidget(parent);
}

} // namespace

QPointF CDialogBuilder::DialogBaseUnits(const QWidget* dialog)
{
    const QFontMetricsF fm(dialog->font());
    const qreal avg =
        fm.horizontalAdvance(QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz")) / 52.0;
    return {avg, fm.height()};
}

QRect CDialogBuilder::MapDialogRect(const QWidget* dialog, int x, int y, int w, int h)
{
    const QPointF base = DialogBaseUnits(dialog);
    const auto px = [](int du, qreal b, int div) { return qRound(du * b / div); };
    const int left = px(x, base.x(), 4);
    const int top = px(y, base.y(), 8);
    return {left, top, px(x + w, base.x(), 4) - left, px(y + h, base.y(), 8) - top};
}

void CDialogBuilder::Build(QWidget* dialog, const DialogTemplate& tmpl, const CustomFactory& factory)
{
    if (!tmpl.caption.empty())
        dialog->setWindowTitle(QString::fromStdString(tmpl.caption));
    dialog->setProperty(kIdProperty, tmpl.id);
    dialog->setFixedSize(MapDialogRect(dialog, 0, 0, tmpl.w, tmpl.h).size());

    // In a dialog with a default button, the button that has the focus takes Enter for itself
    // (Enter on a focused Cancel cancels). A dialog without one keeps Enter from every button.
    const bool hasDefaultButton =
        std::any_of(tmpl.controls.begin(), tmpl.controls.end(),
                    [](const ControlTemplate& c) { return c.kind == ControlKind::DefPushButton; });
    for (const ControlTemplate& c : tmpl.controls) {
        QWidget* w = CreateControl(c, dialog, factory);
        if (auto* button = qobject_cast<QPushButton*>(w))
            button->setAutoDefault(hasDefaultButton);
        w->setProperty(kIdProperty, c.id);
        w->setObjectName(QLatin1StringView(c.name));
        QRect r = MapDialogRect(dialog, c.x, c.y, c.w, c.h);
        // A drop-down list's template height is that of its open list; the closed box keeps its own.
        // The same holds for the owners' own list classes (tone lists, in-place lists).
        if (c.kind == ControlKind::ComboList || qobject_cast<QComboBox*>(w))
            r.setHeight(std::max(w->sizeHint().height(), MapDialogRect(dialog, 0, 0, 0, 12).height()));
        w->setGeometry(r);
        if (c.style & CS_DISABLED)
            w->setEnabled(false);
        if (c.style & CS_HIDDEN)
            w->hide();
        else
            w->show();
    }
}

QWidget* GetDlgItem(const QWidget* dialog, int id)
{
    if (!dialog)
        return nullptr;
    // One property read per child: a read by name searches the class's properties first, and the
    // pages look up their controls on every reload.
    for (QObject* child : dialog->children()) {
        auto* w = qobject_cast<QWidget*>(child);
        if (!w)
            continue;
        if (const QVariant v = w->property(kIdProperty); v.isValid() && v.toInt() == id)
            return w;
    }
    return nullptr;
}

int GetDlgCtrlId(const QWidget* widget)
{
    const QVariant v = widget ? widget->property(kIdProperty) : QVariant();
    return v.isValid() ? v.toInt() : -1;
}
