#include "gui/dialogs/dialog_template.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QSlider>

namespace lark::ui {
namespace {

QWidget *makeControl(const ControlTemplate &c, QWidget *parent, QButtonGroup *&radios)
{
    const QString text = QString::fromUtf8(c.text);
    switch (c.kind) {
    case ControlKind::DefaultButton: {
        auto *button = new QPushButton(text, parent);
        button->setDefault(true);
        return button;
    }
    case ControlKind::PushButton:
        return new QPushButton(text, parent);
    case ControlKind::Static:
    case ControlKind::Icon:
    case ControlKind::Image:
        return new QLabel(text, parent);
    case ControlKind::StaticRight: {
        auto *label = new QLabel(text, parent);
        label->setAlignment(Qt::AlignRight | Qt::AlignTop);
        return label;
    }
    case ControlKind::CheckBox:
        return new QCheckBox(text, parent);
    case ControlKind::RadioFirst:
        radios = new QButtonGroup(parent);
        [[fallthrough]];
    case ControlKind::Radio: {
        auto *radio = new QRadioButton(text, parent);
        if (radios)
            radios->addButton(radio, c.id ? c.id->number() : -1);
        return radio;
    }
    case ControlKind::GroupBox:
        return new QGroupBox(text, parent);
    case ControlKind::Edit:
        return new QLineEdit(text, parent);
    case ControlKind::Slider:
        return new QSlider(Qt::Horizontal, parent);
    case ControlKind::DropList:
        return new QComboBox(parent);
    }
    return nullptr;
}

} // namespace

QRect dialogUnitsToPixels(const QRect &units, const QFont &font)
{
    QFontMetrics metrics(font);
    // The average width of the Latin letters, as dialog units are defined.
    const double baseX = metrics.horizontalAdvance(
                             QStringLiteral("ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz"))
        / 52.0;
    const double baseY = metrics.height();
    auto x = [&](int v) { return qRound(v * baseX / 4.0); };
    auto y = [&](int v) { return qRound(v * baseY / 8.0); };
    return QRect(x(units.x()), y(units.y()), x(units.width()), y(units.height()));
}

Controls buildDialog(QWidget *dialog, const DialogTemplate &t,
                     const std::map<ControlId, ControlFactory> &factories)
{
    QFont font(QString::fromUtf8(t.fontFamily), t.pointSize);
    dialog->setFont(font);
    dialog->setWindowTitle(QString::fromUtf8(t.caption));
    dialog->setFixedSize(dialogUnitsToPixels(QRect(QPoint(0, 0), t.size), font).size());
    Controls controls;
    QButtonGroup *radios = nullptr;
    for (const ControlTemplate &c : t.controls) {
        auto factory = c.id ? factories.find(*c.id) : factories.end();
        QWidget *widget = factory != factories.end() ? factory->second(c, dialog)
                                                     : makeControl(c, dialog, radios);
        widget->setGeometry(dialogUnitsToPixels(c.rect, font));
        if (c.id) {
            widget->setObjectName(c.id->objectName());
            controls[*c.id] = widget;
        }
    }
    // Group boxes are drawn behind the controls they frame.
    for (QWidget *child : dialog->findChildren<QGroupBox *>(Qt::FindDirectChildrenOnly))
        child->lower();
    return controls;
}

void focusFirstTabStop(const Controls &controls, const DialogTemplate &t)
{
    for (const ControlTemplate &c : t.controls) {
        QWidget *widget = c.id ? control<QWidget>(controls, *c.id) : nullptr;
        if (widget && widget->isEnabled() && (widget->focusPolicy() & Qt::TabFocus)) {
            widget->setFocus(Qt::OtherFocusReason);
            return;
        }
    }
}

} // namespace lark::ui
