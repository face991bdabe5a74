#pragma once

namespace lark {

// Controls of the detail dialog (template 134). The engine writes the labels' texts by these
// ids; the window's dialog and the text front end show them.
enum class DetailControl : int {
    Ok = 1,
    Name = 1023,
    Code = 1024,
    High = 1025,
    Ask1Price = 1028,
    Ask2Price = 1029,
    Ask3Price = 1030,
    Ask1Volume = 1031,
    Ask2Volume = 1032,
    Ask3Volume = 1033,
    Bid1Volume = 1034,
    Bid2Volume = 1035,
    Bid3Volume = 1036,
    Bid1Price = 1037,
    Bid2Price = 1038,
    Bid3Price = 1039,
    Last = 1040,
    Open = 1041,
    Volume = 1042,
    Amount = 1043,
    Low = 1044,
    Change = 1046,
    Refresh = 1047,
    ChangePercent = 1048,
    LastCaption = 1055,
    HighCaption = 1056,
    LowCaption = 1057,
    OpenCaption = 1058,
    VolumeCaption = 1059,
    AmountCaption = 1060,
    Ask1Caption = 1061,
    Ask2Caption = 1062,
    Ask3Caption = 1063,
    Bid1Caption = 1064,
    Bid2Caption = 1065,
    Bid3Caption = 1066,
    ChangeCaption = 1067,
    ChangePercentCaption = 1068,
    Chart = 1069,
    VolumeRatio = 1090,
    VolumeRatioCaption = 1091,
};

} // namespace lark
