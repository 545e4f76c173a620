// The rescue desktop's real windows on the offscreen platform, driven by object name over a
// planted offline installation: choosing it, scanning, checking, deleting, restoring.
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QProgressBar>
#include <QStackedWidget>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>

#include "GuiDriver.h"
#include "PlantedImage.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDesktopApp.h"

using namespace vedozer;
using namespace vedozer::test;
namespace fs = std::filesystem;

namespace {

QString labelText(const char* name) {
    QLabel* l = widget<QLabel>(name);
    return l ? l->text() : QStringLiteral("<no %1>").arg(QLatin1String(name));
}

bool mainWindowShown(qtui::QtDesktopApp& app) { return app.mainWindow() && app.mainWindow()->isVisible(); }

// The row of a list whose first column starts with the text.
QTreeWidgetItem* rowStarting(QTreeWidget* list, int column, const QString& text) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(column).startsWith(text, Qt::CaseInsensitive)) return list->topLevelItem(i);
    return nullptr;
}

QTreeWidgetItem* rowContaining(QTreeWidget* list, int column, const QString& text) {
    for (int i = 0; i < list->topLevelItemCount(); ++i)
        if (list->topLevelItem(i)->text(column).contains(text, Qt::CaseInsensitive)) return list->topLevelItem(i);
    return nullptr;
}

void clickRow(QTreeWidget* list, QTreeWidgetItem* item) {
    QTest::mouseClick(list->viewport(), Qt::LeftButton, Qt::NoModifier, list->visualItemRect(item).center());
}

// Picks an entry of a button's menu with the mouse, as the menu opens.
void chooseFromMenu(const char* button, const char* action) {
    auto* b = widget<QPushButton>(button);
    QMenu* menu = b ? b->menu() : nullptr;
    QVERIFY(menu);
    QAction* a = menu->findChild<QAction*>(QLatin1String(action));
    QVERIFY(a);
    whenReady([menu] { return menu->isVisible(); },
              [menu, a] { QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(a).center()); });
    QVERIFY(click(b));
}

void closeProgram(qtui::QtDesktopApp& app) {
    QVERIFY(click("navExit"));
    QVERIFY(waitUntil([&] { return app.finished() && !app.mainWindow()->isVisible(); }));
}

std::string contents(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

int number(const QString& grouped) {
    QString digits = grouped;
    digits.remove(QLatin1Char(','));
    return digits.toInt();
}

}  // namespace

class QtDesktopTest : public QObject {
    Q_OBJECT

private Q_SLOTS:
    void aFolderThatIsNoDriveRootIsRefusedAndTheOneThatIsOffered();
    void scanCheckDeleteAndRestoreThroughTheWindows();
    void pauseHoldsTheScanAndStopEndsIt();
    void liveUpdateShowsItsProgressAndCancelClosesIt();
    void optionsAreSavedAndWhatAnOfflineSystemLacksIsSaid();
};

void QtDesktopTest::aFolderThatIsNoDriveRootIsRefusedAndTheOneThatIsOffered() {
    PlantedImage img;
    qtui::GuiOptions options = img.options();
    options.choice.systemDrive = img.onDrive("Windows");
    qtui::QtDesktopApp app(options);
    app.start();
    QVERIFY(widget("targetWindow")->isVisible());
    QVERIFY(!app.mainWindow());
    QVERIFY2(labelText("targetProblem").contains(QStringLiteral("No Windows folder")), qPrintable(labelText("targetProblem")));
    QVERIFY(labelText("targetProblem").contains(QStringLiteral("the nearest folder that looks like one is ") +
                                                QString::fromStdString(img.systemDrive)));
    QVERIFY(labelText("mountedNone").contains(QStringLiteral("No mounted Windows system was found")));

    QVERIFY(click("useSuggestion"));
    QCOMPARE(widget<QLineEdit>("targetFolder")->text(), QString::fromStdString(img.systemDrive));
    QVERIFY(!widget("targetProblem")->isVisible());
    QVERIFY(click("targetOpen"));
    QVERIFY(waitUntil([&] { return mainWindowShown(app); }));
    QVERIFY(!widget("targetWindow")->isVisible());
    QVERIFY(app.mainWindow()->windowTitle().endsWith(QString::fromStdString(" - " + img.systemDrive)));
    QCOMPARE(QString::fromStdString(img.settingValue("RecentTargets", "Target1")), QString::fromStdString(img.systemDrive));
    closeProgram(app);
}

void QtDesktopTest::scanCheckDeleteAndRestoreThroughTheWindows() {
    PlantedImage img;
    const std::string toolbar = img.onDrive("Program Files/AdBuddy/adbuddy.exe");
    const std::string softwareHive = img.onDrive("Windows/System32/config/SOFTWARE");
    const std::string hiveBefore = contents(softwareHive);
    qtui::QtDesktopApp app(img.options());
    app.start();
    QVERIFY(waitUntil([&] { return mainWindowShown(app); }));
    auto* stack = widget<QStackedWidget>("pageStack");

    // Scan: the page shows what it inspects and found, then leads to the results.
    QVERIFY(click("navScan"));
    QCOMPARE(stack->currentWidget(), widget("scanStart")->parentWidget());
    QVERIFY(click("scanStart"));
    QVERIFY(waitUntil([] { return widget("scanStart")->isEnabled(); }));
    QVERIFY(widget("scanContinue")->isVisible());
    QVERIFY(number(labelText("softwareFound")) >= 3);
    QVERIFY(number(labelText("filesInspected")) > 0);
    QCOMPARE(widget<QProgressBar>("overallProgress")->value(), 100);
    QVERIFY(click("scanContinue"));
    auto* list = widget<QTreeWidget>("resultsList");
    QCOMPARE(stack->currentWidget(), list->parentWidget()->parentWidget());
    QVERIFY(list->topLevelItemCount() >= 3);
    QVERIFY(labelText("resultsSummary").contains(QStringLiteral("threats")));
    QVERIFY(!widget("delete")->isEnabled());

    // Check AdBuddy with the keyboard and delete it: asked first, then gone from the disk.
    QTreeWidgetItem* adBuddy = rowStarting(list, 0, QStringLiteral("AdBuddy"));
    QVERIFY(adBuddy);
    list->setFocus();
    list->setCurrentItem(adBuddy);
    QTest::keyClick(list, Qt::Key_Space);
    QCOMPARE(adBuddy->checkState(0), Qt::Checked);
    QVERIFY(widget("delete")->isEnabled());
    const int before = list->topLevelItemCount();
    QVERIFY(fs::exists(toolbar));
    auto asked = answerNextBox(QMessageBox::Yes);
    QVERIFY(click("delete"));
    QVERIFY(asked->answered);
    QVERIFY2(asked->text.contains(QStringLiteral("delete"), Qt::CaseInsensitive), qPrintable(asked->text));
    QVERIFY(waitUntil([&] { return list->topLevelItemCount() == before - 1; }));
    QVERIFY(!rowStarting(list, 0, QStringLiteral("AdBuddy")));
    QVERIFY(!fs::exists(toolbar));
    QVERIFY2(contents(softwareHive) != hiveBefore, "the toolbar's keys are gone from the hive");
    QVERIFY2(!widget("undeletableWindow")->isVisible(), "everything could be removed");
    QVERIFY(number(labelText("removedTotal")) > 0);

    // The quarantine window lists it; Restore puts it back.
    chooseFromMenu("navQuarantine", "menuQuarantineWindow");
    QVERIFY(waitUntil([] { return widget("quarantineWindow")->isVisible(); }));
    auto* items = widget<QTreeWidget>("quarantineList");
    QTreeWidgetItem* held = rowContaining(items, 2, QStringLiteral("adbuddy.exe"));
    QVERIFY(held);
    QVERIFY(!widget("quarantineRestore")->isEnabled());
    clickRow(items, held);
    QVERIFY(widget("quarantineRestore")->isEnabled());
    QVERIFY(click("quarantineRestore"));
    QVERIFY(fs::exists(toolbar));
    QVERIFY2(labelText("quarantineResults").contains(QStringLiteral("restored"), Qt::CaseInsensitive),
             qPrintable(labelText("quarantineResults")));
    QVERIFY(rowContaining(items, 2, QStringLiteral("adbuddy.exe"))->text(4).startsWith(QStringLiteral("Restored")));

    // The restore point the removal made puts the hive back as it was, once confirmed.
    auto* points = widget<QTreeWidget>("restorePointList");
    QCOMPARE(points->topLevelItemCount(), 1);
    QVERIFY(!widget("restorePointRestore")->isEnabled());
    clickRow(points, points->topLevelItem(0));
    QVERIFY(widget("restorePointRestore")->isEnabled());
    auto declined = answerNextBox(QMessageBox::No);
    QVERIFY(click("restorePointRestore"));
    QVERIFY(declined->answered);
    QVERIFY(contents(softwareHive) != hiveBefore);
    auto confirmed = answerNextBox(QMessageBox::Yes);
    QVERIFY(click("restorePointRestore"));
    QVERIFY(confirmed->answered);
    QVERIFY2(confirmed->text.contains(points->topLevelItem(0)->text(0)), qPrintable(confirmed->text));
    QVERIFY2(contents(softwareHive) == hiveBefore, "the hive is back as it was before the removal");
    QVERIFY(click("quarantineClose"));
    QVERIFY(!widget("quarantineWindow")->isVisible());
    closeProgram(app);
    QCOMPARE(QString::fromStdString(img.settingValue("OptionAndSettings", "STATUS")), QStringLiteral("STOPPED"));
}

void QtDesktopTest::pauseHoldsTheScanAndStopEndsIt() {
    PlantedImage img;
    img.slowFileStage(60000);
    qtui::QtDesktopApp app(img.options());
    app.start();
    QVERIFY(waitUntil([&] { return mainWindowShown(app); }));
    QVERIFY(click("navScan"));

    // Pause while the file stage runs: the box holds the scan; Stop then ends it.
    QString heldLine, afterLine;
    bool stopOffWhilePaused = false;
    std::shared_ptr<AnsweredBox> paused, stopped;
    auto pausedInTime = whenReady(
        [] { return widget("scanPause")->isEnabled() && number(labelText("filesInspected")) > 100; },
        [&] {
            paused = answerNextBox(QMessageBox::Ok, [&](QMessageBox*) {
                heldLine = labelText("filesInspected");
                QTest::qWait(100);  // the scan stays where it is while the box is open
                afterLine = labelText("filesInspected");
                stopOffWhilePaused = !widget("scanStop")->isEnabled();
            });
            click("scanPause");
            stopped = answerNextBox(QMessageBox::Yes);
            click("scanStop");
        });
    QVERIFY(click("scanStart"));
    QVERIFY(*pausedInTime);
    QVERIFY(paused && paused->answered);
    QCOMPARE(afterLine, heldLine);
    QVERIFY(stopOffWhilePaused);
    QVERIFY(stopped && stopped->answered);
    QVERIFY(widget("scanStart")->isEnabled());
    QVERIFY2(number(labelText("filesInspected")) < 60000, qPrintable(labelText("filesInspected")));
    closeProgram(app);
}

void QtDesktopTest::liveUpdateShowsItsProgressAndCancelClosesIt() {
    // A definition server that takes connections into its queue and never answers them.
    int listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t length = sizeof address;
    QVERIFY(::bind(listener, reinterpret_cast<sockaddr*>(&address), sizeof address) == 0);
    QVERIFY(::listen(listener, 8) == 0);
    QVERIFY(::getsockname(listener, reinterpret_cast<sockaddr*>(&address), &length) == 0);
    PlantedImage img;
    img.setting("Settings", "DefinitionServer", "http://127.0.0.1:" + std::to_string(ntohs(address.sin_port)));
    qtui::QtDesktopApp app(img.options());
    app.start();
    QVERIFY(waitUntil([&] { return mainWindowShown(app); }));

    QString firstBlink;
    bool blinked = false, hiddenByCancel = false;
    whenReady([] { return widget("liveUpdateWindow")->isVisible() && !labelText("liveUpdateBlink").isEmpty(); },
              [&] {
                  firstBlink = labelText("liveUpdateBlink");
                  // The window stays alive while the server is silent: its line blinks on.
                  whenReady([&] { return labelText("liveUpdateBlink") != firstBlink; },
                            [&] {
                                blinked = true;
                                click("liveUpdateCancel");
                                hiddenByCancel = !widget("liveUpdateWindow")->isVisible();
                                ::close(listener);  // the waiting request fails now
                            });
              });
    auto told = answerNextBox(QMessageBox::Ok);
    QVERIFY(click("navLiveUpdate"));
    QVERIFY(blinked);
    QVERIFY(hiddenByCancel);
    QVERIFY2(told->answered, "a failed update is told, not taken for up to date");
    QVERIFY(widget("navLiveUpdate")->isEnabled());
    closeProgram(app);
}

void QtDesktopTest::optionsAreSavedAndWhatAnOfflineSystemLacksIsSaid() {
    PlantedImage img;
    qtui::QtDesktopApp app(img.options());
    app.start();
    QVERIFY(waitUntil([&] { return mainWindowShown(app); }));
    QVERIFY2(widget("navSendToTray")->isHidden(), "no notification area for an offline system");
    QVERIFY(labelText("headerShields").contains(QStringLiteral("Not available for an offline system")));

    // Keyboard: the navigation's mnemonics lead to the pages.
    app.mainWindow()->activateWindow();
    QTest::keyClick(app.mainWindow(), Qt::Key_O, Qt::AltModifier);
    auto* tabs = widget<QTabWidget>("optionsTabs");
    QVERIFY(waitUntil([&] { return tabs->isVisible(); }, 2000));

    auto* cookies = widget<QAbstractButton>("optionScanCookies");
    const bool was = cookies->isChecked();
    QVERIFY(click(cookies));
    QCOMPARE(cookies->isChecked(), !was);
    QCOMPARE(QString::fromStdString(img.settingValue("OptionAndSettings", "chkScanCookies")),
             was ? QStringLiteral("0") : QStringLiteral("1"));

    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(1).center());
    QCOMPARE(tabs->currentIndex(), 1);
    QVERIFY(widget("protectionNote1")->isVisible());
    QVERIFY(!widget("memoryShieldGroup")->isVisible());
    QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(3).center());
    QVERIFY(!widget("optionRunAtStartup")->isVisible());
    QVERIFY(widget("optionAutomaticUpdate")->isVisible());
    QVERIFY(widget("protectionNote3")->isVisible());
    closeProgram(app);
}

QTEST_MAIN(QtDesktopTest)
#include "QtDesktopTest.moc"
