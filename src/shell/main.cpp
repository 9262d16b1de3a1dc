#include "app/StartupOptions.h"
#include "formats/TableDump.h"
#include "res/StringTable.h"
#include "shell/AppStyle.h"
#include "shell/BookScheme.h"
#include "shell/EndRequests.h"
#include "shell/MainWindow.h"
#include "shell/SingleInstance.h"
#include "store/DataFile.h"

#include <QApplication>
#include <QMessageBox>

#include <cstdio>
#include <unistd.h>

namespace {

// Messages of Qt and the web engine reach the terminal only when they are critical.
void OnlyCriticalMessages(QtMsgType type, const QMessageLogContext&, const QString& message) {
    if (type == QtCriticalMsg || type == QtFatalMsg)
        std::fprintf(stderr, "%s\n", qPrintable(message));
}

void SetUnlessSet(const char* name, const QByteArray& value) {
    if (!qEnvironmentVariableIsSet(name))
        qputenv(name, value);
}

// Must run before the application object is made.
void PrepareWebEngine() {
    // Chromium refuses to start its sandbox as root; the text view shows only local files.
    if (geteuid() == 0)
        SetUnlessSet("QTWEBENGINE_DISABLE_SANDBOX", "1");
    // Without it the book's text is invisible to a screen reader on Linux.
    SetUnlessSet("QTWEBENGINE_ENABLE_LINUX_ACCESSIBILITY", "1");
    // A quiet start: the web engine's and Qt's chatter only when TOLVARO_DEBUG asks for it.
    if (qEnvironmentVariableIsEmpty("TOLVARO_DEBUG")) {
        const QByteArray flags = qgetenv("QTWEBENGINE_CHROMIUM_FLAGS");
        qputenv("QTWEBENGINE_CHROMIUM_FLAGS", flags + " --log-level=3");
        qInstallMessageHandler(&OnlyCriticalMessages);
    }
    QCoreApplication::setAttribute(Qt::AA_ShareOpenGLContexts);
    tolvaro::RegisterBookScheme();
}

// Prints a data file's lines for support; the files themselves are scrambled.
int ShowDataFile(const QString& path) {
    const std::optional<QStringList> lines = tolvaro::datafile::ReadLines(path);
    if (!lines) {
        std::fprintf(stderr, "Cannot read %s.\n", qPrintable(path));
        return 1;
    }
    for (const QString& line : *lines)
        std::printf("%s\n", line.toUtf8().constData());
    return 0;
}

QStringList Arguments(int argc, char** argv) {
    QStringList list;
    for (int i = 1; i < argc; ++i)
        list.append(QString::fromLocal8Bit(argv[i]));
    return list;
}

} // namespace

int main(int argc, char** argv) {
    using namespace tolvaro;
    const ArgumentRequest request = ParseArguments(Arguments(argc, argv));
    if (request.help) {
        std::fputs(qPrintable(UsageText()), stdout);
        return 0;
    }
    if (request.version) {
        std::puts("Tolvaro 2.1.1");
        return 0;
    }
    if (!request.showData.isEmpty())
        return ShowDataFile(request.showData);
    if (!request.dumpTables.isEmpty()) {
        std::string out, error;
        const int status = DumpTables(request.dumpTables, out, error);
        std::fwrite(out.data(), 1, out.size(), stdout);
        std::fputs(error.c_str(), stderr);
        return status;
    }
    if (!request.error.isEmpty()) {
        std::fprintf(stderr, "%s\n%s", qPrintable(request.error), qPrintable(UsageText()));
        return 2;
    }

    PrepareWebEngine();
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Tolvaro"));
    QApplication::setApplicationVersion(QStringLiteral("2.1.1"));
    QApplication::setOrganizationName(QStringLiteral("Ostrila"));
    QApplication::setStyle(new AppStyle); // the application owns its style

    SingleInstance instance(SingleInstance::DefaultName());
    if (!instance.TryBecomePrimary()) {
        QMessageBox::information(nullptr, QStringLiteral("Tolvaro"),
                                 LoadString(kStrAlreadyRunning));
        instance.AskPrimaryToRaise();
        return 0;
    }

    MainWindow window;
    QObject::connect(&instance, &SingleInstance::RaiseRequested, &window,
                     [&window] { window.BringForward(); });
    StartupInfo startup;
    startup.programFolder = ProgramFolderFor(QCoreApplication::applicationDirPath());
    startup.dataFolder =
        DataFolderFor(qEnvironmentVariable("APPDATA"), qEnvironmentVariable("XDG_DATA_HOME"),
                      qEnvironmentVariable("HOME"));
    startup.bookFolder = request.bookFolder;
    startup.localeName = QLocale::system().name();
    EndRequests ends;
    QObject::connect(&ends, &EndRequests::Requested, &window, &MainWindow::EndOnRequest);
    window.Start(startup);
    return app.exec();
}
