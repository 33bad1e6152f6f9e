#include <QApplication>
#include <QDir>
#include <QFont>
#include <QIcon>

#include "app/IdleCheckpoint.h"
#include "app/MainFrame.h"
#include "app/TDM.h"
#include "app/Tmain.h"
#include "app/rules/RecordRules.h"
#include "print/CardPrinting.h"
#include "ui/ChineseTranslations.h"
#include "ui/EnterOnButtons.h"
#include "ui/ProgramWindows.h"
#include "ui/WidgetInteraction.h"

int main(int argc, char** argv)
{
    rsgz::ui::preferChineseDates();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("rsgz"));
    rsgz::ui::installChineseTranslations(app);
    rsgz::ui::installEnterPressesButtons(app);
    QFont font = QApplication::font();
    font.setFamilies({QStringLiteral("WenQuanYi Micro Hei"), QStringLiteral("Noto Sans CJK SC"), font.family()});
    QApplication::setFont(font);
    // Small tool icons come from the desktop's icon theme where it has them.
    QIcon::setFallbackThemeName(QStringLiteral("Adwaita"));

    rsgz::ui::WidgetInteraction interaction;
    rsgz::app::setInteraction(&interaction);

    // The data module first, without a connection; then the main window, whose creation logs in.
    rsgz::app::TDM dm;
    rsgz::app::setDM(&dm);
    rsgz::app::IdleCheckpoint idleCheckpoint(dm.DMADO);
    rsgz::app::bindRecordRules(dm);
    rsgz::app::MainFrame frame(dm);
    frame.create(QDir(QApplication::applicationDirPath()).absolutePath().toStdString() + "/");
    frame.navigation().hooks.readCardParameters = [&dm] { rsgz::print::readCardDefinition(dm); };
    rsgz::app::Tmain w(frame);
    rsgz::ui::registerProgramWindows();
    // A failed or abandoned login ends the program here, without the close-time copy.
    if (frame.LoginFailed) return 0;
    w.showMaximized();
    const int rc = app.exec();
    rsgz::app::setInteraction(nullptr);
    return rc;
}
