#pragma once

#include "res/ControlIds.h"

#include <vector>

enum class ControlKind
{
    PushButton,
    DefaultPushButton,
    Static,
    Icon,
    GroupBox,
    Edit,
    ListBox,
    ComboBox,
    CheckBox,
    RadioButton,
    ProgressBar,
};

// Style bits of a control, as far as the windows use them.
namespace ControlStyle {
inline constexpr unsigned kNone = 0;
inline constexpr unsigned kDisabled = 1u << 0;
inline constexpr unsigned kTabStop = 1u << 1;
inline constexpr unsigned kGroup = 1u << 2;
inline constexpr unsigned kNoPrefix = 1u << 3;
inline constexpr unsigned kCentered = 1u << 4;
inline constexpr unsigned kSunken = 1u << 5;
inline constexpr unsigned kMultiLine = 1u << 6;
inline constexpr unsigned kVScroll = 1u << 7;
inline constexpr unsigned kBorder = 1u << 8;
} // namespace ControlStyle

// One control of a dialog template; positions and sizes in dialog units.
struct ControlTemplate
{
    int id;
    // The id's symbolic name, which becomes the control's objectName; null for IDC_STATIC.
    const char* name;
    ControlKind kind;
    const char* text;
    int x, y, cx, cy;
    unsigned style;
};

// A window's layout: its caption, its size in dialog units and its controls in tab order.
struct DialogTemplate
{
    int id;
    // The id's symbolic name: the context the caption and the controls' texts are translated in.
    const char* name;
    const char* caption;
    int cx, cy;
    std::vector<ControlTemplate> controls;

    static const DialogTemplate& get(int id);
};

inline constexpr int IDD_ABOUTBOX = 100;
inline constexpr int IDD_DIAGNOSTICS = 102;
inline constexpr int IDD_PROGRESS = 383;
inline constexpr int IDD_PLAYER = 384;
