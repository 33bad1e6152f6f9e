#include "ui/ChineseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

namespace rsgz::ui {

QTranslator* installChineseTranslations(QCoreApplication& app)
{
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    // qt_zh_CN gathers the module catalogues (qtbase_zh_CN holds the dialogs and buttons); where
    // only the latter is installed it is loaded alone.
    for (const QString& name : {QStringLiteral("qt_zh_CN"), QStringLiteral("qtbase_zh_CN")}) {
        auto* t = new QTranslator(&app);
        if (t->load(name, folder) && QCoreApplication::installTranslator(t)) return t;
        delete t;
    }
    return nullptr;
}

}  // namespace rsgz::ui
