#pragma once

#include "gui/dialogs/control_id.h"
#include "gui/resource_ids.h"

#include <QFont>
#include <QRect>
#include <QString>

#include <functional>
#include <map>
#include <optional>
#include <vector>

class QWidget;

namespace lark::ui {

enum class ControlKind {
    DefaultButton,
    PushButton,
    Static, // left-aligned text
    StaticRight, // right-aligned text
    CheckBox,
    RadioFirst, // starts a radio group
    Radio,
    GroupBox,
    Edit,
    Slider,
    DropList,
    Icon,
    Image,
};

// One control of a dialog as its template gives it: rectangle in dialog units.
struct ControlTemplate
{
    ControlTemplate(ControlId id, ControlKind kind, const char *text, QRect rect)
        : id(id)
        , kind(kind)
        , text(text)
        , rect(rect)
    { }
    // A control nobody addresses: a caption, a frame.
    ControlTemplate(ControlKind kind, const char *text, QRect rect)
        : kind(kind)
        , text(text)
        , rect(rect)
    { }

    std::optional<ControlId> id;
    ControlKind kind;
    const char *text; // UTF-8
    QRect rect;
};

struct DialogTemplate
{
    DialogId id;
    const char *caption;
    QSize size; // dialog units
    const char *fontFamily;
    int pointSize;
    std::vector<ControlTemplate> controls;
};

// Makes a control of a kind the builder does not know (a link, a tinted label).
using ControlFactory = std::function<QWidget *(const ControlTemplate &, QWidget *parent)>;

// Dialog units to pixels with the metrics of the dialog's font.
QRect dialogUnitsToPixels(const QRect &units, const QFont &font);

using Controls = std::map<ControlId, QWidget *>;

// Builds the controls of a template onto dialog, in template (tab) order; every control's
// objectName is its numeric id. Controls with a factory entry are made by it.
Controls buildDialog(QWidget *dialog, const DialogTemplate &dialogTemplate,
                     const std::map<ControlId, ControlFactory> &factories = {});

// Puts the focus on the first enabled control, in template order, that takes the tab key, as
// a dialog's focus starts (left alone, Qt would pick the default button when that is a button).
void focusFirstTabStop(const Controls &controls, const DialogTemplate &dialogTemplate);

template<typename T>
T *control(const Controls &controls, ControlId id)
{
    auto it = controls.find(id);
    return it == controls.end() ? nullptr : qobject_cast<T *>(it->second);
}

} // namespace lark::ui
