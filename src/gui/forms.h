#pragma once

#include "gui/dialogs/dialog_template.h"
#include "gui/resource_ids.h"

#include <QRect>
#include <QString>

#include <vector>

namespace lark::ui {

// The name the window system shows for the program: the window's title and the tips.
inline constexpr const char *kProgramName = "Tamberly";

// Registers the pictures of res/ (they live in a static library, so nothing pulls them in).
void loadResources();

const DialogTemplate &quoteFormTemplate();
// Where the figures come from: a quote server given on the command line, or the built-in one
// on the simulated or the real market.
enum class FigureSource { QuoteServer, Simulated, Live };
// The notice line tells which.
const DialogTemplate &aboutDialogTemplate(FigureSource source);

struct ColumnSpec
{
    const char *header; // UTF-8, spaces included
    Qt::Alignment alignment;
    int width;
};

// Everything that differs between the large (1), medium (2) and small (3) window.
struct SizeLayout
{
    int size;
    BitmapId background;
    QSize backgroundSize;
    std::vector<ColumnSpec> columns;
    int rows;
    int dragStripWidth;
    QRect previousPageZone; // bounds inclusive
    QRect nextPageZone;
};

// Any size without a layout of its own gets the large one.
const SizeLayout &sizeLayout(int interfaceSize);

// The borderless frame: the background plus 5 pixels across and 20 down.
QSize frameOuterSize(const SizeLayout &layout);

struct ControlPlaces
{
    QRect list;
    QRect link;
    QRect clock;
    QRect status;
};

ControlPlaces controlPlaces(const SizeLayout &layout, QSize client);

enum class ViewZone { None, DragStrip, PreviousPage, NextPage };

ViewZone zoneAt(const SizeLayout &layout, QPoint point);

} // namespace lark::ui
