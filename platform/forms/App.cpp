#include "platform/forms/App.h"

#include "platform/os/Folders.h"
#include "platform/os/Process.h"

#include <QCoreApplication>
#include <QFont>
#include <QGuiApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QString>
#include <QTranslator>

namespace vb {

std::string AppObject::Path() const { return os::ProgramFolder(); }
long AppObject::ProcessId() const { return os::CurrentProcessId(); }

AppObject& App() {
    static AppObject app;
    return app;
}

void SubstituteOriginalFonts() {
    // Without a window system there are no fonts to choose.
    if (!qobject_cast<QGuiApplication*>(QCoreApplication::instance())) return;
    // Liberation Sans has Arial's metrics. MS Sans Serif, a narrow bitmap face, has no
    // metric twin on Debian; Liberation Sans at its size comes closest (fontconfig's
    // default for an unknown name, DejaVu Sans, is much wider and cuts texts sooner).
    QFont::insertSubstitution(QStringLiteral("Arial"), QStringLiteral("Liberation Sans"));
    QFont::insertSubstitution(QStringLiteral("MS Sans Serif"), QStringLiteral("Liberation Sans"));
}

void LoadToolkitTranslations() {
    static QTranslator* loaded = nullptr;
    QCoreApplication* app = QCoreApplication::instance();
    if (loaded || !app) return;
    auto* translator = new QTranslator(app);
    if (!translator->load(QLocale::system(), QStringLiteral("qtbase"), QStringLiteral("_"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete translator;
        return;
    }
    QCoreApplication::installTranslator(translator);
    loaded = translator;
}

}  // namespace vb
