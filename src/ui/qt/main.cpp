// vedozer-gui: the rescue desktop for offline Windows installations.
#include <QApplication>
#include <QCommandLineParser>

#include <cctype>
#include <iostream>

#include "BuildIdentity.h"
#include "ui/qt/Artwork.h"
#include "ui/qt/QtDesktopApp.h"

using namespace vedozer;

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("vedozer-gui"));
    QApplication::setApplicationVersion(QStringLiteral(VEDOZER_BUILD_VERSION));
    QApplication::setDesktopFileName(QStringLiteral("vedozer-gui"));
    QApplication::setWindowIcon(qtui::productIcon());

    QCommandLineParser parser;
    parser.setApplicationDescription(QStringLiteral("Scan and clean an offline Windows installation."));
    parser.addHelpOption();
    parser.addVersionOption();
    const QCommandLineOption target(QStringLiteral("target"),
                                    QStringLiteral("System drive (C:) of the installation: the folder that holds Windows."),
                                    QStringLiteral("DIR"));
    const QCommandLineOption drive(QStringLiteral("drive"), QStringLiteral("Another drive of the installation."),
                                   QStringLiteral("L=DIR"));
    const QCommandLineOption user(QStringLiteral("user"), QStringLiteral("User profile (default: the only one)."),
                                  QStringLiteral("NAME"));
    const QCommandLineOption dataDir(QStringLiteral("data-dir"),
                                     QStringLiteral("Program data folder (default $XDG_DATA_HOME/RozaVedozerEZO)."),
                                     QStringLiteral("DIR"));
    const QCommandLineOption configDir(QStringLiteral("config-dir"),
                                       QStringLiteral("Folder of the per-user settings (default $XDG_CONFIG_HOME)."),
                                       QStringLiteral("DIR"));
    const QCommandLineOption machineDir(QStringLiteral("machine-config-dir"),
                                        QStringLiteral("Folder of the machine-wide settings (default /etc/vedozer)."),
                                        QStringLiteral("DIR"));
    parser.addOptions({target, drive, user, dataDir, configDir, machineDir});
    parser.process(app);

    qtui::GuiOptions options;
    options.choice.systemDrive = parser.value(target).toStdString();
    options.choice.user = parser.value(user).toStdString();
    for (const QString& d : parser.values(drive)) {
        std::string spec = d.toStdString();
        if (spec.size() < 3 || spec[1] != '=' || !std::isalpha(static_cast<unsigned char>(spec[0]))) {
            std::cerr << "vedozer-gui: error: --drive expects L=DIR, got \"" << spec << "\"\n";
            return 2;
        }
        options.choice.otherDrives[static_cast<char>(std::toupper(static_cast<unsigned char>(spec[0])))] = spec.substr(2);
    }
    options.dataDir = parser.value(dataDir).toStdString();
    options.configDir = parser.value(configDir).toStdString();
    options.machineConfigDir = parser.value(machineDir).toStdString();

    qtui::QtDesktopApp desktop(options);
    desktop.setLeaveLoop([] { QCoreApplication::exit(0); });
    desktop.start();
    if (desktop.finished()) return 0;
    return QApplication::exec();
}
