#include "res/DialogTemplate.h"

#include <map>
#include <stdexcept>

namespace {

using namespace ControlStyle;
using K = ControlKind;

const std::map<int, DialogTemplate>& templates()
{
    static const std::map<int, DialogTemplate> all{
        {IDD_PROGRESS,
         {IDD_PROGRESS,
          "in corso...",
          186,
          47,
          {
              {2, K::PushButton, "Annulla", 70, 26, 45, 14, kTabStop | kDisabled},
              {1014, K::ProgressBar, "Progress1", 7, 7, 172, 11, kBorder},
          }}},
    };
    return all;
}

} // namespace

const DialogTemplate& DialogTemplate::get(int id)
{
    return templates().at(id);
}
