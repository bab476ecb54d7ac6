// The launcher window on the offscreen platform: its form, the resolution
// list built from a display's modes, and how "DEMO" and "Die" end it. "DEMO"
// runs a stand-in program that records what it was given.
#include "launcherresources.h"
#include "mainwindow.h"
#include "systemdisplaymodes.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QLabel>
#include <QMetaMethod>
#include <QPushButton>
#include <QStandardItemModel>
#include <QTemporaryDir>
#include <QTest>
#include <QTranslator>

#include <memory>

namespace
{
class FixedDisplayModes : public DisplayModeSource
{
public:
    explicit FixedDisplayModes(std::vector<DisplayMode> modes) : m_modes(std::move(modes)) {}
    std::vector<DisplayMode> modes() const override { return m_modes; }

private:
    std::vector<DisplayMode> m_modes;
};

// 1920 x 1080 at two depths and two rates, around other sizes.
const FixedDisplayModes MONITOR({{1280, 720, 32, 60},
                                 {1920, 1080, 32, 60},
                                 {1920, 1080, 16, 60},
                                 {800, 600, 32, 60},
                                 {1920, 1080, 32, 75},
                                 {1280, 720, 16, 60},
                                 {1920, 1080, 16, 75}});

class CloseCounter : public QObject
{
public:
    int m_closes = 0;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::Close)
            ++m_closes;
        return QObject::eventFilter(watched, event);
    }
};

// Tags every text asked for in the "MainWindow" context and notes it.
class TaggingTranslator : public QTranslator
{
public:
    mutable QStringList m_asked;

    bool isEmpty() const override { return false; }
    QString translate(const char* context, const char* sourceText, const char*, int) const override
    {
        if (QByteArray(context) != "MainWindow")
            return QString();
        m_asked << QString::fromUtf8(sourceText);
        return "<" + QString::fromUtf8(sourceText) + ">";
    }
};

template <typename Widget>
Widget* child(QWidget& window, const char* name)
{
    auto* widget = window.findChild<Widget*>(name);
    if (!widget)
        qFatal("no %s named %s", Widget::staticMetaObject.className(), name);
    return widget;
}
}

class MainWindowTest : public QObject
{
    Q_OBJECT

private:
    std::unique_ptr<LauncherResources> m_resources;
    std::unique_ptr<QTemporaryDir> m_folder;
    QString m_standIn;
    QString m_record;

    std::unique_ptr<MainWindow> shownWindow(const DisplayModeSource& modes, const QString& program)
    {
        auto window = std::make_unique<MainWindow>(modes, program);
        window->show();
        if (!QTest::qWaitForWindowExposed(window.get()))
            qFatal("the window never showed");
        return window;
    }

    QStringList recordedLines()
    {
        QFile file(m_record);
        if (!file.open(QIODevice::ReadOnly))
            return {};
        return QString::fromUtf8(file.readAll()).split('\n', Qt::SkipEmptyParts);
    }

private slots:
    void initTestCase()
    {
        m_resources = std::make_unique<LauncherResources>();
        // A folder with spaces in its name: the program path must reach the
        // system as one argument, never through a shell.
        m_folder = std::make_unique<QTemporaryDir>(QStringLiteral(SOLENNE_BINARY_DIR "/launcher stand in XXXXXX"));
        QVERIFY(m_folder->isValid());
        m_standIn = m_folder->filePath("demo program");
        m_record = m_folder->filePath("arguments record.txt");
        QVERIFY(QFile::copy(STANDIN_PATH, m_standIn));
        qputenv("SOLENNE_STANDIN_RECORD", QFile::encodeName(m_record));
    }

    void init()
    {
        QFile::remove(m_record);
        qunsetenv("SOLENNE_STANDIN_EXIT");
    }

    void theFormHasItsWidgetsWhereTheyBelong()
    {
        MainWindow window(MONITOR, m_standIn);
        QCOMPARE(window.objectName(), QString("MainWindow"));
        QCOMPARE(window.size(), QSize(310, 324));
        QCOMPARE(window.windowTitle(), QString("KVT Demo Framework :: Solenne"));
        QCOMPARE(window.styleSheet(), QString("QWidget#MainWindow\n{\n\tbackground-color: #fff;\n}"));
        QWidget* central = child<QWidget>(window, "centralWidget");
        QCOMPARE(window.centralWidget(), central);

        struct Expected
        {
            const char* name;
            const char* kind;
            QRect geometry;
        };
        const Expected widgets[] = {{"label", "QLabel", {0, 10, 310, 201}},
                                    {"comboBox", "QComboBox", {80, 230, 221, 22}},
                                    {"label_2", "QLabel", {10, 230, 61, 20}},
                                    {"checkBox", "QCheckBox", {10, 260, 171, 21}},
                                    {"pushButton", "QPushButton", {10, 290, 71, 23}},
                                    {"pushButton_2", "QPushButton", {230, 290, 71, 23}}};
        for (const Expected& expected : widgets) {
            auto* widget = child<QWidget>(window, expected.name);
            QCOMPARE(widget->metaObject()->className(), expected.kind);
            QCOMPARE(widget->parentWidget(), central);
            QCOMPARE(widget->geometry(), expected.geometry);
        }

        auto* logo = child<QLabel>(window, "label");
        QCOMPARE(logo->text(), QString());
        QCOMPARE(logo->alignment(), Qt::AlignCenter);
        QCOMPARE(child<QLabel>(window, "label_2")->text(), QString("Resolution :"));
        QCOMPARE(child<QCheckBox>(window, "checkBox")->text(), QString("Fullscreen"));
        QVERIFY(!child<QCheckBox>(window, "checkBox")->isChecked());
        QCOMPARE(child<QPushButton>(window, "pushButton")->text(), QString("DEMO"));
        QVERIFY(!child<QPushButton>(window, "pushButton")->isEnabled());
        QCOMPARE(child<QPushButton>(window, "pushButton_2")->text(), QString("Die"));
        QVERIFY(child<QPushButton>(window, "pushButton_2")->isEnabled());
    }

    void theLogoIsCompiledInWithTransparency()
    {
        MainWindow window(MONITOR, m_standIn);
        const QPixmap logo = child<QLabel>(window, "label")->pixmap();
        QVERIFY(!logo.isNull());
        QCOMPARE(logo.size(), QSize(214, 192));
        QVERIFY(logo.hasAlphaChannel());
        const QImage image = logo.toImage();
        QCOMPARE(qAlpha(image.pixel(0, 0)), 0);
        QCOMPARE(qAlpha(image.pixel(107, 124)), 255);
    }

    void theSlotsAreTheThreeInOrder()
    {
        const QMetaObject& meta = MainWindow::staticMetaObject;
        QStringList slotNames;
        for (int i = meta.methodOffset(); i < meta.methodCount(); ++i)
            slotNames << QString::fromLatin1(meta.method(i).methodSignature());
        QCOMPARE(slotNames, QStringList({"on_pushButton_2_clicked()", "on_comboBox_currentIndexChanged(int)",
                                         "on_pushButton_clicked()"}));
        QCOMPARE(meta.method(meta.methodOffset() + 1).parameterNames(), QList<QByteArray>({"index"}));
    }

    void everyVisibleTextIsTranslatedAsMainWindow()
    {
        TaggingTranslator translator;
        QCoreApplication::installTranslator(&translator);
        MainWindow window(MONITOR, m_standIn);
        QCoreApplication::removeTranslator(&translator);

        QCOMPARE(window.windowTitle(), QString("<KVT Demo Framework :: Solenne>"));
        QCOMPARE(child<QLabel>(window, "label_2")->text(), QString("<Resolution :>"));
        QCOMPARE(child<QCheckBox>(window, "checkBox")->text(), QString("<Fullscreen>"));
        QCOMPARE(child<QPushButton>(window, "pushButton")->text(), QString("<DEMO>"));
        QCOMPARE(child<QPushButton>(window, "pushButton_2")->text(), QString("<Die>"));
        auto* combo = child<QComboBox>(window, "comboBox");
        QCOMPARE(combo->itemText(0), QString("<== Select a resolution ==>"));
        // The translated placeholder is the one disabled.
        auto* model = qobject_cast<QStandardItemModel*>(combo->model());
        QVERIFY(!model->item(0)->isEnabled());
        QVERIFY(translator.m_asked.contains("== Select a resolution =="));
    }

    void repeatedSizesGiveOneEntryWhereTheyFirstAppear()
    {
        MainWindow window(MONITOR, m_standIn);
        auto* combo = child<QComboBox>(window, "comboBox");
        QStringList entries;
        for (int i = 0; i < combo->count(); ++i)
            entries << combo->itemText(i);
        QCOMPARE(entries, QStringList({"== Select a resolution ==", "1280 * 720", "1920 * 1080", "800 * 600"}));
        QCOMPARE(combo->currentIndex(), 0);
        auto* model = qobject_cast<QStandardItemModel*>(combo->model());
        QVERIFY(!model->item(0)->isEnabled());
        for (int i = 1; i < combo->count(); ++i)
            QVERIFY(model->item(i)->isEnabled());
    }

    void withoutADisplayTheSystemReportsNoModes()
    {
        const bool hadDisplay = qEnvironmentVariableIsSet("DISPLAY");
        const QByteArray display = qgetenv("DISPLAY");
        qputenv("DISPLAY", ":none");
        const std::vector<DisplayMode> modes = SystemDisplayModes().modes();
        if (hadDisplay)
            qputenv("DISPLAY", display);
        else
            qunsetenv("DISPLAY");
        QVERIFY(modes.empty());
    }

    void noModesLeaveOnlyThePlaceholderAndNoDemo()
    {
        const FixedDisplayModes none({});
        auto window = shownWindow(none, m_standIn);
        auto* combo = child<QComboBox>(*window, "comboBox");
        QCOMPARE(combo->count(), 1);
        QVERIFY(!qobject_cast<QStandardItemModel*>(combo->model())->item(0)->isEnabled());
        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 0);
        QVERIFY(!child<QPushButton>(*window, "pushButton")->isEnabled());

        // Even called directly, the start has no size to pass and does nothing.
        QVERIFY(QMetaObject::invokeMethod(window.get(), "on_pushButton_clicked"));
        QVERIFY(window->isVisible());
        QVERIFY(!QFile::exists(m_record));
    }

    void choosingAnEntryEnablesDemoForGood()
    {
        auto window = shownWindow(MONITOR, m_standIn);
        auto* combo = child<QComboBox>(*window, "comboBox");
        auto* demo = child<QPushButton>(*window, "pushButton");

        QTest::keyClick(combo, Qt::Key_Down);
        QCOMPARE(combo->currentIndex(), 1);
        QVERIFY(demo->isEnabled());

        // The placeholder is skipped from the keyboard like from the list.
        QTest::keyClick(combo, Qt::Key_Up);
        QTest::keyClick(combo, Qt::Key_Home);
        QCOMPARE(combo->currentIndex(), 1);

        combo->setCurrentIndex(0);
        QVERIFY(demo->isEnabled());
    }

    void demoRunsTheProgramWithTheChosenSwitches_data()
    {
        QTest::addColumn<int>("entry");
        QTest::addColumn<bool>("fullscreen");
        QTest::addColumn<QStringList>("arguments");
        QTest::newRow("first entry, windowed") << 1 << false << QStringList({"-w", "1280", "-h", "720"});
        QTest::newRow("second entry, full-screen") << 2 << true << QStringList({"-w", "1920", "-h", "1080", "-f"});
        QTest::newRow("last entry, full-screen") << 3 << true << QStringList({"-w", "800", "-h", "600", "-f"});
    }

    void demoRunsTheProgramWithTheChosenSwitches()
    {
        QFETCH(int, entry);
        QFETCH(bool, fullscreen);
        QFETCH(QStringList, arguments);

        auto window = shownWindow(MONITOR, m_standIn);
        CloseCounter closes;
        window->installEventFilter(&closes);
        child<QComboBox>(*window, "comboBox")->setCurrentIndex(entry);
        if (fullscreen) {
            // On the box itself: the check box reacts to its box and text only.
            auto* box = child<QCheckBox>(*window, "checkBox");
            QTest::mouseClick(box, Qt::LeftButton, {}, QPoint(8, box->height() / 2));
            QVERIFY(box->isChecked());
        }
        QTest::mouseClick(child<QPushButton>(*window, "pushButton"), Qt::LeftButton);

        const QStringList lines = recordedLines();
        QVERIFY2(!lines.isEmpty(), "the program did not run");
        QCOMPARE(lines.first(), "cwd " + QDir::currentPath());
        QCOMPARE(lines.mid(1), arguments);
        QVERIFY(!window->isVisible());
        QCOMPARE(closes.m_closes, 1);
    }

    void theWindowClosesWhateverBecomesOfTheProgram_data()
    {
        QTest::addColumn<QString>("program");
        QTest::addColumn<QByteArray>("exitCode");
        QTest::addColumn<bool>("runs");
        QTest::newRow("ends with an error") << m_standIn << QByteArray("3") << true;
        QTest::newRow("cannot be started") << m_folder->filePath("no such program") << QByteArray() << false;
        QTest::newRow("is not a program") << m_folder->path() << QByteArray() << false;
    }

    void theWindowClosesWhateverBecomesOfTheProgram()
    {
        QFETCH(QString, program);
        QFETCH(QByteArray, exitCode);
        QFETCH(bool, runs);
        if (!exitCode.isEmpty())
            qputenv("SOLENNE_STANDIN_EXIT", exitCode);

        auto window = shownWindow(MONITOR, program);
        CloseCounter closes;
        window->installEventFilter(&closes);
        child<QComboBox>(*window, "comboBox")->setCurrentIndex(1);
        QTest::mouseClick(child<QPushButton>(*window, "pushButton"), Qt::LeftButton);

        QCOMPARE(QFile::exists(m_record), runs);
        QVERIFY(!window->isVisible());
        QCOMPARE(closes.m_closes, 1);
    }

    void dieClosesWithoutRunningAnything()
    {
        auto window = shownWindow(MONITOR, m_standIn);
        CloseCounter closes;
        window->installEventFilter(&closes);
        child<QComboBox>(*window, "comboBox")->setCurrentIndex(2);
        QTest::mouseClick(child<QPushButton>(*window, "pushButton_2"), Qt::LeftButton);

        QVERIFY(!window->isVisible());
        QCOMPARE(closes.m_closes, 1);
        QVERIFY(!QFile::exists(m_record));
    }
};

QTEST_MAIN(MainWindowTest)
#include "mainwindow_test.moc"
