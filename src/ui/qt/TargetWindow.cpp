#include "ui/qt/TargetWindow.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFileDialog>
#include <QFormLayout>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "ui/qt/Artwork.h"
#include "ui/qt/QtText.h"
#include "ui/qt/Widgets.h"

namespace vedozer::qtui {

TargetWindow::TargetWindow() {
    setObjectName(QStringLiteral("targetWindow"));
    setWindowIcon(productIcon());
    auto* v = new QVBoxLayout(this);
    m_intro = makeWrappingLabel(this, "targetIntro");
    v->addWidget(m_intro);

    m_mountedLabel = new QLabel(this);
    v->addWidget(m_mountedLabel);
    m_mounted = new QListWidget(this);
    m_mounted->setObjectName(QStringLiteral("mountedList"));
    const int line = fontMetrics().height();
    m_mounted->setMinimumHeight(line * 3);
    m_mounted->setMaximumHeight(line * 6);
    m_mountedLabel->setBuddy(m_mounted);
    connect(m_mounted, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0 && onMounted) onMounted(static_cast<size_t>(row));
    });
    connect(m_mounted, &QListWidget::itemActivated, this, [this] {
        if (onOpen) onOpen();
    });
    v->addWidget(m_mounted);
    m_none = makeWrappingLabel(this, "mountedNone");
    v->addWidget(m_none);

    m_recentLabel = new QLabel(this);
    v->addWidget(m_recentLabel);
    m_recent = new QListWidget(this);
    m_recent->setObjectName(QStringLiteral("recentList"));
    m_recent->setMinimumHeight(line * 3);
    m_recent->setMaximumHeight(line * 6);
    m_recentLabel->setBuddy(m_recent);
    connect(m_recent, &QListWidget::currentRowChanged, this, [this](int row) {
        if (!m_filling && row >= 0 && onRecent) onRecent(static_cast<size_t>(row));
    });
    connect(m_recent, &QListWidget::itemActivated, this, [this] {
        if (onOpen) onOpen();
    });
    v->addWidget(m_recent);

    auto* grid = new QGridLayout;
    m_folderLabel = new QLabel(this);
    m_folder = new QLineEdit(this);
    m_folder->setObjectName(QStringLiteral("targetFolder"));
    m_folder->setMinimumWidth(m_folder->fontMetrics().averageCharWidth() * 50);
    m_folderLabel->setBuddy(m_folder);
    connect(m_folder, &QLineEdit::textEdited, this, [this](const QString& text) {
        if (onFolder) onFolder(toUtf8(text));
    });
    m_browse = new QPushButton(this);
    m_browse->setObjectName(QStringLiteral("targetBrowse"));
    m_browse->setAutoDefault(false);
    connect(m_browse, &QPushButton::clicked, this, [this] { browse(); });
    grid->addWidget(m_folderLabel, 0, 0, 1, 2);
    grid->addWidget(m_folder, 1, 0);
    grid->addWidget(m_browse, 1, 1);

    m_drivesLabel = new QLabel(this);
    m_drives = new QTreeWidget(this);
    m_drives->setObjectName(QStringLiteral("driveList"));
    m_drives->setColumnCount(2);
    m_drives->setRootIsDecorated(false);
    m_drives->setMinimumHeight(line * 4);
    m_drives->setMaximumHeight(line * 6);
    m_drivesLabel->setBuddy(m_drives);
    auto* driveButtons = new QVBoxLayout;
    m_addDrive = new QPushButton(this);
    m_addDrive->setObjectName(QStringLiteral("addDrive"));
    m_addDrive->setAutoDefault(false);
    connect(m_addDrive, &QPushButton::clicked, this, [this] { addDrive(); });
    m_removeDrive = new QPushButton(this);
    m_removeDrive->setObjectName(QStringLiteral("removeDrive"));
    m_removeDrive->setAutoDefault(false);
    connect(m_removeDrive, &QPushButton::clicked, this, [this] {
        int row = m_drives->indexOfTopLevelItem(m_drives->currentItem());
        if (row >= 0 && onRemoveDrive) onRemoveDrive(static_cast<size_t>(row));
    });
    driveButtons->addWidget(m_addDrive);
    driveButtons->addWidget(m_removeDrive);
    driveButtons->addStretch(1);
    grid->addWidget(m_drivesLabel, 2, 0, 1, 2);
    grid->addWidget(m_drives, 3, 0);
    grid->addLayout(driveButtons, 3, 1);

    m_profileLabel = new QLabel(this);
    m_profile = new QComboBox(this);
    m_profile->setObjectName(QStringLiteral("profile"));
    m_profileLabel->setBuddy(m_profile);
    connect(m_profile, &QComboBox::activated, this, [this](int index) {
        if (!m_filling && onProfile) onProfile(index);
    });
    auto* profileRow = new QHBoxLayout;
    profileRow->addWidget(m_profileLabel);
    profileRow->addWidget(m_profile, 1);
    grid->addLayout(profileRow, 4, 0, 1, 2);
    v->addLayout(grid);

    m_problem = makeWrappingLabel(this, "targetProblem");
    m_problem->setTextInteractionFlags(Qt::TextSelectableByMouse);
    QFont bold = m_problem->font();
    bold.setBold(true);
    m_problem->setFont(bold);
    v->addWidget(m_problem);
    m_useSuggestion = new QPushButton(this);
    m_useSuggestion->setObjectName(QStringLiteral("useSuggestion"));
    m_useSuggestion->setAutoDefault(false);
    connect(m_useSuggestion, &QPushButton::clicked, this, [this] {
        if (onUseSuggestion) onUseSuggestion();
    });
    auto* suggestionRow = new QHBoxLayout;
    suggestionRow->addWidget(m_useSuggestion);
    suggestionRow->addStretch(1);
    v->addLayout(suggestionRow);
    m_note = makeWrappingLabel(this, "targetNote");
    v->addWidget(m_note);
    v->addStretch(1);

    auto* buttons = new QDialogButtonBox(this);
    m_open = buttons->addButton(QDialogButtonBox::Open);
    m_open->setObjectName(QStringLiteral("targetOpen"));
    m_open->setDefault(true);
    m_quit = buttons->addButton(QDialogButtonBox::Cancel);
    m_quit->setObjectName(QStringLiteral("targetQuit"));
    connect(m_open, &QPushButton::clicked, this, [this] {
        if (onOpen) onOpen();
    });
    connect(m_quit, &QPushButton::clicked, this, [this] { reject(); });
    v->addWidget(buttons);
    showProblem("", false);
}

void TargetWindow::setCaption(CaptionId id, const std::string& text) {
    const QString t = fromUtf8(text);
    switch (id) {
    case CaptionId::TargetTitle: setWindowTitle(withoutMnemonic(t)); return;
    case CaptionId::TargetIntro: m_intro->setText(t); return;
    case CaptionId::TargetMountedLabel: m_mountedLabel->setText(t); return;
    case CaptionId::TargetRecentLabel: m_recentLabel->setText(t); return;
    case CaptionId::TargetFolderLabel: m_folderLabel->setText(t); return;
    case CaptionId::TargetBrowse: m_browse->setText(t); return;
    case CaptionId::TargetDrivesLabel: m_drivesLabel->setText(t); return;
    case CaptionId::TargetDriveLetterColumn: m_drives->headerItem()->setText(0, withoutMnemonic(t)); return;
    case CaptionId::TargetDriveFolderColumn: m_drives->headerItem()->setText(1, withoutMnemonic(t)); return;
    case CaptionId::TargetAddDrive: m_addDrive->setText(t); return;
    case CaptionId::TargetRemoveDrive: m_removeDrive->setText(t); return;
    case CaptionId::TargetUserLabel: m_profileLabel->setText(t); return;
    case CaptionId::TargetUseSuggestion: m_useSuggestion->setText(t); return;
    case CaptionId::TargetOpen: m_open->setText(t); return;
    case CaptionId::TargetQuit: m_quit->setText(t); return;
    default: return;
    }
}

void TargetWindow::showMounted(const std::vector<std::string>& rows, const std::string& emptyText) {
    m_filling = true;
    m_mounted->clear();
    for (const std::string& r : rows) m_mounted->addItem(fromUtf8(r));
    m_mounted->setVisible(!rows.empty());
    m_none->setText(fromUtf8(emptyText));
    m_none->setVisible(!emptyText.empty());
    m_filling = false;
    growToContents(this);
}

void TargetWindow::showRecent(const std::vector<std::string>& rows) {
    m_filling = true;
    m_recent->clear();
    for (const std::string& r : rows) m_recent->addItem(fromUtf8(r));
    m_recent->setVisible(!rows.empty());
    m_recentLabel->setVisible(!rows.empty());
    m_filling = false;
    growToContents(this);
}

void TargetWindow::showChoice(const TargetChoiceState& choice) {
    m_filling = true;
    const QString folder = fromUtf8(choice.folder);
    if (m_folder->text() != folder) m_folder->setText(folder);
    m_drives->clear();
    for (const DriveChoiceRow& d : choice.drives) {
        auto* item = new QTreeWidgetItem(m_drives);
        item->setText(0, fromUtf8(d.letter) + QLatin1Char(':'));
        item->setText(1, fromUtf8(d.folder));
    }
    m_removeDrive->setEnabled(!choice.drives.empty());
    m_profile->clear();
    for (const std::string& p : choice.profiles) m_profile->addItem(fromUtf8(p));
    m_profile->setCurrentIndex(choice.profile);
    m_filling = false;
}

void TargetWindow::showProblem(const std::string& text, bool offerSuggestion) {
    m_problem->setText(fromUtf8(text));
    m_problem->setVisible(!text.empty());
    m_useSuggestion->setVisible(offerSuggestion);
    growToContents(this);
}

void TargetWindow::showNote(const std::string& text) {
    m_note->setText(fromUtf8(text));
    m_note->setVisible(!text.empty());
    growToContents(this);
}

void TargetWindow::setOpenEnabled(bool enabled) { m_open->setEnabled(enabled); }

void TargetWindow::accept() { QDialog::accept(); }

void TargetWindow::browse() {
    QString folder = QFileDialog::getExistingDirectory(this, withoutMnemonic(m_folderLabel->text()), m_folder->text());
    if (folder.isEmpty()) return;
    m_folder->setText(folder);
    if (onFolder) onFolder(toUtf8(folder));
}

void TargetWindow::addDrive() {
    if (!freeLetters || !onAddDrive) return;
    QStringList letters;
    for (const std::string& l : freeLetters()) letters << fromUtf8(l);
    bool ok = false;
    QString letter = QInputDialog::getItem(this, withoutMnemonic(m_addDrive->text()),
                                           withoutMnemonic(m_drives->headerItem()->text(0)), letters, 0, false, &ok);
    if (!ok || letter.isEmpty()) return;
    QString folder = QFileDialog::getExistingDirectory(this, withoutMnemonic(m_addDrive->text()) + QLatin1Char(' ') +
                                                                 letter + QLatin1Char(':'));
    if (folder.isEmpty()) return;
    onAddDrive(toUtf8(letter), toUtf8(folder));
}

}  // namespace vedozer::qtui
