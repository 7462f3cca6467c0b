#pragma once

#include "common/core/string_table.h"

// Qt's own texts (standard buttons of message boxes and file dialogs) in the language of the
// interface: Japanese or Simplified Chinese when the localized block shows that variant, else
// English. Safe to call again after a language switch.
void applyQtTranslations(UiVariant variant, bool localizedBlock);
