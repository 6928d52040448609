#pragma once

#include <QString>

// The program's string table: the About entry of the system menu and the names of the stored values.
inline constexpr int IDS_ABOUTBOX = 101;
inline constexpr int IDS_CONFIG1 = 102;
inline constexpr int IDS_CONFIG2 = 103;
inline constexpr int IDS_BRANO1 = 104;
inline constexpr int IDS_CONFIG3 = 108;

class StringTable
{
public:
    // The entry's text; empty for an id the table does not hold.
    static QString load(int id);

    // Lets a test see how the program copes with another text for an entry (an empty one, say).
    static void setOverride(int id, const QString& text);
    static void clearOverrides();
};
