#include "res/DialogTemplate.h"

#include <QtGlobal>

#include <map>
#include <stdexcept>

namespace {

using namespace ControlStyle;
using K = ControlKind;

// An id with its symbolic name, as the template's entry takes them. A dialog's name is also the context of
// its texts in the translations, which the builder looks them up in.
#define ID(id) id, #id
#define NO_ID IDC_STATIC, nullptr

const std::map<int, DialogTemplate>& templates()
{
    static const std::map<int, DialogTemplate> all{
        {IDD_ABOUTBOX,
         {ID(IDD_ABOUTBOX),
          QT_TRANSLATE_NOOP("IDD_ABOUTBOX", "Informazioni su Zoffino USB"),
          235,
          55,
          {
              {NO_ID, K::Icon, "", 11, 17, 20, 20, kNone},
              {NO_ID, K::Static,
               QT_TRANSLATE_NOOP("IDD_ABOUTBOX", "Programma Gestione Zoffino USB versione 1.0"), 40, 15, 119,
               8, kGroup | kNoPrefix},
              {NO_ID, K::Static, QT_TRANSLATE_NOOP("IDD_ABOUTBOX", "Copyright (C) 2026 Quenmark Audio"), 40,
               29, 137, 8, kGroup},
              {ID(IDOK), K::DefaultPushButton, QT_TRANSLATE_NOOP("IDD_ABOUTBOX", "OK"), 184, 34, 44, 14,
               kGroup | kTabStop},
          }}},
        {IDD_DIAGNOSTICS,
         {ID(IDD_DIAGNOSTICS),
          QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Diagnostica Zoffino USB"),
          326,
          231,
          {
              {ID(IDC_TIPO1), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Tipo 1"), 7, 7, 45, 13,
               kTabStop},
              {ID(IDC_TIPO2), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Tipo 2"), 7, 25, 45, 13,
               kTabStop},
              {ID(IDC_TIPO8), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Tipo 8"), 7, 43, 45, 13,
               kTabStop},
              {ID(IDC_TIPO13_TEST), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Tipo 13 test"), 61,
               25, 45, 13, kTabStop},
              {ID(IDC_EEW), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "EEW"), 61, 43, 21, 13,
               kTabStop},
              {ID(IDC_EER), K::PushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "EER"), 86, 43, 21, 13,
               kTabStop},
              {NO_ID, K::GroupBox, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Byte inviati"), 113, 7, 206, 57,
               kNone},
              {ID(IDC_SENT), K::Edit, "", 117, 18, 197, 40, kMultiLine | kBorder | kVScroll | kTabStop},
              {NO_ID, K::GroupBox, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Byte ricevuti"), 7, 74, 211, 57,
               kNone},
              {ID(IDC_RECEIVED), K::Edit, "", 14, 86, 197, 40, kMultiLine | kBorder | kVScroll | kTabStop},
              {ID(IDC_LOG), K::ListBox, "", 7, 139, 312, 58, kBorder | kVScroll | kTabStop},
              {ID(IDC_CHIUDI), K::DefaultPushButton, QT_TRANSLATE_NOOP("IDD_DIAGNOSTICS", "Chiudi"), 146, 208,
               44, 16, kTabStop},
          }}},
        {IDD_PROGRESS,
         {ID(IDD_PROGRESS),
          QT_TRANSLATE_NOOP("IDD_PROGRESS", "in corso..."),
          186,
          69,
          {
              {ID(IDCANCEL), K::PushButton, QT_TRANSLATE_NOOP("IDD_PROGRESS", "Annulla"), 70, 48, 45, 14,
               kTabStop | kDisabled},
              {ID(IDC_PROGRESS), K::ProgressBar, "Progress1", 7, 7, 172, 11, kBorder},
              {ID(IDC_PROGRESS_DETAIL), K::Static, "", 7, 22, 172, 9, kNoPrefix},
              {ID(IDC_PROGRESS_TIME), K::Static, "", 7, 33, 172, 9, kNoPrefix},
          }}},
        {IDD_PLAYER,
         {ID(IDD_PLAYER),
          QT_TRANSLATE_NOOP("IDD_PLAYER", "Gestione Zoffino USB"),
          257,
          141,
          {
              {ID(IDC_TRACK_LABEL), K::Static, QT_TRANSLATE_NOOP("IDD_PLAYER", "Brano:"), 7, 7, 23, 9,
               kGroup},
              {ID(IDC_TRACK), K::ComboBox, QT_TRANSLATE_NOOP("IDD_PLAYER", "Brano 1"), 7, 20, 138, 51,
               kTabStop | kVScroll},
              {ID(IDC_LOAD), K::PushButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "Carica file..."), 156, 20, 45,
               13, kTabStop | kDisabled},
              {ID(IDC_DEFAULT), K::CheckBox, QT_TRANSLATE_NOOP("IDD_PLAYER", "Default"), 213, 23, 37, 8,
               kTabStop | kDisabled},
              {ID(IDC_PARTITION_1), K::RadioButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "&1 brano"), 12, 41, 34,
               11, kGroup | kTabStop},
              {ID(IDC_PARTITION_2), K::RadioButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "&2 brani"), 48, 41, 34,
               11, kNone},
              {ID(IDC_PARTITION_4), K::RadioButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "&4 brani"), 83, 41, 34,
               11, kNone},
              {ID(IDC_PARTITION_8), K::RadioButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "&8 brani"), 118, 41, 34,
               11, kNone},
              {ID(IDC_LOOP), K::CheckBox, QT_TRANSLATE_NOOP("IDD_PLAYER", "&Loop"), 156, 42, 29, 9,
               kGroup | kTabStop},
              {ID(IDC_PLAY), K::PushButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "Suona"), 7, 59, 40, 13,
               kTabStop | kDisabled},
              {ID(IDC_CAPACITY), K::Static, "", 52, 61, 100, 9, kNone},
              {ID(IDC_DIAGNOSTICS), K::PushButton, QT_TRANSLATE_NOOP("IDD_PLAYER", "Diagnostica"), 158, 58,
               42, 13, kTabStop},
              {ID(IDC_DEVICE_TEXT), K::Static, "", 7, 98, 243, 22, kGroup | kCentered | kSunken},
          }}},
    };
    return all;
}

#undef ID
#undef NO_ID

} // namespace

const DialogTemplate& DialogTemplate::get(int id)
{
    return templates().at(id);
}
