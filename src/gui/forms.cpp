#include "gui/forms.h"

#include <mutex>

static void initLarkResources()
{
    Q_INIT_RESOURCE(lark);
}

namespace lark::ui {
namespace {

constexpr int kDragStripHeight = 27;

// The icon control shows the program icon.
const char *programIconText()
{
    static const QByteArray text
        = (QStringLiteral("<img src=\"") + picturePath(IconId::Program) + QStringLiteral("\">"))
              .toUtf8();
    return text.constData();
}

DialogTemplate makeAboutTemplate(const char *notice)
{
    return {
        DialogId::About,
        "关于Tamberly",
        QSize(181, 87),
        "MS Serif",
        8,
        {
            {ControlKind::Icon, programIconText(), QRect(17, 13, 20, 20)},
            {ControlKind::Static, "Tamberly Version 2.0", QRect(72, 26, 84, 8)},
            {ControlKind::Static, notice, QRect(72, 47, 64, 8)},
            {AboutControl::Ok, ControlKind::DefaultButton, "确定", QRect(108, 65, 32, 14)},
            {ControlKind::Static, "Halvern------Orvale", QRect(71, 9, 102, 8)},
            {AboutControl::WebLink, ControlKind::Static, "halvern.example", QRect(11, 47, 59, 8)},
            {AboutControl::MailLink, ControlKind::Image, "", QRect(13, 62, 37, 20)},
        }};
}

QRect zone(int left, int right, int top, int bottom)
{
    return QRect(QPoint(left, top), QPoint(right, bottom));
}

const ColumnSpec kCode {"  代码", Qt::AlignLeft, 45};
const ColumnSpec kName {"    名称", Qt::AlignLeft, 62};
const ColumnSpec kVolume {"成交量  ", Qt::AlignRight, 60};

// The medium and small next-page zones lie where their pictures end; they sit beside the
// list's last rows instead, so that every size can page forward.
const SizeLayout kLayouts[] = {
    {1,
     BitmapId::LargeBackground,
     QSize(487, 330),
     {kCode,
      kName,
      {"最新价 ", Qt::AlignRight, 55},
      kVolume,
      {"涨跌  ", Qt::AlignRight, 50},
      {"买入  ", Qt::AlignRight, 50},
      {"卖出  ", Qt::AlignRight, 50},
      {"涨跌幅  ", Qt::AlignRight, 50}},
     16,
     490,
     zone(466, 479, 46, 64),
     zone(466, 479, 281, 294)},
    {2,
     BitmapId::MediumBackground,
     QSize(347, 197),
     {kCode, kName, {"最新价 ", Qt::AlignRight, 55}, kVolume, {"涨跌幅 ", Qt::AlignRight, 50}},
     8,
     350,
     zone(326, 344, 46, 64),
     zone(326, 339, 151, 166)},
    {3,
     BitmapId::SmallBackground,
     QSize(247, 145),
     {kCode, kName, {"最新价 ", Qt::AlignRight, 50}},
     3,
     350,
     zone(211, 224, 31, 44),
     zone(211, 224, 97, 110)},
};

} // namespace

void loadResources()
{
    static std::once_flag once;
    std::call_once(once, initLarkResources);
}

const DialogTemplate &quoteFormTemplate()
{
    using C = QuoteFormControl;
    static const DialogTemplate form {
        DialogId::QuoteForm,
        "",
        QSize(96, 66),
        "MS Sans Serif",
        8,
        {
            {C::StatusText, ControlKind::Static, "Halvern---Orvale", QRect(0, 33, 92, 8)},
            {C::SiteNameLink, ControlKind::Static, "Orvale", QRect(21, 45, 57, 8)},
            {C::PreviousPage, ControlKind::PushButton, "上一页", QRect(12, 20, 28, 12)},
            {C::NextPage, ControlKind::PushButton, "下一页", QRect(41, 26, 28, 12)},
            {C::ClockText, ControlKind::Static, "", QRect(5, 38, 73, 8)},
            // The list is made by the view; the template only places it.
            {C::QuoteList, ControlKind::Static, "List1", QRect(0, 0, 92, 21)},
        }};
    return form;
}

const DialogTemplate &aboutDialogTemplate(FigureSource source)
{
    static const DialogTemplate server = makeAboutTemplate("行情仅供参考");
    static const DialogTemplate simulation = makeAboutTemplate("模拟行情");
    static const DialogTemplate live = makeAboutTemplate("实时行情");
    return source == FigureSource::Live     ? live
        : source == FigureSource::Simulated ? simulation
                                            : server;
}

const SizeLayout &sizeLayout(int interfaceSize)
{
    for (const SizeLayout &layout : kLayouts) {
        if (layout.size == interfaceSize)
            return layout;
    }
    return kLayouts[0];
}

QSize frameOuterSize(const SizeLayout &layout)
{
    return layout.backgroundSize + QSize(5, 20);
}

ControlPlaces controlPlaces(const SizeLayout &layout, QSize client)
{
    const int w = client.width();
    const int h = client.height();
    switch (layout.size) {
    case 2:
        return {QRect(25, 55, w - 57, h - 97), QRect(110, h - 20, 95, 30), QRect(0, h - 20, 50, 30),
                QRect(60, h - 20, 90, 30)};
    case 3:
        return {QRect(30, 55, 172, 56), QRect(75, h - 20, 95, 30), QRect(0, h - 20, 50, 30),
                QRect(0, h - 20, 90, 30)};
    default:
        return {QRect(29, 55, w - 67, h - 98), QRect(180, h - 15, 110, 30), QRect(0, 200, 50, 30),
                QRect(60, 200, 110, 30)};
    }
}

ViewZone zoneAt(const SizeLayout &layout, QPoint point)
{
    if (point.x() < layout.dragStripWidth && point.y() < kDragStripHeight)
        return ViewZone::DragStrip;
    if (layout.previousPageZone.contains(point))
        return ViewZone::PreviousPage;
    if (layout.nextPageZone.contains(point))
        return ViewZone::NextPage;
    return ViewZone::None;
}

} // namespace lark::ui
