// The program's own file chooser: the folder chooser, the save dialog and
// the open dialog. It lists folders the way the program's walk reads them
// (folder_listing): no access time changed, no file's contents read, links
// shown and never followed, every reading on a worker and bounded, so that a
// drive that has stopped answering never holds the window. It offers
// nothing that changes a file: no renaming, deleting, new folders or drags.
// A save dialog only returns the name the user chose (asking first when a
// file of that name is there); the caller writes the file.
#pragma once

#include "folder_listing.h"

#include <QDialog>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QTreeView;

namespace dorvelix {

class FolderContentsModel;

class FileChooser : public QDialog {
    Q_OBJECT
public:
    enum class Mode { Folder, Save, Open };
    // nameFilter as "CSV (*.csv)": its patterns choose the files shown (save
    // and open only). startFolders: where to start, the first that answers
    // (else the home folder, else "/"); that is found on a worker too.
    FileChooser(QWidget* parent, Mode mode, const QString& title, const QString& nameFilter,
                std::vector<std::string> startFolders);
    ~FileChooser() override;

    Mode mode() const { return mode_; }
    // The folder shown (empty until the first listing has come).
    const std::string& folder() const { return folder_; }
    // After acceptance: the chosen folder or file, as bytes.
    const std::string& chosenPath() const { return chosen_; }
    // Lists folder on a worker and shows it when it comes.
    void goTo(const std::string& folder);
    QTreeView* view() const { return view_; }
    QLineEdit* nameEdit() const { return name_; }
    QLineEdit* placeEdit() const { return place_; }
    QLabel* status() const { return status_; }

signals:
    // A listing was shown, or why it could not be.
    void listed();

protected:
    // In the list, Enter opens the current entry rather than pressing the
    // dialog's button, and Backspace goes up; in the place, Enter goes to
    // the folder typed.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    struct Job;
    void startJob(std::function<FolderListing()> list);
    void showListing(const FolderListing& listing);
    void showFailure(int errorNumber);
    void openEntry(int row);
    void updateShown();
    void acceptChoice();
    bool confirmReplace(const std::string& path);
    Mode mode_;
    QStringList suffixes_;
    std::string folder_;
    std::string chosen_;
    std::shared_ptr<Job> job_;
    FolderContentsModel* model_;
    QComboBox* drives_;
    QLineEdit* place_;
    QTreeView* view_;
    QCheckBox* hidden_;
    QLabel* status_;
    QLineEdit* name_ = nullptr;
    QPushButton* accept_;
};

}  // namespace dorvelix
