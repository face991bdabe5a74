#pragma once

#include <QString>

namespace lark::ui {

// The window's dialog templates and its form.
enum class DialogId : int { About = 100, QuoteForm = 101, Settings = 130, Detail = 134 };

// Controls of the quote form (101).
enum class QuoteFormControl : int {
    QuoteList = 1000,
    SiteNameLink = 1049,
    PreviousPage = 1050,
    NextPage = 1051,
    StatusText = 1070,
    ClockText = 1075,
};

// Controls of the About dialog (100).
enum class AboutControl : int { Ok = 1, WebLink = 1009, MailLink = 1010 };

// Controls of the settings dialog (130).
enum class SettingsControl : int {
    Ok = 1,
    Cancel = 2,
    RefreshSlider = 1001,
    PriceAlarmOn = 1002,
    AlarmPrice = 1003,
    NewIssueNoticeOn = 1004,
    BonusRightsNoticeOn = 1006,
    RefreshText = 1007,
    StockCode = 1011,
    RingOn = 1012,
    FlashOn = 1013,
    StockIndex = 1015,
    ShanghaiA = 1017, // the first of the market radio group
    ShanghaiB = 1018,
    ShenzhenA = 1019,
    ShenzhenB = 1020,
    RankingOn = 1021,
    SortKey = 1053,
    ChartOnAlarm = 1077,
    ChangeAlarmOn = 1078,
    ChangeAlarmPct = 1080,
    BigOrderAlarmOn = 1081,
    BigOrderAlarm = 1082,
    VolumeRatioAlarmOn = 1083,
    VolumeRatioAlarm = 1084,
};

// Commands of the popup menu (menu 102), for the view, the frame and the application.
enum class Command : int {
    Detail = 6,
    Settings = 32772,
    BackgroundColour = 32775,
    Help = 32776,
    SizeSmall = 32778,
    SizeMedium = 32779,
    SizeLarge = 32780,
    WeeklyMemo = 32791,
    TodayTip = 32793,
    About = 57664,
    Exit = 57665,
    Minimise = 61186,
};

enum class IconId : int { Program = 128, Alert = 133 };
enum class BitmapId : int {
    MailPicture = 131,
    MediumBackground = 148,
    LargeBackground = 149,
    SmallBackground = 150,
};

// Where the picture lies among the program's resources; an @2x version lies beside it.
QString picturePath(IconId icon);
QString picturePath(BitmapId bitmap);

} // namespace lark::ui
