#include "res/DialogTemplate.h"

#include <map>
#include <stdexcept>

namespace {

using namespace ControlStyle;
using K = ControlKind;

const std::map<int, DialogTemplate>& templates()
{
    static const std::map<int, DialogTemplate> all{
        {IDD_ABOUTBOX,
         {IDD_ABOUTBOX,
          "Informazioni su Zoffino USB",
          235,
          55,
          {
              {IDC_STATIC, K::Icon, "", 11, 17, 20, 20, kNone},
              {IDC_STATIC, K::Static, "Programma Gestione Zoffino USB versione 1.0", 40, 15, 119, 8,
               kGroup | kNoPrefix},
              {IDC_STATIC, K::Static, "Copyright (C) 2026 Quenmark Audio", 40, 29, 137, 8, kGroup},
              {ID_DIALOG_OK, K::DefaultPushButton, "OK", 184, 34, 44, 14, kGroup | kTabStop},
          }}},
        {IDD_DIAGNOSTICS,
         {IDD_DIAGNOSTICS,
          "Diagnostica Zoffino USB",
          326,
          231,
          {
              {1007, K::PushButton, "Tipo 1", 7, 7, 45, 13, kTabStop},
              {1017, K::PushButton, "Tipo 2", 7, 25, 45, 13, kTabStop},
              {1018, K::PushButton, "Tipo 8", 7, 43, 45, 13, kTabStop},
              {1021, K::PushButton, "Tipo 13 test", 61, 25, 45, 13, kTabStop},
              {1022, K::PushButton, "EEW", 61, 43, 21, 13, kTabStop},
              {1023, K::PushButton, "EER", 86, 43, 21, 13, kTabStop},
              {IDC_STATIC, K::GroupBox, "Byte inviati", 113, 7, 206, 57, kNone},
              {1028, K::Edit, "", 117, 18, 197, 40, kMultiLine | kBorder | kVScroll | kTabStop},
              {IDC_STATIC, K::GroupBox, "Byte ricevuti", 7, 74, 211, 57, kNone},
              {1027, K::Edit, "", 14, 86, 197, 40, kMultiLine | kBorder | kVScroll | kTabStop},
              {1019, K::ListBox, "", 7, 139, 312, 58, kBorder | kVScroll | kTabStop},
              {1035, K::DefaultPushButton, "Chiudi", 146, 208, 44, 16, kTabStop},
          }}},
        {IDD_PROGRESS,
         {IDD_PROGRESS,
          "in corso...",
          186,
          47,
          {
              {ID_DIALOG_CANCEL, K::PushButton, "Annulla", 70, 26, 45, 14, kTabStop | kDisabled},
              {1014, K::ProgressBar, "Progress1", 7, 7, 172, 11, kBorder},
          }}},
        {IDD_PLAYER,
         {IDD_PLAYER,
          "Gestione Zoffino USB",
          257,
          141,
          {
              {IDC_STATIC, K::Static, "Brano:", 7, 7, 23, 9, kGroup},
              {1029, K::ComboBox, "Brano 1", 7, 20, 138, 51, kTabStop | kVScroll},
              {1020, K::PushButton, "Carica file...", 156, 20, 45, 13, kTabStop | kDisabled},
              {1033, K::CheckBox, "Default", 213, 23, 37, 8, kTabStop | kDisabled},
              {1031, K::RadioButton, "&1 brano", 12, 41, 34, 11, kGroup | kTabStop},
              {1032, K::RadioButton, "&2 brani", 48, 41, 34, 11, kNone},
              {1035, K::RadioButton, "&4 brani", 83, 41, 34, 11, kNone},
              {1036, K::RadioButton, "&8 brani", 118, 41, 34, 11, kNone},
              {1030, K::CheckBox, "&Loop", 156, 42, 29, 9, kGroup | kTabStop},
              {1007, K::PushButton, "Suona", 7, 59, 40, 13, kTabStop | kDisabled},
              {1023, K::PushButton, "Diagnostica", 158, 58, 42, 13, kTabStop},
              {1034, K::Static, "", 7, 98, 243, 22, kGroup | kCentered | kSunken},
          }}},
    };
    return all;
}

} // namespace

const DialogTemplate& DialogTemplate::get(int id)
{
    return templates().at(id);
}
