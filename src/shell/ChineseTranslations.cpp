#include "shell/ChineseTranslations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include <cstring>

namespace rsgz::shell {

namespace {

// Texts of the file dialogs that the system's catalogue does not carry (the type column names a
// folder "Folder").
class CatalogueGaps : public QTranslator {
public:
    using QTranslator::QTranslator;
    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* source, const char* = nullptr, int = -1) const override
    {
        static const struct {
            const char* context;
            const char* source;
            const char* chinese;
        } gaps[] = {
            {"QAbstractFileIconProvider", "Drive", "驱动器"},
            {"QAbstractFileIconProvider", "Folder", "文件夹"},
            {"QAbstractFileIconProvider", "File Folder", "文件夹"},
            {"QAbstractFileIconProvider", "Shortcut", "快捷方式"},
            {"QAbstractFileIconProvider", "Unknown", "未知"},
        };
        for (const auto& g : gaps)
            if (std::strcmp(context, g.context) == 0 && std::strcmp(source, g.source) == 0) return QString::fromUtf8(g.chinese);
        return {};
    }
};

}  // namespace

void preferChineseDates()
{
    if (qEnvironmentVariableIsEmpty("LC_ALL")) qputenv("LC_TIME", "zh_CN.UTF-8");
}

QObject* installChineseTranslations(QCoreApplication& app)
{
    // The dialogs' own dates, times and sizes follow the default locale, not the translations.
    QLocale::setDefault(QLocale(QLocale::Chinese, QLocale::China));
    const QString folder = QLibraryInfo::path(QLibraryInfo::TranslationsPath);
    auto* owner = new QObject(&app);
    // qt_zh_CN gathers the module catalogues (qtbase_zh_CN holds the dialogs and buttons); where
    // only the latter is installed it is loaded alone.
    for (const QString& name : {QStringLiteral("qt_zh_CN"), QStringLiteral("qtbase_zh_CN")}) {
        auto* t = new QTranslator(owner);
        if (t->load(name, folder) && QCoreApplication::installTranslator(t)) {
            QCoreApplication::installTranslator(new CatalogueGaps(owner));
            return owner;
        }
        delete t;
    }
    delete owner;
    return nullptr;
}

}  // namespace rsgz::shell
