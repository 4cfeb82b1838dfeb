// MainWindow: the program's main window. It owns every control, the form-level
// variables, the visible drive, folder and file lists and the folder search
// that runs on them, and implements the value boxes and drawings the search
// and the drive query write to.
#pragma once

#include "controls.h"
#include "drive_info.h"
#include "usage_graph.h"
#include "drive_list_box.h"
#include "drives.h"
#include "file_list_box.h"
#include "folder_list_box.h"
#include "folder_search.h"
#include "file_info_dialog.h"
#include "form_state.h"
#include "lists.h"
#include "paint_pacer.h"
#include "qt_window_services.h"
#include "screen_layout.h"
#include "session.h"
#include "value_boxes.h"
#include "window_services.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QPointer>
#include <array>
#include <cstdint>
#include <memory>

namespace dorvelix {

class FocusMark;
class ToolWindows;

class MainWindow : public QMainWindow, public ValueBoxView, public SessionObserver {
    Q_OBJECT
public:
    // The window on the process's current drive and folder. volumes answers
    // the drive queries (tests hand in figures of their own).
    explicit MainWindow(VolumeQueries& volumes = systemVolumes(), QWidget* parent = nullptr);
    ~MainWindow() override;

    // Start-up, run once before the window is first shown.
    void load();

    // Lays the window out for size 1 (large), 2 (medium) or 3 (small).
    void setScreenSize(std::int16_t size);
    // Puts the conversion menu's check mark on entry index alone.
    void markConvertLength(int index);
    void showDriveInfo(const QString& drive);
    void showSearchLamp(bool red);

    // FormView: the value boxes take the texts ValueBoxView makes; the file
    // list shows the folder's files once the search has listed them.
    void setBox(Box box, const QString& text) override;
    void filesListed(const SearchResult& search) override;
    void checkConvertLength(int index) override { markConvertLength(index); }
    void drawUsageGraph(int screenSize) override;
    void paintSearchLamp(int side, bool red) override;

    // The controls, for the handlers wired to them: the value boxes by
    // meaning, the others by kind and number.
    ValueBox* valueBox(Box box) const { return valueBoxes_.at(boxIndex(box)); }
    CaptionLabel* caption(int n) const { return labels_.at(static_cast<size_t>(n)); }
    FrameControl* drivePanel() const { return drivePanel_; }
    FrameControl* folderPanel() const { return folderPanel_; }
    LineControl* line(int n) const { return lines_.at(static_cast<size_t>(n)); }
    PictureBox* usageGraph() const { return usageGraph_; }
    PictureBox* searchLamp() const { return searchLamp_; }
    DriveListBox* driveListBox() const { return driveListBox_; }
    FolderListBox* folderListBox() const { return folderListBox_; }
    FileListBox* fileListBox() const { return fileListBox_; }
    QAction* quitEntry(int i) const { return quitEntries_.at(static_cast<size_t>(i)); }
    QAction* convertLengthEntry(int i) const { return convertLengthEntries_.at(static_cast<size_t>(i)); }
    QAction* screenSizeEntry(int i) const { return screenSizeEntries_.at(static_cast<size_t>(i)); }
    QAction* helpEntry(int i) const { return helpEntries_.at(static_cast<size_t>(i)); }
    QAction* version() const { return version_; }
    QAction* refreshEntry() const { return refreshEntry_; }
    QAction* logEntry() const { return logEntry_; }

    // The session the window shows, and its parts.
    Session& session() { return session_; }
    FormState& form() { return form_; }
    const LayoutValues& layout() const { return layout_; }
    FolderSearch& search() { return session_.search(); }
    DriveQuery& driveQuery() { return session_.driveQuery(); }
    DriveFolders& driveFolders() { return driveFolders_; }
    DriveChange& driveChange() { return session_.driveChange(); }
    QtWindowServices& services() { return services_; }
    // The border around the control that has the keyboard focus.
    FocusMark* focusMark() const { return focusMark_; }
    // The file information dialog, null until the first double-click in
    // the file list and again once it has been closed other than by its button.
    FileInfoDialog* fileInfoDialog() const { return fileInfoDialog_; }
    // The tools menu and the windows it opens.
    ToolWindows* tools() const { return tools_; }

    // Places one of the graph's scale captions and shows it.
    void placeScaleCaption(ScaleMark mark, int top, int left, int fontSize);

    // The window's outer size and position in twips as last set.
    QSize twipsOuterSize() const { return outerTwips_; }
    QPoint twipsPosition() const { return positionTwips_; }

public slots:
    void onQuit(int index);
    void pickConvertLength(int index);
    void pickScreenSize(int index);
    void showHelpText(int index);
    void showVersion();
    void onDriveChosen();
    void showFileInfo();
    // F5: reads the drive list, the drive's figures and the open folder
    // again and searches it again, as a double-click on it does.
    void refresh();

protected:
    void closeEvent(QCloseEvent* event) override;
    bool event(QEvent* event) override;
    // Watches the whole application for the release of a modifier key.
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void createControls();
    void createMenus();
    // The tools menu's search log entry, and F5, the entry that reads
    // everything again.
    void addRefreshItem();
    // Accessible names of the controls that show none of their own.
    void nameControls();
    // Tab's order: the lists, then every figure in reading order.
    void orderTabs();
    void startOnCurrentFolder();
    void installSearch();
    // The folder list's request to open folder: the session's verb, and a
    // box when the folder cannot be opened (the list keeps its folder).
    void openFolder(const std::string& folder);
    // SessionObserver: the lists show the folder list's move, and the search
    // log keeps the messages of each search the move starts.
    void folderOpened(bool searches) override;
    void folderOpenDone(bool searched) override;
    void folderOpenFailed(const RuntimeError& error, const std::string& folder) override;
    void installEvents();
    // Brings the drive list up to date with the mount table.
    void followMountTable();
    // Draws the usage graph again at the present resolution (after the
    // window moved to a screen of another DPI); a failure keeps the drawing.
    void redrawUsageGraph();

    void arrangeDrivePanel(std::int16_t& y);
    void arrangeFolderSection(std::int16_t& y);
    void arrangeSubtreeSections(std::int16_t& y);
    void placeCaption(CaptionLabel* label, int left, int top);
    void placeValue(ValueBox* box, int left, int top, int width);
    void placeValue(ValueBox* box, int left, int top) { placeValue(box, left, top, layout_.valueWidth); }

    void setOuterSize(int widthTwips, int heightTwips);
    void applyOuterSize();
    void centreOnScreen();
    void replaceAllInPixels();
    void endProgram();

    bool redrawWaiting_ = false;
    LayoutValues layout_{};
    QtWindowServices services_;
    Session session_;
    // The session's parts that the window's handlers use throughout.
    FormState& form_ = session_.form();
    const FolderList& openFolders_ = session_.openFolders();
    FileList& openFiles_ = session_.openFiles();
    DriveFolders& driveFolders_ = session_.driveFolders();
    QPointer<FileInfoDialog> fileInfoDialog_;
    ToolWindows* tools_ = nullptr;

    ClientArea* client_ = nullptr;
    FocusMark* focusMark_ = nullptr;
    PaintPacer* paintPacer_ = nullptr;
    std::array<ValueBox*, BoxCount> valueBoxes_{};
    std::array<CaptionLabel*, 27> labels_{};
    FrameControl* drivePanel_ = nullptr;
    FrameControl* folderPanel_ = nullptr;
    std::array<LineControl*, 6> lines_{};
    PictureBox* usageGraph_ = nullptr;
    PictureBox* searchLamp_ = nullptr;
    DriveListBox* driveListBox_ = nullptr;
    FolderListBox* folderListBox_ = nullptr;
    FileListBox* fileListBox_ = nullptr;

    std::array<QAction*, 1> quitEntries_{};
    std::array<QAction*, 9> convertLengthEntries_{};
    std::array<QAction*, 3> screenSizeEntries_{};
    std::array<QAction*, 4> helpEntries_{};
    QAction* version_ = nullptr;
    QAction* refreshEntry_ = nullptr;
    QAction* logEntry_ = nullptr;

    QSize outerTwips_;
    QPoint positionTwips_;
    QMargins sizedWithFrame_;  // the frame margins the outer size was last applied with
};

// Sets or clears a menu entry's check mark (an entry without one shows no
// empty box).
void setMenuCheck(QAction* entry, bool checked);

}  // namespace dorvelix
