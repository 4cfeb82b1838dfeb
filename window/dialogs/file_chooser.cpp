#include "file_chooser.h"

#include "answer_in_time.h"
#include "chooser_texts.h"
#include "drives.h"
#include "folder_contents_model.h"
#include "paths.h"
#include "runtime_error.h"
#include "text.h"
#include "ui_text.h"

#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QDialogButtonBox>
#include <QDir>
#include <QFile>
#include <QGridLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRegularExpression>
#include <QTreeView>
#include <QVBoxLayout>
#include <optional>
#include <thread>

namespace dorvelix {

// A listing under way on a worker. The thread holds the job, never the
// dialog: the answer goes through the application's event queue and reaches
// the dialog only while it still waits for that listing (deliver is set and
// cleared on the window thread alone).
struct FileChooser::Job {
    struct Outcome {
        std::optional<FolderListing> listing;
        int errorNumber = 0;  // why there is none
    };
    std::function<void(const Outcome&)> deliver;
};

namespace {

// ".csv" from "CSV (*.csv)".
QStringList suffixesOf(const QString& nameFilter)
{
    QStringList suffixes;
    static const QRegularExpression pattern(QStringLiteral("\\*(\\.[^ ;)]+)"));
    for (auto it = pattern.globalMatch(nameFilter); it.hasNext();)
        suffixes << it.next().captured(1);
    return suffixes;
}

QLabel* labelFor(QWidget* buddy, const char* text)
{
    auto* label = new QLabel(uiText(text));
    label->setBuddy(buddy);
    return label;
}

std::string bytesOf(const QString& text)
{
    return QFile::encodeName(text).toStdString();
}

}  // namespace

FileChooser::FileChooser(QWidget* parent, Mode mode, const QString& title, const QString& nameFilter,
                         std::vector<std::string> startFolders)
    : QDialog(parent), mode_(mode), suffixes_(mode == Mode::Folder ? QStringList() : suffixesOf(nameFilter)),
      model_(new FolderContentsModel(this)), drives_(new QComboBox), place_(new QLineEdit), view_(new QTreeView),
      hidden_(new QCheckBox(uiText(chooser_text::ShowHidden))), status_(new QLabel)
{
    setWindowTitle(title);
    auto* grid = new QGridLayout;
    for (const DriveEntry& drive : listDrives())
        drives_->addItem(drive.text(), QByteArray::fromStdString(drive.mountPoint));
    grid->addWidget(labelFor(drives_, chooser_text::Drive), 0, 0);
    grid->addWidget(drives_, 0, 1, 1, 3);
    auto* up = new QPushButton(uiText(chooser_text::Up));
    auto* home = new QPushButton(uiText(chooser_text::Home));
    for (QPushButton* b : {up, home})
        b->setAutoDefault(false);
    grid->addWidget(labelFor(place_, chooser_text::Place), 1, 0);
    grid->addWidget(place_, 1, 1);
    grid->addWidget(up, 1, 2);
    grid->addWidget(home, 1, 3);
    grid->setColumnStretch(1, 1);

    model_->setShown({mode != Mode::Folder, false, suffixes_});
    view_->setModel(model_);
    view_->setRootIsDecorated(false);
    view_->setUniformRowHeights(true);
    view_->setSortingEnabled(true);
    view_->sortByColumn(FolderContentsModel::Name, Qt::AscendingOrder);
    view_->setSelectionBehavior(QAbstractItemView::SelectRows);
    view_->setSelectionMode(QAbstractItemView::SingleSelection);
    // Nothing here renames, moves or drops a file.
    view_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    view_->setDragEnabled(false);
    view_->setDragDropMode(QAbstractItemView::NoDragDrop);
    view_->setContextMenuPolicy(Qt::NoContextMenu);
    view_->setAccessibleName(uiText(chooser_text::Contents));
    view_->header()->setStretchLastSection(false);
    view_->header()->setSectionResizeMode(FolderContentsModel::Name, QHeaderView::Stretch);
    for (int column : {FolderContentsModel::Size, FolderContentsModel::Kind, FolderContentsModel::Modified})
        view_->header()->setSectionResizeMode(column, QHeaderView::ResizeToContents);
    view_->installEventFilter(this);
    place_->installEventFilter(this);
    status_->setTextInteractionFlags(Qt::TextSelectableByKeyboard | Qt::TextSelectableByMouse);

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addWidget(view_, 1);
    layout->addWidget(status_);
    layout->addWidget(hidden_);
    if (mode != Mode::Folder) {
        name_ = new QLineEdit;
        auto* names = new QGridLayout;
        names->addWidget(labelFor(name_, chooser_text::FileName), 0, 0);
        names->addWidget(name_, 0, 1);
        names->addWidget(new QLabel(uiText(chooser_text::FileType)), 1, 0);
        auto* filter = new QLabel(nameFilter);
        filter->setAccessibleName(uiText(chooser_text::FileType) + u' ' + nameFilter);
        names->addWidget(filter, 1, 1);
        layout->addLayout(names);
    }
    auto* buttons = new QDialogButtonBox;
    const char* acceptText = mode == Mode::Folder ? chooser_text::Choose : mode == Mode::Save ? chooser_text::Save : chooser_text::Open;
    accept_ = buttons->addButton(uiText(acceptText), QDialogButtonBox::AcceptRole);
    buttons->addButton(uiText(chooser_text::Cancel), QDialogButtonBox::RejectRole);
    layout->addWidget(buttons);

    connect(buttons, &QDialogButtonBox::accepted, this, &FileChooser::acceptChoice);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(up, &QPushButton::clicked, this, [this] {
        if (!folder_.empty())
            goTo(parentFolder(folder_));
    });
    connect(home, &QPushButton::clicked, this, [this] { goTo(bytesOf(QDir::homePath())); });
    connect(drives_, &QComboBox::activated, this, [this](int index) {
        goTo(drives_->itemData(index).toByteArray().toStdString());
    });
    connect(hidden_, &QCheckBox::toggled, this, &FileChooser::updateShown);
    connect(view_, &QAbstractItemView::doubleClicked, this, [this](const QModelIndex& index) { openEntry(index.row()); });
    connect(view_->selectionModel(), &QItemSelectionModel::currentRowChanged, this, [this](const QModelIndex& current) {
        if (name_ && mode_ == Mode::Save && current.isValid() && model_->entry(current.row()).kind == ListedKind::File)
            name_->setText(displayText(model_->entry(current.row()).name));
    });
    resize(760, 500);
    // A save starts at the name to type; the others at the list.
    if (name_)
        name_->setFocus();
    else
        view_->setFocus();

    // Where to start is asked of the drives on the worker as well.
    startJob([startFolders = std::move(startFolders)] { return listFolderInTime(firstAnsweringFolder(startFolders)); });
}

FileChooser::~FileChooser()
{
    if (job_)
        job_->deliver = nullptr;
}

void FileChooser::goTo(const std::string& folder)
{
    startJob([folder] { return listFolderInTime(folder); });
}

void FileChooser::startJob(std::function<FolderListing()> list)
{
    if (job_)
        job_->deliver = nullptr;
    job_ = std::make_shared<Job>();
    job_->deliver = [this](const Job::Outcome& outcome) {
        job_.reset();
        if (outcome.listing)
            showListing(*outcome.listing);
        else
            showFailure(outcome.errorNumber);
    };
    status_->setText(uiText(chooser_text::Reading));
    std::thread([job = job_, list = std::move(list)] {
        auto outcome = std::make_shared<Job::Outcome>();
        try {
            outcome->listing = list();
        } catch (const RuntimeError& e) {
            outcome->errorNumber = e.number();
        } catch (...) {
            // Out of memory, or anything else: the folder cannot be shown.
            outcome->errorNumber = err::PathNotFound;
        }
        QMetaObject::invokeMethod(
            qApp, [job, outcome] {
                if (job->deliver)
                    job->deliver(*outcome);
            },
            Qt::QueuedConnection);
    }).detach();
}

void FileChooser::showListing(const FolderListing& listing)
{
    folder_ = listing.path;
    model_->setListing(listing);
    place_->setText(displayText(folder_));
    const int drive = drives_->findData(QByteArray::fromStdString(driveOf(folder_)));
    if (drive >= 0)
        drives_->setCurrentIndex(drive);
    status_->setText(uiText(chooser_text::ItemCount).arg(model_->rowCount()));
    // The first entry is current, not chosen: the button still chooses the
    // folder shown until the user selects one of its entries.
    if (model_->rowCount() > 0)
        view_->selectionModel()->setCurrentIndex(model_->index(0, 0), QItemSelectionModel::NoUpdate);
    emit listed();
}

void FileChooser::showFailure(int errorNumber)
{
    // The folder shown stays; the line says why the other could not be.
    status_->setText(uiText(errorNumber == err::DiskNotReady ? chooser_text::NotAnswering : chooser_text::NotReadable));
    emit listed();
}

void FileChooser::updateShown()
{
    model_->setShown({mode_ != Mode::Folder, hidden_->isChecked(), suffixes_});
    status_->setText(uiText(chooser_text::ItemCount).arg(model_->rowCount()));
}

void FileChooser::openEntry(int row)
{
    if (row < 0 || row >= model_->rowCount())
        return;
    const ListedEntry& entry = model_->entry(row);
    switch (entry.kind) {
    case ListedKind::Folder:
    case ListedKind::Drive:
        goTo(joinedPath(folder_, entry.name));
        return;
    case ListedKind::Link:
        status_->setText(uiText(chooser_text::LinkNotFollowed));
        return;
    case ListedKind::File:
    case ListedKind::Special:
        if (mode_ == Mode::Folder)
            return;
        name_->setText(displayText(entry.name));
        acceptChoice();
        return;
    }
}

bool FileChooser::confirmReplace(const std::string& path)
{
    const auto answer = QMessageBox::question(this, windowTitle(), uiText(chooser_text::Replace).arg(displayText(path)),
                                              QMessageBox::Yes | QMessageBox::No, QMessageBox::No);
    return answer == QMessageBox::Yes;
}

void FileChooser::acceptChoice()
{
    if (folder_.empty())
        return;
    const QModelIndex current = view_->currentIndex();
    const ListedEntry* selected = current.isValid() && view_->selectionModel()->isSelected(current)
        ? &model_->entry(current.row()) : nullptr;
    if (mode_ == Mode::Folder) {
        const bool intoSelected = selected && (selected->kind == ListedKind::Folder || selected->kind == ListedKind::Drive);
        chosen_ = intoSelected ? joinedPath(folder_, selected->name) : folder_;
        accept();
        return;
    }
    QString name = name_->text().trimmed();
    if (name.isEmpty()) {
        status_->setText(uiText(mode_ == Mode::Save ? chooser_text::NameNeeded : chooser_text::FileNeeded));
        return;
    }
    if (name.contains(u'/')) {
        status_->setText(uiText(chooser_text::NoSlash));
        return;
    }
    // A name shown as the user sees it stands for its entry's exact bytes.
    // Every entry counts, those the view hides too, so that a hidden file
    // is never saved over unasked.
    const auto entryNamed = [this](const QString& shown) -> const ListedEntry* {
        for (const ListedEntry& e : model_->listing().entries) {
            if (displayText(e.name) == shown)
                return &e;
        }
        return nullptr;
    };
    // A folder's name goes into the folder, as in every file dialog.
    if (const ListedEntry* folder = entryNamed(name);
        folder && (folder->kind == ListedKind::Folder || folder->kind == ListedKind::Drive)) {
        goTo(joinedPath(folder_, folder->name));
        name_->clear();
        return;
    }
    if (mode_ == Mode::Save && !suffixes_.isEmpty()
        && std::none_of(suffixes_.begin(), suffixes_.end(), [&](const QString& s) { return name.endsWith(s, Qt::CaseInsensitive); }))
        name += suffixes_.front();
    const ListedEntry* entry = entryNamed(name);
    const std::string path = joinedPath(folder_, entry ? entry->name : bytesOf(name));
    if (mode_ == Mode::Open) {
        if (!entry || entry->kind != ListedKind::File) {
            status_->setText(uiText(chooser_text::FileNeeded));
            return;
        }
    } else if (entry && entry->kind != ListedKind::File) {
        // Saving over a link would write into the file it points to.
        status_->setText(uiText(chooser_text::CannotReplace).arg(name));
        return;
    } else if (entry && !confirmReplace(path)) {
        return;
    }
    chosen_ = path;
    accept();
}

bool FileChooser::eventFilter(QObject* watched, QEvent* event)
{
    // Enter in the place goes there, and only there: the dialog's button
    // would choose the folder shown before.
    if (watched == place_ && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            // The place as shown stands for the exact bytes of the folder
            // shown, whose name may not be valid UTF-8.
            const QString typed = place_->text();
            goTo(typed == displayText(folder_) ? folder_ : bytesOf(typed));
            return true;
        }
    }
    if (watched == view_ && event->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(event);
        if (key->key() == Qt::Key_Return || key->key() == Qt::Key_Enter) {
            const QModelIndex current = view_->currentIndex();
            if (current.isValid())
                openEntry(current.row());
            else
                acceptChoice();
            return true;
        }
        if (key->key() == Qt::Key_Backspace && !folder_.empty()) {
            goTo(parentFolder(folder_));
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

}  // namespace dorvelix
