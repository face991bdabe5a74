#include "gui/dialogs/dialog_forms.h"

#include "engine/detail_ids.h"

namespace lark::ui {

using K = ControlKind;
using S = SettingsControl;
using D = DetailControl;

const DialogTemplate &settingsDialogTemplate()
{
    static const DialogTemplate form {
        DialogId::Settings,
        "设置",
        {194, 189},
        "宋体",
        9,
        {{S::Ok, K::DefaultButton, "确定", {152, 162, 21, 11}},
         {S::Cancel, K::PushButton, "取消", {123, 161, 21, 11}},
         {K::Static, "刷新时间:", {6, 10, 39, 10}},
         {S::RefreshSlider, K::Slider, "", {67, 1, 112, 21}},
         {S::PriceAlarmOn, K::CheckBox, "到价警示", {6, 36, 48, 10}},
         {S::AlarmPrice, K::Edit, "", {127, 38, 47, 12}},
         {K::Static, "警示价格:", {85, 39, 37, 8}},
         {S::NewIssueNoticeOn, K::CheckBox, "新股发行警示", {2, 181, 64, 8}},
         {S::BonusRightsNoticeOn, K::CheckBox, "送股,配股,除权警示", {73, 181, 84, 8}},
         {S::RefreshText, K::Static, "Sta", {48, 9, 23, 10}},
         {S::StockCode, K::Edit, "", {127, 23, 47, 12}},
         {K::Static, "报警方式:", {3, 102, 37, 8}},
         {S::RingOn, K::CheckBox, "振铃", {122, 102, 32, 10}},
         {S::FlashOn, K::CheckBox, "闪烁", {67, 101, 32, 10}},
         {K::Static, "股票序号:", {6, 24, 37, 8}},
         {S::StockIndex, K::Edit, "", {46, 23, 26, 12}},
         {K::Static, "股票代码:", {85, 25, 37, 8}},
         {S::ShanghaiA, K::RadioFirst, "上海A股", {7, 144, 44, 10}},
         {S::ShanghaiB, K::Radio, "上海B股", {62, 144, 44, 10}},
         {K::GroupBox, "排行榜", {5, 133, 109, 39}},
         {S::ShenzhenA, K::Radio, "深圳A股", {7, 158, 44, 10}},
         {S::ShenzhenB, K::Radio, "深圳B股", {62, 157, 44, 10}},
         {S::RankingOn, K::CheckBox, "排行榜", {5, 119, 40, 10}},
         {S::SortKey, K::DropList, "", {120, 141, 58, 87}},
         {S::ChartOnAlarm, K::CheckBox, "预警后显示行情图表", {67, 119, 88, 10}},
         {S::ChangeAlarmOn, K::CheckBox, "涨跌幅警示", {6, 52, 60, 11}},
         {K::StaticRight, "涨跌幅设置:", {72, 53, 49, 10}},
         {S::ChangeAlarmPct, K::Edit, "", {127, 53, 48, 12}},
         {S::BigOrderAlarmOn, K::CheckBox, "大单警示", {6, 69, 54, 9}},
         {K::StaticRight, "大单设置:", {73, 68, 48, 10}},
         {S::BigOrderAlarm, K::Edit, "", {127, 67, 48, 12}},
         {S::VolumeRatioAlarmOn, K::CheckBox, "量比突破警示", {6, 84, 64, 11}},
         {K::Static, "量比突破设置:", {71, 85, 52, 10}},
         {S::VolumeRatioAlarm, K::Edit, "", {127, 83, 48, 12}}}};
    return form;
}

const DialogTemplate &detailDialogTemplate()
{
    static const DialogTemplate form {
        DialogId::Detail,
        "详细资料:",
        {202, 129},
        "宋体",
        9,
        {{D::Code, K::Static, "股票代码", {3, 4, 33, 8}},
         {D::Name, K::Static, "股票名称", {41, 4, 33, 8}},
         {D::LastCaption, K::Static, "最新价:", {3, 17, 28, 8}},
         {D::Last, K::Static, "最新价", {51, 17, 44, 8}},
         {D::OpenCaption, K::Static, "开盘价:", {106, 17, 28, 8}},
         {D::Open, K::Static, "开盘价", {149, 17, 44, 8}},
         {D::HighCaption, K::Static, "最高价:", {3, 29, 28, 8}},
         {D::High, K::Static, "最高价", {51, 29, 44, 8}},
         {D::VolumeCaption, K::Static, "成交量:", {106, 29, 28, 8}},
         {D::Volume, K::Static, "成交量", {149, 29, 44, 8}},
         {D::LowCaption, K::Static, "最低价:", {3, 41, 28, 8}},
         {D::Low, K::Static, "最低价", {51, 41, 44, 8}},
         {D::AmountCaption, K::Static, "成交额:", {106, 41, 28, 8}},
         {D::Amount, K::Static, "成交额", {149, 41, 44, 8}},
         {D::Ask1Caption, K::Static, "卖1:", {3, 58, 17, 8}},
         {D::Ask1Price, K::Static, "卖1价", {27, 58, 31, 8}},
         {D::Ask1Volume, K::Static, "卖1量", {65, 58, 21, 8}},
         {D::Bid1Caption, K::Static, "买1:", {93, 58, 17, 8}},
         {D::Bid1Price, K::Static, "买1价", {117, 58, 31, 8}},
         {D::Bid1Volume, K::Static, "买1量", {155, 58, 21, 8}},
         {D::Ask2Caption, K::Static, "卖2:", {3, 70, 17, 8}},
         {D::Ask2Price, K::Static, "卖2价", {27, 70, 31, 8}},
         {D::Ask2Volume, K::Static, "卖2量", {65, 70, 21, 8}},
         {D::Bid2Caption, K::Static, "买2:", {93, 70, 17, 8}},
         {D::Bid2Price, K::Static, "买2价", {117, 70, 31, 8}},
         {D::Bid2Volume, K::Static, "买2量", {155, 70, 21, 8}},
         {D::Ask3Caption, K::Static, "卖3:", {3, 82, 17, 8}},
         {D::Ask3Price, K::Static, "卖3价", {27, 82, 31, 8}},
         {D::Ask3Volume, K::Static, "卖3量", {65, 82, 21, 8}},
         {D::Bid3Caption, K::Static, "买3:", {93, 82, 17, 8}},
         {D::Bid3Price, K::Static, "买3价", {117, 82, 31, 8}},
         {D::Bid3Volume, K::Static, "买3量", {155, 82, 21, 8}},
         {D::ChangeCaption, K::Static, "涨跌价:", {3, 97, 32, 8}},
         {D::Change, K::Static, "涨幅", {35, 97, 25, 8}},
         {D::ChangePercentCaption, K::Static, "涨幅:", {67, 97, 21, 8}},
         {D::ChangePercent, K::Static, "幅度", {92, 97, 28, 8}},
         {D::VolumeRatioCaption, K::Static, "量比：", {122, 95, 26, 12}},
         {D::VolumeRatio, K::Static, "量比", {155, 95, 33, 10}},
         {D::Refresh, K::PushButton, "刷新", {119, 111, 22, 13}},
         {D::Chart, K::PushButton, "详细", {145, 111, 22, 13}},
         {D::Ok, K::DefaultButton, "确定", {170, 111, 22, 13}}}};
    return form;
}

} // namespace lark::ui
