#pragma once

class QCoreApplication;
class QObject;

namespace rsgz::shell {

// Loads the toolkit's own Chinese texts (file dialogs, standard buttons, context menus of the text
// boxes) from the system's translation folder and installs them in the application, with the few
// texts that catalogue lacks. The translators are children of the object returned, itself a child
// of the application; deleting it takes them out again. nullptr when the translations are not on
// the machine: the standard dialogs then stay in English. Either way the default locale becomes
// Chinese (China), so the dialogs show their dates and sizes the Chinese way.
QObject* installChineseTranslations(QCoreApplication& app);

// The file dialogs show modification dates in the system locale's time format, read from the
// environment once, before the application object exists: call this first thing in main. Only the
// time format becomes Chinese (numbers are never read or written through a locale here); an
// explicit LC_ALL of the user's is left alone.
void preferChineseDates();

}  // namespace rsgz::shell
