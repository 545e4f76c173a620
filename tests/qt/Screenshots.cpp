// vedozer_qt_screenshots OUT_DIR SCALE: pictures of every page and window of vedozer-gui over the
// demo installation, as tools/screenshots.sh takes them under Xvfb (QT_SCALE_FACTOR sets the
// scaling; SCALE is the percentage written into the file names).
#include <QApplication>
#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QTabWidget>
#include <QTest>
#include <QTreeWidget>
#include <QWindow>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <unistd.h>

#include <cstdio>
#include <memory>

#include "GuiDriver.h"
#include "PlantedImage.h"
#include "presenters/Immutable.h"
#include "ui/qt/MainWindow.h"
#include "ui/qt/QtDesktopApp.h"

using namespace vedozer;
using namespace vedozer::test;

namespace {

QString g_out, g_scale;
int g_failures = 0;

// The window as the screen shows it (with whatever lies over it), else as it draws itself.
void shot(QWidget* window, const char* name) {
    QTest::qWait(150);  // layouts settle, pending paints land
    QPixmap picture;
    if (QScreen* screen = window->screen(); screen && QGuiApplication::platformName() == QLatin1String("xcb")) {
        QRect r = window->frameGeometry();
        picture = screen->grabWindow(0, r.x(), r.y(), r.width(), r.height());
    }
    if (picture.isNull()) picture = window->grab();
    QString file = QStringLiteral("%1/%2-%3.png").arg(g_out, QLatin1String(name), g_scale);
    if (!picture.save(file)) {
        std::fprintf(stderr, "cannot write %s\n", qPrintable(file));
        ++g_failures;
        return;
    }
    std::printf("  %s (%dx%d)\n", qPrintable(file), picture.width(), picture.height());
}

void need(bool condition, const char* what) {
    if (condition) return;
    std::fprintf(stderr, "screenshots: %s did not happen\n", what);
    ++g_failures;
}

// Pictures the box that opens next (over its owner, as it shows), then answers it.
void shotOfNextBox(const char* name, int button) {
    answerNextBox(button, [name](QMessageBox* box) { shot(box, name); });
}

int silentServerPort(int& listener) {
    listener = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    socklen_t n = sizeof a;
    if (::bind(listener, reinterpret_cast<sockaddr*>(&a), sizeof a) != 0 || ::listen(listener, 8) != 0 ||
        ::getsockname(listener, reinterpret_cast<sockaddr*>(&a), &n) != 0)
        return 0;
    return ntohs(a.sin_port);
}

void pictures() {
    PlantedImage img;
    img.slowFileStage(30000);
    // The demo's drive is listed as a mounted disk, as a rescue system shows a Windows partition.
    img.dir.write("mountinfo", "41 30 8:2 / " + img.systemDrive + " rw,relatime - ntfs3 /dev/sdb2 rw,iocharset=utf8\n");
    int listener = -1;
    img.setting("Settings", "DefinitionServer", "http://127.0.0.1:" + std::to_string(silentServerPort(listener)));
    // One file that cannot be deleted, for the list of what stayed.
    Immutable held(img.onDrive("KeyShadow/keyshadow.sys"));

    qtui::GuiOptions options = img.options();
    options.choice = {};
    qtui::QtDesktopApp app(options);
    app.start();
    QWidget* target = widget("targetWindow");
    target->resize(target->sizeHint().expandedTo(QSize(640, 0)));
    shot(target, "start");
    auto* folder = widget<QLineEdit>("targetFolder");
    folder->setText(QString::fromStdString(img.onDrive("Windows")));
    QTest::keyClick(folder, Qt::Key_End);
    QTest::keyClick(folder, Qt::Key_Backspace);
    QTest::keyClicks(folder, QStringLiteral("s"));
    click("targetOpen");
    shot(target, "start-refused");
    click("useSuggestion");
    click("targetOpen");
    need(waitUntil([&] { return app.mainWindow() && app.mainWindow()->isVisible(); }), "the main window");
    qtui::MainWindow* main = app.mainWindow();
    main->move(40, 40);
    shot(main, "status");

    click("navScan");
    shot(main, "scan");
    // A scan held by Pause: the page as it is at that moment, then the box over it.
    whenReady([] { return widget("scanPause")->isEnabled() && widget<QLabel>("filesInspected")->text() != QLatin1String("0"); },
              [main] {
                  answerNextBox(QMessageBox::Ok, [main](QMessageBox* box) {
                      box->move(main->frameGeometry().right() - box->width() - 20, main->frameGeometry().bottom() - box->height() - 20);
                      shot(main, "scan-in-progress");
                  });
                  click("scanPause");
              });
    click("scanStart");
    shot(main, "scan-finished");
    click("scanContinue");
    auto* list = widget<QTreeWidget>("resultsList");
    for (const char* name : {"AdBuddy", "KeyShadow"})
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            if (list->topLevelItem(i)->text(0).startsWith(QLatin1String(name))) {
                list->setCurrentItem(list->topLevelItem(i));
                QTest::keyClick(list, Qt::Key_Space);
            }
    shot(main, "results");

    click("navOptions");
    auto* tabs = widget<QTabWidget>("optionsTabs");
    const char* tabNames[] = {"options-scanning", "options-protection", "options-schedule", "options-general"};
    for (int i = 0; i < 4; ++i) {
        QTest::mouseClick(tabs->tabBar(), Qt::LeftButton, Qt::NoModifier, tabs->tabBar()->tabRect(i).center());
        shot(main, tabNames[i]);
    }

    whenReady([] { return widget("reportWindow")->isVisible(); }, [] {
        shot(widget("reportWindow"), "report");
        click("reportOk");
    });
    click("navReport");

    click("navResults");
    shotOfNextBox("confirm-delete", QMessageBox::Yes);
    click("delete");
    need(waitUntil([] { return widget("undeletableWindow")->isVisible(); }, 30000), "the undeletable list");
    shot(widget("undeletableWindow"), "undeletable");
    click("undeletableOk");
    shot(main, "results-after-removal");

    auto* quarantineButton = widget<QPushButton>("navQuarantine");
    QMenu* menu = quarantineButton->menu();
    whenReady([menu] { return menu->isVisible(); }, [menu] {
        shot(menu, "quarantine-menu");
        QAction* a = menu->findChild<QAction*>(QStringLiteral("menuQuarantineWindow"));
        QTest::mouseClick(menu, Qt::LeftButton, Qt::NoModifier, menu->actionGeometry(a).center());
    });
    click(quarantineButton);
    need(waitUntil([] { return widget("quarantineWindow")->isVisible(); }), "the quarantine window");
    shot(widget("quarantineWindow"), "quarantine");
    click("quarantineClose");

    whenReady([] { return widget("aboutWindow")->isVisible(); }, [] {
        shot(widget("aboutWindow"), "about");
        click("aboutOk");
    });
    click("navAbout");
    click("navHelp");
    shot(widget("helpWindow"), "help");
    click("helpOk");
    click("navSubmit");
    shot(widget("submitWindow"), "submit");
    click("submitClose");

    // Last: Live Update against a server that takes the connection and never answers.
    whenReady([] { return widget("liveUpdateWindow")->isVisible(); }, [listener] {
        QTest::qWait(1700);  // two blinks
        shot(widget("liveUpdateWindow"), "live-update");
        click("liveUpdateCancel");
        ::close(listener);
    });
    answerNextBox(QMessageBox::Ok);
    click("navLiveUpdate");
    click("navExit");
    waitUntil([&] { return app.finished(); });
}

}  // namespace

int main(int argc, char** argv) {
    QApplication qapp(argc, argv);
    if (argc < 3) {
        std::fprintf(stderr, "usage: vedozer_qt_screenshots OUT_DIR SCALE_PERCENT\n");
        return 2;
    }
    g_out = QString::fromLocal8Bit(argv[1]);
    g_scale = QString::fromLocal8Bit(argv[2]);
    QDir().mkpath(g_out);
    pictures();
    return g_failures == 0 ? 0 : 1;
}
