// Translations of the command-line tools' messages (GNU gettext, text
// domain "bbcolour"). English is the default; a zh_CN locale gets Chinese.
#pragma once

#include <libintl.h>

namespace bbcolour::i18n {

// Sets the locale from the environment and finds the catalogues: beside the
// program first (PREFIX/bin/../share/locale, which is also where the build
// tree keeps them), then the folder the build was configured to install to.
void InitTranslations();

}  // namespace bbcolour::i18n

// A message in the user's language.
#define _(text) gettext(text)
// Marks a message for translation where it is chosen, translated where shown.
#define N_(text) text
