#pragma once

class QCoreApplication;
class QTranslator;

namespace rsgz::ui {

// Loads the toolkit's own Chinese texts (file dialogs, standard buttons, context menus of the text
// boxes) from the system's translation folder and installs them in the application, which owns
// the translator returned. nullptr when the translations are not on the machine: the standard
// dialogs then stay in English and nothing else changes.
QTranslator* installChineseTranslations(QCoreApplication& app);

}  // namespace rsgz::ui
