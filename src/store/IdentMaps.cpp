#include "IdentMaps.h"

namespace vestrel::store {

const IdentMap& ColorIdents()
{
    static const IdentMap map = {
        {"clBlack", 0x0},
        {"clMaroon", 0x80},
        {"clGreen", 0x8000},
        {"clOlive", 0x8080},
        {"clNavy", 0x800000},
        {"clPurple", 0x800080},
        {"clTeal", 0x808000},
        {"clGray", 0x808080},
        {"clSilver", 0xC0C0C0},
        {"clRed", 0xFF},
        {"clLime", 0xFF00},
        {"clYellow", 0xFFFF},
        {"clBlue", 0xFF0000},
        {"clFuchsia", 0xFF00FF},
        {"clAqua", 0xFFFF00},
        {"clWhite", 0xFFFFFF},
        {"clScrollBar", qint32(0x80000000u)},
        {"clBackground", qint32(0x80000001u)},
        {"clActiveCaption", qint32(0x80000002u)},
        {"clInactiveCaption", qint32(0x80000003u)},
        {"clMenu", qint32(0x80000004u)},
        {"clWindow", qint32(0x80000005u)},
        {"clWindowFrame", qint32(0x80000006u)},
        {"clMenuText", qint32(0x80000007u)},
        {"clWindowText", qint32(0x80000008u)},
        {"clCaptionText", qint32(0x80000009u)},
        {"clActiveBorder", qint32(0x8000000Au)},
        {"clInactiveBorder", qint32(0x8000000Bu)},
        {"clAppWorkSpace", qint32(0x8000000Cu)},
        {"clHighlight", qint32(0x8000000Du)},
        {"clHighlightText", qint32(0x8000000Eu)},
        {"clBtnFace", qint32(0x8000000Fu)},
        {"clBtnShadow", qint32(0x80000010u)},
        {"clGrayText", qint32(0x80000011u)},
        {"clBtnText", qint32(0x80000012u)},
        {"clInactiveCaptionText", qint32(0x80000013u)},
        {"clBtnHighlight", qint32(0x80000014u)},
        {"cl3DDkShadow", qint32(0x80000015u)},
        {"cl3DLight", qint32(0x80000016u)},
        {"clInfoText", qint32(0x80000017u)},
        {"clInfoBk", qint32(0x80000018u)},
        {"clNone", 0x1FFFFFFF},
    };
    return map;
}

const IdentMap& CharsetIdents()
{
    static const IdentMap map = {
        {"ANSI_CHARSET", 0},        {"DEFAULT_CHARSET", 1},     {"SYMBOL_CHARSET", 2},
        {"MAC_CHARSET", 77},        {"SHIFTJIS_CHARSET", 128},  {"HANGEUL_CHARSET", 129},
        {"JOHAB_CHARSET", 130},     {"GB2312_CHARSET", 134},    {"CHINESEBIG5_CHARSET", 136},
        {"GREEK_CHARSET", 161},     {"TURKISH_CHARSET", 162},   {"HEBREW_CHARSET", 177},
        {"ARABIC_CHARSET", 178},    {"BALTIC_CHARSET", 186},    {"RUSSIAN_CHARSET", 204},
        {"THAI_CHARSET", 222},      {"EASTEUROPE_CHARSET", 238}, {"OEM_CHARSET", 255},
    };
    return map;
}

} // namespace vestrel::store
