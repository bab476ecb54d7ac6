// The real launcher program on its own Xvfb (platform xcb), driven through
// xdotool as a viewer would: it lists the server's modes, runs the demo
// program that sits beside it with the chosen switches while its window is
// hidden, and ends when the demo ends, also when there is no demo to run.
// Saves a screenshot of the window as the viewer sees it.
#include "systemdisplaymodes.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <QTemporaryDir>
#include <QTest>

#include <memory>

namespace
{
const char* WINDOW_TITLE = "^KVT Demo Framework :: Solenne$";
const int WAIT_MS = 20000;

// Runs a helper program to its end; its standard output, trimmed.
QString runTool(const QString& program, const QStringList& arguments, int* exitCode = nullptr)
{
    QProcess tool;
    tool.start(program, arguments);
    if (!tool.waitForFinished(10000)) {
        tool.kill();
        tool.waitForFinished();
        qWarning("%s did not finish", qPrintable(program));
    }
    if (exitCode)
        *exitCode = tool.exitStatus() == QProcess::NormalExit ? tool.exitCode() : -1;
    return QString::fromLocal8Bit(tool.readAllStandardOutput()).trimmed();
}

QString visibleLauncherWindow()
{
    return runTool("xdotool", {"search", "--onlyvisible", "--name", WINDOW_TITLE}).section('\n', 0, 0);
}

void clickAt(const QString& window, int x, int y)
{
    runTool("xdotool", {"mousemove", "--window", window, QString::number(x), QString::number(y), "click", "1"});
}

void pressKeys(const QStringList& keys)
{
    runTool("xdotool", QStringList{"key", "--delay", "50"} + keys);
}

QImage screenshot(const QString& window, const QString& path)
{
    runTool("import", {"-window", window, path});
    return QImage(path);
}

bool isWhite(QRgb pixel)
{
    return qRed(pixel) > 245 && qGreen(pixel) > 245 && qBlue(pixel) > 245;
}

// Painted: white ground from the style sheet and the logo's yellow sun.
bool looksPainted(const QImage& image)
{
    if (image.size() != QSize(310, 324))
        return false;
    const QRgb sun = image.pixel(155, 70);
    return isWhite(image.pixel(5, 5)) && isWhite(image.pixel(300, 100)) && qRed(sun) > 200 && qBlue(sun) < 150;
}

bool hasDarkPixels(const QImage& image, const QRect& area)
{
    for (int y = area.top(); y <= area.bottom(); ++y) {
        for (int x = area.left(); x <= area.right(); ++x) {
            if (qGray(image.pixel(x, y)) < 100)
                return true;
        }
    }
    return false;
}
}

class LauncherProgramTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<QTemporaryDir> m_folder;
    std::unique_ptr<QProcess> m_launcher;
    QString m_demoFolder;
    QString m_record;
    QString m_release;

    // A launcher folder (with spaces in its path) holding a copy of the
    // launcher and, when asked, the stand-in under the demo program's name.
    void startLauncher(bool withDemoProgram)
    {
        m_folder = std::make_unique<QTemporaryDir>(QStringLiteral(SOLENNE_BINARY_DIR "/launcher run XXXXXX"));
        QVERIFY(m_folder->isValid());
        const QString launcher = m_folder->filePath("launcher");
        QVERIFY(QFile::copy(LAUNCHER_PATH, launcher));
        if (withDemoProgram)
            QVERIFY(QFile::copy(STANDIN_PATH, m_folder->filePath("quillon")));
        m_demoFolder = m_folder->filePath("demo folder");
        QVERIFY(QDir().mkpath(m_demoFolder));
        m_record = m_folder->filePath("arguments record.txt");
        m_release = m_folder->filePath("release");

        QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
        environment.insert("QT_QPA_PLATFORM", "xcb");
        environment.insert("SOLENNE_STANDIN_RECORD", m_record);
        environment.insert("SOLENNE_STANDIN_RELEASE", m_release);
        m_launcher = std::make_unique<QProcess>();
        m_launcher->setProcessEnvironment(environment);
        m_launcher->setWorkingDirectory(m_demoFolder);
        m_launcher->setProcessChannelMode(QProcess::ForwardedChannels);
        m_launcher->start(launcher, {});
        QVERIFY(m_launcher->waitForStarted());
    }

    // The launcher's window once it is on screen and painted.
    QString paintedWindow()
    {
        QElapsedTimer timer;
        timer.start();
        const QString probe = m_folder->filePath("probe.png");
        while (timer.elapsed() < WAIT_MS) {
            const QString window = visibleLauncherWindow();
            if (!window.isEmpty() && looksPainted(screenshot(window, probe)))
                return window;
            QTest::qWait(100);
        }
        return QString();
    }

    // Ticks "Fullscreen" on its box, steps back to the resolutions and takes
    // the first real entry from the keyboard.
    void chooseFirstEntryFullscreen(const QString& window)
    {
        runTool("xdotool", {"windowfocus", window});
        clickAt(window, 18, 270);
        pressKeys({"shift+Tab", "Down"});
        QTest::qWait(500);
    }

    bool waitForFile(const QString& path)
    {
        QElapsedTimer timer;
        timer.start();
        while (!QFile::exists(path) && timer.elapsed() < WAIT_MS)
            QTest::qWait(50);
        return QFile::exists(path);
    }

    bool waitUntilHidden()
    {
        QElapsedTimer timer;
        timer.start();
        while (!visibleLauncherWindow().isEmpty() && timer.elapsed() < WAIT_MS)
            QTest::qWait(50);
        return visibleLauncherWindow().isEmpty();
    }

    QStringList recordedLines()
    {
        QFile file(m_record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

    void verifyLauncherEndsCleanly()
    {
        QVERIFY2(m_launcher->waitForFinished(WAIT_MS), "the launcher did not end");
        QCOMPARE(m_launcher->exitStatus(), QProcess::NormalExit);
        QCOMPARE(m_launcher->exitCode(), 0);
    }

private slots:
    void cleanup()
    {
        if (m_launcher && m_launcher->state() != QProcess::NotRunning) {
            QFile release(m_release);
            release.open(QIODevice::WriteOnly);
            m_launcher->kill();
            m_launcher->waitForFinished();
        }
        m_launcher.reset();
        m_folder.reset();
    }

    void theServerReportsItsScreenMode()
    {
        const std::vector<DisplayMode> modes = SystemDisplayModes().modes();
        QVERIFY(!modes.empty());
        bool screenSizeListed = false;
        for (const DisplayMode& mode : modes) {
            QVERIFY(mode.width > 0 && mode.height > 0);
            QCOMPARE(mode.bitsPerPixel, 24);
            screenSizeListed = screenSizeListed || (mode.width == 1920 && mode.height == 1080);
        }
        QVERIFY(screenSizeListed);
    }

    void demoRunsBesideTheHiddenLauncherWhichThenEnds()
    {
        startLauncher(true);
        const QString window = paintedWindow();
        QVERIFY2(!window.isEmpty(), "the launcher window never showed");
        chooseFirstEntryFullscreen(window);

        const QImage shown = screenshot(window, SCREENSHOT_PATH);
        qInfo("screenshot: %s", SCREENSHOT_PATH);
        QVERIFY(looksPainted(shown));
        QVERIFY2(hasDarkPixels(shown, QRect(90, 234, 120, 14)), "no resolution entry on show");
        QVERIFY2(hasDarkPixels(shown, QRect(12, 232, 50, 16)), "no label text");

        clickAt(window, 45, 301);
        QVERIFY2(waitForFile(m_record), "the demo program did not run");
        QVERIFY2(waitUntilHidden(), "the window stayed on screen while the demo ran");
        QCOMPARE(m_launcher->state(), QProcess::Running);

        QFile release(m_release);
        QVERIFY(release.open(QIODevice::WriteOnly));
        release.close();
        verifyLauncherEndsCleanly();

        const DisplayMode first = SystemDisplayModes().modes().front();
        const QStringList lines = recordedLines();
        QCOMPARE(lines.value(0), "cwd " + QFileInfo(m_demoFolder).canonicalFilePath());
        QCOMPARE(lines.mid(1), QStringList({"-w", QString::number(first.width), "-h",
                                            QString::number(first.height), "-f"}));
    }

    void withoutADemoProgramTheLauncherStillEnds()
    {
        startLauncher(false);
        const QString window = paintedWindow();
        QVERIFY2(!window.isEmpty(), "the launcher window never showed");
        chooseFirstEntryFullscreen(window);
        clickAt(window, 45, 301);
        verifyLauncherEndsCleanly();
        QVERIFY(!QFile::exists(m_record));
    }

    void dieEndsTheLauncherWithoutADemo()
    {
        startLauncher(true);
        const QString window = paintedWindow();
        QVERIFY2(!window.isEmpty(), "the launcher window never showed");
        clickAt(window, 265, 301);
        verifyLauncherEndsCleanly();
        QVERIFY(!QFile::exists(m_record));
    }
};

QTEST_GUILESS_MAIN(LauncherProgramTest)
#include "launcher_program_test.moc"
