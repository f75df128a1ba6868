#pragma once

#include <QProcessEnvironment>
#include <QString>

namespace tessaly {

// Language and country of the locale that the environment names (LC_ALL,
// LC_MESSAGES, then LANG, the first that is set and not empty), for example
// "de-DE" for de_DE.UTF-8. "en-US" when none is set, for C and POSIX, and for
// a language that is not known here.
QString localeTagFrom(const QProcessEnvironment& environment);

// The tag of the locale that the program found at start.
QString LocaleTag();

} // namespace tessaly
